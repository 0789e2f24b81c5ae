#include <gtest/gtest.h>

#include "automata/items.h"
#include "automata/listing.h"
#include "grammar/test_support.h"

namespace {

using Lines = std::vector<std::string>;

Lines headers(const Row& listing) {
  Lines out;
  for (const HString& line : listing)
    if (line.getLength() > 0 && line[0] == 'S') out.push_back(shown(line));
  return out;
}

// The lines of state k's block, header first, without its empty line.
Lines block(const Row& listing, int k) {
  Lines lines = shown(listing);
  Lines out;
  int state = 0;
  for (const std::string& line : lines) {
    if (line.empty()) {
      if (state++ == k) break;
      continue;
    }
    if (state == k) out.push_back(line);
  }
  return out;
}

TEST(LR0CollectionTest, ListingOfExampleFour) {
  Parsing model = exampleModel(4);
  Row listing = model.listLR0Items();
  EXPECT_EQ(shown(listing), (Lines{"State0 - Clousure(I->°S):",
                                   "   I->°S",
                                   "   S->°iEtSZ",
                                   "   S->°a",
                                   "",
                                   "State1 - Goto(State0,S):",
                                   "   I->S°",
                                   "",
                                   "State2 - Goto(State0,i):",
                                   "   S->i°EtSZ",
                                   "   E->°b",
                                   "",
                                   "State3 - Goto(State0,a):",
                                   "   S->a°",
                                   "",
                                   "State4 - Goto(State2,E):",
                                   "   S->iE°tSZ",
                                   "",
                                   "State5 - Goto(State2,b):",
                                   "   E->b°",
                                   "",
                                   "State6 - Goto(State4,t):",
                                   "   S->iEt°SZ",
                                   "   S->°iEtSZ",
                                   "   S->°a",
                                   "",
                                   "State7 - Goto(State6,S):",
                                   "   S->iEtS°Z",
                                   "   Z->°cS",
                                   "   Z->e°",
                                   "",
                                   "State8 - Goto(State7,Z):",
                                   "   S->iEtSZ°",
                                   "",
                                   "State9 - Goto(State7,c):",
                                   "   Z->c°S",
                                   "   S->°iEtSZ",
                                   "   S->°a",
                                   "",
                                   "State10 - Goto(State9,S):",
                                   "   Z->cS°",
                                   ""}));
  EXPECT_EQ(model.buildLR0Collection().getCount(), 11);
}

TEST(LR0CollectionTest, SymbolsAreTriedInItemOrder) {
  EXPECT_EQ(headers(exampleModel(2).listLR0Items()).size(), 16u);
  Lines first = headers(exampleModel(2).listLR0Items());
  EXPECT_EQ(Lines(first.begin() + 1, first.begin() + 6),
            (Lines{"State1 - Goto(State0,E):", "State2 - Goto(State0,T):", "State3 - Goto(State0,F):",
                   "State4 - Goto(State0,():", "State5 - Goto(State0,i):"}));
}

TEST(LR0CollectionTest, GrammarWithoutAnExtraStartLine) {
  Parsing model = modelOf({"E->E+T|T", "T->T*F|F", "F->(E)|i"});
  EXPECT_EQ(block(model.listLR0Items(), 0),
            (Lines{"State0 - Clousure(E->°E+T):", "   E->°E+T", "   E->°T", "   T->°T*F", "   T->°F", "   F->°(E)",
                   "   F->°i"}));
}

TEST(LR1CollectionTest, ListingOfExampleFour) {
  Parsing model = exampleModel(4);
  Row listing = model.listLR1Items();
  EXPECT_EQ(headers(listing),
            (Lines{"State0 - Clousure(I->°S, $):", "State1 - Goto(State0,S):", "State2 - Goto(State0,i):",
                   "State3 - Goto(State0,a):", "State4 - Goto(State2,E):", "State5 - Goto(State2,b):",
                   "State6 - Goto(State4,t):", "State7 - Goto(State6,S):", "State8 - Goto(State6,i):",
                   "State9 - Goto(State6,a):", "State10 - Goto(State7,Z):", "State11 - Goto(State7,c):",
                   "State12 - Goto(State8,E):", "State13 - Goto(State11,S):", "State14 - Goto(State12,t):",
                   "State15 - Goto(State14,S):", "State16 - Goto(State15,Z):", "State17 - Goto(State15,c):",
                   "State18 - Goto(State17,S):"}));
  EXPECT_EQ(block(listing, 0), (Lines{"State0 - Clousure(I->°S, $):", "   I->°S, $", "   S->°iEtSZ, $", "   S->°a, $"}));
  EXPECT_EQ(block(listing, 2), (Lines{"State2 - Goto(State0,i):", "   S->i°EtSZ, $", "   E->°b, t"}));
  EXPECT_EQ(block(listing, 6),
            (Lines{"State6 - Goto(State4,t):", "   S->iEt°SZ, $", "   S->°iEtSZ, c$", "   S->°a, c$"}));
  EXPECT_EQ(block(listing, 7), (Lines{"State7 - Goto(State6,S):", "   S->iEtS°Z, $", "   Z->°cS, $", "   Z->e°, $"}));
  EXPECT_EQ(block(listing, 8), (Lines{"State8 - Goto(State6,i):", "   S->i°EtSZ, c$", "   E->°b, t"}));
  EXPECT_EQ(block(listing, 11),
            (Lines{"State11 - Goto(State7,c):", "   Z->c°S, $", "   S->°iEtSZ, $", "   S->°a, $"}));
  EXPECT_EQ(model.buildLR1Collection().getCount(), 19);
}

TEST(LR1CollectionTest, StateCounts) {
  EXPECT_EQ(exampleModel(2).buildLR1Collection().getCount(), 30);
  EXPECT_EQ(exampleModel(2).buildLR0Collection().getCount(), 16);
  Parsing small = exampleModel(1);
  EXPECT_EQ(shown(small.listLR1Items()),
            (Lines{"State0 - Clousure(I->°A, $):", "   I->°A, $", "   A->°x, $", "   A->e°, $", "",
                   "State1 - Goto(State0,A):", "   I->A°, $", "", "State2 - Goto(State0,x):", "   A->x°, $", ""}));
}

// Lookaheads built in another character order are the same lookahead set:
// these grammars have 11 and 15 canonical LR(1) states.
TEST(LR1CollectionTest, LookaheadOrderDoesNotSplitStates) {
  EXPECT_EQ(modelOf({"I->A", "A->BBA|a", "B->e|A|b"}).buildLR1Collection().getCount(), 11);
  EXPECT_EQ(modelOf({"I->A", "A->BcA|c", "B->AbAA|e|b"}).buildLR1Collection().getCount(), 15);
  Parsing model = modelOf({"I->A", "A->BBA|a", "B->e|A|b"});
  EXPECT_EQ(headers(model.listLR1Items()).size(), 11u);
}

// The engine's closure meets B->°x from four parents, once with a lookahead
// it met before: one item, the lookaheads in the order met.  Its gotos on
// B from states reached in two orders find each other by their item sets.
TEST(LR1CollectionTest, EngineJoinsTheLookaheadsOfACore) {
  Parsing model = modelOf({"I->X", "X->Ba|Bb|Bc|Bac|yXz", "B->x"});
  Lines listing = shown(stateListing(model, buildLR1Automaton(model)));
  EXPECT_EQ(Lines(listing.begin(), listing.begin() + 8),
            (Lines{"State0 - Clousure(I->°X, $):", "   I->°X, $", "   X->°Ba, $", "   X->°Bb, $", "   X->°Bc, $",
                   "   X->°Bac, $", "   X->°yXz, $", "   B->°x, abc"}));
  EXPECT_EQ(listing, shown(model.listLR1Items()));
}

TEST(CollectionTest, EmptyStartProductionIsCompleteAtOnce) {
  Parsing model = modelOf({"I->e"});
  EXPECT_EQ(shown(model.listLR0Items()), (Lines{"State0 - Clousure(I->°e):", "   I->e°", ""}));
  EXPECT_EQ(shown(model.listLR1Items()), (Lines{"State0 - Clousure(I->°e, $):", "   I->e°, $", ""}));
}

TEST(CollectionTest, LongStartProductionKeepsItsWholeHeader) {
  std::string body(300, 'a');
  std::string line = "I->" + body;
  Parsing model = modelOf({line.c_str()});
  EXPECT_EQ(shown(model.listLR1Items()[0]), "State0 - Clousure(I->°" + body + ", $):");
}

}  // namespace
