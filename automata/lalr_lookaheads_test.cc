#include <gtest/gtest.h>

#include "automata/automaton.h"
#include "simulation/evaluations.h"
#include "grammar/test_support.h"
#include "tables/lr_tables.h"

namespace {

using Lines = std::vector<std::string>;

// Each state as its items with their lookaheads, "A->B°Cd, $x".
std::vector<Lines> statesOf(const Parsing& model, const Automaton& automaton) {
  std::vector<Lines> states;
  for (const auto& state : automaton.states) {
    Lines items;
    for (const StateItem& item : state)
      items.push_back(shown(itemText(model, LR0_Item{item.production, item.dot})) + ", " +
                      lookaheadText(model.typed, automaton.lookaheads, item.lookahead));
    states.push_back(items);
  }
  return states;
}

// What follows B is First(Cd) = c, d since C can vanish; what follows A in
// state 0 comes round the left recursion A->Ax back to A's own items.
TEST(LalrLookaheadsTest, ThroughVanishingSymbolsAndLeftRecursion) {
  Parsing model = modelOf({"I->A", "A->BCd|Ax", "B->b|e", "C->c|e"});
  std::vector<Lines> states = statesOf(model, buildLalrAutomaton(model));
  ASSERT_EQ(states.size(), 8u);
  EXPECT_EQ(states[0], (Lines{"I->°A, $", "A->°BCd, $x", "A->°Ax, $x", "B->°b, cd", "B->e°, cd"}));
  EXPECT_EQ(states[1], (Lines{"I->A°, $", "A->A°x, $x"}));
  EXPECT_EQ(states[2], (Lines{"A->B°Cd, $x", "C->°c, d", "C->e°, d"}));
  EXPECT_EQ(states[7], (Lines{"A->BCd°, $x"}));
}

// Without a start line only production 0 carries the end marker: E->T is
// added for E->°E+T and is followed by "+" alone, and ")" joins inside the
// parentheses; merged states unite both.
TEST(LalrLookaheadsTest, OnlyTheFirstProductionEndsTheInput) {
  Parsing model = modelOf({"E->E+T|T", "T->(E)|i"});
  std::vector<Lines> states = statesOf(model, buildLalrAutomaton(model));
  ASSERT_EQ(states.size(), 9u);
  EXPECT_EQ(states[0], (Lines{"E->°E+T, $+", "E->°T, +", "T->°(E), +", "T->°i, +"}));
  EXPECT_EQ(states[2], (Lines{"E->T°, )+"}));
  EXPECT_EQ(states[4], (Lines{"T->i°, $)+"}));
}

// The merged LR(1) states hold the same lookaheads; only the order of the
// characters differs (the merge puts the higher member's first).
TEST(LalrLookaheadsTest, SameSetsAsTheMergedCollection) {
  Parsing model = modelOf({"I->S", "S->(S)|x"});
  std::vector<Lines> direct = statesOf(model, buildLalrAutomaton(model));
  std::vector<Lines> merged = statesOf(model, mergeByCore(buildLR1Automaton(model)));
  ASSERT_EQ(direct.size(), 6u);
  EXPECT_EQ(direct[3], (Lines{"S->x°, $)"}));
  EXPECT_EQ(merged[3], (Lines{"S->x°, )$"}));
  EXPECT_EQ(cells(lookaheadTableOf(model, buildLalrAutomaton(model))), cells(lalrTable(model)));
}

// The chain of 22 rules has 112 LALR states and an LR(1) collection of
// twenty million: the LALR table and its count never build the latter.
TEST(LalrLookaheadsTest, ExplosiveChainStaysSmall) {
  std::vector<std::string> texts;
  const std::string heads = "ABCDEFGHJKLMNOPQRSTUVWXYZ", terminals = "abcdfghijklmnopqrstuvw";
  for (size_t k = 0; k < 22; ++k) {
    std::string next = k + 1 < 22 ? std::string(1, heads[k + 1]) : "x";
    texts.push_back(std::string(1, heads[k]) + "->y" + next + terminals[k] + "|y" + next + "|z" + next);
  }
  HString text = "I->A\r\n";
  for (const std::string& line : texts) text += HString(line.c_str()) + "\r\n";
  Parsing model;
  model.loadRules(readGrammar(text).lines);
  EXPECT_EQ(table(model, TableKind::kLALR).getCount(), 113);
  EXPECT_EQ(conflictCount(model, TableKind::kLALR), 0);
  Evaluation parsed = evaluation(model, TableKind::kLALR, "yzyyyyyyyyyyyyyyyyyyyyx");
  EXPECT_TRUE(parsed.accepted());
}

}  // namespace
