#include "grammar/first.h"

#include <gtest/gtest.h>

#include "grammar/test_support.h"

namespace {

using Lines = std::vector<std::string>;

std::string first(const Parsing& model, char x) { return std::string(model.first(x).view()); }

TEST(FirstTest, ListingOfExampleTwo) {
  EXPECT_EQ(strings(firstListing(exampleModel(2))),
            (Lines{"First(I): (i", "First(E): (i", "First(G): +e", "First(T): (i", "First(H): *e", "First(F): (i"}));
}

TEST(FirstTest, TerminalsAndTheEmptyString) {
  Parsing model = exampleModel(2);
  EXPECT_EQ(first(model, '+'), "+");
  EXPECT_EQ(first(model, 'e'), "e");
  EXPECT_EQ(std::string(model.firstOfString("").view()), "e");
  EXPECT_EQ(std::string(model.firstOfString("+TG").view()), "+");
  EXPECT_EQ(std::string(model.firstOfString("HG").view()), "*+e");
}

TEST(FirstTest, LeftRecursion) {
  EXPECT_EQ(first(modelOf({"A->Abc|b"}), 'A'), "b");
  EXPECT_EQ(first(modelOf({"A->Ab"}), 'A'), "");
  EXPECT_EQ(strings(firstListing(modelOf({"A->Ab"}))), (Lines{"First(A): "}));
}

TEST(FirstTest, NullablePrefixesPassThrough) {
  EXPECT_EQ(first(modelOf({"S->AB", "A->a|e", "B->b|e"}), 'S'), "abe");
  EXPECT_EQ(first(modelOf({"S->AB", "A->a|e", "B->b"}), 'S'), "ab");
  EXPECT_EQ(first(modelOf({"S->AA", "A->a|e"}), 'S'), "ae");
}

// A model loaded again answers for its new rules, not from what it
// remembered of the old ones.
TEST(FirstTest, ReloadedModelForgetsItsFirstSets) {
  Parsing model = modelOf({"S->Ab", "A->a"});
  EXPECT_EQ(std::string(model.firstOfString("Ab").view()), "a");
  GrammarReading other = readGrammar("S->Ab\r\nA->c|e\r\n");
  model.loadRules(other.lines);
  EXPECT_EQ(std::string(model.firstOfString("Ab").view()), "cb");
  EXPECT_EQ(first(model, 'S'), "cb");
}

// Many alternatives: each character once, in the order the walk met it.
TEST(FirstTest, ManyAlternativesOneSet) {
  std::string rule = "A->";
  for (int k = 0; k < 2000; ++k) rule += std::string(k ? "|" : "") + "zyx"[k % 3] + "w";
  Parsing model = modelOf({"S->Av", rule.c_str()});
  EXPECT_EQ(first(model, 'A'), "zyx");
  EXPECT_EQ(std::string(model.firstOfString("vA").view()), "v");
}

}  // namespace
