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

// The library's name of the table an evaluation or table command uses.
const char* tableKindOf(std::string_view name) {
  if (name.starts_with("ll1-")) return "LL1";
  if (name.starts_with("slr-")) return "SLR";
  if (name.starts_with("lr1-")) return "LR1";
  if (name.starts_with("lalr-")) return "LALR";
  return "";
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

Result computeCommand(std::string_view name, const Parsing& model, const HString& word) {
  Result result;
  const char* kind = tableKindOf(name);
  if (name == "first") {
    result.listing = firstListing(model);
  } else if (name == "follow") {
    result.listing = followListing(model, model.follow());
  } else if (name == "lr0-items") {
    result.listing = lr0ItemsWithArcs(model);
  } else if (name == "lr1-items") {
    result.listing = lr1ItemsWithArcs(model);
  } else if (name == "lalr-items") {
    result.listing = lalrItemsWithArcs(model);
    for (const HString& line : similarStateTable(similarStates(model))) result.listing.insertTail(line);
  } else if (name.ends_with("-table")) {
    result.isTable = true;
    result.table = tableOfKind(model, kind);
  } else if ((result.conflicts = countConflicts(model, kind)) == 0) {
    // The window refuses to parse with a table that holds a choice.
    result.isTable = true;
    result.table = std::string_view(kind) == "LL1" ? model.ll1Evaluation(word) : lrEvaluation(model, word, kind);
  }
  return result;
}

Outcome runCommand(std::string_view name, const HString& grammarText, const std::string& word) {
  GrammarReading reading = readGrammar(grammarText);
  Outcome outcome;
  if (!reading.isSound()) {
    outcome.diagnostics = linesOf(reading.messages);
    outcome.status = kExitGrammar;
    return outcome;
  }
  Parsing model;
  model.loadRules(reading.lines);
  if (name == "check") {
    outcome.listing = linesOf(model.productions);
    return outcome;
  }
  Result result = computeCommand(name, model, HString(word.data(), static_cast<int>(word.size())));
  if (result.conflicts > 0) {
    outcome.diagnostics.push_back(utf8ForDisplay(conflictMessage(result.conflicts).view()));
    outcome.status = kExitConflict;
  } else if (!result.isTable) {
    outcome.listing = linesOf(result.listing);
  } else {
    outcome.table = cellsOf(result.table);
    // Every trace ends with the step that accepted or gave up.
    const Cells& rows = *outcome.table;
    bool accepted = rows.size() > 1 && !rows.back().empty() && rows.back().back() == "Accept";
    if (name.ends_with("-eval") && !accepted) outcome.status = kExitRejected;
  }
  return outcome;
}
