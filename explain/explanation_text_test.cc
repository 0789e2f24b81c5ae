#include "explain/explanation_text.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "grammar/test_support.h"

namespace {

std::vector<Conflict> conflictsOf(const Parsing& model, TableKind kind) {
  TableSet tables(model);
  SearchBounds bounds;
  bounds.secondsPerConflict = 600;
  bounds.secondsPerTable = 6000;
  return explainConflicts(tables, kind, bounds);
}

TEST(ExplanationTextTest, TheDanglingElseReadsAsItShould) {
  Parsing model = modelOf({"I->S", "S->iEtS|iEtSlS|a", "E->b"});
  std::vector<Conflict> conflicts = conflictsOf(model, TableKind::kLALR);
  EXPECT_EQ(conflictsLines(model.typed, TableKind::kLALR, conflicts),
            (Lines{"LALR table: 1 conflicting cell.",
                   "",
                   "LALR table, state 7 under l: r1|s8 (shift/reduce)",
                   "  r1: The item S->iEtS°, $l is complete with l in its lookahead, so state 7 reduces by S->iEtS on l. "
                   "The lookahead l comes from LR(1) state 14.",
                   "  s8: State 7 holds S->iEtS°lS, $l with l after the dot, so it shifts l and goes to state 8.",
                   "  Shortest prefix to the state: iEtS",
                   "  SLR state 7 with the same items has the conflict under l too.",
                   "  LR1 state 14 with the same items has the conflict under l too.",
                   "  Counterexample (unifying, so the grammar is ambiguous): iEtiEtSlS has two derivation trees:",
                   "    With s8:      With r1:",
                   "      S             S",
                   "        i             i",
                   "        E             E",
                   "        t             t",
                   "        S             S",
                   "          i             i",
                   "          E             E",
                   "          t             t",
                   "          S             S",
                   "          l           l",
                   "          S           S",
                   "  A word on which the parser meets this conflict: ibtibtala"}));
}

TEST(ExplanationTextTest, NonUnifyingExamplesShowWhereTheParserStands) {
  Parsing model = exampleModel(8);
  std::vector<Conflict> conflicts = conflictsOf(model, TableKind::kSLR);
  Lines lines = conflictLines(model.typed, conflicts.at(0));
  EXPECT_EQ(Lines(lines.end() - 6, lines.end()),
            (Lines{"  Counterexample (non-unifying): after L, with = next, each entry has a derivation of its own:",
                   "    s7: L • =R", "      I => A => S => L=R", "    r6: L • (here = cannot come next)",
                   "      I => A => S => R => L",
                   "  No unifying counterexample can exist: the LR(1) table has no conflict, so the grammar is unambiguous."}));
  Parsing ab = modelOf({"S->ab"});
  Symbols form{ab.typed.symbolNamed("a"), ab.typed.symbolNamed("b")};
  EXPECT_EQ(withBullet(ab.typed, form, 0), "• ab");
  EXPECT_EQ(withBullet(ab.typed, form, 2), "ab •");
}

TEST(ExplanationJsonTest, TheFieldsAndTheTrees) {
  Parsing four = exampleModel(4), eight = exampleModel(8);
  nlohmann::json all = nlohmann::json::parse(conflictsJson(four.typed, conflictsOf(four, TableKind::kSLR)));
  ASSERT_EQ(all.size(), 1u);
  const nlohmann::json& c = all[0];
  for (const char* key : {"table", "row", "symbol", "cell", "kind", "entries", "prefix", "notes", "counterexample"})
    EXPECT_TRUE(c.contains(key)) << key;
  EXPECT_EQ(c["row"], "7");
  EXPECT_EQ(c["entries"][0]["action"], "s9");
  EXPECT_EQ(c["entries"][0]["items"][0], "Z->°cS");
  const nlohmann::json& ce = c["counterexample"];
  EXPECT_EQ(ce["unifying"], true);
  EXPECT_EQ(ce["actions"], nlohmann::json({"s9", "r4"}));
  // An empty production has an empty list of children, a leaf none.
  std::string tree = ce["trees"][1].dump();
  EXPECT_NE(tree.find(R"({"children":[],"symbol":"Z"})"), std::string::npos) << tree;
  EXPECT_NE(tree.find(R"({"symbol":"c"})"), std::string::npos) << tree;

  nlohmann::json none = nlohmann::json::parse(conflictsJson(eight.typed, conflictsOf(eight, TableKind::kSLR)));
  EXPECT_EQ(none[0]["counterexample"]["unifying"], false);
  EXPECT_EQ(none[0]["counterexample"]["found"], true);
  EXPECT_EQ(none[0]["counterexample"]["examples"][1]["symbolNext"], false);
}

TEST(ExplanationCellsTest, OneRowPerConflict) {
  Parsing model = exampleModel(10);
  Cells cells = conflictCells(model.typed, conflictsOf(model, TableKind::kLALR));
  ASSERT_EQ(cells.size(), 3u);
  EXPECT_EQ(cells[1][8], "non-unifying: ac • a");
  EXPECT_EQ(cells[1][5], "r5: The item A->c°, ba is complete with a in its lookahead, so state 6 reduces by A->c on a. "
                         "The lookahead a comes from LR(1) state 6.\nr6: The item B->c°, ab is complete with a in its "
                         "lookahead, so state 6 reduces by B->c on a. The lookahead a comes from LR(1) state 9.");
}

}  // namespace
