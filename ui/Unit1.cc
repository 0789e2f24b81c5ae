#include "Unit1.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

#include "ExplainHooks.h"
#include "Forms.h"
#include "Info.h"
#include "Look.h"
#include "PracticeWindow.h"
#include "StringGrid.h"
#include "Warning.h"
#include "commands/commands.h"
#include "grammar/examples.h"
#include "grammar/follow.h"
#include "grammar/parsing.h"
#include "grammar/reading.h"
#include "tables/conflicts.h"

// The analysis state of the whole run; every command works on these.  They
// are built before any window and destroyed after the last one, in reverse.
namespace {
Row grammarLines;
Row grammarListing;
Row followResults;
Parsing model;
}  // namespace

namespace {

constexpr int kGridLeft = 8, kGridTop = 464, kGridWidth = 993, kGridHeight = 233;

QLabel* label(QWidget* parent, const char* name, const char* caption, const QFont& font, int x, int y) {
  auto* text = new QLabel(caption, parent);
  text->setObjectName(name);
  text->setFont(font);
  text->move(x, y);
  text->adjustSize();
  return text;
}

QPlainTextEdit* memo(QWidget* parent, const char* name, int x, int y, int width, int height, bool scrollBar) {
  auto* edit = new QPlainTextEdit(parent);
  edit->setObjectName(name);
  edit->setGeometry(x, y, width, height);
  edit->setFont(courierNew(16));
  edit->setLineWrapMode(QPlainTextEdit::NoWrap);
  edit->setVerticalScrollBarPolicy(scrollBar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded);
  edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  return edit;
}

// A pane that shows results: the user may select and copy, not type.
void makeResultPane(QPlainTextEdit* pane) {
  pane->setReadOnly(true);
  pane->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

void appendLines(QPlainTextEdit* pane, const Row& lines) {
  if (lines.getCount() == 0) return;
  QStringList texts;
  for (const HString& line : lines) texts.append(shown(line));
  // One paragraph per line; a single call keeps long listings fast.
  pane->appendPlainText(texts.join(QLatin1Char('\n')));
}

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

}  // namespace

TForm1::TForm1(QWidget* parent) : QWidget(parent) {
  createControls();

  // The Info dialog greets the user before the main window shows.
  createForm<TForm2>()->exec();

  Memo1->document()->setModified(true);
  ComboBox1->setCurrentIndex(1);
  ComboBox1Change();
}

TForm1::~TForm1() = default;

void TForm1::createControls() {
  setObjectName("Form1");
  setWindowTitle("Tablomat");
  paintWhite(this);
  setFont(buttonFace());
  placeWindow(this, 163, 61, 1032, 752);

  // Pictures first: everything else lies above them.
  Image1 = pictureBox(this, "Image1", picture("banner.jpg"), 184, -24, 560, 175);
  Image2 = pictureBox(this, "Image2", picture("tree.bmp"), 8, 6, 168, 98);
  Image3 = pictureBox(this, "Image3", picture("automaton.bmp"), 752, 6, 128, 104);
  Image4 = pictureBox(this, "Image4", picture("stack.bmp"), 888, 6, 128, 104);
  Image5 = pictureBox(this, "Image5", picture("sets.bmp"), 920, 138, 96, 56);
  Image6 = pictureBox(this, "Image6", picture("cells.bmp"), 776, 202, 112, 62);
  Image7 = pictureBox(this, "Image7", picture("item.bmp"), 896, 202, 120, 62);

  Label1 = label(this, "Label1", "Grammar:", comicSansMs(21), 8, 109);
  Label2 = label(this, "Label2", ".", comicSansMs(19), 344, 112);
  Label4 = label(this, "Label4", "Example:", comicSansMs(16), 656, 192);
  Label3 = label(this, "Label3", "Word:", comicSansMs(16), 656, 248);

  Memo1 = memo(this, "Memo1", 8, 136, 329, 161, false);
  Memo1->setTabChangesFocus(true);

  Memo4 = memo(this, "Memo4", 8, 304, 329, 153, true);
  makeResultPane(Memo4);

  Memo3 = memo(this, "Memo3", 344, 136, 305, 321, true);
  makeResultPane(Memo3);

  Memo2 = memo(this, "Memo2", 656, 136, 257, 57, false);
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

  ComboBox1 = new QComboBox(this);
  ComboBox1->setObjectName("ComboBox1");
  ComboBox1->setFont(msSerif(16));
  ComboBox1->setGeometry(656, 216, 105, 26);
  for (const Example& example : examples()) ComboBox1->addItem(example.name);
  ComboBox1->setCurrentIndex(0);
  // Every pick counts, also of the example already shown: it is read again.
  connect(ComboBox1, &QComboBox::activated, this, &TForm1::ComboBox1Change);

  Edit1 = new QLineEdit(this);
  Edit1->setObjectName("Edit1");
  Edit1->setFont(courierNew(19));
  Edit1->setGeometry(656, 272, 337, 29);

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
    *command.button = bitButton(this, command.name, command.glyph, command.label, lefts[command.column],
                                exit ? 311 : tops[command.row], 113, exit ? 28 : 26);
    connect(*command.button, &QAbstractButton::clicked, this, command.click);
  }

