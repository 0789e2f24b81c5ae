// A derivation tree: a symbol and, when it was expanded by a production,
// the children in order.  A leaf (a terminal, or a non-terminal not yet
// expanded) has no list of children at all; a non-terminal expanded by an
// empty production has an empty one.  Parse trees of evaluations and the
// trees of counterexamples share this type and its writers.
#pragma once

#include <string>
#include <vector>

struct Tree {
  char symbol = '\0';
  bool expanded = false;     // false: a leaf, without a list of children
  std::vector<Tree> children;  // empty when expanded by an empty production
  // The number of the production that expanded the node, -1 for a leaf or
  // when unknown; it tells apart two alternatives with the same text.
  int production = -1;

  static Tree leaf(char symbol) { return Tree{symbol, false, {}, -1}; }
  static Tree node(char symbol, std::vector<Tree> children, int production = -1) {
    return Tree{symbol, true, std::move(children), production};
  }
  // Equal symbols, shapes and known production numbers.
  bool operator==(const Tree& other) const;
};

// The leaves from left to right: the word or sentential form the tree derives.
std::string frontier(const Tree& tree);
// The productions the tree uses, "X->abc" (or "X->e"), from the root down,
// left to right.
std::vector<std::string> productionsOf(const Tree& tree);
// {"symbol": "E", "children": [...]}; a leaf has no "children", an empty
// production an empty list.
std::string treeJson(const Tree& tree);
// One line per node, indented two blanks a level; an empty production shows
// its node followed by a line "e" one level deeper.
std::vector<std::string> treeLines(const Tree& tree);
// The sentential forms of the tree's leftmost derivation, from the root
// symbol to the frontier, one production a step.
std::vector<std::string> leftmostDerivation(const Tree& tree);
// Two blocks of lines side by side, the second starting `gap` columns after
// the widest line of the first (widths in characters of UTF-8 text).
std::vector<std::string> sideBySide(const std::vector<std::string>& left, const std::vector<std::string>& right,
                                    size_t gap = 4);
