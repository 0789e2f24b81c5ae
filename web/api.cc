// The page's way into the library: every command runs as the command-line
// tool runs it, through the tool's own main, so that the page shows the
// tool's very bytes; standard output and error go to the JavaScript around
// the module (the worker), which also hears of the work's progress.
#include <emscripten/bind.h>
#include <emscripten/emscripten.h>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "core/work.h"
#include "grammar/examples.h"
#include "grammar/reading.h"
#include "grammar/source_lines.h"
#include "grammar/token_reading.h"

int tablomatCliMain(int argc, char** argv);

namespace {

EM_JS(void, reportProgress, (const char* what, double count), {
  if (Module.onProgress) Module.onProgress(UTF8ToString(what), count);
});

// The tool run with these arguments (the program's name not among them);
// its exit status.
int run(const std::vector<std::string>& arguments) {
  std::vector<std::string> words{"tablomat-cli"};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  int status;
  {
    WorkScope progress({}, nullptr, [](const WorkProgress& now) {
      reportProgress(now.what, static_cast<double>(now.count));
    });
    status = tablomatCliMain(static_cast<int>(words.size()), argv.data());
  }
  std::cout.flush();
  std::fflush(nullptr);
  return status;
}

// The twelve examples: name, editor lines and word of each.
std::string examplesJson() {
  nlohmann::json list = nlohmann::json::array();
  for (const Example& example : examples()) {
    nlohmann::json lines = nlohmann::json::array();
    for (const char* const* line = example.lines; *line != nullptr; ++line) lines.push_back(*line);
    list.push_back({{"name", example.name}, {"lines", lines}, {"word", example.word}});
  }
  return list.dump();
}

// The bytes of line `line` (from 0) of the text, its line end left out.
int lineLength(const std::string& text, int line) {
  size_t start = 0;
  for (int k = 0; k < line && start != std::string::npos; ++k) {
    start = text.find('\n', start);
    if (start != std::string::npos) ++start;
  }
  if (start == std::string::npos) return 0;
  size_t end = std::min(text.find('\n', start), text.size());
  if (end > start && text[end - 1] == '\r') --end;
  return static_cast<int>(end - start);
}

nlohmann::json problemAt(const std::string& message, std::optional<SourcePlace> place) {
  nlohmann::json problem = {{"message", utf8ForDisplay(message)}};
  if (place) problem["place"] = {{"line", place->line}, {"column", place->column}, {"length", place->length}};
  return problem;
}

// The messages of reading the editor text, each with its place in the
// editor (line from 0, byte column and length), or none without one.  A
// text that declares the token notation is read in it, as the tool reads
// it; each of its messages marks its whole line.
std::string grammarProblemsJson(const std::string& text) {
  nlohmann::json list = nlohmann::json::array();
  if (declaresTokenNotation(text)) {
    for (const TokenReadingError& error : readTokenGrammar(text).errors)
      list.push_back(problemAt(error.message, SourcePlace{error.line - 1, 0, lineLength(text, error.line - 1)}));
    return list.dump();
  }
  GrammarReading reading = readGrammar(editorText(text));
  for (int index = 0; index < reading.messages.getCount(); ++index)
    list.push_back(problemAt(std::string(reading.messages[index].view()), placeOfMessage(text, reading.messages, index)));
  return list.dump();
}

}  // namespace

EMSCRIPTEN_BINDINGS(tablomat) {
  emscripten::register_vector<std::string>("StringList");
  emscripten::function("run", &run);
  emscripten::function("examplesJson", &examplesJson);
  emscripten::function("grammarProblemsJson", &grammarProblemsJson);
}
