#include "tables/listings.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "automata/items.h"
#include "tables/table_kinds.h"
#include "grammar/test_support.h"

namespace {

using Lines = std::vector<std::string>;

TEST(ArcsTest, TargetsOfCells) {
  EXPECT_EQ(std::string(arcTarget("s3|r2").view()), "3|r2");
  EXPECT_EQ(std::string(arcTarget("r1|s3").view()), "");
  EXPECT_EQ(std::string(arcTarget("a").view()), "Accept");
  EXPECT_EQ(std::string(arcTarget("a|r1").view()), "a|r1");
  EXPECT_EQ(std::string(arcTarget("12").view()), "12");
  EXPECT_EQ(std::string(arcTarget("").view()), "");
}

TEST(ArcsTest, LR0ItemsOfExampleFour) {
  Lines lines = shown(lr0ItemsWithArcs(exampleModel(4)));
  EXPECT_EQ(Lines(lines.begin(), lines.begin() + 20),
            (Lines{"State0 - Clousure(I->°S):", "   I->°S", "   S->°iEtSZ", "   S->°a", "", " Arcs:",
                   "  0 --> a --> 3", "  0 --> i --> 2", "  0 --> S --> 1", "-------------------------", "",
                   "State1 - Goto(State0,S):", "   I->S°", "", " Arcs:", "  1 --> $ --> Accept",
                   "-------------------------", "", "State2 - Goto(State0,i):", "   S->i°EtSZ"}));
  auto at = [&](const std::string& line) { return std::find(lines.begin(), lines.end(), line); };
  EXPECT_NE(at("  7 --> c --> 9|r4"), lines.end());
  EXPECT_NE(at("  7 --> Z --> 8"), lines.end());
  auto three = at("State3 - Goto(State0,a):");
  ASSERT_NE(three, lines.end());
  EXPECT_EQ(*(three + 3), " Arcs:");
  EXPECT_EQ(*(three + 4), "-------------------------");
}

TEST(ArcsTest, LalrItemsWithTheirMembers) {
  Parsing model = modelOf({"I->S", "S->(S)|x"});
  Lines lines = shown(lalrItemsWithArcs(model));
  auto two = std::find(lines.begin(), lines.end(), "State2 {2 ~ 5}:");
  ASSERT_NE(two, lines.end());
  EXPECT_EQ(Lines(two, two + 13),
            (Lines{"State2 {2 ~ 5}:", "", " Items:", "  S->(°S), )$", "  S->°(S), )", "  S->°x, )", "", " Arcs:",
                   "  2 --> ( --> 2", "  2 --> x --> 3", "  2 --> S --> 4", "-------------------------", ""}));
  EXPECT_EQ(strings(similarStateTable(similarStates(model))),
            (Lines{"LR(1) Similar Table:", "  State0 = {0}", "  State1 = {1}", "  State2 = {2 ~ 5}",
                   "  State3 = {3 ~ 6}", "  State4 = {4 ~ 8}", "  State5 = {7 ~ 9}"}));
}

}  // namespace

namespace {

// Token grammars write their items with blanks between the symbols, the dot
// as one of them, and lookaheads as names.
TEST(ListingsTest, TokenItemsNameTheirSymbols) {
  Parsing model = modelOfText("#notation: tokens\nP -> S\nS -> ( S ) | x | \xCE\xB5\n");
  std::vector<std::string> lines = shown(listing(model, ListingKind::kLR1Items).lines);
  ASSERT_GE(lines.size(), 6u);
  EXPECT_EQ(lines[0], "State0 - Clousure(P -> \xC2\xB0 S, $):");
  EXPECT_EQ(lines[1], "   P -> \xC2\xB0 S, $");
  EXPECT_EQ(lines[2], "   S -> \xC2\xB0 ( S ), $");
  EXPECT_EQ(lines[4], "   S -> \xCE\xB5 \xC2\xB0, $");
  auto goesTo = std::find(lines.begin(), lines.end(), "State2 - Goto(State0,():");
  EXPECT_NE(goesTo, lines.end());
  auto inner = std::find(lines.begin(), lines.end(), "   S -> \xC2\xB0 ( S ), )");
  EXPECT_NE(inner, lines.end());
}

}  // namespace
