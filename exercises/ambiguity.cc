#include "exercises/ambiguity.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <functional>
#include <set>

#include "automata/automaton.h"
#include "core/work.h"
#include "exercises/grammar_traits.h"
#include "explain/grammar_view.h"
#include "explain/verify.h"
#include "explain/witnesses.h"

namespace {

// The search reads the classic grammar a character a symbol; its trees hold the typed symbols.
Tree leafOf(const GrammarView& view, char c) { return Tree::leaf(classicSymbol(view.grammar(), c)); }

Tree nodeOf(const GrammarView& view, char head, std::vector<Tree> children, int production) {
  return Tree::node(classicSymbol(view.grammar(), head), std::move(children), production);
}

// A round no count reaches: `never` for the rounds, and one round fewer
// for asking a count after all its rounds.
constexpr int kNever = INT_MAX;
constexpr int kAllRounds = INT_MAX - 1;

bool isNonTerminal(char c) { return c >= 'A' && c <= 'Z'; }

// The grammar as the counting needs it: productions by head index.
struct IndexedGrammar {
  std::vector<CharProduction> productions;
  std::string heads;                     // non-terminal by index, in rule order
  int index[256];                        // index by character, -1 for none
  std::vector<std::vector<int>> byHead;  // production numbers of each head

  explicit IndexedGrammar(const Parsing& grammar) : productions(productionList(grammar)) {
    std::fill(std::begin(index), std::end(index), -1);
    for (Symbol x : grammar.typed.nonTerminals()) {
      char c = grammar.typed.name(x)[0];
      index[static_cast<unsigned char>(c)] = static_cast<int>(heads.size());
      heads += c;
    }
    // A repeated alternative is the same production as its first copy, as
    // the LR automata take it: it gives no second tree.
    byHead.resize(heads.size());
    for (std::size_t p = 0; p < productions.size(); ++p) {
      std::vector<int>& alternatives = byHead[static_cast<std::size_t>(indexOf(productions[p].head))];
      bool repeated = std::any_of(alternatives.begin(), alternatives.end(), [&](int q) {
        return productions[static_cast<std::size_t>(q)].body == productions[p].body;
      });
      if (!repeated) alternatives.push_back(static_cast<int>(p));
    }
  }
  int indexOf(char c) const { return index[static_cast<unsigned char>(c)]; }
  int size() const { return static_cast<int>(heads.size()); }
};

// The capped tree counts of every non-terminal over every span of a word,
// with the rounds in which each count reached 1 and 2.
class SpanCounts {
 public:
  SpanCounts(const IndexedGrammar& grammar, std::string_view word)
      : g_(grammar), word_(word), n_(static_cast<int>(word.size())) {
    std::size_t cells = static_cast<std::size_t>(g_.size()) * static_cast<std::size_t>((n_ + 1) * (n_ + 1));
    first_.assign(cells, kNever);
    second_.assign(cells, kNever);
    for (int length = 0; length <= n_; ++length)
      for (int i = 0; i + length <= n_; ++i) countSpan(i, i + length);
  }

  // The count of x over (i, j) after `round` rounds of its own span.
  int value(int x, int i, int j, int round) const {
    std::size_t at = cell(x, i, j);
    return second_[at] <= round ? 2 : first_[at] <= round ? 1 : 0;
  }
  int finalValue(int x, int i, int j) const { return value(x, i, j, kAllRounds); }
  int firstRound(int x, int i, int j) const { return first_[cell(x, i, j)]; }
  int secondRound(int x, int i, int j) const { return second_[cell(x, i, j)]; }

  // The value of body symbol c from p to q, where the span (i, j) being
  // looked at counts after `round` rounds and every shorter span is final.
  int symbolValue(char c, int p, int q, int i, int j, int round) const {
    if (!isNonTerminal(c)) return q == p + 1 && word_[static_cast<std::size_t>(p)] == c ? 1 : 0;
    int x = g_.indexOf(c);
    if (x < 0) return 0;
    return p == i && q == j ? value(x, p, q, round) : finalValue(x, p, q);
  }

  // Calls visit(ends) for each way the body of production p covers (i, j)
  // with positive values, ends[r] being where symbol r ends; stops early
  // when visit returns true, and then returns true.
  bool eachSplit(int p, int i, int j, int round, const std::function<bool(const std::vector<int>&)>& visit) const {
    const std::string& body = g_.productions[static_cast<std::size_t>(p)].body;
    std::vector<int> ends(body.size());
    std::function<bool(std::size_t, int)> walk = [&](std::size_t r, int from) {
      if (r == body.size()) return from == j && visit(ends);
      for (int q = from; q <= j; ++q) {
        if (symbolValue(body[r], from, q, i, j, round) == 0) continue;
        ends[r] = q;
        if (walk(r + 1, q)) return true;
      }
      return false;
    };
    return walk(0, i);
  }

