#include <gtest/gtest.h>

#include "automata/items.h"
#include "grammar/test_support.h"

namespace {

using Lines = std::vector<std::string>;

template <class Item>
Lines texts(const Parsing& model, const HList<Item>& state) {
  Lines out;
  for (const Item& item : state) out.push_back(shown(itemText(model, item)));
  return out;
}

TEST(ClosureLR0Test, WorkedExample) {
  Parsing model = exampleModel(2);
  LR0_ItemsList start = model.closureOfItemLR0(LR0_Item{0, 0});
  EXPECT_EQ(texts(model, start), (Lines{"I->°E", "E->°TG", "T->°FH", "F->°(E)", "F->°i"}));
  EXPECT_EQ(std::string(model.symbolsAfterDot(start).view()), "ETF(i");
  EXPECT_EQ(texts(model, model.gotoLR0(start, 'T')), (Lines{"E->T°G", "G->°+TG", "G->e°"}));
  EXPECT_EQ(texts(model, model.gotoLR0(start, '(')), (Lines{"F->(°E)", "E->°TG", "T->°FH", "F->°(E)", "F->°i"}));
  EXPECT_EQ(model.gotoLR0(start, '+').getCount(), 0);
}

TEST(ClosureLR0Test, RepeatedAlternativeUsesTheFirstProduction) {
  Parsing model = modelOf({"I->A", "A->b|b"});
  EXPECT_EQ(texts(model, model.closureOfItemLR0(LR0_Item{0, 0})), (Lines{"I->°A", "A->°b"}));
}

TEST(ClosureLR0Test, ClosureOfAClosureIsItself) {
  Parsing model = modelOf({"E->E+T|T", "T->T*F|F", "F->(E)|i"});
  LR0_ItemsList start = model.closureOfItemLR0(LR0_Item{0, 0});
  EXPECT_EQ(texts(model, start), (Lines{"E->°E+T", "E->°T", "T->°T*F", "T->°F", "F->°(E)", "F->°i"}));
  EXPECT_EQ(texts(model, model.closureLR0(start)), texts(model, start));
}

TEST(StateEqualityTest, OrderOfItemsDoesNotMatter) {
  LR0_ItemsList a, b;
  for (int p : {1, 2, 3}) a.insertTail(LR0_Item{p, 1});
  for (int p : {3, 1, 2}) b.insertTail(LR0_Item{p, 1});
  EXPECT_TRUE(a == b);
  b.remove(0);
  EXPECT_FALSE(a == b);
}

TEST(ClosureLR1Test, WorkedExample) {
  Parsing model = exampleModel(2);
  LR1_ItemsList start = model.closureOfItemLR1(LR1_Item(0, 0, "$"));
  EXPECT_EQ(texts(model, start), (Lines{"I->°E, $", "E->°TG, $", "T->°FH, +$", "F->°(E), *+$", "F->°i, *+$"}));
  EXPECT_EQ(texts(model, model.gotoLR1(start, 'T')), (Lines{"E->T°G, $", "G->°+TG, $", "G->e°, $"}));
  EXPECT_EQ(texts(model, model.gotoLR1(start, '(')),
            (Lines{"F->(°E), *+$", "E->°TG, )", "T->°FH, +)", "F->°(E), *+)", "F->°i, *+)"}));
}

TEST(ClosureLR1Test, LeftRecursionWithAVanishingPartEnds) {
  Parsing model = modelOf({"I->A", "A->AB|x", "B->y|e"});
  EXPECT_EQ(texts(model, model.closureOfItemLR1(LR1_Item(0, 0, "$"))), (Lines{"I->°A, $", "A->°AB, $y", "A->°x, $y"}));
}

TEST(ClosureLR1Test, EmptyRestPassesTheLookaheadOn) {
  Parsing model = exampleModel(1);
  EXPECT_EQ(texts(model, model.closureOfItemLR1(LR1_Item(0, 0, "$"))), (Lines{"I->°A, $", "A->°x, $", "A->e°, $"}));
}

LR1_ItemsList state(std::initializer_list<LR1_Item> items) {
  LR1_ItemsList out;
  for (const LR1_Item& item : items) out.insertTail(item);
  return out;
}

TEST(CoreTest, SameCoreIgnoresLookaheadsAndOrder) {
  LR1_ItemsList a = state({LR1_Item(1, 1, "$"), LR1_Item(2, 0, "$")});
  LR1_ItemsList b = state({LR1_Item(2, 0, ")"), LR1_Item(1, 1, "+)")});
  EXPECT_TRUE(sameCore(a, b));
  EXPECT_FALSE(sameCore(a, state({LR1_Item(1, 1, "$")})));
  EXPECT_FALSE(a == b);
}

TEST(CoreTest, MergeLookaheadsPutsTheSecondFirst) {
  Parsing model = exampleModel(2);
  LR1_ItemsList first = state({LR1_Item(1, 1, "$"), LR1_Item(2, 0, "$"), LR1_Item(3, 1, "$")});
  LR1_ItemsList second = state({LR1_Item(1, 1, ")"), LR1_Item(2, 0, ")"), LR1_Item(3, 1, ")")});
  EXPECT_EQ(texts(model, mergeLookaheads(first, second)), (Lines{"E->T°G, )$", "G->°+TG, )$", "G->e°, )$"}));
}

// The characters of a lookahead are display order: states whose lookaheads
// hold the same characters in another order are the same state.
TEST(CoreTest, LR1StatesCompareLookaheadSets) {
  LR1_ItemsList ab = state({LR1_Item(4, 1, "ab"), LR1_Item(2, 0, "$")});
  LR1_ItemsList ba = state({LR1_Item(2, 0, "$"), LR1_Item(4, 1, "ba")});
  EXPECT_TRUE(ab == ba);
  EXPECT_FALSE(LR1_Item(4, 1, "ab") == LR1_Item(4, 1, "ba"));
  EXPECT_FALSE(ab == state({LR1_Item(4, 1, "a"), LR1_Item(2, 0, "$")}));
}

}  // namespace