  StringGrid1 = new StringGrid(this);
  StringGrid1->setObjectName("StringGrid1");
  StringGrid1->setFont(courierNew(16));
  StringGrid1->setGeometry(kGridLeft, kGridTop, kGridWidth, kGridHeight);
  StringGrid1->setDefaultRowHeight(24);
  StringGrid1->setColCount(2);
  StringGrid1->setRowCount(5);
  StringGrid1->setDefaultColWidth(100);

  ListBox3 = new QListWidget(this);
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

  explainHooks_ = new ExplainHooks(this, StringGrid1, Label2);

  Memo1->setFocus();
}

template <class Command>
void TForm1::analysis(Command&& command) {
  guarded(this, [&] {
    explainHooks_->commandStarts();
    if (refreshGrammar()) command();
  });
}

bool TForm1::refreshGrammar() {
  if (Memo1->document()->isModified()) {
    Memo1->document()->setModified(false);
    readGrammar();
    if (!ListBox3->isHidden()) return false;
    grammarListing = model.productions;
    Memo4->clear();
    appendLines(Memo4, grammarListing);
    caretToStart(Memo4, false);
  }
  return ListBox3->isHidden();
}

void TForm1::readGrammar() {
  QByteArray text = Memo1->toPlainText().toUtf8();
  grammarLines = splitRuleLines(editorText(std::string_view(text.constData(), static_cast<size_t>(text.size()))));
  mergeRules();
  validateGrammar();
  if (ListBox3->isHidden()) model.loadRules(grammarLines);
}

void TForm1::mergeRules() { ::mergeRules(grammarLines); }

void TForm1::validateGrammar() {
  Row messages = ::validateGrammar(grammarLines);
  if (messages.getCount() == 0) {
    ListBox3->hide();
    return;
  }
  ListBox3->clear();
  ListBox3->show();
  ListBox3->raise();
  for (const HString& message : messages) {
    auto* item = new QListWidgetItem(shown(message), ListBox3);
    item->setSizeHint(QSize(0, 19));
  }
}

void TForm1::setTitle(const char* title) {
  Label2->setText(title);
  Label2->adjustSize();
}

void TForm1::showFirst() {
  setTitle("First:");
  Memo3->clear();
  appendLines(Memo3, listing(model, ListingKind::kFirst).lines);
  caretToStart(Memo3, false);
}

void TForm1::showFollow() {
  setTitle("Follow:");
  Memo3->clear();
  followResults = model.follow();
  appendLines(Memo3, followListing(model, followResults));
  caretToStart(Memo3, false);
}

// The mode words: a table name, or a table name followed by "EVALUATION".
void TForm1::showGridResult(HString mode) {
  int evaluationAt = mode.find("EVALUATION");
  TableKind kind = tableKindNamed(evaluationAt == -1 ? mode : mode.getSubString(0, evaluationAt));
  if (kind != TableKind::kLL1) explainHooks_->lrCommandRan(model);
  Table result;
  bool trace = evaluationAt != -1;
  if (!trace) {
    StringGrid1->setDefaultColWidth(kind == TableKind::kLL1 ? 100 : 60);
    result = table(model, kind);
  } else {
    Evaluation parsed = evaluation(model, kind, typed(Edit1->text()));
    if (warnOfConflicts(parsed.conflicts, kind)) return;
    StringGrid1->setDefaultColWidth(250);
    result = std::move(parsed.trace);
  }
  if (result.getCount() == 0) return;
  StringGrid1->setRowCount(result.getCount());
  StringGrid1->setColCount(result[0].getCount());
  int i = 0;
  for (const Row& row : result) {
    int j = 0;
    for (const HString& cell : row) StringGrid1->setCells(j++, i, shown(cell));
    ++i;
  }
  markResult(trace);
  if (!trace) explainHooks_->tableShown(kind, model.rules);
}

