// The SLR, canonical LR(1) and LALR tables.  Row 0 is the header (the
// terminals in code order, "$", then the rule heads); row s + 1 belongs to
// state s.  Cells hold "s" + state, "r" + production, "a", a bare state
// number in the goto columns, or several actions joined by "|".
#pragma once

#include "grammar/parsing.h"

Table slrTable(const Parsing& grammar);
Table lr1Table(const Parsing& grammar);
Table lalrTable(const Parsing& grammar);

// Adds an action to a cell unless the cell already holds it.
void placeAction(HString& cell, const HString& action);
