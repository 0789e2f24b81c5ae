#include <gtest/gtest.h>

#include "grammar/test_support.h"

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
