#include "explain/item_paths.h"

#include <deque>
#include <unordered_map>

namespace {

struct Node {
  int state;
  int item;
  bool need;  // the symbol must still come from further out
  int at;     // with a fixed prefix: how many of its symbols lie before this node; else -1
};

long long keyOf(const Node& node) {
  return ((static_cast<long long>(node.state) << 20 | node.item) << 1 | node.need) << 20 | (node.at + 1);
}

class PathSearch {
 public:
  PathSearch(const TableView& table, const Witnesses& witnesses, Symbol symbol, const Symbols* prefix, bool innerZero,
             SearchBudget& budget)
      : t_(table), w_(witnesses), g_(witnesses.grammar()), symbol_(symbol), prefix_(prefix), innerZero_(innerZero), budget_(budget) {
    if (prefix_ != nullptr) {
      along_.push_back(0);
      for (Symbol x : *prefix_) along_.push_back(along_.back() < 0 ? -1 : t_.automaton.target(along_.back(), x));
    }
  }

  ItemPath run(int state, int item, bool need) {
    ItemPath result;
    if (prefix_ != nullptr && along_.back() != state) return result;
    Node target{state, item, need, prefix_ != nullptr ? static_cast<int>(prefix_->size()) : -1};
    std::deque<Node> queue{target};
    parent_.emplace(keyOf(target), target);
    while (!queue.empty()) {
      if (!budget_.step()) return result;
      Node node = queue.front();
      queue.pop_front();
      if (isGoal(node)) return build(node);
      for (const Node& next : before(node)) {
        if (!parent_.emplace(keyOf(next), node).second) continue;
        queue.push_back(next);
      }
    }
    return result;
  }

 private:
  const StateItem& itemOf(const Node& node) const {
    return t_.automaton.states[static_cast<size_t>(node.state)][static_cast<size_t>(node.item)];
  }
  const Symbols& bodyOf(const StateItem& item) const { return g_.production(item.production).body; }
  // The dot as a position in the body (an empty body's item stands after its mark).
  int dotOf(const StateItem& item) const { return bodyOf(item).empty() ? 0 : item.dot; }

  bool isGoal(const Node& node) const {
    const StateItem& item = itemOf(node);
    return node.state == 0 && item.production == 0 && dotOf(item) == 0 && (!node.need || symbol_ == g_.endMarker()) &&
           (node.at <= 0);
  }

  int find(int state, int production, int dot) const {
    const std::vector<StateItem>& items = t_.automaton.states[static_cast<size_t>(state)];
    for (size_t k = 0; k < items.size(); ++k)
      if (items[k].production == production && items[k].dot == dot) return static_cast<int>(k);
    return -1;
  }

  std::vector<Node> before(const Node& node) const {
    std::vector<Node> out;
    const StateItem& item = itemOf(node);
    int dot = dotOf(item);
    if (dot > 0) {
      Symbol x = bodyOf(item)[static_cast<size_t>(dot) - 1];
      for (const auto& [from, symbol] : t_.predecessors[static_cast<size_t>(node.state)]) {
        if (symbol != x) continue;
        if (prefix_ != nullptr && (node.at <= 0 || (*prefix_)[static_cast<size_t>(node.at) - 1] != x ||
                                   along_[static_cast<size_t>(node.at) - 1] != from))
          continue;
        int k = find(from, item.production, item.dot - 1);
        if (k >= 0) out.push_back({from, k, node.need, node.at < 0 ? -1 : node.at - 1});
      }
      return out;
    }
    Symbol head = g_.production(item.production).head;
    const std::vector<StateItem>& items = t_.automaton.states[static_cast<size_t>(node.state)];
    for (size_t k = 0; k < items.size(); ++k) {
      const StateItem& parent = items[k];
      const Symbols& body = bodyOf(parent);
      int d = dotOf(parent);
      if (static_cast<size_t>(d) >= body.size() || body[static_cast<size_t>(d)] != head) continue;
      // Production 0 stands at the root, in state 0, unless the item can be
      // reached no other way (see itemPath).
      if (!innerZero_ && parent.production == 0 && (node.state != 0 || d != 0)) continue;
      bool need = node.need;
      if (need) {
        std::span<const Symbol> rest = std::span<const Symbol>(body).subspan(static_cast<size_t>(d) + 1);
        if (symbol_ != g_.endMarker() && w_.beginningPosition(rest, symbol_) >= 0)
          need = false;
        else if (!w_.grammar().vanishes(rest))
          continue;
        else if (parent.lookahead != kNoLookahead && !t_.inLookahead(parent.lookahead, symbol_))
          continue;
      }
      out.push_back({node.state, static_cast<int>(k), need, node.at});
    }
    return out;
  }

