#include "explain/verify.h"

#include <gtest/gtest.h>

#include <tuple>

#include "explain/conflicts.h"
#include "explain/witnesses.h"
#include "explain/test_symbols.h"
#include "grammar/test_support.h"

namespace {

// Trees written by character over the symbols of a classic grammar: t('x')
// is a leaf, t('S', {...}, p) a node.
struct Trees {
  const GrammarView& grammar;
  Tree operator()(char c) const { return Tree::leaf(classicSymbolOf(grammar.grammar(), c)); }
  Tree operator()(char c, std::vector<Tree> children, int production = -1) const {
    return Tree::node(classicSymbolOf(grammar.grammar(), c), std::move(children), production);
  }
};

// The moves with their lookaheads as the classic grammar's characters.
std::vector<Move> movesOf(const Parsing& model, std::initializer_list<std::tuple<int, char, const char*, size_t>> moves) {
  std::vector<Move> out;
  for (const auto& [row, lookahead, action, read] : moves) out.push_back({row, classicSymbolOf(model.typed, lookahead), action, read});
  return out;
}

// I->S, S->(S)|x: productions 0, 1, 2.
Tree parenthesised(const Trees& t) {
  return t('I', {t('S', {t('('), t('S', {t('x')}, 2), t(')')}, 1)}, 0);
}

TEST(DerivationCheckTest, ProductionsOfTheGrammarOnly) {
  GrammarView grammar(modelOf({"I->S", "S->(S)|x"}));
  Trees t{grammar};
  EXPECT_TRUE(isDerivation(grammar, parenthesised(t)));
  EXPECT_TRUE(isDerivation(grammar, t('S', {t('x')})));  // production unknown: found by its text
  EXPECT_FALSE(isDerivation(grammar, t('S', {t('y')})));
  EXPECT_FALSE(isDerivation(grammar, t('S', {t('x')}, 1)));  // production 1 is S->(S)
  EXPECT_FALSE(isDerivation(grammar, t('S', {})));              // S cannot vanish
}

TEST(UnifyingPairCheckTest, SameRootSameFrontierDifferent) {
  GrammarView grammar(modelOf({"I->E", "E->E+E|i"}));
  Trees t{grammar};
  Tree left = t('E', {t('E', {t('E'), t('+'), t('E')}, 1), t('+'), t('E')}, 1);
  Tree right = t('E', {t('E'), t('+'), t('E', {t('E'), t('+'), t('E')}, 1)}, 1);
  EXPECT_TRUE(isUnifyingPair(grammar, left, right));
  EXPECT_FALSE(isUnifyingPair(grammar, left, left));
  EXPECT_FALSE(isUnifyingPair(grammar, left, t('E', {t('E'), t('+'), t('E')}, 1)));
  EXPECT_FALSE(isUnifyingPair(grammar, left, t('I', {right}, 0)));
  // Two alternatives with the same text: the trees differ in their productions alone.
  GrammarView twice(modelOf({"I->A", "A->a|a"}));
  Trees u{twice};
  EXPECT_TRUE(isUnifyingPair(twice, u('A', {u('a')}, 1), u('A', {u('a')}, 2)));
}

TEST(ParserMovesTest, TheSlrParserFollowsADerivation) {
  Parsing model = modelOf({"I->S", "S->(S)|x"});
  GrammarView grammar(model);
  Trees t{grammar};
  TableSet tables(model);
  std::vector<Move> moves;
  ASSERT_TRUE(lrMoves(grammar, tables[TableKind::kSLR], parenthesised(t), moves));
  EXPECT_EQ(moves, movesOf(model, {{0, '(', "s2", 0},
                                   {2, 'x', "s3", 1},
                                   {3, ')', "r2", 2},
                                   {4, ')', "s5", 2},
                                   {5, '$', "r1", 3},
                                   {1, '$', "a", 3}}));
  // Not a word yet, or not a tree of production 0: nothing to follow.
  EXPECT_FALSE(lrMoves(grammar, tables[TableKind::kSLR], t('I', {t('S')}, 0), moves));
  EXPECT_FALSE(lrMoves(grammar, tables[TableKind::kSLR], t('S', {t('x')}, 2), moves));
  auto after = [&](const char* prefix) { return lrStateAfter(grammar, tables[TableKind::kSLR], classicSymbolsOf(model.typed, prefix)); };
  EXPECT_EQ(after("(S"), 4);
  EXPECT_EQ(after("(S)"), 5);
  EXPECT_EQ(after("x)"), -1);
}

TEST(ParserMovesTest, AProductionZeroInsideIsNoMoveOfTheTable) {
  // Production 0 is E->E+T: the tables accept where it completes, they never reduce it.
  Parsing model = modelOf({"E->E+T|T", "T->i"});
  GrammarView grammar(model);
  Trees t{grammar};
  TableSet tables(model);
  Tree inner = t('E', {t('E', {t('T', {t('i')}, 2)}, 1), t('+'), t('T', {t('i')}, 2)}, 0);
  Tree outer = t('E', {inner, t('+'), t('T', {t('i')}, 2)}, 0);
  std::vector<Move> moves;
  EXPECT_TRUE(lrMoves(grammar, tables[TableKind::kLR1], inner, moves));
  EXPECT_FALSE(lrMoves(grammar, tables[TableKind::kLR1], outer, moves));
}

TEST(ParserMovesTest, TheLL1ParserPredictsAsFarAsItSeesTerminals) {
  Parsing model = exampleModel(4);  // I->S, S->iEtSZ|a, Z->cS|e, E->b
  GrammarView grammar(model);
  Trees t{grammar};
  TableSet tables(model);
  Tree tree = t('I', {t('S', {t('i'), t('E', {t('b')}), t('t'), t('S', {t('a')}),
                                               t('Z', {})})});
  std::vector<Move> moves;
  ASSERT_TRUE(ll1Moves(grammar, tables[TableKind::kLL1], tree, moves));
  EXPECT_EQ(moves, movesOf(model, {{0, 'i', "S", 0}, {1, 'i', "iEtSZ", 0}, {3, 'b', "b", 1}, {1, 'a', "a", 3}, {2, '$', "e", 4}}));
  // A non-terminal leaf before the next terminal ends the predictions there.
  Tree open = t('I', {t('S', {t('i'), t('E'), t('t'), t('S'), t('Z')})});
  ASSERT_TRUE(ll1Moves(grammar, tables[TableKind::kLL1], open, moves));
  EXPECT_EQ(moves.size(), 2u);
  EXPECT_EQ(firstDifference(moves, moves), -1);
}

TEST(ParserMovesTest, EveryChoiceAtAConflictIsTried) {
  // S->S(S)S|e: only a word that opens a parenthesis reaches LR(1) state 9.
  Parsing model = modelOf({"I->S", "S->S(S)S|e"});
  GrammarView grammar(model);
  TableSet tables(model);
  const TableView& t = tables[TableKind::kLR1];
  auto reaches = [&](const char* word, int row) {
    return reachesCell(grammar, t, classicSymbolsOf(model.typed, word), row, classicSymbolOf(model.typed, '('));
  };
  EXPECT_TRUE(reaches("()()", 6));
  EXPECT_FALSE(reaches("()()", 9));
  EXPECT_TRUE(reaches("(()())", 9));
}

// The explanation of one cell, found by the program.
Counterexample counterexampleOf(TableSet& tables, TableKind kind, int row, Symbol symbol) {
  SearchBounds bounds;
  bounds.secondsPerConflict = bounds.secondsPerTable = 600;
  std::optional<Conflict> c = explainCell(tables, kind, row, symbol, bounds);
  return c ? c->counterexample : Counterexample{};
}

TEST(CounterexampleCheckTest, ATwinsCounterexampleIsRefused) {
  Parsing model = modelOf({"I->S", "S->S(S)S|e"});
  GrammarView grammar(model);
  TableSet tables(model);
  const TableView& t = tables[TableKind::kLR1];
  Symbol open = classicSymbolOf(model.typed, '(');
  Counterexample twin = counterexampleOf(tables, TableKind::kLR1, 6, open);
  ASSERT_EQ(twin.kind, Counterexample::Kind::kUnifying);
  EXPECT_TRUE(explainsLRCell(grammar, t, twin, 6, open));
  EXPECT_FALSE(explainsLRCell(grammar, t, twin, 9, open));
  // The same trees under the entries of the other cell still part in state 6.
  twin.actions[0] = twin.actions[0][0] == 's' ? "s5" : twin.actions[0];
  twin.actions[1] = twin.actions[1][0] == 's' ? "s5" : twin.actions[1];
  EXPECT_FALSE(explainsLRCell(grammar, t, twin, 9, open));
  Counterexample own = counterexampleOf(tables, TableKind::kLR1, 9, open);
  EXPECT_TRUE(explainsLRCell(grammar, t, own, 9, open));
  std::swap(own.trees[0], own.trees[1]);  // the actions no longer those of their trees
  EXPECT_FALSE(explainsLRCell(grammar, t, own, 9, open));
}

TEST(CounterexampleCheckTest, AHalfNonUnifyingOneIsRefused) {
  Parsing model = exampleModel(8);
  GrammarView grammar(model);
  TableSet tables(model);
  Symbol equals = classicSymbolOf(model.typed, '=');
  Counterexample ce = counterexampleOf(tables, TableKind::kSLR, 3, equals);
  ASSERT_EQ(ce.kind, Counterexample::Kind::kNonUnifying);
  EXPECT_TRUE(explainsLRCell(grammar, tables[TableKind::kSLR], ce, 3, equals));
  ce.examples.pop_back();
  EXPECT_FALSE(explainsLRCell(grammar, tables[TableKind::kSLR], ce, 3, equals));
}

}  // namespace
