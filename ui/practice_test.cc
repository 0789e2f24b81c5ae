// The practice window driven as a student uses it, on the offscreen platform.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>

#include "PracticeWindow.h"
#include "test_support.h"

namespace {

std::vector<std::string> parentheses{"I->S", "S->(S)|x"};
// The main window hands a token grammar over as its text's lines.
std::vector<std::string> tokenSums{"#notation: tokens", "E -> E + T | T", "T -> id | ( E )"};

QString cell(QTableWidget* grid, int row, const QString& column) {
  for (int j = 0; j < grid->columnCount(); ++j)
    if (grid->horizontalHeaderItem(j)->text() == column) return grid->item(row, j)->text();
  return "(no column)";
}

void type(QTableWidget* grid, int row, const QString& column, const QString& text) {
  for (int j = 0; j < grid->columnCount(); ++j)
    if (grid->horizontalHeaderItem(j)->text() == column) grid->item(row, j)->setText(text);
}

QColor background(QTableWidget* grid, int row, const QString& column) {
  for (int j = 0; j < grid->columnCount(); ++j)
    if (grid->horizontalHeaderItem(j)->text() == column) return grid->item(row, j)->background().color();
  return {};
}

QString tip(QTableWidget* grid, int row, const QString& column) {
  for (int j = 0; j < grid->columnCount(); ++j)
    if (grid->horizontalHeaderItem(j)->text() == column) return grid->item(row, j)->toolTip();
  return {};
}

// Types lines as a user does, Return between them.
void typeLines(QWidget* widget, const QStringList& lines) {
  for (int i = 0; i < lines.size(); ++i) {
    if (i > 0) QTest::keyClick(widget, Qt::Key_Return);
    QTest::keyClicks(widget, lines[i]);
  }
}

}  // namespace

class PracticeTest : public QObject {
  Q_OBJECT

 private:
  std::optional<std::vector<std::string>> grammar_ = parentheses;
  std::unique_ptr<QWidget> owner_;
  PracticeWindow* window_ = nullptr;

 private slots:
  void init() {
    grammar_ = parentheses;
    owner_ = std::make_unique<QWidget>();
    window_ = PracticeWindow::open(owner_.get(), [this] { return grammar_; });
  }
  void cleanup() { owner_.reset(); }

  void opensOnceOnTheCurrentGrammar() {
    QVERIFY(window_->isVisible());
    QCOMPARE(window_->grammarPane->toPlainText(), QString("0  I->S\n1  S->(S)\n2  S->x"));
    QCOMPARE(PracticeWindow::open(owner_.get(), [this] { return grammar_; }), window_);
  }

  void setsAreMarkedAndTheTextStays() {
    window_->showQuestion(PracticeWindow::Question::kFirst);
    QCOMPARE(window_->setsEditor->toPlainText(), QString("First(I): \nFirst(S): "));
    window_->setsEditor->clear();
    typeLines(window_->setsEditor, {"First(I): (x", "First(S): (y"});
    QTest::mouseClick(window_->checkButton, Qt::LeftButton);
    QString typed = window_->setsEditor->toPlainText();
    QCOMPARE(typed, QString("First(I): (x\nFirst(S): (y"));
    QCOMPARE(window_->scoreLabel->text(), QString("Score: 3 of 5 right (60%); 1 wrong, 1 missing."));
    QCOMPARE(window_->marksList->topLevelItemCount(), 5);
    QTest::mouseClick(window_->revealAllButton, Qt::LeftButton);
    QVERIFY(window_->grading().allRight());
    QVERIFY(window_->scoreLabel->text().contains("1 of the right ones revealed"));
  }

  void aTableWithMistakesIsMarkedCellByCell() {
    window_->showQuestion(PracticeWindow::Question::kSLR);
    QTableWidget* grid = window_->grid;
    QCOMPARE(grid->rowCount(), 6);
    QCOMPARE(grid->columnCount(), 6);
    QCOMPARE(grid->verticalHeaderItem(5)->text(), QString("5"));
    type(grid, 0, "(", "s2");
    type(grid, 0, "x", "s4");  // a mistake: s3
    type(grid, 1, "$", "acc");
    QTest::mouseClick(window_->checkButton, Qt::LeftButton);
    QCOMPARE(cell(grid, 0, "x"), QString("s4"));
    QCOMPARE(background(grid, 0, "("), QColor(0xC8, 0xF0, 0xC8));
    QCOMPARE(background(grid, 0, "x"), QColor(0xF8, 0xC0, 0xC0));
    QVERIFY(grid->item(0, 2)->toolTip().contains("The goto of state 0 on x is state 3, not 4."));
    QTest::mouseClick(window_->revealOneButton, Qt::LeftButton);
    QCOMPARE(cell(grid, 0, "x"), QString("s4|s3"));  // the missing s3 came first
    QTest::mouseClick(window_->revealOneButton, Qt::LeftButton);
    QCOMPARE(cell(grid, 0, "x"), QString("s3"));
    QTest::mouseClick(window_->revealAllButton, Qt::LeftButton);
    QVERIFY(window_->grading().allRight());
    QCOMPARE(cell(grid, 3, ")"), QString("r2"));
  }

