// The smallest derivation trees that show a fact about the grammar: that a
// non-terminal vanishes, derives a word, begins with a terminal, is
// followed by a symbol, or is reached from the root.  "Smallest" counts the
// productions a tree uses; the costs are the least solutions of the
// equations cost(X) = min over X->a of 1 + the costs a needs, found by
// relaxation (Knuth's generalisation of shortest paths to grammars; a sweep
// is linear in the grammar and the textbook grammars settle in a few).
// Each tree expands only what the fact needs: the other symbols stay leaves.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "explain/grammar_view.h"
#include "trees/tree.h"

// A tree with one of its leaves marked by the path of child positions from the root.
struct MarkedTree {
  Tree tree;
  std::vector<int> leaf;
};

// The node of a production with every body symbol a leaf.
Tree productionNode(const GrammarView& grammar, int production);
// The form begins with the prefix.
bool startsWith(std::span<const Symbol> form, std::span<const Symbol> prefix);
// The symbol comes right after the first `at` leaves: as the next leaf, or
// for the end marker, as the end of the leaves.
bool comesNext(const GrammarView& grammar, const Symbols& leaves, size_t at, Symbol symbol);
// The leaf at a path (the root for an empty path).
Tree& nodeAt(Tree& tree, const std::vector<int>& path);
// The position of the marked leaf in the tree's frontier.
size_t frontierPosition(const Tree& tree, const std::vector<int>& path);

class Witnesses {
 public:
  // Where the trees of `reaching` start: at the start symbol, or at a node
  // expanded by production 0, as the LR automata start.
  enum class Root { kStartSymbol, kProductionZero };

  // `avoided` is a production no tree uses below its root (production 0 for
  // the LR automata, which reduce it only by accepting), or -1.
  explicit Witnesses(const GrammarView& grammar, int avoided = -1);

  const GrammarView& grammar() const { return grammar_; }
  bool vanishes(Symbol x) const { return finite(vanishCost(x)); }
  bool derivesWord(Symbol x) const { return !grammar_.isNonterminal(x) || finite(word_[at(x)]); }
  // x expanded down to the empty word, or to a word of terminals.
  Tree vanishing(Symbol x) const;
  Tree word(Symbol x) const;
  // Every non-terminal leaf replaced by its word tree; false when one derives no word.
  bool completeToWord(Tree& tree) const;

  // x derives a form that begins with the terminal t.
  bool begins(Symbol x, Symbol t) const { return x == t || (grammar_.isNonterminal(x) && finite(firstCost(x, t))); }
  // The tree of x (a leaf when x is t) whose frontier begins with t.
  Tree beginning(Symbol x, Symbol t) const;
  // The trees of the symbols of a string whose joined frontiers begin with t:
  // the symbols before the one that yields t vanish, the later stay leaves.
  // Empty when the string cannot begin with t.
  std::vector<Tree> stringBeginning(std::span<const Symbol> symbols, Symbol t) const;
  // Where in the string t comes from: the position of the symbol, or -1.
  int beginningPosition(std::span<const Symbol> symbols, Symbol t) const;

  // t (a terminal or the end marker) follows a in some sentential form.
  bool follows(Symbol a, Symbol t) const { return grammar_.isNonterminal(a) && inRange(t) && finite(follow_[at(a)][at(t)].cost); }
  // A tree with a leaf a directly followed by the leaf t, or, for the end
  // marker, rooted at the start symbol with a leaf a at the end of its frontier.
  MarkedTree following(Symbol a, Symbol t) const;

  // x can be reached from the root.
  bool reaches(Symbol x, Root root) const { return inRange(x) && finite(reach_[index(root)][at(x)].cost); }
  // The smallest tree from the root with a leaf x; the start symbol itself
  // is a one-leaf tree when the root is the start symbol.
  MarkedTree reaching(Symbol x, Root root) const;

  // A tree of the start symbol with a leaf a and a word before it, as a
  // leftmost derivation reaches "w a g"; with `followed`, t comes right
  // after a (the end, for the end marker).  False when there is none.
  bool leftmostContext(Symbol a, Symbol t, bool followed, MarkedTree& out) const;

  // How a Follow fact was derived at its last step: the production and the
  // position of a in it, and how t arrives (Step).
  enum class Step { kStart, kDirect, kThroughFirst, kThroughFollow };
  struct FollowStep {
    Step step = Step::kStart;
    int production = -1;
    int position = -1;  // of a in the body
    int source = -1;    // the body position of the symbol t comes from (kDirect, kThroughFirst)
  };
  FollowStep followStep(Symbol a, Symbol t) const { return follow_[at(a)][at(t)]; }
  // How a First fact was derived: the production of x and the body position t comes from.
  struct FirstStep {
    int production = -1;
    int position = -1;
  };
  FirstStep firstStep(Symbol x, Symbol t) const { return firstChoice_[at(x)][at(t)]; }
  int vanishingProduction(Symbol x) const { return vanishChoice_[at(x)]; }

 private:
  // A cost counts productions; `long` is 32 bits on some targets (wasm32),
  // where the sums of costs near kInfinite would overflow.
  using Cost = std::int64_t;
  static constexpr Cost kInfinite = Cost{1} << 40;
  static bool finite(Cost cost) { return cost < kInfinite; }
  static size_t at(Symbol s) { return static_cast<size_t>(s); }
  bool inRange(Symbol s) const { return s >= 0 && s <= grammar_.endMarker(); }
  static size_t index(Root root) { return root == Root::kStartSymbol ? 0 : 1; }
  bool usable(int p) const { return p != avoided_; }
  Cost vanishCost(Symbol x) const { return grammar_.isNonterminal(x) ? vanish_[at(x)] : kInfinite; }
  Cost firstCost(Symbol x, Symbol t) const { return inRange(t) ? first_[at(x)][at(t)] : kInfinite; }

  struct FollowChoice : FollowStep {
    Cost cost = kInfinite;
  };
  struct ReachChoice {
    Cost cost = kInfinite;
    int production = -1;
    int position = -1;
    bool seed = false;  // a symbol of the root production itself
  };

  void computeVanishAndWord();
  void computeFirst();
  void computeFollow();
  void computeReach(Root root);
  Tree shallow(int production) const { return productionNode(grammar_, production); }
  // x expanded all the way down by the production `choice` names for each non-terminal.
  Tree expandedBy(const std::vector<int>& choice, Symbol x) const;
  // The node of a production whose symbols before `position` vanish, whose
  // symbol at `position` is `at`, and whose later symbols are leaves.
  Tree vanishingBefore(int production, int position, Tree at) const;

  const GrammarView& grammar_;
  int avoided_;
  size_t count_;  // the symbols, the end marker included
  std::vector<Cost> vanish_;
  std::vector<int> vanishChoice_;
  std::vector<Cost> word_;
  std::vector<int> wordChoice_;
  // By non-terminal, then terminal (empty rows for the other symbols).
  std::vector<std::vector<Cost>> first_;
  std::vector<std::vector<FirstStep>> firstChoice_;
  std::vector<std::vector<FollowChoice>> follow_;
  std::vector<ReachChoice> reach_[2];
};
