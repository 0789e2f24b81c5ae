#include "simulation/lr_evaluation.h"

#include <gtest/gtest.h>

#include "grammar/test_support.h"
#include "simulation/evaluations.h"
#include "tables/conflicts.h"

namespace {

using Cells = std::vector<std::vector<std::string>>;
using RowCells = std::vector<std::string>;

TEST(LREvaluationTest, ParenthesesWithTheSLRTable) {
  Parsing model = modelOf({"I->S", "S->(S)|x"});
  EXPECT_EQ(cells(lrEvaluation(model, "(x)", "SLR")), (Cells{{"", "Stack", "Input", "Action"},
                                                             {"1", "0", "(x)$", "Shift"},
                                                             {"2", "0 2 ", "x)$", "Shift"},
                                                             {"3", "0 2 3 ", ")$", "Reduce S->x"},
                                                             {"4", "0 2 4 ", ")$", "Shift"},
                                                             {"5", "0 2 4 5 ", "$", "Reduce S->(S)"},
                                                             {"6", "0 1 ", "$", "Accept"}}));
  EXPECT_EQ(cells(lrEvaluation(model, "x)", "SLR")), (Cells{{"", "Stack", "Input", "Action"},
                                                            {"1", "0", "x)$", "Shift"},
                                                            {"2", "0 3 ", ")$", "Reduce S->x"},
                                                            {"3", "0 1 ", ")$", "Error"}}));
}

TEST(LREvaluationTest, EmptyWordAndEmptyProductions) {
  Cells trace = cells(lrEvaluation(exampleModel(1), "", "LR1"));
  EXPECT_EQ(trace, (Cells{{"", "Stack", "Input", "Action"},
                          {"1", "0", "$", "Reduce A->e"},
                          {"2", "0 1 ", "$", "Accept"}}));
  EXPECT_EQ(cells(lrEvaluation(exampleModel(2), "", "SLR")).back()[3], "Error");
}

TEST(LREvaluationTest, CharactersOutsideTheGrammar) {
  Parsing model = modelOf({"I->S", "S->(S)|x"});
  EXPECT_EQ(cells(lrEvaluation(model, "(x )", "LALR")).back(), (RowCells{"3", "0 2 3 ", " )$", "Error"}));
  EXPECT_EQ(cells(lrEvaluation(model, "S", "LALR")).back(), (RowCells{"1", "0", "S$", "Error"}));
  EXPECT_EQ(cells(lrEvaluation(model, "(x", "LALR")).back(), (RowCells{"4", "0 2 4 ", "$", "Error"}));
  EXPECT_EQ(cells(lrEvaluation(model, "x$x", "LALR")).back(), (RowCells{"3", "0 1 ", "$x$", "Error"}));
}

// Reductions after the last shift are many when the word is long; they
// are a parse, not a loop.
TEST(LREvaluationTest, LongChainsOfReductionsEnd) {
  Parsing model = modelOf({"I->S", "S->aS|e"});
  std::string word(1500, 'a');
  Cells trace = cells(lrEvaluation(model, word.c_str(), "LR1"));
  EXPECT_EQ(trace.back()[3], "Accept");
  EXPECT_EQ(trace.size(), 1u + 1500 + 1 + 1500 + 1);
}

// Every example word: each table without conflicts accepts or rejects it as
// the grammar does, and the LR tables agree on every action and input.
TEST(EvaluationTest, ExampleWordsAgreeAcrossTables) {
  for (int number = 1; number <= kExampleCount; ++number) {
    SCOPED_TRACE(number);
    Parsing model = exampleModel(number);
    HString word = examples()[number - 1].word;
    std::string expected = number == 11 ? "Error" : "Accept";
    Cells reference;
    for (const char* kind : {"SLR", "LR1", "LALR"}) {
      if (countConflicts(model, kind) > 0) continue;
      Cells trace = cells(lrEvaluation(model, word, kind));
      EXPECT_EQ(trace.back()[3], expected) << kind;
      for (auto& row : trace) row[1] = "";
      if (reference.empty()) reference = trace;
      EXPECT_EQ(trace, reference) << kind;
    }
    if (countConflicts(model, "LL1") == 0) {
      EXPECT_EQ(cells(model.ll1Evaluation(word)).back()[3], expected);
    }
  }
}

}  // namespace

namespace {

TEST(LREvaluationTest, TokenWordsWithEveryLRTable) {
  Parsing model = modelOfText(kTokenExpressions);
  for (TableKind kind : {TableKind::kSLR, TableKind::kLR1, TableKind::kLALR}) {
    Evaluation parsed = evaluation(model, kind, "id + num * ( id )");
    ASSERT_FALSE(parsed.refused()) << tableName(kind);
    EXPECT_TRUE(parsed.accepted()) << tableName(kind);
    EXPECT_TRUE(parsed.steps->accepted());
    Cells trace = cells(parsed.trace);
    EXPECT_EQ(trace[1], (RowCells{"1", "0", "id + num * ( id ) $", "Shift"}));
    EXPECT_EQ(trace[2][2], "+ num * ( id ) $");
    EXPECT_EQ(trace[2][3], "Reduce F -> id");
    EXPECT_EQ(trace.back()[2], "$");

    Cells rejected = cells(evaluation(model, kind, "id id").trace);
    EXPECT_EQ(rejected.back()[2], "id $") << tableName(kind);
    EXPECT_EQ(rejected.back()[3], "Error");
  }
}

TEST(LREvaluationTest, TokensTheGrammarLacksStopTheParseWhereTheyStand) {
  Parsing model = modelOfText(kTokenExpressions);
  Evaluation parsed = evaluation(model, TableKind::kLALR, "id + x * id");
  ASSERT_TRUE(parsed.steps);
  const LRParse& steps = parsed.steps->lr;
  EXPECT_FALSE(steps.accepted());
  EXPECT_EQ(steps.steps.back().position, 2);
  EXPECT_EQ(steps.steps.back().column, -1);
  EXPECT_EQ(cells(parsed.trace).back()[2], "x * id $");
  // A non-terminal's name is no token of a word either.
  EXPECT_EQ(cells(evaluation(model, TableKind::kLALR, "E").trace).back(), (RowCells{"1", "0", "E $", "Error"}));
}

TEST(LREvaluationTest, ChainOfMoreNonTerminalsThanLetters) {
  Parsing model = modelOfText(tokenChain(40));
  std::string word = "z";
  for (int i = 39; i >= 0; --i) word += " x" + std::to_string(i);
  EXPECT_TRUE(evaluation(model, TableKind::kLR1, word.c_str()).accepted());
  EXPECT_TRUE(evaluation(model, TableKind::kLALR, word.c_str()).accepted());
}

// Steps keep their stacks as nodes of one tree of pushes: a stack met again
// is the node met before, so the nodes never outnumber the steps.
TEST(LREvaluationTest, StepsShareTheirStacks) {
  Parsing model = modelOf({"I->S", "S->aS|b"});
  std::string word(3000, 'a');
  word += 'b';
  Evaluation parsed = evaluation(model, TableKind::kSLR, word.c_str());
  ASSERT_TRUE(parsed.accepted());
  const LRParse& steps = parsed.steps->lr;
  EXPECT_LE(steps.nodes.size(), steps.steps.size() + 1);
  EXPECT_EQ(steps.nodes[static_cast<size_t>(steps.steps[3000].stack)].height, 3001);
  Cells trace = cells(parsed.trace);
  EXPECT_EQ(trace[3].size(), 4u);
  EXPECT_EQ(trace[3][1], "0 2 2 ");
}

}  // namespace
