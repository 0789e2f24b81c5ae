// Times what every command of tablomat-cli computes (reading the grammar
// and the analysis; not the writing of its output) on three grammar sets: the twelve
// examples with their words, a statement-and-expression grammar with a long
// program, and a large random grammar; and bison's canonical LR(1) and LALR
// builds of the two large grammars, for a ratio.  Then the drawings: the
// graph of each automaton, its layout by Graphviz and its SVG (the whole
// automaton when it is small enough to draw, else the neighbourhood of a
// state), and the parse tree of the word with its layout.  Then the
// counterexamples of every conflict of the four tables, with the default
// bounds: how many are unifying, how many non-unifying, the time per
// conflict; and bison -Wcounterexamples on the same grammars (its LALR
// table) side by side.
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
#include "exercises/exercise.h"
#include "exercises/set_grading.h"
#include "exercises/table_grading.h"
#include "grammar/first.h"
#include "grammar/follow.h"
#include "explain/conflicts.h"
#include "explain/grammar_report.h"
#include "grammar/examples.h"
#include "grammar/reading.h"
#include "grammar/source_lines.h"
#include "graphs/automaton_dot.h"
#include "graphs/neighbourhood.h"
#include "trees/evaluation_tree.h"
#include "trees/tree_dot.h"

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

// Milliseconds no layout of a drawing may exceed: the window waits for it.
constexpr double kLayoutTarget = 3000;

struct Timed {
  std::string what;
  double ms;
  std::string size;
  bool layout;  // held to kLayoutTarget
};

std::string sizeOf(size_t states, size_t arcs) {
  return std::to_string(states) + " states, " + std::to_string(arcs) + " arcs";
}

// The graphs of the three automata, their layouts and drawings.
std::vector<Timed> timeGraphs(const Parsing& model) {
  std::vector<Timed> times;
  for (GraphKind kind : kGraphKinds) {
    std::string name = kind == GraphKind::kLR0 ? "lr0" : kind == GraphKind::kLR1 ? "lr1" : "lalr";
    AutomatonGraph graph = automatonGraph(model, kind);
    times.push_back({name + "-graph", medianMilliseconds([&] { automatonGraph(model, kind); }),
                     sizeOf(graph.states.size(), graph.edges.size()), false});
    DotOptions options;
    std::string part = "-layout";
    if (!drawable(graph)) {
      options.states = neighbourhood(graph, static_cast<int>(graph.states.size() / 2), 2).states;
      part = "-near";
    }
    std::string dot = automatonDot(graph, options);
    size_t arcs = 0;
    for (const GraphLayout& layout = layoutDot(dot); const PlacedEdge& edge : layout.edges) arcs += edge.id[0] == 'e';
    std::string size = sizeOf(options.states.empty() ? graph.states.size() : options.states.size(), arcs);
    times.push_back({name + part, medianMilliseconds([&] { layoutDot(dot); }), size, true});
    times.push_back({name + "-svg", medianMilliseconds([&] { svgOfDot(dot); }), size, true});
  }
  return times;
}

// The LALR parse tree of the word and, when small enough to draw, its layout.
std::vector<Timed> timeTree(const Parsing& model, const HString& word) {
  Evaluation parsed = evaluation(model, TableKind::kLALR, word);
  if (parsed.refused()) return {};
  EvaluationTree tree(model, TableKind::kLALR, parsed.table, parsed.trace);
  std::string size = std::to_string(tree.nodes().size()) + " nodes";
  std::vector<Timed> times{{"tree", medianMilliseconds([&] {
                              EvaluationTree(model, TableKind::kLALR, parsed.table, parsed.trace).forest();
                            }),
                            size, false}};
  if (tree.nodes().size() <= static_cast<size_t>(kDrawableTreeNodes)) {
    std::string dot = forestDot(tree.forest());
    times.push_back({"tree-layout", medianMilliseconds([&] { layoutDot(dot); }), size, true});
  }
  return times;
}

// Making an exercise of each property (ten seeds, the default size, the
// time per exercise), and grading the program's own keys of the example
// and bench grammars (every element is compared and explained).
bool benchExercises(const std::vector<Case>& cases) {
  constexpr int kSeeds = 10;
  constexpr double kExerciseTarget = 100, kGradeFactor = 20;
  bool met = true;
  for (ExerciseProperty property : kExerciseProperties) {
    const char* name = propertyName(property);
    double ms = medianMilliseconds([&] {
                  for (int seed = 1; seed <= kSeeds; ++seed) {
                    GeneratorRequest request;
                    request.property = property;
                    request.seed = static_cast<std::uint64_t>(seed);
                    if (!makeExercise(request).exercise) std::fprintf(stderr, "tablomat-bench: no %s exercise\n", name);
                  }
                }) /
                kSeeds;
    bool over = ms > kExerciseTarget;
    met = met && !over;
    std::printf("%-10s %-11s %-11s %10.3f%s\n", "exercises", name, "generate", ms, over ? "  over target" : "");
  }
  for (const Case& c : cases) {
    if (c.set == "random") continue;  // its LR(1) table alone takes a second
    Parsing model = modelOf(c.text);
    Lines first = linesOf(firstListing(model));
    std::string firstText;
    for (const std::string& line : first) firstText += line + "\n";
    double setMs = medianMilliseconds([&] { gradeSets(model, SetKind::kFirst, firstText); });
    std::printf("%-10s %-11s %-11s %10.3f\n", "grading", c.name.c_str(), "grade-first", setMs);
    for (TableKind kind : {TableKind::kSLR, TableKind::kLR1}) {
      std::string key = renderTable(cellsOf(table(model, kind)), Format::kCsv);
      double tableMs = medianMilliseconds([&] { table(model, kind); });
      double gradeMs = medianMilliseconds([&] { gradeTable(model, kind, key); });
      // Grading builds the table and the automaton of its reasons once each.
      bool over = gradeMs > kGradeFactor * tableMs + 1;
      met = met && !over;
      std::printf("%-10s %-11s %-11s %10.3f%s\n", "grading", c.name.c_str(),
                  kind == TableKind::kSLR ? "grade-slr" : "grade-lr1", gradeMs, over ? "  over target" : "");
    }
  }
  return met;
}

