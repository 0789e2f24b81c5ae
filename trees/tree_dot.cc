// The trees of a forest stand side by side in their order: their roots
// share a rank and are chained by invisible edges, which with
// ordering=out keeps Graphviz from swapping them.
#include "trees/tree_dot.h"

#include "core/work.h"
#include "grammar/symbol_text.h"
#include "layout/dot_text.h"

namespace {

constexpr const char* kEmptyColour = "gray45";

// Writes the tree's nodes and edges, numbered from `next` in preorder;
// returns the number of its root.  An edge is written when its child's
// subtree is done, so the edges come out in the order of a depth-first
// drawing.
int write(const Grammar& grammar, const Tree& tree, int& next, std::string& nodes, std::string& edges) {
  int root = next;
  std::vector<int> numbers;  // of the nodes from the root down to the current one
  auto edge = [&](int from, const std::string& child) {
    std::string name = "n" + std::to_string(from);
    edges += "  " + name + " -> " + child + " [id=\"to" + child + "\"];\n";
  };
  walkTree(
      tree,
      [&](const Tree& node, size_t, size_t) {
        int k = next++;
        numbers.push_back(k);
        std::string name = "n" + std::to_string(k);
        nodes += "  " + name + " [id=\"" + name + "\", label=" + dotString(symbolText(grammar, node.symbol));
        if (!isNonTerminalSymbol(grammar, node.symbol)) nodes += std::string(", fontcolor=\"") + kTerminalColour + "\"";
        nodes += "];\n";
        if (node.expanded && node.children.empty()) {
          std::string empty = "e" + std::to_string(k);
          nodes += "  " + empty + " [id=\"" + empty + "\", label=" + dotString(symbolText(grammar, kEmpty)) + ", fontcolor=\"" + kEmptyColour + "\"];\n";
          edge(k, empty);
        }
        noteOutput(static_cast<long>(nodes.size() + edges.size()));
      },
      [&](const Tree&, size_t) {
        int k = numbers.back();
        numbers.pop_back();
        if (!numbers.empty()) edge(numbers.back(), "n" + std::to_string(k));
      });
  return root;
}

}  // namespace

std::string forestDot(const Grammar& grammar, const std::vector<Tree>& forest) {
  std::string nodes, edges, roots;
  int next = 0;
  for (const Tree& tree : forest) {
    int root = write(grammar, tree, next, nodes, edges);
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
