// The smallest derivation trees that show a fact about the grammar: that a
// non-terminal vanishes, derives a word, begins with a terminal, is
// followed by a symbol, or is reached from the root.  "Smallest" counts the
// productions a tree uses; the costs are the least solutions of the
// equations cost(X) = min over X->a of 1 + the costs a needs, found by
// relaxation (Knuth's generalisation of shortest paths to grammars; with at
// most 26 non-terminals plain relaxation is fast enough).  Each tree
// expands only what the fact needs: the other symbols stay leaves.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "explain/grammar_view.h"
#include "trees/tree.h"

// A tree with one of its leaves marked by the path of child positions from the root.
struct MarkedTree {
  Tree tree;
  std::vector<int> leaf;
};

// The explanations name symbols by character, their trees by the grammar's
// symbols: these convert between the two.
Tree leafOf(const GrammarView& grammar, char c);
Tree nodeOf(const GrammarView& grammar, char head, std::vector<Tree> children, int production = -1);
char characterOf(const GrammarView& grammar, const Tree& tree);
// The leaves' characters from left to right.
std::string frontierOf(const GrammarView& grammar, const Tree& tree);

// The node of a production with every body symbol a leaf.
Tree productionNode(const GrammarView& grammar, int production);
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
  bool vanishes(char x) const { return finite(vanish_[code(x)]); }
  bool derivesWord(char x) const { return !GrammarView::isNonterminal(x) || finite(word_[code(x)]); }
  // x expanded down to the empty word, or to a word of terminals.
  Tree vanishing(char x) const;
  Tree word(char x) const;
  // Every non-terminal leaf replaced by its word tree; false when one derives no word.
  bool completeToWord(Tree& tree) const;

  // x derives a form that begins with the terminal t.
  bool begins(char x, char t) const { return x == t || (GrammarView::isNonterminal(x) && finite(first_[nt(x)][code(t)])); }
  // The tree of x (a leaf when x is t) whose frontier begins with t.
  Tree beginning(char x, char t) const;
  // The trees of the symbols of a string whose joined frontiers begin with t:
  // the symbols before the one that yields t vanish, the later stay leaves.
  // Empty when the string cannot begin with t.
  std::vector<Tree> stringBeginning(std::string_view symbols, char t) const;
  // Where in the string t comes from: the position of the symbol, or -1.
  int beginningPosition(std::string_view symbols, char t) const;

  // t (a terminal or '$') follows a in some sentential form.
  bool follows(char a, char t) const { return GrammarView::isNonterminal(a) && finite(follow_[nt(a)][code(t)].cost); }
  // A tree with a leaf a directly followed by the leaf t, or, for '$', rooted
  // at the start symbol with a leaf a at the end of its frontier.
  MarkedTree following(char a, char t) const;

  // x can be reached from the root.
  bool reaches(char x, Root root) const { return finite(reach_[index(root)][code(x)].cost); }
  // The smallest tree from the root with a leaf x; the start symbol itself
  // is a one-leaf tree when the root is the start symbol.
  MarkedTree reaching(char x, Root root) const;

  // A tree of the start symbol with a leaf a and a word before it, as a
  // leftmost derivation reaches "w a g"; with `followed`, t comes right
  // after a (the end, for '$').  False when there is none.
  bool leftmostContext(char a, char t, bool followed, MarkedTree& out) const;

  // How a Follow fact was derived at its last step: the production and the
  // position of a in it, and how t arrives (Step).
  enum class Step { kStart, kDirect, kThroughFirst, kThroughFollow };
  struct FollowStep {
    Step step = Step::kStart;
    int production = -1;
    int position = -1;  // of a in the body
    int source = -1;    // the body position of the symbol t comes from (kDirect, kThroughFirst)
  };
  FollowStep followStep(char a, char t) const { return follow_[nt(a)][code(t)]; }
  // How a First fact was derived: the production of x and the body position t comes from.
  struct FirstStep {
    int production = -1;
    int position = -1;
  };
  FirstStep firstStep(char x, char t) const { return firstChoice_[nt(x)][code(t)]; }
  int vanishingProduction(char x) const { return vanishChoice_[code(x)]; }

 private:
  // A cost counts productions; `long` is 32 bits on some targets (wasm32),
  // where the sums of costs near kInfinite would overflow.
  using Cost = std::int64_t;
  static constexpr Cost kInfinite = Cost{1} << 40;
  static bool finite(Cost cost) { return cost < kInfinite; }
  static unsigned char code(char c) { return static_cast<unsigned char>(c); }
  // The slot of a non-terminal in the per-non-terminal tables.
  static size_t nt(char x) { return static_cast<size_t>(x - 'A'); }
  static size_t index(Root root) { return root == Root::kStartSymbol ? 0 : 1; }
  bool usable(int p) const { return p != avoided_; }
  Cost vanishCost(char x) const { return GrammarView::isNonterminal(x) ? vanish_[code(x)] : kInfinite; }

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
  Tree expandedBy(const std::array<int, 256>& choice, char x) const;
  // The node of a production whose symbols before `position` vanish, whose
  // symbol at `position` is `at`, and whose later symbols are leaves.
  Tree vanishingBefore(int production, int position, Tree at) const;

  const GrammarView& grammar_;
  int avoided_;
  std::array<Cost, 256> vanish_;
  std::array<int, 256> vanishChoice_;
  std::array<Cost, 256> word_;
  std::array<int, 256> wordChoice_;
  // By non-terminal slot, then terminal code; on the heap, being large.
  std::vector<std::array<Cost, 256>> first_;
  std::vector<std::array<FirstStep, 256>> firstChoice_;
  std::vector<std::array<FollowChoice, 256>> follow_;
  std::array<std::array<ReachChoice, 256>, 2> reach_;
};
