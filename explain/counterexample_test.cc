#include "explain/counterexample.h"

#include <gtest/gtest.h>

#include <set>

#include "explain/conflicts.h"
#include "explain/verify.h"
#include "explain/test_symbols.h"
#include "grammar/symbol_text.h"
#include "grammar/test_support.h"

namespace {

// Only the steps bound the searches here.
SearchBounds steps(long n) {
  SearchBounds bounds;
  bounds.stepsPerConflict = n;
  bounds.secondsPerConflict = 600;
  bounds.secondsPerTable = 6000;
  return bounds;
}

Counterexample counterexampleOf(const Parsing& model, TableKind kind, int row, char symbol, SearchBounds bounds = steps(100'000)) {
  TableSet tables(model);
  std::optional<Conflict> c = explainCell(tables, kind, row, classicSymbolOf(model.typed, symbol), bounds);
  EXPECT_TRUE(c.has_value());
  return c ? c->counterexample : Counterexample{};
}

TEST(UnifyingTest, PrecedenceOfTwoOperators) {
  Parsing model = modelOf({"I->E", "E->E+E|E*E|i"});
  Counterexample ce = counterexampleOf(model, TableKind::kSLR, 5, '*');
  ASSERT_EQ(ce.kind, Counterexample::Kind::kUnifying);
  // Shifting * groups E*E below +; reducing first puts E+E below *.
  EXPECT_EQ(ce.actions[0], "s4");
  EXPECT_EQ(ce.actions[1], "r1");
  EXPECT_EQ(treeJson(model.typed, ce.trees[0]),
            R"({"symbol": "E", "children": [{"symbol": "E"}, {"symbol": "+"}, )"
            R"({"symbol": "E", "children": [{"symbol": "E"}, {"symbol": "*"}, {"symbol": "E"}]}]})");
  EXPECT_EQ(treeJson(model.typed, ce.trees[1]),
            R"({"symbol": "E", "children": [{"symbol": "E", "children": [{"symbol": "E"}, {"symbol": "+"}, )"
            R"({"symbol": "E"}]}, {"symbol": "*"}, {"symbol": "E"}]})");
  EXPECT_EQ(symbolsText(model.typed, ce.word), "i+i*i");
}

TEST(UnifyingTest, AssociativityOfOneOperator) {
  Parsing model = modelOf({"I->E", "E->E+E|E*E|i"});
  Counterexample ce = counterexampleOf(model, TableKind::kLALR, 5, '+');
  ASSERT_EQ(ce.kind, Counterexample::Kind::kUnifying);
  EXPECT_EQ(frontier(model.typed, ce.trees[0]), "E+E+E");
  EXPECT_EQ(symbolsText(model.typed, ce.word), "i+i+i");
}

TEST(UnifyingTest, TheDanglingElse) {
  Parsing model = modelOf({"I->S", "S->iEtS|iEtSlS|a", "E->b"});
  Counterexample ce = counterexampleOf(model, TableKind::kLR1, 14, 'l');
  ASSERT_EQ(ce.kind, Counterexample::Kind::kUnifying);
  EXPECT_EQ(frontier(model.typed, ce.trees[0]), "iEtiEtSlS");
  EXPECT_EQ(symbolsText(model.typed, ce.word), "ibtibtala");
  EXPECT_EQ(productionsOf(model.typed, ce.trees[0]), (std::vector<std::string>{"S->iEtS", "S->iEtSlS"}));
  EXPECT_EQ(productionsOf(model.typed, ce.trees[1]), (std::vector<std::string>{"S->iEtSlS", "S->iEtS"}));
}

TEST(UnifyingTest, ACycleOfUnitProductions) {
  // S->A and A->S: A derives itself, so every form of A has many trees.
  Counterexample ce = counterexampleOf(modelOf({"I->S", "S->A", "A->S|x"}), TableKind::kSLR, 1, '$');
  ASSERT_EQ(ce.kind, Counterexample::Kind::kUnifying);
  EXPECT_EQ(ce.actions[0], "r2");
  EXPECT_EQ(ce.actions[1], "a");
}

// An LR(1) state has twins with the same items and other lookaheads: the
// counterexample of a cell must lead into that very state.
void expectOwnCell(const Parsing& model, int state, char character, const std::string& cell) {
  Symbol symbol = classicSymbolOf(model.typed, character);
  TableSet tables(model);
  const TableView& t = tables[TableKind::kLR1];
  ASSERT_EQ(t.cell(state, symbol), cell);
  std::optional<Conflict> c = explainCell(tables, TableKind::kLR1, state, symbol, steps(100'000));
  ASSERT_TRUE(c.has_value());
  const Counterexample& ce = c->counterexample;
  ASSERT_EQ(ce.kind, Counterexample::Kind::kUnifying);
  std::set<std::string> actions{ce.actions[0], ce.actions[1]};
  std::vector<std::string> entries = TableView::entries(cell);
  EXPECT_EQ(actions, std::set<std::string>(entries.begin(), entries.end()));
  GrammarView grammar(model);
  EXPECT_TRUE(reachesCell(grammar, t, ce.word, state, symbol));
  EXPECT_TRUE(explainsLRCell(grammar, t, ce, state, symbol));
}

TEST(UnifyingTest, InsideAParenthesisNotBesideIt) {
  // State 6 holds the same items with other lookaheads; ()() reaches only it.
  Parsing model = modelOf({"I->S", "S->S(S)S|e"});
  expectOwnCell(model, 9, '(', "r1|s5");
  TableSet tables(model);
  std::optional<Conflict> c = explainCell(tables, TableKind::kLR1, 9, classicSymbolOf(model.typed, '('), steps(100'000));
  ASSERT_TRUE(c.has_value());
  ASSERT_FALSE(c->counterexample.word.empty());
  EXPECT_EQ(c->counterexample.word[0], classicSymbolOf(model.typed, '('));
}

TEST(UnifyingTest, PrecedenceInsideAParenthesis) {
  expectOwnCell(modelOf({"I->E", "E->E+E|E*E|(E)|i"}), 15, '*', "r1|s13");
}

TEST(NonUnifyingTest, AnAnalysisForEveryEntry) {
  // A => CBB => DABB => AAABB => AAbBB needs the shift; a reduction by D->AA the other entry.
  Parsing model = modelOf({"A->CBB|AaA|b", "B->DCb|a", "C->AAa|Db|DA|b", "D->AA|AAa|Cb|b"});
  TableSet tables(model);
  Symbol b = classicSymbolOf(model.typed, 'b');
  ASSERT_EQ(tables[TableKind::kSLR].cell(9, b), "r9|s4");
  Counterexample ce = counterexampleOf(model, TableKind::kSLR, 9, 'b');
  ASSERT_NE(ce.kind, Counterexample::Kind::kNone) << ce.note;
  std::set<std::string> actions;
  for (const Counterexample::Example& example : ce.examples) actions.insert(example.action);
  if (ce.kind == Counterexample::Kind::kUnifying) actions = {ce.actions[0], ce.actions[1]};
  EXPECT_EQ(actions, (std::set<std::string>{"r9", "s4"}));
  EXPECT_TRUE(explainsLRCell(GrammarView(model), tables[TableKind::kSLR], ce, 9, b));
}

TEST(NonUnifyingTest, AnSlrReductionOnlyFollowWants) {
  Parsing model = exampleModel(8);
  Counterexample ce = counterexampleOf(model, TableKind::kSLR, 3, '=');
  ASSERT_EQ(ce.kind, Counterexample::Kind::kNonUnifying);
  EXPECT_EQ(symbolsText(model.typed, ce.prefix), "L");
  ASSERT_EQ(ce.examples.size(), 2u);
  EXPECT_EQ(ce.examples[0].action, "s7");
  EXPECT_EQ(frontier(model.typed, ce.examples[0].tree), "L=R");
  EXPECT_TRUE(ce.examples[0].symbolNext);
  // No derivation puts = after R here: the reduction has no example with =.
  EXPECT_EQ(ce.examples[1].action, "r6");
  EXPECT_EQ(frontier(model.typed, ce.examples[1].tree), "L");
  EXPECT_FALSE(ce.examples[1].symbolNext);
}

TEST(NonUnifyingTest, MergedStatesNeedPrefixesOfTheirOwn) {
  Parsing model = modelOf({"I->S", "S->aAd|bBd|aBf|bAf", "A->c", "B->c"});
  Counterexample ce = counterexampleOf(model, TableKind::kLALR, 6, 'd');
  ASSERT_EQ(ce.kind, Counterexample::Kind::kNonUnifying);
  ASSERT_EQ(ce.examples.size(), 2u);
  std::set<std::string> forms{frontier(model.typed, ce.examples[0].tree), frontier(model.typed, ce.examples[1].tree)};
  EXPECT_EQ(forms, (std::set<std::string>{"acd", "bcd"}));
  EXPECT_NE(ce.examples[0].prefix, ce.examples[1].prefix);
  EXPECT_TRUE(ce.examples[0].symbolNext && ce.examples[1].symbolNext);
}

TEST(NonUnifyingTest, LL1LeftRecursion) {
  Parsing model = exampleModel(6);
  Counterexample ce = counterexampleOf(model, TableKind::kLL1, 2, 'i', steps(2000));
  ASSERT_EQ(ce.kind, Counterexample::Kind::kNonUnifying);
  EXPECT_TRUE(ce.prefix.empty());
  ASSERT_EQ(ce.examples.size(), 2u);
  EXPECT_EQ(ce.examples[0].action, "E->E+T");
  EXPECT_EQ(frontier(model.typed, ce.examples[0].tree), "i+T");
  EXPECT_EQ(ce.examples[1].action, "E->T");
  EXPECT_EQ(frontier(model.typed, ce.examples[1].tree), "i");
  // Its LR(1) table has no conflict: no search is needed to know there is no unifying one.
  EXPECT_EQ(ce.note, "No unifying counterexample can exist: the LR(1) table has no conflict, so the grammar is unambiguous.");
}

TEST(BoundsTest, AnUnambiguousGrammarThatIsNotLR1) {
  // S->aSa|a: nothing proves it unambiguous in advance, so the search runs to its bound.
  Counterexample ce = counterexampleOf(modelOf({"I->S", "S->aSa|a"}), TableKind::kLL1, 1, 'a', steps(50));
  EXPECT_EQ(ce.kind, Counterexample::Kind::kNonUnifying);
  EXPECT_EQ(ce.note, "No unifying counterexample within 50 search steps.");
}

TEST(BoundsTest, StepsAndNoSearch) {
  // Both searches keep to the steps: nothing found, nothing shown.
  Counterexample few = counterexampleOf(modelOf({"I->E", "E->E+E|E*E|i"}), TableKind::kSLR, 5, '*', steps(3));
  EXPECT_EQ(few.kind, Counterexample::Kind::kNone);
  EXPECT_EQ(few.note, "No unifying counterexample within 3 search steps. No counterexample could be found and checked.");
  SearchBounds none;
  none.search = false;
  Counterexample off = counterexampleOf(exampleModel(4), TableKind::kSLR, 7, 'c', none);
  EXPECT_EQ(off.kind, Counterexample::Kind::kNone);
  EXPECT_EQ(off.note, "");
}

}  // namespace
