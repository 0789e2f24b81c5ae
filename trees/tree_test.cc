#include "trees/tree.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "core/work.h"
#include "trees/tree_dot.h"

namespace {

// E->E+TG with T->i, and an empty production G->e; S->aS|b for deep chains;
// a quote and a backslash for the escapes of JSON.
const Grammar& classic() {
  static const Grammar grammar = classicGrammar({"E->E+TG", "T->i", "G->e", "S->aS|b", "Q->\"\\"});
  return grammar;
}

Tree leaf(char c) { return Tree::leaf(classic().symbolNamed(std::string(1, c))); }
Tree node(char c, std::vector<Tree> children, int production = -1) {
  return Tree::node(classic().symbolNamed(std::string(1, c)), std::move(children), production);
}

Tree sample() {
  Tree t = node('T', {leaf('i')});
  Tree g = node('G', {});
  return node('E', {leaf('E'), leaf('+'), t, g});
}

TEST(TreeTest, FrontierSkipsEmptyProductions) { EXPECT_EQ(frontier(classic(), sample()), "E+i"); }

TEST(TreeTest, ProductionsFromTheRootDown) {
  EXPECT_EQ(productionsOf(classic(), sample()), (std::vector<std::string>{"E->E+TG", "T->i", "G->e"}));
}

TEST(TreeTest, JsonLeavesHaveNoChildrenEmptyProductionsAnEmptyList) {
  EXPECT_EQ(treeJson(classic(), sample()),
            "{\"symbol\": \"E\", \"children\": [{\"symbol\": \"E\"}, {\"symbol\": \"+\"}, "
            "{\"symbol\": \"T\", \"children\": [{\"symbol\": \"i\"}]}, {\"symbol\": \"G\", \"children\": []}]}");
  EXPECT_EQ(treeJson(classic(), leaf('"')), "{\"symbol\": \"\\\"\"}");
  EXPECT_EQ(treeJson(classic(), leaf('\\')), "{\"symbol\": \"\\\\\"}");
}

TEST(TreeTest, IndentedLines) {
  EXPECT_EQ(treeLines(classic(), sample()), (std::vector<std::string>{"E", "  E", "  +", "  T", "    i", "  G", "    e"}));
}

TEST(TreeTest, LeftmostDerivationExpandsInPreorder) {
  EXPECT_EQ(leftmostDerivation(classic(), sample()), (std::vector<std::string>{"E", "E+TG", "E+iG", "E+i"}));
  EXPECT_EQ(leftmostDerivation(classic(), leaf('a')), (std::vector<std::string>{"a"}));
}

// The token notation names whole tokens, blanks between them, and writes
// the empty string as ε; the JSON keeps the shape, a name a symbol.
class TokenTreeTest : public ::testing::Test {
 protected:
  Grammar grammar = tokenGrammar();
  Symbol named(const char* name) const { return grammar.symbolNamed(name); }
  // Expr -> Expr '+' Term Rest, Term -> id, Rest -> ε
  Tree sample() const {
    return Tree::node(named("Expr"), {Tree::leaf(named("Expr")), Tree::leaf(named("+")),
                                      Tree::node(named("Term"), {Tree::leaf(named("id"))}), Tree::node(named("Rest"), {})});
  }

