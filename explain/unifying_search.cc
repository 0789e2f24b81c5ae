#include "explain/unifying_search.h"

#include <algorithm>
#include <deque>
#include <unordered_set>

namespace {

bool contains(const Symbols& symbols, Symbol s) { return std::find(symbols.begin(), symbols.end(), s) != symbols.end(); }

// A hash of a stack, FNV-1a over its symbols.
unsigned long long hashOf(const Symbols& stack) {
  unsigned long long h = 0xCBF29CE484222325ULL;
  for (Symbol s : stack) h = (h ^ static_cast<unsigned long long>(static_cast<unsigned>(s))) * 0x100000001B3ULL;
  return h;
}

enum class Op { kStart, kExpandFirst, kExpandSecond, kMatch, kReveal };

struct Node {
  Symbols stacks[2];
  Symbol root;
  bool rooted;  // the root is the node of the root-only production: no more context
  int parent;
  Op op;
  int production;  // kStart: the first; kExpand*: the one used; kReveal: the occurrence's
  int position;    // kStart: the second (or -1); kReveal: where the old root stands
  int matched;     // equal leading symbols matched after the operation
  int start;       // the start it comes from: the trees of different starts differ elsewhere
  bool pinned;     // the second tree's root is a leaf not yet matched: it must stay one
};

// The two trees under construction while a path of operations is replayed:
// each tree's open leaves, in order, are the stack of its parser.
class Replay {
 public:
  Replay(const GrammarView& grammar, const Node& start) : grammar_(grammar) {
    init(0, start.production, start.root);
    init(1, start.position, start.root);
  }

  void apply(const Node& node) {
    switch (node.op) {
      case Op::kStart: break;
      case Op::kExpandFirst: expand(0, node.production); break;
      case Op::kExpandSecond: expand(1, node.production); break;
      case Op::kMatch: break;
      case Op::kReveal:
        for (int k = 0; k < 2; ++k) reveal(k, node.production, node.position);
        break;
    }
    for (int n = 0; n < node.matched; ++n)
      for (auto& open : open_) open.erase(open.begin());
  }

  Tree& tree(int k) { return trees_[k]; }

 private:
  void init(int k, int production, Symbol root) {
    if (production < 0) {
      trees_[k] = Tree::leaf(root);
      open_[k] = {{}};
      return;
    }
    trees_[k] = productionNode(grammar_, production);
    for (size_t j = 0; j < trees_[k].children.size(); ++j) open_[k].push_back({static_cast<int>(j)});
  }

  void expand(int k, int production) {
    std::vector<int> path = open_[k].front();
    Tree& leaf = nodeAt(trees_[k], path);
    leaf = productionNode(grammar_, production);
    std::vector<std::vector<int>> children;
    for (size_t j = 0; j < leaf.children.size(); ++j) {
      children.push_back(path);
      children.back().push_back(static_cast<int>(j));
    }
    open_[k].erase(open_[k].begin());
    open_[k].insert(open_[k].begin(), children.begin(), children.end());
  }

  void reveal(int k, int production, int position) {
    Tree parent = productionNode(grammar_, production);
    parent.children[static_cast<size_t>(position)] = std::move(trees_[k]);
    trees_[k] = std::move(parent);
    for (auto& path : open_[k]) path.insert(path.begin(), position);
    for (size_t j = static_cast<size_t>(position) + 1; j < trees_[k].children.size(); ++j) open_[k].push_back({static_cast<int>(j)});
  }

  const GrammarView& grammar_;
  Tree trees_[2];
  std::vector<std::vector<int>> open_[2];
};

class Search {
 public:
  Search(const Witnesses& witnesses, int rootOnly, SearchBudget& budget, size_t maxLength)
      : w_(witnesses), g_(witnesses.grammar()), rootOnly_(rootOnly), budget_(budget), maxLength_(maxLength) {}

