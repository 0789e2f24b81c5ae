#include "transform/transform.h"

#include <gtest/gtest.h>

#include "grammar/reading.h"
#include "grammar/token_reading.h"
#include "transform/bounded_language.h"
#include "transform/goals.h"
#include "grammar/grammar_text.h"

namespace {

Grammar classic(std::initializer_list<std::string> lines) { return classicGrammar(std::vector<std::string>(lines)); }

Grammar tokens(const char* text) {
  TokenReading reading = readTokenGrammar(text);
  EXPECT_TRUE(reading.isSound());
  return reading.grammar;
}

std::string transformed(const Grammar& g, TransformKind kind) { return grammarText(transformGrammar(g, kind).grammar); }

// The result's text reads back, through the classic reading, as the same grammar.
void expectReadsBack(const Grammar& g) {
  GrammarReading reading = readGrammar(editorText(grammarText(g)));
  ASSERT_TRUE(reading.isSound()) << grammarText(g);
  std::vector<std::string> lines;
  for (const HString& line : reading.lines) lines.emplace_back(line.view());
  EXPECT_EQ(grammarText(classicGrammar(lines)), grammarText(g));
}

const Grammar kExpressions = classic({"I->E", "E->E+T|T", "T->T*F|F", "F->(E)|i"});

TEST(LeftRecursion, TheExpressionGrammarAsTheTextbookRewritesIt) {
  TransformResult result = transformGrammar(kExpressions, TransformKind::kLeftRecursion);
  EXPECT_EQ(grammarText(result.grammar), "I->E\nE->TZ\nZ->+TZ|e\nT->FY\nY->*FY|e\nF->(E)|i\n");
  ASSERT_EQ(result.steps.size(), 2u);
  EXPECT_EQ(result.steps[0].title, "Remove the left recursion of E");
  EXPECT_EQ(result.steps[0].changed, (std::vector<std::string>{"E", "Z"}));
  expectReadsBack(result.grammar);
}

TEST(LeftRecursion, InTheTokenNotationNewNamesArePrimed) {
  Grammar g = tokens("#notation: tokens\nE -> E + T | T\nT -> T * F | F\nF -> ( E ) | id\n");
  EXPECT_EQ(transformed(g, TransformKind::kLeftRecursion),
            "#notation: tokens\nE -> T E'\nE' -> + T E' | ε\nT -> F T'\nT' -> * F T' | ε\nF -> ( E ) | id\n");
}

TEST(LeftRecursion, IndirectThroughAnEmptyRuleIsRemovedWithIt) {
  // S->Aa|b, A->Ac|Sd|e: S => Aa => Sda, and A vanishes.
  TransformResult result = transformGrammar(classic({"S->Aa|b", "A->Ac|Sd|e"}), TransformKind::kLeftRecursion);
  EXPECT_FALSE(hasLeftRecursion(result.grammar));
  EXPECT_EQ(result.steps.front().title, "Remove empty rules");
  expectReadsBack(result.grammar);
}

TEST(LeftRecursion, CyclesOfUnitRulesGoFirst) {
  TransformResult result = transformGrammar(classic({"S->A|a", "A->S|Ab|c"}), TransformKind::kLeftRecursion);
  EXPECT_FALSE(hasLeftRecursion(result.grammar));
  EXPECT_FALSE(hasUnitCycle(result.grammar));
}

TEST(LeftRecursion, AGrammarWithoutItIsLeftAsItIs) {
  TransformResult result = transformGrammar(classic({"S->aS|b"}), TransformKind::kLeftRecursion);
  EXPECT_EQ(grammarText(result.grammar), "S->aS|b\n");
  ASSERT_EQ(result.steps.size(), 1u);
  EXPECT_TRUE(result.steps[0].changed.empty());
}

TEST(LeftFactor, TheDanglingElse) {
  TransformResult result = transformGrammar(classic({"I->S", "S->iEtS|iEtSxS|a", "E->b"}), TransformKind::kLeftFactor);
  EXPECT_EQ(grammarText(result.grammar), "I->S\nS->iEtSZ|a\nZ->e|xS\nE->b\n");
  EXPECT_EQ(result.steps.size(), 1u);
}

TEST(LeftFactor, RepeatsUntilNoTwoAlternativesBeginAlike) {
  Grammar g = tokens("S -> a b c | a b d | a x | q\n");
  EXPECT_EQ(transformed(g, TransformKind::kLeftFactor),
            "#notation: tokens\nS -> a S' | q\nS' -> b S'' | x\nS'' -> c | d\n");
}

TEST(EmptyRules, TheEmptyWordStaysWithANewStartRule) {
  // S stands in a right side, so a new start symbol derives the empty word.
  TransformResult result = transformGrammar(classic({"S->aSb|e"}), TransformKind::kEpsilon);
  EXPECT_EQ(grammarText(result.grammar), "Z->S|e\nS->aSb|ab\n");
  EXPECT_FALSE(hasEmptyRule(result.grammar));
}

TEST(EmptyRules, AnAugmentedStartKeepsItsFirstRule) {
  TransformResult result = transformGrammar(classic({"I->A", "A->aA|e"}), TransformKind::kEpsilon);
  EXPECT_EQ(grammarText(result.grammar), "I->A|e\nA->aA|a\n");
}

TEST(EmptyRules, ANonTerminalThatOnlyVanishesGoesAway) {
  EXPECT_EQ(transformed(classic({"S->aB", "B->e"}), TransformKind::kEpsilon), "S->a\n");
}

TEST(UnitRules, ChainsAndCyclesAreCutShort) {
  EXPECT_EQ(transformed(classic({"S->A|a", "A->B|S|b", "B->c"}), TransformKind::kUnit),
            "S->a|b|c\nA->b|c|a\nB->c\n");
}

TEST(Useless, NonProductiveThenUnreachable) {
  TransformResult result = transformGrammar(classic({"S->AB|a", "A->a", "B->bB", "C->c"}), TransformKind::kUseless);
  EXPECT_EQ(grammarText(result.grammar), "S->a\n");
  ASSERT_EQ(result.steps.size(), 2u);
  EXPECT_EQ(result.steps[0].note, "B derives no word of terminals; every rule that uses it is dropped.");
  EXPECT_EQ(result.steps[1].note, "A and C are not reached from the start symbol; their rules are dropped.");
}

TEST(Chomsky, TheExpressionGrammar) {
  Grammar g = tokens("E -> E + T | T\nT -> T * F | F\nF -> ( E ) | id\n");
  TransformResult result = transformGrammar(g, TransformKind::kChomsky);
  EXPECT_EQ(chomskyViolation(result.grammar), "");
  EXPECT_EQ(result.steps.front().title, "Add a new start symbol");
}

TEST(Chomsky, TheEmptyWordOnlyFromTheStartSymbol) {
  TransformResult result = transformGrammar(classic({"S->aSbS|e"}), TransformKind::kChomsky);
  EXPECT_EQ(chomskyViolation(result.grammar), "");
  EXPECT_TRUE(boundedLanguage(result.grammar, 0).words.count({}));
}

TEST(TowardLL1, TheExpressionGrammarBecomesLL1) {
  TransformResult result = transformGrammar(kExpressions, TransformKind::kLL1);
  EXPECT_TRUE(result.remainingConflicts.empty());
  EXPECT_EQ(grammarText(result.grammar), "I->E\nE->TZ\nZ->+TZ|e\nT->FY\nY->*FY|e\nF->(E)|i\n");
}

TEST(TowardLL1, AnAmbiguousGrammarSaysWhatRemains) {
  TransformResult result = transformGrammar(classic({"I->E", "E->E+E|i"}), TransformKind::kLL1);
  ASSERT_FALSE(result.remainingConflicts.empty());
  EXPECT_EQ(result.remainingConflicts.front(), "Z on +: Z->+EZ and Z->e");
}

TEST(Refusals, NoLetterLeftInTheClassicNotation) {
  std::vector<std::string> lines;
  std::string all;
  for (char c = 'A'; c <= 'Z'; ++c) all += c;
  for (char c = 'A'; c <= 'Z'; ++c) lines.push_back(std::string(1, c) + "->" + std::string(1, c) + "a|b" + (c < 'Z' ? std::string(1, static_cast<char>(c + 1)) : ""));
  try {
    transformGrammar(classicGrammar(lines), TransformKind::kLeftRecursion);
    FAIL() << "no refusal";
  } catch (const TransformRefused& e) {
    EXPECT_NE(std::string(e.what()).find("#notation: tokens"), std::string::npos);
  }
}

// Every kind refuses: the rules of T->T go with its self-loop, which once
// left the empty-rule and unit rewrites an empty grammar and made the
// normal form crash.
TEST(Refusals, AnEmptyLanguage) {
  for (const auto& [name, kind] : transformKinds())
    for (const Grammar& empty : {classic({"S->aS"}), classic({"E->E+T|T", "T->T"})}) {
      try {
        transformGrammar(empty, kind);
        ADD_FAILURE() << name << ": no refusal";
      } catch (const TransformRefused& e) {
        EXPECT_NE(std::string(e.what()).find("the language is empty"), std::string::npos) << name;
      }
    }
}

}  // namespace
