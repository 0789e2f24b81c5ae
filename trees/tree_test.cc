#include "trees/tree.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "core/work.h"
#include "trees/tree_dot.h"

namespace {

// E->E+T with T->i, and an empty production G->e.
Tree sample() {
  Tree t = Tree::node('T', {Tree::leaf('i')});
  Tree g = Tree::node('G', {});
  return Tree::node('E', {Tree::leaf('E'), Tree::leaf('+'), t, g});
}

TEST(TreeTest, FrontierSkipsEmptyProductions) { EXPECT_EQ(frontier(sample()), "E+i"); }

TEST(TreeTest, ProductionsFromTheRootDown) {
  EXPECT_EQ(productionsOf(sample()), (std::vector<std::string>{"E->E+TG", "T->i", "G->e"}));
}

TEST(TreeTest, JsonLeavesHaveNoChildrenEmptyProductionsAnEmptyList) {
  EXPECT_EQ(treeJson(sample()),
            "{\"symbol\": \"E\", \"children\": [{\"symbol\": \"E\"}, {\"symbol\": \"+\"}, "
            "{\"symbol\": \"T\", \"children\": [{\"symbol\": \"i\"}]}, {\"symbol\": \"G\", \"children\": []}]}");
  EXPECT_EQ(treeJson(Tree::leaf('"')), "{\"symbol\": \"\\\"\"}");
}

TEST(TreeTest, IndentedLines) {
  EXPECT_EQ(treeLines(sample()), (std::vector<std::string>{"E", "  E", "  +", "  T", "    i", "  G", "    e"}));
}

TEST(TreeTest, LeftmostDerivationExpandsInPreorder) {
  EXPECT_EQ(leftmostDerivation(sample()), (std::vector<std::string>{"E", "E+TG", "E+iG", "E+i"}));
  EXPECT_EQ(leftmostDerivation(Tree::leaf('x')), (std::vector<std::string>{"x"}));
}

TEST(TreeTest, EqualityHonoursKnownProductionNumbers) {
  Tree a = Tree::node('A', {Tree::leaf('a')}, 1);
  EXPECT_TRUE(a == Tree::node('A', {Tree::leaf('a')}));  // unknown matches any
  EXPECT_FALSE(a == Tree::node('A', {Tree::leaf('a')}, 2));
  EXPECT_FALSE(Tree::node('A', {}) == Tree::leaf('A'));
}

TEST(TreeTest, SideBySideCountsCharactersNotBytes) {
  EXPECT_EQ(sideBySide({"°a", "b"}, {"x", "y", "z"}, 2), (std::vector<std::string>{"°a  x", "b   y", "    z"}));
}

// A chain of `depth` nodes S->aS, ending in S->b: deeper than any call
// stack would hold with one frame a level.
Tree chain(int depth) {
  Tree tree = Tree::node('S', {Tree::leaf('a'), Tree::leaf('S')});
  Tree* end = &tree.children[1];
  for (int k = 1; k < depth; ++k) {
    *end = Tree::node('S', {Tree::leaf('a'), Tree::leaf('S')});
    end = &end->children[1];
  }
  *end = Tree::node('S', {Tree::leaf('b')});
  return tree;
}

constexpr int kDeep = 300'000;

TEST(DeepTreeTest, CopiedComparedAndDestroyedWithoutRecursion) {
  Tree deep = chain(kDeep);
  Tree copy = deep;
  EXPECT_TRUE(copy == deep);
  copy = Tree::leaf('x');  // the old tree goes
  EXPECT_FALSE(copy == deep);
  Tree moved = std::move(deep);
  EXPECT_EQ(frontier(moved).size(), static_cast<size_t>(kDeep) + 1);
}

TEST(DeepTreeTest, EveryWriterWalksItWhole) {
  Tree deep = chain(kDeep);
  EXPECT_EQ(productionsOf(deep).size(), static_cast<size_t>(kDeep) + 1);
  std::string json = treeJson(deep);
  EXPECT_TRUE(nlohmann::json::accept(json));
  std::string dot = forestDot({deep});
  EXPECT_NE(dot.find("n" + std::to_string(2 * kDeep) + " -> n" + std::to_string(2 * kDeep + 1)), std::string::npos);
  std::vector<std::string> forms = leftmostDerivation(chain(2000));
  EXPECT_EQ(forms.back(), std::string(2000, 'a') + "b");
}

TEST(DeepTreeTest, IndentedTextStopsAtTheLimitOfTheOutput) {
  WorkLimits limits;
  limits.outputMiB = 1;
  WorkScope scope(limits);
  EXPECT_EQ(treeLines(chain(500)).size(), 1002u);  // about 0.5 MB of indentation
  try {
    treeLines(chain(2000));  // about 8 MB
    ADD_FAILURE() << "no limit";
  } catch (const WorkStopped& stopped) {
    EXPECT_EQ(std::string(stopped.what()), "The output has more than 1 MiB; that is the limit of one command.");
  }
}

}  // namespace
