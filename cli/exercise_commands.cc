#include "cli/exercise_commands.h"

#include <CLI/CLI.hpp>
#include <charconv>
#include <cstdio>
#include <iostream>

#include "cli/commands.h"
#include "cli/input.h"
#include "core/work.h"
#include "grammar/grammar_file.h"
#include "exercises/item_grading.h"
#include "exercises/moodle.h"
#include "exercises/set_grading.h"
#include "exercises/sheet.h"
#include "exercises/table_grading.h"
#include "exercises/transform_grading.h"
#include "exercises/transform_question.h"
#include "grammar/examples.h"
#include "grammar/reading.h"
#include "grammar/text_reading.h"

namespace {

constexpr const char* kProgram = "tablomat-cli";
constexpr int kExitNotFound = 1;  // exercise: no grammar found; grade: not all right

struct Failure {
  int status;
  std::string message;
};

std::string oneLine(std::string text) {
  while (!text.empty() && text.back() == '\n') text.pop_back();
  for (std::string::size_type at; (at = text.find('\n')) != std::string::npos;) text.replace(at, 1, "; ");
  return text;
}

// The format named, or a usage error naming `own`, the command's format of its own, too.
Format formatOf(const std::string& name, const char* own) {
  std::optional<Format> format = formatNamed(name);
  if (!format)
    throw Failure{kExitUsage,
                  "unknown format '" + name + "'; the formats are text, csv, markdown, latex, json, " + own};
  return *format;
}

// Parses the command's options; --help ends the program with the help.
void parse(CLI::App& app, int argc, char** argv) {
  try {
    app.parse(argc - 1, argv + 1);
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() == 0) throw Failure{app.exit(e), ""};
    throw Failure{kExitUsage, oneLine(e.what())};
  }
}

// "left-recursion, left-factor, ...", each name after `prefix`.
std::string kindList(const std::string& prefix) {
  std::string names;
  for (const auto& [name, kind] : transformKinds()) names += (names.empty() ? "" : ", ") + prefix + std::string(name);
  return names;
}

GrammarSize sizeNamed(std::string text) {
  std::erase(text, ' ');
  GrammarSize size;
  int* parts[] = {&size.nonTerminals, &size.productions, &size.terminals};
  std::size_t from = 0;
  for (int k = 0; k < 3; ++k) {
    std::size_t comma = text.find(',', from);
    std::string part = text.substr(from, comma == std::string::npos ? std::string::npos : comma - from);
    if (part.empty() || part.size() > 3 || part.find_first_not_of("0123456789") != std::string::npos ||
        (k < 2) == (comma == std::string::npos))
      throw Failure{kExitUsage, "--size takes three numbers N,P,T: non-terminals, productions, terminals (as 3,6,3)"};
    *parts[k] = std::stoi(part);
    from = comma + 1;
  }
  return size;
}

// A seed in the range of 64 bits, written in decimal; anything else would
// wrap silently into a seed the teacher did not ask for.
std::uint64_t seedNamed(const std::string& text) {
  std::uint64_t seed = 0;
  const char* end = text.data() + text.size();
  auto [at, error] = std::from_chars(text.data(), end, seed);
  if (text.empty() || error != std::errc() || at != end)
    throw Failure{kExitUsage, "--seed takes a whole number from 0 to 18446744073709551615, not '" + text + "'"};
  return seed;
}

