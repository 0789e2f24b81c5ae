// The LR evaluation: the shift/reduce parse of a word with the SLR, LR(1)
// or LALR table, one trace row per step.
#pragma once

#include "grammar/parsing.h"

// The trace of the word with an SLR, LR(1) or LALR table of the grammar.
Table lrEvaluationWith(const Parsing& grammar, const Table& table, const HString& word);
// Each state number from bottom to top, each followed by a blank.
HString stackText(HList<int> stack);
