#include "grammar/ordered_follow.h"

#include <gtest/gtest.h>

#include "grammar/follow.h"
#include "grammar/symbol_text.h"
#include "grammar/test_support.h"
#include "grammar/text_reading.h"

namespace {

using Lines = std::vector<std::string>;

std::vector<std::string> typedFollows(const Grammar& grammar) {
  Lines out;
  for (const Symbols& set : followSets(grammar)) out.push_back(symbolsText(grammar, set));
  return out;
}

TEST(OrderedFollowTest, ExamplesListTheirSetsInTheSubstitutionsOrder) {
  for (int k = 1; k <= kExampleCount; ++k) {
    Parsing model = exampleModel(k);
    EXPECT_EQ(typedFollows(model.typed), strings(model.follow())) << k;
  }
}

// References that land on the scan position, chains through several rules
// and references of a set to itself are where the order is easiest to lose.
TEST(OrderedFollowTest, ChainsAndSelfReferencesKeepTheOrder) {
  for (const Parsing& model : {modelOf({"S->AB|BA", "A->aAB|e", "B->bBS|e|A"}),
                               modelOf({"S->Ac", "A->aA|b"}),
                               modelOf({"S->ABCD", "A->Ba|B", "B->Cb|C", "C->Dc|D", "D->Sd|e"}),
                               modelOf({"S->A", "A->B", "B->C", "C->Sx|y"})})
    EXPECT_EQ(typedFollows(model.typed), strings(model.follow()));
}

TEST(OrderedFollowTest, TokenGrammarSetsAndListing) {
  GrammarTextReading reading =
      readGrammarText("#notation: tokens\nE -> E + T | T\nT -> T * F | F\nF -> ( E ) | id | num\n");
  ASSERT_TRUE(reading.isSound()) << reading.messages;
  EXPECT_EQ(typedFollows(reading.grammar), (Lines{"$ + )", "$ + ) *", "$ + ) *"}));
  EXPECT_EQ(strings(followListing(reading.grammar)),
            (Lines{"Follow(E): $ + )", "Follow(T): $ + ) *", "Follow(F): $ + ) *"}));
}

TEST(OrderedFollowTest, MoreNonTerminalsThanLetters) {
  std::string text = "#notation: tokens\n";
  for (int i = 0; i < 40; ++i) text += "N" + std::to_string(i) + " -> N" + std::to_string(i + 1) + " x" + std::to_string(i) + " | y\n";
  text += "N40 -> z\n";
  GrammarTextReading reading = readGrammarText(text);
  ASSERT_TRUE(reading.isSound()) << reading.messages;
  Lines sets = typedFollows(reading.grammar);
  ASSERT_EQ(sets.size(), 41u);
  EXPECT_EQ(sets[0], "$");
  EXPECT_EQ(sets[40], "x39");
}

}  // namespace
