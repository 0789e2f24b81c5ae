#include "commands/registry.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "grammar/test_support.h"

namespace {

std::vector<std::string> texts(const Row& row) {
  std::vector<std::string> out;
  for (const HString& line : row) out.emplace_back(line.getString());
  return out;
}

TEST(RegistryTest, NamesAndCaptionsAreEachOnce) {
  std::set<std::string_view> names, captions;
  for (const CommandInfo& command : commandRegistry()) {
    EXPECT_TRUE(names.insert(command.name).second) << command.name;
    if (!command.caption.empty()) {
      EXPECT_TRUE(captions.insert(command.caption).second) << command.caption;
    }
    EXPECT_EQ(commandNamed(command.name), &command);
  }
  EXPECT_EQ(commandNamed("slr-evaluation"), nullptr);
  EXPECT_EQ(commandCaptioned(""), nullptr);
}

// Every table kind has its table and its evaluation, each with a button.
TEST(RegistryTest, EveryTableKindHasATableAndAnEvaluation) {
  for (TableKind kind : kTableKinds)
    for (CommandKind what : {CommandKind::kTable, CommandKind::kEvaluation}) {
      int found = 0;
      for (const CommandInfo& command : commandsOfKind({what}))
        if (command.table == kind) {
          ++found;
          EXPECT_FALSE(command.caption.empty()) << command.name;
        }
      EXPECT_EQ(found, 1) << tableName(kind);
    }
  EXPECT_EQ(evaluationCommand(TableKind::kLR1).name, "lr1-eval");
  EXPECT_EQ(commandCaptioned("LALR Evaluate")->table, TableKind::kLALR);
}

TEST(RegistryTest, AnalysesAreTheCommandsComputedOnTheLoadedGrammar) {
  for (const CommandInfo& command : commandRegistry()) {
    bool analysis = command.kind == CommandKind::kCheck || command.kind == CommandKind::kListing ||
                    command.kind == CommandKind::kTable || command.kind == CommandKind::kEvaluation;
    EXPECT_EQ(isAnalysis(command), analysis) << command.name;
    // Only the analyses have buttons on the form.
    if (!analysis) {
      EXPECT_TRUE(command.caption.empty()) << command.name;
    }
  }
}

// The dispatch follows the record's enums: the same results as asking the
// command layer directly.
TEST(RegistryTest, ComputesWhatItsRecordNames) {
  Parsing model = modelOf({"I->S", "S->aSb|e"});
  CommandResult items = computeCommand(*commandNamed("lalr-items"), model, "");
  EXPECT_FALSE(items.isTable);
  EXPECT_EQ(texts(items.listing), texts(listing(model, ListingKind::kLalrItems).lines));
  EXPECT_GT(items.similarTable.getCount(), 0);

  CommandResult slr = computeCommand(*commandCaptioned("SLR Table"), model, "");
  EXPECT_TRUE(slr.isTable);
  EXPECT_EQ(cells(slr.table), cells(table(model, TableKind::kSLR)));

  CommandResult parsed = computeCommand(*commandNamed("ll1-eval"), model, "aabb");
  EXPECT_TRUE(parsed.isTable);
  EXPECT_EQ(cells(parsed.table).back().back(), "Accept");
}

TEST(RegistryTest, ARefusedEvaluationGivesItsConflicts) {
  Parsing model = modelOf({"S->aS|a"});
  CommandResult refused = computeCommand(*commandNamed("ll1-eval"), model, "a");
  EXPECT_FALSE(refused.isTable);
  EXPECT_EQ(refused.conflicts, 1);
  EXPECT_EQ(refused.table.getCount(), 0);
}

}  // namespace
