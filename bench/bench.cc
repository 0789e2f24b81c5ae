// Times what every command of tablomat-cli computes (reading the grammar
// and the analysis; not the writing of its output) on the benchmark grammar
// sets, side by side with bison's canonical LR(1) and LALR builds of the
// same grammars, and checks the targets:
// - examples: the twelve examples with their words, every command under 2 ms;
// - statements: a statement-and-expression grammar with a 3045-character
//   program, every command under 20 ms;
// - tokens: the same grammar and program in the token notation, a token a
//   character, every command under 20 ms;
// - random: a large random grammar whose LALR table has conflicts, every
//   command under 2 s, lr1-table no slower than bison's canonical LR(1) and
//   lalr-table no slower than bison's LALR;
// - chains: the explosive chains of 10, 14, 18 and 22 rules (families.h),
//   and the closed chain of 16 rules with 393213 LR(1) states, whose
//   lr1-items takes under 6 s;
// - long: a grammar of 100000 lines, read (check) in under 0.5 s;
// - bounds: the tables of one rule of 32000 symbols, under 1 s each, and a
//   parse tree 130000 levels deep replayed and written, under 2 s each.
// On every grammar whose LALR table has no conflict, lalr-table, lalr-eval
// and the LALR conflict count (lalr-count) take at most half of bison's
// LALR time.  A command stopped at a limit of the work of one command is
// shown as such; the limits are the defaults of tablomat-cli.  Last, the
// tool itself writes the trace of a 3335-character program (about 15000
// rows) to /dev/null in under 0.1 s (the set "process").
//
// On the grammars a student or teacher works with (examples, statements,
// random) it also times the drawings: the graph of each automaton, its
// layout by Graphviz and its SVG (the whole automaton when it is small
// enough to draw, else the neighbourhood of a state), and the parse tree of
// the word with its layout; making and grading exercises; each
// transformation (under 50 ms an example, 1 s the statement grammar)
// and the grading of its result; and the
// counterexamples of every conflict of the four tables with the default
// bounds (how many unifying, non-unifying, the time per conflict), beside
// bison -Wcounterexamples on the same grammars (its LALR table).
//
// Times are processor times (user and system) of this process or of the
// child that ran, so that other work on the machine does not count.
//
// Usage: tablomat-bench GRAMMAR_DIR [SET...]                (only these sets)
//        tablomat-bench --print chain|closed|long N   (a grammar of a family)
//        tablomat-bench --routes N                    (LALR routes on N random grammars)
//        tablomat-bench --once GRAMMAR_DIR SET LINE   (one line once, for a profiler)
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bench/bison_grammar.h"
#include "bench/families.h"
#include "cli/commands.h"
#include "simulation/evaluations.h"
#include "core/work.h"
#include "exercises/exercise.h"
#include "exercises/set_grading.h"
#include "exercises/table_grading.h"
#include "exercises/transform_grading.h"
#include "explain/conflicts.h"
#include "explain/grammar_report.h"
#include "fuzz/properties.h"
#include "fuzz/random_grammar.h"
#include "grammar/examples.h"
#include "grammar/first.h"
#include "grammar/follow.h"
#include "grammar/reading.h"
#include "grammar/source_lines.h"
#include "graphs/automaton_dot.h"
#include "graphs/neighbourhood.h"
#include "tables/lr_tables.h"
#include "transform/transform.h"
#include "trees/evaluation_tree.h"
#include "trees/tree_dot.h"
#include "grammar/grammar_text.h"
#include "grammar/text_reading.h"
#include "grammar/token_reading.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Case {
  std::string set;
  std::string name;
  std::string text;  // the grammar, lines ended by LF
  std::string word;
  double target;  // milliseconds no command may exceed; 0 for none
  bool withBison;
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

