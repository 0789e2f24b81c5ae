// The commands of tablomat-cli: each reads the grammar as the window does
// and yields what the window shows for it, as UTF-8 lines or cells, with
// the exit status that tells a script how it went.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "simulation/evaluations.h"
#include "commands/registry.h"
#include "core/fatal.h"
#include "core/hstring.h"
#include "grammar/parsing.h"
#include "writers/format.h"

namespace CLI {
class App;
}
struct WorkLimits;

// Exit statuses; --help lists them.
inline constexpr int kExitOk = 0;
inline constexpr int kExitRejected = 1;   // the trace ends in "Error"
inline constexpr int kExitUsage = 2;      // bad arguments, unreadable file
inline constexpr int kExitGrammar = 3;    // the grammar has errors
inline constexpr int kExitConflict = 4;   // evaluation refused: the table has conflicts
inline constexpr int kExitLimit = 5;      // stopped at a limit of the work of one command
inline constexpr int kExitOutput = 74;    // the output could not be written (a full disk)
inline constexpr int kExitInternal = kFatalExitStatus;  // a fault of the program itself

// The analyses of the registry (check, the listings, tables and
// evaluations), in the order --help lists them.
const std::vector<CommandInfo>& commandInfos();
// Whether `name` is one of `commands`.
bool listed(const std::vector<CommandInfo>& commands, std::string_view name);
bool isCommand(std::string_view name);
struct Outcome {
  // What goes to standard output; none when the command was refused.
  std::optional<Lines> listing;
  std::optional<Cells> table;
  std::optional<std::string> document;  // written as it is: DOT, SVG, a tree
  // The same as the library's texts, which are written without a copy.
  std::optional<Row> listingTexts;
  std::optional<Table> tableTexts;
  // What goes to standard error, one line each.
  Lines diagnostics;
  int status = kExitOk;
};

// Reads the grammar text in either notation (`notation` when the text
// declares none) and loads it into the model; false, with the messages and
// the exit status given back, when the grammar has errors.
bool loadGrammar(const HString& grammarText, Parsing& model, Lines& diagnostics, int& status,
                 Notation notation = Notation::kClassic);

// Runs the named command (isCommand) on a grammar text with lines joined by
// CR LF, as editorText() gives it; the word matters to evaluations only.
// Lets an HStringError of the library through.
Outcome runCommand(std::string_view name, const HString& grammarText, const std::string& word,
                   Notation notation = Notation::kClassic);

// What goes to standard output, as one text or written to a file.
std::string renderOutcome(const Outcome& outcome, Format format);
void writeOutcome(std::FILE* file, const Outcome& outcome, Format format);

// Adds --max-states, --max-items, --max-rows, --max-output, --max-input and
// --max-memory, each a positive whole number, to the command line.
void addLimitOptions(CLI::App& app, WorkLimits& limits);

// Flushes standard output; false, with a message on standard error, when
// what was written did not all arrive (a full disk).  The message gives
// errno's reason when there is one: clear errno before writing.
bool outputWritten();
