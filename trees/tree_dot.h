// A forest of derivation trees as a DOT text, laid out top down with each
// node's children in order.  Node k in preorder is named "n" + k; a node
// expanded by an empty production gets a child, the empty string's mark,
// named "e" + k.  The
// edge into a node carries the id "to" + its name.
#pragma once

#include <string>
#include <vector>

#include "trees/tree.h"

// Above this many nodes a drawing of a tree is no help: Graphviz takes
// seconds to minutes over it, and no screen shows it readably.
inline constexpr int kDrawableTreeNodes = 1500;

// Terminals (and the end marker) stand out from non-terminals; the mark of
// an empty production is grey.
inline constexpr const char* kTerminalColour = "#1f5fbf";
inline constexpr const char* kEmptyHex = "#737373";  // Graphviz's gray45

inline bool isNonTerminalSymbol(const Grammar& grammar, Symbol symbol) {
  return symbol >= 0 && symbol < grammar.symbolCount() && !grammar.isTerminal(symbol);
}

std::string forestDot(const Grammar& grammar, const std::vector<Tree>& forest);
