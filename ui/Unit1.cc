#include "Unit1.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextCursor>
#include <malloc.h>

#include "BackgroundJob.h"
#include "DiagramWindow.h"
#include "ElasticLayout.h"
#include "ErrorHints.h"
#include "ExplainHooks.h"
#include "Export.h"
#include "Forms.h"
#include "GrammarDocument.h"
#include "GrammarHistory.h"
#include "GrammarSession.h"
#include "Info.h"
#include "Look.h"
#include "MainMenu.h"
#include "NumberedPane.h"
#include "ParseStepper.h"
#include "PracticeWindow.h"
#include "StringGrid.h"
#include "TransformWindow.h"
#include "Warning.h"
#include "Zoom.h"
#include "simulation/evaluations.h"
#include "exercises/answers.h"
#include "grammar/examples.h"
#include "grammar/grammar_text.h"
#include "grammar/parsing.h"
#include "grammar/reading.h"
#include "grammar/source_lines.h"
#include "grammar/token_reading.h"
#include "tables/conflicts.h"

namespace {

constexpr int kGridLeft = 8, kGridTop = 464, kGridWidth = 993, kGridHeight = 233;
constexpr int kErrorItemHeight = 19;
// How long a command may take to be shown as if it had run in the click.
constexpr int kGraceMs = 100;
// How long a command runs before the status line shows its progress.
constexpr int kPatienceMs = 500;

QLabel* label(QWidget* parent, const char* name, const char* caption, const QFont& font, int x, int y) {
  auto* text = new QLabel(caption, parent);
  text->setObjectName(name);
  text->setFont(font);
  text->move(x, y);
  text->adjustSize();
  return text;
}

template <class Pane = QPlainTextEdit>
Pane* memo(QWidget* parent, const char* name, int x, int y, int width, int height, bool scrollBar) {
  auto* edit = new Pane(parent);
  edit->setObjectName(name);
  edit->setGeometry(x, y, width, height);
  edit->setFont(courierNew(16));
  edit->setLineWrapMode(QPlainTextEdit::NoWrap);
  edit->setVerticalScrollBarPolicy(scrollBar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded);
  edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  return edit;
}

// A pane that shows results: the user may select and copy, not type; Tab
// moves on to the next control.
void makeResultPane(QPlainTextEdit* pane) {
  pane->setReadOnly(true);
  pane->setTabChangesFocus(true);
  pane->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

// A pane shows at most this much of a listing: laying out millions of lines
// would hold the window for minutes and take gigabytes.  The whole listing
// stays for copying and exporting.
constexpr size_t kPaneLines = 100'000;
constexpr size_t kPaneBytes = 8 << 20;

// Shows the lines, or the first of them within the bounds; how many it shows.
size_t showLines(QPlainTextEdit* pane, const Lines& lines) {
  pane->clear();
  if (lines.empty()) return 0;
  size_t shown = 0, bytes = 0;
  for (; shown < lines.size() && shown < kPaneLines && bytes < kPaneBytes; ++shown) bytes += lines[shown].size() + 1;
  QString text;
  text.reserve(static_cast<qsizetype>(bytes));
  for (size_t i = 0; i < shown; ++i) {
    if (i > 0) text += QLatin1Char('\n');
    text += QString::fromStdString(lines[i]);
  }
  // One paragraph per line; a single call keeps long listings fast.
  pane->appendPlainText(text);
  return shown;
}

// Memory of a large result set aside goes back to the system, not only to
// the allocator's free lists.
void giveBackMemory() { malloc_trim(0); }

// The caret at the very start; with `selectFirst` the first character is
// selected, so that the pane shows its top line marked.
void caretToStart(QPlainTextEdit* pane, bool selectFirst) {
  QTextCursor cursor(pane->document());
  cursor.setPosition(0);
  if (selectFirst && pane->document()->characterCount() > 1) cursor.setPosition(1, QTextCursor::KeepAnchor);
  pane->setTextCursor(cursor);
  pane->horizontalScrollBar()->setValue(0);
  pane->verticalScrollBar()->setValue(0);
}

std::string utf8(const QString& text) { return text.toStdString(); }

QString count(qsizetype n, const char* one, const char* many) {
  return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
}

QString captionOf(const CommandInfo& command) {
  return QString::fromUtf8(command.caption.data(), static_cast<qsizetype>(command.caption.size()));
}

}  // namespace

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
  createControls();
  createMenus();
  createStatusLine();
  createContextMenus();

  // The Info dialog greets the user before the main window shows.
  createForm<TForm2>()->exec();

  Memo1->document()->setModified(true);
  ComboBox1->setCurrentIndex(1);
  ComboBox1Change();
  // The start-up example is no step the user could undo, nor work to save.
  history_->clear();
  document_->markKept({});
}

TForm1::~TForm1() = default;

