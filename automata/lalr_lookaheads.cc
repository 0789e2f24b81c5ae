// LALR(1) lookaheads computed on the LR(0) automaton, without the canonical
// LR(1) collection: the relations of DeRemer and Pennello ("Efficient
// computation of LALR(1) look-ahead sets", TOPLAS 4(4), 1982), taken item by
// item, and solved with their digraph algorithm (Tarjan's strongly connected
// components, each set a union over its successors).
//
// Why the result is the merged canonical automaton:
// - Numbering.  An LR(1) state projects onto the LR(0) state of its cores,
//   and goto commutes with the projection.  Of each group of same-core LR(1)
//   states, the lowest member is reached from the lowest member of an earlier
//   group (every member has the transitions of the lowest, walked before it),
//   and it holds its items in the LR(0) state's order: its kernel advances a
//   lowest member's items in their order, and the closure's cores first
//   appear in the LR(0) closure's order, because an item met again with
//   another lookahead expands into cores that are there already.  So the
//   lowest members are made in the LR(0) walk's order by the same steps, and
//   LALR state k, the k-th group by lowest member, is LR(0) state k with the
//   same transitions.
// - Lookaheads.  An LR(1) lookahead is made by three rules: the start item
//   carries '$'; a closure item B->.g gets First(b) without e from every item
//   A->a.Bb of its state, and that item's lookahead when b can vanish; an
//   advanced item keeps the lookahead of the item it advances.  The union over
//   the members of a group obeys the same rules on the LR(0) states (the gotos
//   of members are members of the goto's group), and each of its characters
//   comes from a finite chain of rule uses; so the union is the least solution
//   of the rules on LR(0) items, which is what is computed here.
// - Tables.  A cell's entries are placed in item order and a repeated entry
//   is dropped (the accept entry too), so the set of entries of a cell does
//   not depend on the order of the items or of a lookahead's characters; the
//   order decides only the order of entries in a cell holding several, a
//   conflict.  So a table without conflicts has the same bytes by either
//   route, and any table the same conflicting cells.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "automata/automaton.h"
#include "core/work.h"
#include "grammar/grammar_sets.h"

namespace {

using Word = std::uint64_t;

// Sets of lookahead symbols (the terminals and the end marker) as rows of bits.
class SymbolSets {
 public:
  SymbolSets(const Symbols& symbols, size_t count) : symbols_(symbols), words_((symbols.size() + 63) / 64) {
    for (size_t k = 0; k < symbols.size(); ++k) {
      size_t s = static_cast<size_t>(symbols[k]);
      if (bitOf_.size() <= s) bitOf_.resize(s + 1, -1);
      bitOf_[s] = static_cast<int>(k);
    }
    bits_.assign(count * words_, 0);
  }

  Word* row(size_t set) { return bits_.data() + set * words_; }
  const Word* row(size_t set) const { return bits_.data() + set * words_; }
  // Adds a symbol; true when it was not there.
  bool add(size_t set, Symbol symbol) {
    if (symbol < 0 || static_cast<size_t>(symbol) >= bitOf_.size()) return false;
    int bit = bitOf_[static_cast<size_t>(symbol)];
    if (bit < 0) return false;
    Word& word = row(set)[bit / 64];
    Word mask = Word{1} << (bit % 64);
    bool added = (word & mask) == 0;
    word |= mask;
    return added;
  }
  void unite(size_t into, size_t from) {
    Word* to = row(into);
    const Word* other = row(from);
    for (size_t w = 0; w < words_; ++w) to[w] |= other[w];
  }
  void copy(size_t into, size_t from) { std::copy(row(from), row(from) + words_, row(into)); }
  bool has(size_t set, size_t bit) const { return (row(set)[bit / 64] >> (bit % 64) & 1) != 0; }
  // The symbols of a set by rank.
  Symbols text(size_t set) const {
    Symbols out;
    for (size_t k = 0; k < symbols_.size(); ++k)
      if (has(set, k)) out.push_back(symbols_[k]);
    return out;
  }
  std::string key(size_t set) const {
    return std::string(reinterpret_cast<const char*>(row(set)), words_ * sizeof(Word));
  }
  size_t words() const { return words_; }

 private:
  Symbols symbols_;  // by rank
  size_t words_;
  std::vector<int> bitOf_;  // by symbol
  std::vector<Word> bits_;
};

// Successor lists of the nodes, built from (node, successor) pairs.
struct Relation {
  std::vector<size_t> start;  // successors of n: next[start[n] .. start[n + 1])
  std::vector<size_t> next;

