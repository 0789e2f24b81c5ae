#include "TransformWindow.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "grammar/grammar_text.h"
#include "writers/transform_sheet.h"

namespace {

// The grammar as lines, the rules of `changed` heads in bold: a rule's line
// starts with its head's name and then the arrow.
QString markedGrammar(const Grammar& grammar, const std::vector<std::string>& changed) {
  QString html = QStringLiteral("<pre style=\"font-family: monospace\">");
  QString text = QString::fromStdString(grammarText(grammar));
  for (const QString& line : text.split('\n', Qt::SkipEmptyParts)) {
    bool marked = false;
    for (const std::string& head : changed) {
      QString name = QString::fromStdString(head);
      if (line.startsWith(name + "->") || line.startsWith(name + " ->")) marked = true;
    }
    QString escaped = line.toHtmlEscaped();
    html += marked ? "<b style=\"color: #1a5fb4\">" + escaped + "</b>\n" : escaped + "\n";
  }
  return html + "</pre>";
}

}  // namespace

TransformWindow::TransformWindow(TransformKind kind, Grammar input, TransformResult result, Apply apply, QWidget* parent)
    : QDialog(parent), input_(std::move(input)), result_(std::move(result)), apply_(std::move(apply)) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(tr("%1 - Tablomat").arg(QString::fromUtf8(transformTitle(kind).data(), static_cast<int>(transformTitle(kind).size()))));

  steps_ = new QListWidget;
  steps_->addItem(tr("The grammar"));
  int number = 0;
  for (const TransformStep& step : result_.steps)
    steps_->addItem(tr("%1. %2").arg(++number).arg(QString::fromStdString(step.title)));
  steps_->addItem(result_.remainingConflicts.empty() ? tr("Result") : tr("Result: still not LL(1)"));
  note_ = new QLabel;
  note_->setWordWrap(true);
  note_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  grammar_ = new QTextBrowser;

  auto* right = new QWidget;
  auto* rightLayout = new QVBoxLayout(right);
  rightLayout->setContentsMargins(0, 0, 0, 0);
  rightLayout->addWidget(note_);
  rightLayout->addWidget(grammar_, 1);
  auto* split = new QSplitter;
  split->addWidget(steps_);
  split->addWidget(right);
  split->setStretchFactor(1, 1);

  auto* buttons = buttons_ = new QDialogButtonBox;
  QPushButton* applyButton = buttons->addButton(tr("&Apply"), QDialogButtonBox::AcceptRole);
  applyButton->setToolTip(tr("Puts the result into the editor; Ctrl+Z in the editor brings the grammar back."));
  QPushButton* copy = buttons->addButton(tr("&Copy Steps"), QDialogButtonBox::ActionRole);
  copy->setToolTip(tr("Copies every step as Markdown, for a handout."));
  buttons->addButton(QDialogButtonBox::Close);
  connect(applyButton, &QPushButton::clicked, this, &TransformWindow::apply);
  connect(copy, &QPushButton::clicked, this, [this, kind] {
    QGuiApplication::clipboard()->setText(QString::fromStdString(transformSheet(input_, kind, result_, Format::kMarkdown)));
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(split, 1);
  layout->addWidget(buttons);
  connect(steps_, &QListWidget::currentRowChanged, this, &TransformWindow::showStep);
  steps_->setCurrentRow(steps_->count() - 1);
  resize(860, 520);
}

void TransformWindow::showStep(int row) {
  if (row <= 0) {
    note_->setText(tr("The grammar as it stands in the editor."));
    grammar_->setHtml(markedGrammar(input_, {}));
  } else if (row <= static_cast<int>(result_.steps.size())) {
    const TransformStep& step = result_.steps[static_cast<size_t>(row - 1)];
    note_->setText(QString::fromStdString(step.note));
    grammar_->setHtml(markedGrammar(step.grammar, step.changed));
  } else {
    QString note = tr("The grammar after every step; Apply puts it into the editor.");
    if (!result_.remainingConflicts.empty()) {
      note += tr(" It still has LL(1) conflicts (not every grammar has an LL(1) equivalent):");
      for (const std::string& conflict : result_.remainingConflicts) note += "\n  " + QString::fromStdString(conflict);
    }
    note_->setText(note);
    grammar_->setHtml(markedGrammar(result_.grammar, {}));
  }
}

QString TransformWindow::shownText() const { return note_->text() + "\n" + grammar_->toPlainText(); }

void TransformWindow::apply() {
  std::string text = grammarText(result_.grammar);
  text.pop_back();  // the editor's last line has no line end of its own
  apply_(QString::fromStdString(text));
  close();
}

void TransformWindow::offerPractice(std::function<void()> practise) {
  QPushButton* practice = buttons_->addButton(tr("&Practice This"), QDialogButtonBox::ActionRole);
  practice->setObjectName("practiceButton");
  practice->setToolTip(tr("Do this transformation yourself in the practice window; Check grades it."));
  connect(practice, &QPushButton::clicked, this, [this, practise = std::move(practise)] {
    close();
    practise();
  });
}
