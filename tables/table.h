// What every parse table shares: an empty table of texts and the column of a symbol.
#pragma once

#include "grammar/parsing.h"

// `rows` rows of `cells` empty texts.
Table emptyTable(int rows, int cells);

// The column of each header symbol, found through the header row.
class ColumnMap {
 public:
  explicit ColumnMap(const Row& header);
  // The column whose header is c, or -1.
  int operator[](char c) const { return columns_[static_cast<unsigned char>(c)]; }

 private:
  int columns_[256];
};
