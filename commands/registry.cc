#include "commands/registry.h"

#include <algorithm>

#include "core/fatal.h"

namespace {

using enum CommandKind;

CommandInfo listingEntry(std::string_view name, std::string_view summary, ListingKind listing, std::string_view caption) {
  return {.name = name, .summary = summary, .kind = kListing, .caption = caption, .listing = listing};
}

CommandInfo tableEntry(std::string_view name, std::string_view summary, CommandKind kind, TableKind table,
                         std::string_view caption) {
  return {.name = name, .summary = summary, .kind = kind, .caption = caption, .table = table};
}

CommandInfo graphEntry(std::string_view name, std::string_view summary, GraphKind graph) {
  return {.name = name, .summary = summary, .kind = kGraph, .graph = graph};
}

}  // namespace

const std::vector<CommandInfo>& commandRegistry() {
  static const std::vector<CommandInfo> kCommands = {
      {.name = "check",
       .summary = "read and validate the grammar; list its productions",
       .kind = kCheck},
      listingEntry("first", "the First set of every non-terminal", ListingKind::kFirst, "First"),
      listingEntry("follow", "the Follow set of every non-terminal", ListingKind::kFollow, "Follow"),
      listingEntry("lr0-items", "the LR(0) item sets with their arcs", ListingKind::kLR0Items, "LR0 Items"),
      listingEntry("lr1-items", "the LR(1) item sets with their arcs", ListingKind::kLR1Items, "LR1 Items"),
      listingEntry("lalr-items", "the LALR item sets with their arcs, then the LR(1) similar-state table",
                   ListingKind::kLalrItems, "LALR Items"),
      tableEntry("ll1-table", "the LL(1) table", kTable, TableKind::kLL1, "LL1 Table"),
      tableEntry("slr-table", "the SLR table", kTable, TableKind::kSLR, "SLR Table"),
      tableEntry("lr1-table", "the canonical LR(1) table", kTable, TableKind::kLR1, "LR Table"),
      tableEntry("lalr-table", "the LALR table", kTable, TableKind::kLALR, "LALR Table"),
      tableEntry("ll1-eval", "parse the word step by step with the LL(1) table", kEvaluation, TableKind::kLL1,
                 "LL1 Evaluation"),
      tableEntry("slr-eval", "parse the word step by step with the SLR table", kEvaluation, TableKind::kSLR,
                 "SLR Evaluation"),
      tableEntry("lr1-eval", "parse the word step by step with the LR(1) table", kEvaluation, TableKind::kLR1,
                 "LR Evaluation"),
      tableEntry("lalr-eval", "parse the word step by step with the LALR table", kEvaluation, TableKind::kLALR,
                 "LALR Evaluate"),
      graphEntry("lr0-graph", "the LR(0) automaton as a graph (states, SLR conflicts, arcs)", GraphKind::kLR0),
      graphEntry("lr1-graph", "the LR(1) automaton as a graph", GraphKind::kLR1),
      graphEntry("lalr-graph", "the LALR automaton as a graph", GraphKind::kLALR),
      {.name = "report",
       .summary = "notes on the grammar: nullable, left recursion, unreachable, start rule, classes",
       .kind = kExplanation},
      {.name = "conflicts",
       .summary = "every conflicting cell explained, with a counterexample (--table)",
       .kind = kExplanation},
      {.name = "exercise",
       .summary = "a random grammar with a property, a word, questions and the key (exercise --help)",
       .kind = kExercise},
      {.name = "grade",
       .summary = "mark a student's answer: sets, a table in CSV, a state's items or a transformed grammar (grade --help)",
       .kind = kExercise},
      // Its help line names the kinds of transform/, so the tool writes it.
      {.name = "transform", .summary = "KIND [FILE]: the grammar rewritten", .kind = kTransform},
  };
  return kCommands;
}

std::vector<CommandInfo> commandsOfKind(std::initializer_list<CommandKind> kinds) {
  std::vector<CommandInfo> chosen;
  for (const CommandInfo& command : commandRegistry())
    if (std::find(kinds.begin(), kinds.end(), command.kind) != kinds.end()) chosen.push_back(command);
  return chosen;
}

namespace {

template <class Matches>
const CommandInfo* firstCommand(Matches matches) {
  const std::vector<CommandInfo>& all = commandRegistry();
  auto found = std::find_if(all.begin(), all.end(), matches);
  return found == all.end() ? nullptr : &*found;
}

}  // namespace

const CommandInfo* commandNamed(std::string_view name) {
  return firstCommand([name](const CommandInfo& command) { return command.name == name; });
}

const CommandInfo* commandCaptioned(std::string_view caption) {
  if (caption.empty()) return nullptr;
  return firstCommand([caption](const CommandInfo& command) { return command.caption == caption; });
}

const CommandInfo& evaluationCommand(TableKind kind) {
  const CommandInfo* found =
      firstCommand([kind](const CommandInfo& command) { return command.kind == kEvaluation && command.table == kind; });
  if (found == nullptr) fatal("evaluationCommand: no evaluation for the table kind");
  return *found;
}

const CommandInfo& graphCommand(GraphKind kind) {
  const CommandInfo* found =
      firstCommand([kind](const CommandInfo& command) { return command.kind == kGraph && command.graph == kind; });
  if (found == nullptr) fatal("graphCommand: no graph for the automaton kind");
  return *found;
}

bool isAnalysis(const CommandInfo& command) {
  return command.kind == kCheck || command.kind == kListing || command.kind == kTable || command.kind == kEvaluation;
}

CommandResult computeCommand(const CommandInfo& command, const Parsing& model, const HString& word) {
  CommandResult result;
  switch (command.kind) {
    case kListing: {
      Listing computed = listing(model, command.listing);
      result.listing = std::move(computed.lines);
      result.similarTable = std::move(computed.similarTable);
      break;
    }
    case kTable: {
      ParseTable typed = parseTable(model, command.table);
      result.isTable = true;
      result.table = tableText(model, typed);
      result.conflictCells = conflictPlaces(model.typed, typed);
      break;
    }
    case kEvaluation: {
      Evaluation computed = evaluation(model, command.table, word);
      result.conflicts = computed.conflicts;
      result.outcome = computed.outcome();
      result.isTable = !computed.refused();
      result.table = std::move(computed.trace);
      break;
    }
    default: fatal("computeCommand: not a listing, table or evaluation");
  }
  return result;
}
