#include "exercises/transform_grading.h"

#include <gtest/gtest.h>

#include "transform/transform.h"
#include "grammar/grammar_text.h"

namespace {

Grammar classic(std::initializer_list<std::string> lines) { return classicGrammar(std::vector<std::string>(lines)); }

Grading graded(const Grammar& input, TransformKind kind, std::string_view answer) {
  GradeResult result = gradeTransformation(input, kind, answer);
  EXPECT_TRUE(result.ok()) << result.error;
  return result.grading;
}

MarkedElement element(const Grading& grading, const std::string& entry) {
  for (const MarkedElement& e : grading.elements)
    if (e.entry == entry) return e;
  throw std::runtime_error("no element " + entry);
}

const Grammar kExpressions = classic({"I->E", "E->E+T|T", "T->T*F|F", "F->(E)|i"});
const Grammar kDanglingElse = classic({"S->iEtS|iEtSlS|a", "E->b"});

TEST(TransformGrading, TheProgramsOwnResultIsAllRight) {
  for (const Grammar& input : {kExpressions, kDanglingElse, classic({"S->aSb|e"}), classic({"S->A|a", "A->B|b", "B->c"}),
                               classic({"S->AB|a", "A->a", "B->bB", "C->c"}), classic({"I->A", "A->aA|B", "B->b|e"})})
    for (const auto& [name, kind] : transformKinds()) {
      std::string key = grammarText(transformGrammar(input, kind).grammar);
      Grading grading = graded(input, kind, key);
      EXPECT_TRUE(grading.allRight()) << name << "\n" << key << renderGrading(grading, Format::kText);
    }
}

TEST(TransformGrading, AWordLostIsNamed) {
  MarkedElement words = element(graded(classic({"S->Sa|b"}), TransformKind::kLeftRecursion, "S->bA\nA->aA|a\n"),
                                       "derives the same words");
  EXPECT_EQ(words.mark, Mark::kWrong);
  EXPECT_EQ(words.reason, "Your grammar does not derive \"b\", which the given grammar does.");
}

TEST(TransformGrading, AWordGainedIsNamed) {
  Grading grading = graded(classic({"S->Sa|b"}), TransformKind::kLeftRecursion, "S->bA\nA->aA|bA|e\n");
  EXPECT_EQ(element(grading, "derives the same words").reason,
            "Your grammar derives \"b b\", which the given grammar does not.");
  EXPECT_EQ(element(grading, "no left recursion").mark, Mark::kRight);
  EXPECT_EQ(scoreText(grading), "Score: 1 of 2 right (50%); 1 wrong, 0 missing.");
}

TEST(TransformGrading, TheEmptyWordCounts) {
  EXPECT_EQ(element(graded(classic({"S->aSb|e"}), TransformKind::kEpsilon, "S->aSb|ab\n"), "derives the same words").reason,
            "Your grammar does not derive the empty word, which the given grammar does.");
}

TEST(TransformGrading, ALargeLanguageIsComparedAsFarAsItGoes) {
  // A million digit strings of six digits: the comparison stops at three.
  Grammar digits = classic({"S->E", "E->T", "T->0|1|2|3|4|5|6|7|8|9|TT"});
  std::string key = grammarText(transformGrammar(digits, TransformKind::kUnit).grammar);
  Grading grading = graded(digits, TransformKind::kUnit, key);
  EXPECT_TRUE(grading.allRight());
  EXPECT_EQ(element(grading, "derives the same words").reason,
            "Compared the words up to 3 terminals; beyond, the languages are too large to compare.");
}

TEST(TransformGrading, EachGoalMissedSaysWhy) {
  auto goalReason = [](const Grammar& input, TransformKind kind, std::string_view answer) {
    Grading grading = graded(input, kind, answer);
    EXPECT_EQ(grading.elements.at(1).mark, Mark::kWrong);
    return grading.elements.at(1).reason;
  };
  EXPECT_EQ(goalReason(classic({"S->Sa|b"}), TransformKind::kLeftRecursion, "S->Sa|b"),
            "Your grammar is still left-recursive.");
  EXPECT_EQ(goalReason(kDanglingElse, TransformKind::kLeftFactor, "S->iEtS|iEtSlS|a\nE->b"),
            "S->iEtS and S->iEtSlS begin with the same symbol i.");
  EXPECT_EQ(goalReason(classic({"S->aSb|e"}), TransformKind::kEpsilon, "S->aSb|e"),
            "Your grammar still has the empty rule S->e, and its start symbol stands on a right side.");
  EXPECT_EQ(goalReason(classic({"S->aA|b", "A->Bc", "B->d|e"}), TransformKind::kEpsilon, "S->aA|b\nA->Bc|c\nB->d|e"),
            "Your grammar still has the empty rule B->e.");
  EXPECT_EQ(goalReason(classic({"S->A|a", "A->b"}), TransformKind::kUnit, "S->A|a\nA->b"),
            "Your grammar still has the unit rule S->A.");
  EXPECT_EQ(goalReason(classic({"S->AB|a", "A->a", "B->bB"}), TransformKind::kUseless, "S->a\nA->a"),
            "A is not reached from the start symbol.");
  EXPECT_EQ(goalReason(classic({"S->aB|a", "B->b"}), TransformKind::kChomsky, "S->aB|a\nB->b"),
            "The rule S->aB is neither A->BC nor A->a, nor the start symbol's empty rule.");
  EXPECT_EQ(goalReason(classic({"S->aA|aB", "A->a", "B->b"}), TransformKind::kLL1, "S->aA|aB\nA->a\nB->b"),
            "LL(1) conflicts: S on a: S->aA and S->aB.");
}

TEST(TransformGrading, WithoutAnLL1FormTheGoalIsFactoredWithoutLeftRecursion) {
  // a^n b^n | a^n c^n: no LL(1) grammar derives it.
  Grammar input = classic({"S->A|B", "A->aAb|e", "B->aBc|c"});
  ASSERT_FALSE(transformGrammar(input, TransformKind::kLL1).remainingConflicts.empty());
  std::string key = grammarText(transformGrammar(input, TransformKind::kLL1).grammar);
  MarkedElement goal = graded(input, TransformKind::kLL1, key).elements.at(1);
  EXPECT_EQ(goal.entry, "no left recursion and left-factored");
  EXPECT_EQ(goal.mark, Mark::kRight);
  EXPECT_EQ(goal.reason, "The given grammar has no LL(1) form these steps reach.");
}

TEST(TransformGrading, TheAugmentingFirstRuleMustStay) {
  Grammar input = classic({"I->A", "A->Ab|c"});
  Grading dropped = graded(input, TransformKind::kLeftRecursion, "A->cZ\nZ->bZ|e");
  EXPECT_EQ(element(dropped, "the first rule still augments the grammar").reason,
            "Your grammar starts with A, not with I, the start symbol of the given grammar's first rule I->A.");
  Grading used = graded(input, TransformKind::kLeftRecursion, "I->A\nA->cZ\nZ->bZ|IZ|e");
  EXPECT_EQ(element(used, "the first rule still augments the grammar").reason,
            "I stands on the right side of Z->IZ, so the first rule no longer augments the grammar.");
  // A grammar whose first rule does not augment is not asked to.
  EXPECT_EQ(graded(classic({"S->Sa|b"}), TransformKind::kLeftRecursion, "S->bA\nA->aA|e").elements.size(), 2u);
}

TEST(TransformGrading, AnUnreadableAnswerGivesTheReadingsMessages) {
  GradeResult result = gradeTransformation(classic({"S->Sa|b"}), TransformKind::kLeftRecursion, "S->bA\nA->");
  EXPECT_FALSE(result.ok());
  EXPECT_FALSE(result.error.empty());
  EXPECT_FALSE(gradeTransformation(classic({"S->Sa|b"}), TransformKind::kLeftRecursion, "").ok());
}

TEST(TransformGrading, AnAnswerInTheTokenNotation) {
  Grammar input = classic({"S->Sa|b"});
  Grading grading = graded(input, TransformKind::kLeftRecursion, "#notation: tokens\nS -> b S'\nS' -> a S' | ε\n");
  EXPECT_TRUE(grading.allRight()) << renderGrading(grading, Format::kText);
}

}  // namespace
