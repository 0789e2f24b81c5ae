#include "explain/counterexample.h"

#include <algorithm>
#include <optional>

#include "explain/grammar_view.h"
#include "explain/item_paths.h"
#include "explain/unifying_search.h"
#include "explain/verify.h"
#include "explain/witnesses.h"

namespace {

using Clock = SearchBudget::Clock;

Clock::time_point after(double seconds) {
  return Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(std::max(0.0, seconds)));
}

// An LR move as conflicts compare it: a shift without its target state.
std::string normalized(const std::string& action) { return !action.empty() && action[0] == 's' ? "s" : action; }

// Where the parser following two trees first moves differently.
struct Divergence {
  int row;
  char symbol;
  std::string first, second;  // the two moves (LR: normalized; LL(1): the right sides)
};

// A verified pair of trees and where it makes the parser diverge.
struct FoundPair {
  Tree first, second;
  std::string word;
  Divergence at;
  std::vector<Tree> words;  // the words the non-terminal leaves were completed by
};

// Replaces the marked leaf of a context by a tree.
Tree inContext(MarkedTree context, Tree tree) {
  nodeAt(context.tree, context.leaf) = std::move(tree);
  return std::move(context.tree);
}

std::string bodyText(const GrammarView& g, int p) {
  const std::string& body = g.production(p).body;
  return body.empty() ? "e" : body;
}

}  // namespace

struct CounterexampleFinder::Data {
  Data(TableSet& tables, TableKind kind, const SearchBounds& bounds)
      : tables(tables),
        kind(kind),
        bounds(bounds),
        grammar(tables.grammar()),
        lr(grammar, 0),
        ll(grammar, -1),
        tableDeadline(after(bounds.secondsPerTable)) {}

  TableSet& tables;
  TableKind kind;
  SearchBounds bounds;
  GrammarView grammar;
  Witnesses lr;  // the LR automata use production 0 only at the root
  Witnesses ll;
  Clock::time_point tableDeadline;
  std::vector<FoundPair> found;

  const TableView& table() { return tables[kind]; }
  // The end of a search that starts now: the conflict's bound, within the table's.
  Clock::time_point conflictDeadline() const { return std::min(after(bounds.secondsPerConflict), tableDeadline); }
  const Witnesses& witnesses() const { return kind == TableKind::kLL1 ? ll : lr; }
  int rootOnly() const { return kind == TableKind::kLL1 ? -1 : 0; }

  // The trees of a pair put into a derivation from the root; their leaves are still the pair's.
  std::optional<std::pair<Tree, Tree>> inDerivation(const Tree& first, const Tree& second) const {
    const Witnesses& w = witnesses();
    bool rooted = kind != TableKind::kLL1 ? first.production == 0 : first.symbol == grammar.start();
    if (rooted) return std::make_pair(first, second);
    Witnesses::Root root = kind == TableKind::kLL1 ? Witnesses::Root::kStartSymbol : Witnesses::Root::kProductionZero;
    if (!w.reaches(first.symbol, root)) return std::nullopt;
    MarkedTree context = w.reaching(first.symbol, root);
    return std::make_pair(inContext(context, first), inContext(context, second));
  }

  // The moves of the table's parser on both trees, their non-terminal leaves
  // completed by `words` (one per leaf, in order); false when it cannot follow them.
  bool movesOf(std::pair<Tree, Tree> trees, const std::vector<Tree>& words, std::vector<Move> (&moves)[2], std::string& word) {
    for (Tree* tree : {&trees.first, &trees.second}) {
      size_t k = 0;
      completeLeaves(*tree, words, k);
    }
    word = frontier(trees.first);
    if (kind == TableKind::kLL1)
      return ll1Moves(grammar, table(), trees.first, moves[0]) && ll1Moves(grammar, table(), trees.second, moves[1]);
    return lrMoves(grammar, table(), trees.first, moves[0]) && lrMoves(grammar, table(), trees.second, moves[1]);
  }