  void theMarksListTitlesFollowTheQuestion() {
    window_->showQuestion(PracticeWindow::Question::kSLR);
    QTest::mouseClick(window_->checkButton, Qt::LeftButton);
    QTreeWidget* marks = window_->marksList;
    QVERIFY(!marks->isHeaderHidden());
    const QString tableTitle = marks->headerItem()->text(0);
    window_->showQuestion(PracticeWindow::Question::kFirst);
    QVERIFY(marks->isHeaderHidden());
    QTest::mouseClick(window_->checkButton, Qt::LeftButton);
    QVERIFY(!marks->isHeaderHidden());
    QVERIFY(marks->headerItem()->text(0) != tableTitle);
    QCOMPARE(marks->headerItem()->text(0), QString::fromStdString(window_->grading().rowTitle));
  }

  void revealOneShowsTheCellItFilled() {
    grammar_ = exampleRuleLines(2);
    QVERIFY(window_->takeGrammar());
    window_->showQuestion(PracticeWindow::Question::kLR1);
    QTableWidget* grid = window_->grid;
    QTest::mouseClick(window_->revealAllButton, Qt::LeftButton);
    const int last = grid->rowCount() - 1;
    int column = 0;
    while (grid->item(last, column)->text().isEmpty()) ++column;
    const QString key = grid->item(last, column)->text();
    grid->item(last, column)->setText(QString());
    grid->scrollToTop();
    QVERIFY(!grid->viewport()->rect().intersects(grid->visualItemRect(grid->item(last, column))));
    QTest::mouseClick(window_->checkButton, Qt::LeftButton);
    QTest::mouseClick(window_->revealOneButton, Qt::LeftButton);
    QCOMPARE(grid->item(last, column)->text(), key);
    QVERIFY(grid->viewport()->rect().contains(grid->visualItemRect(grid->item(last, column))));
  }

  void nothingTypedIsLostWhenTheGrammarChanges() {
    window_->showQuestion(PracticeWindow::Question::kSLR);
    type(window_->grid, 0, "(", "s2");
    type(window_->grid, 0, "x", "s3");
    grammar_ = std::vector<std::string>{"I->S", "S->(S)|y"};
    QVERIFY(window_->takeGrammar());
    QCOMPARE(cell(window_->grid, 0, "("), QString("s2"));
    QCOMPARE(cell(window_->grid, 0, "x"), QString("(no column)"));
    window_->showQuestion(PracticeWindow::Question::kFirst);
    window_->showQuestion(PracticeWindow::Question::kSLR);
    grammar_ = parentheses;
    QVERIFY(window_->takeGrammar());
    QCOMPARE(cell(window_->grid, 0, "x"), QString("s3"));
  }

  void aGrammarWithErrorsKeepsTheLastOne() {
    grammar_ = std::nullopt;
    QVERIFY(!window_->takeGrammar());
    QVERIFY(!window_->notice->isHidden());
    QCOMPARE(window_->grammarPane->toPlainText(), QString("0  I->S\n1  S->(S)\n2  S->x"));
  }

  void itemsOfAStateGivenByItsOrigin() {
    window_->showQuestion(PracticeWindow::Question::kLR1Items);
    QCOMPARE(window_->stateBox->itemText(2), QString("State 2: the goto of state 0 on ("));
    window_->selectState(2);
    typeLines(window_->itemsEditor, {"S->(.S), $", "S->.(S), )"});
    QTest::mouseClick(window_->checkButton, Qt::LeftButton);
    QCOMPARE(window_->grading().count(Mark::kMissing), 1);
    window_->selectState(0);
    QCOMPARE(window_->itemsEditor->toPlainText(), QString());
    window_->selectState(2);
    QCOMPARE(window_->itemsEditor->toPlainText(), QString("S->(.S), $\nS->.(S), )"));
    QTest::mouseClick(window_->revealOneButton, Qt::LeftButton);
    QVERIFY(window_->grading().allRight());
  }

