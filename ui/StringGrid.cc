#include "StringGrid.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QToolTip>
#include <cmath>

// The cells live here, fixed ones included; the view shows row 0 in its
// horizontal header, column 0 in its vertical header and cell (0, 0) on
// its corner button.
class StringGrid::Model : public QAbstractTableModel {
 public:
  explicit Model(QObject* parent) : QAbstractTableModel(parent) { resize(1, 1); }

  int rows() const { return static_cast<int>(text_.size()); }
  int cols() const { return cols_; }

  void setRows(int count) {
    count = qMax(1, count);
    if (count == rows()) return;
    if (count > rows()) {
      beginInsertRows({}, rows() - 1, count - 2);
      resize(count, cols_);
      endInsertRows();
    } else {
      beginRemoveRows({}, count - 1, rows() - 2);
      resize(count, cols_);
      endRemoveRows();
    }
  }

  void setCols(int count) {
    count = qMax(1, count);
    if (count == cols_) return;
    if (count > cols_) {
      beginInsertColumns({}, cols_ - 1, count - 2);
      resize(rows(), count);
      endInsertColumns();
    } else {
      beginRemoveColumns({}, count - 1, cols_ - 2);
      resize(rows(), count);
      endRemoveColumns();
    }
  }

  bool inside(int col, int row) const { return col >= 0 && row >= 0 && col < cols_ && row < rows(); }

  QString text(int col, int row) const { return inside(col, row) ? text_[row][col] : QString(); }
  Mark mark(int col, int row) const { return inside(col, row) ? marks_[row][col] : Mark::None; }

  void setText(int col, int row, const QString& text) {
    if (!inside(col, row)) return;
    text_[row][col] = text;
    changed(col, row);
  }

  // The cells of a row from column 0, one change for all of them.
  void setRow(int row, QStringList texts) {
    if (row < 0 || row >= rows()) return;
    int count = qMin(static_cast<int>(texts.size()), cols_);
    for (int col = 0; col < count; ++col) text_[row][col] = std::move(texts[col]);
    if (row == 0) {
      if (count > 1) emit headerDataChanged(Qt::Horizontal, 0, count - 2);
      return;
    }
    emit headerDataChanged(Qt::Vertical, row - 1, row - 1);
    if (count > 1) emit dataChanged(index(row - 1, 0), index(row - 1, count - 2));
  }

  void setMark(int col, int row, Mark mark) {
    if (!inside(col, row) || marks_[row][col] == mark) return;
    marks_[row][col] = mark;
    changed(col, row);
  }

  void clearMarks() {
    for (auto& row : marks_) row.fill(Mark::None);
    if (rows() > 1 && cols_ > 1) emit dataChanged(index(0, 0), index(rows() - 2, cols_ - 2));
  }

  int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : rows() - 1; }
  int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : cols_ - 1; }

  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid()) return {};
    int col = index.column() + 1;
    int row = index.row() + 1;
    switch (role) {
      case Qt::DisplayRole:
      case Qt::EditRole:
        return text(col, row);
      case Qt::BackgroundRole: {
        QColor color = markColor(mark(col, row));
        return color.isValid() ? QVariant(color) : QVariant();
      }
      default:
        return {};
    }
  }

  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    int col = orientation == Qt::Horizontal ? section + 1 : 0;
    int row = orientation == Qt::Horizontal ? 0 : section + 1;
    if (role == Qt::DisplayRole) return text(col, row);
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
  }

  bool setData(const QModelIndex& index, const QVariant& value, int role) override {
    if (!index.isValid() || role != Qt::EditRole) return false;
    setText(index.column() + 1, index.row() + 1, value.toString());
    return true;
  }

  Qt::ItemFlags flags(const QModelIndex& index) const override {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
  }

 private:
  void resize(int rows, int cols) {
    text_.resize(rows);
    marks_.resize(rows);
    for (int i = 0; i < rows; ++i) {
      text_[i].resize(cols);
      marks_[i].resize(cols, Mark::None);
    }
    cols_ = cols;
  }

  void changed(int col, int row) {
    if (row == 0 && col == 0) return;  // the corner repaints itself
    if (row == 0) {
      emit headerDataChanged(Qt::Horizontal, col - 1, col - 1);
    } else if (col == 0) {
      emit headerDataChanged(Qt::Vertical, row - 1, row - 1);
    } else {
      QModelIndex at = index(row - 1, col - 1);
      emit dataChanged(at, at);
    }
  }

  QVector<QVector<QString>> text_;
  QVector<QVector<Mark>> marks_;
  int cols_ = 0;
};

