#include "grammar/reading.h"

#include <gtest/gtest.h>

#include "grammar/test_support.h"

namespace {

using Lines = std::vector<std::string>;

Lines messagesFor(const char* text) { return strings(readGrammar(editorText(text)).messages); }

Lines linesFor(const char* text) { return strings(readGrammar(editorText(text)).lines); }

TEST(ReadingTest, BlanksEmptyLinesAndLineEndsVanish) {
  EXPECT_EQ(linesFor("E -> T G\n\n  \r\nT->x\r\n\r\n"), (Lines{"E->TG", "T->x"}));
  EXPECT_EQ(linesFor("A->x\rB->y"), (Lines{"A->x", "B->y"}));
}

TEST(ReadingTest, LinesWithOneLeftSideAreMerged) {
  EXPECT_EQ(linesFor("A->x\nB->y\nA->z|w"), (Lines{"A->x|z|w", "B->y"}));
  EXPECT_EQ(messagesFor("A->x\nB->y\nA->z|C"), (Lines{"Error at line 1: Terminal 'C' not exist."}));
}

TEST(ReadingTest, EmptyGrammar) {
  EXPECT_EQ(messagesFor(""), (Lines{"Error: Grammar Empty."}));
  EXPECT_EQ(messagesFor("  \n \n"), (Lines{"Error: Grammar Empty."}));
}

TEST(ReadingTest, ShortLineEndsTheValidation) {
  EXPECT_EQ(messagesFor("A->"), (Lines{"Error at line 1"}));
  EXPECT_EQ(messagesFor("A->x\nBx"), (Lines{"Error at line 2"}));
  EXPECT_EQ(messagesFor("a->x\nB\nC->|"), (Lines{"Error at line 1: Symbol 'a' must be non terminal.", "Error at line 2"}));
}

TEST(ReadingTest, ShapeMessages) {
  EXPECT_EQ(messagesFor("a->b"), (Lines{"Error at line 1: Symbol 'a' must be non terminal."}));
  EXPECT_EQ(messagesFor("A=>b"), (Lines{"Error at line 1: Symbol '=' bad."}));
  EXPECT_EQ(messagesFor("A--b"), (Lines{"Error at line 1: Symbol '-' bad."}));
  EXPECT_EQ(messagesFor("A->|b"), (Lines{"Error at line 1: Symbol '|' bad"}));
  EXPECT_EQ(messagesFor("1=-|"), (Lines{"Error at line 1: Symbol '1' must be non terminal.",
                                        "Error at line 1: Symbol '=' bad.", "Error at line 1: Symbol '-' bad.",
                                        "Error at line 1: Symbol '|' bad",
                                        "Error at line 1: The last character '|' is bad'"}));
}

TEST(ReadingTest, RightSideMessages) {
  EXPECT_EQ(messagesFor("A->xB"), (Lines{"Error at line 1: Terminal 'B' not exist."}));
  EXPECT_EQ(messagesFor("A->x|"), (Lines{"Error at line 1: The last character '|' is bad'"}));
  EXPECT_EQ(messagesFor("A->x||y"), (Lines{"Error at line 1: || incorrect'"}));
  EXPECT_EQ(messagesFor("A->x|||y"), (Lines{"Error at line 1: || incorrect'", "Error at line 1: || incorrect'"}));
  EXPECT_EQ(messagesFor("A->BxBB"), (Lines(3, "Error at line 1: Terminal 'B' not exist.")));
}

TEST(ReadingTest, PassOneMessagesOfAllLinesComeFirst) {
  EXPECT_EQ(messagesFor("A->xQ\nb->y|\nC=>z"),
            (Lines{"Error at line 2: Symbol 'b' must be non terminal.", "Error at line 3: Symbol '=' bad.",
                   "Error at line 1: Terminal 'Q' not exist.", "Error at line 2: The last character '|' is bad'"}));
}

TEST(ReadingTest, DigitsAreTerminals) { EXPECT_EQ(messagesFor("S->0|1|S2"), Lines{}); }

// A line that is not of the form X->... is never merged: it stays in
// place and is reported with its own number.
TEST(ReadingTest, MalformedLinesStayInPlace) {
  EXPECT_EQ(linesFor("A->x\nA"), (Lines{"A->x", "A"}));
  EXPECT_EQ(messagesFor("A->x\nA"), (Lines{"Error at line 2"}));
  EXPECT_EQ(messagesFor("A->x\nA=>y"), (Lines{"Error at line 2: Symbol '=' bad."}));
  EXPECT_EQ(linesFor("A\nA->x\nA->y"), (Lines{"A", "A->x|y"}));
}

// Thousands of lines of a few left sides: each merges into the first line
// of its left side in the order typed, around the lines that stay.
TEST(ReadingTest, ManyLinesOfOneLeftSideKeepTheirOrder) {
  std::string text, expectedA = "A->", expectedB = "B->";
  for (int k = 0; k < 3000; ++k) {
    std::string body = "x" + std::to_string(k);
    text += (k % 3 == 0 ? "B->" : "A->") + body + "\n";
    std::string& expected = k % 3 == 0 ? expectedB : expectedA;
    expected += (expected.size() > 3 ? "|" : "") + body;
    if (k == 1500) text += "C\n";
  }
  EXPECT_EQ(linesFor(text.c_str()), (Lines{expectedB, expectedA, "C"}));
  EXPECT_EQ(messagesFor(text.c_str()), (Lines{"Error at line 3"}));
  EXPECT_EQ(messagesFor("A->ex|e\nA->e|xe"),
            (Lines{"Error at line 1: Symbol 'e' must stand alone.", "Error at line 1: Symbol 'e' must stand alone."}));
}

TEST(ReadingTest, LongLinesAreReadWhole) {
  std::string text = "A->" + std::string(400, 'x') + "|" + std::string(300, 'y');
  GrammarReading reading = readGrammar(editorText(text));
  ASSERT_TRUE(reading.isSound());
  EXPECT_EQ(reading.lines[0].getLength(), 704);
}

TEST(ReadingTest, UnsupportedCharactersAreNamed) {
  EXPECT_EQ(messagesFor("A->x\nB->\xC3\xA9"), (Lines{"Error at line 2: Symbol '\xC3\xA9' not supported."}));
  EXPECT_EQ(messagesFor("A->x\nB->a\tb"), (Lines{"Error at line 2: Character code 9 not supported."}));
  EXPECT_EQ(messagesFor("A->\xE2\x82\xAC"), (Lines{"Error at line 1: Symbol '\xE2\x82\xAC' not supported."}));
  EXPECT_EQ(messagesFor("A->\xFFx"), (Lines{"Error at line 1: Character code 255 not supported."}));
  EXPECT_EQ(messagesFor("\x01->x"), (Lines{"Error at line 1: Character code 1 not supported."}));
  EXPECT_EQ(messagesFor("A-\xC3\xA9x"), (Lines{"Error at line 1: Symbol '\xC3\xA9' not supported."}));
  std::string withNul("A->a\0b", 6);
  EXPECT_EQ(strings(readGrammar(editorText(withNul)).messages),
            (Lines{"Error at line 1: Character code 0 not supported."}));
}

TEST(ReadingTest, EmptyStringStandsAlone) {
  EXPECT_EQ(messagesFor("S->xe"), (Lines{"Error at line 1: Symbol 'e' must stand alone."}));
  EXPECT_EQ(messagesFor("S->ea|b"), (Lines{"Error at line 1: Symbol 'e' must stand alone."}));
  EXPECT_EQ(messagesFor("S->a|e|b"), Lines{});
  EXPECT_EQ(messagesFor("S->e"), Lines{});
}

TEST(ReadingTest, EndMarkerIsReserved) {
  EXPECT_EQ(messagesFor("S->a$"), (Lines{"Error at line 1: Symbol '$' is reserved for the end of input."}));
}

TEST(ReadingTest, EditorTextJoinsLinesWithCrLf) {
  EXPECT_EQ(std::string(editorText("a\nb\r\nc").view()), "a\r\nb\r\nc");
}

}  // namespace
