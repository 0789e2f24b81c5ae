// The LL(1) evaluation: the predictive parse of a word, one trace row per step.
#pragma once

#include "grammar/parsing.h"

// The trace of the word with the grammar's LL(1) table.
Table ll1EvaluationWith(const Parsing& grammar, const Table& table, const HString& word);
