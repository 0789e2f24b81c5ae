// Replaying a trace.  Each row holds the stack and input a step began with
// and the action it took, which is all the tree needs: the LL(1) stack's
// top is the node to expand or match next, and the LR stack of states runs
// beside a stack of trees that shifts and reductions change alike.  The
// cells are found as the evaluations find them, by the stack's top and the
// input's first symbol; a trace that does not fit its table (which the
// evaluations never write) gives cells marked as none and no crash.
#include "trees/evaluation_tree.h"

#include <algorithm>
#include <charconv>
#include <string_view>

#include "core/work.h"
#include "tables/table.h"

namespace {

enum Cell { kStack = 1, kInput = 2, kAction = 3 };

// The state numbers of an LR stack cell, bottom first.
std::vector<int> statesOf(std::string_view text) {
  std::vector<int> states;
  const char* at = text.data();
  const char* end = at + text.size();
  while (at < end) {
    if (*at == ' ') {
      ++at;
      continue;
    }
    int state = -1;
    auto [next, error] = std::from_chars(at, end, state);
    if (error != std::errc()) break;
    states.push_back(state);
    at = next;
  }
  return states;
}

// The last symbol of an LL(1) stack cell (its top), or '\0'.
char topOf(std::string_view text) {
  size_t end = text.find_last_not_of(' ');
  return end == std::string_view::npos ? '\0' : text[end];
}

// The cell (row, column) when both lie inside the table.
CellRef cellAt(const Table& table, int row, int column) {
  if (row <= 0 || row >= table.getCount() || column <= 0) return {};
  return CellRef{row, column};
}

// The body of an action's first production, "" for an empty one.
std::string_view bodyOf(std::string_view production) {
  std::string_view body = production.substr(3, production.find('|') == std::string_view::npos
                                                   ? std::string_view::npos
                                                   : production.find('|') - 3);
  return body == "e" ? std::string_view() : body;
}

}  // namespace

template <class Visit>
void EvaluationTree::forEachStep(const Table& trace, Visit visit) {
  int step = -1;  // the header is row 0, step k row k
  for (const Row& row : trace) {
    if (++step == 0) continue;
    noteWork();
    Step done;
    if (row.getCount() >= 4) visit(step, row, done);
    steps_.push_back(done);
  }
}

EvaluationTree::EvaluationTree(const Parsing& grammar, TableKind kind, const Table& table, const Table& trace)
    : kind_(kind) {
  if (table.getCount() == 0 || trace.getCount() == 0 || grammar.productions.getCount() == 0) return;
  if (kind == TableKind::kLL1)
    replayLL1(grammar, table, trace);
  else
    replayLR(grammar, table, trace);
}

int EvaluationTree::newNode(char symbol, int born) {
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

void EvaluationTree::replayLL1(const Parsing& grammar, const Table& table, const Table& trace) {
  ColumnMap column(table[0]);
  int rowOf[256];
  std::fill(std::begin(rowOf), std::end(rowOf), -1);
  for (int r = 1; r < table.getCount(); ++r)
    if (table[r].getCount() > 0 && table[r][0].getLength() == 1) rowOf[static_cast<unsigned char>(table[r][0][0])] = r;

  // The nodes of the stack's symbols above the end marker, the top last.
  std::vector<int> pending{newNode(grammar.productions[0][0], 0)};
  forEachStep(trace, [&](int step, const Row& row, Step& done) {
    char top = topOf(row[kStack].view());
    std::string_view input = row[kInput].view();
    std::string_view action = row[kAction].view();
    if (!grammar.isTerminal(top) && !input.empty())
      done.action = cellAt(table, rowOf[static_cast<unsigned char>(top)], column[input[0]]);
    if (pending.empty() || action == "Error" || action == "Accept") return;
    int node = pending.back();
    if (action.empty()) {  // a match
      pending.pop_back();
      nodes_[static_cast<size_t>(node)].matched = step;
      return;
    }
    if (action.size() < 3 || action.substr(1, 2) != "->") return;
    pending.pop_back();
    std::vector<int> children;
    for (char symbol : bodyOf(action)) children.push_back(newNode(symbol, step));
    adopt(node, children, step);
    pending.insert(pending.end(), children.rbegin(), children.rend());
  });
}

void EvaluationTree::replayLR(const Parsing& grammar, const Table& table, const Table& trace) {
  ColumnMap column(table[0]);
  std::vector<int> stack;  // the trees on the stack, bottom first
  // Joins the top trees under a node for the production's head.
  auto reduce = [&](std::string_view production, int at) {
    size_t pops = std::min(bodyOf(production).size(), stack.size());
    std::vector<int> children(stack.end() - static_cast<long>(pops), stack.end());
    stack.resize(stack.size() - pops);
    int node = newNode(production[0], at);
    adopt(node, children, at);
    stack.push_back(node);
    return pops;
  };
  forEachStep(trace, [&](int step, const Row& row, Step& done) {
    std::vector<int> states = statesOf(row[kStack].view());
    std::string_view input = row[kInput].view();
    std::string_view action = row[kAction].view();
    done.state = states.empty() ? -1 : states.back();
    if (!input.empty()) done.action = cellAt(table, done.state + 1, column[input[0]]);
    if (action == "Shift" && !input.empty()) {
      stack.push_back(newNode(input[0], step));
    } else if (action.starts_with("Reduce ") && action.size() >= 10) {
      std::string_view production = action.substr(7);
      size_t pops = reduce(production, step);
      if (pops < states.size())
        done.gotoCell = cellAt(table, states[states.size() - 1 - pops] + 1, column[production[0]]);
    } else if (action == "Accept") {
      reduce(grammar.productions[0].view(), step);
    }
  });
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