void TForm1::createControls() {
  setObjectName("Form1");
  setWindowTitle("Tablomat");
  session_ = std::make_unique<GrammarSession>();
  Client = new QWidget(this);
  Client->setObjectName("Client");
  setCentralWidget(Client);
  paintWhite(Client);
  Client->setFont(buttonFace());
  QWidget* form = Client;

  // Pictures first: everything else lies above them.
  Image1 = pictureBox(form, "Image1", picture("banner.jpg"), 184, -24, 560, 175);
  Image2 = pictureBox(form, "Image2", picture("tree.bmp"), 8, 6, 168, 98);
  Image3 = pictureBox(form, "Image3", picture("automaton.bmp"), 752, 6, 128, 104);
  Image4 = pictureBox(form, "Image4", picture("stack.bmp"), 888, 6, 128, 104);
  Image5 = pictureBox(form, "Image5", picture("sets.bmp"), 920, 138, 96, 56);
  Image6 = pictureBox(form, "Image6", picture("cells.bmp"), 776, 202, 112, 62);
  Image7 = pictureBox(form, "Image7", picture("item.bmp"), 896, 202, 120, 62);

  Label1 = label(form, "Label1", "Grammar:", comicSansMs(21), 8, 109);
  Label2 = label(form, "Label2", ".", comicSansMs(19), 344, 112);
  Label4 = label(form, "Label4", "Example:", comicSansMs(16), 656, 192);
  Label3 = label(form, "Label3", "Word:", comicSansMs(16), 656, 248);

  Memo1 = memo(form, "Memo1", 8, 136, 329, 161, false);
  Memo1->setTabChangesFocus(true);

  Memo4 = listingPane_ = memo<NumberedPane>(form, "Memo4", 8, 304, 329, 153, true);
  makeResultPane(Memo4);

  Memo3 = memo(form, "Memo3", 344, 136, 305, 321, true);
  makeResultPane(Memo3);

  Memo2 = memo(form, "Memo2", 656, 136, 257, 57, false);
  Memo2->setFont(timesNewRoman(13));
  Memo2->setReadOnly(true);
  Memo2->setFocusPolicy(Qt::NoFocus);
  Memo2->setTextInteractionFlags(Qt::NoTextInteraction);
  Memo2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Memo2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Memo2->document()->setDocumentMargin(2);
  {
    QPalette palette = Memo2->palette();
    palette.setColor(QPalette::Text, Qt::red);
    Memo2->setPalette(palette);
  }
  Memo2->setPlainText(
      "Note: 'e' = epsilon\n"
      "          For use SLR,   LR  and  LALR  must   \n"
      "          be   inserted   the   extend   grammar.");

  ComboBox1 = new QComboBox(form);
  ComboBox1->setObjectName("ComboBox1");
  ComboBox1->setFont(msSerif(16));
  ComboBox1->setGeometry(656, 216, 105, 26);
  for (const Example& example : examples()) ComboBox1->addItem(example.name);
  ComboBox1->setCurrentIndex(0);
  // The wheel does not reach it unless it has the focus (see eventFilter).
  ComboBox1->setFocusPolicy(Qt::StrongFocus);
  ComboBox1->installEventFilter(this);
  // Every pick counts, also of the example already shown: it is read again.
  connect(ComboBox1, &QComboBox::activated, this, &TForm1::ComboBox1Change);

  Edit1 = new QLineEdit(form);
  Edit1->setObjectName("Edit1");
  Edit1->setFont(courierNew(19));
  Edit1->setGeometry(656, 272, 337, 29);
  connect(Edit1, &QLineEdit::returnPressed, this, &TForm1::runLastEvaluation);
  connect(Edit1, &QLineEdit::textChanged, this, [this](const QString& word) { session_->setWord(utf8(word)); });
  Edit1->installEventFilter(this);

  struct Command {
    QAbstractButton** button;
    const char* name;
    Glyph glyph;
    const char* label;
    int column, row;
    void (TForm1::*click)();
  };
  const Command commands[] = {
      {&BitBtn2, "BitBtn2", Glyph::Sets, "First", 0, 0, &TForm1::BitBtn2Click},
      {&BitBtn7, "BitBtn7", Glyph::Sets, "Follow", 1, 0, &TForm1::BitBtn7Click},
      {&BitBtn14, "BitBtn14", Glyph::Exit, "Exit", 2, 0, &TForm1::BitBtn14Click},
      {&BitBtn4, "BitBtn4", Glyph::Table, "LL1 Table", 0, 1, &TForm1::BitBtn4Click},
      {&BitBtn8, "BitBtn8", Glyph::Run, "LL1 Evaluation", 1, 1, &TForm1::BitBtn8Click},
      {&BitBtn15, "BitBtn15", Glyph::Info, "Info", 2, 1, &TForm1::BitBtn15Click},
      {&BitBtn5, "BitBtn5", Glyph::Table, "SLR Table", 0, 2, &TForm1::BitBtn5Click},
      {&BitBtn6, "BitBtn6", Glyph::Run, "SLR Evaluation", 1, 2, &TForm1::BitBtn6Click},
      {&BitBtn3, "BitBtn3", Glyph::Items, "LR0 Items", 2, 2, &TForm1::BitBtn3Click},
      {&BitBtn9, "BitBtn9", Glyph::Table, "LR Table", 0, 3, &TForm1::BitBtn9Click},
      {&BitBtn10, "BitBtn10", Glyph::Run, "LR Evaluation", 1, 3, &TForm1::BitBtn10Click},
      {&BitBtn11, "BitBtn11", Glyph::Items, "LR1 Items", 2, 3, &TForm1::BitBtn11Click},
      {&BitBtn12, "BitBtn12", Glyph::Table, "LALR Table", 0, 4, &TForm1::BitBtn12Click},
      {&BitBtn13, "BitBtn13", Glyph::Run, "LALR Evaluate", 1, 4, &TForm1::BitBtn13Click},
      {&BitBtn1, "BitBtn1", Glyph::Items, "LALR Items", 2, 4, &TForm1::BitBtn1Click},
  };
  const int lefts[3] = {656, 772, 888};
  const int tops[5] = {312, 341, 370, 400, 431};
  for (const Command& command : commands) {
    bool exit = command.button == &BitBtn14;
    *command.button = bitButton(form, command.name, command.glyph, command.label, lefts[command.column],
                                exit ? 311 : tops[command.row], 113, exit ? 28 : 26);
    connect(*command.button, &QAbstractButton::clicked, this, command.click);
    // Enter presses a focused button, as Space does.
    (*command.button)->installEventFilter(this);
  }

  StringGrid1 = new StringGrid(form);
  StringGrid1->setObjectName("StringGrid1");
  StringGrid1->setFont(courierNew(16));
  StringGrid1->setGeometry(kGridLeft, kGridTop, kGridWidth, kGridHeight);
  StringGrid1->setDefaultRowHeight(24);
  StringGrid1->setColCount(2);
  StringGrid1->setRowCount(5);
  StringGrid1->setDefaultColWidth(100);

  ListBox3 = new QListWidget(form);
  ListBox3->setObjectName("ListBox3");
  ListBox3->setFont(timesNewRoman(16));
  ListBox3->setGeometry(kGridLeft, kGridTop, kGridWidth, kGridHeight);
  ListBox3->setUniformItemSizes(true);
  {
    QPalette palette = ListBox3->palette();
    palette.setColor(QPalette::Text, Qt::red);
    ListBox3->setPalette(palette);
  }
  ListBox3->raise();
  ListBox3->hide();
  connect(ListBox3, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { showErrorPlace(ListBox3->row(item)); });
  connect(ListBox3, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) { showErrorPlace(ListBox3->row(item)); });

  // Files dropped on the editor are opened.
  Memo1->viewport()->installEventFilter(this);

  elastic_ = new ElasticLayout(Client, kDesignSize);
  for (QWidget* fixed : {static_cast<QWidget*>(Image2), static_cast<QWidget*>(Label1)}) elastic_->add(fixed, Stretch::kFixed);
  elastic_->add(Image1, Stretch::kBanner);
  elastic_->add(Memo1, Stretch::kEditor);
  elastic_->add(Memo4, Stretch::kListing);
  elastic_->add(Memo3, Stretch::kResults);
  elastic_->add(Label2, Stretch::kResultsTitle);
  for (QWidget* right : std::initializer_list<QWidget*>{Image3, Image4, Image5, Image6, Image7, Memo2, Label4, Label3,
                                                         ComboBox1, Edit1, BitBtn1, BitBtn2, BitBtn3, BitBtn4, BitBtn5,
                                                         BitBtn6, BitBtn7, BitBtn8, BitBtn9, BitBtn10, BitBtn11,
                                                         BitBtn12, BitBtn13, BitBtn14, BitBtn15})
    elastic_->add(right, Stretch::kRight);
  elastic_->add(StringGrid1, Stretch::kGrid);
  elastic_->add(ListBox3, Stretch::kGrid);
  explainHooks_ = new ExplainHooks(this, StringGrid1, Label2);
  elastic_->add(explainHooks_->hint(), Stretch::kBelowGrid);
  Client->setMinimumSize(elastic_->minimumSize());

  zoom_ = new Zoom(this);
  for (QWidget* pane : std::initializer_list<QWidget*>{Memo1, Memo3, Memo4, StringGrid1, ListBox3}) zoom_->add(pane);
  connect(zoom_, &Zoom::changed, this, [this](double factor) {
    for (int i = 0; i < ListBox3->count(); ++i)
      ListBox3->item(i)->setSizeHint(QSize(0, static_cast<int>(kErrorItemHeight * factor)));
    zoomLabel_->setText(tr("Zoom %1 %").arg(qRound(factor * 100)));
    zoomLabel_->setVisible(zoom_->level() != 0);
  });

  runner_ = new BackgroundJob(this);
  document_ = new GrammarDocument(Memo1, Edit1);
  history_ = new GrammarHistory(Memo1, Edit1);

  Memo1->setFocus();
}

