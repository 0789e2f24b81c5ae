// An automaton drawn natively from Graphviz's coordinates: a box per state
// with its title, its kernel items and, on demand, its closure items below
// a rule; an arrow per transition labelled with its symbol; the accepting
// arc in green to "accept"; states whose row holds a conflict filled in the
// conflict colour.  One state can be marked (the current state of a parse)
// and one state or arc selected (the one the user clicked).
#pragma once

#include <QFont>
#include <QGraphicsScene>
#include <QPainterPath>
#include <vector>

#include "graphs/automaton_dot.h"
#include "layout/graphviz.h"

// What a drawn item stands for.
struct DiagramKey {
  enum Kind { kNone, kState, kEdge, kAccept, kStub } kind = kNone;
  int index = -1;  // the state (kState, kAccept: the accepting state, kStub) or edge
  bool operator==(const DiagramKey&) const = default;
};

// The path of a laid-out edge, its B-spline as cubic pieces.
QPainterPath splinePath(const PlacedEdge& edge);
// An arrowhead from the spline's end to the tip.
QPolygonF arrowHead(const PlacedEdge& edge);

class DiagramScene : public QGraphicsScene {
  Q_OBJECT

 public:
  explicit DiagramScene(QObject* parent = nullptr);

  // The face the boxes are measured and drawn in, and its metrics.
  static QFont itemFont();
  static BoxMetrics metrics();
  // The fill of a state with a conflict and the frame of a marked state.
  static QColor conflictColour();
  static QColor markColour();

  // Draws the graph as laid out; `closure` as the layout's boxes were measured.
  void draw(const AutomatonGraph& graph, const GraphLayout& layout, bool closure);
  // Marks a state (-1: none), as the current state of a parse.
  void markState(int state);
  int markedState() const { return marked_; }
  // Selects what the user clicked; DiagramKey{} clears the selection.
  void select(const DiagramKey& key);
  const DiagramKey& selection() const { return selected_; }

  // The drawn item of a state or edge, or nullptr.
  QGraphicsItem* stateItem(int state) const;
  QGraphicsItem* edgeItem(int edge) const;
  // What an item under the pointer belongs to.
  static DiagramKey keyOf(const QGraphicsItem* item);
  // The states drawn, in increasing order.
  std::vector<int> drawnStates() const;

 private:
  class StateBox;
  class Arrow;

  StateBox* boxOf(int state) const;
  Arrow* arrowOf(const DiagramKey& key) const;

  std::vector<StateBox*> boxes_;  // by state, nullptr when not drawn
  std::vector<Arrow*> arrows_;    // by edge, nullptr when not drawn
  std::vector<Arrow*> others_;    // accepting arcs and stubs
  int marked_ = -1;
  DiagramKey selected_;
};