  // Replays the path from the goal to the item, building the tree.
  ItemPath build(Node goal) const {
    std::vector<Node> path{goal};
    for (Node node = goal;;) {
      const Node& next = parent_.at(keyOf(node));
      if (keyOf(next) == keyOf(node)) break;
      path.push_back(next);
      node = next;
    }
    ItemPath result;
    result.found = true;
    result.tree = productionNode(g_, 0);
    std::vector<int> open;  // the path to the innermost open node
    int dot = 0;
    bool need = path.front().need;
    for (size_t k = 1; k < path.size(); ++k) {
      const Node& from = path[k - 1];
      const Node& to = path[k];
      if (dotOf(itemOf(to)) > 0) {  // a transition: only it leaves a dot after a symbol
        result.prefix.push_back(nodeAt(result.tree, open).children[static_cast<size_t>(dot)].symbol);
        ++dot;
        continue;
      }
      // A production step: the child at the dot becomes a node; what stands
      // after it shows the symbol, vanishes, or stays as it is.
      Tree& parent = nodeAt(result.tree, open);
      const Symbols& body = g_.production(itemOf(from).production).body;
      std::span<const Symbol> rest = std::span<const Symbol>(body).subspan(static_cast<size_t>(dot) + 1);
      if (to.need && !need) {
        std::vector<Tree> trees = w_.stringBeginning(rest, symbol_);
        for (size_t j = 0; j < trees.size(); ++j) parent.children[static_cast<size_t>(dot) + 1 + j] = std::move(trees[j]);
      } else if (to.need) {
        for (size_t j = 0; j < rest.size(); ++j) parent.children[static_cast<size_t>(dot) + 1 + j] = w_.vanishing(rest[j]);
      }
      need = to.need;
      parent.children[static_cast<size_t>(dot)] = productionNode(g_, itemOf(to).production);
      open.push_back(dot);
      dot = 0;
    }
    result.dotLeaf = open;
    result.dotLeaf.push_back(dot);
    Symbols leaves = frontierSymbols(result.tree);
    result.symbolNext = startsWith(leaves, result.prefix) && comesNext(g_, leaves, result.prefix.size(), symbol_);
    return result;
  }

  const TableView& t_;
  const Witnesses& w_;
  const GrammarView& g_;
  Symbol symbol_;
  const Symbols* prefix_;
  bool innerZero_;
  SearchBudget& budget_;
  std::vector<int> along_;  // with a prefix: the state after each of its symbols
  std::unordered_map<long long, Node> parent_;  // toward the item; the item maps to itself
};

}  // namespace

ItemPath itemPath(const TableView& table, const Witnesses& witnesses, int state, int item, Symbol symbol,
                  bool needSymbol, const Symbols* prefix, SearchBudget& budget) {
  ItemPath path = PathSearch(table, witnesses, symbol, prefix, false, budget).run(state, item, needSymbol);
  if (path.found || budget.end() != SearchBudget::End::kNone) return path;
  return PathSearch(table, witnesses, symbol, prefix, true, budget).run(state, item, needSymbol);
}
