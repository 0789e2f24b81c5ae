// A derivation tree: a symbol and, when it was expanded by a production,
// the children in order.  A leaf (a terminal, or a non-terminal not yet
// expanded) has no list of children at all; a non-terminal expanded by an
// empty production has an empty one.  Parse trees of evaluations and the
// trees of counterexamples share this type and its writers.
#pragma once

#include <string>
#include <vector>

#include "grammar/grammar.h"

//
// A parse of a long word can be a hundred thousand levels deep, so nothing
// here recurses along the depth: copying, comparing, destroying and every
// walk below keep their own stack.
struct Tree {
  Symbol symbol = kNoSymbol;  // the grammar's number, or its end marker
  bool expanded = false;     // false: a leaf, without a list of children
  std::vector<Tree> children;  // empty when expanded by an empty production
  // The number of the production that expanded the node, -1 for a leaf or
  // when unknown; it tells apart two alternatives with the same text.
  int production = -1;

  Tree() = default;
  Tree(Symbol symbol, bool expanded, std::vector<Tree> children, int production)
      : symbol(symbol), expanded(expanded), children(std::move(children)), production(production) {}
  Tree(const Tree& other);
  Tree(Tree&& other) noexcept = default;
  Tree& operator=(const Tree& other);
  // The old children go through their own destructors, which do not recurse.
  Tree& operator=(Tree&& other) noexcept = default;
  ~Tree();

  static Tree leaf(Symbol symbol) { return Tree{symbol, false, {}, -1}; }
  static Tree node(Symbol symbol, std::vector<Tree> children, int production = -1) {
    return Tree{symbol, true, std::move(children), production};
  }
  // Equal symbols, shapes and known production numbers.
  bool operator==(const Tree& other) const;
};

// Calls enter(node, depth, index) for every node in preorder (index: its
// place among its parent's children) and leave(node, depth) after its
// children, with a stack of its own.
template <class Enter, class Leave>
void walkTree(const Tree& root, Enter enter, Leave leave) {
  struct Frame {
    const Tree* node;
    size_t next;
  };
  std::vector<Frame> stack{{&root, 0}};
  enter(root, size_t{0}, size_t{0});
  while (!stack.empty()) {
    Frame& top = stack.back();
    if (top.next < top.node->children.size()) {
      size_t index = top.next++;
      const Tree& child = top.node->children[index];
      enter(child, stack.size(), index);
      stack.push_back({&child, 0});
    } else {
      const Tree* node = top.node;
      stack.pop_back();
      leave(*node, stack.size());
    }
  }
}

// The writers name symbols as the grammar's notation writes them
// (grammar/symbol_text.h): run together in the classic notation, separated
// by blanks in the token notation.
//
// The leaves from left to right: the word or sentential form the tree derives.
std::string frontier(const Grammar& grammar, const Tree& tree);
// The symbols of the leaves, from left to right.
Symbols frontierSymbols(const Tree& tree);
// The productions the tree uses, as productionText writes them ("X->abc",
// "X->e", "E -> E + T"), from the root down, left to right.
std::vector<std::string> productionsOf(const Grammar& grammar, const Tree& tree);
// {"symbol": "E", "children": [...]}; a leaf has no "children", an empty
// production an empty list.
std::string treeJson(const Grammar& grammar, const Tree& tree);
// One line per node, indented two blanks a level; an empty production shows
// its node followed by a line with the empty string's mark one level deeper.
// The indentation of a deep tree grows with the square of its depth: the
// lines count as output of the command and stop at its limit.
std::vector<std::string> treeLines(const Grammar& grammar, const Tree& tree);
// The sentential forms of the tree's leftmost derivation, from the root
// symbol to the frontier, one production a step.
std::vector<std::string> leftmostDerivation(const Grammar& grammar, const Tree& tree);
// Two blocks of lines side by side, the second starting `gap` columns after
// the widest line of the first (widths in characters of UTF-8 text).
std::vector<std::string> sideBySide(const std::vector<std::string>& left, const std::vector<std::string>& right,
                                    size_t gap = 4);
