#include "cli/graph_commands.h"

#include <CLI/CLI.hpp>

#include <climits>

#include "core/work.h"
#include "graphs/automaton_dot.h"
#include "graphs/automaton_tikz.h"
#include "layout/graphviz.h"
#include "graphs/neighbourhood.h"
#include "tables/conflicts.h"
#include "trees/evaluation_tree.h"
#include "trees/tree_dot.h"
#include "trees/tree_tikz.h"

const std::vector<CommandInfo>& graphCommandInfos() {
  static const std::vector<CommandInfo> kCommands = commandsOfKind({CommandKind::kGraph});
  return kCommands;
}

bool isGraphCommand(std::string_view name) { return listed(graphCommandInfos(), name); }

void addDrawingOptions(CLI::App& app, DrawingOptions& options) {
  app.add_flag("--tree", options.tree, "with an evaluation: print its parse tree (text, dot, json or tikz)");
  app.add_option("--state", options.state, "with a graph: draw the neighbourhood of state N")
      ->type_name("N")
      ->check(CLI::NonNegativeNumber);
  app.add_option("--depth", options.depth, "how many arcs the neighbourhood reaches (default 2)")
      ->type_name("D")
      ->check(CLI::NonNegativeNumber)
      ->each([&options](const std::string&) { options.depthGiven = true; });
  app.add_flag("--kernel", options.kernel, "with a graph: the kernel items of each state alone");
}

bool isDrawing(std::string_view command, const DrawingOptions& options) {
  return isGraphCommand(command) || options.tree;
}

namespace {

bool isEvaluation(std::string_view command) {
  const CommandInfo* found = commandNamed(command);
  return found != nullptr && found->kind == CommandKind::kEvaluation;
}

bool oneOf(const std::string& format, std::initializer_list<const char*> names) {
  for (const char* name : names)
    if (format == name) return true;
  return false;
}

}  // namespace

std::string drawingMisuse(std::string_view command, const std::string& format, const DrawingOptions& options) {
  std::string name(command);
  bool graph = isGraphCommand(command);
  if (!graph && (options.state >= 0 || options.depthGiven || options.kernel))
    return "--state, --depth and --kernel go with the graph commands (lr0-graph, lr1-graph, lalr-graph)";
  if (options.tree && !isEvaluation(command))
    return "--tree goes with the evaluation commands (ll1-eval, slr-eval, lr1-eval, lalr-eval)";
  if (options.depthGiven && options.state < 0) return "--depth needs --state, the state at the centre";
  if (graph && !format.empty() && !oneOf(format, {"dot", "svg", "tikz"}))
    return name + " writes dot (the default), svg or tikz, not " + format;
  if (options.tree && !format.empty() && !oneOf(format, {"text", "dot", "json", "tikz"}))
    return "--tree prints text (the default), dot, json or tikz, not " + format;
  if (!isDrawing(command, options) && oneOf(format, {"dot", "svg", "tikz"}))
    return "the format " + format + " is for the graph commands and, dot and tikz only, for --tree";
  return "";
}

