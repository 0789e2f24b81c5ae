#include "tables/lr_tables.h"

#include <gtest/gtest.h>

#include "grammar/test_support.h"

namespace {

using Cells = std::vector<std::vector<std::string>>;

const Cells kParenthesesSLR = {{"", "(", ")", "x", "$", "I", "S"}, {"0", "s2", "", "s3", "", "", "1"},
                               {"1", "", "", "", "a", "", ""},     {"2", "s2", "", "s3", "", "", "4"},
                               {"3", "", "r2", "", "r2", "", ""},  {"4", "", "s5", "", "", "", ""},
                               {"5", "", "r1", "", "r1", "", ""}};

TEST(LRTablesTest, Parentheses) {
  Parsing model = modelOf({"I->S", "S->(S)|x"});
  EXPECT_EQ(cells(slrTable(model)), kParenthesesSLR);
  EXPECT_EQ(cells(lalrTable(model)), kParenthesesSLR);
  EXPECT_EQ(cells(lr1Table(model)),
            (Cells{{"", "(", ")", "x", "$", "I", "S"},
                   {"0", "s2", "", "s3", "", "", "1"},
                   {"1", "", "", "", "a", "", ""},
                   {"2", "s5", "", "s6", "", "", "4"},
                   {"3", "", "", "", "r2", "", ""},
                   {"4", "", "s7", "", "", "", ""},
                   {"5", "s5", "", "s6", "", "", "8"},
                   {"6", "", "r2", "", "", "", ""},
                   {"7", "", "", "", "r1", "", ""},
                   {"8", "", "s9", "", "", "", ""},
                   {"9", "", "r1", "", "", "", ""}}));
}

TEST(LRTablesTest, ShiftReduceConflictKeepsItemOrder) {
  Cells table = cells(slrTable(exampleModel(4)));
  // columns: "", a, b, c, e, i, t, $, I, S, Z, E
  EXPECT_EQ(table[0], (std::vector<std::string>{"", "a", "b", "c", "e", "i", "t", "$", "I", "S", "Z", "E"}));
  EXPECT_EQ(table[8][3], "s9|r4");
  for (size_t s = 1; s < table.size(); ++s) EXPECT_EQ(table[s][4], "") << "state " << s - 1;
}

TEST(LRTablesTest, AcceptIsPlacedLikeEveryAction) {
  Parsing model = modelOf({"I->S", "S->A", "A->S|x"});
  Cells table = cells(slrTable(model));
  EXPECT_EQ(table[0][2], "$");
  EXPECT_EQ(table[2][2], "a|r2");
  EXPECT_EQ(cells(lr1Table(model))[2][2], "a|r2");
}

TEST(LRTablesTest, ReduceReduceConflictInTheMergedState) {
  Parsing model = exampleModel(10);
  Cells lalr = cells(lalrTable(model));
  int joined = 0;
  for (const auto& row : lalr)
    for (const std::string& cell : row)
      if (cell.find('|') != std::string::npos) {
        EXPECT_EQ(cell[0], 'r') << cell;
        ++joined;
      }
  EXPECT_EQ(joined, 2);
  EXPECT_EQ(lalr.size(), cells(slrTable(model)).size());
  EXPECT_GT(cells(lr1Table(model)).size(), lalr.size());
}

TEST(LRTablesTest, PlaceActionComparesWholeEntries) {
  HString cell("r12");
  placeAction(cell, "r1");
  EXPECT_EQ(std::string(cell.view()), "r12|r1");
  placeAction(cell, "r1");
  placeAction(cell, "r12");
  EXPECT_EQ(std::string(cell.view()), "r12|r1");
  HString empty;
  placeAction(empty, "s3");
  EXPECT_EQ(std::string(empty.view()), "s3");
}

}  // namespace
