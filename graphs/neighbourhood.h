// The part of a large automaton around one state, for a drawing that
// stays readable when the whole automaton would not.
#pragma once

#include <string>
#include <vector>

#include "graphs/automaton_graph.h"

// Above these sizes a drawing of a whole automaton is no help: its boxes
// shrink past reading on any screen, and Graphviz takes from seconds to
// hours, growing with the number of arcs and how many ranks they cross.
inline constexpr int kDrawableStates = 80;
inline constexpr int kDrawableEdges = 200;

// Whether the whole graph is small enough to draw.
bool drawable(const AutomatonGraph& graph);
// Why the graph is not drawn whole: its size against the limits.
std::string tooLargeToDraw(const AutomatonGraph& graph);

struct Neighbourhood {
  std::vector<int> states;  // increasing
  bool whole = true;        // false when the limits left out states within the depth
};

// The state and the states within `depth` edges of it: its predecessors
// (following edges backwards) and its successors (following them
// forwards), nearer ones first, for as long as the drawing stays within
// `maxStates` states and `maxEdges` edges among them.
Neighbourhood neighbourhood(const AutomatonGraph& graph, int state, int depth, int maxStates = kDrawableStates,
                            int maxEdges = kDrawableEdges);
