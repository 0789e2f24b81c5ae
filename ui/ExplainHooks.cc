#include "ExplainHooks.h"

#include <QAction>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolTip>

#include "BackgroundJob.h"
#include "ExplainWindow.h"
#include "Forms.h"
#include "Look.h"
#include "StringGrid.h"
#include "Warning.h"
#include "explain/grammar_report.h"

ExplainHooks::ExplainHooks(QWidget* window, StringGrid* grid, QLabel* title)
    : QObject(window), window_(window), grid_(grid), viewport_(grid->viewport()), title_(title) {
  // Right under the grid, as wide as it: where the eyes go after a command.
  hint_ = new QLabel(grid->parentWidget());
  hint_->setObjectName("StartHint");
  hint_->setFont(timesNewRoman(13));
  hint_->setStyleSheet(QStringLiteral("QLabel { color: #8a1c00; background: #fff4cc; padding: 0 4px; }"));
  hint_->setCursor(Qt::PointingHandCursor);
  QRect below = grid->geometry();
  hint_->setGeometry(below.left(), below.bottom() + 1, below.width(), hint_->fontMetrics().height() + 2);
  hint_->installEventFilter(this);
  hint_->hide();
  viewport_->installEventFilter(this);
}

QString ExplainHooks::conflictTip(const QString& cell) {
  return QStringLiteral("%1\nA conflict: this cell holds more than one entry.\n"
                        "Double-click it, or use its context menu, to see why.")
      .arg(cell);
}

void ExplainHooks::tableShown(TableKind kind, const Row& rules) {
  shown_ = kind;
  shownRules_ = ruleTextsOf(rules);
}

void ExplainHooks::commandStarts() {
  hints_.clear();
  hint_->hide();
  title_->setToolTip(QString());
}

// A grammar in the token notation has no rule lines: the explanations read
// the classic notation only, so they offer nothing for it yet.
void ExplainHooks::lrCommandRan(const Parsing& model) {
  if (model.rules.getCount() == 0) return;
  lastRules_ = ruleTextsOf(model.rules);
  addHint(startHint(model));
}

void ExplainHooks::evaluationRan(const Parsing& model, const QString& word) {
  if (model.rules.getCount() == 0) return;
  lastRules_ = ruleTextsOf(model.rules);
  QByteArray bytes = word.toUtf8();
  for (const std::string& hint : wordHints(model, std::string(bytes.constData(), static_cast<size_t>(bytes.size()))))
    addHint(hint);
}

void ExplainHooks::addHint(const std::string& text) {
  if (text.empty()) return;
  QString hint = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  if (hints_.contains(hint)) return;
  hints_.append(hint);
  QString all = hints_.join(QLatin1Char(' '));
  title_->setToolTip(all);
  hint_->setToolTip(all + QStringLiteral("\nClick for the grammar report."));
  elideHint();
  hint_->show();
  hint_->raise();
}

void ExplainHooks::elideHint() {
  hint_->setText(hint_->fontMetrics().elidedText(hints_.join(QLatin1Char(' ')), Qt::ElideRight, hint_->width() - 8));
}

void ExplainHooks::offerIn(TForm3* warning, TableKind kind, const Row& rules) {
  if (rules.getCount() == 0) return;
  std::vector<std::string> plainRules = ruleTextsOf(rules);
  auto* action = new QAction(QStringLiteral("Explain the conflicts of this table"), warning);
  action->setObjectName("ExplainConflicts");
  action->setShortcut(QKeySequence(QString::fromLatin1(kWarningKey)));
  action->setShortcutContext(Qt::WindowShortcut);
  connect(action, &QAction::triggered, this, [this, warning, kind, plainRules] {
    warning->accept();
    ExplainJob job;
    job.what = ExplainJob::What::kTable;
    job.table = kind;
    job.rules = plainRules;
    open(std::move(job));
  });
  warning->addAction(action);
  warning->setContextMenuPolicy(Qt::ActionsContextMenu);
  // Beside Ok, in the dialog's free corner, so that the way is seen, not only known.
  auto* explain = new QPushButton(QStringLiteral("Explain..."), warning);
  explain->setObjectName("ExplainButton");
  explain->setAutoDefault(false);
  QRect ok = warning->BitBtn1->geometry();
  int left = ok.right() + 12;
  explain->setGeometry(left, ok.top() + 5, qMin(96, warning->width() - left - 8), ok.height() - 10);
  connect(explain, &QPushButton::clicked, action, &QAction::trigger);
  QString tip = QStringLiteral("Explain..., a right-click or %1 shows why the cells of this table conflict.").arg(kWarningKey);
  warning->setToolTip(tip);
  explain->setToolTip(tip);
  warning->Label1->setToolTip(tip);
}

