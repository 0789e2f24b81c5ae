#include "automata/items.h"

#include <gtest/gtest.h>

#include "grammar/test_support.h"

namespace {

using Lines = std::vector<std::string>;

TEST(LalrTest, MergesStatesOfOneCore) {
  Parsing model = modelOf({"I->S", "S->(S)|x"});
  EXPECT_EQ(model.buildLR1Collection().getCount(), 10);
  EXPECT_EQ(strings(similarStates(model)), (Lines{"0", "1", "2 ~ 5", "3 ~ 6", "4 ~ 8", "7 ~ 9"}));
  LR1_ItemsListList states = lalrStates(model);
  ASSERT_EQ(states.getCount(), 6);
  Lines items;
  for (const LR1_Item& item : states[2]) items.push_back(shown(itemText(model, item)));
  EXPECT_EQ(items, (Lines{"S->(°S), )$", "S->°(S), )", "S->°x, )"}));
  Lines reduce;
  for (const LR1_Item& item : states[3]) reduce.push_back(shown(itemText(model, item)));
  EXPECT_EQ(reduce, (Lines{"S->x°, )$"}));
}

TEST(LalrTest, DistinctCoresStayAsTheyAre) {
  Parsing model = exampleModel(1);
  EXPECT_EQ(strings(similarStates(model)), (Lines{"0", "1", "2"}));
  EXPECT_EQ(lalrStates(model).getCount(), 3);
}

TEST(LalrTest, ThreeMembersAreListedInOrder) {
  Parsing model = modelOf({"I->S", "S->(S)|[S]|x"});
  Row similar = similarStates(model);
  EXPECT_EQ(similar.getCount(), lalrStates(model).getCount());
  EXPECT_EQ(similar.getCount(), model.buildLR0Collection().getCount());
  Lines texts = strings(similar);
  EXPECT_NE(std::find(texts.begin(), texts.end(), "3 ~ 7 ~ 11"), texts.end()) << ::testing::PrintToString(texts);
}

}  // namespace