  UnifyingPair run(const std::vector<UnifyingStart>& starts, const std::function<bool(const Tree&, const Tree&)>& accept) {
    for (size_t k = 0; k < starts.size(); ++k) {
      if (!budget_.step()) return UnifyingPair{};
      const UnifyingStart& start = starts[k];
      Node node{{body(start.first), start.second >= 0 ? body(start.second) : Symbols{start.symbol}},
                start.symbol, false, -1, Op::kStart, start.first, start.second, 0, static_cast<int>(k), start.second < 0};
      offer(std::move(node), false);
    }
    UnifyingPair result;
    while (!queue_.empty()) {
      if (!budget_.step()) return result;
      int index = queue_.front();
      queue_.pop_front();
      const Node node = nodes_[static_cast<size_t>(index)];
      if (node.stacks[0] == node.stacks[1]) {
        Replay replay = replayTo(index);
        if (accept(replay.tree(0), replay.tree(1))) {
          result.found = true;
          result.first = std::move(replay.tree(0));
          result.second = std::move(replay.tree(1));
          return result;
        }
        continue;
      }
      grow(index, node);
    }
    result.exhausted = !truncated_;
    return result;
  }

 private:
  const Symbols& body(int production) const { return g_.production(production).body; }
  bool usable(int production) const { return production != rootOnly_; }

  // The stack can still begin with t, itself or once the context is revealed.
  bool canBegin(const Symbols& stack, Symbol t) const {
    for (Symbol c : stack) {
      if (w_.begins(c, t)) return true;
      if (!w_.vanishes(c)) return false;
    }
    return true;
  }

  // Matches equal leading terminals; false when the stacks can no longer meet.
  bool settle(Node& node) {
    Symbols* s = node.stacks;
    size_t n = 0;
    while (n < s[0].size() && n < s[1].size() && s[0][n] == s[1][n] && !g_.isNonterminal(s[0][n])) ++n;
    if (n > 0) {
      for (int k = 0; k < 2; ++k) s[k].erase(s[k].begin(), s[k].begin() + static_cast<std::ptrdiff_t>(n));
      node.matched += static_cast<int>(n);
    }
    if (s[0].size() > maxLength_ || s[1].size() > maxLength_) {
      truncated_ = true;
      return false;
    }
    for (int k = 0; k < 2; ++k)
      if (!s[k].empty() && !g_.isNonterminal(s[k][0]) && !canBegin(s[1 - k], s[k][0])) return false;
    if (node.rooted)
      for (int k = 0; k < 2; ++k)
        if (s[k].empty() && !w_.grammar().vanishes(s[1 - k])) return false;
    return true;
  }

  void offer(Node node, bool free) {
    if (!settle(node)) return;
    // States are told apart by a 64-bit hash: a collision could only hide a
    // state, and whatever is found is checked anyway.
    unsigned long long key = hashOf(node.stacks[0]) * 0x9E3779B97F4A7C15ULL;
    key = (key ^ hashOf(node.stacks[1])) * 0xBF58476D1CE4E5B9ULL;
    key ^= (static_cast<unsigned long long>(node.start) << 32) ^ (static_cast<unsigned long long>(node.root) << 2) ^
           (node.rooted ? 2u : 0u) ^ (node.pinned ? 1u : 0u);
    if (!seen_.insert(key).second) return;
    nodes_.push_back(std::move(node));
    int index = static_cast<int>(nodes_.size()) - 1;
    if (free)
      queue_.push_front(index);
    else
      queue_.push_back(index);
  }

