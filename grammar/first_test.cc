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

}  // namespace
