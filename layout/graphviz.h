// Graphviz's libraries (cgraph and gvc) behind three calls: read a DOT text
// back, lay it out with the dot engine, render it as SVG.  Graphviz keeps
// global state and is not thread-safe, so every call takes one lock; calls
// from several threads wait for each other, and one whose work was
// cancelled meanwhile (core/work.h) stops when its turn comes.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// Graphviz refused a text or failed to lay it out; the message is Graphviz's own.
class GraphvizError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Point {
  double x = 0, y = 0;
};

// A node of a laid-out graph: its name in the DOT text, centre and size.
struct PlacedNode {
  std::string name;
  Point centre;
  double width = 0, height = 0;
};

// An edge of a laid-out graph, known by its "id" attribute.
struct PlacedEdge {
  std::string id;
  std::string tail, head;  // node names
  // A cubic B-spline as Graphviz gives it: a start point, then three points
  // per piece; it ends where the arrowhead begins.
  std::vector<Point> spline;
  bool arrow = false;  // an arrowhead from the spline's end to `tip`
  Point tip;
  bool labelled = false;
  Point label;  // the centre of the label
};

// Coordinates in points (1/72 inch), the origin at the top left, y downwards.
struct GraphLayout {
  double width = 0, height = 0;
  std::vector<PlacedNode> nodes;
  std::vector<PlacedEdge> edges;

  // The node of that name, or nullptr.
  const PlacedNode* node(std::string_view name) const;
};

// Lays the graph out with the dot engine.  Throws GraphvizError.
GraphLayout layoutDot(std::string_view dot);
// The graph laid out and drawn by Graphviz as an SVG document.  Throws GraphvizError.
std::string svgOfDot(std::string_view dot);
// Why Graphviz cannot read the text, or "" when it can.
std::string dotProblem(std::string_view dot);