  // The capped number of ways production p covers (i, j).
  int ways(int p, int i, int j, int round) const {
    const std::string& body = g_.productions[static_cast<std::size_t>(p)].body;
    std::vector<int> reach(static_cast<std::size_t>(j - i + 1), 0), next(reach.size());
    reach[0] = 1;
    for (char c : body) {
      std::fill(next.begin(), next.end(), 0);
      for (int from = i; from <= j; ++from) {
        int before = reach[static_cast<std::size_t>(from - i)];
        if (before == 0) continue;
        for (int q = from; q <= j; ++q) {
          int v = symbolValue(c, from, q, i, j, round);
          if (v > 0)
            next[static_cast<std::size_t>(q - i)] = std::min(2, next[static_cast<std::size_t>(q - i)] + before * v);
        }
      }
      reach.swap(next);
    }
    return reach[static_cast<std::size_t>(j - i)];
  }

 private:
  std::size_t cell(int x, int i, int j) const {
    return (static_cast<std::size_t>(x) * static_cast<std::size_t>(n_ + 1) + static_cast<std::size_t>(i)) *
               static_cast<std::size_t>(n_ + 1) +
           static_cast<std::size_t>(j);
  }

  // Rounds until no count of the span changes: each round reads the last.
  void countSpan(int i, int j) {
    std::vector<int> next(static_cast<std::size_t>(g_.size()));
    for (int round = 1;; ++round) {
      bool changed = false;
      for (int x = 0; x < g_.size(); ++x) {
        int total = 0;
        for (int p : g_.byHead[static_cast<std::size_t>(x)]) total = std::min(2, total + ways(p, i, j, round - 1));
        next[static_cast<std::size_t>(x)] = total;
      }
      for (int x = 0; x < g_.size(); ++x) {
        int now = next[static_cast<std::size_t>(x)];
        if (now == value(x, i, j, round - 1)) continue;
        changed = true;
        if (now >= 1 && first_[cell(x, i, j)] == kNever) first_[cell(x, i, j)] = round;
        if (now >= 2) second_[cell(x, i, j)] = round;
      }
      if (!changed) return;
    }
  }

  const IndexedGrammar& g_;
  std::string_view word_;
  int n_;
  std::vector<int> first_, second_;
};

// Reads trees back from the counts.
class TreeReader {
 public:
  TreeReader(const IndexedGrammar& grammar, const GrammarView& view, const SpanCounts& counts)
      : g_(grammar), view_(view), counts_(counts) {}

  // A tree of x over (i, j) within `round` rounds of the span (value >= 1).
  Tree one(int x, int i, int j, int round) const {
    for (int p : g_.byHead[static_cast<std::size_t>(x)]) {
      std::vector<int> found;
      if (counts_.eachSplit(p, i, j, round - 1, [&](const std::vector<int>& ends) {
            found = ends;
            return true;
          }))
        return node(p, i, j, round, found, -1, nullptr);
    }
    return leafOf(view_, g_.heads[static_cast<std::size_t>(x)]);  // unreachable for a positive value
  }

  // Two different trees of x over (i, j) within `round` rounds (value 2).
  std::pair<Tree, Tree> two(int x, int i, int j, int round) const {
    struct Way {
      int production;
      std::vector<int> ends;
    };
    std::vector<Way> found;
    for (int p : g_.byHead[static_cast<std::size_t>(x)]) {
      counts_.eachSplit(p, i, j, round - 1, [&](const std::vector<int>& ends) {
        found.push_back({p, ends});
        return found.size() == 2;
      });
      if (found.size() == 2) break;
    }
    if (found.size() == 2)
      return {node(found[0].production, i, j, round, found[0].ends, -1, nullptr),
              node(found[1].production, i, j, round, found[1].ends, -1, nullptr)};
    // One way only: one of its symbols has two trees itself.
    const Way& way = found.front();
    const std::string& body = g_.productions[static_cast<std::size_t>(way.production)].body;
    int from = i;
    for (std::size_t r = 0; r < body.size(); ++r) {
      int to = way.ends[r];
      if (counts_.symbolValue(body[r], from, to, i, j, round - 1) == 2) {
        std::pair<Tree, Tree> pair;
        node(way.production, i, j, round, way.ends, static_cast<int>(r), &pair);
        return pair;
      }
      from = to;
    }
    return {};  // unreachable for a value of 2
  }

 private:
  // The tree of production p over (i, j) split at `ends`; when `split` names
  // a symbol, both trees of that symbol go into `pair`, the rest alike.
  Tree node(int p, int i, int j, int round, const std::vector<int>& ends, int split,
            std::pair<Tree, Tree>* pair) const {
    const CharProduction& production = g_.productions[static_cast<std::size_t>(p)];
    Tree tree = nodeOf(view_, production.head, {}, p);
    Tree other = tree;
    int from = i;
    for (std::size_t r = 0; r < production.body.size(); ++r) {
      char c = production.body[r];
      int to = ends[r];
      bool same = from == i && to == j;
      if (!isNonTerminal(c)) {
        tree.children.push_back(leafOf(view_, c));
        other.children.push_back(tree.children.back());
      } else if (static_cast<int>(r) == split) {
        int y = g_.indexOf(c);
        auto [a, b] = two(y, from, to, same ? round - 1 : counts_.secondRound(y, from, to));
        tree.children.push_back(std::move(a));
        other.children.push_back(std::move(b));
      } else {
        int y = g_.indexOf(c);
        tree.children.push_back(one(y, from, to, same ? round - 1 : counts_.firstRound(y, from, to)));
        other.children.push_back(tree.children.back());
      }
      from = to;
    }
    if (pair != nullptr) *pair = {tree, other};
    return tree;
  }

