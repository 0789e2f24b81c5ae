#include "trees/evaluation_tree.h"

#include <gtest/gtest.h>

#include <climits>
#include <nlohmann/json.hpp>

#include "core/work.h"
#include "grammar/symbol_text.h"

#include "grammar/test_support.h"
#include "layout/graphviz.h"
#include "trees/tree_dot.h"

namespace {

Parsing parens() { return modelOf({"I->S", "S->(S)|x"}); }

EvaluationTree treeOf(const Parsing& model, TableKind kind, const char* word) {
  return EvaluationTree(model, evaluation(model, kind, word));
}

std::string json(const Parsing& model, const std::vector<Tree>& forest) {
  std::string out;
  for (const Tree& tree : forest) out += treeJson(model.typed, tree) + "\n";
  return out;
}

TEST(EvaluationTreeTest, AcceptedWordGivesTheDerivationTree) {
  Parsing model = parens();
  EvaluationTree tree = treeOf(model, TableKind::kSLR, "(x)");
  EXPECT_EQ(json(model, tree.forest()),
            "{\"symbol\": \"I\", \"children\": [{\"symbol\": \"S\", \"children\": [{\"symbol\": \"(\"}, "
            "{\"symbol\": \"S\", \"children\": [{\"symbol\": \"x\"}]}, {\"symbol\": \")\"}]}]}\n");
}

TEST(EvaluationTreeTest, LRForestJoinsStepByStep) {
  // Shift, Shift, Reduce S->x, Shift, Reduce S->(S), Accept.
  Parsing model = parens();
  const Grammar& g = model.typed;
  EvaluationTree tree = treeOf(model, TableKind::kSLR, "(x)");
  ASSERT_EQ(tree.steps(), 6);
  EXPECT_TRUE(tree.forestAfter(0).empty());
  std::vector<Tree> three = tree.forestAfter(3);
  ASSERT_EQ(three.size(), 2u);
  EXPECT_EQ(frontier(g, three[0]) + "|" + frontier(g, three[1]), "(|x");
  EXPECT_EQ(productionsOf(g, three[1]), (std::vector<std::string>{"S->x"}));
  EXPECT_EQ(tree.forestAfter(4).size(), 3u);
  EXPECT_EQ(tree.forestAfter(5).size(), 1u);
  EXPECT_EQ(tree.forestAfter(5)[0].symbol, g.symbolNamed("S"));
  EXPECT_EQ(tree.forestAfter(6)[0].symbol, g.symbolNamed("I"));
}

TEST(EvaluationTreeTest, EachStepKnowsTheCellsItRead) {
  Parsing model = parens();
  Table slr = table(model, TableKind::kSLR);
  EvaluationTree tree(model, evaluation(model, TableKind::kSLR, "(x)"));
  auto text = [&](CellRef cell) { return std::string(slr[cell.row][cell.column].view()); };
  EXPECT_EQ(text(tree.actionCell(1)), "s2");
  EXPECT_EQ(tree.stateAt(3), 3);
  EXPECT_EQ(text(tree.actionCell(3)), "r2");  // state 3 under ')'
  EXPECT_EQ(text(tree.gotoCell(3)), "4");     // then state 2 under S
  EXPECT_FALSE(tree.gotoCell(4).valid());     // a shift reads no goto
  EXPECT_EQ(text(tree.actionCell(6)), "a");
}

TEST(EvaluationTreeTest, LL1GrowsFromTheRootDown) {
  Parsing model = exampleModel(2);  // the expression grammar with G and H
  Table ll1 = table(model, TableKind::kLL1);
  EvaluationTree tree(model, evaluation(model, TableKind::kLL1, "i"));
  // I->E, E->TG, T->FH, F->i, match, H->e, G->e, Accept.
  ASSERT_EQ(tree.steps(), 8);
  EXPECT_EQ(frontier(model.typed, tree.forestAfter(0)[0]), "I");
  EXPECT_EQ(frontier(model.typed, tree.forestAfter(2)[0]), "TG");
  EXPECT_EQ(json(model, tree.forest()),
            "{\"symbol\": \"I\", \"children\": [{\"symbol\": \"E\", \"children\": [{\"symbol\": \"T\", \"children\": "
            "[{\"symbol\": \"F\", \"children\": [{\"symbol\": \"i\"}]}, {\"symbol\": \"H\", \"children\": []}]}, "
            "{\"symbol\": \"G\", \"children\": []}]}]}\n");
  EXPECT_EQ(std::string(ll1[tree.actionCell(2).row][tree.actionCell(2).column].view()), "E->TG");
  EXPECT_FALSE(tree.actionCell(5).valid());  // matching i reads no cell
  EXPECT_EQ(tree.stateAt(2), -1);
  int leaf = tree.nodes()[tree.nodes()[tree.nodes()[0].children[0]].children[0]].children[0];  // F
  EXPECT_EQ(tree.nodes()[static_cast<size_t>(tree.nodes()[static_cast<size_t>(leaf)].children[0])].matched, 5);
}

TEST(EvaluationTreeTest, RejectedWordsLeaveThePartialTreeOrTheStacksForest) {
  // LL(1): after "i+" the T and G of G->+TG stay unexpanded: T has no entry under '$'.
  Parsing expressions = exampleModel(2);
  EvaluationTree ll1 = treeOf(expressions, TableKind::kLL1, "i+");
  ASSERT_EQ(ll1.forest().size(), 1u);
  EXPECT_EQ(frontier(expressions.typed, ll1.forest()[0]), "i+TG");
  EXPECT_EQ(productionsOf(expressions.typed, ll1.forest()[0]),
            (std::vector<std::string>{"I->E", "E->TG", "T->FH", "F->i", "H->e", "G->+TG"}));
  // SLR: x is read and reduced, then ')' has no action in state 1.
  Parsing model = parens();
  EvaluationTree slr = treeOf(model, TableKind::kSLR, "x)");
  ASSERT_EQ(slr.forest().size(), 1u);
  EXPECT_EQ(treeJson(model.typed, slr.forest()[0]), "{\"symbol\": \"S\", \"children\": [{\"symbol\": \"x\"}]}");
  EXPECT_TRUE(slr.actionCell(slr.steps()).valid());  // the empty cell that stopped it
  // LR(1) stops before the reduction: its lookahead for S->x° is $ alone.
  EXPECT_EQ(json(model, treeOf(model, TableKind::kLR1, "x)").forest()), "{\"symbol\": \"x\"}\n");
}

TEST(EvaluationTreeTest, EmptyWordThroughAnEmptyProduction) {
  const char* expected = "{\"symbol\": \"I\", \"children\": [{\"symbol\": \"A\", \"children\": []}]}\n";
  Parsing model = exampleModel(1);
  for (TableKind kind : kTableKinds) EXPECT_EQ(json(model, treeOf(model, kind, "").forest()), expected) << tableName(kind);
}

TEST(EvaluationTreeTest, PreorderNamesTheNodesOfTheDrawing) {
  Parsing model = exampleModel(6);
  EvaluationTree tree = treeOf(model, TableKind::kLALR, "i+i*i");
  std::string symbols;
  for (int node : tree.preorder()) symbols += symbolName(model.typed, tree.nodes()[static_cast<size_t>(node)].symbol);
  std::string lines;
  for (const std::string& line : treeLines(model.typed, tree.forest()[0])) lines += line.substr(line.find_first_not_of(' '));
  EXPECT_EQ(symbols, lines);
}

// A parse as deep as its word is long, top down (LL(1), right recursion)
// and bottom up (LR, left recursion, which keeps the LR stack short).
TEST(EvaluationTreeTest, DeepParsesReplayWithoutRecursion) {
  // The traces repeat the rest of the word on every row: gigabytes of text
  // that is never written.
  WorkLimits unwritten;
  unwritten.outputMiB = LONG_MAX;
  WorkScope scope(unwritten);
  const int n = 150'000;
  std::string right = std::string(n, 'a') + "b";
  Parsing rightRecursive = modelOf({"S->aS|b"});
  std::vector<Tree> ll1 = treeOf(rightRecursive, TableKind::kLL1, right.c_str()).forest();
  ASSERT_EQ(ll1.size(), 1u);
  EXPECT_EQ(frontier(rightRecursive.typed, ll1[0]), right);
  EXPECT_TRUE(nlohmann::json::accept(treeJson(rightRecursive.typed, ll1[0])));
  std::string left = "b" + std::string(n, 'a');
  Parsing leftRecursive = modelOf({"I->S", "S->Sa|b"});
  std::vector<Tree> slr = treeOf(leftRecursive, TableKind::kSLR, left.c_str()).forest();
  ASSERT_EQ(slr.size(), 1u);
  EXPECT_EQ(productionsOf(leftRecursive.typed, slr[0]).size(), static_cast<size_t>(n) + 2);
  EXPECT_NE(forestDot(leftRecursive.typed, slr).find("n" + std::to_string(2 * n + 1) + " [id="), std::string::npos);
}

TEST(ForestDotTest, TreesTopDownChildrenInOrderForestLeftToRight) {
  Parsing model = parens();
  EvaluationTree tree = treeOf(model, TableKind::kSLR, "(x)");
  GraphLayout layout = layoutDot(forestDot(model.typed, tree.forestAfter(4)));  // (, S(x), )
  // Preorder: n0 "(", n1 S, n2 x, n3 ")".
  EXPECT_LT(layout.node("n1")->centre.y, layout.node("n2")->centre.y);
  EXPECT_LT(layout.node("n0")->centre.x, layout.node("n1")->centre.x);
  EXPECT_LT(layout.node("n1")->centre.x, layout.node("n3")->centre.x);
  Parsing withEmpty = exampleModel(1);
  GraphLayout empty = layoutDot(forestDot(withEmpty.typed, treeOf(withEmpty, TableKind::kLL1, "").forest()));
  ASSERT_NE(empty.node("e1"), nullptr);  // A->e under node 1
  Grammar quotes = classicGrammar({"S->\"\\"});
  EXPECT_EQ(dotProblem(forestDot(quotes, {Tree::leaf(quotes.symbolNamed("\"")), Tree::leaf(quotes.symbolNamed("\\"))})), "");
}

}  // namespace