namespace {

// A whole automaton's DOT, for a layout program of the user's, is written up
// to a size far above what a drawing shows (kDrawableStates) but well below
// the output bound: a few megabytes.
constexpr size_t kWholeDotStates = 1000;
constexpr size_t kWholeDotEdges = 5000;

// The limits for work whose text is held, not written: the trace a tree is
// replayed from, whose rows repeat the rest of the word, and the listing a
// graph reads its states from.  What is written is bounded as it is.
WorkLimits unwrittenLimits() {
  WorkLimits limits = currentLimits();
  limits.outputMiB = LONG_MAX;
  return limits;
}

void usage(Outcome& outcome, const std::string& message) {
  outcome.diagnostics.push_back(message);
  outcome.status = kExitUsage;
}

void drawGraph(std::string_view command, const Parsing& model, const std::string& format,
               const DrawingOptions& options, Outcome& outcome) {
  AutomatonGraph graph;
  {
    WorkScope scope(unwrittenLimits());
    graph = automatonGraph(model, commandNamed(command)->graph);
  }
  DotOptions dot;
  dot.closure = !options.kernel;
  if (options.state >= 0) {
    if (static_cast<size_t>(options.state) >= graph.states.size()) {
      usage(outcome, "state " + std::to_string(options.state) + " does not exist: the " +
                         graphKindName(graph.kind) + " automaton has states 0 to " +
                         std::to_string(graph.states.size() - 1));
      return;
    }
    Neighbourhood part = neighbourhood(graph, options.state, options.depth);
    dot.states = part.states;
    if (!part.whole)
      outcome.diagnostics.push_back("The neighbourhood of state " + std::to_string(options.state) + " to depth " +
                                    std::to_string(options.depth) + " is larger than a readable drawing; drawn are the " +
                                    std::to_string(part.states.size()) + " states nearest to it.");
  } else if (format != "dot" && !drawable(graph)) {
    usage(outcome, tooLargeToDraw(graph) +
                       "  Give --state N (and --depth D) for the neighbourhood of state N, or lay the dot output "
                       "out yourself.");
    return;
  } else if (graph.states.size() > kWholeDotStates || graph.edges.size() > kWholeDotEdges) {
    // Hundreds of megabytes that no layout program makes readable.
    outcome.diagnostics.push_back(
        std::string("The ") + graphKindName(graph.kind) + " automaton has " + std::to_string(graph.states.size()) +
        " states and " + std::to_string(graph.edges.size()) + " arcs; its whole graph is written up to " +
        std::to_string(kWholeDotStates) + " states and " + std::to_string(kWholeDotEdges) +
        " arcs.  Give --state N --depth D for the neighbourhood of state N.");
    outcome.status = kExitLimit;
    return;
  }
  if (format == "tikz") {
    outcome.document = automatonTikz(graph, dot);
    return;
  }
  std::string text = automatonDot(graph, dot);
  outcome.document = format == "svg" ? svgOfDot(text) : text;
}

std::size_t nodeCount(const Tree& tree) {
  std::size_t count = 1 + (tree.expanded && tree.children.empty() ? 1 : 0);
  for (const Tree& child : tree.children) count += nodeCount(child);
  return count;
}

void drawTree(std::string_view command, const Parsing& model, const std::string& word, const std::string& format,
              Outcome& outcome) {
  TableKind kind = commandNamed(command)->table;
  Evaluation parsed;
  {
    WorkScope scope(unwrittenLimits());
    parsed = evaluation(model, kind, HString(word.data(), static_cast<int>(word.size())));
  }
  if (parsed.refused()) {
    outcome.diagnostics.push_back(utf8ForDisplay(conflictMessage(parsed.conflicts).view()));
    outcome.status = kExitConflict;
    return;
  }
  if (!parsed.accepted()) outcome.status = kExitRejected;
  std::vector<Tree> forest = EvaluationTree(model, parsed).forest();
  if (format == "dot") {
    outcome.document = forestDot(model.typed, forest);
  } else if (format == "tikz") {
    std::size_t nodes = 0;
    for (const Tree& tree : forest) nodes += nodeCount(tree);
    if (nodes > static_cast<std::size_t>(kDrawableTreeNodes)) {
      usage(outcome, "The parse tree has " + std::to_string(nodes) + " nodes, more than the " +
                         std::to_string(kDrawableTreeNodes) + " a drawing can show readably; write it as text or dot.");
      return;
    }
    outcome.document = forestTikz(model.typed, forest);
  } else if (format == "json") {
    // The tree of an accepted word as an object; what a rejected word
    // left (the partial tree, or the forest on the LR stack) as an array,
    // and so the trees an acceptance leaves when the first rule does not
    // augment the grammar and joins only the top of the stack.
    std::string json;
    for (const Tree& tree : forest) json += (json.empty() ? "" : ", ") + treeJson(model.typed, tree);
    outcome.document = (parsed.accepted() && forest.size() == 1 ? json : "[" + json + "]") + "\n";
  } else {
    std::string text;
    for (const Tree& tree : forest)
      for (const std::string& line : treeLines(model.typed, tree)) text += line + "\n";
    outcome.document = text;
  }
}

}  // namespace

Outcome runDrawing(std::string_view command, const HString& grammarText, const std::string& word,
                   const std::string& format, const DrawingOptions& options, Notation notation) {
  Outcome outcome;
  Parsing model;
  if (!loadGrammar(grammarText, model, outcome.diagnostics, outcome.status, notation)) return outcome;
  try {
    if (isGraphCommand(command))
      drawGraph(command, model, format.empty() ? "dot" : format, options, outcome);
    else
      drawTree(command, model, word, format.empty() ? "text" : format, outcome);
  } catch (const GraphvizError& error) {
    outcome.document.reset();
    outcome.diagnostics.push_back(std::string("Graphviz: ") + error.what());
    outcome.status = kExitInternal;
  }
  return outcome;
}
