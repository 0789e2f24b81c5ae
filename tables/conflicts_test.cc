#include "tables/table_kinds.h"
#include "tables/conflicts.h"

#include <gtest/gtest.h>

#include "grammar/test_support.h"

namespace {

TEST(ConflictsTest, CountsOfTheExamples) {
  Parsing eight = exampleModel(8);
  EXPECT_EQ(countConflicts(eight, "SLR"), 1);
  EXPECT_EQ(countConflicts(eight, "LR1"), 0);
  EXPECT_EQ(countConflicts(eight, "LALR"), 0);
  Parsing ten = exampleModel(10);
  EXPECT_EQ(countConflicts(ten, "SLR"), 2);
  EXPECT_EQ(countConflicts(ten, "LR1"), 0);
  EXPECT_EQ(countConflicts(ten, "LALR"), 2);
  EXPECT_EQ(countConflicts(exampleModel(2), "LL1"), 0);
  EXPECT_EQ(countConflicts(exampleModel(4), "LL1"), 1);
}

TEST(ConflictsTest, ACellCountsOnceAndLabelsNever) {
  Table table;
  table.insertTail(rowOf({"", "a|b", "$"}));
  table.insertTail(rowOf({"0|1", "s1|r2|r3", "r1|r2"}));
  table.insertTail(rowOf({"1", "", "s2"}));
  EXPECT_EQ(countConflicts(table), 2);
}

TEST(ConflictsTest, Message) {
  EXPECT_EQ(std::string(conflictMessage(2).view()), "This Table Contain 2 Conflict");
  EXPECT_EQ(std::string(conflictMessage(1).view()), "This Table Contain 1 Conflict");
}

}  // namespace

namespace {

TEST(ConflictsTest, CountedFromTypedCells) {
  Parsing model = modelOfText("#notation: tokens\nP -> S\nS -> if S | if S else S | other\n");
  for (TableKind kind : kTableKinds) {
    ParseTable built = parseTable(model, kind);
    EXPECT_EQ(built.conflicts(), countConflicts(tableText(model, built))) << tableName(kind);
    EXPECT_EQ(conflictCount(model, kind), built.conflicts()) << tableName(kind);
  }
  EXPECT_EQ(conflictCount(model, TableKind::kSLR), 1);
  EXPECT_EQ(conflictCount(model, TableKind::kLL1), 1);
  for (int k = 1; k <= kExampleCount; ++k)
    for (TableKind kind : kTableKinds)
      EXPECT_EQ(conflictCount(exampleModel(k), kind), countConflicts(table(exampleModel(k), kind))) << k;
}

}  // namespace

// The window marks conflicts where the typed cells hold several entries;
// those must be the very cells the text joins with a bar, in both notations.
TEST(ConflictPlaces, AreTheCellsTheTextJoinsWithABar) {
  std::vector<Parsing> models;
  for (int number = 1; number <= 12; ++number) models.push_back(exampleModel(number));
  models.push_back(modelOfText("#notation: tokens\nS -> if c then S | if c then S else S | other\n"));
  for (const Parsing& model : models)
    for (TableKind kind : kTableKinds) {
      ParseTable typed = parseTable(model, kind);
      std::vector<std::vector<std::string>> text = cells(tableText(model, typed));
      std::vector<CellPlace> barred;
      for (size_t row = 1; row < text.size(); ++row)
        for (size_t column = 1; column < text[row].size(); ++column)
          if (text[row][column].find('|') != std::string::npos)
            barred.push_back({static_cast<int>(row), static_cast<int>(column)});
      EXPECT_EQ(conflictPlaces(model.typed, typed), barred) << tableName(kind);
      EXPECT_EQ(static_cast<int>(barred.size()), typed.conflicts()) << tableName(kind);
    }
}
