// The explanations in the window: the worker keeps the window responsive
// and can be cancelled; a conflict cell explains itself; the Warning
// dialog keeps its face and offers the explanations; the start hint shows
// under the grid for an LR command; the grammar report is one call away.
#include <QAction>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTextEdit>
#include <QToolTip>

#include "ExplainHooks.h"
#include "ExplainWindow.h"
#include "Forms.h"
#include "Warning.h"
#include "grammar/examples.h"
#include "test_support.h"

namespace {

ExplainJob jobFor(std::vector<std::string> rules, ExplainJob::What what, TableKind table = TableKind::kLL1) {
  ExplainJob job;
  job.what = what;
  job.grammar.rules = std::move(rules);
  job.table = table;
  return job;
}

// The explanation windows open now, newest last.
QList<ExplainWindow*> explanationWindows() {
  QList<ExplainWindow*> windows;
  for (QWidget* form : adoptedForms())
    if (auto* window = qobject_cast<ExplainWindow*>(form)) windows.append(window);
  return windows;
}

// The grid cell (col, row) of the first conflict, as the grid marks it.
QPair<int, int> firstConflictCell(const StringGrid* grid) {
  for (int row = 1; row < grid->rowCount(); ++row)
    for (int col = 1; col < grid->colCount(); ++col)
      if (grid->mark(col, row) == StringGrid::Mark::Conflict) return {col, row};
  return {-1, -1};
}

QPoint centreOf(const StringGrid* grid, QPair<int, int> cell) {
  return grid->visualRect(grid->model()->index(cell.second - 1, cell.first - 1)).center();
}

}  // namespace

class ExplainTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { releaseForms(); }

  // The worker
  void aTableIsExplainedOffTheWindowsThread();
  void longSearchesShowProgressAndCancel();

  // The hooks in the main window
  void aConflictCellExplainsItself();
  void theWarningKeepsItsFaceAndOffersTheExplanations();
  void theStartHintShowsUnderTheGridForLRCommands();
  void theGrammarReportIsOneCallAway();
  void theDanglingElseInTheTokenNotation();
};

void ExplainTest::aTableIsExplainedOffTheWindowsThread() {
  auto* window = new ExplainWindow(jobFor(exampleRuleLines(4), ExplainJob::What::kTable));
  adoptForm(window);
  window->show();
  QTRY_VERIFY_WITH_TIMEOUT(!window->isRunning(), 20000);
  QString text = window->text();
  QVERIFY(text.startsWith("LL1 table: 1 conflicting cell."));
  QVERIFY(text.contains("Counterexample (unifying, so the grammar is ambiguous): iEtiEtScS has two derivation trees:"));
  QVERIFY(!window->status()->showsWork());
  // The two trees are drawn side by side in the place of their text; the rest wraps.
  QCOMPARE(window->pictures(), 1);
  auto* shown = window->findChild<QTextEdit*>("Explanation");
  QCOMPARE(shown->lineWrapMode(), QTextEdit::WidgetWidth);
  QString seen = shown->toPlainText();
  QVERIFY(seen.contains(QChar::ObjectReplacementCharacter));
  QVERIFY(!seen.contains("With Z->cS:"));
  QVERIFY(text.contains("With Z->cS:"));
  QVERIFY(seen.contains("A word on which the parser meets this conflict"));
}

void ExplainTest::longSearchesShowProgressAndCancel() {
  // Left recursion makes the search for a unifying counterexample long,
  // once it is not skipped for a grammar that is LR(1).
  ExplainJob job = jobFor(exampleRuleLines(6), ExplainJob::What::kTable);
  job.bounds.trustLR1 = false;
  job.bounds.stepsPerConflict = 1'000'000'000;
  job.bounds.secondsPerConflict = 600;
  job.bounds.secondsPerTable = 600;
  auto* window = new ExplainWindow(job);
  adoptForm(window);
  window->show();
  QTRY_VERIFY_WITH_TIMEOUT(window->status()->showsWork(), 5000);
  QVERIFY(window->isRunning());
  QTRY_VERIFY(window->status()->text().contains("steps"));
  QTest::mouseClick(window->status()->cancelButton(), Qt::LeftButton);
  QTRY_VERIFY_WITH_TIMEOUT(!window->isRunning(), 5000);
  QCOMPARE(window->text(), QString("Cancelled."));
}

