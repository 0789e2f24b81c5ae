// A drawing laid out by Graphviz as a TikZ picture for LaTeX documents:
// every node at the centre Graphviz gave it and with the size it had
// there, every edge along Graphviz's own spline.  The picture needs the
// tikz package and its automata and arrows.meta libraries, nothing else:
// texts are set in the typewriter font, every character that TeX would
// read as markup written as the font's own glyph, so that it typesets the
// same under any font encoding.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "layout/graphviz.h"

struct TikzNode {
  std::string name;  // the name TikZ knows it by; letters and digits
  Point centre;      // in points, y downwards, as in a GraphLayout
  double width = 0, height = 0;
  std::vector<std::string> lines;  // UTF-8; the first is centred when there are several
  int ruleAfter = -1;              // a rule below this line, or -1
  bool state = false;              // a framed state box; else plain text
  std::string fill;                // "#rrggbb", or "" for none
  std::string colour;              // of the text and the frame, "#rrggbb", or "" for black
  bool heavy = false;              // a thick frame
};

struct TikzEdge {
  std::vector<Point> spline;  // a start point, then three points per cubic piece
  bool arrow = false;         // an arrowhead from the spline's end to `tip`
  Point tip;
  std::string label;  // UTF-8, "" for none
  Point labelAt;
  std::string colour;  // "#rrggbb", or "" for black
  bool dashed = false;
  bool thick = false;
};

struct TikzPicture {
  std::string fontSize = "\\footnotesize";  // the LaTeX size command of every text
  std::vector<TikzNode> nodes;
  std::vector<TikzEdge> edges;
};

// The text of a node or label in the typewriter font.
std::string tikzText(std::string_view utf8);
// The tikzpicture environment, opened by a comment naming what it needs.
std::string tikzPicture(const TikzPicture& picture);
