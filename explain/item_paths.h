// How the parser comes to hold an item of an LR state: a path in the graph
// whose nodes are the items of the states, with an arc for every
// transition (an item advanced over a symbol into the next state) and for
// every production step (an item with the dot before B to an item of B
// with the dot at the start, in the same state).  Followed from the start
// item of state 0, such a path reads a viable prefix and builds a
// derivation tree of production 0 in which the item's production is the
// innermost open node.
//
// For a reduction the conflict symbol must also come next: the path is
// "lookahead-sensitive" (Isradisaikul and Myers, "Finding counterexamples
// from parsing conflicts", PLDI 2015): going outwards through the parent
// items, what stands after each parent's dot vanishes until one of them
// begins with the symbol (or, for the end marker, all of them vanish).  The search
// runs backwards from the item, breadth first, so the path is a shortest.
//
// The automata close over production 0 like any other production, but
// their parser never reduces it.  An item that only a closure through
// production 0 puts into a state (when its head stands on right sides) is
// still an entry of the table: when no path reaches it otherwise, the path
// passes through production 0 inside the tree, a derivation of the grammar
// that shows where the entry comes from.
#pragma once

#include <string>
#include <vector>

#include "explain/search_budget.h"
#include "explain/table_view.h"
#include "explain/witnesses.h"

struct ItemPath {
  bool found = false;
  Symbols prefix;           // the symbols read from state 0
  Tree tree;                // of production 0; its frontier begins with the prefix
  bool symbolNext = false;  // the conflict symbol follows the prefix in the tree (or the end, for the end marker)
  std::vector<int> dotLeaf;  // the leaf at the item's dot, after the prefix (for an item not complete)
};

// A path to item `item` of state `state`.  With `needSymbol`, `symbol`
// must come next in the tree; with `prefix` given, the path must read
// exactly those symbols.
ItemPath itemPath(const TableView& table, const Witnesses& witnesses, int state, int item, Symbol symbol,
                  bool needSymbol, const Symbols* prefix, SearchBudget& budget);
