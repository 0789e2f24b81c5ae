#include "grammar/grammar_sets.h"

#include <gtest/gtest.h>

namespace {

std::string namesIn(const Grammar& g, const SymbolSet& set) {
  std::string out;
  for (Symbol s = 0; s < g.symbolCount(); ++s)
    if (set[static_cast<size_t>(s)]) out += g.name(s);
  return out;
}

TEST(GrammarSets, FirstAndFollowOfTheLL1ExpressionGrammar) {
  Grammar g = classicGrammar({"E->TG", "G->+TG|e", "T->FH", "H->*FH|e", "F->(E)|i"});
  PredictionSets sets = predictionSets(g);
  EXPECT_EQ(namesIn(g, sets.nullable), "GH");
  EXPECT_EQ(namesIn(g, sets.first[static_cast<size_t>(g.symbolNamed("E"))]), "(i");
  EXPECT_EQ(namesIn(g, sets.follow[static_cast<size_t>(g.symbolNamed("H"))]), "+)");
  EXPECT_TRUE(sets.followsEnd[static_cast<size_t>(g.symbolNamed("H"))]);
  EXPECT_TRUE(ll1Conflicts(g).empty());
}

TEST(GrammarSets, ConflictsOfALeftRecursiveGrammar) {
  Grammar g = classicGrammar({"E->E+i|i"});
  auto conflicts = ll1Conflicts(g);
  ASSERT_EQ(conflicts.size(), 1u);
  EXPECT_EQ(g.name(conflicts[0].terminal), "i");
}

TEST(GrammarSets, FirstOfAStringStopsAtTheFirstSymbolThatCannotVanish) {
  Grammar g = classicGrammar({"S->ABc", "A->a|e", "B->b|e"});
  PredictionSets sets = predictionSets(g);
  Symbol a = g.symbolNamed("A"), b = g.symbolNamed("B"), c = g.symbolNamed("c");
  EXPECT_EQ(namesIn(g, firstOfString(sets, {a, b})), "ab");
  EXPECT_TRUE(vanishes(sets, {a, b}));
  EXPECT_EQ(namesIn(g, firstOfString(sets, {a, c, b})), "ca");
  EXPECT_FALSE(vanishes(sets, {a, c}));
  EXPECT_TRUE(vanishes(sets, {}));
  EXPECT_EQ(namesIn(g, firstOfString(sets, {})), "");
}

// Classic sets are written by character code, the end marker '$' among
// them; token sets in the order their terminals come, the end last.
TEST(GrammarSets, WritingOrderFollowsTheNotation) {
  Grammar classic = classicGrammar({"S->z(S)a|+"});
  PredictionSets sets = predictionSets(classic);
  std::string written;
  for (Symbol s : inWritingOrder(classic, sets.follow[static_cast<size_t>(classic.symbolNamed("S"))], true))
    written += s == classic.endMarker() ? "$" : classic.name(s);
  EXPECT_EQ(written, "$)");
  Grammar tokens = classic;
  tokens.notation = Notation::kTokens;
  written.clear();
  for (Symbol s : inWritingOrder(tokens, sets.first[static_cast<size_t>(tokens.symbolNamed("S"))], true))
    written += s == tokens.endMarker() ? "$" : tokens.name(s);
  EXPECT_EQ(written, "z+$");
}

TEST(GrammarSets, DerivationHeightsAreThoseOfTheLowestTrees) {
  Grammar g = classicGrammar({"S->aSb|A", "A->Bc|e", "B->bB"});
  std::vector<int> heights = derivationHeights(g);
  EXPECT_EQ(heights[static_cast<size_t>(g.symbolNamed("A"))], 1);
  EXPECT_EQ(heights[static_cast<size_t>(g.symbolNamed("S"))], 2);
  EXPECT_EQ(heights[static_cast<size_t>(g.symbolNamed("B"))], kNoDerivation);
  EXPECT_EQ(heights[static_cast<size_t>(g.symbolNamed("a"))], 0);
  EXPECT_EQ(bodyHeight(heights, g.productions[0].body), 3);
  EXPECT_EQ(bodyHeight(heights, g.productions[2].body), kNoDerivation);
}

TEST(GrammarSets, ProductiveAndReachable) {
  Grammar g = classicGrammar({"S->AB|a", "A->a", "B->bB", "C->c"});
  EXPECT_EQ(namesIn(g, productiveSymbols(g)), "SACabc");
  EXPECT_EQ(namesIn(g, reachableSymbols(g)), "SABab");
}

}  // namespace