  Relation(size_t nodes, const std::vector<std::pair<size_t, size_t>>& pairs) : start(nodes + 1, 0) {
    for (const auto& [from, to] : pairs) ++start[from + 1];
    for (size_t n = 0; n < nodes; ++n) start[n + 1] += start[n];
    next.resize(pairs.size());
    std::vector<size_t> fill(start.begin(), start.end() - 1);
    for (const auto& [from, to] : pairs) next[fill[from]++] = to;
  }
};

// DeRemer and Pennello's digraph: every set becomes the union of its own
// and of the sets of every node reachable from it; the nodes of a strongly
// connected component share one set.  Iterative, so that long chains of
// items cost no stack.
void digraph(const Relation& relation, SymbolSets& sets) {
  constexpr size_t kDone = static_cast<size_t>(-1);
  size_t nodes = relation.start.size() - 1;
  std::vector<size_t> depth(nodes, 0);
  std::vector<size_t> stack;
  struct Call {
    size_t node;
    size_t edge;  // the next successor to visit
    size_t own;   // the depth the node entered at
  };
  std::vector<Call> calls;
  auto enter = [&](size_t x) {
    stack.push_back(x);
    depth[x] = stack.size();
    calls.push_back({x, relation.start[x], stack.size()});
  };
  for (size_t root = 0; root < nodes; ++root) {
    if (depth[root] != 0) continue;
    enter(root);
    while (!calls.empty()) {
      Call& call = calls.back();
      size_t x = call.node;
      if (call.edge < relation.start[x + 1]) {
        size_t y = relation.next[call.edge++];
        if (depth[y] == 0) {
          enter(y);
        } else {
          depth[x] = std::min(depth[x], depth[y]);
          sets.unite(x, y);
        }
        continue;
      }
      noteWork();
      size_t own = call.own;
      calls.pop_back();
      // Nothing reached below x: x is the root of its component.
      if (depth[x] == own) {
        for (;;) {
          size_t top = stack.back();
          stack.pop_back();
          depth[top] = kDone;
          if (top == x) break;
          sets.copy(top, x);
        }
      }
      if (!calls.empty()) {
        size_t parent = calls.back().node;
        depth[parent] = std::min(depth[parent], depth[x]);
        sets.unite(parent, x);
      }
    }
  }
}

// What the relations need of the grammar: production bodies, the First sets
// of the rests after each dot, and which symbols can vanish.
class Rests {
 public:
  Rests(const Grammar& grammar, const Symbols& symbols) : grammar_(grammar), nullable_(nullableSymbols(grammar)) {
    size_t base = 0;
    for (size_t p = 0; p < grammar.productions.size(); ++p) {
      base_.push_back(base);
      base += static_cast<size_t>(bodyLength(static_cast<int>(p))) + 1;
    }
    firsts_ = std::make_unique<SymbolSets>(symbols, grammar.nonTerminals().size());
    known_.assign(grammar.productions.size(), false);
    rests_ = std::make_unique<SymbolSets>(symbols, base + 1);
    vanishes_.assign(base + 1, false);
    computeFirsts();
  }

  const Production& production(int p) const { return grammar_.productions[static_cast<size_t>(p)]; }
  // An empty body counts as one symbol, as the items count it.
  int bodyLength(int p) const { return std::max(1, static_cast<int>(production(p).body.size())); }
  // The dot of the items the closure adds for a production: past an empty body.
  int startDot(int p) const { return production(p).body.empty() ? 1 : 0; }
  bool isNonTerminal(Symbol s) const { return !grammar_.isTerminal(s); }
  // A number for each (production, dot).
  size_t position(int production, int dot) const {
    return base_[static_cast<size_t>(production)] + static_cast<size_t>(dot);
  }
  // First of the rest after the symbol after the dot, without e, in `into`
  // of `sets`; returns whether that rest can vanish.
  bool addFirstOfRest(int production, int dot, SymbolSets& sets, size_t into) {
    if (!known_[static_cast<size_t>(production)]) computeRests(production);
    size_t at = position(production, dot);
    const Word* from = rests_->row(at);
    Word* to = sets.row(into);
    for (size_t w = 0; w < sets.words(); ++w) to[w] |= from[w];
    return vanishes_[at];
  }

 private:
  // Non-terminals are numbered first, so a non-terminal is its own row.
  static size_t letter(Symbol s) { return static_cast<size_t>(s); }

