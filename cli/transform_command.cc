#include "cli/transform_command.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <iostream>

#include "cli/commands.h"
#include "cli/input.h"
#include "core/work.h"
#include "grammar/examples.h"
#include "grammar/grammar_file.h"
#include "grammar/text_reading.h"
#include "writers/transform_sheet.h"

namespace {

constexpr const char* kProgram = "tablomat-cli";

struct Failure {
  int status;
  std::vector<std::string> messages;
};

std::string kindNames() {
  std::string names;
  for (const auto& [name, kind] : transformKinds()) names += (names.empty() ? "" : ", ") + std::string(name);
  return names;
}

std::string fileBytes(const std::string& path) {
  try {
    return readInput(path, "grammar");
  } catch (const InputError& error) {
    throw Failure{kExitUsage, {error.what()}};
  }
}

// The typed grammar of an editor text in either notation; its faults as a Failure.
Grammar grammarOfText(const std::string& text, Notation notation) {
  GrammarTextReading reading = readEditorGrammar(text, notation);
  if (reading.isSound()) return std::move(reading.grammar);
  Failure failure{kExitGrammar, {}};
  for (size_t start = 0, end; start <= reading.messages.size(); start = end + 1) {
    end = std::min(reading.messages.find('\n', start), reading.messages.size());
    failure.messages.push_back(reading.messages.substr(start, end - start));
  }
  throw failure;
}

int transform(int argc, char** argv) {
  CLI::App app{"Rewrites a grammar by one of the transformations and shows the steps.", "tablomat-cli transform"};
  std::string kindName, file, formatName = "text";
  int example = 0;
  app.add_option("KIND", kindName, "the transformation: " + kindNames())->required()->type_name("");
  app.add_option("FILE", file, "the grammar file; '-' or none reads standard input")->type_name("");
  CLI::Option* exampleOption = app.add_option("-x,--example", example, "use the built-in example grammar N")
                                   ->type_name("N")
                                   ->check(CLI::Range(1, kExampleCount));
  app.add_option("-f,--format", formatName, "text (the grammar), markdown or latex (a handout), json")->type_name("F");
  Notation notation = Notation::kClassic;
  CLI::Option* notationOption = addNotationOption(app, notation);
  try {
    app.parse(argc - 1, argv + 1);
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() == 0) return app.exit(e);
    throw Failure{kExitUsage, {std::string(e.what())}};
  }
  std::optional<TransformKind> kind = transformKindNamed(kindName);
  if (!kind) throw Failure{kExitUsage, {"unknown transformation '" + kindName + "'; the kinds are " + kindNames()}};
  std::optional<Format> format = formatNamed(formatName);
  if (!format || !transformFormatMisuse(*format).empty())
    throw Failure{kExitUsage, {"unknown format '" + formatName + "'; transform writes text, markdown, latex or json"}};
  if (exampleOption->count() > 0 && !file.empty()) throw Failure{kExitUsage, {"give either FILE or --example, not both"}};
  if (std::string misuse = notationMisuse(*notationOption, *exampleOption); !misuse.empty())
    throw Failure{kExitUsage, {misuse}};

  GrammarFile read;
  if (exampleOption->count() > 0) {
    const Example& chosen = examples()[static_cast<std::size_t>(example - 1)];
    read.text = std::string(editorTextOf(chosen).view());
    read.word = chosen.word;
  } else {
    read = parseGrammarFile(fileBytes(file));
  }
  Grammar input = grammarOfText(read.text, notation);
  TransformResult result;
  try {
    result = transformGrammar(input, *kind);
  } catch (const TransformRefused& refused) {
    throw Failure{kExitGrammar, {refused.what()}};
  }
  std::string sheet = transformSheet(input, *kind, result, *format);
  // The text format is a grammar file again, with the word it came with.
  if (*format == Format::kText && read.word) {
    sheet.pop_back();  // grammarFileBytes ends the text with its own line end
    sheet = grammarFileBytes(sheet, *read.word);
  }
  noteOutput(static_cast<long>(sheet.size()));
  errno = 0;  // a failed write leaves its reason
  std::fwrite(sheet.data(), 1, sheet.size(), stdout);
  if (!outputWritten()) return kExitOutput;
  if (result.remainingConflicts.empty()) return kExitOk;
  std::cerr << kProgram << ": note: the result still has " << result.remainingConflicts.size()
            << " LL(1) conflict" << (result.remainingConflicts.size() == 1 ? "" : "s") << "; not every grammar has an LL(1) equivalent\n";
  for (const std::string& conflict : result.remainingConflicts) std::cerr << kProgram << ": note: " << conflict << "\n";
  return kExitConflict;
}

}  // namespace

bool isTransformCommand(std::string_view name) {
  const CommandInfo* found = commandNamed(name);
  return found != nullptr && found->kind == CommandKind::kTransform;
}

int runTransformCommand(int argc, char** argv) {
  try {
    WorkScope scope;  // the default limits: what is read and written
    return transform(argc, argv);
  } catch (const Failure& failure) {
    for (const std::string& message : failure.messages) std::cerr << kProgram << ": " << controlsEscaped(message) << "\n";
    return failure.status;
  } catch (const WorkStopped& stopped) {
    std::cerr << kProgram << ": " << stopped.what() << "\n";
    return kExitLimit;
  } catch (const std::logic_error& fault) {
    std::cerr << kProgram << ": internal failure: " << fault.what() << "\n";
    return kExitInternal;
  }
}

std::string transformCommandHelp() {
  return "  transform   " + std::string(commandNamed("transform")->summary) + " (" + kindNames() +
         "); --format markdown or latex gives the steps as a handout, json every step\n";
}
