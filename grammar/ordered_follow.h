// Follow sets on the typed grammar, each in the order the classic texts
// have always listed them in, the end marker among the terminals.
#pragma once

#include <vector>

#include "grammar/grammar.h"
#include "grammar/ordered_first.h"

// Entry i for non-terminal i (rule i).
std::vector<Symbols> followSets(const OrderedFirst& first);
std::vector<Symbols> followSets(const Grammar& grammar);
