// A parse tree drawn natively from Graphviz's coordinates, as it grows.
// The whole tree (or forest, for a rejected word) of an evaluation is laid
// out once, so nothing moves while the user steps: after step k only the
// nodes made by then are shown, the LL(1) tree growing from its root
// down, the LR forest joining from its leaves up.  The nodes step k made
// or matched stand out.
#pragma once

#include <QGraphicsScene>
#include <vector>

#include "layout/graphviz.h"
#include "trees/evaluation_tree.h"

class TreeScene : public QGraphicsScene {
  Q_OBJECT

 public:
  explicit TreeScene(QObject* parent = nullptr);

  // Draws the final forest of the tree as laid out from forestDot(grammar,
  // tree.forest()), naming symbols as the grammar's notation does.
  void draw(const Grammar& grammar, const EvaluationTree& tree, const GraphLayout& layout);
  // Shows the tree after the first `done` steps.
  void showAfter(int done);
  // The nodes shown, and those step `done` made, expanded or matched.
  int shownNodes() const;
  int currentNodes() const;
  // The drawn item of a node of the tree, or nullptr.
  QGraphicsItem* nodeItem(int node) const;

 private:
  class Symbol;

  // Per drawn item: what decides whether it shows.
  struct Part {
    QGraphicsItem* item;
    int node;      // the tree node it draws or leads to
    bool empty;    // the mark under an empty production (or the edge to it)
    bool symbol;   // a node rather than an edge
  };

  const EvaluationTree* tree_ = nullptr;
  std::vector<Part> parts_;
  std::vector<Symbol*> symbols_;  // by tree node, nullptr when not drawn
  int done_ = -1;
};