 private:
  static Grammar tokenGrammar() {
    Grammar g;
    g.notation = Notation::kTokens;
    Symbol expr = g.addSymbol("Expr", false), term = g.addSymbol("Term", false), rest = g.addSymbol("Rest", false);
    Symbol plus = g.addSymbol("+", true), id = g.addSymbol("id", true);
    g.productions = {{expr, {expr, plus, term, rest}}, {term, {id}}, {rest, {}}};
    return g;
  }
};

TEST_F(TokenTreeTest, TextNamesTokensBetweenBlanks) {
  EXPECT_EQ(frontier(grammar, sample()), "Expr + id");
  EXPECT_EQ(productionsOf(grammar, sample()), (std::vector<std::string>{"Expr -> Expr + Term Rest", "Term -> id", "Rest -> \u03b5"}));
  EXPECT_EQ(treeLines(grammar, sample()),
            (std::vector<std::string>{"Expr", "  Expr", "  +", "  Term", "    id", "  Rest", "    \u03b5"}));
  EXPECT_EQ(leftmostDerivation(grammar, sample()),
            (std::vector<std::string>{"Expr", "Expr + Term Rest", "Expr + id Rest", "Expr + id"}));
}

TEST_F(TokenTreeTest, JsonAndDotNameWholeTokens) {
  EXPECT_EQ(treeJson(grammar, Tree::node(named("Term"), {Tree::leaf(named("id"))})),
            "{\"symbol\": \"Term\", \"children\": [{\"symbol\": \"id\"}]}");
  std::string dot = forestDot(grammar, {sample()});
  EXPECT_NE(dot.find("label=\"Term\"]"), std::string::npos);  // a non-terminal, in black
  EXPECT_NE(dot.find("label=\"id\", fontcolor"), std::string::npos);
  EXPECT_NE(dot.find("label=\"\u03b5\""), std::string::npos);
}

TEST(TreeTest, EqualityHonoursKnownProductionNumbers) {
  Tree a = node('S', {leaf('a')}, 1);
  EXPECT_TRUE(a == node('S', {leaf('a')}));  // unknown matches any
  EXPECT_FALSE(a == node('S', {leaf('a')}, 2));
  EXPECT_FALSE(node('S', {}) == leaf('S'));
}

TEST(TreeTest, SideBySideCountsCharactersNotBytes) {
  EXPECT_EQ(sideBySide({"°a", "b"}, {"x", "y", "z"}, 2), (std::vector<std::string>{"°a  x", "b   y", "    z"}));
}

// A chain of `depth` nodes S->aS, ending in S->b: deeper than any call
// stack would hold with one frame a level.
Tree chain(int depth) {
  Tree tree = node('S', {leaf('a'), leaf('S')});
  Tree* end = &tree.children[1];
  for (int k = 1; k < depth; ++k) {
    *end = node('S', {leaf('a'), leaf('S')});
    end = &end->children[1];
  }
  *end = node('S', {leaf('b')});
  return tree;
}

constexpr int kDeep = 300'000;

TEST(DeepTreeTest, CopiedComparedAndDestroyedWithoutRecursion) {
  Tree deep = chain(kDeep);
  Tree copy = deep;
  EXPECT_TRUE(copy == deep);
  copy = leaf('a');  // the old tree goes
  EXPECT_FALSE(copy == deep);
  Tree moved = std::move(deep);
  EXPECT_EQ(frontier(classic(), moved).size(), static_cast<size_t>(kDeep) + 1);
}

TEST(DeepTreeTest, EveryWriterWalksItWhole) {
  Tree deep = chain(kDeep);
  EXPECT_EQ(productionsOf(classic(), deep).size(), static_cast<size_t>(kDeep) + 1);
  std::string json = treeJson(classic(), deep);
  EXPECT_TRUE(nlohmann::json::accept(json));
  std::string dot = forestDot(classic(), {deep});
  EXPECT_NE(dot.find("n" + std::to_string(2 * kDeep) + " -> n" + std::to_string(2 * kDeep + 1)), std::string::npos);
  std::vector<std::string> forms = leftmostDerivation(classic(), chain(2000));
  EXPECT_EQ(forms.back(), std::string(2000, 'a') + "b");
}

TEST(DeepTreeTest, IndentedTextStopsAtTheLimitOfTheOutput) {
  WorkLimits limits;
  limits.outputMiB = 1;
  WorkScope scope(limits);
  EXPECT_EQ(treeLines(classic(), chain(500)).size(), 1002u);  // about 0.5 MB of indentation
  try {
    treeLines(classic(), chain(2000));  // about 8 MB
    ADD_FAILURE() << "no limit";
  } catch (const WorkStopped& stopped) {
    EXPECT_EQ(std::string(stopped.what()), "The output has more than 1 MiB; that is the limit of one command.");
  }
}

}  // namespace