ExplainWindow* ExplainHooks::openReport(const Row& rules, const QString& word) {
  if (rules.getCount() == 0) return nullptr;
  ExplainJob job;
  job.what = ExplainJob::What::kReport;
  job.rules = ruleTextsOf(rules);
  QByteArray bytes = word.toUtf8();
  job.word.assign(bytes.constData(), static_cast<size_t>(bytes.size()));
  return open(std::move(job));
}

ExplainWindow* ExplainHooks::openTable(TableKind kind, const Row& rules) {
  if (rules.getCount() == 0) return nullptr;
  ExplainJob job;
  job.what = ExplainJob::What::kTable;
  job.table = kind;
  job.rules = ruleTextsOf(rules);
  return open(std::move(job));
}

ExplainWindow* ExplainHooks::openCell(int col, int row) {
  if (!shown_ || shownRules_.empty() || grid_->mark(col, row) != StringGrid::Mark::Conflict) return nullptr;
  QByteArray symbol = grid_->cells(col, 0).toUtf8();
  if (symbol.isEmpty()) return nullptr;
  ExplainJob job;
  job.what = ExplainJob::What::kCell;
  job.table = *shown_;
  job.rules = shownRules_;
  job.row = row - 1;
  job.symbol.assign(symbol.constData(), static_cast<size_t>(symbol.size()));
  return open(std::move(job));
}

ExplainWindow* ExplainHooks::open(ExplainJob job) {
  auto* window = new ExplainWindow(std::move(job), window_);
  window->setWindowFlag(Qt::Window);
  adoptForm(window);
  window->show();
  return window;
}

std::optional<std::pair<int, int>> ExplainHooks::conflictCellAt(const QPoint& point) const {
  QModelIndex index = grid_->indexAt(point);
  if (!index.isValid() || !shown_) return std::nullopt;
  int col = index.column() + 1, row = index.row() + 1;
  if (grid_->mark(col, row) != StringGrid::Mark::Conflict) return std::nullopt;
  return std::make_pair(col, row);
}

bool ExplainHooks::offerAt(QMenu* menu, const QPoint& point) {
  auto cell = conflictCellAt(point);
  if (!cell) return false;
  QAction* explain = menu->addAction(QStringLiteral("E&xplain This Conflict"));
  explain->setObjectName("ExplainCell");
  connect(explain, &QAction::triggered, this, [this, cell] { openCell(cell->first, cell->second); });
  return true;
}

bool ExplainHooks::eventFilter(QObject* watched, QEvent* event) {
  if (watched == hint_) {
    if (event->type() == QEvent::Resize) elideHint();
    if (event->type() == QEvent::MouseButtonRelease && !lastRules_.empty()) {
      ExplainJob job;
      job.rules = lastRules_;
      open(std::move(job));
      return true;
    }
    return false;
  }
  if (watched != viewport_) return false;
  switch (event->type()) {
    case QEvent::ToolTip: {
      auto* help = static_cast<QHelpEvent*>(event);
      if (auto cell = conflictCellAt(help->pos())) {
        QToolTip::showText(help->globalPos(), conflictTip(grid_->cells(cell->first, cell->second)), grid_->viewport());
        return true;
      }
      return false;
    }
    case QEvent::MouseButtonDblClick: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (auto cell = conflictCellAt(mouse->position().toPoint())) {
        openCell(cell->first, cell->second);
        return true;  // instead of editing the cell
      }
      return false;
    }
    default: return false;
  }
}