void TForm1::createStatusLine() {
  QStatusBar* line = statusBar();
  auto* panel = new JobStatus(runner_, kPatienceMs, line);
  panel->cancelButton()->setToolTip(tr("Stops the command; the window keeps what it showed (Esc)"));
  line->addPermanentWidget(panel);
  zoomLabel_ = new QLabel(line);
  zoomLabel_->hide();
  line->addPermanentWidget(zoomLabel_);
  notationLabel_ = new QLabel(line);
  notationLabel_->setObjectName("NotationLabel");
  line->addPermanentWidget(notationLabel_);
  connect(Memo1, &QPlainTextEdit::textChanged, this, &TForm1::showNotation);
  showNotation();
  fileLabel_ = new QLabel(line);
  fileLabel_->setObjectName("FileLabel");
  line->addPermanentWidget(fileLabel_);
  connect(document_, &GrammarDocument::changed, this, &TForm1::showDocumentState);
  connect(runner_, &BackgroundJob::finished, this, [this] {
    QString title = runner_->what();
    BackgroundJob::Outcome outcome = runner_->outcome();
    if (outcome == BackgroundJob::Outcome::kDone) return;
    say(tr("%1 did not finish; the window shows what it showed before.").arg(title), true);
    if (outcome == BackgroundJob::Outcome::kLimit)
      QMessageBox::information(this, QStringLiteral("Tablomat"), tr("%1 stopped: %2").arg(title, runner_->failure()));
    if (outcome == BackgroundJob::Outcome::kFailed) reportFailure(this, runner_->failure().toUtf8().constData());
  });

  // The window at its design size, the menu bar above the form and the
  // status line below it; the outer position of the form.
  resize(kDesignSize + QSize(0, menuBar()->sizeHint().height() + line->sizeHint().height()));
  move(163, 61);
}

template <class Command>
void TForm1::analysis(Command&& command) {
  if (runner_->running()) {
    QApplication::beep();
    say(tr("%1 is still running: wait for it, or press Esc to cancel it.").arg(runner_->what()));
    return;
  }
  guarded(this, [&] {
    // What the status line said of the command before is no longer news.
    statusBar()->clearMessage();
    explainHooks_->commandStarts();
    if (refreshGrammar()) command();
  });
}

// A grammar in the token notation has no rule lines to hand a worker: it
// takes a copy of the typed grammar, plain data, instead.
std::optional<Grammar> TForm1::tokenGrammar() const {
  if (session_->notation() != Notation::kTokens) return std::nullopt;
  return session_->model().typed;
}

