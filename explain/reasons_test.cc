#include "explain/reasons.h"

#include <gtest/gtest.h>

#include "explain/test_symbols.h"
#include "grammar/test_support.h"

namespace {

// The questions with the symbols of the classic grammars as characters.
Reason first(const Reasons& reasons, char x, char t) {
  return reasons.first(classicSymbolOf(reasons.grammar(), x), classicSymbolOf(reasons.grammar(), t));
}

Reason firstOfString(const Reasons& reasons, const char* symbols, char t) {
  return reasons.firstOfString(classicSymbolsOf(reasons.grammar(), symbols), classicSymbolOf(reasons.grammar(), t));
}

Reason follow(const Reasons& reasons, char a, char t) {
  return reasons.follow(classicSymbolOf(reasons.grammar(), a), classicSymbolOf(reasons.grammar(), t));
}

// Example 2: I->E, E->TG, G->+TG|e, T->FH, H->*FH|e, F->(E)|i.
TEST(FirstReasonTest, ThroughTheFirstSymbol) {
  Reasons reasons(exampleModel(2));
  Reason r = first(reasons, 'E', '(');
  EXPECT_TRUE(r.holds);
  EXPECT_EQ(r.production, "E->TG");
  EXPECT_EQ(r.sentence, "( is in First(E) because of E->TG and ( is in First(T).");
  EXPECT_EQ(derivationText(r.derivation), "E => TG => FHG => (E)HG");
}

TEST(FirstReasonTest, PastSymbolsThatVanish) {
  Reasons reasons(modelOf({"S->ABc", "A->a|e", "B->b|e"}));
  EXPECT_EQ(first(reasons, 'S', 'b').sentence, "b is in First(S) because of S->ABc, A can vanish and b is in First(B).");
  Reason c = first(reasons, 'S', 'c');
  EXPECT_EQ(c.sentence, "c is in First(S) because of S->ABc and A and B can vanish.");
  EXPECT_EQ(derivationText(c.derivation), "S => ABc => Bc => c");
}

TEST(FirstReasonTest, TheEmptyWord) {
  Reasons reasons(modelOf({"S->AB", "A->e", "B->b|e"}));
  Reason r = first(reasons, 'S', 'e');
  EXPECT_EQ(r.sentence, "e is in First(S) because of S->AB and A and B can vanish.");
  EXPECT_EQ(derivationText(r.derivation), "S => AB => B => e");
  EXPECT_EQ(first(reasons, 'A', 'e').sentence, "e is in First(A) because of A->e.");
}

TEST(FirstReasonTest, LeftRecursionAndAbsentSymbols) {
  Reasons reasons(exampleModel(5));  // A->Abc|b
  EXPECT_EQ(first(reasons, 'A', 'b').production, "A->b");
  Reason absent = first(reasons, 'A', 'c');
  EXPECT_FALSE(absent.holds);
  EXPECT_EQ(absent.sentence, "c is not in First(A).");
  // A->Ab alone derives no form that begins with a terminal.
  EXPECT_FALSE(first(Reasons(modelOf({"S->A", "A->Ab"})), 'A', 'b').holds);
}

TEST(FirstReasonTest, OfARightSide) {
  Reasons reasons(modelOf({"S->ABc", "A->a|e", "B->b|e"}));
  EXPECT_EQ(firstOfString(reasons, "ABc", 'b').sentence, "b is in First(ABc) because b is in First(B) and A can vanish before B.");
  EXPECT_EQ(firstOfString(reasons, "ABc", 'c').sentence, "c is in First(ABc) because A and B can vanish before it.");
  EXPECT_EQ(firstOfString(reasons, "AB", 'e').sentence, "e is in First(AB) because A and B can vanish.");
  EXPECT_FALSE(firstOfString(reasons, "ABc", 'e').holds);
  EXPECT_TRUE(firstOfString(reasons, "e", 'e').holds);
}

TEST(FollowReasonTest, TheStartSymbol) {
  Reasons reasons(exampleModel(2));
  Reason r = follow(reasons, 'I', '$');
  EXPECT_TRUE(r.holds);
  EXPECT_EQ(r.production, "");
  EXPECT_EQ(r.sentence, "$ is in Follow(I) because I is the start symbol.");
}

TEST(FollowReasonTest, ThroughTheFollowOfTheHead) {
  Reasons reasons(exampleModel(2));
  Reason r = follow(reasons, 'G', ')');
  EXPECT_EQ(r.sentence, ") is in Follow(G) because of E->TG and ) is in Follow(E).");
  EXPECT_EQ(derivationText(r.derivation), "F => (E) => (TG)");
  EXPECT_EQ(follow(reasons, 'H', '$').sentence, "$ is in Follow(H) because of T->FH and $ is in Follow(T).");
}

TEST(FollowReasonTest, ThroughFirstPastSymbolsThatVanish) {
  Reasons reasons(exampleModel(3));  // A->BCDE|e, B->x|y|e, C->z|h|e, D->k|e, E->m|n
  Reason r = follow(reasons, 'B', 'k');
  EXPECT_EQ(r.sentence, "k is in Follow(B) because of A->BCDE, C can vanish and k is in First(D).");
  EXPECT_EQ(derivationText(r.derivation), "A => BCDE => BDE => BkE");
}

TEST(FollowReasonTest, ATerminalAfterSymbolsThatVanish) {
  Reasons reasons(modelOf({"S->Bx", "B->ACd", "A->a", "C->c|e"}));
  Reason r = follow(reasons, 'A', 'd');
  EXPECT_EQ(r.sentence, "d is in Follow(A) because of B->ACd and C can vanish.");
  EXPECT_EQ(derivationText(r.derivation), "B => ACd => Ad");
  EXPECT_FALSE(follow(reasons, 'A', 'x').holds);
  EXPECT_EQ(follow(reasons, 'A', 'x').sentence, "x is not in Follow(A).");
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
      std::string firsts(model.first(rule[0]).view());
      for (char t : firsts) check(first(reasons, rule[0], t));
    }
    Row follows = model.follow();
    int i = 0;
    for (const HString& set : follows) {
      for (char t : set.view()) {
        Reason r = follow(reasons, model.rules[i][0], t);
        EXPECT_TRUE(r.holds);
        check(r);
      }
      ++i;
    }
  }
}

}  // namespace
