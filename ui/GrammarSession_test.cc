// The window's grammar state: what a reading of the editor leaves, in
// either notation, apart from any widget.
#include <QTest>

#include "GrammarSession.h"
#include "writers/format.h"

class GrammarSessionTest : public QObject {
  Q_OBJECT

 private slots:
  void aGrammarWithErrorsIsNotSoundAndKeepsTheGrammarBefore();
  void theTokenNotationIsReadWhenTheFirstLineDeclaresIt();
  void tokenMessagesPointAtTheirLines();
};

void GrammarSessionTest::aGrammarWithErrorsIsNotSoundAndKeepsTheGrammarBefore() {
  GrammarSession session;
  QVERIFY(!session.isSound());
  session.read("S->aSb\nS->e\n");
  QVERIFY(session.isSound());
  QCOMPARE(linesOf(session.listing()), (Lines{"S->aSb", "S->e"}));
  QCOMPARE(session.ruleTexts(), (std::vector<std::string>{"S->aSb|e"}));

  session.read("S->aSb\nx\n");
  QVERIFY(!session.isSound());
  QVERIFY(session.messages().getCount() > 0);
  // The commands refuse until it is fixed; what was read sound stays.
  QCOMPARE(session.ruleTexts(), (std::vector<std::string>{"S->aSb|e"}));
  // The message is about the second line, "x".
  QCOMPARE(session.lineOfMessage(0), std::optional<int>(1));

  session.read("S->aSb|ab\n");
  QVERIFY(session.isSound());
  QCOMPARE(session.messages().getCount(), 0);
  QCOMPARE(session.notation(), Notation::kClassic);
}

void GrammarSessionTest::theTokenNotationIsReadWhenTheFirstLineDeclaresIt() {
  GrammarSession session;
  session.read("#word: id + id\n#notation: tokens\nE -> E + T | T\n  | ( E )\nT -> id\n");
  QVERIFY(session.isSound());
  QCOMPARE(session.notation(), Notation::kTokens);
  QCOMPARE(linesOf(session.listing()), (Lines{"E' -> E", "E -> E + T", "E -> T", "E -> ( E )", "T -> id"}));
  // No classic rule lines: a worker could not load it as one.
  QVERIFY(session.ruleTexts().empty());
  QCOMPARE(session.model().typed.productions.size(), size_t{5});

  // Only the first line declares it.
  session.read("S->a\n#notation: tokens\n");
  QCOMPARE(session.notation(), Notation::kClassic);
}

void GrammarSessionTest::tokenMessagesPointAtTheirLines() {
  GrammarSession session;
  session.read("#notation: tokens\nE -> E + T\n| $\n");
  QVERIFY(!session.isSound());
  QCOMPARE(session.notation(), Notation::kTokens);
  QVERIFY(session.messages().getCount() > 0);
  QCOMPARE(session.lineOfMessage(0), std::optional<int>(2));
  QCOMPARE(session.lineOfMessage(99), std::nullopt);

  session.read("#notation: tokens\n");
  QVERIFY(!session.isSound());
  QVERIFY(QString::fromStdString(std::string(session.messages()[0].view())).contains("no rule"));
}

QTEST_MAIN(GrammarSessionTest)
#include "GrammarSession_test.moc"