template <class Compute, class Show>
void TForm1::inBackground(const QString& name, Compute compute, Show show) {
  using Result = decltype(compute(std::declval<const Parsing&>()));
  auto result = std::make_shared<std::optional<Result>>();
  runner_->start(
      name,
      [lines = session_->ruleTexts(), tokens = tokenGrammar(), compute, result](const BackgroundJob::Progress&) {
        // Every library string of the work lives and dies inside this call.
        Parsing own;
        loadGrammarCopy(own, lines, tokens);
        result->emplace(compute(own));
      },
      [this, result, show]() mutable {
        if (runner_->outcome() == BackgroundJob::Outcome::kDone) guarded(this, [&] { show(**result); });
      });
  // A short command is shown at once, as if it had run in the click: no flicker.
  runner_->finishWithin(kGraceMs);
}

bool TForm1::refreshGrammar() {
  if (Memo1->document()->isModified()) {
    Memo1->document()->setModified(false);
    readGrammar();
    if (!session_->isSound()) return false;
    listingLines_ = linesOf(session_->listing());
    listingName_ = tr("Grammar Listing");
    showLines(Memo4, listingLines_);
    dim(Memo4, false);
    listingPane_->setNumbered(true);
    caretToStart(Memo4, false);
  }
  return session_->isSound();
}

void TForm1::readGrammar() {
  QByteArray text = Memo1->toPlainText().toUtf8();
  session_->read(std::string_view(text.constData(), static_cast<size_t>(text.size())));
  showGrammarMessages();
}

void TForm1::showGrammarMessages() {
  if (session_->isSound()) {
    ListBox3->hide();
    return;
  }
  ListBox3->clear();
  ListBox3->show();
  ListBox3->raise();
  for (const HString& message : session_->messages()) {
    auto* item = new QListWidgetItem(shown(message), ListBox3);
    item->setToolTip(errorHint(item->text()));
    item->setSizeHint(QSize(0, static_cast<int>(kErrorItemHeight * zoom_->factor())));
  }
  say(tr("The grammar has %1: click one to select its line in the editor.")
          .arg(count(session_->messages().getCount(), "error", "errors")));
}

void TForm1::dim(QWidget* pane, bool former) {
  QPalette palette = pane->palette();
  QPalette usual = QApplication::palette(pane);
  for (QPalette::ColorRole role : {QPalette::Text, QPalette::ButtonText})
    palette.setColor(role, former ? QColor(0x8c, 0x8c, 0x8c) : usual.color(role));
  pane->setPalette(palette);
  pane->setToolTip(former ? tr("Dimmed: this result is of the grammar before. Run a command for the grammar now in the editor.")
                          : QString());
  pane->setProperty("former", former);
}

QString TForm1::dimFormerResults() {
  bool any = false;
  // The grammar listing is of the text in the editor once that was read.
  if (Memo1->document()->isModified() && !Memo4->document()->isEmpty()) dim(Memo4, true);
  for (QWidget* pane : {static_cast<QWidget*>(Memo3), static_cast<QWidget*>(StringGrid1)}) {
    bool shows = pane == Memo3 ? !Memo3->document()->isEmpty() : !gridCells_.empty();
    if (shows) dim(pane, true);
    any = any || shows;
  }
  return any ? tr("The dimmed results are of the grammar before; a command shows this one's.") : QString();
}

void TForm1::setTitle(const QString& title) {
  Label2->setText(title);
  Label2->adjustSize();
}

void TForm1::showListing(const CommandInfo& command) {
  ListingKind kind = command.listing;
  QString name = captionOf(command);
  inBackground(
      name,
      [&command](const Parsing& grammar) {
        CommandResult listed = computeCommand(command, grammar, HString());
        return std::pair{linesOf(listed.listing), linesOf(listed.similarTable)};
      },
      [this, name, kind](std::pair<Lines, Lines>& result) {
        bool items = kind != ListingKind::kFirst && kind != ListingKind::kFollow;
        setTitle(name + QLatin1Char(':'));
        if (items) explainHooks_->lrCommandRan(session_->model());
        resultLines_ = std::move(result.first);
        resultName_ = name;
        size_t shown = showLines(Memo3, resultLines_);
        dim(Memo3, false);
        if (kind == ListingKind::kLalrItems) {
          listingLines_ = std::move(result.second);
          listingName_ = tr("LR(1) Similar Table");
          showLines(Memo4, listingLines_);
          listingPane_->setNumbered(false);
          caretToStart(Memo4, true);
        }
        caretToStart(Memo3, items);
        giveBackMemory();
        QString summary;
        if (items) {
          auto states = std::count_if(resultLines_.begin(), resultLines_.end(),
                                      [](const std::string& line) { return line.starts_with("State"); });
          summary = tr("%1: %2.").arg(name, count(states, "state", "states"));
        } else {
          summary = tr("%1: %2.").arg(name, count(static_cast<qsizetype>(resultLines_.size()), "non-terminal", "non-terminals"));
        }
        if (shown == resultLines_.size()) {
          say(summary);
          return;
        }
        say(summary + tr(" The pane shows the first %1 of its %2 lines; File > Export Results saves them all.")
                          .arg(shown)
                          .arg(resultLines_.size()),
            true);
      });
}