void ExplainTest::aConflictCellExplainsItself() {
  auto form = openMainWindow();
  pickExample(*form, 3);  // Grammar4: Z->cS|e under c
  click(form->BitBtn4);
  StringGrid* grid = form->StringGrid1;
  QPair<int, int> cell = firstConflictCell(grid);
  QCOMPARE(grid->cells(cell.first, cell.second), QString("Z->cS|e"));

  QHelpEvent help(QEvent::ToolTip, centreOf(grid, cell), grid->viewport()->mapToGlobal(centreOf(grid, cell)));
  QCoreApplication::sendEvent(grid->viewport(), &help);
  QTRY_VERIFY(QToolTip::isVisible());
  QCOMPARE(QToolTip::text(), ExplainHooks::conflictTip("Z->cS|e"));

  QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, centreOf(grid, cell));
  QVERIFY(grid->indexWidget(grid->model()->index(cell.second - 1, cell.first - 1)) == nullptr);  // no editor
  QVERIFY(grid->viewport()->findChild<QLineEdit*>() == nullptr);
  QCOMPARE(grid->cells(cell.first, cell.second), QString("Z->cS|e"));
  QTRY_COMPARE(explanationWindows().size(), 1);
  ExplainWindow* window = explanationWindows().last();
  QTRY_VERIFY_WITH_TIMEOUT(!window->isRunning(), 20000);
  QVERIFY(window->text().startsWith("LL1 table, row Z under c: Z->cS|e (First/Follow)"));

  // The grid's one context menu offers the same first, then the rest; over
  // another cell only the rest.
  auto openMenuAt = [&](QPoint at) {
    QStringList entries;
    QTimer::singleShot(50, [&entries] {
      if (QMenu* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
        for (QAction* action : menu->actions()) entries << action->text().remove('&');
        if (QAction* explain = menu->findChild<QAction*>("ExplainCell")) explain->trigger();
        menu->close();
      }
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, grid->viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(grid->viewport(), &event);
    (void)QTest::qWaitFor([&] { return !entries.isEmpty(); });
    return entries;
  };
  QStringList entries = openMenuAt(centreOf(grid, cell));
  QCOMPARE(entries.first(), QString("Explain This Conflict"));
  QVERIFY(entries.contains("Copy") && entries.contains("Export..."));
  QTRY_COMPARE(explanationWindows().size(), 2);
  entries = openMenuAt(centreOf(grid, {1, 1}));
  QCOMPARE(entries.first(), QString("Copy"));
}

void ExplainTest::theWarningKeepsItsFaceAndOffersTheExplanations() {
  TForm3 plain;
  plain.setMessage("This Table Contain 1 Conflict");
  auto form = openMainWindow();
  pickExample(*form, 7);  // Grammar8: the SLR table holds one conflict
  bool offered = false;
  ModalAnswerer answerer(Qt::Key_F1, [&](QWidget* dialog) {
    auto* warning = qobject_cast<TForm3*>(dialog);
    QVERIFY(warning != nullptr);
    QCOMPARE(warning->Label1->text(), QString("This Table Contain 1 Conflict"));
    QCOMPARE(warning->size(), plain.size());
    QCOMPARE(warning->Label1->geometry(), plain.Label1->geometry());
    QCOMPARE(warning->findChildren<QAbstractButton*>().size(), plain.findChildren<QAbstractButton*>().size() + 1);
    // The Explain button is seen beside Ok, within the dialog, over nothing else.
    auto* explain = warning->findChild<QAbstractButton*>("ExplainButton");
    QVERIFY(explain != nullptr && explain->isVisible());
    QVERIFY(warning->rect().contains(explain->geometry()));
    QVERIFY(!explain->geometry().intersects(warning->BitBtn1->geometry()));
    QVERIFY(!explain->geometry().intersects(warning->Label1->geometry()));
    QVERIFY(explain->width() >= explain->sizeHint().width());
    QCOMPARE(warning->contextMenuPolicy(), Qt::ActionsContextMenu);
    QCOMPARE(warning->actions().size(), 1);
    QCOMPARE(warning->actions()[0]->shortcut(), QKeySequence(Qt::Key_F1));
    QVERIFY(warning->toolTip().contains("F1"));
    offered = true;
    // The key reaches the dialog's shortcut once the dialog is the active window.
    QVERIFY(QTest::qWaitForWindowActive(warning));
  });
  click(form->BitBtn6);
  QVERIFY(offered);
  QTRY_COMPARE(explanationWindows().size(), 1);
  ExplainWindow* window = explanationWindows().last();
  QTRY_VERIFY_WITH_TIMEOUT(!window->isRunning(), 20000);
  QVERIFY(window->text().startsWith("SLR table: 1 conflicting cell."));
  // The button leads there too.
  {
    ModalAnswerer byButton(Qt::Key_unknown, [](QWidget* dialog) {
      if (auto* explain = dialog->findChild<QAbstractButton*>("ExplainButton")) explain->click();
    });
    click(form->BitBtn6);
  }
  QTRY_COMPARE(explanationWindows().size(), 2);
}

void ExplainTest::theStartHintShowsUnderTheGridForLRCommands() {
  auto form = openMainWindow();
  QLabel* hint = form->explainHooks()->hint();
  typeGrammar(*form, {"E->E+T|T", "T->i"});
  click(form->BitBtn5);  // SLR Table
  QVERIFY(hint->isVisible());
  QVERIFY(hint->toolTip().startsWith("The first rule E->E+T|T does not augment the grammar"));
  QVERIFY(form->Label2->toolTip().startsWith("The first rule E->E+T|T does not augment the grammar"));
  // Right under the grid's last row and above the status line, as the window grows and shrinks.
  for (QSize size : {form->size(), QSize(1900, 1000), QSize(1300, 680)}) {
    form->resize(size);
    QTRY_COMPARE(hint->geometry().top(), form->StringGrid1->geometry().bottom() + 1);
    QVERIFY(form->Client->rect().contains(hint->geometry()));
    QCOMPARE(hint->width(), form->StringGrid1->width());
  }
  click(form->BitBtn2);  // First: no LR command, no hint
  QVERIFY(hint->isHidden());
  QCOMPARE(form->Label2->text(), QString("First:"));
  click(form->BitBtn3);  // LR0 Items
  QVERIFY(hint->isVisible());
  pickExample(*form, 1);
  click(form->BitBtn3);
  QVERIFY(hint->isHidden());
  // An evaluation names what in the word no parser reads.
  form->Edit1->setText("i + i");
  click(form->BitBtn8);  // LL1 Evaluation
  QVERIFY(hint->isVisible());
  QCOMPARE(hint->toolTip().split('\n').first(),
           QString("The word holds blanks: the parsers read a blank as a symbol, and no rule uses one."));
}

void ExplainTest::theGrammarReportIsOneCallAway() {
  auto form = openMainWindow();
  form->Edit1->setText("i+x");
  form->showGrammarReport();
  QTRY_COMPARE(explanationWindows().size(), 1);
  ExplainWindow* window = explanationWindows().last();
  QCOMPARE(window->windowTitle(), QString("Grammar report"));
  QTRY_VERIFY_WITH_TIMEOUT(!window->isRunning(), 20000);
  QStringList lines = window->text().split('\n');
  QCOMPARE(lines.first(), QString("Start: The first rule I->E augments the grammar."));
  QVERIFY(lines.contains("Word: The word holds x, which no rule uses: every parser stops there."));
  QCOMPARE(lines.last(), QString("Classes: LL(1) yes, SLR(1) yes, LALR(1) yes, LR(1) yes; unambiguous (every LR(1) grammar is)"));
}

// A token grammar: its conflict cell, its report and its table's
// explanations all open, and name symbols as the notation writes them.
void ExplainTest::theDanglingElseInTheTokenNotation() {
  auto form = openMainWindow();
  typeGrammar(*form, {"#notation: tokens", "S -> if E then S | if E then S else S | other", "E -> cond"});
  click(form->BitBtn5);  // SLR Table
  StringGrid* grid = form->StringGrid1;
  QPair<int, int> cell = firstConflictCell(grid);
  QVERIFY(cell.first > 0);
  QCOMPARE(grid->cells(cell.first, 0), QString("else"));
  QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, centreOf(grid, cell));
  QTRY_COMPARE(explanationWindows().size(), 1);
  ExplainWindow* window = explanationWindows().last();
  QTRY_VERIFY_WITH_TIMEOUT(!window->isRunning(), 20000);
  QString text = window->text();
  QVERIFY2(text.startsWith("SLR table, state 7 under else: r1|s8 (shift/reduce)"), qPrintable(text));
  QVERIFY(text.contains("Counterexample (unifying, so the grammar is ambiguous): if E then if E then S else S has two "
                        "derivation trees:"));
  QVERIFY(text.contains("A word on which the parser meets this conflict: if cond then if cond then other else other"));
  QCOMPARE(window->pictures(), 1);

  form->showGrammarReport();
  QTRY_COMPARE(explanationWindows().size(), 2);
  window = explanationWindows().last();
  QTRY_VERIFY_WITH_TIMEOUT(!window->isRunning(), 20000);
  QStringList lines = window->text().split('\n');
  QCOMPARE(lines.first(), QString("Start: The analyses put the start rule S' -> S first: it augments the grammar."));
  QVERIFY(lines.last().endsWith("; ambiguous (a unifying counterexample was found)"));

  form->explainTable(TableKind::kLL1);
  QTRY_COMPARE(explanationWindows().size(), 3);
  window = explanationWindows().last();
  QTRY_VERIFY_WITH_TIMEOUT(!window->isRunning(), 20000);
  QVERIFY(window->text().startsWith("LL1 table: 1 conflicting cell.\n\nLL1 table, row S under if: "
                                    "S -> if E then S | if E then S else S (First/First)"));
}

QTEST_MAIN(ExplainTest)
#include "explain_test.moc"
