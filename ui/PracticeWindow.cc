#include "PracticeWindow.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTextBlock>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "Forms.h"
#include "Look.h"
#include "simulation/evaluations.h"
#include "exercises/generator.h"
#include "exercises/item_grading.h"
#include "exercises/set_grading.h"
#include "exercises/table_grading.h"
#include "exercises/transform_grading.h"
#include "exercises/answers.h"
#include "grammar/grammar_text.h"
#include "grammar/symbol_text.h"
#include "grammar/text_reading.h"
#include "grammar/token_reading.h"

namespace {

struct QuestionInfo {
  PracticeWindow::Question question;
  const char* title;
};

const QuestionInfo kQuestions[] = {
    {PracticeWindow::Question::kFirst, "First sets"},
    {PracticeWindow::Question::kFollow, "Follow sets"},
    {PracticeWindow::Question::kLL1, "LL(1) table"},
    {PracticeWindow::Question::kSLR, "SLR table"},
    {PracticeWindow::Question::kLR1, "LR(1) table"},
    {PracticeWindow::Question::kLALR, "LALR table"},
    {PracticeWindow::Question::kLR0Items, "Items of an LR(0) state"},
    {PracticeWindow::Question::kLR1Items, "Items of an LR(1) state"},
    {PracticeWindow::Question::kTransform, "Transform the grammar"},
};

TableKind tableOf(PracticeWindow::Question question) {
  switch (question) {
    case PracticeWindow::Question::kSLR: return TableKind::kSLR;
    case PracticeWindow::Question::kLR1: return TableKind::kLR1;
    case PracticeWindow::Question::kLALR: return TableKind::kLALR;
    default: return TableKind::kLL1;
  }
}

ListingKind itemListingOf(PracticeWindow::Question question) {
  switch (question) {
    case PracticeWindow::Question::kLR1: return ListingKind::kLR1Items;
    case PracticeWindow::Question::kLALR: return ListingKind::kLalrItems;
    default: return ListingKind::kLR0Items;
  }
}

SetKind setOf(PracticeWindow::Question question) {
  return question == PracticeWindow::Question::kFirst ? SetKind::kFirst : SetKind::kFollow;
}

QString text(const std::string& utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }
std::string utf8(const QString& text) { return text.toUtf8().toStdString(); }

// The colours of the marks, light enough to read black text on.
QColor markColor(Mark mark) {
  switch (mark) {
    case Mark::kRight: return QColor(0xC8, 0xF0, 0xC8);
    case Mark::kWrong: return QColor(0xF8, 0xC0, 0xC0);
    case Mark::kMissing: return QColor(0xFF, 0xE0, 0xA0);
  }
  return {};
}

// A cell or line shows the worst mark of its elements.
Mark worse(Mark a, Mark b) {
  auto rank = [](Mark m) { return m == Mark::kWrong ? 2 : m == Mark::kMissing ? 1 : 0; };
  return rank(a) >= rank(b) ? a : b;
}

QPushButton* button(QWidget* parent, const char* name, const QString& label) {
  auto* b = new QPushButton(label, parent);
  b->setObjectName(name);
  return b;
}

QPlainTextEdit* editor(QWidget* parent, const char* name, bool readOnly) {
  auto* edit = new QPlainTextEdit(parent);
  edit->setObjectName(name);
  edit->setFont(courierNew(15));
  edit->setLineWrapMode(QPlainTextEdit::NoWrap);
  edit->setReadOnly(readOnly);
  return edit;
}

std::string elementKey(const MarkedElement& element) {
  return element.row + "|" + element.column + "|" + element.entry;
}

}  // namespace

PracticeWindow::PracticeWindow(GrammarSource source, QWidget* parent)
    : QWidget(parent, Qt::Window), source_(std::move(source)) {
  createControls();
  loadAnswer();
}

PracticeWindow::~PracticeWindow() = default;

