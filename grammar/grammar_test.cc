#include "grammar/grammar.h"

#include <gtest/gtest.h>

#include "grammar/grammar_text.h"


namespace {

TEST(ClassicGrammar, NumbersProductionsAsTheRuleLinesDo) {
  Grammar g = classicGrammar({"I->E", "E->E+T|T", "T->(E)|i|e"});
  ASSERT_EQ(g.productions.size(), 6u);
  // Non-terminals first, in rule order, then terminals as met.
  EXPECT_EQ(g.name(0), "I");
  EXPECT_EQ(g.name(1), "E");
  EXPECT_EQ(g.name(2), "T");
  EXPECT_EQ(g.name(3), "+");
  EXPECT_EQ(g.productions[1].body, (std::vector<Symbol>{1, 3, 2}));
  EXPECT_TRUE(g.productions[5].body.empty());
  EXPECT_EQ(g.productionsOf(2), (std::vector<int>{3, 4, 5}));
  EXPECT_EQ(grammarText(g), "I->E\nE->E+T|T\nT->(E)|i|e\n");
}

TEST(ClassicGrammar, AWordIsOneSymbolACharacterAndTokensAreBlankSeparated) {
  EXPECT_EQ(wordTokens(Notation::kClassic, "i+i"), (std::vector<std::string>{"i", "+", "i"}));
  EXPECT_EQ(wordTokens(Notation::kTokens, "  id +\tnum "), (std::vector<std::string>{"id", "+", "num"}));
  EXPECT_TRUE(wordTokens(Notation::kTokens, "   ").empty());
}

TEST(FreshNames, PrimesInTokensLettersInTheClassicNotation) {
  Grammar classic = classicGrammar({"E->E+T|T", "T->i"});
  EXPECT_EQ(freshNonTerminalName(classic, "E"), "Z");
  EXPECT_EQ(freshNonTerminalName(classic, "Q"), "Q");
  std::vector<std::string> all;
  std::string body;
  for (char c = 'A'; c <= 'Z'; ++c) body += c;
  for (char c = 'A'; c <= 'Z'; ++c) all.push_back(std::string(1, c) + "->" + body);
  EXPECT_EQ(freshNonTerminalName(classicGrammar(all), "A"), std::nullopt);

  Grammar tokens;
  tokens.notation = Notation::kTokens;
  tokens.addSymbol("E", false);
  tokens.addSymbol("E'", false);
  EXPECT_EQ(freshNonTerminalName(tokens, "E"), "E''");
}

}  // namespace
