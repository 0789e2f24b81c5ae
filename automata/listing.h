// The listing of a canonical collection, one block per state.
#pragma once

#include "automata/automaton.h"

// Per state: "State" k " - " and how it was reached ("Clousure(...)" for
// state 0, "Goto(State" i "," X ")" for the others) and ":", its items after
// three blanks (with ", " and the lookahead for LR(1)), then an empty line.
Row stateListing(const Parsing& grammar, const Automaton& collection);
