#include "exercises/transform_question.h"

#include <stdexcept>

#include "core/work.h"
#include "grammar/grammar_text.h"

namespace {

// What to ask for instead, so that the grammar has something to rewrite.
std::string hintFor(TransformKind kind, const GeneratorRequest& request) {
  bool ll1 = request.property == ExerciseProperty::kLL1;
  switch (kind) {
    case TransformKind::kLeftRecursion:
      return ll1 ? " An LL(1) grammar is never left-recursive: ask for another property with --left-recursion."
                 : " Ask for --left-recursion.";
    case TransformKind::kLL1:
      return ll1 ? " The grammar is LL(1) already: ask for another property." : " Ask for --left-recursion.";
    case TransformKind::kLeftFactor:
      return ll1 ? " In an LL(1) grammar no two alternatives begin alike: ask for another property." : "";
    case TransformKind::kEpsilon: return " Ask for --nullable.";
    default: return "";
  }
}

std::vector<std::string> linesOfText(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t from = 0, end; from < text.size(); from = end + 1) {
    end = text.find('\n', from);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(from, end - from));
  }
  return lines;
}

}  // namespace

std::string transformQuestionText(TransformKind kind) {
  switch (kind) {
    case TransformKind::kLeftRecursion: return "Remove the left recursion of the grammar.";
    case TransformKind::kLeftFactor: return "Left-factor the grammar.";
    case TransformKind::kEpsilon: return "Remove the empty rules of the grammar; keep the empty word if the language holds it.";
    case TransformKind::kUnit: return "Remove the unit rules of the grammar.";
    case TransformKind::kUseless: return "Remove the useless symbols of the grammar.";
    case TransformKind::kChomsky: return "Bring the grammar into Chomsky normal form.";
    case TransformKind::kLL1: return "Make the grammar LL(1): remove its left recursion and left-factor it.";
  }
  return "";
}

ExerciseMaking makeExercise(const GeneratorRequest& request, TransformKind kind) {
  ExerciseMaking making = makeExercise(request);
  if (!making.exercise) return making;
  Grammar input = making.exercise->request.notation == Notation::kClassic ? classicGrammar(making.exercise->grammar)
                                                                          : exerciseModel(*making.exercise).typed;
  TransformResult result;
  try {
    result = transformGrammar(input, kind);
  } catch (const TransformRefused& refused) {
    return {std::nullopt, std::string("The grammar cannot be transformed: ") + refused.what(), false};
  } catch (const WorkStopped& stopped) {
    return {std::nullopt, std::string("The transformation stopped: ") + stopped.what(), false};
  } catch (const std::logic_error& fault) {
    return {std::nullopt, std::string("The answer key failed its own check: ") + fault.what(), true};
  }
  if (grammarText(result.grammar) == grammarText(input))
    return {std::nullopt,
            "The grammar of this exercise has nothing to transform for " + std::string(transformKindName(kind)) + "." +
                hintFor(kind, request),
            false};
  Question question{transformQuestionText(kind)};
  question.kind = QuestionKind::kTransform;
  question.answer.listing = linesOfText(grammarText(result.grammar));
  for (const TransformStep& step : result.steps) question.answer.notes.push_back(step.title + ": " + step.note);
  if (!result.remainingConflicts.empty()) {
    std::string conflicts;
    for (const std::string& c : result.remainingConflicts) conflicts += (conflicts.empty() ? "" : "; ") + c;
    question.answer.notes.push_back("The result still has LL(1) conflicts (" + conflicts +
                                    "): the grammar has no LL(1) form these steps reach.");
  }
  making.exercise->questions.push_back(std::move(question));
  return making;
}
