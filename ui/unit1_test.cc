// The main window driven as a user drives it: clicks, typing, picking
// examples, answering the dialogs.
#include <QComboBox>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QScrollBar>
#include <QWindow>

#include "Forms.h"
#include "Info.h"
#include "Warning.h"
#include "test_support.h"

namespace {

const QStringList kExample2{"I->E", "E->TG", "G->+TG|e", "T->FH", "H->*FH|e", "F->(E)|i"};
const QStringList kExample2Productions{"I->E",  "E->TG", "G->+TG", "G->e", "T->FH",
                                       "H->*FH", "H->e", "F->(E)", "F->i"};

QStringList gridRow(const StringGrid* grid, int row) {
  QStringList texts;
  for (int col = 0; col < grid->colCount(); ++col) texts.append(grid->cells(col, row));
  return texts;
}

QList<QAbstractButton*> analysisButtons(TForm1& form) {
  return {form.BitBtn2,  form.BitBtn7,  form.BitBtn4,  form.BitBtn8, form.BitBtn5,
          form.BitBtn6,  form.BitBtn3,  form.BitBtn9,  form.BitBtn10, form.BitBtn11,
          form.BitBtn12, form.BitBtn13, form.BitBtn1};
}

// Runs the event loop as the program does, with `action` as its first
// event; the exit status, or 99 when the loop did not end by itself.
int runLoop(const std::function<void()>& action) {
  QTimer::singleShot(0, action);
  QTimer watchdog;
  watchdog.setSingleShot(true);
  QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(99); });
  watchdog.start(5000);
  return QApplication::exec();
}

}  // namespace

class Unit1Test : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { releaseForms(); }

  // Start-up
  void startUpShowsTheSplashThenExampleTwo();
  void controlsLieInsideTheWindow();
  void buttonsShowTheirLabels();

  // Text commands
  void firstAndFollowOfExampleTwo();

  // Grid commands
  void tablesSetTheirColumnWidths_data();
  void tablesSetTheirColumnWidths();
  void conflictCellsAreHighlighted();
  void tracesShowTheParseAndItsOutcome();
  void theWordIsTakenAsTyped();

  // Item-set listings
  void lr0ItemsOfExampleFourWithArcs();
  void lalrItemsWithTheSimilarStateTable();

  // Grammar errors
  void aGrammarErrorRefusesEveryAnalysisUntilTheTextChanges();
  void unsupportedCharactersAreReportedAsTyped();

  // Examples
  void pickingAnExampleReadsItAtOnceAndKeepsTheResults();
  void noSelectedExampleEmptiesTheEditor();

  // Conflict check
  void slrEvaluationOfExampleEightIsRefused();
  void twoRefusedEvaluationsOpenTwoDialogs();

  // The end
  void exitEndsTheProgram();
  void theCloseBoxEndsTheProgram();
  void exitWorksWhileTheGrammarIsWrong();
};

void Unit1Test::startUpShowsTheSplashThenExampleTwo() {
  QList<SeenDialog> splash;
  auto form = openMainWindow(&splash);
  QCOMPARE(splash.size(), 1);
  QCOMPARE(splash[0].className, QString("TForm2"));
  QCOMPARE(splash[0].title, QString("Info"));
  QVERIFY(!splash[0].mainWindowShown);

  QCOMPARE(form->windowTitle(), QString("Tablomat"));
  QCOMPARE(form->ComboBox1->currentIndex(), 1);
  QCOMPARE(form->ComboBox1->currentText(), QString("Grammar2"));
  QCOMPARE(form->ComboBox1->count(), 12);
  QCOMPARE(form->ComboBox1->itemText(11), QString("Grammar12"));
  QCOMPARE(linesOf(form->Memo1), kExample2);
  QCOMPARE(form->Edit1->text(), QString("i+(i*i)*i"));
  QCOMPARE(linesOf(form->Memo4), kExample2Productions);
  QCOMPARE(form->StringGrid1->colCount(), 2);
  QCOMPARE(form->StringGrid1->rowCount(), 5);
  QCOMPARE(form->StringGrid1->defaultColWidth(), 100);
  QCOMPARE(form->StringGrid1->defaultRowHeight(), 24);
  for (int row = 0; row < 5; ++row) QCOMPARE(gridRow(form->StringGrid1, row), QStringList({"", ""}));
  QVERIFY(form->Memo3->toPlainText().isEmpty());
  QCOMPARE(form->Label2->text(), QString("."));
  QVERIFY(form->ListBox3->isHidden());
  QCOMPARE(linesOf(form->Memo2),
           QStringList({"Note: 'e' = epsilon", "          For use SLR,   LR  and  LALR  must   ",
                        "          be   inserted   the   extend   grammar."}));
  QVERIFY(!form->Memo1->document()->isModified());
}

