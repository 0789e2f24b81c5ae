#include "grammar/grammar_text.h"

#include <gtest/gtest.h>

#include "grammar/token_reading.h"

namespace {

TEST(ClassicNotation, FitsOnlySingleCharactersOfTheRightKind) {
  EXPECT_TRUE(fitsClassicNotation(classicGrammar({"E->E+T|T", "T->i"})));
  Grammar g = classicGrammar({"E->i"});
  g.addSymbol("E'", false);
  EXPECT_FALSE(fitsClassicNotation(g));
}

TEST(TokenNotation, WrittenTextReadsBackAsTheSameGrammar) {
  const char* text = "S -> if_1 '==' x' '|' \"->\" A '$x' \"it's\"\nA -> ε | B' ;\nB' -> 'ε' | \"'q\"\n";
  TokenReading first = readTokenGrammar(text);
  ASSERT_TRUE(first.isSound()) << first.errors.front().message;
  std::string written = grammarText(first.grammar);
  EXPECT_EQ(written.substr(0, 18), "#notation: tokens\n");
  TokenReading again = readTokenGrammar(written);
  ASSERT_TRUE(again.isSound()) << written;
  EXPECT_EQ(again.grammar.productions, first.grammar.productions) << written;
  for (Symbol s = 0; s < first.grammar.symbolCount(); ++s) EXPECT_EQ(again.grammar.name(s), first.grammar.name(s));
}

TEST(ProductionText, EachNotationWritesItsOwnArrowAndEmptyBody) {
  Grammar classic = classicGrammar({"S->aSb|e"});
  EXPECT_EQ(writtenProduction(classic, 0), "S->aSb");
  EXPECT_EQ(writtenProduction(classic, 1), "S->e");
  TokenReading tokens = readTokenGrammar("E -> E '|' id |\n");
  ASSERT_TRUE(tokens.isSound());
  EXPECT_EQ(writtenProduction(tokens.grammar, 0), "E -> E '|' id");
  EXPECT_EQ(writtenProduction(tokens.grammar, 1), "E -> \xCE\xB5");
}

}  // namespace