// What the counterexample searches of one set of grammars found.
struct Found {
  long conflicts = 0, unifying = 0, nonUnifying = 0;
  double milliseconds = 0;
};

void tally(Found& found, const std::vector<Conflict>& conflicts) {
  for (const Conflict& c : conflicts) {
    ++found.conflicts;
    found.unifying += c.counterexample.kind == Counterexample::Kind::kUnifying;
    found.nonUnifying += c.counterexample.kind == Counterexample::Kind::kNonUnifying;
  }
}

// bison's counterexamples of its LALR table: one warning per state and
// conflict kind, "Example:" for a unifying one, "First example:" otherwise.
Found bisonCounterexamples(const Parsing& model) {
  std::string input = "/tmp/tablomat-bench-cex.y", messages = "/tmp/tablomat-bench-cex.txt";
  std::ofstream(input) << bisonGrammar(model);
  std::string command = "bison -Wcounterexamples -o /tmp/tablomat-bench-cex.tab.c " + input + " 2> " + messages;
  Clock::time_point start = Clock::now();
  if (std::system(command.c_str()) != 0) std::fprintf(stderr, "tablomat-bench: %s failed\n", command.c_str());
  Found found;
  found.milliseconds = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  std::ifstream in(messages);
  for (std::string line; std::getline(in, line);) {
    found.conflicts += line.find("[-Wcounterexamples]") != std::string::npos;
    found.unifying += line.starts_with("  Example:");
    found.nonUnifying += line.starts_with("  First example:");
  }
  return found;
}

void printFound(const std::string& set, const char* table, const Found& found) {
  std::printf("%-10s %-6s %9ld %9ld %13ld %6ld %12.2f\n", set.c_str(), table, found.conflicts, found.unifying,
              found.nonUnifying, found.conflicts - found.unifying - found.nonUnifying,
              found.conflicts > 0 ? found.milliseconds / static_cast<double>(found.conflicts) : 0.0);
}

void benchCounterexamples(const std::vector<Case>& cases) {
  std::printf("\ncounterexamples (default bounds: 2 s a conflict, 10 s a table)\n");
  std::printf("%-10s %-6s %9s %9s %13s %6s %12s\n", "set", "table", "conflicts", "unifying", "non-unifying", "none",
              "ms/conflict");
  std::vector<std::string> sets;
  for (const Case& c : cases)
    if (std::find(sets.begin(), sets.end(), c.set) == sets.end()) sets.push_back(c.set);
  for (const std::string& set : sets) {
    Found ours[4], bison;
    for (const Case& c : cases) {
      if (c.set != set) continue;
      Parsing model = modelOf(c.text);
      TableSet tables(model);
      for (TableKind kind : kTableKinds) {
        Clock::time_point start = Clock::now();
        std::vector<Conflict> conflicts = explainConflicts(tables, kind, SearchBounds{});
        ours[static_cast<size_t>(kind)].milliseconds += std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        tally(ours[static_cast<size_t>(kind)], conflicts);
      }
      Found theirs = bisonCounterexamples(model);
      bison.conflicts += theirs.conflicts;
      bison.unifying += theirs.unifying;
      bison.nonUnifying += theirs.nonUnifying;
      bison.milliseconds += theirs.milliseconds;
    }
    for (TableKind kind : kTableKinds) printFound(set, tableName(kind), ours[static_cast<size_t>(kind)]);
    printFound(set, "bison", bison);
    double report = 0;
    for (const Case& c : cases)
      if (c.set == set) {
        // Once: with a search for ambiguity it may take the table's bound.
        Clock::time_point start = Clock::now();
        grammarReport(modelOf(c.text), c.word, SearchBounds{});
        report += std::chrono::duration<double, std::milli>(Clock::now() - start).count();
      }
    std::printf("%-10s %-6s %46.2f ms for the grammar report%s\n", set.c_str(), "report", report,
                set == "examples" ? "s" : "");
  }
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
  std::printf("\n%-10s %-11s %-11s %10s  %s\n", "set", "grammar", "drawing", "ms", "size");
  for (const Case& c : cases) {
    Parsing model = modelOf(c.text);
    std::vector<Timed> times = timeGraphs(model);
    for (Timed& timed : timeTree(model, HString(c.word.data(), static_cast<int>(c.word.size()))))
      times.push_back(std::move(timed));
    for (const Timed& timed : times) {
      bool over = timed.layout && timed.ms > kLayoutTarget;
      met = met && !over;
      std::printf("%-10s %-11s %-11s %10.3f  %s%s\n", c.set.c_str(), c.name.c_str(), timed.what.c_str(), timed.ms,
                  timed.size.c_str(), over ? "  over target" : "");
    }
  }
  met = benchExercises(cases) && met;
  benchCounterexamples(cases);
  std::printf("%s\n", met ? "every target met" : "some targets missed");
  return met ? 0 : 1;
}