  void grow(int index, const Node& node) {
    const Symbols* s = node.stacks;
    if ((s[0].empty() || s[1].empty()) && !node.rooted) {
      for (int p = 0; p < g_.productionCount(); ++p) {
        const Symbols& b = g_.production(p).body;
        for (size_t i = 0; i < b.size(); ++i) {
          if (b[i] != node.root) continue;
          Node next{{s[0], s[1]}, g_.production(p).head, !usable(p), index, Op::kReveal, p, static_cast<int>(i), 0,
                    node.start, node.pinned};
          for (Symbols& stack : next.stacks) stack.insert(stack.end(), b.begin() + static_cast<std::ptrdiff_t>(i) + 1, b.end());
          offer(std::move(next), false);
        }
      }
    }
    if (!s[0].empty() && !s[1].empty() && s[0][0] == s[1][0])
      offer(Node{{Symbols(s[0].begin() + 1, s[0].end()), Symbols(s[1].begin() + 1, s[1].end())}, node.root, node.rooted,
                 index, Op::kMatch, -1, -1, 1, node.start, false},
            true);
    for (int k = 0; k < 2; ++k) {
      if (s[k].empty() || !g_.isNonterminal(s[k][0]) || (k == 1 && node.pinned)) continue;
      for (int p : g_.alternatives(s[k][0])) {
        if (!usable(p)) continue;
        Node next{{s[0], s[1]}, node.root, node.rooted, index, k == 0 ? Op::kExpandFirst : Op::kExpandSecond, p, -1, 0,
                  node.start, node.pinned};
        Symbols& stack = next.stacks[k];
        stack.erase(stack.begin());
        stack.insert(stack.begin(), body(p).begin(), body(p).end());
        offer(std::move(next), false);
      }
    }
  }

  Replay replayTo(int index) const {
    std::vector<int> path;
    for (int k = index; k != -1; k = nodes_[static_cast<size_t>(k)].parent) path.push_back(k);
    Replay replay(g_, nodes_[static_cast<size_t>(path.back())]);
    for (auto k = path.rbegin(); k != path.rend(); ++k) replay.apply(nodes_[static_cast<size_t>(*k)]);
    return replay;
  }

  const Witnesses& w_;
  const GrammarView& g_;
  int rootOnly_;
  SearchBudget& budget_;
  size_t maxLength_;
  std::vector<Node> nodes_;
  std::deque<int> queue_;
  std::unordered_set<unsigned long long> seen_;
  bool truncated_ = false;
};

// The non-terminals that can stand first in a form derived from the body.
Symbols leftCorners(const Witnesses& witnesses, int rootOnly, const Symbols& body) {
  const GrammarView& g = witnesses.grammar();
  Symbols found;
  std::vector<Symbols> pending{body};
  while (!pending.empty()) {
    Symbols symbols = std::move(pending.back());
    pending.pop_back();
    for (Symbol c : symbols) {
      if (!g.isNonterminal(c)) break;
      if (!contains(found, c)) {
        found.push_back(c);
        for (int p : g.alternatives(c))
          if (p != rootOnly) pending.push_back(g.production(p).body);
      }
      if (!witnesses.vanishes(c)) break;
    }
  }
  return found;
}

}  // namespace

UnifyingPair searchUnifying(const Witnesses& witnesses, int rootOnly, const std::vector<UnifyingStart>& starts,
                            SearchBudget& budget, const std::function<bool(const Tree&, const Tree&)>& accept,
                            size_t maxLength) {
  return Search(witnesses, rootOnly, budget, maxLength).run(starts, accept);
}

bool leadsBack(const Witnesses& witnesses, int rootOnly, int production) {
  const GrammarView::Production& p = witnesses.grammar().production(production);
  return contains(leftCorners(witnesses, rootOnly, p.body), p.head);
}

std::vector<UnifyingStart> unifyingStarts(const Witnesses& witnesses, int rootOnly, const Symbols& preferred,
                                          size_t limit) {
  const GrammarView& g = witnesses.grammar();
  Symbols order;
  for (const Symbols* symbols : {&preferred, &g.nonterminals()})
    for (Symbol x : *symbols)
      if (g.hasRule(x) && !contains(order, x)) order.push_back(x);
  std::vector<UnifyingStart> starts;
  for (Symbol x : order) {
    std::vector<int> usable;
    for (int p : g.alternatives(x))
      if (p != rootOnly) usable.push_back(p);
    for (size_t i = 0; i < usable.size(); ++i)
      for (size_t j = i + 1; j < usable.size() && starts.size() < limit; ++j) starts.push_back({x, usable[i], usable[j]});
    for (int p : usable)
      if (starts.size() < limit && leadsBack(witnesses, rootOnly, p)) starts.push_back({x, p, -1});
  }
  return starts;
}
