// Grading the items of one state of the canonical LR(0) or LR(1)
// collection, the state given by how it is reached: the closure of the
// start item, or the goto of an earlier state on a symbol.  Items are
// written one a line as the listing writes them, "A->a°B" or
// "A->a°B, cd" (also with . or · for the dot, in brackets, lookaheads
// apart by / or commas), in any order; an LR(1) item is a core with one
// lookahead, so "A->a°B, cd" is two items.  For a token grammar the
// symbols stand apart by blanks: "E -> E ° + T, $ +".
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "exercises/grading.h"
#include "grammar/parsing.h"

// An item's core as the listing writes it: "A->a°B" ("A->e°" for an empty
// body), "E -> E ° + T" ("E -> ε °") in the token notation.
std::string coreText(const Grammar& grammar, int production, int dot);

// How each state of the collection is first reached, in the listing's
// numbering: "the closure of I->°S", "the goto of state 2 on a".
std::vector<std::string> stateOrigins(const Parsing& grammar, bool lr1);

// The items of the state, one a line: "A->a°B" or "A->a°B, cd".
std::vector<std::string> stateItems(const Parsing& grammar, bool lr1, int state);

// An unknown state is graded against no items.
Grading gradeItems(const Parsing& grammar, bool lr1, int state, std::string_view answer);

// The answer with one element put right: a missing item added on a line of
// its own, a wrong one taken off its line (the line goes when nothing is left).
std::string revealItem(const Parsing& grammar, std::string_view answer, const MarkedElement& element);
