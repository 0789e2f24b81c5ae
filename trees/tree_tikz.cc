// The nodes are found again by the names forestDot gives them: "n" + the
// node's number in preorder, "e" + its parent's number for the child of an
// empty production.
#include "trees/tree_tikz.h"

#include "grammar/symbol_text.h"
#include "layout/graphviz.h"
#include "trees/tree_dot.h"
#include "layout/tikz.h"

namespace {

void preorder(const Tree& tree, std::vector<const Tree*>& nodes) {
  walkTree(
      tree, [&](const Tree& node, size_t, size_t) { nodes.push_back(&node); }, [](const Tree&, size_t) {});
}

}  // namespace

std::string forestTikz(const Grammar& grammar, const std::vector<Tree>& forest) {
  std::vector<const Tree*> nodes;
  for (const Tree& tree : forest) preorder(tree, nodes);
  GraphLayout layout = layoutDot(forestDot(grammar, forest));
  TikzPicture picture;
  picture.fontSize = "\\normalsize";
  for (const PlacedNode& node : layout.nodes) {
    TikzNode tikz{node.name, node.centre, node.width, node.height, {}, -1, false, "", "", false};
    std::size_t k = std::stoul(node.name.substr(1));
    if (node.name[0] == 'e') {
      tikz.lines = {symbolText(grammar, kEmpty)};
      tikz.colour = kEmptyHex;
    } else {
      Symbol symbol = nodes[k]->symbol;
      tikz.lines = {symbolText(grammar, symbol)};
      if (!isNonTerminalSymbol(grammar, symbol)) tikz.colour = kTerminalColour;
    }
    picture.nodes.push_back(std::move(tikz));
  }
  for (const PlacedEdge& edge : layout.edges)
    if (!edge.id.empty()) picture.edges.push_back(TikzEdge{edge.spline, false, {}, "", {}, "", false, false});
  return tikzPicture(picture);
}