PracticeWindow* PracticeWindow::open(QWidget* owner, GrammarSource source, Question question) {
  auto* window = owner != nullptr ? owner->findChild<PracticeWindow*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
  if (window == nullptr) window = new PracticeWindow(std::move(source), owner);
  window->takeGrammar();
  window->showQuestion(question);
  window->show();
  window->raise();
  window->activateWindow();
  return window;
}

void PracticeWindow::createControls() {
  setObjectName("PracticeWindow");
  setWindowTitle("Tablomat - Practice");
  resize(1000, 700);

  questionBox = new QComboBox(this);
  questionBox->setObjectName("questionBox");
  for (const QuestionInfo& info : kQuestions) questionBox->addItem(info.title);
  stateBox = new QComboBox(this);
  stateBox->setObjectName("stateBox");
  stateBox->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  auto* stateLabel = new QLabel("State:", this);
  stateLabel->setObjectName("stateLabel");
  auto* takeButton = button(this, "takeGrammarButton", "Take the grammar again");
  takeButton->setToolTip("Practise on the grammar the main window holds now; what you typed stays.");

  grammarPane = editor(this, "grammarPane", true);
  grammarPane->setToolTip("The productions with their numbers, as the reductions rN name them.");
  notice = new QLabel(this);
  notice->setObjectName("notice");
  notice->setWordWrap(true);
  notice->setStyleSheet("color: #B00000");
  notice->hide();

  setsEditor = editor(this, "setsEditor", false);
  setsEditor->setToolTip("One line per non-terminal, as First(S): ab or Follow(S): $a; e for the empty word.");
  grid = new QTableWidget(this);
  grid->setObjectName("grid");
  grid->setFont(courierNew(15));
  grid->horizontalHeader()->setDefaultSectionSize(64);
  grid->setToolTip("");
  itemsEditor = editor(this, "itemsEditor", false);
  itemsEditor->setToolTip("One item a line, as A->a°B or A->a.B (LR(1): A->a.B, cd).");
  auto* answers = new QStackedWidget(this);
  answers->setObjectName("answers");
  answers->addWidget(setsEditor);
  answers->addWidget(grid);
  answers->addWidget(itemsEditor);
  createTransformControls();
  answers->addWidget(transformEditor);

  itemSets = editor(this, "itemSets", true);
  itemSets->hide();
  auto* toggle = button(this, "itemSetsToggle", "Show the item sets");
  toggle->setCheckable(true);
  toggle->setToolTip("The states of the table as the item listing numbers them.");
  itemSetsToggle = toggle;

  checkButton = button(this, "checkButton", "Check");
  revealOneButton = button(this, "revealOneButton", "Reveal one");
  revealAllButton = button(this, "revealAllButton", "Reveal all");
  scoreLabel = new QLabel(this);
  scoreLabel->setObjectName("scoreLabel");
  marksList = new QTreeWidget(this);
  marksList->setObjectName("marksList");
  marksList->setRootIsDecorated(false);
  marksList->setWordWrap(true);

  auto* top = new QHBoxLayout;
  top->addWidget(new QLabel("Question:", this));
  top->addWidget(questionBox);
  top->addWidget(stateLabel);
  top->addWidget(stateBox, 1);
  top->addWidget(transformBox, 1);
  top->addWidget(toggle);
  top->addWidget(takeButton);

  auto* left = new QWidget(this);
  auto* leftLayout = new QVBoxLayout(left);
  leftLayout->setContentsMargins(0, 0, 0, 0);
  leftLayout->addWidget(new QLabel("Grammar:", left));
  leftLayout->addWidget(grammarPane);
  leftLayout->addWidget(notice);
  auto* middle = new QSplitter(Qt::Horizontal, this);
  middle->addWidget(left);
  middle->addWidget(answers);
  middle->addWidget(itemSets);
  middle->setStretchFactor(1, 3);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(checkButton);
  buttons->addWidget(revealOneButton);
  buttons->addWidget(revealAllButton);
  buttons->addWidget(scoreLabel, 1);

  auto* lower = new QSplitter(Qt::Vertical, this);
  lower->addWidget(middle);
  lower->addWidget(marksList);
  lower->setStretchFactor(0, 3);
  lower->setStretchFactor(1, 2);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(lower, 1);
  layout->addLayout(buttons);

  connect(questionBox, &QComboBox::currentIndexChanged, this, [this, answers](int index) {
    if (filling_ || index < 0) return;
    answers->setCurrentIndex(isTable() ? 1 : isItems() ? 2 : isTransform() ? 3 : 0);
    loadAnswer();
  });
  connect(stateBox, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (!filling_ && index >= 0) loadAnswer();
  });
  connect(setsEditor, &QPlainTextEdit::textChanged, this, [this] {
    if (!filling_) setTexts_[static_cast<int>(question())] = setsEditor->toPlainText();
  });
  connect(itemsEditor, &QPlainTextEdit::textChanged, this, [this] {
    if (!filling_) itemTexts_[{static_cast<int>(question()), stateBox->currentIndex()}] = itemsEditor->toPlainText();
  });
  connect(grid, &QTableWidget::cellChanged, this, &PracticeWindow::cellEdited);
  connect(toggle, &QPushButton::toggled, this, [this](bool on) {
    itemSets->setVisible(on);
    updateItemSets();
  });
  connect(takeButton, &QPushButton::clicked, this, [this] { guarded(this, [&] { takeGrammar(); }); });
  connect(checkButton, &QPushButton::clicked, this, &PracticeWindow::check);
  connect(revealOneButton, &QPushButton::clicked, this, &PracticeWindow::revealOne);
  connect(revealAllButton, &QPushButton::clicked, this, &PracticeWindow::revealAll);
}