double since(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Processor milliseconds of this process, or of its children that ended.
double processorMilliseconds(bool children) {
  if (!children) {
    timespec now;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
  }
  rusage usage;
  getrusage(RUSAGE_CHILDREN, &usage);
  auto ms = [](const timeval& t) { return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3; };
  return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// The median time of one run in milliseconds: at least five runs and a
// quarter second, or a single run of a command that takes seconds.
template <class Work>
double medianMilliseconds(Work work, bool children = false) {
  std::vector<double> runs;
  Clock::time_point start = Clock::now();
  while (runs.empty() || (runs.size() < 5 && since(start) < 3000) || (since(start) < 250 && runs.size() < 1000)) {
    double before = processorMilliseconds(children);
    work();
    runs.push_back(processorMilliseconds(children) - before);
  }
  std::sort(runs.begin(), runs.end());
  return runs[runs.size() / 2];
}

// A shell command's time, or -1 when it failed or ran out of its time.
double processMilliseconds(const std::string& command) {
  bool failed = false;
  double ms = medianMilliseconds(
      [&] {
        int status = std::system(command.c_str());
        failed = failed || !WIFEXITED(status) || WEXITSTATUS(status) != 0;
      },
      true);
  return failed ? -1 : ms;
}

constexpr int kBisonSeconds = 60;

double bisonMilliseconds(const Parsing& model, const char* options) {
  std::string input = "/tmp/tablomat-bench.y";
  std::ofstream(input) << bisonGrammar(model);
  return processMilliseconds("timeout " + std::to_string(kBisonSeconds) + " bison -Wnone " + options +
                             " -o /tmp/tablomat-bench.tab.c " + input);
}

Parsing modelOf(const std::string& text) {
  Parsing model;
  if (declaresTokenNotation(text)) {
    model.loadGrammar(readGrammarText(text).grammar);
    return model;
  }
  GrammarReading reading = readGrammar(editorText(text));
  model.loadRules(reading.lines);
  return model;
}

// The statement grammar written in the token notation, and its program a
// token a character: the same analyses on symbols that are names, as a
// student's textbook grammar is.
Case tokenStatements(const std::string& statements, const std::string& program) {
  Grammar grammar = modelOf(statements).typed;
  grammar.notation = Notation::kTokens;
  std::string word;
  for (char c : program) word += (word.empty() ? "" : " ") + std::string(1, c);
  return {"tokens", "statements", grammarText(grammar), word, 20, false};
}

std::string bisonText(double ms) {
  char text[32];
  if (ms < 0) return "over " + std::to_string(kBisonSeconds) + " s";
  std::snprintf(text, sizeof text, "%.3f", ms);
  return text;
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
  EvaluationTree tree(model, parsed);
  std::string size = std::to_string(tree.nodes().size()) + " nodes";
  std::vector<Timed> times{{"tree", medianMilliseconds([&] {
                              EvaluationTree(model, parsed).forest();
                            }),
                            size, false}};
  if (tree.nodes().size() <= static_cast<size_t>(kDrawableTreeNodes)) {
    std::string dot = forestDot(model.typed, tree.forest());
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

// Every transformation of the examples and of the statement grammar, its
// check of the goal and of the words up to six terminals included (most of
// the time), and the grading of its result as an answer.
bool benchTransformations(const std::vector<Case>& cases) {
  constexpr double kExampleTarget = 50, kStatementTarget = 1000;
  bool met = true;
  for (const Case& c : cases) {
    if (c.set != "examples" && c.set != "statements") continue;
    GrammarTextReading typed = readGrammarText(c.text);
    if (!typed.isSound()) continue;
    for (const auto& [name, kind] : transformKinds()) {
      std::string outcome, key;
      double ms = medianMilliseconds([&] {
        try {
          key = grammarText(transformGrammar(typed.grammar, kind).grammar);
        } catch (const TransformRefused&) {
          outcome = "  refused";
        } catch (const WorkStopped&) {
          outcome = "  stopped at a limit";
        }
      });
      double gradeMs = key.empty() ? 0 : medianMilliseconds([&] { gradeTransformation(typed.grammar, kind, key); });
      bool over = ms > (c.set == "examples" ? kExampleTarget : kStatementTarget);
      met = met && !over;
      std::printf("%-10s %-11s %-15s %10.3f  grade %8.3f%s%s\n", "transform", c.name.c_str(), std::string(name).c_str(), ms,
                  gradeMs, outcome.c_str(), over ? "  over target" : "");
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
  found.milliseconds = since(start);
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
        ours[static_cast<size_t>(kind)].milliseconds += since(start);
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
        report += since(start);
      }
    std::printf("%-10s %-6s %46.2f ms for the grammar report%s\n", set.c_str(), "report", report,
                set == "examples" ? "s" : "");
  }
}

// The commands timed: those of tablomat-cli, and the LALR conflict count.
std::vector<std::string> commandNames() {
  std::vector<std::string> names;
  for (const CommandInfo& command : commandInfos()) names.emplace_back(command.name);
  names.emplace_back("lalr-count");
  return names;
}

void compute(const std::string& name, const Case& c) {
  Parsing model = modelOf(c.text);
  if (name == "check") return;
  if (name == "lalr-count") {
    conflictCount(model, TableKind::kLALR);
    return;
  }
  computeCommand(*commandNamed(name), model, HString(c.word.data(), static_cast<int>(c.word.size())));
}

// A word of the long grammar: an expression over its first three words.
std::string wordsOf(const std::string& grammar) {
  std::vector<std::string> words;
  for (size_t at = grammar.find("\nW->"); at != std::string::npos && words.size() < 3;
       at = grammar.find("\nW->", at + 1))
    words.push_back(grammar.substr(at + 4, grammar.find('\n', at + 1) - at - 4));
  return words[0] + "*(" + words[1] + "+" + words[2] + ");" + words[0];
}

// What was made linear for input far beyond hand-written grammars: the
// tables of one rule of 32000 symbols (under 1 s each) and the parse tree
// of a word 130000 levels deep, replayed and written as DOT and JSON
// (under 2 s each).
bool benchBounds() {
  bool met = true;
  auto line = [&](const char* grammar, const std::string& what, double ms, double target) {
    bool over = ms > target;
    met = met && !over;
    std::printf("%-10s %-10s %-11s %12.3f%s\n", "bounds", grammar, what.c_str(), ms, over ? "  over target" : "");
  };
  Parsing rule = modelOf("I->S\nS->" + std::string(32000, 'a') + "\n");
  for (TableKind kind : {TableKind::kSLR, TableKind::kLR1, TableKind::kLALR})
    line("rule32k", std::string(tableName(kind)) + "-table", medianMilliseconds([&] { table(rule, kind); }), 1000);
  Parsing chain = modelOf("S->aS|b\n");
  std::string word = std::string(130000, 'a') + "b";
  WorkLimits unwritten;  // the trace is replayed, not written
  unwritten.outputMiB = LONG_MAX;
  auto tree = [&] {
    WorkScope scope(unwritten);
    Evaluation parsed = evaluation(chain, TableKind::kLL1, HString(word.data(), static_cast<int>(word.size())));
    return EvaluationTree(chain, parsed).forest();
  };
  line("tree130k", "tree", medianMilliseconds([&] { tree(); }), 2000);
  std::vector<Tree> forest = tree();
  line("tree130k", "tree-dot", medianMilliseconds([&] { forestDot(chain.typed, forest); }), 2000);
  line("tree130k", "tree-json", medianMilliseconds([&] { treeJson(chain.typed, forest[0]); }), 2000);
  return met;
}

bool lalrCommand(const std::string& name) {
  return name == "lalr-table" || name == "lalr-eval" || name == "lalr-count";
}

std::vector<Case> benchCases(const std::string& dir) {
  std::vector<Case> cases;
  for (const Example& example : examples()) {
    std::string text;
    for (const char* const* line = example.lines; *line != nullptr; ++line) text += std::string(*line) + "\n";
    cases.push_back({"examples", example.name, text, example.word, 2, true});
  }
  std::string program = fileText(dir + "/statements.word");
  program.erase(program.find_last_not_of("\r\n") + 1);
  std::string statements = fileText(dir + "/statements.txt");
  cases.push_back({"statements", "statements", statements, program, 20, true});
  cases.push_back(tokenStatements(statements, program));
  cases.push_back({"random", "random", fileText(dir + "/random.txt"), "", 2000, true});
  for (int n : {10, 14, 18, 22})
    cases.push_back({"chains", "chain" + std::to_string(n), explosiveChain(n),
                     std::string(static_cast<size_t>(n), 'y') + "x", 0, true});
  cases.push_back({"chains", "closed16", explosiveChain(16, true), "zyzyzyzyzyzyzyzyx", 0, true});
  std::string long100k = longGrammar(100000);
  cases.push_back({"long", "long", long100k, wordsOf(long100k), 0, true});
  return cases;
}

int runBenchmark(const std::string& dir, const std::vector<std::string>& sets, const std::string& cli) {
  std::vector<Case> cases = benchCases(dir);
  const Case& classic = *std::find_if(cases.begin(), cases.end(), [](const Case& c) { return c.set == "statements"; });
  const std::string &statements = classic.text, &program = classic.word;

  std::printf("%-10s %-10s %-11s %12s %9s %9s\n", "set", "grammar", "command", "ms", "/bison1", "/bisonLA");
  bool met = true;
  auto report = [&](const Case& c, const std::string& what, double ms, double bisonLR1, double bisonLALR,
                    const std::string& note) {
    std::printf("%-10s %-10s %-11s %12.3f", c.set.c_str(), c.name.c_str(), what.c_str(), ms);
    if (c.withBison) {
      if (bisonLR1 > 0)
        std::printf(" %9.3f", ms / bisonLR1);
      else
        std::printf(" %9s", "-");
      if (bisonLALR > 0)
        std::printf(" %9.3f", ms / bisonLALR);
      else
        std::printf(" %9s", "-");
    }
    std::printf("%s\n", note.c_str());
    std::fflush(stdout);
  };
  auto chosen = [&](const std::string& set) { return sets.empty() || std::find(sets.begin(), sets.end(), set) != sets.end(); };
  for (const Case& c : cases) {
    if (!chosen(c.set)) continue;
    Parsing model = modelOf(c.text);
    double bisonLR1 = 0, bisonLALR = 0;
    if (c.withBison) {
      bisonLR1 = bisonMilliseconds(model, "-Dlr.type=canonical-lr");
      bisonLALR = bisonMilliseconds(model, "");
      std::printf("%-10s %-10s %-11s %12s\n", c.set.c_str(), c.name.c_str(), "bison-lr1", bisonText(bisonLR1).c_str());
      std::printf("%-10s %-10s %-11s %12s\n", c.set.c_str(), c.name.c_str(), "bison-lalr",
                  bisonText(bisonLALR).c_str());
    }
    bool lalrConflicts = conflictCount(model, TableKind::kLALR) > 0;
    for (const std::string& name : commandNames()) {
      std::string stopped;
      double ms = medianMilliseconds([&] {
        WorkScope scope;
        try {
          compute(name, c);
        } catch (const WorkStopped& e) {
          stopped = e.what();
        }
      });
      bool over = c.target > 0 && ms > c.target;
      if (c.set == "random" && name == "lr1-table") over = over || (bisonLR1 > 0 && ms > bisonLR1);
      if (c.set == "random" && name == "lalr-table") over = over || (bisonLALR > 0 && ms > bisonLALR);
      if (c.withBison && !lalrConflicts && lalrCommand(name))
        over = over || (bisonLALR > 0 && ms > bisonLALR / 2) || !stopped.empty();
      if (c.name == "closed16" && name == "lr1-items") over = over || ms > 6000 || !stopped.empty();
      if (c.set == "long" && name == "check") over = over || ms > 500;
      met = met && !over;
      report(c, name, ms, bisonLR1, bisonLALR,
             (stopped.empty() ? "" : "  stopped at a limit") + std::string(over ? "  over target" : ""));
    }
    // Tracing the rule lines back to the editor, as a click on an error message does.
    double ms = medianMilliseconds([&] { sourceLines(c.text); });
    bool over = ms > (c.target > 0 ? c.target : 2000);
    met = met && !over;
    report(c, "src-lines", ms, 0, 0, over ? "  over target" : "");
  }

  // The drawings, exercises and counterexamples of the grammars people work
  // with; the statement grammar in tokens is drawn and explained too, while
  // exercises and transformations start from classic grammars.
  std::vector<Case> taught, drawn;
  for (const Case& c : cases) {
    if ((c.set == "examples" || c.set == "statements" || c.set == "random") && chosen(c.set)) taught.push_back(c);
    if ((c.set == "examples" || c.set == "statements" || c.set == "random" || c.set == "tokens") && chosen(c.set))
      drawn.push_back(c);
  }
  if (!drawn.empty()) {
    std::printf("\n%-10s %-11s %-11s %10s  %s\n", "set", "grammar", "drawing", "ms", "size");
    for (const Case& c : drawn) {
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
    std::printf("\n");
    met = benchExercises(taught) && met;
    met = benchTransformations(taught) && met;
    benchCounterexamples(drawn);
    std::printf("\n");
  }

  if (chosen("bounds")) met = benchBounds() && met;

  // The trace as the tool writes it: about 15000 rows, each with the rest of the input.
  std::string word = program + program.substr(0, 290);
  if (!chosen("process")) {
    std::printf("%s\n", met ? "every target met" : "some targets missed");
    return met ? 0 : 1;
  }
  std::ofstream(std::string("/tmp/tablomat-bench-statements.txt")) << statements;
  for (const char* command : {"slr-eval", "lr1-eval", "lalr-eval"}) {
    double ms = processMilliseconds(cli + " " + command + " /tmp/tablomat-bench-statements.txt --word '" + word +
                                    "' > /dev/null");
    bool over = ms < 0 || ms > 100;
    met = met && !over;
    std::printf("%-10s %-10s %-11s %12.3f  (tablomat-cli to /dev/null, %zu-character word)%s\n", "process",
                "statements", command, ms, word.size(), over ? "  over target" : "");
  }
  std::printf("%s\n", met ? "every target met" : "some targets missed");
  return met ? 0 : 1;
}

// What one line of the first grammar of a set times, done once, so that a
// profiler sees it alone: valgrind --tool=callgrind
// --toggle-collect='*onceMeasured*' counts its instructions whatever the
// load of the machine.  A command as the table above times it (reading the
// grammar included), an automaton's graph as the drawings do.
[[gnu::noinline]] void onceMeasured(const Case& c, const std::string& line, const Parsing& model) {
  for (GraphKind kind : kGraphKinds)
    if (line == (kind == GraphKind::kLR0 ? "lr0-graph" : kind == GraphKind::kLR1 ? "lr1-graph" : "lalr-graph")) {
      automatonGraph(model, kind);
      return;
    }
  compute(line, c);
}

int runOnce(const std::string& dir, const std::string& set, const std::string& line) {
  std::vector<std::string> names = commandNames();
  if (std::find(names.begin(), names.end(), line) == names.end() && !line.ends_with("-graph"))
    throw std::invalid_argument("no line " + line);
  for (const Case& c : benchCases(dir))
    if (c.set == set) {
      Parsing model = modelOf(c.text);
      WorkScope scope;
      onceMeasured(c, line, model);
      return 0;
    }
  throw std::invalid_argument("no set " + set);
}

// The LALR table of both routes on `count` seeded random grammars, every
// other one of the larger kind.
int runRoutes(unsigned count) {
  Clock::time_point start = Clock::now();
  unsigned sound = 0, conflicted = 0, reordered = 0, failed = 0;
  auto texts = [](const Table& table) {
    std::string text;
    for (const Row& row : table)
      for (const HString& cell : row) text.append(cell.view()).push_back('\t');
    return text;
  };
  for (unsigned seed = 1; seed <= count; ++seed) {
    std::string word;
    GrammarReading reading = readGrammar(editorText(randomGrammar(seed, word, seed % 2 == 0)));
    if (!reading.isSound()) continue;
    Parsing model;
    model.loadRules(reading.lines);
    ++sound;
    if (conflictCount(model, TableKind::kLALR) > 0) {
      ++conflicted;
      // How often the route matters: the entries of a conflict in another order.
      reordered += texts(lookaheadTableOf(model, buildLalrAutomaton(model))) != texts(lalrTable(model));
    }
    std::vector<std::string> problems = checkLalrRoutes(model);
    if (problems.empty()) continue;
    ++failed;
    std::printf("seed %u: %s\n", seed, problems.front().c_str());
  }
  std::printf(
      "%u grammars, %u sound, %u with LALR conflicts (%u of them with entries in another order on the LR(0) "
      "states), %u differing, %.1f s\n",
      count, sound, conflicted, reordered, failed, since(start) / 1000);
  return failed == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  try {
    if (args.size() == 3 && args[0] == "--print") {
      int n = std::stoi(args[2]);
      std::string text = args[1] == "chain"    ? explosiveChain(n)
                         : args[1] == "closed" ? explosiveChain(n, true)
                         : args[1] == "long"   ? longGrammar(n)
                                               : throw std::invalid_argument("no family " + args[1]);
      std::fwrite(text.data(), 1, text.size(), stdout);
      return 0;
    }
    if (args.size() == 4 && args[0] == "--once") return runOnce(args[1], args[2], args[3]);
    if (args.size() == 2 && args[0] == "--routes") return runRoutes(static_cast<unsigned>(std::stoul(args[1])));
    if (!args.empty() && !args[0].starts_with("--"))
      return runBenchmark(args[0], std::vector<std::string>(args.begin() + 1, args.end()), TABLOMAT_CLI_PATH);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tablomat-bench: %s\n", e.what());
    return 2;
  }
  std::fprintf(stderr,
               "usage: tablomat-bench GRAMMAR_DIR [SET...]\n"
               "       tablomat-bench --print chain|closed|long N\n"
               "       tablomat-bench --routes N\n"
               "       tablomat-bench --once GRAMMAR_DIR SET LINE\n");
  return 2;
}
