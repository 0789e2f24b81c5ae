#include "grammar/grammar_file.h"

#include <gtest/gtest.h>

#include "grammar/text_reading.h"

namespace {

TEST(GrammarFileTest, TheWordLineIsTakenOut) {
  GrammarFile file = parseGrammarFile("\xEF\xBB\xBFI->E\r\nE->i|(E)\r\n#word: (i)\r\n");
  EXPECT_EQ(file.text, "I->E\nE->i|(E)");
  EXPECT_EQ(file.word, "(i)");
  EXPECT_FALSE(parseGrammarFile("A->x\rB->y\n").word.has_value());
  EXPECT_EQ(parseGrammarFile("A->x\rB->y\n").text, "A->x\nB->y");
}

TEST(GrammarFileTest, TextAndWordComeBackAsTheyWere) {
  for (std::string text : {"", "A->x", "A->x\n", "\n\nA->x\n\n", "A -> x | y\nB->#", "\xEF\xBB\xBF" "A->x"})
    for (std::string word : {"", " i + i ", "#word: x"}) {
      GrammarFile file = parseGrammarFile(grammarFileBytes(text, word));
      EXPECT_EQ(file.text, text);
      EXPECT_EQ(file.word, word);
    }
}


// ---- the token notation

const char* const kTokenRules = "E -> E '+' T | T\nT -> \"==\" | ( E ) | id | \xCE\xB5";

TEST(GrammarFileTest, TheNotationAndWordLinesReadInEitherOrder) {
  std::string declared = std::string("#notation: tokens\n") + kTokenRules;
  for (std::string bytes : {std::string("#notation: tokens\n#word: id + ( id )\n") + kTokenRules + "\n",
                            std::string("#word: id + ( id )\n#notation: tokens\n") + kTokenRules + "\n",
                            declared + "\r\n#word: id + ( id )\r\n"}) {
    GrammarFile file = parseGrammarFile(bytes);
    EXPECT_EQ(file.text, declared);
    EXPECT_EQ(file.word, "id + ( id )");
    EXPECT_EQ(file.notation, Notation::kTokens);
    GrammarTextReading reading = readGrammarText(file.text);
    ASSERT_TRUE(reading.isSound()) << reading.messages;
    EXPECT_EQ(reading.grammar.symbolNamed("=="), 3);
    EXPECT_TRUE(reading.grammar.productions.back().body.empty());
  }
}

TEST(GrammarFileTest, TokenFilesAreWrittenInOneOrderAndReadBackExactly) {
  std::string canonical = std::string("#notation: tokens\n") + kTokenRules + "\n#word: id '+' id\n";
  GrammarFile file = parseGrammarFile(canonical);
  EXPECT_EQ(grammarFileBytes(file.text, *file.word, file.notation), canonical);
  // A text that does not declare its notation gets the declaration first.
  EXPECT_EQ(grammarFileBytes(kTokenRules, "id '+' id", Notation::kTokens), canonical);
  EXPECT_EQ(grammarFileBytes("", "", Notation::kTokens), "#notation: tokens\n#word: \n");
  // The word line first gives the same file, written in its order.
  GrammarFile wordFirst = parseGrammarFile(std::string("#word: id '+' id\n#notation: tokens\n") + kTokenRules + "\n");
  EXPECT_EQ(grammarFileBytes(wordFirst.text, *wordFirst.word, wordFirst.notation), canonical);
}

TEST(GrammarFileTest, ClassicFilesStayAsTheyWere) {
  for (std::string bytes : {"I->E\nE->i|(E)\n#word: (i)\n", "S->aSb|e\n#word: \n", "#word: ab\n"}) {
    GrammarFile file = parseGrammarFile(bytes);
    EXPECT_EQ(file.notation, Notation::kClassic);
    EXPECT_EQ(grammarFileBytes(file.text, *file.word, file.notation), bytes);
  }
  // A declaration anywhere but on the first line is no declaration.
  EXPECT_EQ(parseGrammarFile("S->a\n#notation: tokens\n").notation, Notation::kClassic);
}

}  // namespace
