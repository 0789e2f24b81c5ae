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

CellIndex::CellIndex(const Table& table) {
  for (const Row& row : table) rows_.push_back(&row);
  cells_.resize(rows_.size());
}

const HString& CellIndex::at(int i, int j) {
  std::vector<const HString*>& cells = cells_[static_cast<size_t>(i)];
  if (cells.empty())
    for (const HString& cell : *rows_[static_cast<size_t>(i)]) cells.push_back(&cell);
  return *cells[static_cast<size_t>(j)];
}
