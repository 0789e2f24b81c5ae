// The two derivation trees of a unifying counterexample as one picture:
// side by side, each under its caption, laid out by Graphviz.
#pragma once

#include <QImage>
#include <QString>
#include <vector>

#include "layout/graphviz.h"
#include "trees/tree.h"

// What a node of the drawing shows.
struct TreeLabel {
  QString text;
  bool nonTerminal = false;
};

// One tree with its layout (from forestDot) and its caption, its nodes
// named while the grammar is at hand: the picture is drawn later, on the
// window's thread.
struct CaptionedTree {
  std::vector<TreeLabel> labels;  // the nodes in preorder
  QString empty;                  // the mark under an empty production
  GraphLayout layout;
  QString caption;  // "With s17"
};

CaptionedTree captionedTree(const Grammar& grammar, const Tree& tree, QString caption);
QImage treePairPicture(const CaptionedTree& left, const CaptionedTree& right);