  static void completeLeaves(Tree& tree, const std::vector<Tree>& words, size_t& k) {
    if (!tree.expanded) {
      if (GrammarView::isNonterminal(tree.symbol)) tree = words[k++];
      return;
    }
    for (Tree& child : tree.children) completeLeaves(child, words, k);
  }

  std::optional<FoundPair> diverge(const Tree& first, const Tree& second) {
    std::optional<std::pair<Tree, Tree>> trees = inDerivation(first, second);
    if (!trees) return std::nullopt;
    const Witnesses& w = witnesses();
    std::string leaves = frontier(trees->first);
    std::vector<Tree> words;
    for (char c : leaves) {
      if (!GrammarView::isNonterminal(c)) continue;
      if (!w.derivesWord(c)) return std::nullopt;
      words.push_back(w.word(c));
    }
    return parting(first, second, *trees, words);
  }

  // Where the parser parts on the two trees, their leaves completed by `words`.
  std::optional<FoundPair> parting(const Tree& first, const Tree& second, const std::pair<Tree, Tree>& trees,
                                   const std::vector<Tree>& words) {
    std::vector<Move> moves[2];
    std::string word;
    if (!movesOf(trees, words, moves, word)) return std::nullopt;
    int d = firstDifference(moves[0], moves[1]);
    if (d < 0 || static_cast<size_t>(d) >= moves[0].size() || static_cast<size_t>(d) >= moves[1].size()) return std::nullopt;
    const Move& a = moves[0][static_cast<size_t>(d)];
    const Move& b = moves[1][static_cast<size_t>(d)];
    if (a.row != b.row || a.lookahead != b.lookahead) return std::nullopt;
    bool lr = kind != TableKind::kLL1;
    Divergence at{a.row, a.lookahead, lr ? normalized(a.action) : a.action, lr ? normalized(b.action) : b.action};
    return FoundPair{first, second, word, at, words};
  }

  // The same pair parting under another symbol: the leaf whose word gives
  // the lookahead where the runs part is made to begin with the symbol.
  std::optional<FoundPair> divergeUnder(const FoundPair& pair, char symbol) {
    if (pair.at.symbol == symbol || symbol == '$') return std::nullopt;
    std::optional<std::pair<Tree, Tree>> trees = inDerivation(pair.first, pair.second);
    if (!trees) return std::nullopt;
    std::vector<Move> moves[2];
    std::string word;
    if (!movesOf(*trees, pair.words, moves, word)) return std::nullopt;
    int d = firstDifference(moves[0], moves[1]);
    if (d < 0 || static_cast<size_t>(d) >= moves[0].size()) return std::nullopt;
    // The leaf whose word holds the lookahead where the runs part.
    size_t at = moves[0][static_cast<size_t>(d)].read;
    std::string leaves = frontier(trees->first);
    std::vector<Tree> words = pair.words;
    size_t position = 0, k = 0;
    for (char c : leaves) {
      bool nonterminal = GrammarView::isNonterminal(c);
      size_t length = nonterminal ? frontier(words[k]).size() : 1;
      if (position + length > at) {
        if (!nonterminal || !witnesses().begins(c, symbol)) return std::nullopt;
        Tree tree = witnesses().beginning(c, symbol);
        if (!witnesses().completeToWord(tree)) return std::nullopt;
        words[k] = std::move(tree);
        break;
      }
      position += length;
      k += nonterminal;
    }
    return parting(pair.first, pair.second, *trees, words);
  }

  // The pair explains the conflict of the cell (row, symbol).
  bool explains(const Divergence& at, int row, char symbol) { return at.symbol == symbol && partsAt(at, row, symbol); }

