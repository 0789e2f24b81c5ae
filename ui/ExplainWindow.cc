#include "ExplainWindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

#include "BackgroundJob.h"
#include "Look.h"
#include "explain/conflicts.h"
#include "explain/explanation_text.h"
#include "explain/grammar_report.h"

namespace {

// How long the work may run before the window shows its progress.
constexpr int kPatienceMilliseconds = 300;

}  // namespace

Lines explainLines(const ExplainJob& job) {
  Parsing model;
  loadRuleTexts(model, job.rules);
  switch (job.what) {
    case ExplainJob::What::kReport: return reportLines(grammarReport(model, job.word, job.bounds));
    case ExplainJob::What::kTable: {
      TableSet tables(model);
      return conflictsLines(job.table, explainConflicts(tables, job.table, job.bounds));
    }
    case ExplainJob::What::kCell: {
      TableSet tables(model);
      std::optional<Conflict> conflict = explainCell(tables, job.table, job.row, job.symbol, job.bounds);
      if (!conflict) return {"This cell holds no conflict."};
      return conflictLines(*conflict);
    }
  }
  return {};
}

QString titleOf(const ExplainJob& job) {
  switch (job.what) {
    case ExplainJob::What::kReport: return QStringLiteral("Grammar report");
    case ExplainJob::What::kTable: return QStringLiteral("%1 table: why its cells conflict").arg(tableName(job.table));
    case ExplainJob::What::kCell:
      return QStringLiteral("%1 table: why this cell conflicts").arg(tableName(job.table));
  }
  return {};
}

ExplainWindow::ExplainWindow(ExplainJob job, QWidget* parent) : QDialog(parent) {
  setObjectName("ExplainWindow");
  setWindowTitle(titleOf(job));
  setAttribute(Qt::WA_DeleteOnClose);
  setModal(false);
  resize(900, 560);

  heading_ = new QLabel(titleOf(job), this);
  heading_->setFont(timesNewRoman(19, true));
  text_ = new QPlainTextEdit(this);
  text_->setObjectName("Explanation");
  text_->setReadOnly(true);
  text_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  text_->setFont(courierNew(15));
  text_->setPlainText(QStringLiteral("Working..."));
  job_ = new BackgroundJob(this);
  status_ = new JobStatus(job_, kPatienceMilliseconds, this);
  close_ = new QPushButton(QStringLiteral("Close"), this);
  close_->setObjectName("Close");
  connect(close_, &QPushButton::clicked, this, &QDialog::close);

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(status_, 1);
  bottom->addStretch();
  bottom->addWidget(close_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(heading_);
  layout->addWidget(text_, 1);
  layout->addLayout(bottom);

  auto lines = std::make_shared<Lines>();
  job_->start(
      QStringLiteral("Searching for counterexamples"), [job = std::move(job), lines](const BackgroundJob::Progress&) {
        *lines = explainLines(job);
      },
      [this, lines] {
        QString status;
        switch (job_->outcome()) {
          case BackgroundJob::Outcome::kDone: break;
          case BackgroundJob::Outcome::kCancelled: status = QStringLiteral("Cancelled."); break;
          case BackgroundJob::Outcome::kLimit: status = job_->failure(); break;
          case BackgroundJob::Outcome::kFailed: status = QStringLiteral("The explanation stopped: ") + job_->failure(); break;
        }
        QStringList texts;
        for (const std::string& line : *lines) texts.append(QString::fromStdString(line));
        text_->setPlainText(status.isEmpty() ? texts.join(QLatin1Char('\n')) : status);
        status_->setText(status);
        fitText(texts);
        emit finished();
      });
}

// Lines are not wrapped, for the trees of a counterexample stand side by
// side; the window grows to show the longest line, as far as the screen lets it.
void ExplainWindow::fitText(const QStringList& lines) {
  int widest = 0;
  for (const QString& line : lines) widest = std::max(widest, text_->fontMetrics().horizontalAdvance(line));
  int lack = widest + 2 * static_cast<int>(text_->document()->documentMargin()) + text_->verticalScrollBar()->width() -
             text_->viewport()->width();
  if (lack <= 0) return;
  QRect room = screen()->availableGeometry();
  int width = std::min(this->width() + lack, room.width() - 40);
  if (width <= this->width()) return;
  resize(width, height());
  if (frameGeometry().right() > room.right()) move(std::max(room.left(), room.right() - frameGeometry().width()), y());
}

bool ExplainWindow::isRunning() const { return job_->running(); }

QString ExplainWindow::text() const { return text_->toPlainText(); }