StringGrid::StringGrid(QWidget* parent) : QTableView(parent), model_(new Model(this)) {
  setModel(model_);
  setWordWrap(false);
  setTextElideMode(Qt::ElideRight);
  // Tab moves on to the next control, as in a form.
  setTabKeyNavigation(false);
  setSelectionMode(QAbstractItemView::ContiguousSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                  QAbstractItemView::AnyKeyPressed);
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);
  setShowGrid(true);
  for (QHeaderView* header : {horizontalHeader(), verticalHeader()}) {
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setMinimumSectionSize(4);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->viewport()->installEventFilter(this);
  }
  // Dragging a header edge widens a column; double-clicking it fits the
  // column to its texts (QTableView connects that).
  horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  corner_ = findChild<QAbstractButton*>();
  if (corner_ != nullptr) corner_->installEventFilter(this);
  setRowCount(5);
  setColCount(2);
  setDefaultColWidth(64);
}

void StringGrid::setRowCount(int count) {
  model_->setRows(count);
  applySizes();
}

void StringGrid::setColCount(int count) {
  model_->setCols(count);
  applySizes();
}

void StringGrid::setDefaultColWidth(int width) {
  colWidth_ = qMax(4, width);
  applySizes();
}

void StringGrid::setDefaultRowHeight(int height) {
  rowHeight_ = qMax(4, height);
  applySizes();
}

void StringGrid::setCells(int col, int row, const QString& text) {
  model_->setText(col, row, text);
  if (col == 0 && row == 0 && corner_ != nullptr) corner_->update();
}

void StringGrid::setRow(int row, QStringList texts) {
  model_->setRow(row, std::move(texts));
  if (row == 0 && corner_ != nullptr) corner_->update();
}

void StringGrid::setMark(int col, int row, Mark mark) { model_->setMark(col, row, mark); }

void StringGrid::clearMarks() { model_->clearMarks(); }

void StringGrid::resetView() {
  reset();  // closes an open editor, drops the selection and the current cell
  applySizes();
  horizontalScrollBar()->setValue(0);
  verticalScrollBar()->setValue(0);
}

void StringGrid::setZoom(double factor) {
  zoom_ = factor;
  applySizes();
}

void StringGrid::fitColumns() { resizeColumnsToContents(); }

QString StringGrid::selectionText() const {
  QModelIndexList selected = selectionModel()->selectedIndexes();
  if (selected.isEmpty() && currentIndex().isValid()) selected.append(currentIndex());
  if (selected.isEmpty()) return {};
  int top = selected[0].row(), bottom = top, left = selected[0].column(), right = left;
  for (const QModelIndex& index : selected) {
    top = qMin(top, index.row());
    bottom = qMax(bottom, index.row());
    left = qMin(left, index.column());
    right = qMax(right, index.column());
  }
  auto field = [](QString text) {
    if (!text.contains(QLatin1Char('\t')) && !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('"')))
      return text;
    return QLatin1Char('"') + text.replace(QLatin1String("\""), QLatin1String("\"\"")) + QLatin1Char('"');
  };
  QString out;
  for (int row = top; row <= bottom; ++row) {
    for (int col = left; col <= right; ++col) {
      if (col > left) out += QLatin1Char('\t');
      QModelIndex index = model_->index(row, col);
      if (selectionModel()->isSelected(index) || index == currentIndex()) out += field(cells(col + 1, row + 1));
    }
    out += QLatin1Char('\n');
  }
  return out;
}

