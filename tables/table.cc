#include "tables/table.h"

Table emptyTable(int rows, int cells) {
  Row row;
  for (int j = 0; j < cells; ++j) row.insertTail(HString());
  Table table;
  for (int i = 0; i < rows; ++i) table.insertTail(row);
  return table;
}

ColumnMap::ColumnMap(const Row& header) {
  for (int& column : columns_) column = -1;
  int j = 0;
  for (const HString& symbol : header) {
    if (j > 0 && symbol.getLength() == 1) columns_[static_cast<unsigned char>(symbol[0])] = j;
    ++j;
  }
}
