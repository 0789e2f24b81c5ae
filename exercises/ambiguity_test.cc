#include "exercises/ambiguity.h"

#include <gtest/gtest.h>

#include "explain/reasons.h"
#include "grammar/test_support.h"

namespace {

TEST(ParseTreeCountTest, CountsTreesOfOneWord) {
  Parsing balanced = modelOf({"I->S", "S->aSb|e"});
  EXPECT_EQ(countParseTrees(balanced, "aabb"), 1);
  EXPECT_EQ(countParseTrees(balanced, ""), 1);
  EXPECT_EQ(countParseTrees(balanced, "abb"), 0);
  // a+a+a groups two ways; a+a one way.
  Parsing sums = modelOf({"I->E", "E->E+E|a"});
  EXPECT_EQ(countParseTrees(sums, "a+a"), 1);
  EXPECT_EQ(countParseTrees(sums, "a+a+a"), 2);
}

TEST(ParseTreeCountTest, EmptyBodiesAndCyclesEnd) {
  // A word through a cycle A =>+ A has infinitely many trees.
  EXPECT_EQ(countParseTrees(modelOf({"I->S", "S->S|a"}), "a"), 2);
  EXPECT_EQ(countParseTrees(modelOf({"I->S", "S->AA", "A->AA|e"}), ""), 2);
  // Two vanishing symbols give one tree only.
  EXPECT_EQ(countParseTrees(modelOf({"I->S", "S->ABa", "A->e", "B->e"}), "a"), 1);
  EXPECT_EQ(countParseTrees(modelOf({"I->S", "S->AB", "A->a|e", "B->a|e"}), "a"), 2);
}

TEST(AmbiguityTest, FindsTheShortestWordWithTwoTrees) {
  Parsing model = modelOf({"I->S", "S->iS|iStS|a"});  // the dangling else, t for else
  std::optional<AmbiguityWitness> witness = findAmbiguity(model);
  ASSERT_TRUE(witness);
  EXPECT_TRUE(verifyWitness(model, *witness));
  EXPECT_EQ(witness->word, "iiata");
  EXPECT_EQ(countParseTrees(model, witness->word), 2);

  Parsing sums = modelOf({"I->E", "E->E+E|a"});
  witness = findAmbiguity(sums);
  ASSERT_TRUE(witness);
  EXPECT_EQ(witness->word, "a+a+a");
  EXPECT_EQ(derivationText(leftmostDerivation(sums.typed, witness->trees[0])), "I => E => E+E => a+E => a+E+E => a+a+E => a+a+a");
  EXPECT_EQ(derivationText(leftmostDerivation(sums.typed, witness->trees[1])), "I => E => E+E => E+E+E => a+E+E => a+a+E => a+a+a");
}

TEST(AmbiguityTest, TwoTreesThroughACycle) {
  Parsing model = modelOf({"I->S", "S->S|a"});
  std::optional<AmbiguityWitness> witness = findAmbiguity(model);
  ASSERT_TRUE(witness);
  EXPECT_EQ(witness->word, "a");
  EXPECT_TRUE(verifyWitness(model, *witness));
}

TEST(AmbiguityTest, ARepeatedAlternativeGivesNoSecondTree) {
  EXPECT_EQ(countParseTrees(modelOf({"I->S", "S->ab|c", "S->ab"}), "ab"), 1);
  EXPECT_FALSE(findAmbiguity(modelOf({"I->S", "S->ab|c|ab"})));
}

TEST(AmbiguityTest, NoneForUnambiguousGrammars) {
  EXPECT_FALSE(findAmbiguity(exampleModel(2)));
  EXPECT_FALSE(findAmbiguity(modelOf({"I->S", "S->aSb|e"})));
  EXPECT_FALSE(findAmbiguity(modelOf({"I->E", "E->E+T|T", "T->T*a|a"})));
}

TEST(AmbiguityTest, AWitnessThatDoesNotHoldIsRefused) {
  Parsing model = modelOf({"I->E", "E->E+E|a"});
  AmbiguityWitness witness = *findAmbiguity(model);
  AmbiguityWitness same{witness.word, {witness.trees[0], witness.trees[0]}};
  EXPECT_FALSE(verifyWitness(model, same));
  AmbiguityWitness otherWord = witness;
  otherWord.word = "a+a";
  EXPECT_FALSE(verifyWitness(model, otherWord));
  AmbiguityWitness foreign = witness;
  foreign.trees[1].children[0].children[0].symbol = kNoSymbol;  // none of the grammar's
  EXPECT_FALSE(verifyWitness(model, foreign));
}

}  // namespace
