// The item-set listings as the results pane shows them: each state's block
// followed by its arcs, read back from the table built over the same
// automaton (shifts, gotos and the acceptance; reductions give no arc).
// Each listing builds its automaton once and reads the listing, the table
// and, for LALR, the merged groups from it.
#pragma once

#include <vector>

#include "automata/automaton.h"
#include "tables/lr_tables.h"

// The arc target of a cell: "" when the cell gives no arc.
HString arcTarget(const HString& cell);
// The LR0 Items and LR1 Items listings with their arcs.
Row lr0ItemsWithArcs(const Parsing& grammar);
Row lr1ItemsWithArcs(const Parsing& grammar);
// The same for an automaton already built, its reductions read as its table does.
Row itemsListingOf(const Parsing& grammar, const Automaton& collection, LRTableRows::Reductions reductions);
// The LALR Items listing: every LALR state with its members, items and
// arcs; `similarTable` receives the LR(1) similar-state table when given.
Row lalrItemsWithArcs(const Parsing& grammar, Row* similarTable = nullptr);
// The same for merged states already built and their members.
Row lalrListingOf(const Parsing& grammar, const Automaton& lalr, const Row& similar);
// Per group of merged LR(1) states, their numbers joined by " ~ ".
Row similarTexts(const std::vector<std::vector<int>>& groups);
// "LR(1) Similar Table:" and one line per LALR state naming its members.
Row similarStateTable(const Row& similar);
