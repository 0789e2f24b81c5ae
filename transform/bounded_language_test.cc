#include "transform/bounded_language.h"

#include <gtest/gtest.h>

namespace {

Grammar classic(std::initializer_list<std::string> lines) { return classicGrammar(std::vector<std::string>(lines)); }

TEST(BoundedLanguage, WordsUpToALengthThroughUnitAndEmptyRules) {
  BoundedLanguage language = boundedLanguage(classic({"S->A|aSb", "A->B|e", "B->c"}), 4);
  EXPECT_TRUE(language.complete);
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
  BoundedLanguage big = boundedLanguage(classic({"S->SS|a|b|c|d"}), 6, 100);
  EXPECT_FALSE(big.complete);
}

}  // namespace
