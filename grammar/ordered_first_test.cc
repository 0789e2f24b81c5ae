#include "grammar/ordered_first.h"

#include <gtest/gtest.h>

#include "grammar/first.h"
#include "grammar/symbol_text.h"
#include "grammar/test_support.h"
#include "grammar/text_reading.h"

namespace {

Grammar tokenGrammar(const char* text) {
  GrammarTextReading reading = readGrammarText(text);
  EXPECT_TRUE(reading.isSound()) << reading.messages;
  return reading.grammar;
}

std::string firstText(const Grammar& grammar, const std::string& name) {
  return symbolsText(grammar, OrderedFirst(grammar).of(grammar.symbolNamed(name)));
}

// The typed walk must list every set in the very order of the character walk.
void expectSameAsCharacterWalk(const Parsing& model) {
  OrderedFirst first(model.typed);
  for (Symbol x = 0; x < model.typed.symbolCount(); ++x) {
    char c = model.typed.name(x)[0];
    EXPECT_EQ(symbolsText(model.typed, first.of(x)), std::string(model.first(c).view())) << c;
  }
  for (const Production& p : model.typed.productions)
    for (size_t from = 0; from <= p.body.size(); ++from) {
      Symbols rest(p.body.begin() + static_cast<std::ptrdiff_t>(from), p.body.end());
      std::string text = symbolsText(model.typed, rest);
      EXPECT_EQ(symbolsText(model.typed, first.ofString(rest)), std::string(model.firstOfString(text.c_str()).view()))
          << text;
    }
}

TEST(OrderedFirstTest, ExamplesListTheirSetsInTheCharacterWalksOrder) {
  for (int k = 1; k <= kExampleCount; ++k) expectSameAsCharacterWalk(exampleModel(k));
}

TEST(OrderedFirstTest, VanishingPrefixesAndCyclesKeepTheWalksOrder) {
  expectSameAsCharacterWalk(modelOf({"S->AB|zA", "A->Bx|e|Ay", "B->Ab|e|c"}));
  expectSameAsCharacterWalk(modelOf({"S->ABCd", "A->e|C", "B->A|b", "C->S|c|e"}));
  expectSameAsCharacterWalk(modelOf({"A->Ab"}));
}

TEST(OrderedFirstTest, TokenGrammarNamesItsTerminals) {
  Grammar g = tokenGrammar("#notation: tokens\nE -> T E'\nE' -> + T E' | \xCE\xB5\nT -> ( E ) | id\n");
  EXPECT_EQ(firstText(g, "E"), "( id");
  EXPECT_EQ(firstText(g, "E'"), "+ \xCE\xB5");
  EXPECT_EQ(strings(firstListing(g)), (std::vector<std::string>{"First(E): ( id", "First(E'): + \xCE\xB5", "First(T): ( id"}));
}

}  // namespace
