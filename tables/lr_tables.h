// The SLR, canonical LR(1) and LALR tables.  Row 0 is the header (the
// terminals in code order, "$", then the rule heads); row s + 1 belongs to
// state s.  Cells hold "s" + state, "r" + production, "a", a bare state
// number in the goto columns, or several actions joined by "|".
#pragma once

#include "automata/automaton.h"

// Each builds its automaton.
Table slrTable(const Parsing& grammar);
Table lr1Table(const Parsing& grammar);
Table lalrTable(const Parsing& grammar);

// The table of a built automaton: the SLR table of the LR(0) collection,
// reductions on the Follow set of the head; or, for the LR(1) and LALR
// automata, reductions on the items' lookaheads.
Table slrTableOf(const Parsing& grammar, const Automaton& lr0);
Table lookaheadTableOf(const Parsing& grammar, const Automaton& automaton);

// Adds an action to a cell unless the cell already holds it.
void placeAction(HString& cell, const HString& action);
