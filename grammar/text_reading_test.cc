#include "grammar/text_reading.h"

#include <gtest/gtest.h>

namespace {

TEST(TextReading, EachNotationByItsFirstLine) {
  GrammarTextReading classic = readGrammarText("#word: ab\nS->aS|b\n");
  ASSERT_TRUE(classic.isSound()) << classic.messages;
  EXPECT_EQ(classic.grammar.notation, Notation::kClassic);
  EXPECT_EQ(classic.grammar.productions.size(), 2u);
  GrammarTextReading tokens = readGrammarText("#notation: tokens\nS -> a S | b\n");
  ASSERT_TRUE(tokens.isSound()) << tokens.messages;
  EXPECT_EQ(tokens.grammar.notation, Notation::kTokens);
}

TEST(TextReading, MessagesOneALineEachNamingItsLineOnce) {
  EXPECT_EQ(readGrammarText("#notation: tokens\nE a\n| b\n").messages,
            "Line 2: '->' is missing after the head E.\n"
            "Line 3: '|' continues a rule, but no rule comes before it.");
  EXPECT_EQ(readGrammarText("S->aB\n").messages, "Error at line 1: Terminal 'B' not exist.");
  EXPECT_EQ(readGrammarText("\n\n").messages, "Error: Grammar Empty.");
}

}  // namespace
