#include "explain/witnesses.h"

#include <utility>

Tree leafOf(const GrammarView& grammar, char c) { return Tree::leaf(grammar.symbol(c)); }

Tree nodeOf(const GrammarView& grammar, char head, std::vector<Tree> children, int production) {
  return Tree::node(grammar.symbol(head), std::move(children), production);
}

char characterOf(const GrammarView& grammar, const Tree& tree) { return grammar.character(tree.symbol); }

std::string frontierOf(const GrammarView& grammar, const Tree& tree) { return grammar.text(frontierSymbols(tree)); }

Tree productionNode(const GrammarView& grammar, int production) {
  const GrammarView::Production& p = grammar.production(production);
  std::vector<Tree> children;
  for (char c : p.body) children.push_back(leafOf(grammar, c));
  return nodeOf(grammar, p.head, std::move(children), production);
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
    : grammar_(grammar),
      avoided_(avoided),
      first_(26),
      firstChoice_(26),
      follow_(26) {
  computeVanishAndWord();
  computeFirst();
  computeFollow();
  computeReach(Root::kStartSymbol);
  computeReach(Root::kProductionZero);
}

void Witnesses::computeVanishAndWord() {
  vanish_.fill(kInfinite);
  word_.fill(kInfinite);
  vanishChoice_.fill(-1);
  wordChoice_.fill(-1);
  auto wordCost = [&](char c) { return GrammarView::isNonterminal(c) ? word_[code(c)] : Cost{0}; };
  for (bool changed = true; changed;) {
    changed = false;
    for (int p = 0; p < grammar_.productionCount(); ++p) {
      if (!usable(p)) continue;
      const GrammarView::Production& production = grammar_.production(p);
      Cost vanish = 1, word = 1;
      for (char c : production.body) {
        vanish = std::min(kInfinite, vanish + vanishCost(c));
        word = std::min(kInfinite, word + wordCost(c));
      }
      unsigned char h = code(production.head);
      if (vanish < vanish_[h]) vanish_[h] = vanish, vanishChoice_[h] = p, changed = true;
      if (word < word_[h]) word_[h] = word, wordChoice_[h] = p, changed = true;
    }
  }
}

void Witnesses::computeFirst() {
  for (auto& costs : first_) costs.fill(kInfinite);
  auto relax = [&](char x, char t, Cost cost, int p, int i) {
    Cost& best = first_[nt(x)][code(t)];
    if (cost >= best) return false;
    best = cost;
    firstChoice_[nt(x)][code(t)] = {p, i};
    return true;
  };
  for (bool changed = true; changed;) {
    changed = false;
    for (int p = 0; p < grammar_.productionCount(); ++p) {
      if (!usable(p)) continue;
      const GrammarView::Production& production = grammar_.production(p);
      Cost prefix = 1;
      for (size_t i = 0; i < production.body.size(); ++i) {
        char c = production.body[i];
        if (!GrammarView::isNonterminal(c)) {
          changed |= relax(production.head, c, prefix, p, static_cast<int>(i));
          break;
        }
        for (int t = 0; t < 256; ++t)
          if (finite(first_[nt(c)][static_cast<size_t>(t)]))
            changed |= relax(production.head, static_cast<char>(t), prefix + first_[nt(c)][static_cast<size_t>(t)], p,
                             static_cast<int>(i));
        if (!finite(vanishCost(c))) break;
        prefix += vanishCost(c);
      }
    }
  }
}

void Witnesses::computeFollow() {
  auto relax = [&](char a, char t, Cost cost, FollowStep step) {
    FollowChoice& best = follow_[nt(a)][code(t)];
    if (cost >= best.cost) return false;
    static_cast<FollowStep&>(best) = step;
    best.cost = cost;
    return true;
  };
  if (grammar_.start() != '\0') relax(grammar_.start(), '$', 0, FollowStep{});
  for (bool changed = true; changed;) {
    changed = false;
    for (int p = 0; p < grammar_.productionCount(); ++p) {
      if (!usable(p)) continue;
      const GrammarView::Production& production = grammar_.production(p);
      const std::string& body = production.body;
      for (size_t i = 0; i < body.size(); ++i) {
        char a = body[i];
        if (!GrammarView::isNonterminal(a)) continue;
        Cost prefix = 1;
        bool allVanish = true;
        for (size_t j = i + 1; j < body.size() && allVanish; ++j) {
          char c = body[j];
          FollowStep step{Step::kDirect, p, static_cast<int>(i), static_cast<int>(j)};
          if (!GrammarView::isNonterminal(c)) {
            changed |= relax(a, c, prefix, step);
            allVanish = false;
            break;
          }
          step.step = Step::kThroughFirst;
          for (int t = 0; t < 256; ++t)
            if (finite(first_[nt(c)][static_cast<size_t>(t)]))
              changed |= relax(a, static_cast<char>(t), prefix + first_[nt(c)][static_cast<size_t>(t)], step);
          if (!finite(vanishCost(c))) allVanish = false;
          else prefix += vanishCost(c);
        }
        if (!allVanish) continue;
        FollowStep step{Step::kThroughFollow, p, static_cast<int>(i), -1};
        for (int t = 0; t < 256; ++t) {
          Cost outer = follow_[nt(production.head)][static_cast<size_t>(t)].cost;
          if (finite(outer)) changed |= relax(a, static_cast<char>(t), prefix + outer, step);
        }
      }
    }
  }
}

void Witnesses::computeReach(Root root) {
  auto& reach = reach_[index(root)];
  if (root == Root::kStartSymbol) {
    if (grammar_.start() != '\0') reach[code(grammar_.start())] = {0, -1, -1, true};
  } else if (grammar_.productionCount() > 0) {
    const std::string& body = grammar_.production(0).body;
    for (size_t k = 0; k < body.size(); ++k)
      if (reach[code(body[k])].cost > 1) reach[code(body[k])] = {1, 0, static_cast<int>(k), true};
  }
  for (bool changed = true; changed;) {
    changed = false;
    for (int p = 0; p < grammar_.productionCount(); ++p) {
      const GrammarView::Production& production = grammar_.production(p);
      Cost outer = reach[code(production.head)].cost;
      if (!usable(p) || !finite(outer)) continue;
      for (size_t k = 0; k < production.body.size(); ++k) {
        ReachChoice& best = reach[code(production.body[k])];
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
  for (int j = 0; j < position; ++j) node.children[static_cast<size_t>(j)] = vanishing(characterOf(grammar_, node.children[static_cast<size_t>(j)]));
  node.children[static_cast<size_t>(position)] = std::move(at);
  return node;
}

Tree Witnesses::expandedBy(const std::array<int, 256>& choice, char x) const {
  int p = choice[code(x)];
  if (!GrammarView::isNonterminal(x) || p < 0) return leafOf(grammar_, x);
  Tree node = shallow(p);
  for (Tree& child : node.children) child = expandedBy(choice, characterOf(grammar_, child));
  return node;
}

Tree Witnesses::vanishing(char x) const { return expandedBy(vanishChoice_, x); }

Tree Witnesses::word(char x) const { return expandedBy(wordChoice_, x); }

bool Witnesses::completeToWord(Tree& tree) const {
  if (!tree.expanded) {
    char x = characterOf(grammar_, tree);
    if (!GrammarView::isNonterminal(x)) return true;
    if (!derivesWord(x)) return false;
    tree = word(x);
    return true;
  }
  for (Tree& child : tree.children)
    if (!completeToWord(child)) return false;
  return true;
}

Tree Witnesses::beginning(char x, char t) const {
  if (x == t || !begins(x, t)) return leafOf(grammar_, x);
  FirstStep step = firstStep(x, t);
  const std::string& body = grammar_.production(step.production).body;
  return vanishingBefore(step.production, step.position, beginning(body[static_cast<size_t>(step.position)], t));
}

int Witnesses::beginningPosition(std::string_view symbols, char t) const {
  Cost prefix = 0, best = kInfinite;
  int position = -1;
  for (size_t i = 0; i < symbols.size(); ++i) {
    char c = symbols[i];
    if (begins(c, t)) {
      Cost cost = prefix + (c == t ? 0 : first_[nt(c)][code(t)]);
      if (cost < best) best = cost, position = static_cast<int>(i);
    }
    if (!finite(vanishCost(c))) break;
    prefix += vanishCost(c);
  }
  return position;
}

std::vector<Tree> Witnesses::stringBeginning(std::string_view symbols, char t) const {
  int position = beginningPosition(symbols, t);
  std::vector<Tree> trees;
  if (position < 0) return trees;
  for (size_t i = 0; i < symbols.size(); ++i) {
    int k = static_cast<int>(i);
    trees.push_back(k < position ? vanishing(symbols[i]) : k == position ? beginning(symbols[i], t) : leafOf(grammar_, symbols[i]));
  }
  return trees;
}

MarkedTree Witnesses::following(char a, char t) const {
  if (!follows(a, t)) return {leafOf(grammar_, a), {}};
  FollowStep step = followStep(a, t);
  if (step.step == Step::kStart) return {leafOf(grammar_, a), {}};
  const std::string& body = grammar_.production(step.production).body;
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

MarkedTree Witnesses::reaching(char x, Root root) const {
  const ReachChoice& choice = reach_[index(root)][code(x)];
  if (!finite(choice.cost)) return {leafOf(grammar_, x), {}};
  if (choice.production < 0) return {leafOf(grammar_, x), {}};
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

bool Witnesses::leftmostContext(char a, char t, bool followed, MarkedTree& out) const {
  if (followed) {
    if (!follows(a, t)) return false;
    out = following(a, t);
    char top = characterOf(grammar_, out.tree);
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
