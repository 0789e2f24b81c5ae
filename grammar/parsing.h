// Parsing: the grammar model.  It holds the rule lines of a sound reading,
// derives the numbered productions and the nullable non-terminals, and
// carries the analyses that read them: First and Follow sets, the LR item
// operations and collections, the LL(1) table and the LL(1) evaluation.
// Those operations are defined beside the analysis they belong to
// (first.cc, follow.cc, automata/, tables/, simulation/).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/hlist.h"
#include "core/hstring.h"
#include "grammar/grammar.h"

// A list of texts: rule lines, productions, Follow strings, one table row.
using Row = HList<HString>;
// A table or an evaluation trace: row 0 is the header, cell 0 the label.
using Table = HList<Row>;

struct LR0_Item;
struct LR1_Item;
using LR0_ItemsList = HList<LR0_Item>;
using LR1_ItemsList = HList<LR1_Item>;
using LR1_ItemsListList = HList<LR1_ItemsList>;

// A Follow set while it is gathered: its characters, each once, in the
// order they came (rule references included, as codes below 32).
struct FollowSet {
  std::string text;
  bool seen[256] = {};
  void add(char c);
  void add(std::string_view characters);
};
using FollowSets = std::vector<FollowSet>;

class Parsing {
 public:
  Parsing();

  // The grammar as typed records, in either notation.  The engine and every
  // analysis above it read this; the rows below are the classic notation's
  // literal model (empty for a grammar in the token notation), which the
  // item-list operations work on and the engine is checked against.
  Grammar typed;
  // Whether loadGrammar put a start rule before a token grammar's first rule.
  bool addedStartRule = false;

  // Rule lines X->a|b|..., one per non-terminal, in order of first appearance.
  Row rules;
  // One text X->a per alternative, numbered in rule order then left to right.
  Row productions;
  // Work copy of the rules with the nullable symbols erased.
  Row erasedRules;
  // Scratch flags of the First walk (by character) and of computeNullable (by rule).
  mutable unsigned char visited[256];
  // Set for the left sides of nullable rules, indexed by character code.
  unsigned char nullable[256];

  // Loads a sound reading's rule lines and derives productions and nullability.
  void loadRules(const Row& lines);
  // Loads a grammar read in either notation; a classic one gets its rule
  // lines too, exactly as loadRules would.  A token grammar whose first rule
  // does not augment it is given a start rule E' -> E (withStartRule).
  void loadGrammar(const Grammar& grammar);
  void buildProductions();
  void computeNullable();
  // The first unpropagated rule of erasedRules that is now X->e, or -1.
  int nextNullableRule();

  bool isNullable(char c) const { return nullable[static_cast<unsigned char>(c)] != 0; }
  bool isTerminal(char c) const { return c < 'A' || c > 'Z'; }
  // The rule whose left side is c; ends the program when there is none.
  int indexOfNonTerminal(char c) const;
  // The terminals of the right sides ('e' included when used), sorted by code.
  HString terminals() const;
  // The productions X->a of X, empty for a terminal.
  Row productionsOf(char x) const;
  // The number of the first production equal to the text, or -1.
  int indexOfProduction(const HString& text) const;

  // First sets (first.cc); 'e' marks the empty string.
  HString first(char x) const;
  // The literal item-list operations, the explanations and the checks read
  // these; the engine reads the ordered First of grammar/ordered_first.h.
  HString firstOfString(HString alpha) const;

  // Follow sets of all rules, entry i for rule i (follow.cc).
  Row follow() const;
  void followScan(int i, int j, std::vector<FollowSet>& sets) const;
  void resolveFollow(Row& sets) const;

  // LR(0) items: queries (automata/items.cc); closure and goto, step for
  // step on item lists (automata/item_lists.cc).  Commands use the engine of
  // automata/automaton.h instead, which these operations check.
  bool isComplete(const LR0_Item& item) const;
  char symbolAfterDot(const LR0_Item& item) const;
  HString symbolsAfterDot(const LR0_ItemsList& state) const;
  LR0_ItemsList closureLR0(LR0_ItemsList items) const;
  LR0_ItemsList closureOfItemLR0(const LR0_Item& item) const;
  LR0_ItemsList gotoLR0(LR0_ItemsList state, char x) const;

  // LR(1) items, as above.
  bool isComplete(const LR1_Item& item) const;
  char symbolAfterDot(const LR1_Item& item) const;
  HString symbolsAfterDot(const LR1_ItemsList& state) const;
  LR1_ItemsList closureLR1(LR1_ItemsList items) const;
  LR1_ItemsList closureOfItemLR1(const LR1_Item& item) const;
  LR1_ItemsList gotoLR1(LR1_ItemsList state, char x) const;

  // The canonical collections as item lists (automata/item_lists.cc) and
  // their listings (automata/listing.cc, built on the engine).
  HList<LR0_ItemsList> buildLR0Collection() const;
  Row listLR0Items() const;
  LR1_ItemsListList buildLR1Collection() const;
  Row listLR1Items() const;

  // The LL(1) table (tables/ll1_table.cc) and its evaluation (simulation/ll1_evaluation.cc).
  Table ll1Table() const;
  Table ll1Evaluation(HString word) const;
  // Every symbol of the stack from bottom to top, each followed by a blank.
  static HString symbolStackText(HList<char> stack);

 private:
  // First of a non-terminal from a fresh walk, made when first asked: the
  // First of a string that starts with a non-terminal that cannot vanish.
  const std::string& firstOfNonTerminal(char x) const;
  std::string firstOfText(std::string_view alpha) const;
  // The walks, each set without repeats as it grows.
  std::string firstOfSymbol(char x) const;
  std::string firstOfSymbols(std::string_view alpha) const;
  void forgetFirsts();
  mutable std::string firstCache_[26];
  mutable bool firstCached_[26] = {};
};
