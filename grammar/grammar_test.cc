#include "grammar/grammar.h"

#include <gtest/gtest.h>

#include "grammar/grammar_text.h"
#include "grammar/parsing.h"
#include "grammar/text_reading.h"

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

// The textbook's E -> E + T | T accepts only through a start rule of its
// own; without one, reducing by production 0 would accept "id + id" and
// nothing shorter.
TEST(StartRule, TokenGrammarsAreAugmentedWhenTheirFirstRuleIsNotAStartRule) {
  Grammar expression = readGrammarText("#notation: tokens\nE -> E + T | T\nT -> id\n").grammar;
  EXPECT_FALSE(firstRuleAugments(expression));
  Parsing model;
  model.loadGrammar(expression);
  const Grammar& g = model.typed;
  ASSERT_EQ(g.productions.size(), 4u);
  EXPECT_EQ(g.name(0), "E'");
  EXPECT_EQ(g.productions[0], (Production{0, {g.symbolNamed("E")}}));
  EXPECT_EQ(g.productions[1].head, g.symbolNamed("E"));
  EXPECT_EQ(g.productions[3].body, (Symbols{g.symbolNamed("id")}));
  EXPECT_EQ(g.nonTerminals(), (std::vector<Symbol>{0, 1, 2}));
  EXPECT_TRUE(firstRuleAugments(g));

  // A first rule that augments is kept as written, and so is every classic grammar.
  Grammar started = readGrammarText("#notation: tokens\nS -> E\nE -> E + id | id\n").grammar;
  model.loadGrammar(started);
  EXPECT_EQ(model.typed.productions.size(), 3u);
  EXPECT_EQ(model.typed.name(0), "S");
  model.loadGrammar(classicGrammar({"E->E+T|T", "T->i"}));
  EXPECT_EQ(model.typed.productions.size(), 3u);
  EXPECT_EQ(model.rules.getCount(), 2);

  // A primed start taken already gets one more prime.
  Grammar primed = readGrammarText("#notation: tokens\nE -> E' + E | E'\nE' -> id\n").grammar;
  model.loadGrammar(primed);
  EXPECT_EQ(model.typed.name(0), "E''");
}

}  // namespace
