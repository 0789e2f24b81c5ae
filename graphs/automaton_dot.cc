// The DOT text of an automaton.  The layout runs left to right, as the
// automata are drawn in the textbooks; each state is a box with its title
// and items in an HTML-like label (kernel items, a rule, closure items),
// each transition an edge labelled with its symbol.  A drawing of part of
// the automaton shows, for each state whose arcs leave the part, a dashed
// stub that counts them, so that nothing looks complete that is not.
#include "graphs/automaton_dot.h"

#include <algorithm>
#include <cstdio>

#include "grammar/symbol_text.h"
#include "layout/dot_text.h"

namespace {

constexpr const char* kStubColour = "gray40";
constexpr int kDenseEdges = 60;

std::string number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4f", value);
  return text;
}

std::string row(const std::string& cell, bool left) {
  return std::string("<TR><TD") + (left ? " ALIGN=\"LEFT\"" : "") + ">" + cell + "</TD></TR>";
}

std::string label(const GraphState& state, bool closure) {
  std::string html = "<<TABLE BORDER=\"0\" CELLBORDER=\"0\" CELLSPACING=\"0\" CELLPADDING=\"1\">";
  html += row("<B>" + htmlText(state.title()) + "</B>", false);
  for (const std::string& item : state.kernel) html += row(htmlText(item), true);
  if (closure && !state.closure.empty()) {
    html += "<HR/>";
    for (const std::string& item : state.closure) html += row(htmlText(item), true);
  }
  return html + "</TABLE>>";
}

std::string stateNode(const AutomatonGraph& graph, int s, const DotOptions& options) {
  const GraphState& state = graph.states[static_cast<size_t>(s)];
  std::string name = "s" + std::to_string(s);
  std::string node = "  " + name + " [id=\"" + name + "\", label=" + label(state, options.closure);
  if (state.conflicting) node += std::string(", fillcolor=\"") + kConflictFill + "\"";
  if (s == options.marked) node += std::string(", penwidth=3, color=\"") + kMarkColour + "\"";
  if (options.metrics.charWidth > 0) {
    Point size = boxSize(state, options.closure, options.metrics);
    node += ", fixedsize=true, width=" + number(size.x / 72) + ", height=" + number(size.y / 72);
  }
  return node + "];\n";
}

}  // namespace

std::vector<std::string> boxLines(const GraphState& state, bool closure) {
  std::vector<std::string> lines{state.title()};
  lines.insert(lines.end(), state.kernel.begin(), state.kernel.end());
  if (closure) lines.insert(lines.end(), state.closure.begin(), state.closure.end());
  return lines;
}

Point boxSize(const GraphState& state, bool closure, const BoxMetrics& metrics) {
  size_t widest = 0;
  std::vector<std::string> lines = boxLines(state, closure);
  for (const std::string& line : lines) widest = std::max(widest, displayWidth(line));
  double rule = closure && !state.closure.empty() ? metrics.lineHeight / 2 : 0;
  return Point{2 * metrics.padding + metrics.charWidth * static_cast<double>(widest),
               2 * metrics.padding + metrics.lineHeight * static_cast<double>(lines.size()) + rule};
}

std::vector<int> hiddenArcCounts(const AutomatonGraph& graph, const std::vector<int>& states) {
  std::vector<int> counts(graph.states.size(), 0);
  if (states.empty()) return counts;
  std::vector<bool> drawn(graph.states.size(), false);
  for (int s : states) drawn[static_cast<size_t>(s)] = true;
  for (const GraphEdge& edge : graph.edges) {
    bool from = drawn[static_cast<size_t>(edge.from)], to = drawn[static_cast<size_t>(edge.to)];
    if (from && !to) ++counts[static_cast<size_t>(edge.from)];
    if (to && !from) ++counts[static_cast<size_t>(edge.to)];
  }
  return counts;
}

std::string hiddenArcsText(int count) { return std::to_string(count) + (count == 1 ? " more arc" : " more arcs"); }

std::string automatonDot(const AutomatonGraph& graph, const DotOptions& options) {
  std::vector<int> states = options.states;
  if (states.empty())
    for (const GraphState& state : graph.states) states.push_back(state.number);
  std::vector<bool> drawn(graph.states.size(), false);
  for (int s : states) drawn[static_cast<size_t>(s)] = true;
  std::vector<int> hidden = hiddenArcCounts(graph, options.states);

  int edges = 0;
  for (const GraphEdge& edge : graph.edges) edges += drawn[static_cast<size_t>(edge.from)] && drawn[static_cast<size_t>(edge.to)];

  std::string dot = "digraph " + dotString(std::string(graphKindName(graph.kind)) + " automaton") + " {\n";
  dot += "  graph [rankdir=LR, nodesep=0.3, ranksep=0.45";
  // Dense drawings: fewer rounds of crossing reduction and ranking, which
  // cost Graphviz most of its time there and gain little.
  if (edges > kDenseEdges) dot += ", mclimit=0.3, nslimit=0.5, nslimit1=0.5";
  dot += "];\n";
  dot += "  node [shape=box, style=\"rounded,filled\", fillcolor=white, fontname=\"Courier\", fontsize=11, "
         "margin=\"0.06,0.04\"];\n";
  dot += "  edge [fontname=\"Courier\", fontsize=12];\n";
  bool accepting = false;
  for (int s : states) {
    dot += stateNode(graph, s, options);
    accepting = accepting || graph.states[static_cast<size_t>(s)].accepting;
  }
  if (accepting)
    dot += std::string("  accept [id=\"accept\", shape=plaintext, style=\"\", label=\"accept\", fontcolor=\"") +
           kAcceptColour + "\"];\n";
  for (size_t k = 0; k < graph.edges.size(); ++k) {
    const GraphEdge& edge = graph.edges[k];
    if (!drawn[static_cast<size_t>(edge.from)] || !drawn[static_cast<size_t>(edge.to)]) continue;
    dot += "  s" + std::to_string(edge.from) + " -> s" + std::to_string(edge.to) + " [id=\"e" + std::to_string(k) +
           "\", label=" + dotString(symbolText(graph.grammar, edge.symbol)) + "];\n";
  }
  std::string end = dotString(symbolText(graph.grammar, graph.grammar.endMarker()));
  for (int s : states) {
    std::string n = std::to_string(s);
    if (graph.states[static_cast<size_t>(s)].accepting)
      dot += "  s" + n + " -> accept [id=\"accept" + n + "\", label=" + end + ", penwidth=2, color=\"" + kAcceptColour +
             "\", fontcolor=\"" + kAcceptColour + "\"];\n";
    if (hidden[static_cast<size_t>(s)] > 0) {
      dot += "  more" + n + " [id=\"more" + n + "\", shape=plaintext, style=\"\", label=" +
             dotString(hiddenArcsText(hidden[static_cast<size_t>(s)])) + ", fontcolor=\"" + kStubColour + "\"];\n";
      dot += "  s" + n + " -> more" + n + " [id=\"stub" + n + "\", style=dashed, arrowhead=none, color=\"" +
             kStubColour + "\"];\n";
    }
  }
  return dot + "}\n";
}
