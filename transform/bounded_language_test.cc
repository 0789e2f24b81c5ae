#include "transform/bounded_language.h"

#include <gtest/gtest.h>

namespace {

Grammar classic(std::initializer_list<std::string> lines) { return classicGrammar(std::vector<std::string>(lines)); }

TEST(BoundedLanguage, WordsUpToALengthThroughUnitAndEmptyRules) {
  BoundedLanguage language = boundedLanguage(classic({"S->A|aSb", "A->B|e", "B->c"}), 4);
  EXPECT_EQ(language.length, 4);
  EXPECT_EQ(language.words, (std::set<Word>{{}, {"c"}, {"a", "b"}, {"a", "c", "b"}, {"a", "a", "b", "b"}}));
}

TEST(BoundedLanguage, AShortestDifferenceIsNamed) {
  auto difference = languageDifference(classic({"S->aS|a"}), classic({"S->aS|b"}), 5);
  ASSERT_TRUE(difference);
  EXPECT_EQ(difference->word, (Word{"a"}));
  EXPECT_TRUE(difference->inFirst);
  EXPECT_FALSE(languageDifference(classic({"S->Sa|a"}), classic({"S->aS|a"}), 6));
}

TEST(BoundedLanguage, StopsAtTheBoundAndLeavesTheComparisonUndecided) {
  bool decided = true;
  EXPECT_FALSE(languageDifference(classic({"S->SS|a|b|c|d"}), classic({"S->Sa|Sb|Sc|Sd|a|b|c|d"}), 5, &decided));
  EXPECT_TRUE(decided);  // 4^5 words stay under the default bound
  // 4^3 words of length 3 fit a bound of 100, 4^4 do not.
  BoundedLanguage big = boundedLanguage(classic({"S->SS|a|b|c|d"}), 6, 100);
  EXPECT_EQ(big.length, 3);
  EXPECT_EQ(big.words.size(), 4u + 16u + 64u);
  EXPECT_TRUE(languageDifference(classic({"S->SS|a|b|c|d"}), classic({"S->a|b|c|d"}), 6, &decided));
}

}  // namespace
