#include "simulation/evaluations.h"

#include <gtest/gtest.h>

#include "automata/automaton.h"
#include "grammar/test_support.h"
#include "tables/conflicts.h"
#include "tables/lr_tables.h"

namespace {

using Cells = std::vector<std::vector<std::string>>;

// LALR state 5 merges LR(1) states whose items come in another order than
// the LR(0) state's, and reduces by productions 4 and 7 on a, b and $.  On
// the LR(0) states the cell would read r7|r4; the table shown is the merged
// collection's, and so is its count.
TEST(LalrRouteTest, ConflictsInTheOrderOfTheMergedCollection) {
  Parsing model = modelOf({"I->A|Ab", "A->AB|ay|a", "B->AAI|AA|a"});
  Cells onLR0 = cells(lookaheadTableOf(model, buildLalrAutomaton(model)));
  EXPECT_EQ(onLR0[6][1], "r7|r4");
  Cells layer = cells(table(model, TableKind::kLALR));
  EXPECT_EQ(layer, cells(lalrTable(model)));
  EXPECT_EQ(layer[6][1], "r4|r7");
  EXPECT_EQ(conflictCount(model, TableKind::kLALR), countConflicts(lalrTable(model)));
  EXPECT_EQ(conflictCount(model, TableKind::kLALR), 7);
  EXPECT_TRUE(evaluation(model, TableKind::kLALR, "a").refused());
}

// Without conflicts the evaluation parses with the table of the LR(0)
// states, which has the bytes of the merged one.
TEST(LalrRouteTest, ConflictFreeTablesFromTheLR0States) {
  Parsing model = exampleModel(8);
  EXPECT_EQ(cells(table(model, TableKind::kLALR)), cells(lalrTable(model)));
  Evaluation parsed = evaluation(model, TableKind::kLALR, "i=i");
  EXPECT_EQ(parsed.conflicts, 0);
  EXPECT_TRUE(parsed.accepted());
  EXPECT_EQ(cells(parsed.trace), cells(lrEvaluation(model, "i=i", "LALR")));
}

// The window marks the last row of a trace by how the parse ended, so the
// outcome must agree with that row for every kind, and a refused
// evaluation has none.
TEST(EvaluationOutcomeTest, TheLastRowTellsTheOutcome) {
  Parsing model = modelOf({"Z->S", "S->aSb|e"});
  for (TableKind kind : {TableKind::kLL1, TableKind::kSLR, TableKind::kLR1, TableKind::kLALR}) {
    Evaluation accepted = evaluation(model, kind, "aabb");
    EXPECT_EQ(accepted.outcome(), ParseOutcome::kAccepted);
    EXPECT_EQ(std::string(accepted.trace.getLast().getLast().view()), "Accept");
    Evaluation rejected = evaluation(model, kind, "aab");
    EXPECT_EQ(rejected.outcome(), ParseOutcome::kRejected);
    EXPECT_EQ(std::string(rejected.trace.getLast().getLast().view()), "Error");
  }
  Parsing ambiguous = modelOf({"Z->E", "E->E+E|i"});
  EXPECT_EQ(evaluation(ambiguous, TableKind::kSLR, "i+i+i").outcome(), ParseOutcome::kUnfinished);
}

}  // namespace
