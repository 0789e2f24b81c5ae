#include "exercises/exercise.h"

#include "simulation/evaluations.h"
#include "exercises/word.h"
#include "explain/reasons.h"
#include "grammar/grammar_text.h"
#include "grammar/text_reading.h"

namespace {

// The steps of an exercise, in the order they are asked.
enum class Step { kTwoTrees, kFirst, kFollow, kLL1, kLR0Items, kSLR, kLR1Items, kLR1, kLalrItems, kLALR, kParse };

struct Plan {
  std::vector<Step> steps;
  TableKind parseWith;  // the table the word is parsed with
};

Plan planOf(ExerciseProperty property) {
  switch (property) {
    case ExerciseProperty::kLL1: return {{Step::kFirst, Step::kFollow, Step::kLL1, Step::kParse}, TableKind::kLL1};
    case ExerciseProperty::kSLRNotLL1:
      return {{Step::kFirst, Step::kFollow, Step::kLL1, Step::kLR0Items, Step::kSLR, Step::kParse}, TableKind::kSLR};
    case ExerciseProperty::kLALRNotSLR:
      return {
          {Step::kFollow, Step::kLR0Items, Step::kSLR, Step::kLR1Items, Step::kLalrItems, Step::kLALR, Step::kParse},
          TableKind::kLALR};
    case ExerciseProperty::kLR1NotLALR:
      return {{Step::kLR1Items, Step::kLR1, Step::kLalrItems, Step::kLALR, Step::kParse}, TableKind::kLR1};
    case ExerciseProperty::kAmbiguous:
      return {{Step::kTwoTrees, Step::kFirst, Step::kFollow, Step::kLL1}, TableKind::kLL1};
  }
  return {};
}

// "LL(1)", "SLR(1)", ... as a grammar class.
const char* className(TableKind kind) {
  switch (kind) {
    case TableKind::kLL1: return "LL(1)";
    case TableKind::kSLR: return "SLR(1)";
    case TableKind::kLR1: return "LR(1)";
    case TableKind::kLALR: return "LALR(1)";
  }
  return "";
}

const char* tableTitle(TableKind kind) {
  switch (kind) {
    case TableKind::kLL1: return "LL(1) table";
    case TableKind::kSLR: return "SLR table";
    case TableKind::kLR1: return "canonical LR(1) table";
    case TableKind::kLALR: return "LALR table";
  }
  return "";
}

// "the word \"ab\"", or "the empty word".
std::string theWord(const std::string& word) { return word.empty() ? "the empty word" : "the word \"" + word + "\""; }

std::string joined(const std::vector<std::string>& texts, const char* between) {
  std::string out;
  for (const std::string& text : texts) out += (out.empty() ? "" : between) + text;
  return out;
}

// The generated grammar names every symbol by one character, so a text of
// its classic reading (a word, a sentential form) is written in the token
// notation by setting the characters apart, the empty one as ε.
std::string spaced(const std::string& symbols) {
  std::string text;
  for (char c : symbols) (text += text.empty() ? "" : " ") += c;
  return text;
}

std::string inNotation(Notation notation, const std::string& symbols) {
  if (notation == Notation::kClassic) return symbols;
  return symbols.empty() ? "\xCE\xB5" : spaced(symbols);
}

std::string derivationIn(Notation notation, const std::vector<std::string>& forms) {
  if (notation == Notation::kClassic) return derivationText(forms);
  std::string text;
  for (const std::string& form : forms) text += (text.empty() ? "" : " => ") + inNotation(notation, form);
  return text;
}

// Classic rule lines written in the token notation.  The first rule I -> S
// augments the grammar, so the analyses add no start rule to it.
std::vector<std::string> tokenRuleLines(const std::vector<std::string>& lines) {
  Grammar grammar = classicGrammar(lines);
  grammar.notation = Notation::kTokens;
  std::vector<std::string> out;
  for (Symbol head : grammar.nonTerminals()) out.push_back(ruleText(grammar, head));
  return out;
}

// The property checked again on the grammar the key is computed from.  A
// token grammar's ambiguity rests on the witness, which is checked with the
// classic reading of the same grammar; here its tables must have conflicts.
bool keepsProperty(const Parsing& model, ExerciseProperty property) {
  if (property != ExerciseProperty::kAmbiguous) return checkProperty(model, property).holds;
  return conflictCount(model, TableKind::kSLR) > 0 && conflictCount(model, TableKind::kLR1) > 0;
}

class KeyMaker {
 public:
  // `classic` reads the same grammar in the classic notation: the witness's
  // trees are checked against it.
  KeyMaker(const Parsing& model, const Parsing& classic, const std::string& word, const std::string& classicWord,
           const std::optional<AmbiguityWitness>& witness)
      : model_(model), classic_(classic), word_(word), classicWord_(classicWord), witness_(witness) {}

