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

}  // namespace
