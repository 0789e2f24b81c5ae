// Why each conflicting cell of a table holds what it holds: its entries and
// the conflict's kind, for each entry the items or the First and Follow
// facts that put it there, a shortest prefix that leads to the cell, how
// the other LR tables fare on the same items, and a counterexample.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "explain/counterexample.h"
#include "explain/table_view.h"

struct ConflictEntry {
  std::string action;              // LR: "s4", "r2" or "a"; LL(1): the production, "A->Bc"
  std::vector<std::string> items;  // LR: the items of the state that make it, as the listings write them
  std::string reason;              // why it is there, in sentences
};

struct Conflict {
  TableKind table = TableKind::kLL1;
  int row = 0;                // the table row after the header: the state, or the non-terminal's rule
  std::string label;          // column 0 of that row: the state number or the non-terminal
  Symbol symbol = kNoSymbol;  // the column's terminal, or the end marker
  std::string cell;
  // LR: "shift/reduce", "reduce/reduce", "accept/reduce" and the like;
  // LL(1): "First/First", "First/Follow", both, or "same production twice".
  std::string kind;
  std::vector<ConflictEntry> entries;
  // LR: the symbols of a shortest path from state 0 to the state; LL(1): a
  // shortest word the parser reads before the non-terminal is on top.
  Symbols prefix;
  std::vector<std::string> notes;  // the other LR tables, the same production twice, left recursion
  Counterexample counterexample;
};

// Every conflicting cell of the table, row by row, left to right.
std::vector<Conflict> explainConflicts(TableSet& tables, TableKind kind, const SearchBounds& bounds);
// One cell, given by its table row and symbol; none when it holds no conflict.
std::optional<Conflict> explainCell(TableSet& tables, TableKind kind, int row, Symbol symbol, const SearchBounds& bounds);
