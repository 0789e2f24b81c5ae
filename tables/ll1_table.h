// The LL(1) table on the typed grammar: a cell is the list of productions
// placed in it, in the order they were placed; a cell with more than one
// is a conflict.  Its text is made by ll1TableText.
#pragma once

#include <string>
#include <vector>

#include "grammar/grammar.h"
#include "grammar/parsing.h"

struct LL1Table {
  Symbols columns;                               // the terminals by rank, then the end marker
  std::vector<int> columnOf;                     // by symbol, the end marker included; -1 for none
  std::vector<std::vector<std::vector<int>>> cells;  // [non-terminal][column]: production numbers

  int column(Symbol s) const {
    return s >= 0 && static_cast<size_t>(s) < columnOf.size() ? columnOf[static_cast<size_t>(s)] : -1;
  }
  const std::vector<int>& cell(Symbol nonTerminal, int column) const {
    return cells[static_cast<size_t>(nonTerminal)][static_cast<size_t>(column)];
  }
  int conflicts() const;
};

LL1Table ll1ParseTable(const Grammar& grammar);

// The text: the header of column names, one row a non-terminal; a cell is
// its first production whole and the bodies of the others after "|".
Table ll1TableText(const Grammar& grammar, const LL1Table& table);
std::string ll1CellText(const Grammar& grammar, const std::vector<int>& cell);
