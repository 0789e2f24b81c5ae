// The classic form driven as a user drives it: clicks, typing, picking
// examples, answering the dialogs.  What the commands compute is tested in
// the library; here: what lands where, and what must stay as it was.
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStatusBar>
#include <QWindow>

#include "Forms.h"
#include "GrammarSession.h"
#include "MainMenu.h"
#include "ParseStepper.h"
#include "Info.h"
#include "Warning.h"
#include "test_support.h"

namespace {

const QStringList kExample2Productions{"I->E", "E->TG", "G->+TG", "G->e", "T->FH", "H->*FH", "H->e", "F->(E)", "F->i"};

QStringList gridRow(const StringGrid* grid, int row) {
  QStringList texts;
  for (int col = 0; col < grid->colCount(); ++col) texts.append(grid->cells(col, row));
  return texts;
}

QString notationShown(TForm1& form) { return form.findChild<QLabel*>("NotationLabel")->text(); }

const QStringList kTokenExpressions{"E -> E + T | T", "T -> T * F | F", "F -> ( E ) | id | num"};

int markedCells(const StringGrid* grid, StringGrid::Mark mark) {
  int count = 0;
  for (int row = 0; row < grid->rowCount(); ++row)
    for (int col = 0; col < grid->colCount(); ++col) count += grid->mark(col, row) == mark;
  return count;
}

}  // namespace

class Unit1Test : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { isolateSettings(); }
  void cleanup() { releaseForms(); }

  void startUpShowsTheSplashThenExampleTwo();
  void theClientAreaIsTheClassicForm();
  void firstAndFollowOfExampleTwo();
  void tablesSetTheirColumnWidths_data();
  void tablesSetTheirColumnWidths();
  void conflictCellsAreHighlighted();
  void tracesShowTheParseAndItsOutcome();
  void itemListingsWithArcsAndTheSimilarStateTable();
  void aGrammarErrorRefusesEveryAnalysisUntilTheTextChanges();
  void pickingAnExampleReadsItAtOnceAndKeepsTheResults();
  void noSelectedExampleEmptiesTheEditor();
  void aConflictRefusesTheEvaluationWithAWarningEachTime();
  void exitAndTheCloseBoxEndTheProgram();
  void everyButtonIsACommandOfTheRegistry();
  void soundnessIsTheReadingsNotTheErrorList();
  void theStatusLineNamesTheNotationAndNewTokenGrammarStartsOne();
  void aTokenGrammarIsRefusedByTheCommandsThatCannotTakeIt();
};

void Unit1Test::startUpShowsTheSplashThenExampleTwo() {
  QList<SeenDialog> splash;
  auto form = openMainWindow(&splash);
  QCOMPARE(splash.size(), 1);
  QCOMPARE(splash[0].className, QString("TForm2"));
  QVERIFY(!splash[0].mainWindowShown);

  // The caption as the title bar shows it (the window marks unsaved changes there).
  QCOMPARE(form->windowHandle()->title(), QString("Tablomat"));
  QCOMPARE(form->ComboBox1->currentText(), QString("Grammar2"));
  QCOMPARE(form->ComboBox1->itemText(11), QString("Grammar12"));
  QCOMPARE(linesOf(form->Memo1), QStringList({"I->E", "E->TG", "G->+TG|e", "T->FH", "H->*FH|e", "F->(E)|i"}));
  QCOMPARE(form->Edit1->text(), QString("i+(i*i)*i"));
  QCOMPARE(linesOf(form->Memo4), kExample2Productions);
  const StringGrid* grid = form->StringGrid1;
  QCOMPARE(QSize(grid->colCount(), grid->rowCount()), QSize(2, 5));
  QCOMPARE(grid->defaultColWidth(), 100);
  QCOMPARE(grid->defaultRowHeight(), 24);
  for (int row = 0; row < 5; ++row) QCOMPARE(gridRow(grid, row), QStringList({"", ""}));
  QVERIFY(form->Memo3->toPlainText().isEmpty());
  QCOMPARE(form->Label2->text(), QString("."));
  QVERIFY(form->ListBox3->isHidden());
  QCOMPARE(linesOf(form->Memo2),
           QStringList({"Note: 'e' = epsilon", "          For use SLR,   LR  and  LALR  must   ",
                        "          be   inserted   the   extend   grammar."}));
  QVERIFY(!form->Memo1->document()->isModified());
}

