// A forest of derivation trees as a TikZ picture, laid out by Graphviz
// from its DOT text (trees/tree_dot.h): terminals and the mark of an empty
// production coloured as in the other drawings of trees.
#pragma once

#include <string>
#include <vector>

#include "trees/tree.h"

// Throws GraphvizError.
std::string forestTikz(const Grammar& grammar, const std::vector<Tree>& forest);
