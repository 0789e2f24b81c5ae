#include "ExplainWindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QTextEdit>
#include <QUrl>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

#include "BackgroundJob.h"
#include "Look.h"
#include "TreePairPicture.h"
#include "explain/conflicts.h"
#include "explain/explanation_text.h"
#include "explain/grammar_report.h"
#include "trees/tree_dot.h"

namespace {

// How long the work may run before the window shows its progress.
constexpr int kPatienceMilliseconds = 300;

}  // namespace

namespace {

// Where the side-by-side text of each unifying counterexample's two trees
// stands in the lines, with the trees to draw in its place.
std::vector<DrawnPair> drawnPairs(const Grammar& grammar, const Lines& lines, const std::vector<Conflict>& conflicts) {
  std::vector<DrawnPair> pairs;
  size_t at = 0;
  for (const Conflict& conflict : conflicts) {
    const Counterexample& ce = conflict.counterexample;
    if (ce.kind != Counterexample::Kind::kUnifying) continue;
    while (at < lines.size() && lines[at].find("Counterexample (unifying") == std::string::npos) ++at;
    if (at == lines.size()) break;
    DrawnPair pair;
    pair.at = ++at;
    pair.count = std::max(treeLines(grammar, ce.trees[0]).size(), treeLines(grammar, ce.trees[1]).size()) + 1;
    bool drawable = true;
    for (int k = 0; k < 2; ++k)
      drawable = drawable && productionsOf(grammar, ce.trees[k]).size() * 4 < static_cast<size_t>(kDrawableTreeNodes);
    if (!drawable) continue;
    for (int k = 0; k < 2; ++k)
      pair.trees[k] = captionedTree(grammar, ce.trees[k], QStringLiteral("With %1").arg(QString::fromStdString(ce.actions[k])));
    pairs.push_back(std::move(pair));
  }
  return pairs;
}

// The symbol a column header names: the end marker, or a terminal.
Symbol columnSymbol(const Grammar& grammar, const std::string& name) {
  return name == "$" ? grammar.endMarker() : grammar.symbolNamed(name);
}

}  // namespace

ExplainedGrammar explainedGrammar(const Parsing& model) {
  ExplainedGrammar grammar;
  if (model.typed.notation == Notation::kTokens) {
    grammar.tokens = model.typed;
    grammar.addedStartRule = model.addedStartRule;
  } else {
    grammar.rules = ruleTextsOf(model.rules);
  }
  return grammar;
}

Explained explain(const ExplainJob& job) {
  Parsing model;
  loadGrammarCopy(model, job.grammar.rules, job.grammar.tokens);
  // A token grammar's copy holds the start rule already: the report is told whose it is.
  model.addedStartRule = job.grammar.addedStartRule;
  Explained result;
  if (job.what == ExplainJob::What::kReport) {
    result.lines = reportLines(grammarReport(model, job.word, job.bounds));
    return result;
  }
  TableSet tables(model);
  std::vector<Conflict> conflicts;
  if (job.what == ExplainJob::What::kTable) {
    conflicts = explainConflicts(tables, job.table, job.bounds);
    result.lines = conflictsLines(model.typed, job.table, conflicts);
  } else if (std::optional<Conflict> conflict = explainCell(tables, job.table, job.row, columnSymbol(model.typed, job.symbol), job.bounds)) {
    conflicts.push_back(*conflict);
    result.lines = conflictLines(model.typed, *conflict);
  } else {
    result.lines = {"This cell holds no conflict."};
  }
  result.pairs = drawnPairs(model.typed, result.lines, conflicts);
  return result;
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
  text_ = new QTextEdit(this);
  text_->setObjectName("Explanation");
  text_->setReadOnly(true);
  text_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  text_->setLineWrapMode(QTextEdit::WidgetWidth);
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

  auto result = std::make_shared<Explained>();
  job_->start(
      QStringLiteral("Searching for counterexamples"), [job = std::move(job), result](const BackgroundJob::Progress&) {
        *result = explain(job);
      },
      [this, result] {
        QString status;
        switch (job_->outcome()) {
          case BackgroundJob::Outcome::kDone: break;
          case BackgroundJob::Outcome::kCancelled: status = QStringLiteral("Cancelled."); break;
          case BackgroundJob::Outcome::kLimit: status = job_->failure(); break;
          case BackgroundJob::Outcome::kFailed: status = QStringLiteral("The explanation stopped: ") + job_->failure(); break;
        }
        if (status.isEmpty()) {
          showExplained(*result);
        } else {
          plain_ = status;
          text_->setPlainText(status);
        }
        status_->setText(status);
        emit finished();
      });
}

// The text wraps; each pair of trees is a picture in the place of its
// side-by-side text, and the window grows to show the widest picture, as far
// as the screen lets it.
void ExplainWindow::showExplained(const Explained& result) {
  QStringList all;
  for (const std::string& line : result.lines) all.append(QString::fromStdString(line));
  plain_ = all.join(QLatin1Char('\n'));
  auto prose = [&](size_t from, size_t to) {
    QStringList part = all.mid(static_cast<qsizetype>(from), static_cast<qsizetype>(to - from));
    return part.isEmpty() ? QString()
                          : QStringLiteral("<pre style=\"white-space: pre-wrap; margin: 0\">%1</pre>")
                                .arg(part.join(QLatin1Char('\n')).toHtmlEscaped());
  };
  QString html;
  size_t next = 0;
  int widest = 0;
  for (size_t k = 0; k < result.pairs.size(); ++k) {
    const DrawnPair& pair = result.pairs[k];
    QImage picture = treePairPicture(pair.trees[0], pair.trees[1]);
    QUrl name(QStringLiteral("trees:%1").arg(k));
    text_->document()->addResource(QTextDocument::ImageResource, name, picture);
    html += prose(next, pair.at) + QStringLiteral("<p style=\"margin-left: 32px\"><img src=\"%1\"></p>").arg(name.toString());
    widest = std::max(widest, picture.width() + 32);
    next = pair.at + pair.count;
  }
  html += prose(next, result.lines.size());
  text_->setHtml(html);
  pictures_ = static_cast<int>(result.pairs.size());
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

QString ExplainWindow::text() const { return plain_; }
