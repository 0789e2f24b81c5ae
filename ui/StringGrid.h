// StringGrid: a grid of texts with one fixed row and one fixed column, as the
// result grid of the main window needs it.  Addressing follows the grid, not
// the view: column 0 and row 0 are the fixed cells, which stay in place while
// the other cells scroll underneath them.  A cell too narrow for its text
// ends in an ellipsis and shows the whole text on hovering; the user may
// widen a column by dragging its header edge or fit it by double-clicking
// there, and copy the selected cells as tab-separated text.
#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>
#include <QTableView>
#include <QVector>

class QAbstractButton;

class StringGrid : public QTableView {
  Q_OBJECT

 public:
  // How a cell is set off from the others.
  enum class Mark { None, Conflict, Accept, Error };

  explicit StringGrid(QWidget* parent = nullptr);

  // Counts include the fixed row and column; a grid keeps at least those.
  void setRowCount(int count);
  void setColCount(int count);
  // The width of every column, the fixed one included.
  void setDefaultColWidth(int width);
  void setDefaultRowHeight(int height);
  void setCells(int col, int row, const QString& text);
  // The cells of a row from column 0 on, as setCells one by one would.
  void setRow(int row, QStringList texts);
  void setMark(int col, int row, Mark mark);
  void clearMarks();
  // For a new result: no selection, no current cell, no open editor, every
  // column at the default width, scrolled to the top-left.
  void resetView();
  // Sizes follow the font: widths and heights are multiplied by `factor`.
  void setZoom(double factor);
  // Widens every column to its longest text, or narrows it to that.
  void fitColumns();

  int rowCount() const;
  int colCount() const;
  int defaultColWidth() const { return colWidth_; }
  int defaultRowHeight() const { return rowHeight_; }
  QString cells(int col, int row) const;
  Mark mark(int col, int row) const;
  // The background a mark gives its cells (invalid for Mark::None).
  static QColor markColor(Mark mark);
  // The selected cells, one line a row, cells separated by tabs; a cell
  // holding a tab, a line end or a quote is quoted as spreadsheets expect.
  QString selectionText() const;
  void copySelection() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool viewportEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  class Model;

  void applySizes();

  // Shows `text` as a tooltip at the event when `room` pixels cut it; true when handled.
  bool tipWhenCut(QEvent* event, const QString& text, int room);

  Model* model_;
  QAbstractButton* corner_ = nullptr;
  int colWidth_ = 64;
  int rowHeight_ = 24;
  double zoom_ = 1;
};
