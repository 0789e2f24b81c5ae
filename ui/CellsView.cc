#include "CellsView.h"

#include <QAbstractTableModel>
#include <QHeaderView>

#include "Look.h"

class CellsView::Model : public QAbstractTableModel {
 public:
  using QAbstractTableModel::QAbstractTableModel;

  void setCells(Cells cells) {
    beginResetModel();
    cells_ = std::move(cells);
    colours_.clear();
    endResetModel();
  }

  std::string cell(int row, int column) const {
    if (row < 0 || static_cast<size_t>(row) >= cells_.size()) return {};
    const std::vector<std::string>& line = cells_[static_cast<size_t>(row)];
    return column >= 0 && static_cast<size_t>(column) < line.size() ? line[static_cast<size_t>(column)] : std::string();
  }

  void setColour(int row, int column, const QColor& colour) {
    if (colour.isValid())
      colours_[{row, column}] = colour;
    else
      colours_.erase({row, column});
    QModelIndex at = index(row - 1, column - 1);
    if (at.isValid()) emit dataChanged(at, at, {Qt::BackgroundRole});
  }

  QColor colour(int row, int column) const {
    auto found = colours_.find({row, column});
    return found == colours_.end() ? QColor() : found->second;
  }

  void clearColours() {
    std::map<std::pair<int, int>, QColor> old;
    old.swap(colours_);
    for (const auto& [cell, colour] : old) {
      QModelIndex at = index(cell.first - 1, cell.second - 1);
      if (at.isValid()) emit dataChanged(at, at, {Qt::BackgroundRole});
    }
  }

  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() || cells_.empty() ? 0 : static_cast<int>(cells_.size()) - 1;
  }
  int columnCount(const QModelIndex& parent) const override {
    return parent.isValid() || cells_.empty() ? 0 : static_cast<int>(cells_[0].size()) - 1;
  }

  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid()) return {};
    if (role == Qt::DisplayRole) return QString::fromStdString(cell(index.row() + 1, index.column() + 1));
    if (role == Qt::BackgroundRole) {
      QColor fill = colour(index.row() + 1, index.column() + 1);
      return fill.isValid() ? QVariant(fill) : QVariant();
    }
    return {};
  }

  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (role != Qt::DisplayRole) return {};
    return QString::fromStdString(orientation == Qt::Horizontal ? cell(0, section + 1) : cell(section + 1, 0));
  }

 private:
  Cells cells_;
  std::map<std::pair<int, int>, QColor> colours_;
};

CellsView::CellsView(QWidget* parent) : QTableView(parent), model_(new Model(this)) {
  setModel(model_);
  setFont(courierNew(14));
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::NoSelection);
  setWordWrap(false);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  horizontalHeader()->setDefaultSectionSize(54);
  verticalHeader()->setDefaultSectionSize(22);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
}

void CellsView::setCells(Cells cells) { model_->setCells(std::move(cells)); }

void CellsView::fitColumns() {
  QHeaderView* header = horizontalHeader();
  for (int column = 0; column < header->count(); ++column)
    header->resizeSection(column, qMax(header->defaultSectionSize(),
                                       qMax(sizeHintForColumn(column), header->sectionSizeHint(column))));
}
void CellsView::setColour(int row, int column, const QColor& colour) { model_->setColour(row, column, colour); }
QColor CellsView::colour(int row, int column) const { return model_->colour(row, column); }
void CellsView::clearColours() { model_->clearColours(); }
QString CellsView::text(int row, int column) const { return QString::fromStdString(model_->cell(row, column)); }

void CellsView::reveal(int row, int column) {
  QModelIndex at = model_->index(row - 1, qMax(0, column - 1));
  if (at.isValid()) scrollTo(at, QAbstractItemView::EnsureVisible);
}
