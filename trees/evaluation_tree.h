// The parse tree an evaluation builds, replayed from its typed steps.  The LL(1)
// parse grows one tree from the start symbol down: each expansion gives the
// non-terminal on top of the stack its children.  An LR parse grows a
// forest from the leaves up: a shift adds a leaf, a reduction joins the
// trees on top of the stack under a new node, and the acceptance joins
// what is left under the head of production 0.  A rejected word leaves the
// partial tree (LL(1)) or the forest on the stack (LR) at the error.
//
// Every node remembers the step that made it, so the tree after any step
// is at hand, and every step the table cells it read.
#pragma once

#include <vector>

#include "simulation/evaluations.h"
#include "trees/tree.h"

// A cell of a table: its row (0 is the header) and column (0 the labels).
struct CellRef {
  int row = -1;
  int column = -1;
  bool valid() const { return row > 0 && column > 0; }
  bool operator==(const CellRef&) const = default;
};

struct TreeNode {
  Symbol symbol = kNoSymbol;  // the grammar's symbol, or its end marker
  int parent = -1;
  std::vector<int> children;
  bool expanded = false;  // a production gave it children (none for an empty one)
  int born = 0;           // the step that made it; 0 for the LL(1) root, made before the first
  int grown = -1;         // the step that gave it its children, -1 while it has none
  int matched = -1;       // LL(1): the step that matched this terminal with the input
};

class EvaluationTree {
 public:
  EvaluationTree() = default;
  // Replays the steps of an evaluation over the table they were made with;
  // a refused evaluation has none.
  EvaluationTree(const Parsing& grammar, const Evaluation& evaluation);
  EvaluationTree(const Grammar& grammar, const ParseTable& table, const EvaluationSteps& steps);

  TableKind kind() const { return kind_; }
  // The number of steps: the trace's rows without the header.
  int steps() const { return static_cast<int>(steps_.size()); }
  const std::vector<TreeNode>& nodes() const { return nodes_; }
  // The roots after the first `done` steps, left to right: the LL(1) root,
  // or the nodes on the LR stack from the bottom up.
  std::vector<int> rootsAfter(int done) const;
  // The trees after the first `done` steps (0 to steps()).
  std::vector<Tree> forestAfter(int done) const;
  std::vector<Tree> forest() const { return forestAfter(steps()); }
  // The nodes of the final forest in preorder: the k-th node drawn.
  std::vector<int> preorder() const;

  // For step k (1 to steps()): the cell its action was read from (none for
  // an LL(1) match, or when the input symbol heads no column); for a
  // reduction, the goto cell read after it.
  CellRef actionCell(int step) const { return steps_[static_cast<size_t>(step) - 1].action; }
  CellRef gotoCell(int step) const { return steps_[static_cast<size_t>(step) - 1].gotoCell; }
  // LR: the state on top of the stack when step k begins; -1 for LL(1).
  int stateAt(int step) const { return steps_[static_cast<size_t>(step) - 1].state; }

 private:
  struct Step {
    CellRef action, gotoCell;
    int state = -1;
  };

  void replayLL1(const Grammar& grammar, const LL1Table& table, const LL1Parse& parse);
  void replayLR(const Grammar& grammar, const LRTable& table, const LRParse& parse);
  int newNode(Symbol symbol, int born);
  // Gives `parent` the children, made or taken, at step `step`.
  void adopt(int parent, const std::vector<int>& children, int step);
  Tree treeOf(int node, int done) const;

  TableKind kind_ = TableKind::kLL1;
  std::vector<TreeNode> nodes_;
  std::vector<Step> steps_;
};