PracticeWindow::Question PracticeWindow::question() const {
  int index = std::max(0, questionBox->currentIndex());
  return kQuestions[index].question;
}

bool PracticeWindow::isTable() const {
  Question q = question();
  return q == Question::kLL1 || q == Question::kSLR || q == Question::kLR1 || q == Question::kLALR;
}

bool PracticeWindow::isItems() const { return question() == Question::kLR0Items || question() == Question::kLR1Items; }

void PracticeWindow::showQuestion(Question question) {
  for (int i = 0; i < static_cast<int>(std::size(kQuestions)); ++i)
    if (kQuestions[i].question == question) questionBox->setCurrentIndex(i);
}

void PracticeWindow::selectState(int state) { stateBox->setCurrentIndex(state); }

bool PracticeWindow::takeGrammar() {
  std::optional<std::vector<std::string>> lines = source_ ? source_() : std::nullopt;
  if (!lines || lines->empty()) {
    notice->setText(lines_.empty()
                        ? "The main window has no sound grammar yet: type one there, then Take the grammar again."
                        : "The grammar of the main window has errors; practice goes on with the last sound one.");
    notice->show();
    return false;
  }
  notice->hide();
  setGrammar(*lines);
  return true;
}

void PracticeWindow::setGrammar(const std::vector<std::string>& lines) {
  if (lines == lines_) return;
  bool tokens = lines.front() == kTokenNotationLine;
  QStringList numbered;
  if (tokens) {
    std::string joined;
    for (const std::string& line : lines) joined += line + "\n";
    GrammarTextReading reading = readEditorGrammar(joined, Notation::kTokens);
    if (!reading.isSound()) return;
    model_ = Parsing();
    model_.loadGrammar(reading.grammar);
    written_ = std::move(reading.grammar);
    for (int p = 0; p < static_cast<int>(model_.typed.productions.size()); ++p)
      numbered.append(QString::number(p) + "  " + text(productionText(model_.typed, p)));
  } else {
    model_ = modelOfLines(lines);
    written_ = classicGrammar(lines);
    int k = 0;
    for (const HString& production : model_.productions) numbered.append(QString::number(k++) + "  " + shown(production));
  }
  lines_ = lines;
  grammarPane->setPlainText(numbered.join('\n'));
  setsEditor->setToolTip(tokens ? "One line per non-terminal, as First(E): ( id or Follow(E): $ + ), the symbols apart "
                                  "by blanks; \u03B5 for the empty word."
                                : "One line per non-terminal, as First(S): ab or Follow(S): $a; e for the empty word.");
  itemsEditor->setToolTip(tokens ? "One item a line, as E -> E \u00B0 + T or E -> E . + T (LR(1): E -> E . + T, $ +)."
                                 : "One item a line, as A->a\u00B0B or A->a.B (LR(1): A->a.B, cd).");
  revealed_.clear();
  clearMarks();
  loadAnswer();
}

