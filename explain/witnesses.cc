#include "explain/witnesses.h"

#include <algorithm>
#include <utility>

Tree productionNode(const GrammarView& grammar, int production) {
  const GrammarView::Production& p = grammar.production(production);
  std::vector<Tree> children;
  for (Symbol s : p.body) children.push_back(Tree::leaf(s));
  return Tree::node(p.head, std::move(children), production);
}

bool startsWith(std::span<const Symbol> form, std::span<const Symbol> prefix) {
  return form.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), form.begin());
}

bool comesNext(const GrammarView& grammar, const Symbols& leaves, size_t at, Symbol symbol) {
  if (symbol == grammar.endMarker()) return leaves.size() == at;
  return leaves.size() > at && leaves[at] == symbol;
}

Tree& nodeAt(Tree& tree, const std::vector<int>& path) {
  Tree* node = &tree;
  for (int k : path) node = &node->children[static_cast<size_t>(k)];
  return *node;
}

namespace {

size_t leafCount(const Tree& tree) {
  if (!tree.expanded) return 1;
  size_t n = 0;
  for (const Tree& child : tree.children) n += leafCount(child);
  return n;
}

}  // namespace

size_t frontierPosition(const Tree& tree, const std::vector<int>& path) {
  const Tree* node = &tree;
  size_t position = 0;
  for (int k : path) {
    for (int j = 0; j < k; ++j) position += leafCount(node->children[static_cast<size_t>(j)]);
    node = &node->children[static_cast<size_t>(k)];
  }
  return position;
}

Witnesses::Witnesses(const GrammarView& grammar, int avoided)
    : grammar_(grammar), avoided_(avoided), count_(static_cast<size_t>(grammar.endMarker()) + 1) {
  first_.resize(count_);
  firstChoice_.resize(count_);
  follow_.resize(count_);
  for (Symbol x : grammar_.nonterminals()) {
    first_[at(x)].assign(count_, kInfinite);
    firstChoice_[at(x)].assign(count_, FirstStep{});
    follow_[at(x)].assign(count_, FollowChoice{});
  }
  computeVanishAndWord();
  computeFirst();
  computeFollow();
  computeReach(Root::kStartSymbol);
  computeReach(Root::kProductionZero);
}

void Witnesses::computeVanishAndWord() {
  vanish_.assign(count_, kInfinite);
  word_.assign(count_, kInfinite);
  vanishChoice_.assign(count_, -1);
  wordChoice_.assign(count_, -1);
  auto wordCost = [&](Symbol c) { return grammar_.isNonterminal(c) ? word_[at(c)] : Cost{0}; };
  for (bool changed = true; changed;) {
    changed = false;
    for (int p = 0; p < grammar_.productionCount(); ++p) {
      if (!usable(p)) continue;
      const GrammarView::Production& production = grammar_.production(p);
      Cost vanish = 1, word = 1;
      for (Symbol c : production.body) {
        vanish = std::min(kInfinite, vanish + vanishCost(c));
        word = std::min(kInfinite, word + wordCost(c));
      }
      size_t h = at(production.head);
      if (vanish < vanish_[h]) vanish_[h] = vanish, vanishChoice_[h] = p, changed = true;
      if (word < word_[h]) word_[h] = word, wordChoice_[h] = p, changed = true;
    }
  }
}

void Witnesses::computeFirst() {
  auto relax = [&](Symbol x, size_t t, Cost cost, int p, int i) {
    Cost& best = first_[at(x)][t];
    if (cost >= best) return false;
    best = cost;
    firstChoice_[at(x)][t] = {p, i};
    return true;
  };
  for (bool changed = true; changed;) {
    changed = false;
    for (int p = 0; p < grammar_.productionCount(); ++p) {
      if (!usable(p)) continue;
      const GrammarView::Production& production = grammar_.production(p);
      Cost prefix = 1;
      for (size_t i = 0; i < production.body.size(); ++i) {
        Symbol c = production.body[i];
        if (!grammar_.isNonterminal(c)) {
          changed |= relax(production.head, at(c), prefix, p, static_cast<int>(i));
          break;
        }
        const std::vector<Cost>& costs = first_[at(c)];
        for (size_t t = 0; t < count_; ++t)
          if (finite(costs[t])) changed |= relax(production.head, t, prefix + costs[t], p, static_cast<int>(i));
        if (!finite(vanishCost(c))) break;
        prefix += vanishCost(c);
      }
    }
  }
}

