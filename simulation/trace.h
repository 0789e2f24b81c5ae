// The shape shared by the evaluation traces.
#pragma once

#include "grammar/parsing.h"

// What a row adds to the written trace besides its stack and input: the
// step's number, the action, separators; an estimate, so that a trace stops
// growing near the limit of the output long before its memory runs out.
inline constexpr long kActionBytes = 16;

// A new step row of three empty cells: stack, input, action.
Row emptyStep();
// Drops the row prepared for a step that never came, puts the header
// "", "Stack", "Input", "Action" first and numbers the steps from 1.
Table finishTrace(Table steps);
