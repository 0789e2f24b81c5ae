// The properties the transformations reach, each a test on a grammar, so
// that a result is checked against its goal before it is shown.
#pragma once

#include <string>

#include "grammar/grammar.h"

// Some A derives A γ, also through vanishing symbols before it.
bool hasLeftRecursion(const Grammar& grammar);
// Some A derives A through unit rules alone.
bool hasUnitCycle(const Grammar& grammar);
// An empty rule, other than the start symbol's when it stands in no right side.
bool hasEmptyRule(const Grammar& grammar);
// A rule A->B with B a non-terminal.
bool hasUnitRule(const Grammar& grammar);
// A non-terminal that derives no word or is not reached from the start symbol.
bool hasUselessSymbols(const Grammar& grammar);
// Two alternatives of one non-terminal that begin with the same symbol.
bool hasSharedStart(const Grammar& grammar);
// The first rule that is not A->BC, A->a or the start symbol's S->ε, as a
// text, or empty when the grammar is in Chomsky normal form.
std::string chomskyViolation(const Grammar& grammar);