void Unit1Test::controlsLieInsideTheWindow() {
  auto form = openMainWindow();
  QCOMPARE(form->size(), QSize(1032, 752) - QSize(8, 34));
  struct Place {
    QWidget* widget;
    QRect rect;
  };
  const Place places[] = {
      {form->Memo1, {8, 136, 329, 161}},     {form->Memo3, {344, 136, 305, 321}},
      {form->StringGrid1, {8, 464, 993, 233}}, {form->ListBox3, {8, 464, 993, 233}},
      {form->BitBtn14, {888, 311, 113, 28}}, {form->BitBtn1, {888, 431, 113, 26}},
  };
  for (const Place& place : places) QCOMPARE(place.widget->geometry(), place.rect);

  // Everything but the banner, which runs off the top, shows whole.
  for (QWidget* child : form->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
    if (child == form->Image1) continue;
    QVERIFY2(form->rect().contains(child->geometry()), qPrintable(child->objectName()));
  }
  // The error list covers the grid when it shows.
  const QObjectList& children = form->children();
  QVERIFY(children.indexOf(form->ListBox3) > children.indexOf(form->StringGrid1));
}

void Unit1Test::buttonsShowTheirLabels() {
  auto form = openMainWindow();
  const QList<QPair<QAbstractButton*, QString>> labels{
      {form->BitBtn1, "LALR Items"},     {form->BitBtn2, "First"},      {form->BitBtn3, "LR0 Items"},
      {form->BitBtn4, "LL1 Table"},      {form->BitBtn5, "SLR Table"},  {form->BitBtn6, "SLR Evaluation"},
      {form->BitBtn7, "Follow"},         {form->BitBtn8, "LL1 Evaluation"}, {form->BitBtn9, "LR Table"},
      {form->BitBtn10, "LR Evaluation"}, {form->BitBtn11, "LR1 Items"}, {form->BitBtn12, "LALR Table"},
      {form->BitBtn13, "LALR Evaluate"}, {form->BitBtn14, "Exit"},      {form->BitBtn15, "Info"},
  };
  for (const auto& [button, label] : labels) {
    QCOMPARE(button->text(), label);
    QVERIFY(!button->icon().isNull());
    // Glyph, gap and label must fit between the button's edges.
    int needed = button->iconSize().width() + 4 + button->fontMetrics().horizontalAdvance(label) + 8;
    QVERIFY2(needed <= button->width(), qPrintable(QString("%1 needs %2").arg(label).arg(needed)));
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
  QCOMPARE(linesOf(form->Memo3), QStringList({"Follow(I): $", "Follow(E): $)", "Follow(G): $)", "Follow(T): +$)",
                                              "Follow(H): +$)", "Follow(F): *+$)"}));
  // A second press without an edit reads nothing again and shows the same.
  click(form->BitBtn7);
  QCOMPARE(linesOf(form->Memo3).size(), 6);
}

void Unit1Test::tablesSetTheirColumnWidths_data() {
  QTest::addColumn<int>("button");
  QTest::addColumn<int>("width");
  QTest::addColumn<QStringList>("header");
  QTest::addColumn<int>("row");
  QTest::addColumn<QStringList>("cells");
  const QStringList lrHeader{"", "(", ")", "*", "+", "e", "i", "$", "I", "E", "G", "T", "H", "F"};
  QTest::newRow("LL1 Table") << 4 << 100 << QStringList({"", "(", ")", "*", "+", "i", "$"}) << 5
                             << QStringList({"H", "", "H->e", "H->*FH", "H->e", "", "H->e"});
  QTest::newRow("SLR Table") << 5 << 60 << lrHeader << 1
                             << QStringList({"0", "s4", "", "", "", "", "s5", "", "", "1", "", "2", "", "3"});
  QTest::newRow("LR Table") << 9 << 60 << lrHeader << 2
                            << QStringList({"1", "", "", "", "", "", "", "a", "", "", "", "", "", ""});
  QTest::newRow("LALR Table") << 12 << 60 << lrHeader << 3
                              << QStringList({"2", "", "r3", "", "s7", "", "", "r3", "", "", "6", "", "", ""});
}

void Unit1Test::tablesSetTheirColumnWidths() {
  QFETCH(int, button);
  QFETCH(int, width);
  QFETCH(QStringList, header);
  QFETCH(int, row);
  QFETCH(QStringList, cells);
  auto form = openMainWindow();
  ModalAnswerer answerer;
  auto* buttonWidget = form->findChild<QAbstractButton*>(QString("BitBtn%1").arg(button));
  click(buttonWidget);
  StringGrid* grid = form->StringGrid1;
  QCOMPARE(grid->defaultColWidth(), width);
  QCOMPARE(grid->colCount(), header.size());
  QCOMPARE(gridRow(grid, 0), header);
  QCOMPARE(gridRow(grid, row), cells);
  QVERIFY(answerer.seen.isEmpty());
  // The width reaches every column, the fixed one too.
  QCOMPARE(grid->columnWidth(0), width);
  QCOMPARE(grid->verticalHeader()->width(), width);
}

void Unit1Test::conflictCellsAreHighlighted() {
  auto form = openMainWindow();
  ModalAnswerer answerer;
  pickExample(*form, 3);
  click(form->BitBtn5);  // SLR Table
  StringGrid* grid = form->StringGrid1;
  int c = gridRow(grid, 0).indexOf("c");
  QVERIFY(c > 0);
  QCOMPARE(grid->cells(c, 8), QString("s9|r4"));
  QCOMPARE(grid->mark(c, 8), StringGrid::Mark::Conflict);
  int marked = 0;
  for (int row = 0; row < grid->rowCount(); ++row)
    for (int col = 0; col < grid->colCount(); ++col)
      if (grid->mark(col, row) == StringGrid::Mark::Conflict) ++marked;
  QCOMPARE(marked, 1);

  // Two reduce/reduce cells; a table command never warns.
  pickExample(*form, 9);
  click(form->BitBtn12);  // LALR Table
  marked = 0;
  for (int row = 1; row < grid->rowCount(); ++row)
    for (int col = 1; col < grid->colCount(); ++col) {
      bool conflict = grid->cells(col, row).contains('|');
      QCOMPARE(grid->mark(col, row) == StringGrid::Mark::Conflict, conflict);
      marked += conflict;
    }
  QCOMPARE(marked, 2);
  QVERIFY(answerer.seen.isEmpty());

  // A table without conflicts leaves no mark behind from the one before.
  pickExample(*form, 5);
  click(form->BitBtn12);
  for (int row = 1; row < grid->rowCount(); ++row)
    for (int col = 1; col < grid->colCount(); ++col) QCOMPARE(grid->mark(col, row), StringGrid::Mark::None);
}

void Unit1Test::tracesShowTheParseAndItsOutcome() {
  auto form = openMainWindow();
  StringGrid* grid = form->StringGrid1;
  click(form->BitBtn4);  // LL1 Table: 100 pixels first
  click(form->BitBtn8);  // LL1 Evaluation
  QCOMPARE(grid->defaultColWidth(), 250);
  QCOMPARE(grid->rowCount(), 30);
  QCOMPARE(gridRow(grid, 0), QStringList({"", "Stack", "Input", "Action"}));
  QCOMPARE(gridRow(grid, 1), QStringList({"1", "$ I ", "i+(i*i)*i$", "I->E"}));
  QCOMPARE(gridRow(grid, 29), QStringList({"29", "$ ", "$", "Accept"}));
  for (int col = 1; col < 4; ++col) {
    QCOMPARE(grid->mark(col, 29), StringGrid::Mark::Accept);
    QCOMPARE(grid->mark(col, 28), StringGrid::Mark::None);
  }

  for (QAbstractButton* button : {form->BitBtn6, form->BitBtn10, form->BitBtn13}) {
    click(button);
    int last = grid->rowCount() - 1;
    QCOMPARE(grid->cells(3, last), QString("Accept"));
    QCOMPARE(grid->cells(1, 1), QString("0"));
    QCOMPARE(grid->mark(1, last), StringGrid::Mark::Accept);
  }

  // A word outside the language ends in a red Error row.
  form->Edit1->clear();
  QTest::keyClicks(form->Edit1, "i+");
  click(form->BitBtn10);
  int last = grid->rowCount() - 1;
  QCOMPARE(grid->cells(3, last), QString("Error"));
  for (int col = 1; col < 4; ++col) QCOMPARE(grid->mark(col, last), StringGrid::Mark::Error);
  QCOMPARE(grid->colCount(), 4);
}

void Unit1Test::theWordIsTakenAsTyped() {
  auto form = openMainWindow();
  form->Edit1->clear();
  typeText(form->Edit1, QString::fromUtf8("i + \xc3\xa9"));
  click(form->BitBtn8);
  QCOMPARE(form->StringGrid1->cells(2, 1), QString::fromUtf8("i + \xc3\xa9$"));

  // An empty word is a word too.
  pickExample(*form, 0);
  QVERIFY(form->Edit1->text().isEmpty());
  click(form->BitBtn8);
  QCOMPARE(gridRow(form->StringGrid1, 1), QStringList({"1", "$ I ", "$", "I->A"}));
  click(form->BitBtn10);
  QCOMPARE(form->StringGrid1->cells(2, 1), QString("$"));
  QCOMPARE(form->StringGrid1->cells(3, form->StringGrid1->rowCount() - 1), QString("Accept"));
}

void Unit1Test::lr0ItemsOfExampleFourWithArcs() {
  auto form = openMainWindow();
  pickExample(*form, 3);
  click(form->BitBtn3);
  QCOMPARE(form->Label2->text(), QString("LR0 Items:"));
  QStringList lines = linesOf(form->Memo3);
  QCOMPARE(lines.mid(0, 2), QStringList({"State0 - Clousure(I->\u00b0S):", "   I->\u00b0S"}));
  QVERIFY(lines.contains("  1 --> $ --> Accept"));
  QVERIFY(lines.contains("  7 --> c --> 9|r4"));
  // Reductions give no arcs: state 3 (S->a°) goes straight to its rule.
  int state3 = lines.indexOf(QRegularExpression("^State3 .*"));
  QVERIFY(state3 >= 0);
  int arcs = lines.indexOf(" Arcs:", state3);
  QCOMPARE(lines[arcs + 1], QString("-------------------------"));
  QTextCursor cursor = form->Memo3->textCursor();
  QCOMPARE(cursor.selectionStart(), 0);
  QCOMPARE(cursor.selectionEnd(), 1);
  QCOMPARE(form->Memo3->verticalScrollBar()->value(), 0);

  // The LR(1) listing reads its arcs from the LR(1) table.
  click(form->BitBtn11);
  QCOMPARE(form->Label2->text(), QString("LR1 Items:"));
  lines = linesOf(form->Memo3);
  QVERIFY(lines.value(1).startsWith("   I->\u00b0S, $"));
  QVERIFY(lines.contains("  1 --> $ --> Accept"));
  QCOMPARE(form->Memo3->textCursor().selectionEnd(), 1);
}

void Unit1Test::lalrItemsWithTheSimilarStateTable() {
  auto form = openMainWindow();
  typeGrammar(*form, {"I->S", "S->(S)|x"});
  click(form->BitBtn1);
  QCOMPARE(form->Label2->text(), QString("LALR Items:"));
  QStringList lines = linesOf(form->Memo3);
  int state2 = lines.indexOf("State2 {2 ~ 5}:");
  QVERIFY(state2 > 0);
  QCOMPARE(lines.value(state2 + 3), QString("  S->(\u00b0S), )$"));
  const QStringList similar{"LR(1) Similar Table:", "  State0 = {0}",     "  State1 = {1}",
                            "  State2 = {2 ~ 5}",   "  State3 = {3 ~ 6}", "  State4 = {4 ~ 8}",
                            "  State5 = {7 ~ 9}"};
  QCOMPARE(linesOf(form->Memo4), similar);
  QCOMPARE(form->Memo3->textCursor().selectionEnd(), 1);
  QCOMPARE(form->Memo4->textCursor().selectionStart(), 0);
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
  click(form->BitBtn4);  // something in the grid
  click(form->BitBtn2);  // and in the pane
  typeGrammar(*form, {"I->A", "A->xB"});
  ModalAnswerer answerer;
  click(form->BitBtn7);
  QVERIFY(form->ListBox3->isVisible());
  QCOMPARE(form->ListBox3->count(), 1);
  QCOMPARE(form->ListBox3->item(0)->text(), QString("Error at line 2: Terminal 'B' not exist."));
  QCOMPARE(form->ListBox3->geometry(), form->StringGrid1->geometry());

  const GridSnapshot grid = snapshot(form->StringGrid1);
  const QStringList pane = linesOf(form->Memo3);
  for (QAbstractButton* button : analysisButtons(*form)) {
    click(button);
    QVERIFY(form->ListBox3->isVisible());
    QCOMPARE(form->Label2->text(), QString("First:"));
    QCOMPARE(linesOf(form->Memo3), pane);
    QCOMPARE(linesOf(form->Memo4), kExample2Productions);
    QVERIFY(snapshot(form->StringGrid1) == grid);
  }
  QVERIFY(answerer.seen.isEmpty());

  click(form->BitBtn15);  // Info still opens
  QCOMPARE(answerer.seen.size(), 1);
  QCOMPARE(answerer.seen[0].className, QString("TForm2"));

  // Fixing the text lets the next command read it and run.
  form->Memo1->moveCursor(QTextCursor::End);
  QTest::keyClick(form->Memo1, Qt::Key_Return);
  QTest::keyClicks(form->Memo1, "B->y");
  click(form->BitBtn7);
  QVERIFY(form->ListBox3->isHidden());
  QCOMPARE(linesOf(form->Memo4), QStringList({"I->A", "A->xB", "B->y"}));
  QCOMPARE(form->Label2->text(), QString("Follow:"));
  QCOMPARE(linesOf(form->Memo3), QStringList({"Follow(I): $", "Follow(A): $", "Follow(B): $"}));
}

void Unit1Test::exitWorksWhileTheGrammarIsWrong() {
  auto form = openMainWindow();
  typeGrammar(*form, {"I->"});
  click(form->BitBtn2);
  QCOMPARE(form->ListBox3->item(0)->text(), QString("Error at line 1"));
  QCOMPARE(runLoop([&] { click(form->BitBtn14); }), 0);
}

void Unit1Test::unsupportedCharactersAreReportedAsTyped() {
  auto form = openMainWindow();
  typeGrammar(*form, {QString::fromUtf8("I->x\xe2\x82\xac")});
  click(form->BitBtn2);
  QVERIFY(form->ListBox3->isVisible());
  QCOMPARE(form->ListBox3->item(0)->text(), QString::fromUtf8("Error at line 1: Symbol '\xe2\x82\xac' not supported."));
  QCOMPARE(form->Label2->text(), QString("."));
}

void Unit1Test::pickingAnExampleReadsItAtOnceAndKeepsTheResults() {
  auto form = openMainWindow();
  click(form->BitBtn5);  // SLR Table of example 2
  click(form->BitBtn1);  // LALR Items: Memo4 shows the similar states
  const GridSnapshot grid = snapshot(form->StringGrid1);
  const QStringList pane = linesOf(form->Memo3);

  pickExample(*form, 0);
  QCOMPARE(form->ComboBox1->currentText(), QString("Grammar1"));
  QCOMPARE(linesOf(form->Memo1), QStringList({"I->A", "A->x|e"}));
  QVERIFY(form->Edit1->text().isEmpty());
  QCOMPARE(linesOf(form->Memo4), QStringList({"I->A", "A->x", "A->e"}));
  QVERIFY(snapshot(form->StringGrid1) == grid);
  QCOMPARE(linesOf(form->Memo3), pane);
  QCOMPARE(form->Label2->text(), QString("LALR Items:"));

  // The same example once more is read once more.
  click(form->BitBtn1);
  QCOMPARE(linesOf(form->Memo4).value(0), QString("LR(1) Similar Table:"));
  pickExample(*form, 0);
  QCOMPARE(linesOf(form->Memo4), QStringList({"I->A", "A->x", "A->e"}));

  pickExample(*form, 11);
  QCOMPARE(linesOf(form->Memo1), QStringList({"S->E", "E->T", "T->0|1|2|3|4|5|6|7|8|9|TT"}));
  QCOMPARE(form->Edit1->text(), QString("00"));
  QVERIFY(form->ListBox3->isHidden());
}

void Unit1Test::noSelectedExampleEmptiesTheEditor() {
  auto form = openMainWindow();
  form->ComboBox1->setCurrentIndex(-1);
  form->ComboBox1Change();
  QVERIFY(form->Memo1->toPlainText().isEmpty());
  QCOMPARE(form->Edit1->text(), QString("i+(i*i)*i"));
  QVERIFY(form->ListBox3->isVisible());
  QCOMPARE(form->ListBox3->item(0)->text(), QString("Error: Grammar Empty."));
  QCOMPARE(linesOf(form->Memo4), kExample2Productions);
}

void Unit1Test::slrEvaluationOfExampleEightIsRefused() {
  auto form = openMainWindow();
  pickExample(*form, 7);
  click(form->BitBtn5);  // SLR Table, 60 pixels, with its conflict marked
  const GridSnapshot before = snapshot(form->StringGrid1);
  QCOMPARE(before.width, 60);

  ModalAnswerer answerer;
  click(form->BitBtn6);  // SLR Evaluation
  QCOMPARE(answerer.seen.size(), 1);
  QCOMPARE(answerer.seen[0].className, QString("TForm3"));
  QCOMPARE(answerer.seen[0].title, QString("Warning"));
  QCOMPARE(answerer.seen[0].texts.value(0), QString("This Table Contain 1 Conflict"));
  QVERIFY(snapshot(form->StringGrid1) == before);

  click(form->BitBtn10);  // LR Evaluation runs
  click(form->BitBtn13);  // and so does LALR
  QCOMPARE(answerer.seen.size(), 1);
  QCOMPARE(form->StringGrid1->defaultColWidth(), 250);
  QCOMPARE(form->StringGrid1->cells(3, form->StringGrid1->rowCount() - 1), QString("Accept"));
}

void Unit1Test::twoRefusedEvaluationsOpenTwoDialogs() {
  auto form = openMainWindow();
  pickExample(*form, 9);
  QList<SeenDialog> first;
  {
    ModalAnswerer byMouse;
    click(form->BitBtn6);  // SLR Evaluation
    first = byMouse.seen;
  }
  QCOMPARE(first.size(), 1);
  QCOMPARE(first[0].texts.value(0), QString("This Table Contain 2 Conflict"));
  {
    ModalAnswerer byEnter(Qt::Key_Return);
    click(form->BitBtn13);  // LALR Evaluate
    QCOMPARE(byEnter.seen.size(), 1);
    QCOMPARE(byEnter.seen[0].className, QString("TForm3"));
    QCOMPARE(byEnter.seen[0].texts.value(0), QString("This Table Contain 2 Conflict"));
    QVERIFY(byEnter.seen[0].widget != first[0].widget);
    QVERIFY(!byEnter.seen[0].widget->isVisible());
  }
  // Both dialogs stay with the application until it ends.
  int warnings = 0;
  for (QWidget* kept : adoptedForms()) warnings += qobject_cast<TForm3*>(kept) != nullptr;
  QCOMPARE(warnings, 2);
  click(form->BitBtn10);
  QCOMPARE(form->StringGrid1->cells(3, form->StringGrid1->rowCount() - 1), QString("Accept"));
}

void Unit1Test::exitEndsTheProgram() {
  auto form = openMainWindow();
  QCOMPARE(runLoop([&] { click(form->BitBtn14); }), 0);
  QVERIFY(!form->isVisible());
}

void Unit1Test::theCloseBoxEndsTheProgram() {
  auto form = openMainWindow();
  QCOMPARE(runLoop([&] { form->windowHandle()->close(); }), 0);
  QVERIFY(!form->isVisible());
}

QTEST_MAIN(Unit1Test)
#include "unit1_test.moc"