void StringGrid::copySelection() const {
  QString text = selectionText();
  if (!text.isEmpty()) QApplication::clipboard()->setText(text);
}

void StringGrid::keyPressEvent(QKeyEvent* event) {
  if (event == QKeySequence::Copy) {
    copySelection();
    event->accept();
    return;
  }
  QTableView::keyPressEvent(event);
}

bool StringGrid::tipWhenCut(QEvent* event, const QString& text, int room) {
  auto* help = static_cast<QHelpEvent*>(event);
  int margin = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
  if (text.isEmpty() || fontMetrics().horizontalAdvance(text) <= room - margin) {
    QToolTip::hideText();
    event->ignore();
    return true;
  }
  QToolTip::showText(help->globalPos(), text, this);
  return true;
}

bool StringGrid::viewportEvent(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    QModelIndex index = indexAt(static_cast<QHelpEvent*>(event)->pos());
    if (index.isValid()) return tipWhenCut(event, index.data().toString(), visualRect(index).width());
  }
  return QTableView::viewportEvent(event);
}

int StringGrid::rowCount() const { return model_->rows(); }

int StringGrid::colCount() const { return model_->cols(); }

QString StringGrid::cells(int col, int row) const { return model_->text(col, row); }

StringGrid::Mark StringGrid::mark(int col, int row) const { return model_->mark(col, row); }

QColor StringGrid::markColor(Mark mark) {
  switch (mark) {
    case Mark::Conflict:
      return QColor(0xff, 0xcf, 0x8a);
    case Mark::Accept:
      return QColor(0xbf, 0xe8, 0xb5);
    case Mark::Error:
      return QColor(0xf5, 0xb8, 0xb4);
    case Mark::None:
      break;
  }
  return {};
}

void StringGrid::applySizes() {
  int width = static_cast<int>(std::lround(colWidth_ * zoom_));
  int height = static_cast<int>(std::lround(rowHeight_ * zoom_));
  QHeaderView* top = horizontalHeader();
  QHeaderView* left = verticalHeader();
  // Gives every section the size, also one the user widened.
  top->setDefaultSectionSize(width);
  left->setDefaultSectionSize(height);
  left->setFixedWidth(width);
  top->setFixedHeight(height);
}

void StringGrid::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) {
    horizontalHeader()->setFont(font());
    verticalHeader()->setFont(font());
  }
  QTableView::changeEvent(event);
}

// The corner button belongs to the view and knows nothing of texts: let it
// draw its face, then write cell (0, 0) on it like the other fixed cells.
bool StringGrid::eventFilter(QObject* watched, QEvent* event) {
  if (watched == corner_ && event->type() == QEvent::Paint) {
    static_cast<QObject*>(corner_)->event(event);
    QString text = cells(0, 0);
    if (!text.isEmpty()) {
      QPainter painter(corner_);
      painter.setFont(font());
      painter.setPen(palette().color(QPalette::ButtonText));
      painter.drawText(corner_->rect().adjusted(4, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter, text);
    }
    return true;
  }
  // The fixed cells are the headers' sections: the same hint when cut.
  for (QHeaderView* header : {horizontalHeader(), verticalHeader()}) {
    if (watched != header->viewport() || event->type() != QEvent::ToolTip) continue;
    QPoint at = static_cast<QHelpEvent*>(event)->pos();
    int section = header->logicalIndexAt(header->orientation() == Qt::Horizontal ? at.x() : at.y());
    if (section < 0) return false;
    int room = header->orientation() == Qt::Horizontal ? header->sectionSize(section) : header->width();
    return tipWhenCut(event, model_->headerData(section, header->orientation(), Qt::DisplayRole).toString(), room);
  }
  return QTableView::eventFilter(watched, event);
}
