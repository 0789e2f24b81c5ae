// The trees of a forest stand side by side in their order: their roots
// share a rank and are chained by invisible edges, which with
// ordering=out keeps Graphviz from swapping them.
#include "trees/tree_dot.h"

#include "graphs/dot_text.h"

namespace {

constexpr const char* kEmptyColour = "gray45";

// Writes the tree's nodes and edges; returns the number of its root.
int write(const Tree& tree, int& next, std::string& nodes, std::string& edges) {
  int k = next++;
  std::string name = "n" + std::to_string(k);
  nodes += "  " + name + " [id=\"" + name + "\", label=" + dotString(std::string(1, tree.symbol));
  if (!isNonTerminalSymbol(tree.symbol)) nodes += std::string(", fontcolor=\"") + kTerminalColour + "\"";
  nodes += "];\n";
  auto edge = [&](const std::string& child) {
    edges += "  " + name + " -> " + child + " [id=\"to" + child + "\"];\n";
  };
  if (tree.expanded && tree.children.empty()) {
    std::string empty = "e" + std::to_string(k);
    nodes += "  " + empty + " [id=\"" + empty + "\", label=\"e\", fontcolor=\"" + kEmptyColour + "\"];\n";
    edge(empty);
  }
  for (const Tree& child : tree.children) edge("n" + std::to_string(write(child, next, nodes, edges)));
  return k;
}

}  // namespace

std::string forestDot(const std::vector<Tree>& forest) {
  std::string nodes, edges, roots;
  int next = 0;
  for (const Tree& tree : forest) {
    int root = write(tree, next, nodes, edges);
    roots += (roots.empty() ? "" : " -> ") + std::string("n") + std::to_string(root);
  }
  std::string dot = "digraph \"parse tree\" {\n";
  dot += "  graph [ordering=out, nodesep=0.18, ranksep=0.3];\n";
  dot += "  node [shape=plaintext, fontname=\"Courier\", fontsize=14, width=0.3, height=0.3, margin=0.02];\n";
  dot += "  edge [arrowhead=none];\n";
  dot += nodes + edges;
  if (forest.size() > 1) dot += "  { rank=same; " + roots + " [style=invis]; }\n";
  return dot + "}\n";
}
