#include "graphs/automaton_graph.h"

#include <gtest/gtest.h>

#include "grammar/symbol_text.h"
#include "grammar/test_support.h"
#include "graphs/neighbourhood.h"

namespace {

using Texts = std::vector<std::string>;

Parsing parens() { return modelOf({"I->S", "S->(S)|x"}); }

// Each edge as "from symbol to", the symbol named as the graph's grammar names it.
Texts arcs(const AutomatonGraph& graph) {
  Texts texts;
  for (const GraphEdge& edge : graph.edges)
    texts.push_back(std::to_string(edge.from) + " " + symbolText(graph.grammar, edge.symbol) + " " +
                    std::to_string(edge.to));
  return texts;
}

TEST(AutomatonGraphTest, EdgesFollowTheTableColumnsOfEachState) {
  AutomatonGraph graph = automatonGraph(parens(), GraphKind::kLR0);
  // Columns ( ) x $ I S: terminals first, then the gotos.
  EXPECT_EQ(arcs(graph), (Texts{"0 ( 2", "0 x 3", "0 S 1", "2 ( 2", "2 x 3", "2 S 4", "4 ) 5"}));
  EXPECT_EQ(graph.cellOf(graph.edges[0]), "s2");
  EXPECT_EQ(graph.cellOf(graph.edges[2]), "1");
}

TEST(AutomatonGraphTest, KernelAndClosureItems) {
  // The statement grammar of the LR(1) listing: state 7 holds the empty
  // item Z->e°, which the closure added although its dot is not at the start.
  AutomatonGraph graph = automatonGraph(exampleModel(4), GraphKind::kLR1);
  ASSERT_EQ(graph.states.size(), 19u);
  EXPECT_EQ(graph.states[0].kernel, (Texts{"I->°S, $"}));
  EXPECT_EQ(graph.states[0].closure, (Texts{"S->°iEtSZ, $", "S->°a, $"}));
  EXPECT_EQ(graph.states[6].kernel, (Texts{"S->iEt°SZ, $"}));
  EXPECT_EQ(graph.states[6].closure, (Texts{"S->°iEtSZ, c$", "S->°a, c$"}));
  EXPECT_EQ(graph.states[7].kernel, (Texts{"S->iEtS°Z, $"}));
  EXPECT_EQ(graph.states[7].closure, (Texts{"Z->°cS, $", "Z->e°, $"}));
}

TEST(AutomatonGraphTest, AcceptingAndConflictingStates) {
  AutomatonGraph graph = automatonGraph(exampleModel(8), GraphKind::kLR0);
  for (const GraphState& state : graph.states) {
    EXPECT_EQ(state.accepting, state.number == 1) << state.number;
    EXPECT_EQ(state.conflicting, state.number == 3) << state.number;  // s7|r6 under '='
  }
  // The LR(1) automaton has no conflict.
  for (const GraphState& state : automatonGraph(exampleModel(8), GraphKind::kLR1).states)
    EXPECT_FALSE(state.conflicting) << state.number;
}

TEST(AutomatonGraphTest, MergedStatesNameTheirMembers) {
  AutomatonGraph graph = automatonGraph(parens(), GraphKind::kLALR);
  ASSERT_EQ(graph.states.size(), 6u);
  EXPECT_EQ(graph.states[2].title(), "State2 {2 ~ 5}");
  EXPECT_EQ(graph.states[2].kernel, (Texts{"S->(°S), )$"}));
  EXPECT_EQ(graph.states[0].title(), "State0 {0}");
  EXPECT_EQ(automatonGraph(parens(), GraphKind::kLR0).states[2].title(), "State2");
}

TEST(AutomatonGraphTest, EachStateHasItsBlockOfTheListing) {
  AutomatonGraph graph = automatonGraph(parens(), GraphKind::kLR0);
  EXPECT_EQ(graph.states[4].listing, (Texts{"State4 - Goto(State2,S):", "   S->(S°)", "", " Arcs:", "  4 --> ) --> 5",
                                            "-------------------------", ""}));
  AutomatonGraph lalr = automatonGraph(parens(), GraphKind::kLALR);
  EXPECT_EQ(lalr.states[5].listing.front(), "State5 {7 ~ 9}:");
}

// ---- grammars in the token notation

const char* const kTokenExpressions = "#notation: tokens\nE -> E + T | T\nT -> T * F | F\nF -> ( E ) | id | num\n";

TEST(AutomatonGraphTest, TokenArcsFollowTheTokenColumnsAndItemsSeparateTheDot) {
  Parsing model = modelOfText(kTokenExpressions);
  AutomatonGraph graph = automatonGraph(model, GraphKind::kLR0);
  // Columns + * ( ) id num $ E' E T F: tokens in the order first met, not by character.
  Texts all = arcs(graph);
  EXPECT_EQ(Texts(all.begin(), all.begin() + 7),
            (Texts{"0 ( 4", "0 id 5", "0 num 6", "0 E 1", "0 T 2", "0 F 3", "1 + 7"}));
  EXPECT_EQ(graph.states[0].kernel, (Texts{"E' -> ° E"}));
  EXPECT_EQ(graph.states[1].kernel, (Texts{"E' -> E °", "E -> E ° + T"}));
  EXPECT_TRUE(graph.states[1].closure.empty());
  EXPECT_TRUE(graph.states[1].accepting);
  EXPECT_FALSE(graph.states[2].accepting);
  // The arc 1 -+-> 7 is the shift in the "+" column of row 1.
  const GraphEdge& plus = graph.edges[6];
  EXPECT_EQ(graph.table[0][static_cast<size_t>(graph.columnOf(plus.symbol))], "+");
  EXPECT_EQ(graph.cellOf(plus), "s7");
  EXPECT_EQ(graph.table[0][static_cast<size_t>(graph.columnOf(graph.grammar.endMarker()))], "$");
  EXPECT_EQ(graph.columnOf(kNoSymbol), -1);
}

TEST(AutomatonGraphTest, TokenEmptyAlternativesAreClosureItems) {
  Parsing model = modelOfText("#notation: tokens\nE -> T E'\nE' -> + T E' | \xCE\xB5\nT -> id\n");
  AutomatonGraph graph = automatonGraph(model, GraphKind::kLR1);
  // E -> T E' augments: no start rule.  In Goto(0, T) the empty item the
  // closure added has its dot past the ε.
  const GraphState& afterT = graph.states[static_cast<size_t>(graph.edges[1].to)];
  ASSERT_EQ(arcs(graph)[1], "0 T " + std::to_string(afterT.number));
  EXPECT_EQ(afterT.kernel, (Texts{"E -> T ° E', $"}));
  EXPECT_EQ(afterT.closure, (Texts{"E' -> ° + T E', $", "E' -> \xCE\xB5 °, $"}));
}

TEST(AutomatonGraphTest, TokenConflictsAndMergedStates) {
  Parsing model = modelOfText("#notation: tokens\nS -> if c then S | if c then S else S | other\n");
  AutomatonGraph graph = automatonGraph(model, GraphKind::kLALR);
  int conflicting = 0;
  for (const GraphState& state : graph.states) conflicting += state.conflicting;
  EXPECT_EQ(conflicting, 1);  // the dangling else: shift else, or reduce
  EXPECT_EQ(graph.states[2].title(), "State2 {2 ~ 7}");
  EXPECT_EQ(graph.states[2].kernel, (Texts{"S -> if ° c then S, $ else", "S -> if ° c then S else S, $ else"}));
}

TEST(NeighbourhoodTest, PredecessorsAndSuccessorsWithoutTurningAround) {
  AutomatonGraph graph = automatonGraph(parens(), GraphKind::kLR0);
  EXPECT_EQ(neighbourhood(graph, 2, 0).states, (std::vector<int>{2}));
  EXPECT_EQ(neighbourhood(graph, 2, 1).states, (std::vector<int>{0, 2, 3, 4}));
  // 3 is reached from 0 and 2; state 1, another successor of 0, is no
  // predecessor of 3 and stays out.
  EXPECT_EQ(neighbourhood(graph, 3, 2).states, (std::vector<int>{0, 2, 3}));
  EXPECT_EQ(neighbourhood(graph, 0, 9).states.size(), graph.states.size());
  EXPECT_TRUE(neighbourhood(graph, 0, 9).whole);
  EXPECT_TRUE(neighbourhood(graph, 99, 1).states.empty());
}

TEST(NeighbourhoodTest, LimitsKeepTheNearestStates) {
  AutomatonGraph graph = automatonGraph(parens(), GraphKind::kLR0);
  Neighbourhood two = neighbourhood(graph, 0, 3, 2);
  EXPECT_EQ(two.states, (std::vector<int>{0, 2}));  // the first successor in column order
  EXPECT_FALSE(two.whole);
  // State 2 would bring its loop and the edge from 0; with one edge
  // allowed only state 3 fits.
  Neighbourhood fewEdges = neighbourhood(graph, 0, 3, 10, 1);
  EXPECT_EQ(fewEdges.states, (std::vector<int>{0, 3}));
  EXPECT_FALSE(fewEdges.whole);
}

TEST(NeighbourhoodTest, LargeAutomataAreNotDrawnWhole) {
  EXPECT_TRUE(drawable(automatonGraph(exampleModel(2), GraphKind::kLR1)));
  Parsing wide = modelOf({"I->S", "S->aS|bS|cS|dS|fS|gS|hS|jS|kS|lS|mS|nS|oS|pS|qS|rS|x"});
  AutomatonGraph graph = automatonGraph(wide, GraphKind::kLR1);
  ASSERT_FALSE(drawable(graph));
  EXPECT_EQ(tooLargeToDraw(graph).find("The LR(1) automaton has " + std::to_string(graph.states.size()) + " states"), 0u);
}

}  // namespace
