#include "grammar/follow.h"

#include <gtest/gtest.h>

#include "grammar/test_support.h"

namespace {

using Lines = std::vector<std::string>;

Lines follows(const Parsing& model) { return strings(model.follow()); }

TEST(FollowTest, ListingOfExampleTwo) {
  Parsing model = exampleModel(2);
  EXPECT_EQ(strings(followListing(model, model.follow())),
            (Lines{"Follow(I): $", "Follow(E): $)", "Follow(G): $)", "Follow(T): +$)", "Follow(H): +$)",
                   "Follow(F): *+$)"}));
}

TEST(FollowTest, NullableSymbolsPassFirstSetsThrough) {
  EXPECT_EQ(follows(exampleModel(3))[2], "zhkmn");
}

TEST(FollowTest, UnusedNonTerminalHasNoFollow) {
  EXPECT_EQ(follows(exampleModel(5))[3], "");
  EXPECT_EQ(strings(followListing(exampleModel(5), exampleModel(5).follow()))[3], "Follow(B): ");
}

TEST(FollowTest, SelfAndMutualReferencesResolve) {
  EXPECT_EQ(follows(modelOf({"S->Ac", "A->aA|b"})), (Lines{"$", "c"}));
  EXPECT_EQ(follows(modelOf({"I->E", "E->aF|b", "F->cE"})), (Lines{"$", "$", "$"}));
}

TEST(FollowTest, NeverHoldsTheEmptyString) {
  for (const std::string& set : follows(modelOf({"S->ABC", "A->a|e", "B->b|e", "C->c|e"})))
    EXPECT_EQ(set.find('e'), std::string::npos) << set;
  EXPECT_EQ(follows(modelOf({"S->ABC", "A->a|e", "B->b|e", "C->c|e"})), (Lines{"$", "bc$", "c$", "$"}));
}

// A non-terminal met many times gathers what follows it in the order met,
// each once; the references to other sets come after, right to left.
TEST(FollowTest, ManyOccurrencesInOrder) {
  EXPECT_EQ(follows(modelOf({"S->AcAbAcAa|BA", "A->x", "B->y"})), (Lines{"$", "cba$", "x"}));
}

}  // namespace