void PracticeWindow::loadAnswer() {
  filling_ = true;
  clearMarks();
  bool items = isItems(), table = isTable();
  stateBox->setVisible(items);
  findChild<QLabel*>("stateLabel")->setVisible(items);
  itemSetsToggle->setVisible(table);
  itemSets->setVisible(table && itemSetsToggle->isChecked());
  transformBox->setVisible(isTransform());
  bool ready = !lines_.empty();
  for (QWidget* control : {static_cast<QWidget*>(checkButton), static_cast<QWidget*>(revealOneButton),
                           static_cast<QWidget*>(revealAllButton)})
    control->setEnabled(ready);
  if (ready) {
    if (table) {
      fillGrid();
      updateItemSets();
    } else if (isTransform()) {
      loadTransformAnswer();
    } else if (items) {
      int state = std::max(0, stateBox->currentIndex());
      std::vector<std::string> origins = stateOrigins(model_, question() == Question::kLR1Items);
      stateBox->clear();
      for (std::size_t s = 0; s < origins.size(); ++s)
        stateBox->addItem(QString("State %1: %2").arg(s).arg(text(origins[s])));
      stateBox->setCurrentIndex(std::min(state, stateBox->count() - 1));
      itemsEditor->setPlainText(itemTexts_[{static_cast<int>(question()), stateBox->currentIndex()}]);
    } else {
      auto kept = setTexts_.find(static_cast<int>(question()));
      if (kept == setTexts_.end()) {
        // A line to fill in for every non-terminal.
        // The start rule the analyses add to a token grammar is not asked for.
        QStringList lines;
        for (Symbol x : model_.typed.nonTerminals())
          if (!mayBeLeftOut(model_, x))
            lines.append(QString("%1(%2): ").arg(setName(setOf(question()))).arg(text(model_.typed.name(x))));
        setsEditor->setPlainText(lines.join('\n'));
        setTexts_[static_cast<int>(question())] = setsEditor->toPlainText();
      } else {
        setsEditor->setPlainText(kept->second);
      }
    }
  }
  filling_ = false;
}

void PracticeWindow::fillGrid() {
  Cells key = cellsOf(table(model_, tableOf(question())));
  grid->clear();
  grid->setRowCount(static_cast<int>(key.size()) - 1);
  grid->setColumnCount(static_cast<int>(key[0].size()) - 1);
  QStringList columns, rows;
  for (std::size_t j = 1; j < key[0].size(); ++j) columns.append(text(key[0][j]));
  for (std::size_t i = 1; i < key.size(); ++i) rows.append(text(key[i][0]));
  grid->setHorizontalHeaderLabels(columns);
  grid->setVerticalHeaderLabels(rows);
  int q = static_cast<int>(question());
  for (std::size_t i = 1; i < key.size(); ++i)
    for (std::size_t j = 1; j < key[0].size(); ++j) {
      auto kept = cells_.find({q, key[i][0], key[0][j]});
      auto* cell = new QTableWidgetItem(kept == cells_.end() ? QString() : kept->second);
      grid->setItem(static_cast<int>(i) - 1, static_cast<int>(j) - 1, cell);
    }
}

void PracticeWindow::cellEdited(int row, int column) {
  if (filling_) return;
  QTableWidgetItem* cell = grid->item(row, column);
  if (cell == nullptr) return;
  std::string rowLabel = utf8(grid->verticalHeaderItem(row)->text());
  std::string columnLabel = utf8(grid->horizontalHeaderItem(column)->text());
  cells_[{static_cast<int>(question()), rowLabel, columnLabel}] = cell->text();
  filling_ = true;
  cell->setBackground(QBrush());
  cell->setToolTip(QString());
  filling_ = false;
}

