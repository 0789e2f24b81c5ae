// The states are laid out with fixed sizes measured for LaTeX's typewriter
// font at \footnotesize (8pt: characters 0.525em = 4.2pt wide, lines 9.5pt
// apart), so that the boxes TikZ draws are the boxes Graphviz placed and
// nothing overlaps.  Nodes and edges are found again by the names and ids
// the DOT text gives them.
#include "graphs/automaton_tikz.h"

#include "grammar/symbol_text.h"
#include "layout/tikz.h"

namespace {

constexpr BoxMetrics kTypewriterMetrics{4.2, 9.5, 4};
constexpr const char* kStubHex = "#666666";  // Graphviz's gray40

// The number after `prefix` in `name`, or -1 when the name is not prefix + number.
int numberAfter(const std::string& name, std::string_view prefix) {
  if (!name.starts_with(prefix) || name.size() == prefix.size()) return -1;
  std::string digits = name.substr(prefix.size());
  if (digits.find_first_not_of("0123456789") != std::string::npos) return -1;
  return std::stoi(digits);
}

TikzNode placed(const PlacedNode& node) {
  TikzNode tikz;
  tikz.name = node.name;
  tikz.centre = node.centre;
  tikz.width = node.width;
  tikz.height = node.height;
  return tikz;
}

}  // namespace

std::string automatonTikz(const AutomatonGraph& graph, DotOptions options) {
  options.metrics = kTypewriterMetrics;
  GraphLayout layout = layoutDot(automatonDot(graph, options));
  std::vector<int> hidden = hiddenArcCounts(graph, options.states);
  TikzPicture picture;
  for (const PlacedNode& node : layout.nodes) {
    TikzNode tikz = placed(node);
    if (int s = numberAfter(node.name, "s"); s >= 0) {
      const GraphState& state = graph.states[static_cast<std::size_t>(s)];
      tikz.state = true;
      tikz.lines = boxLines(state, options.closure);
      if (options.closure && !state.closure.empty()) tikz.ruleAfter = static_cast<int>(state.kernel.size());
      if (state.conflicting) tikz.fill = kConflictFill;
      if (s == options.marked) {
        tikz.colour = kMarkColour;
        tikz.heavy = true;
      }
    } else if (int m = numberAfter(node.name, "more"); m >= 0) {
      tikz.lines = {hiddenArcsText(hidden[static_cast<std::size_t>(m)])};
      tikz.colour = kStubHex;
    } else {
      tikz.lines = {"accept"};
      tikz.colour = kAcceptColour;
    }
    picture.nodes.push_back(std::move(tikz));
  }
  for (const PlacedEdge& edge : layout.edges) {
    TikzEdge tikz{edge.spline, edge.arrow, edge.tip, "", edge.label, "", false, false};
    if (int k = numberAfter(edge.id, "e"); k >= 0) {
      tikz.label = symbolText(graph.grammar, graph.edges[static_cast<std::size_t>(k)].symbol);
    } else if (numberAfter(edge.id, "accept") >= 0) {
      tikz.label = symbolText(graph.grammar, graph.grammar.endMarker());
      tikz.colour = kAcceptColour;
      tikz.thick = true;
    } else {
      tikz.colour = kStubHex;
      tikz.dashed = true;
    }
    if (!edge.labelled) tikz.label.clear();
    picture.edges.push_back(std::move(tikz));
  }
  return tikzPicture(picture);
}