namespace {

// The tree as "head(children)" with the grammar's names.
std::string bracketed(const Grammar& grammar, const EvaluationTree& tree, int node) {
  const TreeNode& n = tree.nodes()[static_cast<size_t>(node)];
  std::string text(symbolName(grammar, n.symbol));
  if (!n.expanded) return text;
  text += "(";
  for (size_t k = 0; k < n.children.size(); ++k) text += (k > 0 ? " " : "") + bracketed(grammar, tree, n.children[k]);
  return text + ")";
}

TEST(EvaluationTreeTest, TokenTreesFromTheSteps) {
  Parsing model = modelOfText(kTokenExpressions);
  EvaluationTree tree(model, evaluation(model, TableKind::kLALR, "id + num * ( id )"));
  std::vector<int> roots = tree.rootsAfter(tree.steps());
  ASSERT_EQ(roots.size(), 1u);
  EXPECT_EQ(bracketed(model.typed, tree, roots[0]),
            "E'(E(E(T(F(id))) + T(T(F(num)) * F(( E(T(F(id))) )))))");
  // After the first shift and reduction, the forest is F over id.
  std::vector<int> early = tree.rootsAfter(2);
  ASSERT_EQ(early.size(), 1u);
  EXPECT_EQ(bracketed(model.typed, tree, early[0]), "F(id)");
  EXPECT_TRUE(tree.actionCell(1).valid());
  EXPECT_TRUE(tree.gotoCell(2).valid());
}

TEST(EvaluationTreeTest, RefusedEvaluationsHaveNoTree) {
  Parsing model = modelOfText("#notation: tokens\nP -> S\nS -> if S | if S else S | other\n");
  EvaluationTree tree(model, evaluation(model, TableKind::kSLR, "if other"));
  EXPECT_EQ(tree.steps(), 0);
  EXPECT_TRUE(tree.nodes().empty());
}

}  // namespace