  // The question and its answer, or a fault of the key in `fault`.
  Question make(Step step, TableKind parseWith) {
    switch (step) {
      case Step::kTwoTrees: return twoTrees();
      case Step::kFirst: return listed("Compute First(X) for every non-terminal X.", ListingKind::kFirst);
      case Step::kFollow: return listed("Compute Follow(X) for every non-terminal X.", ListingKind::kFollow);
      case Step::kLR0Items:
        return items(listed("Build the canonical collection of LR(0) item sets with the transitions between them.",
                            ListingKind::kLR0Items),
                     GraphKind::kLR0);
      case Step::kLR1Items:
        return items(listed("Build the canonical collection of LR(1) item sets with the transitions between them.",
                            ListingKind::kLR1Items),
                     GraphKind::kLR1);
      case Step::kLalrItems:
        return items(listed("Merge the LR(1) item sets that have the same core into the LALR(1) item sets.",
                            ListingKind::kLalrItems),
                     GraphKind::kLALR);
      case Step::kLL1: return tableQuestion(TableKind::kLL1);
      case Step::kSLR: return tableQuestion(TableKind::kSLR);
      case Step::kLR1: return tableQuestion(TableKind::kLR1);
      case Step::kLALR: return tableQuestion(TableKind::kLALR);
      case Step::kParse: return parse(parseWith);
    }
    return {};
  }

  std::string fault;

 private:
  Question listed(const char* text, ListingKind kind) {
    Listing computed = listing(model_, kind);
    Question question{text};
    question.answer.listing = linesOf(computed.lines);
    for (const std::string& line : linesOf(computed.similarTable)) question.answer.listing.push_back(line);
    return question;
  }

  static Question items(Question question, GraphKind kind) {
    question.kind = QuestionKind::kItems;
    question.automaton = kind;
    return question;
  }

  Question tableQuestion(TableKind kind) {
    Question question{std::string("Build the ") + tableTitle(kind) + ". Is the grammar " + className(kind) +
                              "? Why?"};
    question.kind = QuestionKind::kTable;
    question.grammarClass = className(kind);
    question.answer.table = cellsOf(table(model_, kind));
    std::vector<std::string> conflicts = conflictTexts(question.answer.table, kind);
    question.inClass = conflicts.empty();
    if (conflicts.empty()) {
      question.answer.notes.push_back(std::string("The grammar is ") + className(kind) +
                                      ": no cell of the table holds more than one entry.");
    } else {
      question.answer.notes.push_back(std::string("The grammar is not ") + className(kind) + ": " +
                                      std::to_string(conflicts.size()) +
                                      (conflicts.size() == 1 ? " cell holds" : " cells hold") +
                                      " more than one entry (" + joined(conflicts, "; ") + ").");
    }
    return question;
  }

  Question parse(TableKind kind) {
    Question question{"Parse " + theWord(word_) + " step by step with the " + tableTitle(kind) + "."};
    question.kind = QuestionKind::kParse;
    Evaluation parsed = evaluation(model_, kind, HString(word_.data(), static_cast<int>(word_.size())));
    if (parsed.refused() || !parsed.accepted())
      fault = std::string("the ") + tableTitle(kind) + " does not accept " + theWord(word_) + " of the language";
    question.answer.table = cellsOf(parsed.trace);
    return question;
  }