  const IndexedGrammar& g_;
  const GrammarView& view_;
  const SpanCounts& counts_;
};

// Words of each non-terminal by length, up to a number per length, found
// by splitting each length over the bodies; bounded by a step budget.
class WordLister {
 public:
  WordLister(const IndexedGrammar& grammar, const AmbiguityBounds& bounds)
      : g_(grammar), bounds_(bounds), words_(static_cast<std::size_t>(grammar.size())) {
    for (auto& byLength : words_) byLength.resize(static_cast<std::size_t>(bounds.longestWord) + 1);
    for (int length = 0; length <= bounds.longestWord && budget_ > 0; ++length) {
      for (bool grew = true; grew && budget_ > 0;) {
        grew = false;
        for (std::size_t p = 0; p < g_.productions.size(); ++p) grew = addWords(static_cast<int>(p), length) || grew;
      }
    }
  }

  const std::set<std::string>& words(int x, int length) const {
    return words_[static_cast<std::size_t>(x)][static_cast<std::size_t>(length)];
  }

 private:
  bool addWords(int p, int length) {
    const CharProduction& production = g_.productions[static_cast<std::size_t>(p)];
    std::set<std::string>& target =
        words_[static_cast<std::size_t>(g_.indexOf(production.head))][static_cast<std::size_t>(length)];
    std::size_t before = target.size();
    std::string made;
    // Symbol r starts at `made`; `left` characters remain for it and the rest.
    std::function<void(std::size_t, int)> walk = [&](std::size_t r, int left) {
      if (full(target) || budget_ <= 0) return;
      if ((--budget_ & 1023) == 0) noteWork();
      if (r == production.body.size()) {
        if (left == 0) target.insert(made);
        return;
      }
      char c = production.body[r];
      if (!isNonTerminal(c)) {
        if (left == 0) return;
        made += c;
        walk(r + 1, left - 1);
        made.pop_back();
        return;
      }
      int y = g_.indexOf(c);
      if (y < 0) return;
      for (int part = 0; part <= left; ++part) {
        // Copied: the set may be the target itself when y is the head.
        std::vector<std::string> choices(words(y, part).begin(), words(y, part).end());
        for (const std::string& piece : choices) {
          made += piece;
          walk(r + 1, left - part);
          made.resize(made.size() - piece.size());
          if (full(target) || budget_ <= 0) return;
        }
      }
    };
    walk(0, length);
    return target.size() > before;
  }

  bool full(const std::set<std::string>& set) const { return static_cast<int>(set.size()) >= bounds_.wordsPerLength; }

  const IndexedGrammar& g_;
  const AmbiguityBounds& bounds_;
  std::vector<std::vector<std::set<std::string>>> words_;
  long budget_ = bounds_.work;
};

}  // namespace

int countParseTrees(const Parsing& grammar, std::string_view word) {
  if (grammar.rules.getCount() == 0) return 0;
  IndexedGrammar indexed(grammar);
  SpanCounts counts(indexed, word);
  return counts.finalValue(0, 0, static_cast<int>(word.size()));
}

std::optional<AmbiguityWitness> findAmbiguity(const Parsing& grammar, const AmbiguityBounds& bounds) {
  if (grammar.rules.getCount() == 0) return std::nullopt;
  IndexedGrammar indexed(grammar);
  GrammarView view(grammar);
  WordLister lister(indexed, bounds);
  long counted = 0;
  for (int length = 0; length <= bounds.longestWord; ++length) {
    for (const std::string& word : lister.words(0, length)) {
      if (++counted > bounds.wordsCounted) return std::nullopt;
      noteWork();
      SpanCounts counts(indexed, word);
      int n = static_cast<int>(word.size());
      if (counts.finalValue(0, 0, n) < 2) continue;
      auto [a, b] = TreeReader(indexed, view, counts).two(0, 0, n, counts.secondRound(0, 0, n));
      AmbiguityWitness witness{word, {std::move(a), std::move(b)}};
      if (verifyWitness(grammar, witness)) return witness;
    }
  }
  return std::nullopt;
}

bool verifyWitness(const Parsing& grammar, const AmbiguityWitness& witness) {
  if (grammar.rules.getCount() == 0) return false;
  GrammarView view(grammar);
  for (const Tree& tree : witness.trees)
    if (tree.symbol != view.start() || frontier(view.grammar(), tree) != witness.word) return false;
  return isUnifyingPair(view, witness.trees[0], witness.trees[1]);
}
