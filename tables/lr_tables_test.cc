#include "tables/lr_tables.h"

#include <gtest/gtest.h>

#include "tables/table_kinds.h"
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
  ActionCell cell{{ActionKind::kReduce, 12}};
  placeAction(cell, {ActionKind::kReduce, 1});
  placeAction(cell, {ActionKind::kReduce, 1});
  placeAction(cell, {ActionKind::kReduce, 12});
  EXPECT_EQ(cell, (ActionCell{{ActionKind::kReduce, 12}, {ActionKind::kReduce, 1}}));
  EXPECT_EQ(ActionTexts().cell(cell), HString("r12|r1"));
  ActionCell empty;
  placeAction(empty, {ActionKind::kShift, 3});
  EXPECT_EQ(ActionTexts().cell(empty), HString("s3"));
  LRTable table;
  table.columns = {0, 1};
  table.addRow({cell, empty});
  table.addRow({{}, {}});
  EXPECT_EQ(table.states(), 2);
  EXPECT_EQ(table.conflicts(), 1);
  EXPECT_EQ(table.cell(0, 1).front(), (Action{ActionKind::kShift, 3}));
  EXPECT_TRUE(table.cell(1, 0).empty());
}

}  // namespace

namespace {

TEST(LRTablesTest, TokenGrammarColumnsAreNamedByTokens) {
  Parsing model = modelOfText(kTokenExpressions);
  ParseTable lr1 = parseTable(model, TableKind::kLR1);
  EXPECT_EQ(lr1.conflicts(), 0);
  Cells text = cells(tableText(model, lr1));
  // E -> E + T does not augment the grammar, so the analyses add E' -> E
  // as production 0; its head's column stays empty, as a start rule's does.
  EXPECT_EQ(text[0], (std::vector<std::string>{"", "+", "*", "(", ")", "id", "num", "$", "E'", "E", "T", "F"}));
  EXPECT_EQ(text[1], (std::vector<std::string>{"0", "", "", "s4", "", "s5", "s6", "", "", "1", "2", "3"}));
  // The typed cell and its text agree.
  int shifts = 0;
  for (int state = 0; state < lr1.lr.states(); ++state)
    for (int column = 0; column < static_cast<int>(lr1.lr.columns.size()); ++column) {
      std::span<const Action> cell = lr1.lr.cell(state, column);
      shifts += !cell.empty() && cell.front().kind == ActionKind::kShift;
    }
  int texts = 0;
  for (size_t r = 1; r < text.size(); ++r)
    for (const std::string& cell : text[r]) texts += cell.starts_with("s");
  EXPECT_EQ(shifts, texts);
}

TEST(LRTablesTest, MoreNonTerminalsThanLetters) {
  Parsing model = modelOfText(tokenChain(40));
  ASSERT_EQ(model.typed.nonTerminals().size(), 42u);  // with the start rule the analyses add
  for (TableKind kind : {TableKind::kLR1, TableKind::kLALR}) {
    ParseTable built = parseTable(model, kind);
    EXPECT_EQ(built.conflicts(), 0) << tableName(kind);
    Cells text = cells(tableText(model, built));
    ASSERT_EQ(text[0].size(), 1u + 42 + 1 + 42) << tableName(kind);
    EXPECT_EQ(text[0][1], "x0");
    EXPECT_EQ(text[0].back(), "N40");
  }
  EXPECT_EQ(parseTable(model, TableKind::kLR1).lr.states(), parseTable(model, TableKind::kLALR).lr.states());
}

}  // namespace
