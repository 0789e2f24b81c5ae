// Lookups in the canonical collections.
#pragma once

#include "automata/items.h"

// The number of the first state equal to `state`, or -1.
int indexOfState(const HList<LR0_ItemsList>& collection, const LR0_ItemsList& state);
int indexOfState(const LR1_ItemsListList& collection, const LR1_ItemsList& state);