void PracticeWindow::updateItemSets() {
  if (!itemSets->isVisible() || lines_.empty()) return;
  Listing computed = listing(model_, itemListingOf(question()));
  QStringList lines;
  for (const HString& line : computed.lines) lines.append(shown(line));
  itemSets->setPlainText(lines.join('\n'));
}

void PracticeWindow::check() {
  guarded(this, [&] {
    takeGrammar();
    if (lines_.empty()) return;
    Question q = question();
    if (isTransform()) return checkTransform();
    if (isTable()) {
      Cells answer(1, std::vector<std::string>{""});
      for (int j = 0; j < grid->columnCount(); ++j) answer[0].push_back(utf8(grid->horizontalHeaderItem(j)->text()));
      for (int i = 0; i < grid->rowCount(); ++i) {
        std::vector<std::string> row{utf8(grid->verticalHeaderItem(i)->text())};
        for (int j = 0; j < grid->columnCount(); ++j)
          row.push_back(grid->item(i, j) ? utf8(grid->item(i, j)->text()) : "");
        answer.push_back(row);
      }
      grading_ = gradeTableCells(model_, tableOf(q), answer);
    } else if (isItems()) {
      grading_ =
          gradeItems(model_, q == Question::kLR1Items, stateBox->currentIndex(), utf8(itemsEditor->toPlainText()));
    } else {
      grading_ = gradeSets(model_, setOf(q), utf8(setsEditor->toPlainText()));
    }
    checked_ = true;
    showMarks();
  });
}

void PracticeWindow::clearMarks() {
  checked_ = false;
  grading_ = Grading{};
  marksList->clear();
  // Its column titles are those of the marks it shows: none until a check.
  marksList->setHeaderHidden(true);
  scoreLabel->clear();
  setsEditor->setExtraSelections({});
  itemsEditor->setExtraSelections({});
  bool wasFilling = filling_;
  filling_ = true;
  for (int i = 0; i < grid->rowCount(); ++i)
    for (int j = 0; j < grid->columnCount(); ++j)
      if (QTableWidgetItem* cell = grid->item(i, j)) {
        cell->setBackground(QBrush());
        cell->setToolTip(QString());
      }
  filling_ = wasFilling;
}

