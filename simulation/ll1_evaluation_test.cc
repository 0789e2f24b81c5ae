#include <gtest/gtest.h>

#include "grammar/test_support.h"
#include "grammar/text_reading.h"
#include "simulation/ll1_evaluation.h"

namespace {

using Cells = std::vector<std::vector<std::string>>;
using RowCells = std::vector<std::string>;

TEST(LL1EvaluationTest, ExampleTwoWithItsWord) {
  Cells trace = cells(exampleModel(2).ll1Evaluation("i+(i*i)*i"));
  ASSERT_EQ(trace.size(), 30u);
  EXPECT_EQ(trace[0], (RowCells{"", "Stack", "Input", "Action"}));
  Cells first(trace.begin() + 1, trace.begin() + 9);
  EXPECT_EQ(first, (Cells{{"1", "$ I ", "i+(i*i)*i$", "I->E"},
                          {"2", "$ E ", "i+(i*i)*i$", "E->TG"},
                          {"3", "$ G T ", "i+(i*i)*i$", "T->FH"},
                          {"4", "$ G H F ", "i+(i*i)*i$", "F->i"},
                          {"5", "$ G H i ", "i+(i*i)*i$", ""},
                          {"6", "$ G H ", "+(i*i)*i$", "H->e"},
                          {"7", "$ G ", "+(i*i)*i$", "G->+TG"},
                          {"8", "$ G T + ", "+(i*i)*i$", ""}}));
  Cells last(trace.end() - 3, trace.end());
  EXPECT_EQ(last, (Cells{{"27", "$ G H ", "$", "H->e"}, {"28", "$ G ", "$", "G->e"}, {"29", "$ ", "$", "Accept"}}));
}

TEST(LL1EvaluationTest, EmptyWords) {
  EXPECT_EQ(cells(exampleModel(2).ll1Evaluation("")),
            (Cells{{"", "Stack", "Input", "Action"}, {"1", "$ I ", "$", "Error"}}));
  EXPECT_EQ(cells(exampleModel(1).ll1Evaluation("")),
            (Cells{{"", "Stack", "Input", "Action"},
                   {"1", "$ I ", "$", "I->A"},
                   {"2", "$ A ", "$", "A->e"},
                   {"3", "$ ", "$", "Accept"}}));
}

TEST(LL1EvaluationTest, ForeignCharactersAreErrors) {
  Cells blank = cells(exampleModel(2).ll1Evaluation("i +i"));
  EXPECT_EQ(blank.back(), (RowCells{"6", "$ G H ", " +i$", "Error"}));
  Cells terminal = cells(exampleModel(1).ll1Evaluation("y"));
  EXPECT_EQ(terminal.back(), (RowCells{"1", "$ I ", "y$", "Error"}));
}

// The end marker inside a word is no end: the rest was never read.
TEST(LL1EvaluationTest, AcceptsOnlyTheWholeWord) {
  Cells trace = cells(exampleModel(1).ll1Evaluation("x$x"));
  EXPECT_EQ(trace.back(), (RowCells{"4", "$ ", "$x$", "Error"}));
  EXPECT_EQ(cells(exampleModel(1).ll1Evaluation("x")).back(), (RowCells{"4", "$ ", "$", "Accept"}));
}

TEST(LL1EvaluationTest, LongWordsAreParsedToTheEnd) {
  Parsing model = modelOf({"I->S", "S->aS|e"});
  std::string word(2000, 'a');
  Cells trace = cells(model.ll1Evaluation(word.c_str()));
  EXPECT_EQ(trace.back()[3], "Accept");
  EXPECT_EQ(trace.size(), 1u + 1 + 2 * 2000 + 2);
}

}  // namespace

namespace {

using Cells = std::vector<std::vector<std::string>>;
using RowCells = std::vector<std::string>;

LL1Parse tokenParse(const std::string& word, Cells* text) {
  GrammarTextReading reading = readGrammarText("#notation: tokens\nE -> T E'\nE' -> + T E' | \xCE\xB5\nT -> ( E ) | id\n");
  EXPECT_TRUE(reading.isSound()) << reading.messages;
  LL1Table table = ll1ParseTable(reading.grammar);
  LL1Parse parse = ll1Parse(reading.grammar, table, word);
  *text = cells(ll1TraceText(reading.grammar, table, parse));
  return parse;
}

TEST(LL1EvaluationTest, TokenWordsAreParsedTokenByToken) {
  Cells trace;
  LL1Parse parse = tokenParse("id + ( id )", &trace);
  EXPECT_TRUE(parse.accepted());
  EXPECT_EQ(trace[1], (RowCells{"1", "$ E ", "id + ( id ) $", "E -> T E'"}));
  EXPECT_EQ(trace[2], (RowCells{"2", "$ E' T ", "id + ( id ) $", "T -> id"}));
  EXPECT_EQ(trace[3], (RowCells{"3", "$ E' id ", "id + ( id ) $", ""}));
  EXPECT_EQ(trace[4], (RowCells{"4", "$ E' ", "+ ( id ) $", "E' -> + T E'"}));
  EXPECT_EQ(trace.back(), (RowCells{std::to_string(trace.size() - 1), "$ ", "$", "Accept"}));
  EXPECT_EQ(parse.steps[3].move, LL1Move::kExpand);
  EXPECT_EQ(parse.steps[2].move, LL1Move::kMatch);
}

// A token the grammar does not know stops the parse where it stands.
TEST(LL1EvaluationTest, UnknownTokensAreErrorsAtTheirPosition) {
  Cells trace;
  LL1Parse parse = tokenParse("id + x", &trace);
  EXPECT_FALSE(parse.accepted());
  EXPECT_EQ(parse.steps.back().position, 2);
  EXPECT_EQ(trace.back()[2], "x $");
  EXPECT_EQ(trace.back()[3], "Error");
  tokenParse("E", &trace);
  EXPECT_EQ(trace.back(), (RowCells{"1", "$ E ", "E $", "Error"}));
}

}  // namespace