  // The runs part in the row (or an LR(1) state with its items) by two
  // entries of the cell (row, symbol), whatever the symbol they part under.
  bool partsAt(const Divergence& at, int row, char symbol) {
    if (at.first == at.second) return false;
    const TableView& t = table();
    if (at.row != row && !(kind == TableKind::kLR1 && t.core[static_cast<size_t>(at.row)] == t.core[static_cast<size_t>(row)]))
      return false;
    std::vector<std::string> entries = TableView::entries(t.cell(row, symbol));
    if (kind == TableKind::kLL1) {
      if (!entries.empty() && entries.front().size() >= 3) entries.front() = entries.front().substr(3);
    } else {
      for (std::string& entry : entries) entry = normalized(entry);
    }
    auto has = [&](const std::string& move) { return std::find(entries.begin(), entries.end(), move) != entries.end(); };
    return has(at.first) && has(at.second);
  }

  // A pair found before, or the same pair parting under this symbol instead.
  std::optional<FoundPair> fromFound(int row, char symbol) {
    for (const FoundPair& pair : found)
      if (explains(pair.at, row, symbol)) return pair;
    for (size_t k = 0, n = found.size(); k < n; ++k) {
      if (!partsAt(found[k].at, row, symbol)) continue;
      std::optional<FoundPair> moved = divergeUnder(found[k], symbol);
      if (moved && explains(moved->at, row, symbol)) {
        remember(*moved);
        return moved;
      }
    }
    return std::nullopt;
  }

  // Keeps a pair for the later conflicts of the table, a bounded number of them.
  void remember(const FoundPair& pair) {
    if (found.size() < kRemembered) found.push_back(pair);
  }
  static constexpr size_t kRemembered = 64;

  // Searches for a unifying counterexample of the cell; true when found.
  bool unifying(int row, char symbol, const std::vector<UnifyingStart>& starts, Counterexample& out, std::string& note) {
    if (std::optional<FoundPair> pair = fromFound(row, symbol)) return take(*pair, out);
    if (Clock::now() >= tableDeadline) {
      note = "The time for the table's searches was used up before this conflict.";
      return false;
    }
    SearchBudget budget(bounds.stepsPerConflict, conflictDeadline());
    std::optional<FoundPair> chosen;
    UnifyingPair pair = searchUnifying(witnesses(), rootOnly(), starts, budget, [&](const Tree& a, const Tree& b) {
      if (!isUnifyingPair(grammar, a, b)) return false;
      std::optional<FoundPair> candidate = diverge(a, b);
      if (!candidate) return false;
      remember(*candidate);
      if (!explains(candidate->at, row, symbol) && partsAt(candidate->at, row, symbol))
        candidate = divergeUnder(*candidate, symbol);
      if (!candidate || !explains(candidate->at, row, symbol)) return false;
      chosen = std::move(candidate);
      return true;
    });
    if (pair.found && chosen) return take(*chosen, out);
    if (budget.end() == SearchBudget::End::kSteps)
      note = "No unifying counterexample within " + std::to_string(bounds.stepsPerConflict) + " search steps.";
    else if (budget.end() == SearchBudget::End::kTime)
      note = "No unifying counterexample within the time bound.";
    else if (pair.exhausted)
      note = "No unifying counterexample: the search ran out of forms to try.";
    else
      note = "No unifying counterexample among forms of up to 24 symbols.";
    return false;
  }

  static bool take(const FoundPair& pair, Counterexample& out) {
    out.kind = Counterexample::Kind::kUnifying;
    out.trees[0] = pair.first;
    out.trees[1] = pair.second;
    out.word = pair.word;
    return true;
  }
};

CounterexampleFinder::CounterexampleFinder(TableSet& tables, TableKind kind, const SearchBounds& bounds)
    : data_(std::make_unique<Data>(tables, kind, bounds)) {}

CounterexampleFinder::~CounterexampleFinder() = default;

