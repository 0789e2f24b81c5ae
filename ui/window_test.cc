// What the window adds to the classic form, where something could be lost
// or hidden: the undoable example pick, the example box and the wheel, the
// grid's reset between results, copying, files, the background runner,
// error lines, keys, menus, growing and zooming.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStatusBar>
#include <QTextBlock>
#include <QThread>
#include <QWheelEvent>
#include <atomic>

#include "Export.h"
#include "Forms.h"
#include "GrammarDocument.h"
#include "Look.h"
#include "MainMenu.h"
#include "Zoom.h"
#include "test_support.h"

namespace {

// A chain of rules whose LR(1) automaton grows fourfold every two rules:
// A->yBa|yB|zB, B->yCb|yC|zC, ..., R->x.
QStringList explosiveChain(int rules) {
  const char* ends = "abcdfghijklmnopqrtuvw";
  QStringList lines{"S->A"};
  for (int i = 0; i + 1 < rules; ++i) {
    QChar head(char('A' + i)), next(char('A' + i + 1)), end(ends[i]);
    lines << QStringLiteral("%1->y%2%3|y%2|z%2").arg(head, next, end);
  }
  lines << QStringLiteral("%1->x").arg(QChar(char('A' + rules - 1)));
  return lines;
}

void wheel(QWidget* widget, int notches, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QPointF at = widget->rect().center();
  QWheelEvent event(at, widget->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton, modifiers,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(widget, &event);
}

// Answers the question about unsaved changes with `button`.
std::function<void(QWidget*)> answer(QMessageBox::StandardButton button) {
  return [button](QWidget* dialog) {
    if (auto* box = qobject_cast<QMessageBox*>(dialog); box != nullptr && box->button(button) != nullptr)
      box->button(button)->click();
  };
}

QString fileText(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

}  // namespace

class WindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { isolateSettings(); }
  void cleanup() { releaseForms(); }

  void pickingAnExampleIsOneStepThatUndoBringsBack();
  void theExampleBoxChangesOnlyOnADeliberateChoice();
  void eachResultOpensAtTheTopLeftWithoutSelection();
  void copyingTheGridGivesWhatSpreadsheetsPaste();
  void openingAndSavingAFileKeepsGrammarAndWord();
  void leavingWithUnsavedChangesAsks();
  void aLongCommandShowsProgressAndCancels();
  void aLimitStopsTheCommandWithAMessage();
  void jobsTellHowTheyEndedAndNothingAfterCancel();
  void clickingAnErrorSelectsItsEditorLine();
  void keysDoWhatTheirControlsPromise();
  void theMenusCarryEveryCommandWithItsShortcut();
  void theFormGrowsWithTheWindowAndZooms();
};

void WindowTest::pickingAnExampleIsOneStepThatUndoBringsBack() {
  auto form = openMainWindow();
  typeGrammar(*form, {"I->S", "S->a"});
  form->Edit1->setText("aa");
  form->ComboBox1->setFocus();
  pickExample(*form, 4);
  QCOMPARE(linesOf(form->Memo1).value(0), QString("I->S"));
  QCOMPARE(form->Edit1->text(), QString("abbz"));
  // The focus is on the example box: Ctrl+Z still reaches the grammar.
  QCOMPARE(QApplication::focusWidget(), form->ComboBox1);
  QTest::keyClick(form->ComboBox1, Qt::Key_Z, Qt::ControlModifier);
  QCOMPARE(linesOf(form->Memo1), QStringList({"I->S", "S->a"}));
  QCOMPARE(form->Edit1->text(), QString("aa"));
  QTest::keyClick(form->ComboBox1, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  QCOMPARE(form->Edit1->text(), QString("abbz"));
  // What was typed is unsaved work, example or not.
  QVERIFY(form->document()->isModified());
}

void WindowTest::theExampleBoxChangesOnlyOnADeliberateChoice() {
  auto form = openMainWindow();
  typeGrammar(*form, {"A->x"});
  wheel(form->ComboBox1, -1);
  QTest::keyClick(form->ComboBox1, Qt::Key_Down);
  QCOMPARE(form->ComboBox1->currentIndex(), 1);
  QCOMPARE(linesOf(form->Memo1), QStringList({"A->x"}));
  // The arrow opened the list; Enter there is the choice.
  QVERIFY(form->ComboBox1->view()->isVisible());
  QTest::keyClick(form->ComboBox1->view(), Qt::Key_Down);
  QTest::keyClick(form->ComboBox1->view(), Qt::Key_Return);
  QCOMPARE(form->ComboBox1->currentIndex(), 2);
  QCOMPARE(linesOf(form->Memo1).value(1), QString("A->BCDE|e"));
}

void WindowTest::eachResultOpensAtTheTopLeftWithoutSelection() {
  auto form = openMainWindow();
  StringGrid* grid = form->StringGrid1;
  click(form->BitBtn9);  // LR Table: 30 states, 14 columns
  grid->setColumnWidth(3, 300);
  grid->setFocus();
  QTest::keyClick(grid, Qt::Key_A, Qt::ControlModifier);
  grid->verticalScrollBar()->setValue(20);
  grid->horizontalScrollBar()->setValue(2);
  QVERIFY(grid->verticalScrollBar()->value() > 0 && grid->horizontalScrollBar()->value() > 0);
  click(form->BitBtn10);  // LR Evaluation
  QCOMPARE(grid->verticalScrollBar()->value(), 0);
  QCOMPARE(grid->horizontalScrollBar()->value(), 0);
  QVERIFY(grid->selectionModel()->selectedIndexes().isEmpty());
  QVERIFY(!grid->currentIndex().isValid());
  // Tab leaves the grid for the next control.
  grid->setFocus();
  QTest::keyClick(grid, Qt::Key_Tab);
  QVERIFY(!grid->hasFocus());
}

void WindowTest::copyingTheGridGivesWhatSpreadsheetsPaste() {
  auto form = openMainWindow();
  StringGrid* grid = form->StringGrid1;
  click(form->BitBtn4);  // LL1 Table
  grid->setFocus();
  grid->selectionModel()->select(QItemSelection(grid->model()->index(4, 1), grid->model()->index(4, 3)),
                                 QItemSelectionModel::Select);
  QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
  QCOMPARE(QApplication::clipboard()->text(), QString("H->e\tH->*FH\tH->e\n"));

  // The whole table as computed, whatever was typed into a cell since.
  grid->setCells(1, 1, "typed");
  form->menus()->find("CSV")->trigger();  // the first "CSV" is Copy Table As
  QStringList records = QApplication::clipboard()->text().split("\r\n");
  QCOMPARE(records.value(0), QString(",(,),*,+,i,$"));
  QCOMPARE(records.value(1), QString("I,I->E,,,,I->E,"));
  click(form->BitBtn2);
  QVERIFY(copyAs(form->resultsExport(), Format::kMarkdown));
  QString markdown = QApplication::clipboard()->text();
  QVERIFY(markdown.startsWith("```") && markdown.contains("\nFirst(I): (i\n"));
}

void WindowTest::openingAndSavingAFileKeepsGrammarAndWord() {
  QTemporaryDir folder;
  QString path = folder.filePath("parens.txt"), copy = folder.filePath("copy");
  {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("I -> S\r\n\r\nS -> (S) | x\r\n#word: (x)\r\n");
  }
  auto form = openMainWindow();
  QVERIFY(form->openFile(path));
  QCOMPARE(linesOf(form->Memo1), QStringList({"I -> S", "", "S -> (S) | x"}));
  QCOMPARE(form->Edit1->text(), QString("(x)"));
  QCOMPARE(linesOf(form->Memo4), QStringList({"I->S", "S->(S)", "S->x"}));
  QVERIFY(!form->document()->isModified());

  // Save As through its dialog; the file ends in a suffix of its own choosing.
  form->Edit1->setText("((x))");
  {
    ModalAnswerer answerer(Qt::Key_unknown, [&](QWidget* dialog) {
      if (auto* files = qobject_cast<QFileDialog*>(dialog)) {
        files->selectFile(copy);
        QMetaObject::invokeMethod(files, "accept", Qt::QueuedConnection);
      }
    });
    QVERIFY(form->saveAsDialog());
  }
  QCOMPARE(fileText(copy), QString("I -> S\n\nS -> (S) | x\n#word: ((x))\n"));
  QCOMPARE(form->document()->recentFiles().mid(0, 2), QStringList({copy, path}));
  QVERIFY(!form->document()->isModified());

  // A file that is no grammar is refused; nothing changes.
  {
    QFile binary(folder.filePath("binary"));
    QVERIFY(binary.open(QIODevice::WriteOnly));
    binary.write(QByteArray("A->x\0", 5));
  }
  ModalAnswerer answerer;
  QVERIFY(!form->openFile(folder.filePath("binary")));
  QVERIFY(!form->openFile(folder.filePath("missing")));
  QCOMPARE(answerer.seen.size(), 2);
  QVERIFY(answerer.seen[0].texts.join(" ").contains("not a text file"));
  QCOMPARE(form->Edit1->text(), QString("((x))"));

  // A file dropped on the editor is opened.
  QMimeData dropped;
  dropped.setUrls({QUrl::fromLocalFile(path)});
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(form->Memo1->viewport(), &enter);
  QVERIFY(enter.isAccepted());
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(form->Memo1->viewport(), &drop);
  QTRY_COMPARE(form->Edit1->text(), QString("(x)"));
  QCOMPARE(form->document()->path(), path);
}

void WindowTest::leavingWithUnsavedChangesAsks() {
  auto form = openMainWindow();
  typeGrammar(*form, {"A->x"});
  {
    ModalAnswerer answerer(Qt::Key_unknown, answer(QMessageBox::Cancel));
    form->close();
    QCOMPARE(answerer.seen.size(), 1);
  }
  QVERIFY(form->isVisible());
  ModalAnswerer answerer(Qt::Key_unknown, answer(QMessageBox::Discard));
  QCOMPARE(runLoop([&] { click(form->BitBtn14); }), 0);
  QVERIFY(!form->isVisible());
}

void WindowTest::aLongCommandShowsProgressAndCancels() {
  auto form = openMainWindow();
  click(form->BitBtn2);
  const QStringList before = linesOf(form->Memo3);
  // LR1 Items of 5 * 2^20 - 3 states: many seconds of work once the state limit is lifted.
  WorkLimits limits;
  limits.states = 100'000'000;
  limits.items = 1'000'000'000;
  form->runner()->setLimits(limits);
  typeGrammar(*form, explosiveChain(20));
  QTest::mouseClick(form->BitBtn11, Qt::LeftButton);
  QVERIFY(form->runner()->running());
  auto* panel = form->findChild<JobStatus*>();
  QTRY_VERIFY_WITH_TIMEOUT(panel->isVisible() && panel->text().contains("states"), 10000);
  // Another command is refused meanwhile, and says so.
  QTest::mouseClick(form->BitBtn2, Qt::LeftButton);
  QVERIFY(form->statusBar()->currentMessage().contains("LR1 Items is still running"));
  QTest::mouseClick(panel->cancelButton(), Qt::LeftButton);
  QTRY_VERIFY_WITH_TIMEOUT(!form->runner()->running(), 10000);
  QVERIFY(!panel->isVisible());
  QCOMPARE(linesOf(form->Memo3), before);

  // Exit ends the program while a command runs.
  QTest::mouseClick(form->BitBtn11, Qt::LeftButton);
  QVERIFY(form->runner()->running());
  ModalAnswerer answerer(Qt::Key_unknown, answer(QMessageBox::Discard));
  QCOMPARE(runLoop([&] { click(form->BitBtn14); }), 0);
  QVERIFY(!form->runner()->running());
}

void WindowTest::aLimitStopsTheCommandWithAMessage() {
  auto form = openMainWindow();
  click(form->BitBtn9);
  const GridSnapshot before = snapshot(form->StringGrid1);
  WorkLimits limits;
  limits.states = 20;
  form->runner()->setLimits(limits);
  ModalAnswerer answerer;
  click(form->BitBtn10);  // LR Evaluation needs the 30 LR(1) states
  QCOMPARE(answerer.seen.size(), 1);
  QVERIFY2(answerer.seen[0].texts.join(" ").contains("limit"), qPrintable(answerer.seen[0].texts.join(" ")));
  QVERIFY(snapshot(form->StringGrid1) == before);
}

void WindowTest::jobsTellHowTheyEndedAndNothingAfterCancel() {
  BackgroundJob job;
  QStringList ends;
  auto record = [&] { ends << job.failure(); };
  job.start("fails", [](const BackgroundJob::Progress&) { throw std::runtime_error("the grammar fell over"); }, record);
  QVERIFY(job.finishWithin(5000));
  QCOMPARE(ends, QStringList({"the grammar fell over"}));
  QVERIFY(job.outcome() == BackgroundJob::Outcome::kFailed);
  job.start("too large", [](const BackgroundJob::Progress&) { noteStates("LR(1) collection", 3'000'000, 0); }, record);
  QTRY_COMPARE(ends.size(), 2);
  QVERIFY(job.outcome() == BackgroundJob::Outcome::kLimit && job.failure().startsWith("The LR(1) collection has more than"));

  // A cancelled run is told at once; when it ends later, nothing more is told.
  std::atomic<bool> release{false};
  job.start("waits", [&release](const BackgroundJob::Progress&) { while (!release) QThread::msleep(1); }, record);
  QVERIFY(!job.finishWithin(20));
  job.cancel();
  QCOMPARE(ends.size(), 3);
  QVERIFY(job.cancelled() && !job.running());
  release = true;
  QTest::qWait(50);
  QCOMPARE(ends.size(), 3);
  // A run replaced by a new one is dropped without a word.
  release = false;
  job.start("replaced", [&release](const BackgroundJob::Progress&) { while (!release) QThread::msleep(1); }, record);
  job.start("done", [](const BackgroundJob::Progress&) {}, record);
  QVERIFY(job.finishWithin(5000));
  release = true;
  QTest::qWait(50);
  QCOMPARE(ends.size(), 4);
  QVERIFY(job.outcome() == BackgroundJob::Outcome::kDone);
}

void WindowTest::clickingAnErrorSelectsItsEditorLine() {
  auto form = openMainWindow();
  // Rule line 2 (B) is the fourth line; rule line 1 (A) is merged from two.
  typeGrammar(*form, {"", "A->x", "", "B->yC", "A->D"});
  click(form->BitBtn2);
  QCOMPARE(form->ListBox3->count(), 2);
  QCOMPARE(form->ListBox3->item(1)->text(), QString("Error at line 2: Terminal 'C' not exist."));
  QTest::mouseClick(form->ListBox3->viewport(), Qt::LeftButton, {},
                    form->ListBox3->visualItemRect(form->ListBox3->item(1)).center());
  QCOMPARE(form->Memo1->textCursor().selectedText(), QString("B->yC"));
  QVERIFY(form->Memo1->hasFocus());
  form->showErrorPlace(0);
  QCOMPARE(form->Memo1->textCursor().selectedText(), QString("A->D"));
}

void WindowTest::keysDoWhatTheirControlsPromise() {
  auto form = openMainWindow();
  // Enter presses a focused button.
  form->BitBtn2->setFocus();
  QTest::keyClick(form->BitBtn2, Qt::Key_Return);
  waitForRunner(form.get());
  QCOMPARE(form->Label2->text(), QString("First:"));
  // Enter in the word field parses it with the evaluation used last.
  click(form->BitBtn6);
  form->Edit1->setText("i+i");
  form->Edit1->setFocus();
  QTest::keyClick(form->Edit1, Qt::Key_Return);
  waitForRunner(form.get());
  QCOMPARE(form->StringGrid1->cells(2, 1), QString("i+i$"));
  QCOMPARE(form->StringGrid1->cells(1, 1), QString("0"));  // an LR stack: SLR, not LL(1)
  // A shortcut of the menu bar from anywhere in the window.
  QTest::keyClick(form.get(), Qt::Key_F4);
  waitForRunner(form.get());
  QCOMPARE(form->StringGrid1->defaultColWidth(), 100);
}

void WindowTest::theMenusCarryEveryCommandWithItsShortcut() {
  auto form = openMainWindow();
  QStringList menus;
  for (QAction* menu : form->menuBar()->actions())
    if (menu->isVisible()) menus << menu->text().remove('&');
  QCOMPARE(menus, QStringList({"File", "Edit", "View", "Analyze", "Transform", "Practice", "Help"}));
  // No two commands answer one key.
  QMap<QString, QString> owners;
  for (QAction* action : form->menus()->actions())
    for (const QKeySequence& key : action->shortcuts()) {
      QString name = key.toString();
      QVERIFY2(!owners.contains(name), qPrintable(name + ": " + owners[name] + " and " + action->text()));
      owners[name] = action->text();
    }
  for (QAbstractButton* button : form->Client->findChildren<QAbstractButton*>(QRegularExpression("^BitBtn"))) {
    QAction* action = form->menus()->find(button->text());
    QVERIFY2(action != nullptr && !action->shortcut().isEmpty(), qPrintable(button->text()));
    QVERIFY2(button->toolTip().contains(action->shortcut().toString(QKeySequence::NativeText)), qPrintable(button->toolTip()));
  }
  // The keys the guide names for the windows of their own reach their entries.
  const QMap<QString, QString> documented{
      {"Ctrl+G", "Grammar Report..."}, {"F8", "Explain Conflicts/LL(1) Table"},
      {"Ctrl+Shift+F8", "Explain Conflicts/LALR Table"}, {"F9", "Automaton Diagram/LR(0) Automaton"},
      {"Ctrl+F9", "Automaton Diagram/LALR Automaton"}, {"F11", "Step Through a Parse/LL(1)"},
      {"Ctrl+Shift+F11", "Step Through a Parse/LALR"}, {"Ctrl+1", "First Sets..."}, {"Ctrl+8", "Items of an LR(1) State..."}};
  for (auto [key, entry] : documented.asKeyValueRange()) {
    QAction* action = nullptr;
    for (QAction* candidate : form->menus()->actions())
      if (candidate->shortcuts().contains(QKeySequence(key))) action = candidate;
    QVERIFY2(action != nullptr, qPrintable(key));
    QString path = action->text().remove('&');
    for (QObject* holder : action->associatedObjects())
      if (auto* menu = qobject_cast<QMenu*>(holder); menu != nullptr && !form->menuBar()->actions().contains(menu->menuAction()))
        path = menu->title().remove('&') + "/" + path;
    QCOMPARE(path, entry);
  }
  // A feature's entry lands in its group and shows its menu.
  bool ran = false;
  QAction* added = form->menus()->add({MenuName::kPractice, "drill", "Drill", QKeySequence("Ctrl+D"), "A drill.", [&] { ran = true; }});
  QTest::keyClick(form.get(), Qt::Key_D, Qt::ControlModifier);
  QVERIFY(ran);
  QCOMPARE(MainMenu::tooltipOf(added), QString("Drill (Ctrl+D)\nA drill."));
}

void WindowTest::theFormGrowsWithTheWindowAndZooms() {
  auto form = openMainWindow();
  const QRect grid = form->StringGrid1->geometry(), exit = form->BitBtn14->geometry();
  form->resize(form->size() + QSize(300, 200));
  QTRY_COMPARE(form->Client->size(), TForm1::kDesignSize + QSize(300, 200));
  QCOMPARE(form->BitBtn14->geometry(), exit.translated(300, 0));
  QCOMPARE(form->StringGrid1->geometry(), grid.adjusted(0, 80, 300, 200));
  QCOMPARE(form->ListBox3->geometry(), form->StringGrid1->geometry());
  QVERIFY(form->Memo3->geometry().right() < form->BitBtn2->geometry().left());
  // A 1366 x 768 screen holds the window with its frame and a task bar.
  QVERIFY(form->minimumSizeHint().height() + kFrameAllowance.height() <= 768 - 48);
  form->resize(form->size() - QSize(300, 200));
  QTRY_COMPARE(form->StringGrid1->geometry(), grid);

  // Ctrl+wheel over any pane zooms all of them and the grid.
  click(form->BitBtn4);
  wheel(form->Memo3->viewport(), 2, Qt::ControlModifier);
  QCOMPARE(form->zoom()->level(), 2);
  QCOMPARE(QFontInfo(form->Memo1->font()).pixelSize(), 20);
  QCOMPARE(form->StringGrid1->columnWidth(1), 125);
  QCOMPARE(form->StringGrid1->defaultColWidth(), 100);
  QTest::keyClick(form.get(), Qt::Key_0, Qt::ControlModifier);
  QCOMPARE(QFontInfo(form->StringGrid1->font()).pixelSize(), 16);
  QCOMPARE(form->StringGrid1->columnWidth(1), 100);
}

QTEST_MAIN(WindowTest)
#include "window_test.moc"
