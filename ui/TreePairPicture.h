// The two derivation trees of a unifying counterexample as one picture:
// side by side, each under its caption, laid out by Graphviz.
#pragma once

#include <QImage>
#include <QString>

#include "layout/graphviz.h"
#include "trees/tree.h"

// One tree with its layout (from forestDot({tree})) and its caption.
struct CaptionedTree {
  Tree tree;
  GraphLayout layout;
  QString caption;  // "With s17"
};

QImage treePairPicture(const CaptionedTree& left, const CaptionedTree& right);