  // The textbook fixed point: First(A) holds First(X) of every symbol X of
  // an alternative of A that only vanishing symbols precede.
  void computeFirsts() {
    for (bool changed = true; changed;) {
      changed = false;
      for (const Production& production : grammar_.productions) {
        noteWork();
        size_t head = letter(production.head);
        for (Symbol c : production.body) {
          if (!isNonTerminal(c)) {
            changed |= firsts_->add(head, c);
            break;
          }
          changed |= uniteInto(*firsts_, head, letter(c));
          if (!nullable_[static_cast<size_t>(c)]) break;
        }
      }
    }
  }

  static bool uniteInto(SymbolSets& sets, size_t into, size_t from) {
    if (into == from) return false;
    bool changed = false;
    Word* to = sets.row(into);
    const Word* other = sets.row(from);
    for (size_t w = 0; w < sets.words(); ++w) {
      changed |= (other[w] & ~to[w]) != 0;
      to[w] |= other[w];
    }
    return changed;
  }

  // The rests of one production, from its end to its start: the rest after
  // position k + 1 is symbol k + 1 followed by the rest after it.
  void computeRests(int production) {
    known_[static_cast<size_t>(production)] = true;
    const Symbols& body = this->production(production).body;
    if (body.empty()) return;
    size_t base = position(production, 0);
    size_t n = body.size();
    vanishes_[base + n - 1] = true;  // after the last symbol: nothing
    if (n > 0) vanishes_[base + n] = true;
    for (size_t k = n - 1; k-- > 0;) {
      Symbol c = body[k + 1];
      size_t at = base + k;
      if (!isNonTerminal(c)) {
        rests_->add(at, c);
        continue;
      }
      const Word* first = firsts_->row(letter(c));
      Word* to = rests_->row(at);
      for (size_t w = 0; w < rests_->words(); ++w) to[w] |= first[w];
      if (nullable_[static_cast<size_t>(c)]) {
        rests_->unite(at, at + 1);
        vanishes_[at] = vanishes_[at + 1];
      }
    }
  }

  const Grammar& grammar_;
  SymbolSet nullable_;
  std::vector<size_t> base_;
  std::unique_ptr<SymbolSets> firsts_;  // by non-terminal
  std::vector<bool> known_;             // by production: rests computed
  std::unique_ptr<SymbolSets> rests_;   // by position of the dot
  std::vector<bool> vanishes_;          // by position of the dot
};

// The nodes of the relations: one per item of each state, and one per
// transition, which for a non-terminal B out of state s holds what may follow
// B there (DeRemer and Pennello's Follow(s, B)): the lookahead of every
// item s adds for B.
class Nodes {
 public:
  explicit Nodes(const Automaton& automaton) {
    size_t n = 0;
    for (const auto& state : automaton.states) {
      itemBase_.push_back(n);
      n += state.size();
    }
    for (const auto& transitions : automaton.transitions) {
      transitionBase_.push_back(n);
      n += transitions.size();
    }
    count_ = n;
  }
  size_t item(size_t state, size_t k) const { return itemBase_[state] + k; }
  size_t transition(size_t state, size_t k) const { return transitionBase_[state] + k; }
  size_t count() const { return count_; }

 private:
  std::vector<size_t> itemBase_;
  std::vector<size_t> transitionBase_;
  size_t count_;
};

// Per state, its kernel items (the items a goto advanced, which the state
// lists first) by position, for the advanced item of a predecessor's item.
class Kernels {
 public:
  Kernels(const Automaton& automaton, const Rests& rests, int symbolCount) : start_(automaton.states.size() + 1, 0) {
    // A state's kernel is as large as the set of items its first
    // predecessor holds with the symbol after the dot.
    std::vector<size_t> size(automaton.states.size(), 1);
    std::vector<int> count(static_cast<size_t>(symbolCount), 0);
    for (size_t s = 0; s < automaton.states.size(); ++s) {
      for (const StateItem& item : automaton.states[s])
        if (static_cast<size_t>(item.dot) < rests.production(item.production).body.size())
          ++count[static_cast<size_t>(rests.production(item.production).body[static_cast<size_t>(item.dot)])];
      for (const auto& [x, to] : automaton.transitions[s]) {
        const auto& [from, symbol] = automaton.origins[static_cast<size_t>(to)];
        if (from == static_cast<int>(s) && symbol == x)
          size[static_cast<size_t>(to)] = static_cast<size_t>(count[static_cast<size_t>(x)]);
      }
      for (const auto& [x, to] : automaton.transitions[s]) count[static_cast<size_t>(x)] = 0;
    }
    for (size_t s = 0; s < size.size(); ++s) start_[s + 1] = start_[s] + size[s];
    entries_.resize(start_.back());
    for (size_t s = 0; s < size.size(); ++s) {
      for (size_t k = 0; k < size[s]; ++k) {
        const StateItem& item = automaton.states[s][k];
        entries_[start_[s] + k] = {rests.position(item.production, item.dot), k};
      }
      std::sort(entries_.begin() + static_cast<long>(start_[s]), entries_.begin() + static_cast<long>(start_[s + 1]));
    }
  }

