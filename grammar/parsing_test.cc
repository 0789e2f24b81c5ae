#include "grammar/parsing.h"

#include <gtest/gtest.h>

#include "grammar/test_support.h"

namespace {

using Lines = std::vector<std::string>;

std::string nullables(const Parsing& model) {
  std::string out;
  for (const HString& rule : model.rules)
    if (model.isNullable(rule[0])) out += rule[0];
  return out;
}

TEST(ParsingTest, ProductionsAreNumberedByRuleThenAlternative) {
  Parsing model = modelOf({"S->AB", "A->e", "B->b|e"});
  EXPECT_EQ(strings(model.productions), (Lines{"S->AB", "A->e", "B->b", "B->e"}));
  EXPECT_EQ(nullables(model), "SAB");
  EXPECT_EQ(model.indexOfProduction("B->e"), 3);
}

TEST(ParsingTest, NullableByErasure) {
  EXPECT_EQ(nullables(modelOf({"S->aS|b"})), "");
  EXPECT_EQ(nullables(modelOf({"S->A", "A->B", "B->e"})), "SAB");
  EXPECT_EQ(nullables(modelOf({"S->AbA", "A->e"})), "A");
  EXPECT_EQ(nullables(modelOf({"S->AB|c", "A->e|a", "B->A"})), "SAB");
  EXPECT_FALSE(modelOf({"S->A", "A->e"}).isNullable('e'));
  // '>' is a terminal here: erasing X leaves "->", no empty alternative.
  EXPECT_EQ(nullables(modelOf({"E->->X|aX", "X->e"})), "X");
}

TEST(ParsingTest, Terminals) {
  EXPECT_EQ(std::string(modelOf({"S->aS|b"}).terminals().view()), "ab");
  EXPECT_EQ(std::string(exampleModel(2).terminals().view()), "()*+ei");
}

TEST(ParsingTest, ProductionsOf) {
  Parsing model = exampleModel(2);
  EXPECT_EQ(strings(model.productionsOf('H')), (Lines{"H->*FH", "H->e"}));
  EXPECT_EQ(model.productionsOf('+').getCount(), 0);
}

TEST(ParsingDeathTest, MissingLeftSideEndsTheProgramNamingIt) {
  Parsing model = modelOf({"S->a"});
  EXPECT_EXIT(model.indexOfNonTerminal('Q'), ::testing::ExitedWithCode(kFatalExitStatus), "'Q'");
}

}  // namespace
