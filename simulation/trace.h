// The shape shared by the evaluation traces.
#pragma once

#include "grammar/parsing.h"

// A new step row of three empty cells: stack, input, action.
Row emptyStep();
// Drops the row prepared for a step that never came, puts the header
// "", "Stack", "Input", "Action" first and numbers the steps from 1.
Table finishTrace(Table steps);