  // The index in state s of its kernel item at the position.
  size_t indexOf(size_t s, size_t position) const {
    auto first = entries_.begin() + static_cast<long>(start_[s]);
    auto last = entries_.begin() + static_cast<long>(start_[s + 1]);
    return std::lower_bound(first, last, std::pair<size_t, size_t>(position, 0))->second;
  }

 private:
  std::vector<size_t> start_;
  std::vector<std::pair<size_t, size_t>> entries_;  // (position, index), sorted per state
};

// The lookahead symbols: every terminal of the grammar and the end marker, by rank.
Symbols lookaheadSymbols(const Grammar& grammar) {
  Symbols symbols;
  for (Symbol s = 0; s < grammar.symbolCount(); ++s)
    if (grammar.isTerminal(s)) symbols.push_back(s);
  symbols.push_back(grammar.endMarker());
  std::sort(symbols.begin(), symbols.end(), [&](Symbol a, Symbol b) { return grammar.rank(a) < grammar.rank(b); });
  return symbols;
}

}  // namespace

Automaton lalrAutomaton(const Parsing& model, Automaton lr0) {
  const Grammar& grammar = model.typed;
  Symbols symbols = lookaheadSymbols(grammar);
  Rests rests(grammar, symbols);
  Nodes nodes(lr0);
  Kernels kernels(lr0, rests, grammar.symbolCount());
  SymbolSets sets(symbols, nodes.count());
  std::vector<std::pair<size_t, size_t>> relation;  // (node, a node whose set it includes)

  if (!lr0.states.empty() && !lr0.states[0].empty()) sets.add(nodes.item(0, 0), grammar.endMarker());
  std::vector<int> transitionOf(static_cast<size_t>(grammar.symbolCount()), -1);
  for (size_t s = 0; s < lr0.states.size(); ++s) {
    noteWork();
    const std::vector<StateItem>& state = lr0.states[s];
    const auto& transitions = lr0.transitions[s];
    for (size_t k = 0; k < transitions.size(); ++k)
      transitionOf[static_cast<size_t>(transitions[k].first)] = static_cast<int>(k);
    for (size_t i = 0; i < state.size(); ++i) {
      const StateItem& item = state[i];
      size_t node = nodes.item(s, i);
      // A closure item takes what may follow its head in this state.
      Symbol head = rests.production(item.production).head;
      int added = transitionOf[static_cast<size_t>(head)];
      if (item.dot == rests.startDot(item.production) && added != -1)
        relation.emplace_back(node, nodes.transition(s, static_cast<size_t>(added)));
      if (item.dot >= rests.bodyLength(item.production)) continue;
      Symbol x = rests.production(item.production).body[static_cast<size_t>(item.dot)];
      size_t k = static_cast<size_t>(transitionOf[static_cast<size_t>(x)]);
      size_t target = static_cast<size_t>(transitions[k].second);
      // The advanced item keeps the lookahead.
      size_t advanced = kernels.indexOf(target, rests.position(item.production, item.dot + 1));
      relation.emplace_back(nodes.item(target, advanced), node);
      // What follows a non-terminal: First of the rest, and the item's own
      // lookahead when the rest can vanish.
      if (rests.isNonTerminal(x) && rests.addFirstOfRest(item.production, item.dot, sets, nodes.transition(s, k)))
        relation.emplace_back(nodes.transition(s, k), node);
    }
    for (const auto& transition : transitions) transitionOf[static_cast<size_t>(transition.first)] = -1;
  }
  digraph(Relation(nodes.count(), relation), sets);

  Automaton lalr;
  std::unordered_map<std::string, int> ids;
  for (size_t s = 0; s < lr0.states.size(); ++s) {
    std::vector<StateItem>& state = lr0.states[s];
    for (size_t i = 0; i < state.size(); ++i) {
      size_t node = nodes.item(s, i);
      auto [found, isNew] = ids.try_emplace(sets.key(node), 0);
      if (isNew) found->second = lalr.lookaheads.intern(sets.text(node));
      state[i].lookahead = found->second;
    }
  }
  lalr.states = std::move(lr0.states);
  lalr.transitions = std::move(lr0.transitions);
  return lalr;
}

Automaton buildLalrAutomaton(const Parsing& model) { return lalrAutomaton(model, buildLR0Automaton(model)); }
