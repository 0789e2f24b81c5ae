// The explanations as people and scripts read them: readable lines with the
// two derivations of a counterexample drawn side by side, one row per
// conflict for a spreadsheet, and JSON.
#pragma once

#include <string>
#include <vector>

#include "explain/conflicts.h"
#include "writers/format.h"

// Each names the symbols as the grammar's notation writes them.
// The lines of one conflict's explanation.
Lines conflictLines(const Grammar& grammar, const Conflict& conflict);
// Every conflict of a table under a heading line; "No conflicts." when none.
Lines conflictsLines(const Grammar& grammar, TableKind kind, const std::vector<Conflict>& conflicts);
// A header row and one row per conflict.
Cells conflictCells(const Grammar& grammar, const std::vector<Conflict>& conflicts);
// A JSON array with one object per conflict (see the README).
std::string conflictsJson(const Grammar& grammar, const std::vector<Conflict>& conflicts);
// The counterexample in one line: "unifying: iEtiEtSeS" or "non-unifying: iEtS • e".
std::string counterexampleSummary(const Grammar& grammar, const Conflict& conflict);
// The sentential form with a bullet after its first `at` symbols: "iEtS • eS".
std::string withBullet(const Grammar& grammar, const Symbols& form, size_t at);