  Question twoTrees() {
    Question question{
        "Show that the grammar is ambiguous: give two different leftmost derivations of " + theWord(word_) + "."};
    question.kind = QuestionKind::kTwoTrees;
    if (!witness_ || !verifyWitness(classic_, *witness_) || witness_->word != classicWord_) {
      fault = "the two parse trees of " + theWord(word_) + " do not hold";
      return question;
    }
    for (const Tree& tree : witness_->trees)
      question.answer.listing.push_back(derivationIn(model_.typed.notation, leftmostDerivation(classic_.typed, tree)));
    return question;
  }

  const Parsing& model_;
  const Parsing& classic_;
  const std::string& word_;
  const std::string& classicWord_;
  const std::optional<AmbiguityWitness>& witness_;
};

// The word's own stream of choices, apart from the grammar's.
constexpr std::uint64_t kWordStream = 0x776F7264ull;  // "word"

}  // namespace

std::vector<std::string> conflictTexts(const Cells& cells, TableKind kind) {
  std::vector<std::string> texts;
  for (std::size_t i = 1; i < cells.size(); ++i)
    for (std::size_t j = 1; j < cells[i].size(); ++j) {
      const std::string& cell = cells[i][j];
      if (cell.find('|') == std::string::npos) continue;
      if (kind == TableKind::kLL1)
        texts.push_back("M[" + cells[i][0] + ", " + cells[0][j] + "]: " + cell);
      else
        texts.push_back("state " + cells[i][0] + ", " + cells[0][j] + ": " + cell);
    }
  return texts;
}

std::string wordText(const Exercise& exercise) {
  if (!exercise.word.empty()) return exercise.word;
  return exercise.request.notation == Notation::kTokens ? "\xCE\xB5 (the empty word)" : "e (the empty word)";
}

Parsing exerciseModel(const Exercise& exercise) {
  if (exercise.request.notation == Notation::kClassic) return modelOfLines(exercise.grammar);
  std::string text;
  for (const std::string& line : exercise.grammar) text += line + "\n";
  GrammarTextReading reading = readEditorGrammar(text, Notation::kTokens);
  Parsing model;
  if (reading.isSound()) model.loadGrammar(reading.grammar);
  return model;
}

ExerciseMaking makeExercise(const GeneratorRequest& request) {
  ExerciseMaking making;
  Generation generation = generateGrammar(request);
  if (!generation.grammar) {
    making.message = generation.message;
    return making;
  }
  Exercise exercise;
  exercise.request = request;
  exercise.attempt = generation.grammar->attempt;
  exercise.grammar = generation.grammar->lines;
  Parsing classic = modelOfLines(exercise.grammar);
  const std::optional<AmbiguityWitness>& witness = generation.grammar->witness;
  std::string classicWord;
  if (witness) {
    classicWord = witness->word;
  } else {
    SeededRandom random(request.seed ^ kWordStream);
    std::optional<std::string> word = sampleWord(classic, random);
    if (!word) {
      making.message = "The generated grammar derives no word.";
      making.internalFault = true;
      return making;
    }
    classicWord = *word;
  }
  bool tokens = request.notation == Notation::kTokens;
  if (tokens) exercise.grammar = tokenRuleLines(exercise.grammar);
  // The key comes from the grammar as the sheet shows it, read back.
  Parsing model = tokens ? exerciseModel(exercise) : classic;
  if (tokens && !keepsProperty(model, request.property)) {
    making.message = std::string("The answer key failed its own check: the grammar in the token notation is not ") +
                     propertyTitle(request.property) + ".";
    making.internalFault = true;
    return making;
  }
  exercise.word = tokens ? spaced(classicWord) : classicWord;
  Plan plan = planOf(request.property);
  KeyMaker maker(model, classic, exercise.word, classicWord, witness);
  for (Step step : plan.steps) {
    exercise.questions.push_back(maker.make(step, plan.parseWith));
    if (!maker.fault.empty()) {
      making.message = "The answer key failed its own check: " + maker.fault + ".";
      making.internalFault = true;
      return making;
    }
  }
  making.exercise = std::move(exercise);
  return making;
}
