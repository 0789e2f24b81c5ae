#include "exercises/grammar_traits.h"

#include <gtest/gtest.h>

#include "grammar/test_support.h"

namespace {

TEST(GrammarTraitsTest, LeftRecursionDirectIndirectAndBehindVanishingSymbols) {
  EXPECT_EQ(traitsOf(modelOf({"I->E", "E->E+T|T", "T->i"})).leftRecursive, "E");
  EXPECT_EQ(traitsOf(modelOf({"I->A", "A->Bx|y", "B->Az|w"})).leftRecursive, "AB");
  // C vanishes, so A stands first in A->CAb.
  EXPECT_EQ(traitsOf(modelOf({"I->A", "A->CAb|a", "C->c|e"})).leftRecursive, "A");
  EXPECT_EQ(traitsOf(modelOf({"I->A", "A->aA|b"})).leftRecursive, "");
}

TEST(GrammarTraitsTest, CyclesNeedEverythingElseToVanish) {
  EXPECT_EQ(traitsOf(modelOf({"I->A", "A->B|a", "B->A|b"})).cyclic, "AB");
  EXPECT_EQ(traitsOf(modelOf({"I->A", "A->CAC|a", "C->e|c"})).cyclic, "A");
  EXPECT_EQ(traitsOf(modelOf({"I->A", "A->AC|a", "C->c"})).cyclic, "");
}

TEST(GrammarTraitsTest, ReachabilityProductivityAndNullability) {
  GrammarTraits traits = traitsOf(modelOf({"I->A", "A->aA|B|C", "B->bB", "C->e", "D->d"}));
  EXPECT_EQ(traits.unreachable, "D");
  EXPECT_EQ(traits.unproductive, "B");
  EXPECT_EQ(traits.nullable, "IAC");
}

}  // namespace
