// Every command of Tablomat in one table: the name tablomat-cli knows it
// by, the caption of its button in the window (where it has one), what
// kind of result it gives and, for the analyses, which table, listing or
// automaton it computes.  The tool and the window both look their commands
// up here, so that a command is named, and dispatched, in one place.
#pragma once

#include <initializer_list>
#include <string_view>
#include <vector>

#include "simulation/evaluations.h"

enum class CommandKind {
  kCheck,        // reads the grammar and lists its productions
  kListing,      // a listing of the loaded grammar (ListingKind)
  kTable,        // a parse table (TableKind)
  kEvaluation,   // the word parsed step by step with a table (TableKind)
  kGraph,        // an automaton drawn as a graph (GraphKind)
  kExplanation,  // notes on the grammar, its conflicts explained
  kExercise,     // a generated exercise, or an answer graded
  kTransform,    // the grammar rewritten
};

struct CommandInfo {
  std::string_view name;     // tablomat-cli's name
  std::string_view summary;  // its line in tablomat-cli --help
  CommandKind kind = CommandKind::kCheck;
  std::string_view caption = {};  // the window's button for it; empty when it has none
  TableKind table = TableKind::kLL1;          // of a kTable or kEvaluation
  ListingKind listing = ListingKind::kFirst;  // of a kListing
  GraphKind graph = GraphKind::kLR0;          // of a kGraph
};

// Every command, in the order tablomat-cli --help lists them.
const std::vector<CommandInfo>& commandRegistry();
// The commands of the given kinds, in the registry's order.
std::vector<CommandInfo> commandsOfKind(std::initializer_list<CommandKind> kinds);
// The command of a tablomat-cli name, or of a window button's caption; none
// when there is no such command.
const CommandInfo* commandNamed(std::string_view name);
const CommandInfo* commandCaptioned(std::string_view caption);
// The evaluation command of a table kind, the graph command of an automaton.
const CommandInfo& evaluationCommand(TableKind kind);
const CommandInfo& graphCommand(GraphKind kind);
// The analyses that give a listing, a table or a trace of the loaded grammar.
bool isAnalysis(const CommandInfo& command);

// What an analysis computes, in the library's texts: a listing, a table or
// a trace, or for a refused evaluation the number of conflicts of its table.
struct CommandResult {
  bool isTable = false;
  Row listing;
  Row similarTable;  // LALR items: which LR(1) states each LALR state merges
  Table table;
  int conflicts = 0;
  // A table command's conflicting cells, read from its typed cells.
  std::vector<CellPlace> conflictCells;
  // An evaluation's end, read from its steps.
  ParseOutcome outcome = ParseOutcome::kUnfinished;
};

// Computes a listing, table or evaluation command on a sound grammar.
CommandResult computeCommand(const CommandInfo& command, const Parsing& model, const HString& word);
