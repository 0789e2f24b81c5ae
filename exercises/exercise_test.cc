#include "exercises/exercise.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "exercises/answers.h"
#include "exercises/sheet.h"

namespace {

Exercise made(ExerciseProperty property, std::uint64_t seed = 1) {
  GeneratorRequest request;
  request.property = property;
  request.seed = seed;
  ExerciseMaking making = makeExercise(request);
  EXPECT_TRUE(making.exercise) << making.message;
  return making.exercise ? *making.exercise : Exercise{};
}

std::size_t count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

TEST(ExerciseTest, TheWordIsParsedByTheTableTheExerciseIsAbout) {
  for (ExerciseProperty property : {ExerciseProperty::kLL1, ExerciseProperty::kSLRNotLL1, ExerciseProperty::kLALRNotSLR,
                                    ExerciseProperty::kLR1NotLALR})
    for (std::uint64_t seed : {1u, 2u, 3u}) {
      Exercise exercise = made(property, seed);
      const Cells& trace = exercise.questions.back().answer.table;
      ASSERT_GT(trace.size(), 1u);
      EXPECT_EQ(trace.back().back(), "Accept");
      EXPECT_NE(exercise.questions.back().text.find("\"" + exercise.word + "\""), std::string::npos);
    }
}

TEST(ExerciseTest, TableVerdictsFollowTheProperty) {
  Exercise exercise = made(ExerciseProperty::kLALRNotSLR);
  std::vector<std::string> notes;
  for (const Question& question : exercise.questions)
    for (const std::string& note : question.answer.notes) notes.push_back(note);
  ASSERT_EQ(notes.size(), 2u);
  EXPECT_EQ(notes[0].rfind("The grammar is not SLR(1): ", 0), 0u);
  EXPECT_EQ(notes[1], "The grammar is LALR(1): no cell of the table holds more than one entry.");
}

TEST(ExerciseTest, AnAmbiguousGrammarComesWithTwoDerivationsOfItsWord) {
  Exercise exercise = made(ExerciseProperty::kAmbiguous);
  const Lines& derivations = exercise.questions[0].answer.listing;
  ASSERT_EQ(derivations.size(), 2u);
  EXPECT_NE(derivations[0], derivations[1]);
  for (const std::string& derivation : derivations) {
    EXPECT_EQ(derivation.rfind("I => S", 0), 0u);
    EXPECT_EQ(derivation.substr(derivation.size() - exercise.word.size()), exercise.word);
  }
}

// ---- the token notation

Exercise madeInTokens(ExerciseProperty property, std::uint64_t seed) {
  GeneratorRequest request;
  request.property = property;
  request.seed = seed;
  request.notation = Notation::kTokens;
  ExerciseMaking making = makeExercise(request);
  EXPECT_TRUE(making.exercise) << making.message;
  return making.exercise ? *making.exercise : Exercise{};
}

TEST(TokenExerciseTest, TheSameSeedDrawsTheSameGrammarWrittenInTokens) {
  Exercise classic = made(ExerciseProperty::kSLRNotLL1, 3);
  Exercise tokens = madeInTokens(ExerciseProperty::kSLRNotLL1, 3);
  ASSERT_EQ(tokens.grammar.size(), classic.grammar.size());
  EXPECT_EQ(tokens.grammar[0], "I -> S");
  EXPECT_EQ(withoutBlanks(tokens.grammar[1]), classic.grammar[1]);
  EXPECT_EQ(withoutBlanks(tokens.word), classic.word);
  EXPECT_EQ(tokens.word.size(), 2 * classic.word.size() - 1);
  // The key is the token listings': sets apart by blanks, the word parsed as tokens.
  EXPECT_EQ(tokens.questions[0].answer.listing[0], "First(I): b c");
  EXPECT_EQ(tokens.questions.back().answer.table.back().back(), "Accept");
  EXPECT_EQ(exerciseModel(tokens).typed.notation, Notation::kTokens);
}

TEST(TokenExerciseTest, EveryPropertyHoldsAndTwoDerivationsAreWrittenInTokens) {
  for (ExerciseProperty property : kExerciseProperties) {
    Exercise exercise = madeInTokens(property, 2);
    ASSERT_FALSE(exercise.questions.empty()) << propertyName(property);
    if (property != ExerciseProperty::kAmbiguous) continue;
    for (const std::string& derivation : exercise.questions[0].answer.listing) {
      EXPECT_EQ(derivation.rfind("I => S => ", 0), 0u) << derivation;
      EXPECT_TRUE(derivation.ends_with(" => " + exercise.word)) << derivation;
    }
  }
}

TEST(TokenExerciseTest, SheetsSayTheNotationAndTypesetEpsilon) {
  Exercise exercise = madeInTokens(ExerciseProperty::kLL1, 4);
  nlohmann::json sheet = nlohmann::json::parse(renderSheet(exercise, Format::kJson));
  EXPECT_EQ(sheet["notation"], "tokens");
  EXPECT_FALSE(nlohmann::json::parse(renderSheet(made(ExerciseProperty::kLL1, 4), Format::kJson)).contains("notation"));
  EXPECT_EQ(count(renderSheet(exercise, Format::kLatex), "\\DeclareUnicodeCharacter{03B5}"), 1u);
  EXPECT_EQ(count(renderSheet(made(ExerciseProperty::kLL1, 4), Format::kLatex), "DeclareUnicodeCharacter"), 0u);
  std::string error;
  Cells records = *readCsv(renderSheet(exercise, Format::kCsv), error);
  EXPECT_EQ(records[2], (std::vector<std::string>{"notation", "tokens"}));
}

TEST(SheetTest, JsonHasTheGrammarAndTheWord) {
  Exercise exercise = made(ExerciseProperty::kSLRNotLL1, 5);
  nlohmann::json sheet = nlohmann::json::parse(renderSheet(exercise, Format::kJson));
  EXPECT_EQ(sheet["grammar"].get<std::vector<std::string>>(), exercise.grammar);
  EXPECT_EQ(sheet["word"], exercise.word);
  EXPECT_EQ(sheet["property"], "slr-not-ll1");
  EXPECT_EQ(sheet["questions"].size(), exercise.questions.size());
  EXPECT_TRUE(sheet["questions"][2]["answer"].contains("table"));
  nlohmann::json questions = nlohmann::json::parse(renderSheet(exercise, Format::kJson, SheetPart::kQuestions));
  EXPECT_FALSE(questions["questions"][0].contains("answer"));
}

TEST(SheetTest, LatexPartsAreDocumentsOfTheirOwn) {
  Exercise exercise = made(ExerciseProperty::kLL1);
  std::string both = renderSheet(exercise, Format::kLatex);
  std::string questions = renderSheet(exercise, Format::kLatex, SheetPart::kQuestions);
  std::string key = renderSheet(exercise, Format::kLatex, SheetPart::kKey);
  for (const std::string* document : {&both, &questions, &key}) {
    EXPECT_EQ(count(*document, "\\begin{document}"), 1u);
    EXPECT_EQ(document->substr(document->size() - 15), "\\end{document}\n");
  }
  EXPECT_EQ(count(both, "\\newpage"), 1u);
  EXPECT_EQ(count(questions, "\\item"), exercise.questions.size());
  EXPECT_EQ(count(questions, "tabular"), 0u);
  EXPECT_EQ(count(key, "\\item"), 0u);
  EXPECT_EQ(count(key, "\\begin{tabular}"), 2u);  // the LL(1) table and the parse
}

TEST(SheetTest, CsvRecordsSayWhatTheyHold) {
  Exercise exercise = made(ExerciseProperty::kLR1NotLALR);
  std::string error;
  Cells records = *readCsv(renderSheet(exercise, Format::kCsv), error);
  EXPECT_EQ(records[0], (std::vector<std::string>{"property", "lr1-not-lalr"}));
  std::size_t grammar = 0, tableRows = 0;
  for (const auto& record : records) {
    grammar += record[0] == "grammar";
    tableRows += record[0] == "answer-row";
  }
  EXPECT_EQ(grammar, exercise.grammar.size());
  EXPECT_GT(tableRows, 0u);
}

TEST(SheetTest, TextShowsTheKeyOnlyWhenAskedFor) {
  Exercise exercise = made(ExerciseProperty::kLL1);
  std::string questions = renderSheet(exercise, Format::kText, SheetPart::kQuestions);
  EXPECT_EQ(count(questions, "Answer key:"), 0u);
  EXPECT_EQ(count(questions, "  1. Compute First(X)"), 1u);
  std::string key = renderSheet(exercise, Format::kText, SheetPart::kKey);
  EXPECT_EQ(count(key, "Questions:"), 0u);
  EXPECT_EQ(count(key, "First(S): "), 1u);
}

}  // namespace
