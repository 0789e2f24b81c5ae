#include "ExplainWindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "Look.h"
#include "core/work.h"
#include "explain/conflicts.h"
#include "explain/explanation_text.h"
#include "explain/grammar_report.h"

namespace {

// How long the work may run before the window shows its progress.
constexpr int kPatienceMilliseconds = 300;

QString fromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

Lines explainLines(const ExplainJob& job) {
  Row rules;
  for (const std::string& rule : job.rules) rules.insertTail(HString(rule.data(), static_cast<int>(rule.size())));
  Parsing model;
  model.loadRules(rules);
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
  progress_ = new QProgressBar(this);
  progress_->setRange(0, 0);  // busy: the search does not know its length
  status_ = new QLabel(this);
  cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
  cancel_->setObjectName("Cancel");
  close_ = new QPushButton(QStringLiteral("Close"), this);
  close_->setObjectName("Close");
  connect(cancel_, &QPushButton::clicked, this, &ExplainWindow::cancel);
  connect(close_, &QPushButton::clicked, this, &QDialog::close);

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(progress_, 1);
  bottom->addWidget(status_, 2);
  bottom->addStretch();
  bottom->addWidget(cancel_);
  bottom->addWidget(close_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(heading_);
  layout->addWidget(text_, 1);
  layout->addLayout(bottom);
  progress_->hide();
  status_->hide();
  cancel_->hide();

  patience_ = new QTimer(this);
  patience_->setSingleShot(true);
  connect(patience_, &QTimer::timeout, this, &ExplainWindow::showProgress);
  patience_->start(kPatienceMilliseconds);

  // The worker owns everything it builds and hands over the lines alone.
  worker_ = std::thread([this, job = std::move(job)] {
    Lines lines;
    QString status;
    try {
      WorkScope scope(WorkLimits{}, &cancelled_, [this](const WorkProgress&) { steps_.fetch_add(4096); });
      lines = explainLines(job);
    } catch (const WorkStopped& stopped) {
      status = stopped.cancelled() ? QStringLiteral("Cancelled.") : fromUtf8(stopped.what());
    } catch (const std::exception& failure) {
      status = QStringLiteral("The explanation stopped: ") + fromUtf8(failure.what());
    }
    QMetaObject::invokeMethod(this, [this, lines = std::move(lines), status] { done(lines, status); }, Qt::QueuedConnection);
  });
}

ExplainWindow::~ExplainWindow() {
  cancelled_ = true;
  if (worker_.joinable()) worker_.join();
}

QString ExplainWindow::text() const { return text_->toPlainText(); }

void ExplainWindow::cancel() {
  cancelled_ = true;
  cancel_->setEnabled(false);
  status_->setText(QStringLiteral("Cancelling..."));
}

void ExplainWindow::showProgress() {
  if (!running_) return;
  progress_->show();
  status_->show();
  cancel_->show();
  long steps = steps_.load();
  if (cancel_->isEnabled())
    status_->setText(steps > 0 ? QStringLiteral("Searching for counterexamples: %1 steps").arg(steps)
                               : QStringLiteral("Searching for counterexamples"));
  patience_->start(200);
}

void ExplainWindow::done(const Lines& lines, const QString& status) {
  if (worker_.joinable()) worker_.join();
  running_ = false;
  patience_->stop();
  progress_->hide();
  cancel_->hide();
  QStringList texts;
  for (const std::string& line : lines) texts.append(fromUtf8(line));
  text_->setPlainText(status.isEmpty() ? texts.join(QLatin1Char('\n')) : status);
  status_->setVisible(!status.isEmpty());
  status_->setText(status);
  emit finished();
}