int exercise(int argc, char** argv) {
  CLI::App app{
      "Writes an exercise: a random grammar with the property asked for, a word of its language,\n"
      "the questions and the answer key.",
      std::string(kProgram) + " exercise"};
  std::string property, size, part = "both", format = "text";
  std::string seedText;
  bool nullable = false, leftRecursion = false;
  long attempts = GeneratorRequest{}.attempts;
  app.add_option("-p,--property", property, "ll1, slr-not-ll1, lalr-not-slr, lr1-not-lalr or ambiguous")
      ->required()
      ->type_name("P");
  app.add_option("-s,--seed", seedText, "the seed, 0 to 18446744073709551615: the same seed gives the same exercise")
      ->required()
      ->type_name("N");
  app.add_option("--size", size,
                 "non-terminals, productions, terminals without I->S (default 3,6,3; one production more per feature)")
      ->type_name("N,P,T");
  app.add_flag("--nullable", nullable, "with non-terminals that can vanish");
  app.add_flag("--left-recursion", leftRecursion, "with a left-recursive non-terminal");
  std::string transformName;
  app.add_option("--transform", transformName,
                 "also ask for a transformation of the grammar, KIND as transform takes it\n"
                 "(left-recursion, left-factor, epsilon, unit, useless, cnf, ll1)")
      ->type_name("KIND");
  std::string notation = "classic";
  app.add_option("--notation", notation,
                 "classic or tokens: the notation the grammar, the word and the key are written in\n"
                 "(default classic; the same seed draws the same grammar in both)")
      ->type_name("N")
      ->check(CLI::IsMember({"classic", "tokens"}));
  app.add_option("--part", part, "questions, key or both (default both)")->type_name("PART");
  app.add_option("--attempts", attempts, "grammars drawn before giving up (default 20000)")->type_name("N");
  int largest = 0;
  app.add_option("--max-states", largest,
                 "the most states of the item sets asked for (default 3 per production, plus 3)")
      ->type_name("N");
  app.add_option("-f,--format", format,
                 "text, csv, markdown, latex, json or moodle (a Moodle XML quiz: the questions\n"
                 "with the key as their right answers) (default text)")
      ->type_name("F");
  app.footer("Exit status: 0 written; 1 no grammar found within the attempts; 2 usage error;\n"
             "70 the key failed its own check (a fault of the program); 74 the output could not be written.");
  parse(app, argc, argv);

  GeneratorRequest request;
  std::optional<ExerciseProperty> named = propertyNamed(property);
  if (!named)
    throw Failure{kExitUsage, "unknown property '" + property +
                                  "'; the properties are ll1, slr-not-ll1, lalr-not-slr, lr1-not-lalr, ambiguous"};
  std::optional<SheetPart> sheetPart = sheetPartNamed(part);
  if (!sheetPart) throw Failure{kExitUsage, "unknown part '" + part + "'; the parts are questions, key, both"};
  bool moodle = format == "moodle";
  if (moodle && *sheetPart != SheetPart::kBoth)
    throw Failure{kExitUsage, "a Moodle quiz holds the questions and the key together; leave out --part"};
  Format chosen = moodle ? Format::kText : formatOf(format, "moodle");
  request.property = *named;
  request.seed = seedNamed(seedText);
  request.nullable = nullable;
  request.leftRecursion = leftRecursion;
  request.attempts = attempts;
  request.largestCollection = largest;
  request.notation = notation == "tokens" ? Notation::kTokens : Notation::kClassic;
  if (size.empty())
    request.size.productions += (nullable ? 1 : 0) + (leftRecursion ? 1 : 0);
  else
    request.size = sizeNamed(size);
  std::string problem = requestProblem(request);
  if (!problem.empty()) throw Failure{kExitUsage, problem};

  std::optional<TransformKind> transformKind;
  if (!transformName.empty() && !(transformKind = transformKindNamed(transformName)))
    throw Failure{kExitUsage, "unknown transformation '" + transformName + "'; the kinds are " + kindList("")};
  ExerciseMaking making = transformKind ? makeExercise(request, *transformKind) : makeExercise(request);
  if (!making.exercise) throw Failure{making.internalFault ? kExitInternal : kExitNotFound, making.message};
  std::cout << (moodle ? moodleQuiz(*making.exercise) : renderSheet(*making.exercise, chosen, *sheetPart));
  return kExitOk;
}

struct GradeQuestion {
  const char* name;
  enum { kSets, kTable, kItems } what;
  SetKind sets = SetKind::kFirst;
  TableKind table = TableKind::kLL1;
  bool lr1 = false;
};

constexpr GradeQuestion kGradeQuestions[] = {
    {"first", GradeQuestion::kSets, SetKind::kFirst},
    {"follow", GradeQuestion::kSets, SetKind::kFollow},
    {"ll1-table", GradeQuestion::kTable, SetKind::kFirst, TableKind::kLL1},
    {"slr-table", GradeQuestion::kTable, SetKind::kFirst, TableKind::kSLR},
    {"lr1-table", GradeQuestion::kTable, SetKind::kFirst, TableKind::kLR1},
    {"lalr-table", GradeQuestion::kTable, SetKind::kFirst, TableKind::kLALR},
    {"lr0-items", GradeQuestion::kItems, SetKind::kFirst, TableKind::kLL1, false},
    {"lr1-items", GradeQuestion::kItems, SetKind::kFirst, TableKind::kLL1, true},
};

