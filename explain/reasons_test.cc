#include "explain/reasons.h"

#include <gtest/gtest.h>

#include "grammar/test_support.h"

namespace {

// Example 2: I->E, E->TG, G->+TG|e, T->FH, H->*FH|e, F->(E)|i.
TEST(FirstReasonTest, ThroughTheFirstSymbol) {
  Reasons reasons(exampleModel(2));
  Reason r = reasons.first('E', '(');
  EXPECT_TRUE(r.holds);
  EXPECT_EQ(r.production, "E->TG");
  EXPECT_EQ(r.sentence, "( is in First(E) because of E->TG and ( is in First(T).");
  EXPECT_EQ(derivationText(r.derivation), "E => TG => FHG => (E)HG");
}

TEST(FirstReasonTest, PastSymbolsThatVanish) {
  Reasons reasons(modelOf({"S->ABc", "A->a|e", "B->b|e"}));
  EXPECT_EQ(reasons.first('S', 'b').sentence, "b is in First(S) because of S->ABc, A can vanish and b is in First(B).");
  Reason c = reasons.first('S', 'c');
  EXPECT_EQ(c.sentence, "c is in First(S) because of S->ABc and A and B can vanish.");
  EXPECT_EQ(derivationText(c.derivation), "S => ABc => Bc => c");
}

TEST(FirstReasonTest, TheEmptyWord) {
  Reasons reasons(modelOf({"S->AB", "A->e", "B->b|e"}));
  Reason r = reasons.first('S', 'e');
  EXPECT_EQ(r.sentence, "e is in First(S) because of S->AB and A and B can vanish.");
  EXPECT_EQ(derivationText(r.derivation), "S => AB => B => e");
  EXPECT_EQ(reasons.first('A', 'e').sentence, "e is in First(A) because of A->e.");
}

TEST(FirstReasonTest, LeftRecursionAndAbsentSymbols) {
  Reasons reasons(exampleModel(5));  // A->Abc|b
  EXPECT_EQ(reasons.first('A', 'b').production, "A->b");
  Reason absent = reasons.first('A', 'c');
  EXPECT_FALSE(absent.holds);
  EXPECT_EQ(absent.sentence, "c is not in First(A).");
  // A->Ab alone derives no form that begins with a terminal.
  EXPECT_FALSE(Reasons(modelOf({"S->A", "A->Ab"})).first('A', 'b').holds);
}

TEST(FirstReasonTest, OfARightSide) {
  Reasons reasons(modelOf({"S->ABc", "A->a|e", "B->b|e"}));
  EXPECT_EQ(reasons.firstOfString("ABc", 'b').sentence, "b is in First(ABc) because b is in First(B) and A can vanish before B.");
  EXPECT_EQ(reasons.firstOfString("ABc", 'c').sentence, "c is in First(ABc) because A and B can vanish before it.");
  EXPECT_EQ(reasons.firstOfString("AB", 'e').sentence, "e is in First(AB) because A and B can vanish.");
  EXPECT_FALSE(reasons.firstOfString("ABc", 'e').holds);
  EXPECT_TRUE(reasons.firstOfString("e", 'e').holds);
}

TEST(FollowReasonTest, TheStartSymbol) {
  Reasons reasons(exampleModel(2));
  Reason r = reasons.follow('I', '$');
  EXPECT_TRUE(r.holds);
  EXPECT_EQ(r.production, "");
  EXPECT_EQ(r.sentence, "$ is in Follow(I) because I is the start symbol.");
}

TEST(FollowReasonTest, ThroughTheFollowOfTheHead) {
  Reasons reasons(exampleModel(2));
  Reason r = reasons.follow('G', ')');
  EXPECT_EQ(r.sentence, ") is in Follow(G) because of E->TG and ) is in Follow(E).");
  EXPECT_EQ(derivationText(r.derivation), "F => (E) => (TG)");
  EXPECT_EQ(reasons.follow('H', '$').sentence, "$ is in Follow(H) because of T->FH and $ is in Follow(T).");
}

TEST(FollowReasonTest, ThroughFirstPastSymbolsThatVanish) {
  Reasons reasons(exampleModel(3));  // A->BCDE|e, B->x|y|e, C->z|h|e, D->k|e, E->m|n
  Reason r = reasons.follow('B', 'k');
  EXPECT_EQ(r.sentence, "k is in Follow(B) because of A->BCDE, C can vanish and k is in First(D).");
  EXPECT_EQ(derivationText(r.derivation), "A => BCDE => BDE => BkE");
}

TEST(FollowReasonTest, ATerminalAfterSymbolsThatVanish) {
  Reasons reasons(modelOf({"S->Bx", "B->ACd", "A->a", "C->c|e"}));
  Reason r = reasons.follow('A', 'd');
  EXPECT_EQ(r.sentence, "d is in Follow(A) because of B->ACd and C can vanish.");
  EXPECT_EQ(derivationText(r.derivation), "B => ACd => Ad");
  EXPECT_FALSE(reasons.follow('A', 'x').holds);
  EXPECT_EQ(reasons.follow('A', 'x').sentence, "x is not in Follow(A).");
}

// Every derivation shown is a derivation: each step replaces one
// non-terminal by one of its right sides.
TEST(ReasonDerivationTest, EveryStepUsesAProduction) {
  for (int n = 1; n <= kExampleCount; ++n) {
    Parsing model = exampleModel(n);
    Reasons reasons(model);
    std::vector<std::string> productions = strings(model.productions);
    auto check = [&](const Reason& r) {
      for (size_t k = 1; k < r.derivation.size(); ++k) {
        const std::string& before = r.derivation[k - 1];
        const std::string& after = r.derivation[k];
        bool found = false;
        for (size_t at = 0; at < before.size() && !found; ++at)
          for (const std::string& p : productions) {
            std::string body = p.substr(3) == "e" ? "" : p.substr(3);
            if (p[0] == before[at] && before.substr(0, at) + body + before.substr(at + 1) == after) found = true;
          }
        EXPECT_TRUE(found) << "example " << n << ": " << derivationText(r.derivation);
      }
    };
    for (const HString& rule : model.rules) {
      std::string first(model.first(rule[0]).view());
      for (char t : first) check(reasons.first(rule[0], t));
    }
    Row follows = model.follow();
    int i = 0;
    for (const HString& set : follows) {
      for (char t : set.view()) {
        Reason r = reasons.follow(model.rules[i][0], t);
        EXPECT_TRUE(r.holds);
        check(r);
      }
      ++i;
    }
  }
}

}  // namespace
