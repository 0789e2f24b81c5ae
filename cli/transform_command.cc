#include "cli/transform_command.h"

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "cli/commands.h"
#include "grammar/examples.h"
#include "grammar/grammar_file.h"
#include "grammar/reading.h"
#include "grammar/token_reading.h"
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
  bool standardInput = path.empty() || path == "-";
  if (standardInput && isatty(STDIN_FILENO))
    std::cerr << kProgram << ": reading the grammar from the terminal; end it with Ctrl-D\n";
  std::FILE* stream = standardInput ? stdin : std::fopen(path.c_str(), "rb");
  if (stream == nullptr) throw Failure{kExitUsage, {"cannot open " + path + ": " + std::strerror(errno)}};
  std::string bytes;
  char buffer[65536];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, stream)) > 0;) bytes.append(buffer, n);
  bool failed = std::ferror(stream) != 0;
  if (!standardInput) std::fclose(stream);
  if (failed) throw Failure{kExitUsage, {"cannot read the grammar from " + (standardInput ? "standard input" : path)}};
  return bytes;
}

// The typed grammar of an editor text in either notation; its faults as a Failure.
Grammar grammarOfText(const std::string& text) {
  if (declaresTokenNotation(text)) {
    TokenReading reading = readTokenGrammar(text);
    if (reading.isSound()) return reading.grammar;
    Failure failure{kExitGrammar, {}};
    for (const auto& error : reading.errors) failure.messages.push_back(error.message);
    throw failure;
  }
  GrammarReading reading = readGrammar(editorText(text));
  if (!reading.isSound()) {
    Failure failure{kExitGrammar, {}};
    for (const HString& message : reading.messages) failure.messages.emplace_back(message.view());
    throw failure;
  }
  std::vector<std::string> lines;
  for (const HString& line : reading.lines) lines.emplace_back(line.view());
  return classicGrammar(lines);
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

  GrammarFile read;
  if (exampleOption->count() > 0) {
    const Example& chosen = examples()[static_cast<std::size_t>(example - 1)];
    read.text = std::string(editorTextOf(chosen).view());
    read.word = chosen.word;
  } else {
    read = parseGrammarFile(fileBytes(file));
  }
  Grammar input = grammarOfText(read.text);
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
  std::fwrite(sheet.data(), 1, sheet.size(), stdout);
  std::fflush(stdout);
  if (std::ferror(stdout)) throw Failure{kExitInternal, {"cannot write the output"}};
  if (result.remainingConflicts.empty()) return kExitOk;
  std::cerr << kProgram << ": note: the result still has " << result.remainingConflicts.size()
            << " LL(1) conflict" << (result.remainingConflicts.size() == 1 ? "" : "s") << "; not every grammar has an LL(1) equivalent\n";
  for (const std::string& conflict : result.remainingConflicts) std::cerr << kProgram << ": note: " << conflict << "\n";
  return kExitConflict;
}

}  // namespace

bool isTransformCommand(std::string_view name) { return name == "transform"; }

int runTransformCommand(int argc, char** argv) {
  try {
    return transform(argc, argv);
  } catch (const Failure& failure) {
    for (const std::string& message : failure.messages) std::cerr << kProgram << ": " << message << "\n";
    return failure.status;
  } catch (const std::logic_error& fault) {
    std::cerr << kProgram << ": internal failure: " << fault.what() << "\n";
    return kExitInternal;
  }
}

std::string transformCommandHelp() {
  return "  transform   KIND [FILE]: the grammar rewritten (" + kindNames() +
         "); --format markdown or latex gives the steps as a handout, json every step\n";
}