void Witnesses::computeFollow() {
  auto relax = [&](Symbol a, size_t t, Cost cost, FollowStep step) {
    FollowChoice& best = follow_[at(a)][t];
    if (cost >= best.cost) return false;
    static_cast<FollowStep&>(best) = step;
    best.cost = cost;
    return true;
  };
  if (grammar_.start() != kNoSymbol) relax(grammar_.start(), at(grammar_.endMarker()), 0, FollowStep{});
  for (bool changed = true; changed;) {
    changed = false;
    for (int p = 0; p < grammar_.productionCount(); ++p) {
      if (!usable(p)) continue;
      const GrammarView::Production& production = grammar_.production(p);
      const Symbols& body = production.body;
      for (size_t i = 0; i < body.size(); ++i) {
        Symbol a = body[i];
        if (!grammar_.isNonterminal(a)) continue;
        Cost prefix = 1;
        bool allVanish = true;
        for (size_t j = i + 1; j < body.size() && allVanish; ++j) {
          Symbol c = body[j];
          FollowStep step{Step::kDirect, p, static_cast<int>(i), static_cast<int>(j)};
          if (!grammar_.isNonterminal(c)) {
            changed |= relax(a, at(c), prefix, step);
            allVanish = false;
            break;
          }
          step.step = Step::kThroughFirst;
          const std::vector<Cost>& costs = first_[at(c)];
          for (size_t t = 0; t < count_; ++t)
            if (finite(costs[t])) changed |= relax(a, t, prefix + costs[t], step);
          if (!finite(vanishCost(c))) allVanish = false;
          else prefix += vanishCost(c);
        }
        if (!allVanish) continue;
        FollowStep step{Step::kThroughFollow, p, static_cast<int>(i), -1};
        for (size_t t = 0; t < count_; ++t) {
          Cost outer = follow_[at(production.head)][t].cost;
          if (finite(outer)) changed |= relax(a, t, prefix + outer, step);
        }
      }
    }
  }
}

void Witnesses::computeReach(Root root) {
  std::vector<ReachChoice>& reach = reach_[index(root)];
  reach.assign(count_, ReachChoice{});
  if (root == Root::kStartSymbol) {
    if (grammar_.start() != kNoSymbol) reach[at(grammar_.start())] = {0, -1, -1, true};
  } else if (grammar_.productionCount() > 0) {
    const Symbols& body = grammar_.production(0).body;
    for (size_t k = 0; k < body.size(); ++k)
      if (reach[at(body[k])].cost > 1) reach[at(body[k])] = {1, 0, static_cast<int>(k), true};
  }
  for (bool changed = true; changed;) {
    changed = false;
    for (int p = 0; p < grammar_.productionCount(); ++p) {
      const GrammarView::Production& production = grammar_.production(p);
      Cost outer = reach[at(production.head)].cost;
      if (!usable(p) || !finite(outer)) continue;
      for (size_t k = 0; k < production.body.size(); ++k) {
        ReachChoice& best = reach[at(production.body[k])];
        if (outer + 1 < best.cost) {
          best = {outer + 1, p, static_cast<int>(k), false};
          changed = true;
        }
      }
    }
  }
}

Tree Witnesses::vanishingBefore(int production, int position, Tree at) const {
  Tree node = shallow(production);
  const Symbols& body = grammar_.production(production).body;
  for (int j = 0; j < position; ++j) node.children[static_cast<size_t>(j)] = vanishing(body[static_cast<size_t>(j)]);
  node.children[static_cast<size_t>(position)] = std::move(at);
  return node;
}

Tree Witnesses::expandedBy(const std::vector<int>& choice, Symbol x) const {
  int p = grammar_.isNonterminal(x) ? choice[at(x)] : -1;
  if (p < 0) return Tree::leaf(x);
  Tree node = shallow(p);
  const Symbols& body = grammar_.production(p).body;
  for (size_t k = 0; k < body.size(); ++k) node.children[k] = expandedBy(choice, body[k]);
  return node;
}

Tree Witnesses::vanishing(Symbol x) const { return expandedBy(vanishChoice_, x); }

Tree Witnesses::word(Symbol x) const { return expandedBy(wordChoice_, x); }

bool Witnesses::completeToWord(Tree& tree) const {
  if (!tree.expanded) {
    Symbol s = tree.symbol;
    if (!grammar_.isNonterminal(s)) return true;
    if (!derivesWord(s)) return false;
    tree = word(s);
    return true;
  }
  for (Tree& child : tree.children)
    if (!completeToWord(child)) return false;
  return true;
}