void TForm1::showGridResult(const CommandInfo& command) {
  TableKind kind = command.table;
  bool trace = command.kind == CommandKind::kEvaluation;
  std::string word = trace ? session_->word() : std::string();
  struct GridResult {
    Cells cells;
    int conflicts = 0;
    std::vector<CellPlace> conflictCells;
    ParseOutcome outcome = ParseOutcome::kUnfinished;
  };
  QString name = captionOf(command);
  inBackground(
      name,
      [&command, word](const Parsing& grammar) {
        CommandResult computed = computeCommand(command, grammar, HString(word.data(), static_cast<int>(word.size())));
        GridResult result;
        result.conflicts = computed.conflicts;
        if (computed.isTable) result.cells = cellsOf(computed.table);
        result.conflictCells = std::move(computed.conflictCells);
        result.outcome = computed.outcome;
        return result;
      },
      [this, kind, trace, name, word](GridResult& result) {
        if (kind != TableKind::kLL1) explainHooks_->lrCommandRan(session_->model());
        if (trace) explainHooks_->evaluationRan(session_->model(), QString::fromStdString(word));
        if (trace && warnOfConflicts(result.conflicts, kind)) return;
        StringGrid1->setDefaultColWidth(trace ? 250 : kind == TableKind::kLL1 ? 100 : 60);
        if (result.cells.empty()) return;
        fillGrid(result.cells);
        dim(StringGrid1, false);
        markResult(trace, result.conflictCells, result.outcome);
        if (!trace) explainHooks_->tableShown(kind, session_->model());
        gridCells_ = std::move(result.cells);
        gridName_ = name;
        giveBackMemory();
        int rows = StringGrid1->rowCount() - 1;
        if (trace) {
          bool accepted = StringGrid1->mark(1, rows) == StringGrid::Mark::Accept;
          say(tr("%1: the word is %2 after %3.")
                  .arg(name, accepted ? tr("accepted") : tr("rejected"), count(rows, "step", "steps")));
          return;
        }
        int conflicts = 0;
        for (int row = 1; row <= rows; ++row)
          for (int col = 1; col < StringGrid1->colCount(); ++col)
            conflicts += StringGrid1->mark(col, row) == StringGrid::Mark::Conflict;
        bool ll1 = kind == TableKind::kLL1;
        say(tr("%1: %2, %3.")
                .arg(name, count(rows, ll1 ? "non-terminal" : "state", ll1 ? "non-terminals" : "states"),
                     conflicts == 0 ? tr("no conflict")
                                    : count(conflicts, "cell", "cells") + tr(" with conflicts (highlighted)")));
      });
}

void TForm1::fillGrid(const Cells& cells) {
  StringGrid1->setRowCount(static_cast<int>(cells.size()));
  StringGrid1->setColCount(static_cast<int>(cells[0].size()));
  int i = 0;
  for (const auto& row : cells) {
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(row.size()));
    for (const std::string& cell : row) texts.append(QString::fromStdString(cell));
    StringGrid1->setRow(i++, std::move(texts));
  }
  StringGrid1->resetView();
}

// Conflicting cells of a table, and the outcome of a parse, are what the
// user looks for first; they get a colour of their own.
void TForm1::markResult(bool trace, const std::vector<CellPlace>& conflicts, ParseOutcome outcome) {
  StringGrid* grid = StringGrid1;
  grid->clearMarks();
  if (!trace) {
    for (const CellPlace& place : conflicts) grid->setMark(place.column, place.row, StringGrid::Mark::Conflict);
    return;
  }
  int last = grid->rowCount() - 1;
  if (last < 1 || outcome == ParseOutcome::kUnfinished) return;
  StringGrid::Mark mark = outcome == ParseOutcome::kAccepted ? StringGrid::Mark::Accept : StringGrid::Mark::Error;
  for (int col = 1; col < grid->colCount(); ++col) grid->setMark(col, last, mark);
}

bool TForm1::warnOfConflicts(int count, TableKind kind) {
  if (count == 0) return false;
  TForm3* warning = createForm<TForm3>();
  warning->setMessage(conflictMessage(count));
  explainHooks_->offerIn(warning, kind, session_->model());
  warning->exec();
  return true;
}

void TForm1::ComboBox1Change() {
  guarded(this, [&] {
    // The example replaces at once, as in the classic form; unsaved work it
    // sets aside stays in the editor's history (Ctrl+Z), and leaving asks.
    if (document_->isModified()) setAsideWork_ = true;
    QString text;
    std::optional<QString> word;
    int k = ComboBox1->currentIndex();
    if (k >= 0 && k < kExampleCount) {
      const Example& example = examples()[static_cast<size_t>(k)];
      QStringList lines;
      for (int i = 0; example.lines[i] != nullptr; ++i) lines.append(example.lines[i]);
      text = lines.join(QLatin1Char('\n'));
      word = QString::fromUtf8(example.word);
    }
    // One step of the editor's history: Ctrl+Z brings back what was there.
    history_->replace(text, word);
    Memo1->document()->setModified(true);
    // An example, as it stands, is no work to save, and belongs to no file.
    document_->markKept({});
    refreshGrammar();
    QString stale = dimFormerResults();
    if (!stale.isEmpty() && session_->isSound()) say(stale, true);
  });
}

void TForm1::pickExample(int index) {
  ComboBox1->setCurrentIndex(index);
  ComboBox1Change();
}

void TForm1::runCommand(const CommandInfo& command) {
  if (command.kind == CommandKind::kEvaluation) lastEvaluation_ = &command;
  analysis([&] { command.kind == CommandKind::kListing ? showListing(command) : showGridResult(command); });
}

std::vector<QAbstractButton*> TForm1::buttons() const {
  return {BitBtn1, BitBtn2, BitBtn3, BitBtn4, BitBtn5, BitBtn6, BitBtn7, BitBtn8,
          BitBtn9, BitBtn10, BitBtn11, BitBtn12, BitBtn13, BitBtn14, BitBtn15};
}

const CommandInfo* TForm1::commandOf(const QAbstractButton* button) const {
  return commandCaptioned(utf8(button->text()));
}

QAbstractButton* TForm1::buttonOf(const CommandInfo& command) const {
  for (QAbstractButton* button : buttons())
    if (commandOf(button) == &command) return button;
  return nullptr;
}

