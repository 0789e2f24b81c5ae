#include "fuzz/transform_properties.h"

#include <stdexcept>

#include "core/work.h"
#include "exercises/transform_grading.h"
#include "grammar/grammar_sets.h"
#include "grammar/text_reading.h"
#include "transform/bounded_language.h"
#include "transform/transform.h"
#include "grammar/grammar_text.h"

namespace {

// Words up to this length are compared; the transformation checks up to 6 itself.
constexpr int kComparedLength = 4;

std::string readBackText(const Grammar& result) {
  GrammarTextReading reading = readGrammarText(grammarText(result), result.notation);
  return reading.isSound() ? grammarText(reading.grammar) : "(unreadable: " + reading.messages + ")";
}

bool refusalExpected(const Grammar& grammar, const std::string& why) {
  bool empty = !productiveSymbols(grammar)[static_cast<size_t>(grammar.start())];
  return empty || why.find("26 upper-case letters") != std::string::npos;
}

// The result grades all right as an answer; with its last production taken
// away it does not, where that changes the words.
void checkGrading(const Grammar& input, TransformKind kind, const Grammar& result, const std::string& label,
                  std::vector<std::string>& problems) {
  GradeResult key = gradeTransformation(input, kind, grammarText(result));
  if (!key.ok() || !key.grading.allRight())
    problems.push_back(label + "the result does not grade all right: " +
                       (key.ok() ? renderGrading(key.grading, Format::kText) : key.error));
  if (result.productions.empty()) return;
  Grammar shortened = result;
  shortened.productions.pop_back();
  if (shortened.productions.empty() || !languageDifference(input, shortened, kGradedWordLength)) return;
  GradeResult wrong = gradeTransformation(input, kind, grammarText(shortened));
  if (wrong.ok() && wrong.grading.allRight()) problems.push_back(label + "a result without its last production grades all right");
}

}  // namespace

std::vector<std::string> checkTransformations(const Grammar& grammar) {
  std::vector<std::string> problems;
  if (grammar.productions.empty()) return problems;
  for (const auto& [name, kind] : transformKinds()) {
    std::string label = "transform " + std::string(name) + ": ";
    try {
      TransformResult result = transformGrammar(grammar, kind);
      if (std::string back = readBackText(result.grammar); back != grammarText(result.grammar))
        problems.push_back(label + "the result reads back as " + back);
      bool decided = false;
      if (auto difference = languageDifference(grammar, result.grammar, kComparedLength, &decided))
        problems.push_back(label + "the words differ");
      checkGrading(grammar, kind, result.grammar, label, problems);
      for (const TransformStep& step : result.steps)
        if (step.title.empty() || step.note.empty()) problems.push_back(label + "a step without a title or note");
    } catch (const TransformRefused& refused) {
      if (!refusalExpected(grammar, refused.what())) problems.push_back(label + "refused: " + refused.what());
    } catch (const WorkStopped&) {
      // A rewrite that outgrows the limits stops; that is an outcome, not a fault.
    } catch (const std::logic_error& fault) {
      problems.push_back(label + fault.what());
    }
  }
  return problems;
}