Tree Witnesses::beginning(Symbol x, Symbol t) const {
  if (x == t || !begins(x, t)) return Tree::leaf(x);
  FirstStep step = firstStep(x, t);
  const Symbols& body = grammar_.production(step.production).body;
  return vanishingBefore(step.production, step.position, beginning(body[static_cast<size_t>(step.position)], t));
}

int Witnesses::beginningPosition(std::span<const Symbol> symbols, Symbol t) const {
  Cost prefix = 0, best = kInfinite;
  int position = -1;
  for (size_t i = 0; i < symbols.size(); ++i) {
    Symbol c = symbols[i];
    if (begins(c, t)) {
      Cost cost = prefix + (c == t ? 0 : firstCost(c, t));
      if (cost < best) best = cost, position = static_cast<int>(i);
    }
    if (!finite(vanishCost(c))) break;
    prefix += vanishCost(c);
  }
  return position;
}

std::vector<Tree> Witnesses::stringBeginning(std::span<const Symbol> symbols, Symbol t) const {
  int position = beginningPosition(symbols, t);
  std::vector<Tree> trees;
  if (position < 0) return trees;
  for (size_t i = 0; i < symbols.size(); ++i) {
    int k = static_cast<int>(i);
    trees.push_back(k < position ? vanishing(symbols[i]) : k == position ? beginning(symbols[i], t) : Tree::leaf(symbols[i]));
  }
  return trees;
}

MarkedTree Witnesses::following(Symbol a, Symbol t) const {
  if (!follows(a, t)) return {Tree::leaf(a), {}};
  FollowStep step = followStep(a, t);
  if (step.step == Step::kStart) return {Tree::leaf(a), {}};
  const Symbols& body = grammar_.production(step.production).body;
  Tree node = shallow(step.production);
  size_t end = step.step == Step::kThroughFollow ? body.size() : static_cast<size_t>(step.source);
  for (size_t j = static_cast<size_t>(step.position) + 1; j < end; ++j) node.children[j] = vanishing(body[j]);
  if (step.step == Step::kThroughFirst) node.children[end] = beginning(body[end], t);
  if (step.step != Step::kThroughFollow) return {std::move(node), {step.position}};
  MarkedTree outer = following(grammar_.production(step.production).head, t);
  nodeAt(outer.tree, outer.leaf) = std::move(node);
  outer.leaf.push_back(step.position);
  return outer;
}

MarkedTree Witnesses::reaching(Symbol x, Root root) const {
  if (!reaches(x, root)) return {Tree::leaf(x), {}};
  const ReachChoice& choice = reach_[index(root)][at(x)];
  if (choice.production < 0) return {Tree::leaf(x), {}};
  if (choice.seed) return {shallow(choice.production), {choice.position}};
  MarkedTree outer = reaching(grammar_.production(choice.production).head, root);
  nodeAt(outer.tree, outer.leaf) = shallow(choice.production);
  outer.leaf.push_back(choice.position);
  return outer;
}

namespace {

// Completes to words the non-terminal leaves that lie left of the marked leaf.
bool completeLeftOf(const Witnesses& witnesses, Tree& tree, const std::vector<int>& path, size_t depth) {
  if (depth == path.size()) return true;
  size_t k = static_cast<size_t>(path[depth]);
  for (size_t j = 0; j < k; ++j)
    if (!witnesses.completeToWord(tree.children[j])) return false;
  return completeLeftOf(witnesses, tree.children[k], path, depth + 1);
}

}  // namespace

bool Witnesses::leftmostContext(Symbol a, Symbol t, bool followed, MarkedTree& out) const {
  if (followed) {
    if (!follows(a, t)) return false;
    out = following(a, t);
    Symbol top = out.tree.symbol;
    if (top != grammar_.start()) {
      if (!reaches(top, Root::kStartSymbol)) return false;
      MarkedTree outer = reaching(top, Root::kStartSymbol);
      nodeAt(outer.tree, outer.leaf) = std::move(out.tree);
      outer.leaf.insert(outer.leaf.end(), out.leaf.begin(), out.leaf.end());
      out = std::move(outer);
    }
  } else {
    if (!reaches(a, Root::kStartSymbol)) return false;
    out = reaching(a, Root::kStartSymbol);
  }
  return completeLeftOf(*this, out.tree, out.leaf, 0);
}