Counterexample CounterexampleFinder::forLR(int state, char symbol, bool unifyingOnly) {
  Data& d = *data_;
  Counterexample out;
  if (!d.bounds.search) return out;
  const TableView& t = d.table();
  const GrammarView& g = d.grammar;
  std::vector<std::string> entries = TableView::entries(t.cell(state, symbol));
  const std::vector<StateItem>& items = t.automaton.states[static_cast<size_t>(state)];

  // The item behind each entry, and the heads the search tries first.
  struct Want {
    std::string action;
    int item = -1;
    bool need = false;
  };
  std::vector<Want> wants;
  std::string preferred;
  for (const std::string& entry : entries) {
    Want want{entry, -1, entry[0] != 's'};
    for (size_t k = 0; k < items.size() && want.item < 0; ++k) {
      const StateItem& item = items[k];
      const std::string& body = g.production(item.production).body;
      bool complete = body.empty() || static_cast<size_t>(item.dot) >= body.size();
      bool wanted = entry[0] == 's'   ? !complete && body[static_cast<size_t>(item.dot)] == symbol
                    : entry == "a"    ? complete && item.production == 0
                                      : complete && "r" + std::to_string(item.production) == entry &&
                                         (item.lookahead == kNoLookahead ||
                                          t.automaton.lookaheads.text(item.lookahead).find(symbol) != std::string::npos);
      if (wanted) want.item = static_cast<int>(k);
    }
    if (want.item >= 0) {
      preferred += g.production(items[static_cast<size_t>(want.item)].production).head;
      wants.push_back(want);
    }
  }
  for (const StateItem& item : items) preferred += g.production(item.production).head;

  std::string note;
  std::vector<UnifyingStart> starts = unifyingStarts(d.lr, 0, preferred, static_cast<size_t>(d.bounds.stepsPerConflict));
  if (d.unifying(state, symbol, starts, out, note) || unifyingOnly) return out;

  // A non-unifying counterexample: one prefix, a derivation per entry.
  SearchBudget budget(d.bounds.stepsPerConflict, d.conflictDeadline());
  std::stable_sort(wants.begin(), wants.end(), [](const Want& a, const Want& b) { return a.need > b.need; });
  out.note = note;
  std::vector<Counterexample::Example> examples;
  std::vector<bool> done(wants.size(), false);
  for (bool need : {true, false}) {
    for (size_t k = 0; k < wants.size() && examples.empty(); ++k) {
      ItemPath path = itemPath(t, d.lr, state, wants[k].item, symbol, need && wants[k].need, nullptr, budget);
      if (!path.found) continue;
      out.prefix = path.prefix;
      examples.push_back({wants[k].action, path.prefix, std::move(path.tree), path.symbolNext});
      done[k] = true;
    }
  }
  for (size_t k = 0; k < wants.size() && !examples.empty(); ++k) {
    if (done[k]) continue;
    // The common prefix with the symbol next, else a prefix of its own with
    // it (a merged LALR state), else the common prefix without it (an SLR
    // reduction that Follow alone puts there).
    ItemPath path;
    const std::string* common = &out.prefix;
    struct Try {
      const std::string* prefix;
      bool need;
    };
    for (Try attempt : {Try{common, true}, Try{nullptr, true}, Try{common, false}, Try{nullptr, false}}) {
      if (path.found || (!attempt.need && !wants[k].need && attempt.prefix == nullptr)) continue;
      path = itemPath(t, d.lr, state, wants[k].item, symbol, attempt.need && wants[k].need, attempt.prefix, budget);
    }
    if (path.found) examples.push_back({wants[k].action, path.prefix, std::move(path.tree), path.symbolNext});
  }

  // Shown only when the table's parser reads every prefix into the state.
  if (examples.empty() || lrStateAfter(t, out.prefix) != state) {
    out.note += out.note.empty() ? "" : " ";
    out.note += "No counterexample could be found and checked.";
    return out;
  }
  for (Counterexample::Example& example : examples) {
    std::string leaves = frontier(example.tree);
    bool sound = isDerivation(g, example.tree) && example.tree.production == 0 &&
                 leaves.compare(0, example.prefix.size(), example.prefix) == 0 && lrStateAfter(t, example.prefix) == state;
    if (!sound) continue;
    example.symbolNext = symbol == '$' ? leaves.size() == example.prefix.size()
                                       : leaves.size() > example.prefix.size() && leaves[example.prefix.size()] == symbol;
    out.examples.push_back(std::move(example));
  }
  if (!out.examples.empty()) out.kind = Counterexample::Kind::kNonUnifying;
  return out;
}

