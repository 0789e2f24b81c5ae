#include <gtest/gtest.h>

#include "grammar/test_support.h"
#include "grammar/text_reading.h"
#include "tables/conflicts.h"
#include "tables/ll1_table.h"

namespace {

using Cells = std::vector<std::vector<std::string>>;

TEST(LL1TableTest, ExampleTwo) {
  EXPECT_EQ(cells(exampleModel(2).ll1Table()),
            (Cells{{"", "(", ")", "*", "+", "i", "$"},
                   {"I", "I->E", "", "", "", "I->E", ""},
                   {"E", "E->TG", "", "", "", "E->TG", ""},
                   {"G", "", "G->e", "", "G->+TG", "", "G->e"},
                   {"T", "T->FH", "", "", "", "T->FH", ""},
                   {"H", "", "H->e", "H->*FH", "H->e", "", "H->e"},
                   {"F", "F->(E)", "", "", "", "F->i", ""}}));
}

TEST(LL1TableTest, ExampleOne) {
  EXPECT_EQ(cells(exampleModel(1).ll1Table()),
            (Cells{{"", "x", "$"}, {"I", "I->A", "I->A"}, {"A", "A->x", "A->e"}}));
}

TEST(LL1TableTest, OnlyTheEndMarkerColumn) {
  EXPECT_EQ(cells(modelOf({"S->A", "A->e"}).ll1Table()), (Cells{{"", "$"}, {"S", "S->A"}, {"A", "A->e"}}));
}

TEST(LL1TableTest, ConflictsJoinTheirProductions) {
  Cells five = cells(exampleModel(5).ll1Table());
  EXPECT_EQ(five[0], (std::vector<std::string>{"", "a", "b", "c", "d", "z", "$"}));
  EXPECT_EQ(five[3][2], "A->Abc|b");
  EXPECT_EQ(five[4], (std::vector<std::string>{"B", "", "", "", "B->d", "", ""}));
  Cells four = cells(exampleModel(4).ll1Table());
  // columns: "", a, b, c, i, t, $
  EXPECT_EQ(four[3][3], "Z->cS|e");
  EXPECT_EQ(four[3][6], "Z->e");
}

TEST(LL1TableTest, OneProductionPlacedTwice) {
  Cells table = cells(modelOf({"S->Ab", "A->B", "B->b|e"}).ll1Table());
  EXPECT_EQ(table[0], (std::vector<std::string>{"", "b", "$"}));
  EXPECT_EQ(table[2][1], "A->B|B");
  EXPECT_EQ(table[3][1], "B->b|e");
}

TEST(LL1TableTest, ColumnsFollowCharacterCodes) {
  Cells table = cells(modelOf({"S->+|*|(|)|i"}).ll1Table());
  EXPECT_EQ(table[0], (std::vector<std::string>{"", "(", ")", "*", "+", "i", "$"}));
}

}  // namespace

namespace {

using Cells = std::vector<std::vector<std::string>>;

Grammar tokenGrammar(const char* text) {
  GrammarTextReading reading = readGrammarText(text);
  EXPECT_TRUE(reading.isSound()) << reading.messages;
  return reading.grammar;
}

TEST(LL1TableTest, TokenGrammarColumnsAreItsTokensInTheOrderMet) {
  Grammar g = tokenGrammar("#notation: tokens\nE -> T E'\nE' -> + T E' | \xCE\xB5\nT -> ( E ) | id\n");
  LL1Table table = ll1ParseTable(g);
  EXPECT_EQ(table.conflicts(), 0);
  EXPECT_EQ(cells(ll1TableText(g, table)),
            (Cells{{"", "+", "(", ")", "id", "$"},
                   {"E", "", "E -> T E'", "", "E -> T E'", ""},
                   {"E'", "E' -> + T E'", "", "E' -> \xCE\xB5", "", "E' -> \xCE\xB5"},
                   {"T", "", "T -> ( E )", "", "T -> id", ""}}));
}

TEST(LL1TableTest, ConflictsAreCellsOfSeveralProductions) {
  Grammar g = tokenGrammar("#notation: tokens\nS -> if S | if S else S | other\n");
  LL1Table table = ll1ParseTable(g);
  EXPECT_EQ(table.conflicts(), 1);
  EXPECT_EQ(table.cell(g.symbolNamed("S"), table.column(g.symbolNamed("if"))), (std::vector<int>{0, 1}));
  EXPECT_EQ(cells(ll1TableText(g, table))[1][1], "S -> if S | if S else S");
  EXPECT_EQ(ll1ParseTable(exampleModel(5).typed).conflicts(), countConflicts(exampleModel(5).ll1Table()));
}

}  // namespace
