#include "grammar/grammar_file.h"

#include <gtest/gtest.h>

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

}  // namespace