void TForm1::runButton(const QAbstractButton* button) { runCommand(*commandOf(button)); }

void TForm1::BitBtn1Click() { runButton(BitBtn1); }
void TForm1::BitBtn2Click() { runButton(BitBtn2); }
void TForm1::BitBtn3Click() { runButton(BitBtn3); }
void TForm1::BitBtn4Click() { runButton(BitBtn4); }
void TForm1::BitBtn5Click() { runButton(BitBtn5); }
void TForm1::BitBtn6Click() { runButton(BitBtn6); }
void TForm1::BitBtn7Click() { runButton(BitBtn7); }
void TForm1::BitBtn8Click() { runButton(BitBtn8); }
void TForm1::BitBtn9Click() { runButton(BitBtn9); }
void TForm1::BitBtn10Click() { runButton(BitBtn10); }
void TForm1::BitBtn11Click() { runButton(BitBtn11); }
void TForm1::BitBtn12Click() { runButton(BitBtn12); }
void TForm1::BitBtn13Click() { runButton(BitBtn13); }
void TForm1::BitBtn14Click() { close(); }
void TForm1::BitBtn15Click() { createForm<TForm2>()->exec(); }

void TForm1::runLastEvaluation() { runCommand(*lastEvaluation_); }

// ---- files

bool TForm1::mayDiscardChanges() {
  if (!document_->isModified()) return !setAsideWork_ || mayDiscardSetAsideWork();
  QMessageBox box(QMessageBox::Warning, QStringLiteral("Tablomat"), tr("The grammar has changes that are not saved."),
                  QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
  box.setObjectName("UnsavedChanges");
  box.setInformativeText(tr("Save them first?"));
  box.setDefaultButton(QMessageBox::Save);
  switch (box.exec()) {
    case QMessageBox::Save: return save();
    case QMessageBox::Discard: return true;
    default: return false;
  }
}

bool TForm1::mayDiscardSetAsideWork() {
  QMessageBox box(QMessageBox::Warning, QStringLiteral("Tablomat"),
                  tr("An example replaced a grammar that was not saved."),
                  QMessageBox::Discard | QMessageBox::Cancel, this);
  box.setObjectName("SetAsideWork");
  box.setInformativeText(tr("Undo (Ctrl+Z) in the editor brings it back, to save it. Discard it?"));
  box.setDefaultButton(QMessageBox::Cancel);
  if (box.exec() != QMessageBox::Discard) return false;
  setAsideWork_ = false;
  return true;
}

void TForm1::newGrammar() { startGrammar(QString(), tr("An empty grammar: type one rule a line, X->a|b. ")); }

void TForm1::newTokenGrammar() {
  startGrammar(QString::fromUtf8(kTokenNotationLine.data(), static_cast<qsizetype>(kTokenNotationLine.size())) +
                   QLatin1Char('\n'),
               tr("An empty grammar in the token notation: one rule a line, Head -> \u03b1 | \u03b2, symbols "
                  "separated by blanks (Help > Token Notation). "));
}

void TForm1::startGrammar(const QString& text, const QString& note) {
  if (!mayDiscardChanges()) return;
  setAsideWork_ = false;
  history_->replace(text, QString());
  Memo1->moveCursor(QTextCursor::End);
  document_->markKept({});
  say((note + dimFormerResults()).trimmed(), true);
}

void TForm1::showNotation() {
  // The declaration stands on the first line, or after a word line: the
  // first blocks tell, however long the grammar.
  QString head;
  for (QTextBlock block = Memo1->document()->begin(); block.isValid() && block.blockNumber() < 3; block = block.next())
    head += block.text() + QLatin1Char('\n');
  bool tokens = declaresTokenNotation(utf8(head));
  notationLabel_->setText(tokens ? tr("Token notation") : tr("Classic notation"));
  notationLabel_->setProperty("tokens", tokens);
  notationLabel_->setToolTip(tokens ? tr("Symbols are names separated by blanks: Head -> \u03b1 | \u03b2 (Help > Token Notation).")
                                    : tr("One character a symbol: X->a|b, e the empty string (Help > Grammar Format)."));
}

void TForm1::openDialog() {
  // Asked before the file is chosen: the answer may be to save first.
  if (!mayDiscardChanges()) return;
  QString folder = document_->path().isEmpty() ? QString() : QFileInfo(document_->path()).absolutePath();
  QString path = QFileDialog::getOpenFileName(this, tr("Open Grammar"), folder,
                                              tr("Grammars (*.txt *.grammar *.g);;All files (*)"));
  if (!path.isEmpty()) loadFile(path);
}

bool TForm1::openFile(const QString& path) { return mayDiscardChanges() && loadFile(path); }

bool TForm1::loadFile(const QString& path) {
  QString error;
  std::optional<GrammarFile> read = GrammarDocument::read(path, &error);
  if (!read) {
    document_->forget(path);
    QMessageBox::warning(this, QStringLiteral("Tablomat"), error);
    return false;
  }
  guarded(this, [&] {
    // A file without a word has none: the word of the grammar before does not belong to it.
    history_->replace(QString::fromStdString(read->text), QString::fromStdString(read->word.value_or(std::string())));
    document_->markKept(path);
    document_->remember(path);
    Memo1->document()->setModified(true);
    refreshGrammar();
  });
  QString name = QFileInfo(path).fileName();
  QString opened = read->word ? tr("Opened %1.").arg(name)
                              : tr("Opened %1; it has no #word: line, so the word field is empty.").arg(name);
  if (session_->isSound()) say((opened + QLatin1Char(' ') + dimFormerResults()).trimmed(), true);
  else dimFormerResults();
  return true;
}

void TForm1::openFromCommandLine(const QStringList& paths) {
  if (paths.isEmpty()) return;
  const QString& path = paths.first();
  QString ignored = paths.size() > 1 ? tr(" One file at a time: %1 not opened.").arg(paths.mid(1).join(QStringLiteral(", ")))
                                     : QString();
  if (QFileInfo::exists(path)) {
    if (loadFile(path)) {
      if (!ignored.isEmpty()) say(statusBar()->currentMessage() + ignored);
      return;
    }
    // What was shown before belongs to no file the user named.
    history_->replace(QString(), QString());
    document_->markKept({});
    dimFormerResults();
    return;
  }
  // The desktop's way with a new name: an empty grammar that Save writes there.
  history_->replace(QString(), QString());
  document_->markKept(QFileInfo(path).absoluteFilePath());
  dimFormerResults();
  QMessageBox::information(this, QStringLiteral("Tablomat"),
                           tr("%1 does not exist yet. The editor is empty; Save creates the file.").arg(path));
  say(tr("New file %1.").arg(QFileInfo(path).fileName()) + ignored);
}

bool TForm1::save() { return document_->path().isEmpty() ? saveAsDialog() : saveFile(document_->path()); }

bool TForm1::saveAsDialog() {
  QString suggested = document_->path().isEmpty() ? tr("grammar.txt") : document_->path();
  QString path = QFileDialog::getSaveFileName(this, tr("Save Grammar"), suggested,
                                              tr("Grammars (*.txt *.grammar *.g);;All files (*)"));
  return !path.isEmpty() && saveFile(path);
}

bool TForm1::saveFile(const QString& path) {
  QString error;
  if (!document_->write(path, &error)) {
    QMessageBox::warning(this, QStringLiteral("Tablomat"), error);
    return false;
  }
  setAsideWork_ = false;
  say(tr("Saved %1.").arg(QFileInfo(path).fileName()));
  return true;
}

void TForm1::fillRecentMenu(QMenu* menu) {
  menu->clear();
  QStringList files = document_->recentFiles();
  for (int i = 0; i < files.size(); ++i) {
    QAction* open = menu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(files[i]).fileName()));
    open->setToolTip(files[i]);
    open->setStatusTip(files[i]);
    connect(open, &QAction::triggered, this, [this, path = files[i]] { openFile(path); });
  }
  if (files.isEmpty()) menu->addAction(tr("No recent files"))->setEnabled(false);
  menu->addSeparator();
  QAction* clear = menu->addAction(tr("&Clear Recent Files"), document_, &GrammarDocument::forgetAll);
  clear->setEnabled(!files.isEmpty());
}