  // A token grammar: the added start rule E' -> E is numbered but not asked
  // for, symbols stand apart by blanks, and the reasons name tokens.
  void aTokenGrammarIsPractisedInItsNotation() {
    grammar_ = tokenSums;
    QVERIFY(window_->takeGrammar());
    QCOMPARE(window_->grammarPane->toPlainText(),
             QString("0  E' -> E\n1  E -> E + T\n2  E -> T\n3  T -> id\n4  T -> ( E )"));
    window_->showQuestion(PracticeWindow::Question::kFollow);
    QCOMPARE(window_->setsEditor->toPlainText(), QString("Follow(E): \nFollow(T): "));
    window_->setsEditor->clear();
    typeLines(window_->setsEditor, {"Follow(E) = { $, +, ) }", "Follow(T): $ + ( )"});
    QTest::mouseClick(window_->checkButton, Qt::LeftButton);
    QCOMPARE(window_->scoreLabel->text(), QString("Score: 6 of 7 right (85%); 1 wrong, 0 missing."));
    QCOMPARE(window_->marksList->topLevelItemCount(), 7);
    QTest::mouseClick(window_->revealOneButton, Qt::LeftButton);
    QCOMPARE(window_->setsEditor->toPlainText(), QString("Follow(E) = { $, +, ) }\nFollow(T): $ + )"));

    window_->showQuestion(PracticeWindow::Question::kSLR);
    QTableWidget* grid = window_->grid;
    QCOMPARE(cell(grid, 0, "id"), QString());
    type(grid, 0, "id", "s3");
    type(grid, 0, "(", "s5");  // a mistake: s4
    QTest::mouseClick(window_->checkButton, Qt::LeftButton);
    QVERIFY(tip(grid, 0, "(").contains("The goto of state 0 on ( is state 4, not 5."));
    QCOMPARE(background(grid, 0, "id"), QColor(0xC8, 0xF0, 0xC8));
    QCOMPARE(background(grid, 0, "("), QColor(0xF8, 0xC0, 0xC0));
    QTest::mouseClick(window_->revealAllButton, Qt::LeftButton);
    QVERIFY(window_->grading().allRight());
    QCOMPARE(cell(grid, 1, "$"), QString("a"));

    window_->showQuestion(PracticeWindow::Question::kLR1Items);
    window_->selectState(0);
    typeLines(window_->itemsEditor, {"E' -> . E, $", "E -> . E + T, $ +", "T -> . id, $"});
    QTest::mouseClick(window_->checkButton, Qt::LeftButton);
    QCOMPARE(window_->grading().count(Mark::kWrong), 0);
    QCOMPARE(window_->grading().count(Mark::kMissing), 5);
    QTest::mouseClick(window_->revealAllButton, Qt::LeftButton);
    QVERIFY(window_->grading().allRight());
    QVERIFY(window_->itemsEditor->toPlainText().endsWith(QString::fromUtf8("T -> \xC2\xB0 ( E ), $ +")));
  }

  // The main window's slot opens the practice on the grammar in its editor.
  void theMainWindowOpensItOnItsGrammar() {
    std::unique_ptr<TForm1> form = openMainWindow();
    typeGrammar(*form, {"I->A", "A->aA|b"});
    form->openPractice(static_cast<int>(PracticeWindow::Question::kLR1));
    auto* practice = form->findChild<PracticeWindow*>();
    QVERIFY(practice != nullptr);
    QCOMPARE(practice->question(), PracticeWindow::Question::kLR1);
    QCOMPARE(practice->grammarPane->toPlainText(), QString("0  I->A\n1  A->aA\n2  A->b"));
    typeGrammar(*form, {"I->A", "A->aAQ|b"});  // Q has no rule
    QVERIFY(!practice->takeGrammar());
    QCOMPARE(practice->grammarPane->toPlainText(), QString("0  I->A\n1  A->aA\n2  A->b"));
    // A token grammar is taken as written; the transform question rewrites it in its notation.
    typeGrammar(*form, {"#notation: tokens", "A -> A x | y"});
    QVERIFY(practice->takeGrammar());
    QCOMPARE(practice->grammarPane->toPlainText(), QString("0  A' -> A\n1  A -> A x\n2  A -> y"));
    practice->showQuestion(PracticeWindow::Question::kTransform);
    practice->selectTransform(TransformKind::kLeftRecursion);
    QCOMPARE(practice->transformEditor->toPlainText(), QString("#notation: tokens\nA -> A x | y"));
    QTest::mouseClick(practice->revealAllButton, Qt::LeftButton);
    QVERIFY(practice->grading().allRight());
  }
};

QTEST_MAIN(PracticeTest)
#include "practice_test.moc"
