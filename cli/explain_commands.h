// The explanation commands of tablomat-cli, `report` and `conflicts`, and
// the notes the other commands print on standard error beside their result
// (a first rule that does not augment the grammar, a word no parser reads).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "cli/commands.h"
#include "explain/counterexample.h"

namespace CLI {
class App;
}

struct ExplainOptions {
  std::string table = "all";  // ll1, slr, lr1, lalr or all
  SearchBounds bounds;
};

// `report` and `conflicts`, in the order --help lists them.
const std::vector<CommandInfo>& explainCommandInfos();
bool isExplainCommand(std::string_view name);
// Adds --table, --time-per-conflict, --time-per-table and --steps; the
// returned text names those given, for commands that take none of them.
void addExplainOptions(CLI::App& app, ExplainOptions& options);
// The names of the explanation options given on the command line, joined by ", ".
std::string explainOptionsGiven(const CLI::App& app);

struct ExplainOutcome {
  std::string output;  // standard output, rendered in the format
  Lines diagnostics;   // standard error, one line each
  int status = kExitOk;
};

// Runs `report` or `conflicts` on a grammar text (lines joined by CR LF).
// Exit status 4 when a table it looks at has a conflict.
ExplainOutcome runExplainCommand(std::string_view name, const HString& grammarText, const std::string& word,
                                 const ExplainOptions& options, Format format, Notation notation = Notation::kClassic);

// What an LR command or an evaluation says beside its result, one line each;
// nothing for a grammar the command does not read.
Lines commandNotes(std::string_view name, const HString& grammarText, const std::string& word,
                   Notation notation = Notation::kClassic);