void PracticeWindow::showMarks() {
  std::vector<MarkedElement> elements = grading_.elements;
  Grading shownGrading = grading_;
  clearMarks();
  grading_ = shownGrading;
  checked_ = true;

  int revealedRight = 0;
  for (const MarkedElement& element : elements)
    revealedRight += element.mark == Mark::kRight && revealed_.count(elementKey(element));
  QString score = text(scoreText(grading_));
  if (revealedRight > 0) score += QString(" %1 of the right ones revealed.").arg(revealedRight);
  scoreLabel->setText(score);

  QStringList headers;
  if (!grading_.rowTitle.empty()) headers.append(text(grading_.rowTitle));
  if (!grading_.columnTitle.empty()) headers.append(text(grading_.columnTitle));
  headers << text(grading_.entryTitle) << "Mark"
          << "Why";
  marksList->setColumnCount(static_cast<int>(headers.size()));
  marksList->setHeaderLabels(headers);
  marksList->setHeaderHidden(false);
  for (const MarkedElement& element : elements) {
    QStringList columns;
    if (!grading_.rowTitle.empty()) columns.append(text(element.row));
    if (!grading_.columnTitle.empty()) columns.append(text(element.column));
    columns << text(element.entry) << markName(element.mark) << text(element.reason);
    auto* line = new QTreeWidgetItem(marksList, columns);
    for (int c = 0; c < columns.size(); ++c) line->setBackground(c, markColor(element.mark));
    line->setToolTip(columns.size() - 1, text(element.reason));
  }
  for (int c = 0; c < headers.size() - 1; ++c) marksList->resizeColumnToContents(c);

  if (isTable()) {
    filling_ = true;
    for (int i = 0; i < grid->rowCount(); ++i)
      for (int j = 0; j < grid->columnCount(); ++j) {
        std::string row = utf8(grid->verticalHeaderItem(i)->text()),
                    column = utf8(grid->horizontalHeaderItem(j)->text());
        std::optional<Mark> worst;
        QStringList reasons;
        for (const MarkedElement& element : elements) {
          if (rowKey(tableOf(question()), element.row) != row || element.column != column) continue;
          worst = worst ? worse(*worst, element.mark) : element.mark;
          if (element.mark != Mark::kRight)
            reasons.append(QString("%1 %2: %3").arg(text(element.entry), markName(element.mark), text(element.reason)));
        }
        QTableWidgetItem* cell = grid->item(i, j);
        if (cell == nullptr || !worst) continue;
        cell->setBackground(markColor(*worst));
        cell->setToolTip(reasons.join('\n'));
      }
    filling_ = false;
    return;
  }
  if (isTransform()) return;  // the grammar is graded as a whole
  // Sets and items: each line in the colour of its elements.
  QPlainTextEdit* pane = isItems() ? itemsEditor : setsEditor;
  QList<QTextEdit::ExtraSelection> selections;
  for (QTextBlock block = pane->document()->begin(); block.isValid(); block = block.next()) {
    std::string line = utf8(block.text().trimmed());
    std::string lineLabel = "line " + std::to_string(block.blockNumber() + 1);
    std::optional<Mark> worst;
    for (const MarkedElement& element : elements) {
      bool here = element.row == lineLabel || (!isItems() && !element.row.empty() && line.rfind(element.row, 0) == 0);
      if (here) worst = worst ? worse(*worst, element.mark) : element.mark;
    }
    if (!worst) continue;
    QTextEdit::ExtraSelection selection;
    selection.format.setBackground(markColor(*worst));
    selection.format.setProperty(QTextFormat::FullWidthSelection, true);
    selection.cursor = QTextCursor(block);
    selections.append(selection);
  }
  pane->setExtraSelections(selections);
}

bool PracticeWindow::revealFirst() {
  for (const MarkedElement& element : grading_.elements) {
    if (element.mark == Mark::kRight) continue;
    if (isTable()) {
      int row = -1, column = -1;
      TableKind kind = tableOf(question());
      for (int i = 0; i < grid->rowCount(); ++i)
        if (utf8(grid->verticalHeaderItem(i)->text()) == rowKey(kind, element.row)) row = i;
      for (int j = 0; j < grid->columnCount(); ++j)
        if (utf8(grid->horizontalHeaderItem(j)->text()) == element.column) column = j;
      if (row < 0 || column < 0) continue;
      std::string label = utf8(grid->verticalHeaderItem(row)->text());
      std::vector<std::string> entries = cellEntries(model_, kind, label, utf8(grid->item(row, column)->text()));
      if (element.mark == Mark::kMissing)
        entries.push_back(element.entry);
      else
        entries.erase(std::remove(entries.begin(), entries.end(), element.entry), entries.end());
      std::string cell;
      for (const std::string& entry : entries) cell += (cell.empty() ? "" : "|") + entry;
      grid->item(row, column)->setText(text(cell));  // kept through cellEdited
      // Where the eyes can see what changed.
      grid->setCurrentCell(row, column);
      grid->scrollToItem(grid->item(row, column));
    } else if (isItems()) {
      itemsEditor->setPlainText(text(revealItem(model_, utf8(itemsEditor->toPlainText()), element)));
    } else {
      setsEditor->setPlainText(
          text(revealSetElement(model_, utf8(setsEditor->toPlainText()), setOf(question()), element)));
    }
    if (element.mark == Mark::kMissing) revealed_.insert(elementKey(element));
    return true;
  }
  return false;
}

void PracticeWindow::revealOne() {
  guarded(this, [&] {
    if (isTransform()) return revealTransform();  // a rewrite has no part to reveal alone
    if (!checked_) check();
    if (revealFirst()) check();
  });
}