void TForm1::showDocumentState() {
  QString name = document_->path().isEmpty() ? tr("not saved in a file") : QFileInfo(document_->path()).fileName();
  fileLabel_->setText(document_->isModified() ? name + tr(" (changed)") : name);
  fileLabel_->setToolTip(document_->path());
  setWindowTitle(document_->path().isEmpty() ? QStringLiteral("Tablomat[*]")
                                             : QStringLiteral("%1[*] - Tablomat").arg(QFileInfo(document_->path()).fileName()));
  setWindowModified(document_->isModified());
}

void TForm1::closeEvent(QCloseEvent* event) {
  if (!mayDiscardChanges()) {
    event->ignore();
    return;
  }
  // Exit works at any time: a running command is cancelled, not awaited.
  runner_->cancel();
  event->accept();
}

// ---- errors, keys, drops

void TForm1::showErrorPlace(int row) {
  QByteArray now = Memo1->toPlainText().toUtf8();
  if (std::string_view(now.constData(), static_cast<size_t>(now.size())) != session_->text()) {
    say(tr("The grammar changed since it was read; a command reads it again."));
    return;
  }
  std::optional<int> line = session_->lineOfMessage(row);
  QString hint = ListBox3->item(row) != nullptr ? errorHint(ListBox3->item(row)->text()) : QString();
  if (!line) {
    say(tr("This message is about the whole grammar, not one line. %1").arg(hint).trimmed(), true);
    return;
  }
  QTextBlock block = Memo1->document()->findBlockByNumber(*line);
  QTextCursor cursor(block);
  cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
  Memo1->setTextCursor(cursor);
  Memo1->ensureCursorVisible();
  Memo1->setFocus();
  say(hint.isEmpty() ? tr("Line %1 of the grammar.").arg(*line + 1)
                     : tr("Line %1 of the grammar. %2").arg(*line + 1).arg(hint),
      true);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  QEvent::Type type = event->type();
  if (watched == ComboBox1) {
    // Only a deliberate choice replaces the grammar: no wheel without the
    // focus, and the arrow keys open the list instead of picking at once.
    if (type == QEvent::Wheel && !ComboBox1->hasFocus()) {
      event->ignore();
      return true;
    }
    if (type == QEvent::KeyPress) {
      int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown ||
          key == Qt::Key_Home || key == Qt::Key_End) {
        ComboBox1->showPopup();
        return true;
      }
    }
  } else if (watched == Edit1 && type == QEvent::ShortcutOverride && isMenuShortcut(*static_cast<QKeyEvent*>(event))) {
    // The field would take Ctrl+E as "end of line"; the menu's command wins,
    // the clipboard and undo keys stay the field's.
    event->ignore();
    return true;
  } else if (type == QEvent::KeyPress) {
    int key = static_cast<QKeyEvent*>(event)->key();
    auto* button = qobject_cast<QAbstractButton*>(watched);
    if (button != nullptr && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
      button->click();
      return true;
    }
  } else if (watched == Memo1->viewport() && (type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop)) {
    auto* drop = static_cast<QDropEvent*>(event);
    const QMimeData* data = drop->mimeData();
    if (data->hasUrls() && !data->urls().isEmpty() && data->urls().first().isLocalFile()) {
      drop->acceptProposedAction();
      if (type == QEvent::Drop) {
        QString path = data->urls().first().toLocalFile();
        // After the drop returns: the dialogs of opening need a free event loop.
        QMetaObject::invokeMethod(this, [this, path] { openFile(path); }, Qt::QueuedConnection);
      }
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

bool TForm1::isMenuShortcut(const QKeyEvent& key) const {
  for (QKeySequence::StandardKey editing : {QKeySequence::Undo, QKeySequence::Redo, QKeySequence::Cut, QKeySequence::Copy,
                                            QKeySequence::Paste, QKeySequence::SelectAll})
    if (key.matches(editing)) return false;
  QKeySequence pressed(key.keyCombination());
  const QList<QAction*> actions = menuBar()->findChildren<QAction*>();
  return std::any_of(actions.begin(), actions.end(), [&](QAction* action) { return action->shortcuts().contains(pressed); });
}

void TForm1::say(const QString& message, bool lasting) { statusBar()->showMessage(message, lasting ? 0 : 10000); }

// ---- copying and saving what the window shows

Exportable TForm1::gridExport() const { return tableExport(gridName_.isEmpty() ? tr("Table") : gridName_, gridCells_); }

Exportable TForm1::resultsExport() const {
  return ::listingExport(resultName_.isEmpty() ? tr("Results") : resultName_, resultLines_);
}

Exportable TForm1::listingExport() const { return ::listingExport(listingName_, listingLines_); }

void TForm1::copyAs(const Exportable& what, int format) {
  const FormatChoice& choice = formatChoices()[static_cast<size_t>(format)];
  if (::copyAs(what, choice.format))
    say(tr("Copied the %1 as %2.").arg(what.name, QLatin1String(choice.name)));
  else
    say(tr("Nothing to copy yet: run a command first."));
}

void TForm1::exportDialog(const Exportable& what) {
  if (what.render(Format::kText).empty()) {
    say(tr("Nothing to export yet: run a command first."));
    return;
  }
  QString folder = document_->path().isEmpty() ? QString() : QFileInfo(document_->path()).absolutePath();
  QString error;
  QString path = saveAs(this, what, folder, &error);
  if (!error.isEmpty()) QMessageBox::warning(this, QStringLiteral("Tablomat"), error);
  if (!path.isEmpty()) say(tr("Exported the %1 to %2.").arg(what.name, QFileInfo(path).fileName()));
}

void TForm1::editCommand(const char* slot) {
  QWidget* focus = QApplication::focusWidget();
  QObject* target = Memo1;
  if (qobject_cast<QLineEdit*>(focus) != nullptr || qobject_cast<QPlainTextEdit*>(focus) != nullptr) target = focus;
  if (focus == StringGrid1 && (qstrcmp(slot, "copy") == 0 || qstrcmp(slot, "selectAll") == 0)) {
    if (qstrcmp(slot, "copy") == 0) StringGrid1->copySelection();
    else StringGrid1->selectAll();
    return;
  }
  QMetaObject::invokeMethod(target, slot);
}

// ---- windows of their own

void TForm1::openDiagram(GraphKind kind) {
  analysis([&] { openDiagramWindow(session_->ruleTexts(), kind, this, tokenGrammar()); });
}

void TForm1::openStepper(TableKind kind) {
  analysis([&] {
    if (std::optional<Grammar> tokens = tokenGrammar())
      openParseStepper(*tokens, kind, session_->word(), this);
    else
      openParseStepper(session_->ruleTexts(), kind, session_->word(), this);
  });
}

void TForm1::openPractice(int question) {
  guarded(this, [&] {
    PracticeWindow::open(
        this,
        [this]() -> std::optional<std::vector<std::string>> {
          if (!refreshGrammar()) return std::nullopt;
          if (session_->notation() == Notation::kClassic) return session_->ruleTexts();
          // The token grammar as written, its notation line first.
          std::vector<std::string> lines = splitLines(grammarText(session_->written()));
          while (!lines.empty() && lines.back().empty()) lines.pop_back();
          return lines;
        },
        static_cast<PracticeWindow::Question>(question));
  });
}

void TForm1::openTransform(TransformKind kind) {
  struct Rewritten {
    Grammar input;
    std::optional<TransformResult> result;
    std::string refusal;  // why the grammar cannot be rewritten, when it cannot
  };
  QString title = QString::fromUtf8(transformTitle(kind).data(), static_cast<int>(transformTitle(kind).size()));
  analysis([&] {
    inBackground(
        title,
        // The typed grammar is plain data, in either notation: the worker takes a copy.
        [kind, input = session_->written()](const Parsing&) {
          Rewritten done{input, std::nullopt, {}};
          try {
            done.result = transformGrammar(done.input, kind);
          } catch (const TransformRefused& refused) {
            done.refusal = refused.what();
          }
          return done;
        },
        [this, kind, title](Rewritten& done) {
          if (!done.result) {
            QMessageBox::information(this, title, QString::fromStdString(done.refusal));
            return;
          }
          auto* window = new TransformWindow(kind, std::move(done.input), std::move(*done.result),
                                             [this](const QString& text) { history_->replace(text, std::nullopt); }, this);
          window->offerPractice([this, kind] {
            openPractice(static_cast<int>(PracticeWindow::Question::kTransform));
            if (auto* practice = findChild<PracticeWindow*>(QString(), Qt::FindDirectChildrenOnly))
              practice->selectTransform(kind);
          });
          adoptForm(window);
          window->show();
        });
  });
}

void TForm1::showGrammarReport() {
  analysis([&] { explainHooks_->openReport(session_->model(), QString::fromStdString(session_->word())); });
}

void TForm1::explainTable(TableKind kind) {
  analysis([&] { explainHooks_->openTable(kind, session_->model()); });
}