// The test of the autograder an element counts in: its set, its table row,
// or the state whose items are graded.
std::string testName(const GradeQuestion& question, int state, const MarkedElement& element) {
  switch (question.what) {
    case GradeQuestion::kSets: return element.row;
    case GradeQuestion::kTable:
      return std::string(question.name) + ", " + (question.table == TableKind::kLL1 ? "non-terminal " : "state ") +
             element.row;
    case GradeQuestion::kItems: return std::string(question.name) + ", state " + std::to_string(state);
  }
  return "";
}

// A transformed grammar graded against the grammar given, in either notation.
int gradeTransform(const std::string& grammarText, Notation notation, TransformKind kind, const std::string& answer,
                   const std::string& answerFile, bool gradescope, Format format) {
  GrammarTextReading input = readEditorGrammar(grammarText, notation);
  if (!input.isSound()) {
    std::cerr << input.messages << "\n";
    return kExitGrammar;
  }
  GradeResult result = gradeTransformation(input.grammar, kind, answer);
  if (!result.ok()) {
    std::string why = "cannot read the answer " + answerFile + ": " + oneLine(result.error);
    if (gradescope) std::cout << gradescopeFailure(why);
    throw Failure{kExitUsage, why};
  }
  if (gradescope)
    std::cout << renderGradescope(result.grading, [](const MarkedElement& element) { return element.entry; });
  else
    std::cout << renderGrading(result.grading, format);
  return result.grading.allRight() ? kExitOk : kExitRejected;
}