void PracticeWindow::revealAll() {
  guarded(this, [&] {
    if (!checked_) check();
    if (lines_.empty()) return;
    for (const MarkedElement& element : grading_.elements)
      if (element.mark == Mark::kMissing) revealed_.insert(elementKey(element));
    // The key itself takes the place of the answer.
    Question q = question();
    if (isTransform()) return revealTransform();
    if (isTable()) {
      Cells key = cellsOf(table(model_, tableOf(q)));
      for (int i = 0; i < grid->rowCount(); ++i)
        for (int j = 0; j < grid->columnCount(); ++j)
          grid->item(i, j)->setText(text(key[static_cast<std::size_t>(i) + 1][static_cast<std::size_t>(j) + 1]));
    } else if (isItems()) {
      QStringList lines;
      for (const std::string& item : stateItems(model_, q == Question::kLR1Items, stateBox->currentIndex()))
        lines.append(text(item));
      itemsEditor->setPlainText(lines.join('\n'));
    } else {
      ListingKind kind = q == Question::kFirst ? ListingKind::kFirst : ListingKind::kFollow;
      QStringList lines;
      for (const HString& line : listing(model_, kind).lines) lines.append(shown(line));
      setsEditor->setPlainText(lines.join('\n'));
    }
    check();
  });
}

// ---- The transform question

void PracticeWindow::createTransformControls() {
  transformBox = new QComboBox(this);
  transformBox->setObjectName("transformBox");
  for (const auto& [name, kind] : transformKinds()) transformBox->addItem(text(std::string(transformTitle(kind))));
  transformBox->setToolTip("The transformation to apply; each keeps what you typed for it.");
  transformEditor = editor(this, "transformEditor", false);
  transformEditor->setToolTip(
      "The grammar rewritten, one rule a line as in the main window. Check compares its words up to six\n"
      "terminals with the given grammar's and tests the goal of the transformation.");
  connect(transformBox, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (!filling_ && index >= 0) loadAnswer();
  });
  connect(transformEditor, &QPlainTextEdit::textChanged, this, [this] {
    if (!filling_) transformTexts_[transformKind()] = transformEditor->toPlainText();
  });
}

bool PracticeWindow::isTransform() const { return question() == Question::kTransform; }

TransformKind PracticeWindow::transformKind() const {
  return transformKinds()[static_cast<size_t>(std::max(0, transformBox->currentIndex()))].second;
}

void PracticeWindow::selectTransform(TransformKind kind) {
  for (size_t i = 0; i < transformKinds().size(); ++i)
    if (transformKinds()[i].second == kind) transformBox->setCurrentIndex(static_cast<int>(i));
}

void PracticeWindow::loadTransformAnswer() {
  // The answer starts as the grammar itself, to be rewritten in place.
  auto kept = transformTexts_.find(transformKind());
  if (kept == transformTexts_.end()) {
    QStringList lines;
    for (const std::string& line : lines_) lines.append(text(line));
    transformEditor->setPlainText(lines.join('\n'));
    transformTexts_[transformKind()] = transformEditor->toPlainText();
  } else {
    transformEditor->setPlainText(kept->second);
  }
}

void PracticeWindow::checkTransform() {
  GradeResult result = gradeTransformation(written_, transformKind(), utf8(transformEditor->toPlainText()));
  if (!result.ok()) {
    clearMarks();
    scoreLabel->setText("Your grammar cannot be read: " + text(result.error).replace('\n', "; "));
    return;
  }
  grading_ = std::move(result.grading);
  checked_ = true;
  showMarks();
}

void PracticeWindow::revealTransform() {
  if (lines_.empty()) return;
  std::string key;
  try {
    key = grammarText(transformGrammar(written_, transformKind()).grammar);
  } catch (const TransformRefused& refused) {
    clearMarks();
    scoreLabel->setText(text(refused.what()));
    return;
  }
  while (!key.empty() && key.back() == '\n') key.pop_back();
  transformEditor->setPlainText(text(key));
  checkTransform();
}
