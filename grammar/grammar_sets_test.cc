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

TEST(GrammarSets, ProductiveAndReachable) {
  Grammar g = classicGrammar({"S->AB|a", "A->a", "B->bB", "C->c"});
  EXPECT_EQ(namesIn(g, productiveSymbols(g)), "SACabc");
  EXPECT_EQ(namesIn(g, reachableSymbols(g)), "SABab");
}

}  // namespace
