// The LR(0), LR(1) and LALR automata as graphs, for drawing.  A graph is
// read from one built automaton and the table built over it, so its states
// carry the numbers of the listings and tables, and its edges are exactly
// the shift and goto cells of that table.  Everything is plain data (UTF-8
// texts, numbers and a copy of the typed grammar that names the symbols),
// so that a graph made on one thread can be read on another.
#pragma once

#include <string>
#include <vector>

#include "simulation/evaluations.h"
#include "writers/format.h"

// "LR(0)", "LR(1)" or "LALR", as titles name the automata.
const char* graphKindName(GraphKind kind);
// The table whose rows are the graph's states: SLR for the LR(0) automaton.
TableKind tableKindOf(GraphKind kind);

struct GraphState {
  int number = 0;
  std::vector<std::string> kernel;   // items as the listing writes them, the dot as "°"
  std::vector<std::string> closure;  // the items the closure added, in closure order
  bool accepting = false;            // its end-marker cell accepts
  bool conflicting = false;          // a cell of its row holds more than one action
  std::string members;               // LALR: the merged LR(1) states, "2 ~ 5"
  std::vector<std::string> listing;  // its block of the item listing, arcs included
  // "State3", or "State2 {2 ~ 5}" for a merged state.
  std::string title() const;
};

struct GraphEdge {
  int from = 0;
  Symbol symbol = kNoSymbol;  // of the graph's grammar; symbolText names it
  int to = 0;
  bool operator==(const GraphEdge&) const = default;
};

struct AutomatonGraph {
  GraphKind kind = GraphKind::kLR0;
  std::vector<GraphState> states;
  // Every shift and goto, by source state, then in the table's column order.
  std::vector<GraphEdge> edges;
  // The typed grammar the automaton was built on, as the analyses read it.
  Grammar grammar;
  // The table built over the automaton: row s + 1 for state s, as tables show it.
  Cells table;
  // The column of each symbol in the table, by symbol, the end marker
  // included; -1 for none.
  std::vector<int> columns;

  // The column of the table headed by the symbol, or -1.
  int columnOf(Symbol symbol) const;
  // The table cell an edge comes from.
  const std::string& cellOf(const GraphEdge& edge) const;
  // Per state, the indexes of the edges leaving it and of those entering it.
  std::vector<std::vector<int>> outgoing() const;
  std::vector<std::vector<int>> incoming() const;
};

// Builds the automaton of a kind and its table once and reads the graph from them.
AutomatonGraph automatonGraph(const Parsing& grammar, GraphKind kind);
