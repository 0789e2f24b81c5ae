// tablomat-cli: every result of the window from the command line.
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <new>
#include <string>
#include <tuple>

#include "cli/commands.h"
#include "cli/exercise_commands.h"
#include "cli/explain_commands.h"
#include "cli/graph_commands.h"
#include "cli/input.h"
#include "cli/transform_command.h"
#include "core/work.h"
#include "writers/format.h"
#include "grammar/examples.h"
#include "grammar/grammar_file.h"
#include "grammar/reading.h"

namespace {

constexpr const char* kProgram = "tablomat-cli";

struct UsageError {
  std::string message;
};

std::string oneLine(std::string text) {
  while (!text.empty() && text.back() == '\n') text.pop_back();
  for (std::string::size_type at; (at = text.find('\n')) != std::string::npos;) text.replace(at, 1, "; ");
  return text;
}

std::string joined(const std::vector<std::string>& names) {
  std::string out;
  for (const auto& name : names) out += (out.empty() ? "" : ", ") + name;
  return out;
}

std::vector<std::string> commandNames() {
  std::vector<std::string> names;
  for (const auto& command : commandRegistry()) names.emplace_back(command.name);
  return names;
}

std::string helpFooter() {
  std::string text = "Commands:\n";
  for (const auto& command : commandRegistry()) {
    if (command.kind == CommandKind::kTransform) continue;  // its line names the kinds
    std::string name(command.name);
    text += "  " + name + std::string(12 - name.size(), ' ') + std::string(command.summary) + "\n";
  }
  text += transformCommandHelp();
  text +=
      "\nThe grammar is read from FILE (UTF-8, LF or CR LF line ends), from standard input when FILE\n"
      "is '-' or missing, or is the built-in example N (1 to 12) with --example N.  One rule a line,\n"
      "X->a|b; upper-case letters are non-terminals, e is the empty string.  For the LR commands\n"
      "extend the grammar by a first rule such as I->A.  A grammar whose first line is\n"
      "'#notation: tokens', or any grammar read with --notation tokens, is in the token notation:\n"
      "E -> E + T | T, symbols between blanks, the heads of rules non-terminals, ε or nothing the\n"
      "empty string; its word is tokens between blanks.  check, first, follow, the item listings, the\n"
      "tables, the evaluations, the graphs and transform read it; --tree and the other commands say\n"
      "that they do not yet, with status 2.  The word of an evaluation is --word, or\n"
      "the example's word, or the file's line '#word: WORD' as the window saves it; without any\n"
      "of these it is empty.  report and conflicts search counterexamples within\n"
      "--time-per-conflict and --time-per-table seconds and --steps steps per conflict.\n"
      "\nFormats:\n"
      "  text      listings as lines, tables and traces in aligned columns (the default)\n"
      "  csv       one record a line or a table row, quoted as RFC 4180 says; a cell beginning with\n"
      "            = + - @ (or a tab or CR) is written \"'cell\" so that spreadsheets take it as text\n"
      "  markdown  a pipe table; listings in a fenced code block\n"
      "  latex     a tabular environment; listings in a verbatim environment\n"
      "  json      listings as an array of strings, tables as an array of rows of strings\n"
      "  dot       a graph for Graphviz: the graph commands (their default) and --tree\n"
      "  svg       the graph commands: the graph laid out and drawn by Graphviz\n"
      "  tikz      the graph commands and --tree: a tikzpicture for LaTeX, laid out by Graphviz\n"
      "            (needs the tikz package and its automata, positioning, arrows.meta libraries)\n"
      "\nWith --tree an evaluation prints its parse tree (for a rejected word the partial tree,\n"
      "or the forest on the LR stack) as indented text, dot, tikz, or json in the form\n"
      "{\"symbol\": \"E\", \"children\": [...]}; an array of the trees left for a rejected word, and\n"
      "for an accepted one when the first rule does not augment the grammar and the acceptance\n"
      "leaves several trees on the stack.\n"
      "\nExit status:\n"
      "  0   success; an evaluation accepted the word\n"
      "  1   an evaluation rejected the word (its trace ends in Error)\n"
      "  2   usage error or unreadable file\n"
      "  3   the grammar has errors (listed on standard error)\n"
      "  4   evaluation refused: the table has conflicts (the count on standard error);\n"
      "      report, conflicts: a table they look at has conflicts\n"
      "  5   stopped at a limit of the work of one command (which one on standard error)\n"
      "  70  internal failure of the program\n"
      "  74  the output could not be written (a full disk)\n"
      "\nLimits: a command stops with status 5 when an automaton outgrows --max-states or\n"
      "--max-items, a trace --max-rows, the grammar read --max-input, what it writes (a trace's\n"
      "or a listing's text too) --max-output, or the process --max-memory; the defaults are far above\n"
      "any grammar written by hand.\n";
  return text;
}

// exercise, grade and transform have options of their own and must come first; the
// message for a command line that puts options before them, or "".
std::string misplacedExerciseCommand(int argc, char** argv) {
  for (int k = 1; k < argc; ++k)
    if (isExerciseCommand(argv[k]) || isTransformCommand(argv[k]))
      return std::string(argv[k]) + " comes first, before its options: " + kProgram + " " + argv[k] + " --help";
  return "";
}

// Why a command that shows LALR states stopped at the LR(1) collection's
// limit when the LALR table itself needs no such collection; "" otherwise.
std::string whyTheLR1Limit(const std::string& command, const WorkStopped& stopped) {
  bool lalrStates = command == "lalr-items" || command == "lalr-graph" || command == "report" || command == "conflicts";
  if (!lalrStates || std::string_view(stopped.what()).find("LR(1) collection") == std::string_view::npos) return "";
  return command + " numbers the LALR states as the merged LR(1) collection orders them, so it needs that "
                   "collection; lalr-table and lalr-eval build the LALR table from the LR(0) automaton instead.";
}

// The command being run, for the notes on a limit.
std::string runningCommand;

int run(int argc, char** argv) {
  CLI::App app{"Tablomat on the command line: First and Follow sets, LR item sets, parse tables\n"
               "and step-by-step parses of a context-free grammar, as the window shows them.",
               kProgram};
  std::string command, file, word, formatName = "text";
  int example = 0;
  app.add_option("COMMAND", command, "what to compute (see Commands below)")->required()->type_name("");
  app.add_option("FILE", file, "the grammar file; '-' or none reads standard input")->type_name("");
  CLI::Option* exampleOption =
      app.add_option("-x,--example", example, "use the built-in example grammar N and its word")
          ->type_name("N")
          ->check(CLI::Range(1, kExampleCount));
  CLI::Option* wordOption = app.add_option("-w,--word", word, "the word an evaluation parses")->type_name("WORD");
  Notation notation = Notation::kClassic;
  CLI::Option* notationOption = addNotationOption(app, notation);
  CLI::Option* formatOption =
      app.add_option("-f,--format", formatName, "text, csv, markdown, latex, json, dot, svg or tikz (see Formats)")
          ->type_name("F");
  DrawingOptions drawing;
  addDrawingOptions(app, drawing);
  ExplainOptions explainOptions;
  addExplainOptions(app, explainOptions);
  WorkLimits limits;
  addLimitOptions(app, limits);
  app.set_version_flag("--version", std::string(kProgram) + " " + TABLOMAT_VERSION);
  app.footer(helpFooter());
  app.get_formatter()->column_width(24);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() == 0) return app.exit(e);  // --help, --version
    if (std::string misplaced = misplacedExerciseCommand(argc, argv); !misplaced.empty()) throw UsageError{misplaced};
    throw UsageError{oneLine(e.what())};
  }
  if (isExerciseCommand(command) || isTransformCommand(command)) throw UsageError{misplacedExerciseCommand(argc, argv)};

  if (!isCommand(command) && !isGraphCommand(command) && !isExplainCommand(command))
    throw UsageError{"unknown command '" + command + "'; the commands are " + joined(commandNames())};
  std::string givenFormat = formatOption->count() > 0 ? formatName : "";
  if (std::string misuse = drawingMisuse(command, givenFormat, drawing); !misuse.empty()) throw UsageError{misuse};
  std::optional<Format> format = formatNamed(formatName);
  if (!format && !isDrawing(command, drawing))
    throw UsageError{"unknown format '" + formatName + "'; the formats are " + joined(formatNames())};
  if (std::string given = explainOptionsGiven(app); !given.empty() && !isExplainCommand(command))
    throw UsageError{given + " only apply to report and conflicts"};
  if (exampleOption->count() > 0 && !file.empty())
    throw UsageError{"give either FILE or --example, not both"};
  if (std::string misuse = notationMisuse(*notationOption, *exampleOption); !misuse.empty()) throw UsageError{misuse};

  WorkScope scope(limits);
  runningCommand = command;
  HString grammarText;
  if (exampleOption->count() > 0) {
    const Example& chosen = examples()[static_cast<std::size_t>(example - 1)];
    grammarText = editorTextOf(chosen);
    if (wordOption->count() == 0) word = chosen.word;
  } else {
    // The window's files carry the word on a line of their own.
    GrammarFile read = parseGrammarFile(readInput(file, "grammar"));
    grammarText = editorText(read.text);
    if (wordOption->count() == 0 && read.word) word = *read.word;
  }

  if (isExplainCommand(command)) {
    ExplainOutcome explained = runExplainCommand(command, grammarText, word, explainOptions, *format, notation);
    noteOutput(static_cast<long>(explained.output.size()));
    errno = 0;  // a failed write leaves its reason
    std::fwrite(explained.output.data(), 1, explained.output.size(), stdout);
    bool written = outputWritten();
    for (const auto& line : explained.diagnostics) std::cerr << controlsEscaped(line) << "\n";
    return written ? explained.status : kExitOutput;
  }
  Outcome outcome = isDrawing(command, drawing) ? runDrawing(command, grammarText, word, givenFormat, drawing, notation)
                                                : runCommand(command, grammarText, word, notation);
  errno = 0;  // a failed write leaves its reason
  if (outcome.document) {
    noteOutput(static_cast<long>(outcome.document->size()));
    std::fwrite(outcome.document->data(), 1, outcome.document->size(), stdout);
  } else {
    writeOutcome(stdout, outcome, *format);
  }
  bool written = outputWritten();
  for (const auto& line : outcome.diagnostics) std::cerr << controlsEscaped(line) << "\n";
  if (outcome.status != kExitGrammar)
    for (const auto& note : commandNotes(command, grammarText, word, notation)) std::cerr << kProgram << ": note: " << controlsEscaped(note) << "\n";
  return written ? outcome.status : kExitOutput;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    if (argc > 1 && isExerciseCommand(argv[1])) return runExerciseCommand(argc, argv);
    if (argc > 1 && isTransformCommand(argv[1])) return runTransformCommand(argc, argv);
    return run(argc, argv);
  } catch (const UsageError& e) {
    std::cerr << kProgram << ": " << controlsEscaped(e.message) << "\n";
    return kExitUsage;
  } catch (const HStringError& e) {
    std::cerr << kProgram << ": internal failure: " << e.what() << "\n";
    return kExitInternal;
  } catch (const InputError& e) {
    std::cerr << kProgram << ": " << controlsEscaped(e.what()) << "\n";
    return kExitUsage;
  } catch (const WorkStopped& e) {
    std::cerr << kProgram << ": " << e.what() << "\n";
    if (std::string why = whyTheLR1Limit(runningCommand, e); !why.empty())
      std::cerr << kProgram << ": note: " << why << "\n";
    return kExitLimit;
  } catch (const std::bad_alloc&) {
    std::cerr << kProgram << ": the command needs more memory than the system gives it\n";
    return kExitLimit;
  }
}