int grade(int argc, char** argv) {
  CLI::App app{"Grades a student's answer for a grammar: every element right, wrong or missing, and a score.",
               std::string(kProgram) + " grade"};
  std::string question, file, answerFile, format = "text";
  int example = 0, state = 0;
  app.add_option("QUESTION", question,
                 "first, follow, ll1-table, slr-table, lr1-table, lalr-table, lr0-items, lr1-items,\n"
                 "or transform-KIND for a transformation (transform-ll1, transform-cnf, ...)")
      ->required()
      ->type_name("");
  app.add_option("FILE", file, "the grammar file; '-' or none reads standard input")->type_name("");
  CLI::Option* exampleOption = app.add_option("-x,--example", example, "the built-in example grammar N")
                                   ->type_name("N")
                                   ->check(CLI::Range(1, kExampleCount));
  app.add_option("-a,--answer", answerFile,
                 "the answer: sets as the first and follow listings write them, a table in\n"
                 "CSV as --format csv writes it, the items of one state a line each, or the\n"
                 "transformed grammar")
      ->required()
      ->type_name("ANSWER");
  CLI::Option* stateOption =
      app.add_option("--state", state, "the state whose items are graded (lr0-items, lr1-items)")->type_name("N");
  app.add_option("-f,--format", format,
                 "text, csv, markdown, latex, json or gradescope (a Gradescope autograder's\n"
                 "results.json: one test per set, table row or state) (default text)")
      ->type_name("F");
  Notation notation = Notation::kClassic;
  CLI::Option* notationOption = addNotationOption(app, notation);
  WorkLimits limits;
  addLimitOptions(app, limits);
  app.footer(
      "For a grammar in the token notation, symbols in the answer stand apart by blanks (First(E): ( id),\n"
      "a table's header names tokens, and items read E -> E ° + T, $ +; the start rule the analyses add\n"
      "(E' -> E) is graded where the answer has its set or its row, and not missed where it has none.\n"
      "Exit status: 0 all right; 1 something wrong or missing; 2 usage error or unreadable answer;\n"
      "3 the grammar has errors; 5 stopped at a limit (which one on standard error); 74 the output\n"
      "could not be written; 70 internal failure of the program.");
  parse(app, argc, argv);
  WorkScope scope(limits);

  const GradeQuestion* asked = nullptr;
  for (const GradeQuestion& q : kGradeQuestions)
    if (question == q.name) asked = &q;
  std::optional<TransformKind> transformKind;
  if (question.starts_with("transform-")) {
    transformKind = transformKindNamed(std::string_view(question).substr(std::string_view("transform-").size()));
    if (!transformKind)
      throw Failure{kExitUsage, "unknown transformation in '" + question + "'; the questions are " + kindList("transform-")};
  }
  if (asked == nullptr && !transformKind)
    throw Failure{
        kExitUsage,
        "unknown question '" + question +
            "'; the questions are first, follow, ll1-table, slr-table, lr1-table, lalr-table, lr0-items, lr1-items, "
            "transform-KIND"};
  bool gradescope = format == "gradescope";
  Format chosen = gradescope ? Format::kJson : formatOf(format, "gradescope");
  if (exampleOption->count() > 0 && !file.empty()) throw Failure{kExitUsage, "give either FILE or --example, not both"};
  if (std::string misuse = notationMisuse(*notationOption, *exampleOption); !misuse.empty())
    throw Failure{kExitUsage, misuse};
  bool grammarFromInput = exampleOption->count() == 0 && (file.empty() || file == "-");
  if (grammarFromInput && answerFile == "-")
    throw Failure{kExitUsage, "the grammar and the answer cannot both come from standard input"};
  if (stateOption->count() > 0 && (transformKind || asked->what != GradeQuestion::kItems))
    throw Failure{kExitUsage, "--state belongs to the questions lr0-items and lr1-items"};

  std::string answer = readInput(answerFile, "answer");
  HString grammarText;
  if (exampleOption->count() > 0) {
    grammarText = editorTextOf(examples()[static_cast<std::size_t>(example - 1)]);
  } else {
    // Read as every command reads it: the window's files carry a word line.
    grammarText = editorText(parseGrammarFile(readInput(file, "grammar")).text);
  }
  if (transformKind)
    return gradeTransform(std::string(grammarText.view()), notation, *transformKind, answer, answerFile, gradescope, chosen);
  Parsing model;
  Lines messages;
  int status = kExitOk;
  if (!loadGrammar(grammarText, model, messages, status, notation)) {
    for (const std::string& line : messages) std::cerr << controlsEscaped(line) << "\n";
    return status;
  }

  Grading grading;
  switch (asked->what) {
    case GradeQuestion::kSets: grading = gradeSets(model, asked->sets, answer); break;
    case GradeQuestion::kTable: {
      GradeResult result = gradeTable(model, asked->table, answer);
      if (!result.ok()) {
        std::string why = "cannot read the answer " + answerFile + ": " + result.error;
        // The autograder shows the student why, rather than failing without results.
        if (gradescope) std::cout << gradescopeFailure(why);
        throw Failure{kExitUsage, why};
      }
      grading = std::move(result.grading);
      break;
    }
    case GradeQuestion::kItems: {
      int states = static_cast<int>(stateOrigins(model, asked->lr1).size());
      if (state < 0 || state >= states)
        throw Failure{kExitUsage, "there is no state " + std::to_string(state) + "; the states are 0 to " +
                                      std::to_string(states - 1)};
      grading = gradeItems(model, asked->lr1, state, answer);
      break;
    }
  }
  // The answer's texts come back in the marks; JSON escapes them itself.
  if (chosen != Format::kJson)
    for (MarkedElement& element : grading.elements)
      for (std::string* text : {&element.row, &element.column, &element.entry, &element.reason})
        *text = controlsEscaped(*text);
  std::string text = gradescope ? renderGradescope(grading, [&](const MarkedElement& element) {
    return testName(*asked, state, element);
  })
                                : renderGrading(grading, chosen);
  noteOutput(static_cast<long>(text.size()));
  std::cout << text;
  return grading.allRight() ? kExitOk : kExitRejected;
}

}  // namespace

bool isExerciseCommand(std::string_view name) {
  const CommandInfo* found = commandNamed(name);
  return found != nullptr && found->kind == CommandKind::kExercise;
}

int runExerciseCommand(int argc, char** argv) {
  try {
    int status = std::string_view(argv[1]) == "exercise" ? exercise(argc, argv) : grade(argc, argv);
    return outputWritten() ? status : kExitOutput;
  } catch (const Failure& failure) {
    if (!failure.message.empty()) std::cerr << kProgram << ": " << controlsEscaped(failure.message) << "\n";
    return failure.status;
  } catch (const InputError& error) {
    std::cerr << kProgram << ": " << controlsEscaped(error.what()) << "\n";
    return kExitUsage;
  } catch (const WorkStopped& stopped) {
    std::cerr << kProgram << ": " << stopped.what() << "\n";
    return kExitLimit;
  }
}

