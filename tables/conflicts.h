// Conflicts: cells of a table that hold more than one entry.
#pragma once

#include "grammar/parsing.h"

// The number of cells outside the header row and label column holding "|".
int countConflicts(const Table& table);
// "This Table Contain N Conflict", the warning shown before an evaluation is refused.
HString conflictMessage(int count);