// Conflicting cells of a table, and the outcome of a parse, are what the
// user looks for first; they get a colour of their own.
void TForm1::markResult(bool trace) {
  StringGrid* grid = StringGrid1;
  grid->clearMarks();
  if (!trace) {
    for (int row = 1; row < grid->rowCount(); ++row)
      for (int col = 1; col < grid->colCount(); ++col)
        if (grid->cells(col, row).contains(QLatin1Char('|'))) grid->setMark(col, row, StringGrid::Mark::Conflict);
    return;
  }
  int last = grid->rowCount() - 1;
  if (last < 1) return;
  int action = grid->colCount() - 1;
  for (int col = 1; col < grid->colCount(); ++col)
    if (grid->cells(col, 0) == QLatin1String("Action")) action = col;
  QString outcome = grid->cells(action, last);
  StringGrid::Mark mark = outcome == QLatin1String("Accept")  ? StringGrid::Mark::Accept
                          : outcome == QLatin1String("Error") ? StringGrid::Mark::Error
                                                              : StringGrid::Mark::None;
  if (mark == StringGrid::Mark::None) return;
  for (int col = 1; col < grid->colCount(); ++col) grid->setMark(col, last, mark);
}

bool TForm1::checkConflicts(HString name) { return warnOfConflicts(countConflicts(model, name), tableKindNamed(name)); }

bool TForm1::warnOfConflicts(int count, TableKind kind) {
  if (count == 0) return false;
  TForm3* warning = createForm<TForm3>();
  warning->setMessage(conflictMessage(count));
  explainHooks_->offerIn(warning, kind, model.rules);
  warning->exec();
  return true;
}

void TForm1::showListing(const char* title, const Row& lines) {
  setTitle(title);
  Memo3->clear();
  appendLines(Memo3, lines);
  caretToStart(Memo3, true);
}

void TForm1::showLR0Items() {
  showListing("LR0 Items:", listing(model, ListingKind::kLR0Items).lines);
  explainHooks_->lrCommandRan(model);
}

void TForm1::showLR1Items() {
  showListing("LR1 Items:", listing(model, ListingKind::kLR1Items).lines);
  explainHooks_->lrCommandRan(model);
}

void TForm1::showLalrItems() {
  explainHooks_->lrCommandRan(model);
  Listing lalr = listing(model, ListingKind::kLalrItems);
  setTitle("LALR Items:");
  Memo3->clear();
  appendLines(Memo3, lalr.lines);
  Memo4->clear();
  appendLines(Memo4, lalr.similarTable);
  caretToStart(Memo3, true);
  caretToStart(Memo4, true);
}

void TForm1::ComboBox1Change() {
  guarded(this, [&] {
    Memo1->clear();
    int k = ComboBox1->currentIndex();
    if (k >= 0 && k < kExampleCount) {
      const Example& example = examples()[k];
      for (int i = 0; example.lines[i] != nullptr; ++i) Memo1->appendPlainText(example.lines[i]);
      Edit1->setText(example.word);
    }
    Memo1->document()->setModified(true);
    refreshGrammar();
  });
}

void TForm1::BitBtn1Click() { analysis([&] { showLalrItems(); }); }
void TForm1::BitBtn2Click() { analysis([&] { showFirst(); }); }
void TForm1::BitBtn3Click() { analysis([&] { showLR0Items(); }); }
void TForm1::BitBtn4Click() { analysis([&] { showGridResult("LL1"); }); }
void TForm1::BitBtn5Click() { analysis([&] { showGridResult("SLR"); }); }
void TForm1::BitBtn6Click() { analysis([&] { showGridResult("SLREVALUATION"); }); }
void TForm1::BitBtn7Click() { analysis([&] { showFollow(); }); }
void TForm1::BitBtn8Click() { analysis([&] { showGridResult("LL1EVALUATION"); }); }
void TForm1::BitBtn9Click() { analysis([&] { showGridResult("LR1"); }); }
void TForm1::BitBtn10Click() { analysis([&] { showGridResult("LR1EVALUATION"); }); }
void TForm1::BitBtn11Click() { analysis([&] { showLR1Items(); }); }
void TForm1::BitBtn12Click() { analysis([&] { showGridResult("LALR"); }); }
void TForm1::BitBtn13Click() { analysis([&] { showGridResult("LALREVALUATION"); }); }
void TForm1::BitBtn14Click() { close(); }
void TForm1::BitBtn15Click() { createForm<TForm2>()->exec(); }

void TForm1::openPractice(int question) {
  guarded(this, [&] {
    PracticeWindow::open(
        this,
        [this]() -> std::optional<std::vector<std::string>> {
          if (!refreshGrammar()) return std::nullopt;
          std::vector<std::string> lines;
          for (const HString& rule : model.rules) lines.emplace_back(rule.view());
          return lines;
        },
        static_cast<PracticeWindow::Question>(question));
  });
}
void TForm1::showGrammarReport() { analysis([&] { explainHooks_->openReport(model.rules, Edit1->text()); }); }
