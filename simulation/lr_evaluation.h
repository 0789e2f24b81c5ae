// The LR evaluation: the shift/reduce parse of a word with the SLR, LR(1)
// or LALR table, one trace row per step.
#pragma once

#include "grammar/parsing.h"

// The trace for table kind "SLR", "LR1" or "LALR".
Table lrEvaluation(const Parsing& grammar, HString word, HString kind);
// Each state number from bottom to top, each followed by a blank.
HString stackText(HList<int> stack);
