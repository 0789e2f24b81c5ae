// What every parse table shares: an empty table of texts and the column of a symbol.
#pragma once

#include <vector>

#include "grammar/parsing.h"

// `rows` rows of `cells` empty texts.
Table emptyTable(int rows, int cells);

// The cells of a table by row and column, each in constant time; a row is
// indexed the first time one of its cells is asked for, so a parse that
// visits few states of a large table indexes only those.
class CellIndex {
 public:
  explicit CellIndex(const Table& table);
  // The cell of row i, column j; both must exist.
  const HString& at(int i, int j);

 private:
  std::vector<const Row*> rows_;
  std::vector<std::vector<const HString*>> cells_;  // empty until indexed
};

// The column of each header symbol, found through the header row.
class ColumnMap {
 public:
  explicit ColumnMap(const Row& header);
  // The column whose header is c, or -1.
  int operator[](char c) const { return columns_[static_cast<unsigned char>(c)]; }

 private:
  int columns_[256];
};
