// The transform question of the practice window, driven as a student uses it.
#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <QTreeWidget>

#include "PracticeWindow.h"
#include "test_support.h"

namespace {

std::vector<std::string> expressions{"I->E", "E->E+T|T", "T->i"};

QString why(QTreeWidget* marks, const QString& requirement) {
  for (int i = 0; i < marks->topLevelItemCount(); ++i) {
    QTreeWidgetItem* line = marks->topLevelItem(i);
    if (line->text(0) == requirement) return line->text(1) + ": " + line->text(2);
  }
  return "(no mark for " + requirement + ")";
}

}  // namespace

class TransformPracticeTest : public QObject {
  Q_OBJECT

 private:
  std::optional<std::vector<std::string>> grammar_ = expressions;
  std::unique_ptr<QWidget> owner_;
  PracticeWindow* window_ = nullptr;

 private slots:
  void init() {
    grammar_ = expressions;
    owner_ = std::make_unique<QWidget>();
    window_ = PracticeWindow::open(owner_.get(), [this] { return grammar_; }, PracticeWindow::Question::kTransform);
    window_->selectTransform(TransformKind::kLeftRecursion);
  }
  void cleanup() { owner_.reset(); }

  void theAnswerStartsAsTheGrammarAndIsGradedWithReasons() {
    QVERIFY(window_->transformBox->isVisible());
    QVERIFY(window_->transformEditor->isVisible());
    QVERIFY(!window_->stateBox->isVisible());
    QCOMPARE(window_->transformEditor->toPlainText(), QString("I->E\nE->E+T|T\nT->i"));
    QTest::mouseClick(window_->checkButton, Qt::LeftButton);
    QCOMPARE(why(window_->marksList, "no left recursion"), QString("wrong: Your grammar is still left-recursive."));
    QCOMPARE(window_->scoreLabel->text(), QString("Score: 2 of 3 right (66%); 1 wrong, 0 missing."));

    window_->transformEditor->setPlainText("I->E\nE->TZ\nZ->+TZ\nT->i");
    QTest::mouseClick(window_->checkButton, Qt::LeftButton);
    QCOMPARE(why(window_->marksList, "derives the same words"),
             QString("wrong: Your grammar does not derive \"i\", which the given grammar does."));

    window_->transformEditor->setPlainText("I->E\nE->TZ\nZ->+TZ|e\nT->i");
    QTest::mouseClick(window_->checkButton, Qt::LeftButton);
    QVERIFY(window_->grading().allRight());
  }

  void revealPutsTheProgramsRewriteInPlace() {
    QTest::mouseClick(window_->revealAllButton, Qt::LeftButton);
    QCOMPARE(window_->transformEditor->toPlainText(), QString("I->E\nE->TZ\nZ->+TZ|e\nT->i"));
    QVERIFY(window_->grading().allRight());
    window_->selectTransform(TransformKind::kChomsky);
    QTest::mouseClick(window_->revealOneButton, Qt::LeftButton);
    QVERIFY(window_->grading().allRight());
  }

  void anUnreadableAnswerIsSaidSo() {
    window_->transformEditor->setPlainText("I->E\nE->");
    QTest::mouseClick(window_->checkButton, Qt::LeftButton);
    QVERIFY(window_->scoreLabel->text().startsWith("Your grammar cannot be read: "));
    QCOMPARE(window_->marksList->topLevelItemCount(), 0);
  }

  void whatWasTypedStaysPerKindAndQuestion() {
    window_->transformEditor->setPlainText("I->E\nE->TZ");
    window_->selectTransform(TransformKind::kUnit);
    QCOMPARE(window_->transformEditor->toPlainText(), QString("I->E\nE->E+T|T\nT->i"));
    window_->showQuestion(PracticeWindow::Question::kFirst);
    window_->showQuestion(PracticeWindow::Question::kTransform);
    window_->selectTransform(TransformKind::kLeftRecursion);
    QCOMPARE(window_->transformEditor->toPlainText(), QString("I->E\nE->TZ"));
  }
};

QTEST_MAIN(TransformPracticeTest)
#include "transform_practice_test.moc"
