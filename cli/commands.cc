#include "cli/commands.h"

#include "automata/lalr.h"
#include "grammar/first.h"
#include "grammar/follow.h"
#include "grammar/reading.h"
#include "simulation/lr_evaluation.h"
#include "tables/arcs.h"
#include "tables/conflicts.h"
#include "tables/lr_tables.h"

namespace {

// The library's texts are bytes: what the user typed is UTF-8 already, the
// dot marker of the items is a Windows-1252 byte.
Lines linesOf(const Row& row) {
  Lines lines;
  for (const HString& text : row) lines.push_back(utf8ForDisplay(text.view()));
  return lines;
}

Cells cellsOf(const Table& table) {
  Cells cells;
  for (const Row& row : table) cells.push_back(linesOf(row));
  return cells;
}

Lines concatenated(Lines first, const Lines& second) {
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

// The library's name of the table an evaluation or table command uses.
const char* tableKindOf(std::string_view name) {
  if (name.starts_with("ll1-")) return "LL1";
  if (name.starts_with("slr-")) return "SLR";
  if (name.starts_with("lr1-")) return "LR1";
  if (name.starts_with("lalr-")) return "LALR";
  return "";
}

Outcome listing(Lines lines) {
  Outcome outcome;
  outcome.listing = std::move(lines);
  return outcome;
}

Outcome table(const Table& table) {
  Outcome outcome;
  outcome.table = cellsOf(table);
  return outcome;
}

Outcome evaluation(const Parsing& model, std::string_view name, const std::string& word) {
  const char* kind = tableKindOf(name);
  Outcome outcome;
  // The window refuses to parse with a table that holds a choice.
  if (int conflicts = countConflicts(model, kind); conflicts > 0) {
    outcome.diagnostics.push_back(utf8ForDisplay(conflictMessage(conflicts).view()));
    outcome.status = kExitConflict;
    return outcome;
  }
  HString text(word.data(), static_cast<int>(word.size()));
  Table trace = std::string_view(kind) == "LL1" ? model.ll1Evaluation(text) : lrEvaluation(model, text, kind);
  outcome.table = cellsOf(trace);
  // Every trace ends with the step that accepted or gave up.
  const Cells& rows = *outcome.table;
  bool accepted = rows.size() > 1 && !rows.back().empty() && rows.back().back() == "Accept";
  outcome.status = accepted ? kExitOk : kExitRejected;
  return outcome;
}

}  // namespace

const std::vector<CommandInfo>& commandInfos() {
  static const std::vector<CommandInfo> kCommands = {
      {"check", "read and validate the grammar; list its productions"},
      {"first", "the First set of every non-terminal"},
      {"follow", "the Follow set of every non-terminal"},
      {"lr0-items", "the LR(0) item sets with their arcs"},
      {"lr1-items", "the LR(1) item sets with their arcs"},
      {"lalr-items", "the LALR item sets with their arcs, then the LR(1) similar-state table"},
      {"ll1-table", "the LL(1) table"},
      {"slr-table", "the SLR table"},
      {"lr1-table", "the canonical LR(1) table"},
      {"lalr-table", "the LALR table"},
      {"ll1-eval", "parse the word step by step with the LL(1) table"},
      {"slr-eval", "parse the word step by step with the SLR table"},
      {"lr1-eval", "parse the word step by step with the LR(1) table"},
      {"lalr-eval", "parse the word step by step with the LALR table"},
  };
  return kCommands;
}

bool isCommand(std::string_view name) {
  for (const auto& command : commandInfos())
    if (command.name == name) return true;
  return false;
}

Outcome runCommand(std::string_view name, const HString& grammarText, const std::string& word) {
  GrammarReading reading = readGrammar(grammarText);
  if (!reading.isSound()) {
    Outcome outcome;
    outcome.diagnostics = linesOf(reading.messages);
    outcome.status = kExitGrammar;
    return outcome;
  }
  Parsing model;
  model.loadRules(reading.lines);

  if (name == "check") return listing(linesOf(model.productions));
  if (name == "first") return listing(linesOf(firstListing(model)));
  if (name == "follow") return listing(linesOf(followListing(model, model.follow())));
  if (name == "lr0-items") return listing(linesOf(lr0ItemsWithArcs(model)));
  if (name == "lr1-items") return listing(linesOf(lr1ItemsWithArcs(model)));
  if (name == "lalr-items")
    return listing(concatenated(linesOf(lalrItemsWithArcs(model)), linesOf(similarStateTable(similarStates(model)))));
  if (name.ends_with("-table")) return table(tableOfKind(model, tableKindOf(name)));
  return evaluation(model, name, word);
}
