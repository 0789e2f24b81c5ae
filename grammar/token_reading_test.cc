#include "grammar/token_reading.h"

#include <gtest/gtest.h>


namespace {

std::vector<std::string> names(const Grammar& g, const std::vector<Symbol>& symbols) {
  std::vector<std::string> out;
  for (Symbol s : symbols) out.push_back(g.name(s));
  return out;
}

std::vector<std::string> errorsOf(std::string_view text) {
  std::vector<std::string> out;
  for (const auto& error : readTokenGrammar(text).errors) out.push_back(error.message);
  return out;
}

TEST(TokenNotation, TheExpressionGrammarAsTextbooksWriteIt) {
  TokenReading reading = readTokenGrammar(
      "#notation: tokens\n"
      "E -> E + T | T\n"
      "T -> T * F\n"
      "   | F\n"
      "F -> ( E ) | id\n");
  ASSERT_TRUE(reading.isSound());
  const Grammar& g = reading.grammar;
  EXPECT_EQ(g.notation, Notation::kTokens);
  EXPECT_EQ(names(g, g.nonTerminals()), (std::vector<std::string>{"E", "T", "F"}));
  ASSERT_EQ(g.productions.size(), 6u);
  EXPECT_EQ(names(g, g.productions[0].body), (std::vector<std::string>{"E", "+", "T"}));
  EXPECT_EQ(names(g, g.productions[3].body), (std::vector<std::string>{"F"}));
  EXPECT_EQ(names(g, g.productions[5].body), (std::vector<std::string>{"id"}));
  EXPECT_TRUE(g.isTerminal(g.symbolNamed("id")));
  EXPECT_EQ(g.start(), g.symbolNamed("E"));
}

TEST(TokenNotation, NamesPunctuationRunsAndQuotedStrings) {
  TokenReading reading = readTokenGrammar("S -> if_1 == x' '|' \"->\" A\nA -> ε | | B'\nB' -> ;\n");
  ASSERT_TRUE(reading.isSound()) << reading.errors.front().message;
  const Grammar& g = reading.grammar;
  EXPECT_EQ(names(g, g.productions[0].body), (std::vector<std::string>{"if_1", "==", "x'", "|", "->", "A"}));
  // ε and an alternative with nothing in it are both the empty string.
  EXPECT_TRUE(g.productions[1].body.empty());
  EXPECT_TRUE(g.productions[2].body.empty());
  EXPECT_FALSE(g.isTerminal(g.symbolNamed("B'")));
}

TEST(TokenNotation, GluedArrowAndRulesOfOneHeadMerged) {
  TokenReading reading = readTokenGrammar("A->(B)\nB -> b\nA -> c\n");
  ASSERT_TRUE(reading.isSound());
  const Grammar& g = reading.grammar;
  ASSERT_EQ(g.productions.size(), 3u);
  EXPECT_EQ(names(g, g.productions[0].body), (std::vector<std::string>{"(", "B", ")"}));
  EXPECT_EQ(g.productions[1].head, g.symbolNamed("A"));
  EXPECT_EQ(names(g, g.productions[1].body), (std::vector<std::string>{"c"}));
}

TEST(TokenNotation, ForMoreThanTwentySixNonTerminals) {
  std::string text;
  for (int i = 0; i < 40; ++i) text += "N" + std::to_string(i) + " -> t" + std::to_string(i) + " N" + std::to_string(i + 1) + "\n";
  text += "N40 -> end\n";
  TokenReading reading = readTokenGrammar(text);
  ASSERT_TRUE(reading.isSound());
  EXPECT_EQ(reading.grammar.nonTerminals().size(), 41u);
}

TEST(TokenNotation, FaultsNameTheirLines) {
  EXPECT_EQ(errorsOf("E -> a\n| b\n\n+ -> c\n"),
            (std::vector<std::string>{"Line 4: a rule begins with a name and '->', as in E -> E + T."}));
  EXPECT_EQ(errorsOf("| a\n"), (std::vector<std::string>{"Line 1: '|' continues a rule, but no rule comes before it."}));
  EXPECT_EQ(errorsOf("E a\n"), (std::vector<std::string>{"Line 1: '->' is missing after the head E."}));
  EXPECT_EQ(errorsOf("E -> a $\n"), (std::vector<std::string>{"Line 1: '$' is reserved for the end of input."}));
  EXPECT_EQ(errorsOf("E -> a -> b\n"),
            (std::vector<std::string>{"Line 1: '->' stands in a right side; write '->' in quotes to make it a terminal."}));
  EXPECT_EQ(errorsOf("E -> 'ab\n"), (std::vector<std::string>{"Line 1: the quoted terminal has no closing '."}));
  EXPECT_EQ(errorsOf("E -> a ε\n"),
            (std::vector<std::string>{"Line 1: ε stands for the empty string and stands alone in its alternative."}));
  EXPECT_EQ(errorsOf("E -> 'E'\n"),
            (std::vector<std::string>{"Line 1: the terminal E has the name of a non-terminal; rename one of them."}));
  EXPECT_EQ(errorsOf("#notation: tokens\n\n"), (std::vector<std::string>{"The grammar has no rule."}));
  EXPECT_EQ(errorsOf(std::string("E -> a\x1b\n")).size(), 1u);
}

TEST(TokenNotation, TheDirectiveIsTheFirstLineAfterAnyWordLine) {
  EXPECT_TRUE(declaresTokenNotation("#notation: tokens\nE -> a\n"));
  EXPECT_TRUE(declaresTokenNotation("#word: id + id\n#notation: tokens  \nE -> a\n"));
  EXPECT_FALSE(declaresTokenNotation("E->a\n#notation: tokens\n"));
  EXPECT_FALSE(declaresTokenNotation("I->E\n"));
}

}  // namespace
