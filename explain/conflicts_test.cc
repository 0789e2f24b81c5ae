#include "explain/conflicts.h"

#include <gtest/gtest.h>

#include "explain/test_symbols.h"
#include "grammar/symbol_text.h"
#include "grammar/test_support.h"

namespace {

SearchBounds noSearch() {
  SearchBounds bounds;
  bounds.search = false;
  return bounds;
}

std::vector<Conflict> conflictsOf(const Parsing& model, TableKind kind) {
  TableSet tables(model);
  return explainConflicts(tables, kind, noSearch());
}

std::vector<std::string> actions(const Conflict& c) {
  std::vector<std::string> out;
  for (const ConflictEntry& entry : c.entries) out.push_back(entry.action);
  return out;
}

// Example 8 (S->L=R|R, L->*R|i, R->L): SLR reduces R->L on all of Follow(R),
// where LALR knows = cannot follow R.
TEST(LRConflictTest, AnSlrConflictThatLookaheadsResolve) {
  Parsing model = exampleModel(8);
  std::vector<Conflict> conflicts = conflictsOf(model, TableKind::kSLR);
  ASSERT_EQ(conflicts.size(), 1u);
  const Conflict& c = conflicts[0];
  EXPECT_EQ(c.label, "3");
  EXPECT_EQ(symbolText(model.typed, c.symbol), "=");
  EXPECT_EQ(c.cell, "s7|r6");
  EXPECT_EQ(c.kind, "shift/reduce");
  EXPECT_EQ(symbolsText(model.typed, c.prefix), "L");
  ASSERT_EQ(c.entries.size(), 2u);
  EXPECT_EQ(c.entries[0].items, (std::vector<std::string>{"S->L°=R"}));
  EXPECT_EQ(c.entries[1].reason,
            "The item R->L° is complete and SLR reduces on every symbol of Follow(R), so state 3 reduces by R->L on =. "
            "= is in Follow(R) because of L->*R and = is in Follow(L).");
  EXPECT_EQ(c.notes, (std::vector<std::string>{
                         "LALR state 3 with the same items has no conflict under =: there R->L reduces only on $, "
                         "lookaheads more precise than the Follow set.",
                         "LR1 state 3 with the same items has no conflict under =: there R->L reduces only on $, "
                         "lookaheads more precise than the Follow set."}));
}

// Example 10: the two states reached over c merge into one.
TEST(LRConflictTest, AnLalrConflictFromMergedStates) {
  std::vector<Conflict> conflicts = conflictsOf(exampleModel(10), TableKind::kLALR);
  ASSERT_EQ(conflicts.size(), 2u);
  const Conflict& c = conflicts[0];
  EXPECT_EQ(c.kind, "reduce/reduce");
  EXPECT_EQ(actions(c), (std::vector<std::string>{"r5", "r6"}));
  EXPECT_EQ(c.entries[0].items, (std::vector<std::string>{"A->c°, ba"}));
  EXPECT_TRUE(c.entries[0].reason.ends_with(" The lookahead a comes from LR(1) state 6."));
  EXPECT_TRUE(c.entries[1].reason.ends_with(" The lookahead a comes from LR(1) state 9."));
  EXPECT_EQ(c.notes.back(),
            "The conflict comes from merging LR(1) states 6 and 9: state 6 has r5 and state 9 has r6 under a, without a conflict.");
}

TEST(LRConflictTest, KindsOfCells) {
  // A state that accepts and reduces on $.
  std::vector<Conflict> accepting = conflictsOf(modelOf({"I->S", "S->A", "A->S|x"}), TableKind::kSLR);
  ASSERT_EQ(accepting.size(), 1u);
  EXPECT_EQ(accepting[0].cell, "a|r2");
  EXPECT_EQ(accepting[0].kind, "accept/reduce");
  EXPECT_EQ(accepting[0].entries[0].reason, "The item I->S° is complete and production 0 accepts on $.");
  // One shift and two reductions in one cell.
  bool found = false;
  for (const Conflict& c : conflictsOf(modelOf({"I->S", "S->SS|(S)|e"}), TableKind::kSLR))
    if (c.cell == "r1|s2|r3") found = c.kind == "shift/reduce/reduce";
  EXPECT_TRUE(found);
}

TEST(LRConflictTest, OneCellOnly) {
  Parsing model = exampleModel(4);
  TableSet tables(model);
  Symbol a = classicSymbolOf(model.typed, 'a'), c = classicSymbolOf(model.typed, 'c');
  EXPECT_FALSE(explainCell(tables, TableKind::kSLR, 0, a, noSearch()));
  EXPECT_FALSE(explainCell(tables, TableKind::kSLR, 99, c, noSearch()));
  std::optional<Conflict> conflict = explainCell(tables, TableKind::kSLR, 7, c, noSearch());
  ASSERT_TRUE(conflict);
  EXPECT_EQ(conflict->cell, "s9|r4");
  EXPECT_EQ(symbolsText(model.typed, conflict->prefix), "iEtS");
}

TEST(LL1ConflictTest, FirstAndFollow) {
  Parsing model = exampleModel(4);
  std::vector<Conflict> conflicts = conflictsOf(model, TableKind::kLL1);
  ASSERT_EQ(conflicts.size(), 1u);
  const Conflict& c = conflicts[0];
  EXPECT_EQ(c.label, "Z");
  EXPECT_EQ(c.kind, "First/Follow");
  EXPECT_EQ(actions(c), (std::vector<std::string>{"Z->cS", "Z->e"}));
  EXPECT_EQ(c.entries[0].reason, "Through First: c is in First(cS) because the string begins with it.");
  EXPECT_TRUE(c.entries[1].reason.starts_with(
      "Through Follow: Z->e is empty, and c is in Follow(Z) because of S->iEtSZ and c is in Follow(S)."));
  // The parser reads a whole inner if-statement before Z is on top with c next.
  EXPECT_EQ(symbolsText(model.typed, c.prefix), "ibtibta");
}

TEST(LL1ConflictTest, TheSameProductionTwiceAndTheConflictItImplies) {
  std::vector<Conflict> conflicts = conflictsOf(modelOf({"S->Ab", "A->B", "B->b|e"}), TableKind::kLL1);
  ASSERT_EQ(conflicts.size(), 2u);
  EXPECT_EQ(conflicts[0].cell, "A->B|B");
  EXPECT_EQ(conflicts[0].kind, "same production twice");
  EXPECT_EQ(actions(conflicts[0]), (std::vector<std::string>{"A->B", "A->B"}));
  EXPECT_EQ(conflicts[0].notes,
            (std::vector<std::string>{"A->B stands twice in the cell: through First and, since it can vanish, through "
                                      "Follow(A). The real conflict is in row B: B can vanish and b is in both First(B) "
                                      "and Follow(B), so its cell under b holds B->b|e."}));
  EXPECT_EQ(conflicts[1].kind, "First/Follow");
}

TEST(LL1ConflictTest, LeftRecursionAndMixedKinds) {
  std::vector<Conflict> conflicts = conflictsOf(exampleModel(5), TableKind::kLL1);
  ASSERT_EQ(conflicts.size(), 1u);
  EXPECT_EQ(conflicts[0].kind, "First/First");
  EXPECT_EQ(conflicts[0].notes, (std::vector<std::string>{"A->Abc is left-recursive: it derives forms that begin with A "
                                                          "again, so whatever begins A begins it too, and no LL(1) table "
                                                          "can choose it."}));
  Parsing parentheses = modelOf({"I->S", "S->SS|(S)|e"});
  std::vector<Conflict> mixed = conflictsOf(parentheses, TableKind::kLL1);
  ASSERT_FALSE(mixed.empty());
  EXPECT_EQ(symbolText(parentheses.typed, mixed[0].symbol), "(");
  EXPECT_EQ(mixed[0].kind, "First/First and First/Follow");
}

}  // namespace
