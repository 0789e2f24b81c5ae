// A table of texts with coloured cells: a parse table or a trace, with
// row 0 of the cells as the column headers and column 0 as the row labels.
// Large tables (thousands of LR(1) states) stay fast: the cells are read
// as the view shows them.
#pragma once

#include <QColor>
#include <QTableView>
#include <map>
#include <utility>

#include "writers/format.h"

class CellsView : public QTableView {
  Q_OBJECT

 public:
  explicit CellsView(QWidget* parent = nullptr);

  void setCells(Cells cells);
  // Colours a cell, row and column counted as in the cells (from 1); an
  // invalid colour clears it.
  void setColour(int row, int column, const QColor& colour);
  QColor colour(int row, int column) const;
  void clearColours();
  // Widens every column that cuts one of its texts, as far as the longest.
  void fitColumns();
  // Scrolls the cell into view; with column 0 the row.
  void reveal(int row, int column);
  // The text of a cell, as in the cells.
  QString text(int row, int column) const;

 private:
  class Model;
  Model* model_;
};
