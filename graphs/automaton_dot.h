// An automaton graph as a DOT text: the form Graphviz lays out and draws,
// and what the command line writes.  Nodes are named "s" + state number,
// the accepting pseudo-state "accept", the stubs of hidden arcs "more" +
// state; every edge carries an id: "e" + its index in the graph's edges,
// "accept" + state for the accepting edge, "stub" + state for a stub.
#pragma once

#include <string>
#include <vector>

#include "graphs/automaton_graph.h"
#include "layout/graphviz.h"

// The fill of a state whose row holds a conflict, the colour tables use too.
inline constexpr const char* kConflictFill = "#ffcf8a";
// The accepting arc, and the frame of the current state of a parse.
inline constexpr const char* kAcceptColour = "#2e7d32";
inline constexpr const char* kMarkColour = "#1f5fbf";
// Box sizes of states measured in a fixed-width font.
struct BoxMetrics {
  double charWidth = 0;   // points per character
  double lineHeight = 0;  // points per line
  double padding = 6;     // points around the text, on every side
};

struct DotOptions {
  bool closure = true;      // closure items as well as kernels
  std::vector<int> states;  // the states to draw, increasing; empty: every state
  int marked = -1;          // a state drawn with a heavy frame (the current state of a parse)
  // When set (charWidth > 0), each box has the size these metrics give its
  // text and Graphviz keeps it: the window draws the text in its own font.
  BoxMetrics metrics;
};

// The lines a state's box shows: its title, its kernel items and, when
// asked, its closure items.
std::vector<std::string> boxLines(const GraphState& state, bool closure);
// The size of a state's box in points under the metrics; the closure
// items, when shown, sit below a rule of one line's height.
Point boxSize(const GraphState& state, bool closure, const BoxMetrics& metrics);
// Per state, how many of its edges lead to or come from a state outside
// `states` (all zero when `states` is empty: every state is drawn).
std::vector<int> hiddenArcCounts(const AutomatonGraph& graph, const std::vector<int>& states);
// "3 more arcs", the text of a stub.
std::string hiddenArcsText(int count);

std::string automatonDot(const AutomatonGraph& graph, const DotOptions& options = {});
