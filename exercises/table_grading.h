// Grading a parse table: the student's table (in CSV as tablomat-cli
// writes it, or the cells of a grid) against the table of the grammar,
// cell by cell, each cell as a set of entries.  Rows are found by their
// label and columns by their header, so both may come in any order; rows
// and columns the table does not have are marked wrong.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "simulation/evaluations.h"
#include "exercises/grading.h"

GradeResult gradeTable(const Parsing& grammar, TableKind kind, std::string_view csv);
// Row 0 is the header, cell 0 of each row its label.
Grading gradeTableCells(const Parsing& grammar, TableKind kind, const Cells& answer);

// The entries of a cell as they are compared: for the LR tables the
// actions ("s4", "r2", "a", "5"; also "S4", "acc", separated by | , ; / or
// blanks), for LL(1) the productions written out ("S->a|b" in row S is
// S->a and S->b; in the token notation "E' -> + T E' | ε" in row E' is
// E' -> + T E' and E' -> ε, the tokens read as the grammar names them).
std::vector<std::string> cellEntries(const Parsing& grammar, TableKind kind, const std::string& rowLabel,
                                     const std::string& cell);
// A row label as compared: the state number of "7", "I7", "State 7".
std::string rowKey(TableKind kind, const std::string& label);
