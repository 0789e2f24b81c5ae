// Replaying the steps.  Each step holds the stack and input position it
// began with, the action it took and the cells it read, which is all the
// tree needs: the LL(1) stack's top is the node to expand or match next,
// and the LR stack of states runs beside a stack of trees that shifts and
// reductions change alike.
#include "trees/evaluation_tree.h"

#include <algorithm>

#include "core/work.h"

namespace {

// The cell of a typed table's row and column as the text's (row, column).
CellRef cellOf(int row, int column) { return row >= 0 && column >= 0 ? CellRef{row + 1, column + 1} : CellRef{}; }

}  // namespace

EvaluationTree::EvaluationTree(const Parsing& grammar, const Evaluation& evaluation) {
  if (evaluation.typedTable && evaluation.steps) *this = EvaluationTree(grammar.typed, *evaluation.typedTable, *evaluation.steps);
  else if (evaluation.typedTable) kind_ = evaluation.typedTable->kind;
}

EvaluationTree::EvaluationTree(const Grammar& grammar, const ParseTable& table, const EvaluationSteps& steps)
    : kind_(table.kind) {
  if (grammar.productions.empty()) return;
  if (kind_ == TableKind::kLL1)
    replayLL1(grammar, table.ll1, steps.ll1);
  else
    replayLR(grammar, table.lr, steps.lr);
}

int EvaluationTree::newNode(Symbol symbol, int born) {
  TreeNode node;
  node.symbol = symbol;
  node.born = born;
  nodes_.push_back(std::move(node));
  return static_cast<int>(nodes_.size()) - 1;
}

void EvaluationTree::adopt(int parent, const std::vector<int>& children, int step) {
  TreeNode& node = nodes_[static_cast<size_t>(parent)];
  node.children = children;
  node.expanded = true;
  node.grown = step;
  for (int child : children) nodes_[static_cast<size_t>(child)].parent = parent;
}

void EvaluationTree::replayLL1(const Grammar& grammar, const LL1Table& table, const LL1Parse& parse) {
  // The nodes of the stack's symbols above the end marker, the top last.
  std::vector<int> pending{newNode(grammar.start(), 0)};
  int step = 0;
  for (const LL1Step& s : parse.steps) {
    noteWork();
    Step done;
    ++step;
    bool nonTerminal = s.top >= 0 && s.top < grammar.symbolCount() && !grammar.isTerminal(s.top);
    if (nonTerminal) done.action = cellOf(s.top, table.column(parse.word.symbols[static_cast<size_t>(s.position)]));
    steps_.push_back(done);
    if (pending.empty() || s.move == LL1Move::kError || s.move == LL1Move::kAccept) continue;
    int node = pending.back();
    pending.pop_back();
    if (s.move == LL1Move::kMatch) {
      nodes_[static_cast<size_t>(node)].matched = step;
      continue;
    }
    std::vector<int> children;
    int production = table.cell(s.top, s.column).front();
    for (Symbol symbol : grammar.productions[static_cast<size_t>(production)].body)
      children.push_back(newNode(symbol, step));
    adopt(node, children, step);
    pending.insert(pending.end(), children.rbegin(), children.rend());
  }
}

void EvaluationTree::replayLR(const Grammar& grammar, const LRTable& table, const LRParse& parse) {
  std::vector<int> stack;  // the trees on the stack, bottom first
  // Joins the top trees under a node for the production's head.
  auto reduce = [&](int production, int at) {
    const Production& p = grammar.productions[static_cast<size_t>(production)];
    size_t pops = std::min(p.body.size(), stack.size());
    std::vector<int> children(stack.end() - static_cast<long>(pops), stack.end());
    stack.resize(stack.size() - pops);
    int node = newNode(p.head, at);
    adopt(node, children, at);
    stack.push_back(node);
  };
  int step = 0;
  for (const LRStep& s : parse.steps) {
    noteWork();
    Step done;
    ++step;
    done.state = parse.stateOf(s);
    done.action = cellOf(done.state, s.column);
    if (s.move == LRMove::kShift) {
      stack.push_back(newNode(parse.word.symbols[static_cast<size_t>(s.position)], step));
    } else if (s.move == LRMove::kReduce) {
      reduce(s.production, step);
      done.gotoCell = cellOf(s.gotoState, table.column(grammar.productions[static_cast<size_t>(s.production)].head));
    } else if (s.move == LRMove::kAccept) {
      reduce(0, step);
    }
    steps_.push_back(done);
  }
}

std::vector<int> EvaluationTree::rootsAfter(int done) const {
  std::vector<int> roots;
  for (size_t k = 0; k < nodes_.size(); ++k) {
    const TreeNode& node = nodes_[k];
    if (node.born > done) break;  // nodes are made in step order
    if (node.parent == -1 || nodes_[static_cast<size_t>(node.parent)].born > done) roots.push_back(static_cast<int>(k));
  }
  return roots;
}

Tree EvaluationTree::treeOf(int root, int done) const {
  auto grown = [&](const TreeNode& n) { return n.expanded && n.grown <= done; };
  // A preorder that takes the last child first, read backwards, is the
  // postorder: every node comes after its children, left to right, which
  // then stand on top of the stack of trees made so far.
  std::vector<int> order;
  std::vector<int> pending{root};
  while (!pending.empty()) {
    int k = pending.back();
    pending.pop_back();
    order.push_back(k);
    const TreeNode& n = nodes_[static_cast<size_t>(k)];
    if (grown(n)) pending.insert(pending.end(), n.children.begin(), n.children.end());
  }
  std::vector<Tree> made;
  for (auto k = order.rbegin(); k != order.rend(); ++k) {
    const TreeNode& n = nodes_[static_cast<size_t>(*k)];
    if (!grown(n)) {
      made.push_back(Tree::leaf(n.symbol));
      continue;
    }
    auto first = made.end() - static_cast<long>(n.children.size());
    std::vector<Tree> children(std::make_move_iterator(first), std::make_move_iterator(made.end()));
    made.erase(first, made.end());
    made.push_back(Tree::node(n.symbol, std::move(children)));
  }
  return std::move(made.back());
}

std::vector<Tree> EvaluationTree::forestAfter(int done) const {
  std::vector<Tree> forest;
  for (int root : rootsAfter(done)) forest.push_back(treeOf(root, done));
  return forest;
}

std::vector<int> EvaluationTree::preorder() const {
  std::vector<int> order;
  std::vector<int> pending;
  std::vector<int> roots = rootsAfter(steps());
  pending.assign(roots.rbegin(), roots.rend());
  while (!pending.empty()) {
    int node = pending.back();
    pending.pop_back();
    order.push_back(node);
    const std::vector<int>& children = nodes_[static_cast<size_t>(node)].children;
    pending.insert(pending.end(), children.rbegin(), children.rend());
  }
  return order;
}
