// The Transform menu: the steps shown before anything changes, Apply as one
// step of the editor's history, and a grammar that cannot be rewritten
// answered in words.
#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>

#include "Forms.h"
#include "MainMenu.h"
#include "PracticeWindow.h"
#include "TransformWindow.h"
#include "test_support.h"

namespace {

TransformWindow* openTransformWindow() {
  for (QWidget* form : adoptedForms())
    if (auto* window = qobject_cast<TransformWindow*>(form)) return window;
  return nullptr;
}

}  // namespace

class TransformTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { isolateSettings(); }
  void cleanup() { releaseForms(); }
  void theStepsShowBeforeAnythingChanges();
  void applyIsOneStepThatUndoTakesBack();
  void anEmptyLanguageIsAnsweredInWords();
  void helpAndPracticeReachTheTransformations();
  void aTokenGrammarIsRewrittenInItsNotation();
};

void TransformTest::theStepsShowBeforeAnythingChanges() {
  auto form = openMainWindow();
  typeGrammar(*form, {"I->E", "E->E+T|T", "T->i"});
  form->menus()->find("Remove Left Recursion...")->trigger();
  QTRY_VERIFY_WITH_TIMEOUT(openTransformWindow() != nullptr, 10000);
  TransformWindow* window = openTransformWindow();
  QCOMPARE(window->steps()->count(), 3);  // the grammar, one step, the result
  QVERIFY(window->shownText().contains("E->TZ"));
  window->steps()->setCurrentRow(1);
  QVERIFY(window->shownText().startsWith("E->E+T|T: "));
  QCOMPARE(form->Memo1->toPlainText(), QString("I->E\nE->E+T|T\nT->i"));
}

void TransformTest::applyIsOneStepThatUndoTakesBack() {
  auto form = openMainWindow();
  typeGrammar(*form, {"I->S", "S->aSb|ab|ac"});
  form->menus()->find("Left-Factor...")->trigger();
  QTRY_VERIFY_WITH_TIMEOUT(openTransformWindow() != nullptr, 10000);
  openTransformWindow()->apply();
  QCOMPARE(form->Memo1->toPlainText(), QString("I->S\nS->aZ\nZ->Sb|b|c"));
  form->Memo1->undo();
  QCOMPARE(form->Memo1->toPlainText(), QString("I->S\nS->aSb|ab|ac"));
}

void TransformTest::anEmptyLanguageIsAnsweredInWords() {
  auto form = openMainWindow();
  typeGrammar(*form, {"S->aS"});
  ModalAnswerer answerer;
  form->menus()->find("Remove Useless Symbols...")->trigger();
  QTRY_VERIFY_WITH_TIMEOUT(!answerer.seen.isEmpty(), 10000);
  QVERIFY(answerer.seen.front().texts.join(" ").contains("derives no word"));
  QVERIFY(openTransformWindow() == nullptr);
}

void TransformTest::helpAndPracticeReachTheTransformations() {
  auto form = openMainWindow();
  {
    ModalAnswerer answerer;
    form->menus()->find("Transformations")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(!answerer.seen.isEmpty(), 10000);
    QVERIFY(answerer.seen.front().texts.join(" ").contains("S->aSb|e  becomes  Z->S|e, S->aSb|ab"));
  }
  typeGrammar(*form, {"I->E", "E->E+T|T", "T->i"});
  form->menus()->find("Transform the Grammar...")->trigger();
  auto* practice = form->findChild<PracticeWindow*>();
  QVERIFY(practice != nullptr);
  QCOMPARE(practice->question(), PracticeWindow::Question::kTransform);
  QCOMPARE(practice->transformEditor->toPlainText(), QString("I->E\nE->E+T|T\nT->i"));

  // From the steps of a transformation, the same one to do by hand.
  form->menus()->find("Left-Factor...")->trigger();
  QTRY_VERIFY_WITH_TIMEOUT(openTransformWindow() != nullptr, 10000);
  QTest::mouseClick(openTransformWindow()->findChild<QAbstractButton*>("practiceButton"), Qt::LeftButton);
  QCOMPARE(practice->question(), PracticeWindow::Question::kTransform);
  QCOMPARE(practice->transformBox->currentText(), QString("Left-factor"));
}

// Transform reads the token notation (its registry record says so): the
// window rewrites such a grammar instead of refusing it, and writes it back
// in its notation.
void TransformTest::aTokenGrammarIsRewrittenInItsNotation() {
  auto form = openMainWindow();
  typeGrammar(*form, {"#notation: tokens", "E -> E + T | T", "T -> id"});
  form->menus()->find("Remove Left Recursion...")->trigger();
  QTRY_VERIFY_WITH_TIMEOUT(openTransformWindow() != nullptr, 10000);
  openTransformWindow()->apply();
  QCOMPARE(form->Memo1->toPlainText(),
           QString::fromUtf8("#notation: tokens\nE -> T E'\nE' -> + T E' | \xCE\xB5\nT -> id"));
}

QTEST_MAIN(TransformTest)
#include "transform_test.moc"