void Unit1Test::theClientAreaIsTheClassicForm() {
  auto form = openMainWindow();
  QCOMPARE(form->Client->size(), QSize(1032, 752) - QSize(8, 34));
  const QPair<QWidget*, QRect> places[] = {
      {form->Memo1, {8, 136, 329, 161}},       {form->Memo3, {344, 136, 305, 321}},
      {form->StringGrid1, {8, 464, 993, 233}}, {form->ListBox3, {8, 464, 993, 233}},
      {form->BitBtn14, {888, 311, 113, 28}},   {form->BitBtn1, {888, 431, 113, 26}},
  };
  for (const auto& [widget, rect] : places) QCOMPARE(widget->geometry(), rect);
  // Everything but the banner, which runs off the top, shows whole.
  for (QWidget* child : form->Client->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
    if (child != form->Image1) QVERIFY2(form->Client->rect().contains(child->geometry()), qPrintable(child->objectName()));
  // The error list covers the grid when it shows.
  QVERIFY(form->Client->children().indexOf(form->ListBox3) > form->Client->children().indexOf(form->StringGrid1));
  // Glyph, gap and label fit between each button's edges.
  for (QAbstractButton* button : form->Client->findChildren<QAbstractButton*>(QRegularExpression("^BitBtn"))) {
    int needed = button->iconSize().width() + 12 + button->fontMetrics().horizontalAdvance(button->text());
    QVERIFY2(!button->icon().isNull() && needed <= button->width(), qPrintable(button->text()));
  }
}

void Unit1Test::firstAndFollowOfExampleTwo() {
  auto form = openMainWindow();
  click(form->BitBtn2);
  QCOMPARE(form->Label2->text(), QString("First:"));
  QCOMPARE(linesOf(form->Memo3), QStringList({"First(I): (i", "First(E): (i", "First(G): +e", "First(T): (i",
                                              "First(H): *e", "First(F): (i"}));
  click(form->BitBtn7);
  QCOMPARE(form->Label2->text(), QString("Follow:"));
  QCOMPARE(linesOf(form->Memo3).value(5), QString("Follow(F): *+$)"));
}

void Unit1Test::tablesSetTheirColumnWidths_data() {
  QTest::addColumn<int>("button");
  QTest::addColumn<int>("width");
  QTest::addColumn<int>("row");
  QTest::addColumn<QStringList>("cells");
  QTest::newRow("LL1 Table") << 4 << 100 << 5 << QStringList({"H", "", "H->e", "H->*FH", "H->e", "", "H->e"});
  QTest::newRow("SLR Table") << 5 << 60 << 1
                             << QStringList({"0", "s4", "", "", "", "", "s5", "", "", "1", "", "2", "", "3"});
  QTest::newRow("LR Table") << 9 << 60 << 2 << QStringList({"1", "", "", "", "", "", "", "a", "", "", "", "", "", ""});
  QTest::newRow("LALR Table") << 12 << 60 << 3
                              << QStringList({"2", "", "r3", "", "s7", "", "", "r3", "", "", "6", "", "", ""});
}

void Unit1Test::tablesSetTheirColumnWidths() {
  QFETCH(int, button);
  QFETCH(int, width);
  QFETCH(int, row);
  QFETCH(QStringList, cells);
  auto form = openMainWindow();
  click(form->findChild<QAbstractButton*>(QString("BitBtn%1").arg(button)));
  StringGrid* grid = form->StringGrid1;
  QCOMPARE(grid->defaultColWidth(), width);
  QCOMPARE(gridRow(grid, row), cells);
  // The width reaches every column, the fixed one too.
  QCOMPARE(grid->columnWidth(0), width);
  QCOMPARE(grid->verticalHeader()->width(), width);
}

void Unit1Test::conflictCellsAreHighlighted() {
  auto form = openMainWindow();
  StringGrid* grid = form->StringGrid1;
  pickExample(*form, 3);
  click(form->BitBtn5);  // SLR Table
  int c = gridRow(grid, 0).indexOf("c");
  QCOMPARE(grid->cells(c, 8), QString("s9|r4"));
  QCOMPARE(grid->mark(c, 8), StringGrid::Mark::Conflict);
  QCOMPARE(markedCells(grid, StringGrid::Mark::Conflict), 1);
  // A table without conflicts leaves no mark behind from the one before.
  pickExample(*form, 5);
  click(form->BitBtn12);
  QCOMPARE(markedCells(grid, StringGrid::Mark::Conflict), 0);
}

void Unit1Test::tracesShowTheParseAndItsOutcome() {
  auto form = openMainWindow();
  StringGrid* grid = form->StringGrid1;
  click(form->BitBtn8);  // LL1 Evaluation
  QCOMPARE(grid->defaultColWidth(), 250);
  QCOMPARE(grid->rowCount(), 30);
  QCOMPARE(gridRow(grid, 0), QStringList({"", "Stack", "Input", "Action"}));
  QCOMPARE(gridRow(grid, 1), QStringList({"1", "$ I ", "i+(i*i)*i$", "I->E"}));
  QCOMPARE(gridRow(grid, 29), QStringList({"29", "$ ", "$", "Accept"}));
  QCOMPARE(markedCells(grid, StringGrid::Mark::Accept), 3);
  QCOMPARE(grid->mark(1, 29), StringGrid::Mark::Accept);

  // The word as typed, beyond ASCII too, ends in a red Error row.
  form->Edit1->clear();
  typeText(form->Edit1, QString::fromUtf8("i+\xc3\xa9"));
  click(form->BitBtn10);  // LR Evaluation
  int last = grid->rowCount() - 1;
  QCOMPARE(grid->cells(2, 1), QString::fromUtf8("i+\xc3\xa9$"));
  QCOMPARE(grid->cells(3, last), QString("Error"));
  QCOMPARE(markedCells(grid, StringGrid::Mark::Error), 3);
  QCOMPARE(markedCells(grid, StringGrid::Mark::Accept), 0);

  // An empty word is a word too.
  pickExample(*form, 0);
  click(form->BitBtn13);  // LALR Evaluate
  QCOMPARE(grid->cells(2, 1), QString("$"));
  QCOMPARE(grid->cells(3, grid->rowCount() - 1), QString("Accept"));
}

void Unit1Test::itemListingsWithArcsAndTheSimilarStateTable() {
  auto form = openMainWindow();
  pickExample(*form, 3);
  click(form->BitBtn3);  // LR0 Items
  QCOMPARE(form->Label2->text(), QString("LR0 Items:"));
  QStringList lines = linesOf(form->Memo3);
  QCOMPARE(lines.mid(0, 2), QStringList({"State0 - Clousure(I->\u00b0S):", "   I->\u00b0S"}));
  QVERIFY(lines.contains("  7 --> c --> 9|r4"));
  QCOMPARE(form->Memo3->textCursor().selectionEnd(), 1);
  click(form->BitBtn11);  // LR1 Items
  QVERIFY(linesOf(form->Memo3).value(1).startsWith("   I->\u00b0S, $"));

  typeGrammar(*form, {"I->S", "S->(S)|x"});
  click(form->BitBtn1);  // LALR Items
  QCOMPARE(form->Label2->text(), QString("LALR Items:"));
  lines = linesOf(form->Memo3);
  QCOMPARE(lines.value(lines.indexOf("State2 {2 ~ 5}:") + 3), QString("  S->(\u00b0S), )$"));
  const QStringList similar{"LR(1) Similar Table:", "  State0 = {0}",     "  State1 = {1}",    "  State2 = {2 ~ 5}",
                            "  State3 = {3 ~ 6}",   "  State4 = {4 ~ 8}", "  State5 = {7 ~ 9}"};
  QCOMPARE(linesOf(form->Memo4), similar);
  QCOMPARE(form->Memo4->textCursor().selectionEnd(), 1);
  // The table stays until the grammar is read again.
  click(form->BitBtn2);
  QCOMPARE(linesOf(form->Memo4), similar);
  form->Memo1->moveCursor(QTextCursor::End);
  QTest::keyClick(form->Memo1, Qt::Key_Space);
  click(form->BitBtn2);
  QCOMPARE(linesOf(form->Memo4), QStringList({"I->S", "S->(S)", "S->x"}));
}

void Unit1Test::aGrammarErrorRefusesEveryAnalysisUntilTheTextChanges() {
  auto form = openMainWindow();
  click(form->BitBtn4);
  click(form->BitBtn2);
  typeGrammar(*form, {"I->A", "A->xB"});
  ModalAnswerer answerer;
  click(form->BitBtn7);
  QCOMPARE(form->ListBox3->item(0)->text(), QString("Error at line 2: Terminal 'B' not exist."));
  QVERIFY(form->ListBox3->isVisible());

  const GridSnapshot grid = snapshot(form->StringGrid1);
  const QStringList pane = linesOf(form->Memo3);
  for (QAbstractButton* button : form->Client->findChildren<QAbstractButton*>(QRegularExpression("^BitBtn"))) {
    if (button == form->BitBtn14 || button == form->BitBtn15) continue;
    click(button);
    QVERIFY(form->ListBox3->isVisible());
    QCOMPARE(linesOf(form->Memo3), pane);
    QCOMPARE(linesOf(form->Memo4), kExample2Productions);
    QVERIFY(snapshot(form->StringGrid1) == grid);
  }
  QVERIFY(answerer.seen.isEmpty());
  click(form->BitBtn15);  // Info still opens
  QCOMPARE(answerer.seen.value(0).className, QString("TForm2"));

  form->Memo1->moveCursor(QTextCursor::End);
  QTest::keyClick(form->Memo1, Qt::Key_Return);
  QTest::keyClicks(form->Memo1, "B->y");
  click(form->BitBtn7);
  QVERIFY(form->ListBox3->isHidden());
  QCOMPARE(linesOf(form->Memo4), QStringList({"I->A", "A->xB", "B->y"}));
  QCOMPARE(linesOf(form->Memo3), QStringList({"Follow(I): $", "Follow(A): $", "Follow(B): $"}));
}

void Unit1Test::pickingAnExampleReadsItAtOnceAndKeepsTheResults() {
  auto form = openMainWindow();
  click(form->BitBtn5);
  click(form->BitBtn1);
  const GridSnapshot grid = snapshot(form->StringGrid1);
  const QStringList pane = linesOf(form->Memo3);
  pickExample(*form, 0);
  QCOMPARE(linesOf(form->Memo1), QStringList({"I->A", "A->x|e"}));
  QVERIFY(form->Edit1->text().isEmpty());
  QCOMPARE(linesOf(form->Memo4), QStringList({"I->A", "A->x", "A->e"}));
  QVERIFY(snapshot(form->StringGrid1) == grid);
  QCOMPARE(linesOf(form->Memo3), pane);
  // The same example once more is read once more.
  click(form->BitBtn1);
  pickExample(*form, 0);
  QCOMPARE(linesOf(form->Memo4), QStringList({"I->A", "A->x", "A->e"}));
}

void Unit1Test::noSelectedExampleEmptiesTheEditor() {
  auto form = openMainWindow();
  form->ComboBox1->setCurrentIndex(-1);
  form->ComboBox1Change();
  QVERIFY(form->Memo1->toPlainText().isEmpty());
  QCOMPARE(form->Edit1->text(), QString("i+(i*i)*i"));
  QCOMPARE(form->ListBox3->item(0)->text(), QString("Error: Grammar Empty."));
  QCOMPARE(linesOf(form->Memo4), kExample2Productions);
}

void Unit1Test::aConflictRefusesTheEvaluationWithAWarningEachTime() {
  auto form = openMainWindow();
  pickExample(*form, 7);
  click(form->BitBtn5);  // SLR Table, 60 pixels
  const GridSnapshot before = snapshot(form->StringGrid1);
  QList<SeenDialog> warnings;
  {
    ModalAnswerer byMouse;
    click(form->BitBtn6);  // SLR Evaluation
    warnings = byMouse.seen;
  }
  {
    ModalAnswerer byEnter(Qt::Key_Return);
    click(form->BitBtn6);
    warnings += byEnter.seen;
  }
  QCOMPARE(warnings.size(), 2);
  for (const SeenDialog& warning : warnings) {
    QCOMPARE(warning.title, QString("Warning"));
    QCOMPARE(warning.texts.value(0), QString("This Table Contain 1 Conflict"));
  }
  QVERIFY(warnings[0].widget != warnings[1].widget);
  QVERIFY(snapshot(form->StringGrid1) == before);
  click(form->BitBtn10);  // LR Evaluation runs
  QCOMPARE(form->StringGrid1->cells(3, form->StringGrid1->rowCount() - 1), QString("Accept"));
}

void Unit1Test::exitAndTheCloseBoxEndTheProgram() {
  for (bool closeBox : {false, true}) {
    auto form = openMainWindow();
    QCOMPARE(runLoop([&] {
               if (closeBox) form->windowHandle()->close();
               else click(form->BitBtn14);
             }),
             0);
    QVERIFY(!form->isVisible());
  }
}

// The thirteen analysis buttons run the registry's commands, found by their
// captions; Exit and Info are no commands.
void Unit1Test::everyButtonIsACommandOfTheRegistry() {
  auto form = openMainWindow();
  int commands = 0;
  for (QAbstractButton* button : form->buttons()) {
    const CommandInfo* command = form->commandOf(button);
    bool none = button == form->BitBtn14 || button == form->BitBtn15;
    QCOMPARE(command == nullptr, none);
    if (none) continue;
    ++commands;
    QCOMPARE(QString::fromUtf8(command->caption.data(), command->caption.size()), button->text());
    QCOMPARE(form->buttonOf(*command), button);
  }
  QCOMPARE(commands, 13);
  for (const CommandInfo& command : commandRegistry())
    QCOMPARE(form->buttonOf(command) != nullptr, !command.caption.empty());

  // The button's command is what it shows: the LALR evaluation's trace.
  click(form->BitBtn13);
  QCOMPARE(form->StringGrid1->cells(3, 0), QString("Action"));
  QCOMPARE(form->StringGrid1->mark(1, form->StringGrid1->rowCount() - 1), StringGrid::Mark::Accept);
}

// Hiding or showing the error list by hand changes nothing: the reading
// says whether the grammar is sound.
void Unit1Test::soundnessIsTheReadingsNotTheErrorList() {
  auto form = openMainWindow();
  typeGrammar(*form, {"S->aSb|", "S->x"});
  QVERIFY(!form->refreshGrammar());
  QVERIFY(!form->session().isSound());
  QVERIFY(form->session().messages().getCount() > 0);
  form->ListBox3->hide();
  QVERIFY(!form->refreshGrammar());
  click(form->BitBtn2);
  QVERIFY(form->Memo3->toPlainText().isEmpty());

  typeGrammar(*form, {"S->aSb|e"});
  form->ListBox3->show();
  QVERIFY(form->refreshGrammar());
  QVERIFY(form->session().isSound());
  QVERIFY(form->ListBox3->isHidden());
  click(form->BitBtn2);
  QCOMPARE(form->Label2->text(), QString("First:"));
  QVERIFY(!form->Memo3->toPlainText().isEmpty());
}

void Unit1Test::theStatusLineNamesTheNotationAndNewTokenGrammarStartsOne() {
  auto form = openMainWindow();
  QCOMPARE(notationShown(*form), QString("Classic notation"));
  QAction* newTokens = form->menus()->find("New Token Grammar");
  QVERIFY(newTokens != nullptr);
  QVERIFY(form->menus()->find("New Classic Grammar") != nullptr);
  {
    ModalAnswerer answerer;
    form->menus()->find("Token Notation")->trigger();
    QCOMPARE(answerer.seen.size(), 1);
    QString help = answerer.seen[0].texts.join('\n');
    for (const char* part : {"#notation: tokens", "#word:", "continues the rule above", "'+'", "$", "id + num * ( id )"})
      QVERIFY2(help.contains(QString::fromUtf8(part)), part);
  }
  {
    // The example shown is no work to save: nothing is asked.
    ModalAnswerer answerer;
    newTokens->trigger();
    QVERIFY(answerer.seen.isEmpty());
  }
  QCOMPARE(form->Memo1->toPlainText(), QString("#notation: tokens\n"));
  QCOMPARE(notationShown(*form), QString("Token notation"));
  QVERIFY(form->statusBar()->currentMessage().contains("token notation"));
  QVERIFY(form->Edit1->text().isEmpty());

  // Typing below the declaration; the grammar reads, its productions listed.
  for (const QString& line : kTokenExpressions) {
    typeText(form->Memo1, line);
    QTest::keyClick(form->Memo1, Qt::Key_Return);
  }
  QVERIFY(form->refreshGrammar());
  QCOMPARE(form->session().notation(), Notation::kTokens);
  QCOMPARE(linesOf(form->Memo4).mid(0, 3), QStringList({"E' -> E", "E -> E + T", "E -> T"}));
  QCOMPARE(linesOf(form->Memo4).size(), 8);

  // Taking the declaration away is the classic notation again.
  typeGrammar(*form, {"S->a"});
  QCOMPARE(notationShown(*form), QString("Classic notation"));
  QVERIFY(form->refreshGrammar());
  QCOMPARE(form->session().notation(), Notation::kClassic);
}

void Unit1Test::aTokenGrammarIsRefusedByTheCommandsThatCannotTakeIt() {
  auto form = openMainWindow();
  typeGrammar(*form, QStringList{"#notation: tokens"} + kTokenExpressions);
  form->Edit1->setText("id + num * ( id )");
  // The tables take it: columns named by tokens, the added start rule's head among the gotos.
  click(form->BitBtn5);
  form->runner()->finishWithin(60000);
  QCOMPARE(gridRow(form->StringGrid1, 0).mid(1, 9),
           QStringList({"+", "*", "(", ")", "id", "num", "$", "E'", "E"}));
  click(form->BitBtn2);
  form->runner()->finishWithin(60000);
  QVERIFY(form->Memo3->toPlainText().contains("id"));
  // The parse stepper takes it too.
  form->openStepper(TableKind::kSLR);
  auto* stepper = form->findChild<ParseStepper*>();
  QVERIFY(stepper != nullptr);
  QVERIFY(QTest::qWaitFor([&] { return !stepper->busy(); }, 60000));
  QCOMPARE(stepper->steps(), 19);
  stepper->close();
  // The grammar itself was read: no error list, its productions shown.
  QVERIFY(form->ListBox3->isHidden());
  QCOMPARE(linesOf(form->Memo4).first(), QString("E' -> E"));
}

QTEST_MAIN(Unit1Test)
#include "unit1_test.moc"
