#include "exercises/transform_question.h"

#include <gtest/gtest.h>

#include "exercises/moodle.h"
#include "exercises/sheet.h"
#include "exercises/transform_grading.h"

namespace {

GeneratorRequest leftRecursive(std::uint64_t seed) {
  GeneratorRequest request;
  request.property = ExerciseProperty::kSLRNotLL1;
  request.leftRecursion = true;
  request.size.productions += 1;
  request.seed = seed;
  return request;
}

std::string keyText(const Question& question) {
  std::string text;
  for (const std::string& line : question.answer.listing) text += line + "\n";
  return text;
}

TEST(TransformQuestion, TheKeyIsTheRewriteAndGradesAllRight) {
  for (std::uint64_t seed : {1u, 2u, 3u}) {
    ExerciseMaking making = makeExercise(leftRecursive(seed), TransformKind::kLeftRecursion);
    ASSERT_TRUE(making.exercise) << making.message;
    const Question& asked = making.exercise->questions.back();
    EXPECT_EQ(asked.text, "Remove the left recursion of the grammar.");
    EXPECT_EQ(asked.kind, QuestionKind::kTransform);
    ASSERT_FALSE(asked.answer.notes.empty());
    EXPECT_EQ(asked.answer.listing.front().rfind("I->", 0), 0u);  // the augmenting rule stays first
    GradeResult graded =
        gradeTransformation(classicGrammar(making.exercise->grammar), TransformKind::kLeftRecursion, keyText(asked));
    EXPECT_TRUE(graded.ok() && graded.grading.allRight()) << seed;
  }
}

TEST(TransformQuestion, TheSameSeedGivesTheSameSheet) {
  ExerciseMaking first = makeExercise(leftRecursive(5), TransformKind::kLL1);
  ExerciseMaking second = makeExercise(leftRecursive(5), TransformKind::kLL1);
  ASSERT_TRUE(first.exercise && second.exercise) << first.message;
  EXPECT_EQ(renderSheet(*first.exercise, Format::kText), renderSheet(*second.exercise, Format::kText));
  // The other questions are those of the exercise without the transformation.
  ExerciseMaking plain = makeExercise(leftRecursive(5));
  ASSERT_TRUE(plain.exercise);
  EXPECT_EQ(first.exercise->questions.size(), plain.exercise->questions.size() + 1);
  EXPECT_EQ(first.exercise->grammar, plain.exercise->grammar);
}

TEST(TransformQuestion, AGrammarWithNothingToTransformIsSaidSo) {
  GeneratorRequest request;
  request.property = ExerciseProperty::kLL1;
  ExerciseMaking making = makeExercise(request, TransformKind::kLeftRecursion);
  EXPECT_FALSE(making.exercise);
  EXPECT_FALSE(making.internalFault);
  EXPECT_EQ(making.message, "The grammar of this exercise has nothing to transform for left-recursion. An LL(1) grammar is never "
            "left-recursive: ask for another property with --left-recursion.");
}

TEST(TransformQuestion, MoodleAsksForItAsAnEssayWithTheKey) {
  ExerciseMaking making = makeExercise(leftRecursive(1), TransformKind::kLeftRecursion);
  ASSERT_TRUE(making.exercise);
  std::string quiz = moodleQuiz(*making.exercise);
  size_t last = quiz.rfind("<question type=\"essay\"");
  ASSERT_NE(last, std::string::npos);
  EXPECT_NE(quiz.find("Remove the left recursion of the grammar.", last), std::string::npos);
}

}  // namespace