Counterexample CounterexampleFinder::forLL1(char nonterminal, char symbol) {
  Data& d = *data_;
  Counterexample out;
  if (!d.bounds.search) return out;
  const GrammarView& g = d.grammar;
  const Witnesses& w = d.ll;
  int row = d.table().rowOf(nonterminal);

  // The productions in the cell, each once, and whether one is there through Follow.
  std::vector<int> placed;
  std::vector<bool> throughFirst;
  bool needFollow = symbol == '$';
  for (int p : g.alternatives(nonterminal)) {
    const std::string& body = g.production(p).body;
    bool first = symbol != '$' && g.beginsWith(body, symbol);
    bool follow = g.vanishes(body) && g.inFollow(nonterminal, symbol);
    if (!first && !follow) continue;
    placed.push_back(p);
    throughFirst.push_back(first);
    needFollow = needFollow || !first;
  }

  std::vector<UnifyingStart> starts;
  size_t limit = static_cast<size_t>(d.bounds.stepsPerConflict);
  for (size_t i = 0; i < placed.size(); ++i)
    for (size_t j = i + 1; j < placed.size() && starts.size() < limit; ++j) starts.push_back({nonterminal, placed[i], placed[j]});
  for (int p : placed)
    if (starts.size() < limit && leadsBack(w, -1, p)) starts.push_back({nonterminal, p, -1});
  std::string note;
  if (d.unifying(row, symbol, starts, out, note)) return out;
  out.note = note;

  // Non-unifying: a leftmost derivation to w A g with the symbol next, then each production.
  auto none = [&] {
    out.examples.clear();
    out.note += out.note.empty() ? "" : " ";
    out.note += "No counterexample could be found and checked.";
    return out;
  };
  MarkedTree context;
  if (!w.leftmostContext(nonterminal, symbol, needFollow, context)) return none();
  out.prefix = frontier(context.tree).substr(0, frontierPosition(context.tree, context.leaf));

  std::vector<std::vector<Move>> runs;
  std::vector<std::string> bodies;
  for (size_t k = 0; k < placed.size(); ++k) {
    int p = placed[k];
    Tree subtree = productionNode(g, p);
    const std::string& body = g.production(p).body;
    if (throughFirst[k]) {
      std::vector<Tree> trees = w.stringBeginning(body, symbol);
      for (size_t j = 0; j < trees.size(); ++j) subtree.children[j] = std::move(trees[j]);
    } else {
      for (size_t j = 0; j < body.size(); ++j) subtree.children[j] = w.vanishing(body[j]);
    }
    Tree full = inContext(context, std::move(subtree));
    std::vector<Move> moves;
    // Checked: a derivation of the start symbol that the table's parser follows.
    if (!ll1Moves(g, d.table(), full, moves)) return none();
    std::string leaves = frontier(full);
    bool next = symbol == '$' ? leaves.size() == out.prefix.size()
                              : leaves.size() > out.prefix.size() && leaves[out.prefix.size()] == symbol;
    out.examples.push_back({g.productionText(p), out.prefix, std::move(full), next});
    runs.push_back(std::move(moves));
    bodies.push_back(bodyText(g, p));
  }
  // The runs part at the conflict's cell, each with its own prediction
  // (alternatives with the same text cannot part, and need not).
  for (size_t k = 1; k < runs.size(); ++k) {
    int at = firstDifference(runs[0], runs[k]);
    bool parts = at >= 0 && static_cast<size_t>(at) < runs[0].size() && static_cast<size_t>(at) < runs[k].size() &&
                 runs[0][static_cast<size_t>(at)].row == row && runs[0][static_cast<size_t>(at)].lookahead == symbol;
    if (!parts && bodies[k] != bodies[0]) return none();
  }
  if (out.examples.empty()) return none();
  out.kind = Counterexample::Kind::kNonUnifying;
  return out;
}
