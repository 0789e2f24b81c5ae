// LALR states: the LR(1) states merged by core.
#pragma once

#include "automata/items.h"

// One state per group of same-core LR(1) states, groups in the order of
// their lowest member; items in the order of the highest member, lookaheads
// united from the highest member down.
LR1_ItemsListList lalrStates(const Parsing& grammar);
// Per LALR state, the numbers of its LR(1) members joined by " ~ ".
Row similarStates(const Parsing& grammar);
