// Times what every command of tablomat-cli computes (reading the grammar
// and the analysis; not the writing of its output) on three grammar sets: the twelve
// examples with their words, a statement-and-expression grammar with a long
// program, and a large random grammar; and bison's canonical LR(1) and LALR
// builds of the two large grammars, for a ratio.
//
// Usage: tablomat-bench GRAMMAR_DIR
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bench/bison_grammar.h"
#include "cli/commands.h"
#include "grammar/examples.h"
#include "grammar/reading.h"
#include "grammar/source_lines.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Case {
  std::string set;
  std::string name;
  HString text;  // the editor text
  std::string word;
  double target;  // milliseconds no command may exceed
};

std::string fileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "tablomat-bench: cannot read %s\n", path.c_str());
    std::exit(2);
  }
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The median time of one run in milliseconds, over at least five runs and a quarter second.
template <class Work>
double medianMilliseconds(Work work) {
  std::vector<double> runs;
  Clock::time_point start = Clock::now();
  while (runs.size() < 5 || (Clock::now() - start < std::chrono::milliseconds(250) && runs.size() < 1000)) {
    Clock::time_point before = Clock::now();
    work();
    runs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - before).count());
  }
  std::sort(runs.begin(), runs.end());
  return runs[runs.size() / 2];
}

double bisonMilliseconds(const Parsing& model, const char* options) {
  std::string input = "/tmp/tablomat-bench.y";
  std::ofstream(input) << bisonGrammar(model);
  std::string command = std::string("bison -Wnone ") + options + " -o /tmp/tablomat-bench.tab.c " + input;
  return medianMilliseconds([&] {
    if (std::system(command.c_str()) != 0) std::fprintf(stderr, "tablomat-bench: %s failed\n", command.c_str());
  });
}

Parsing modelOf(const HString& text) {
  GrammarReading reading = readGrammar(text);
  Parsing model;
  model.loadRules(reading.lines);
  return model;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: tablomat-bench GRAMMAR_DIR\n");
    return 2;
  }
  std::string dir = argv[1];
  std::vector<Case> cases;
  for (const Example& example : examples()) cases.push_back({"examples", example.name, editorTextOf(example), example.word, 2});
  std::string program = fileText(dir + "/statements.word");
  program.erase(program.find_last_not_of("\r\n") + 1);
  cases.push_back({"statements", "statements", editorText(fileText(dir + "/statements.txt")), program, 20});
  cases.push_back({"random", "random", editorText(fileText(dir + "/random.txt")), "", 2000});

  std::printf("%-10s %-11s %-11s %10s %9s %9s\n", "set", "grammar", "command", "ms", "/bison1", "/bisonLA");
  bool met = true;
  for (const Case& c : cases) {
    bool large = c.set != "examples";
    double bisonLR1 = 0, bisonLALR = 0;
    if (large) {
      Parsing model = modelOf(c.text);
      bisonLR1 = bisonMilliseconds(model, "-Dlr.type=canonical-lr");
      bisonLALR = bisonMilliseconds(model, "");
      std::printf("%-10s %-11s %-11s %10.3f\n", c.set.c_str(), c.name.c_str(), "bison-lr1", bisonLR1);
      std::printf("%-10s %-11s %-11s %10.3f\n", c.set.c_str(), c.name.c_str(), "bison-lalr", bisonLALR);
    }
    for (const CommandInfo& command : commandInfos()) {
      if (command.name == "check") continue;
      HString word(c.word.data(), static_cast<int>(c.word.size()));
      double ms = medianMilliseconds([&] { computeCommand(command.name, modelOf(c.text), word); });
      bool over = ms > c.target;
      if (large && command.name == "lr1-table") over = over || ms > bisonLR1;
      if (large && command.name == "lalr-table") over = over || ms > bisonLALR;
      met = met && !over;
      std::printf("%-10s %-11s %-11s %10.3f", c.set.c_str(), c.name.c_str(), std::string(command.name).c_str(), ms);
      if (large) std::printf(" %9.3f %9.3f", ms / bisonLR1, ms / bisonLALR);
      std::printf("%s\n", over ? "  over target" : "");
    }
    // Tracing the rule lines back to the editor, as a click on an error message does.
    double ms = medianMilliseconds([&] { sourceLines(c.text.view()); });
    met = met && ms <= c.target;
    std::printf("%-10s %-11s %-11s %10.3f%s\n", c.set.c_str(), c.name.c_str(), "src-lines", ms,
                ms > c.target ? "  over target" : "");
  }
  std::printf("%s\n", met ? "every target met" : "some targets missed");
  return met ? 0 : 1;
}
