#include "trees/tree.h"

#include <gtest/gtest.h>

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

}  // namespace
