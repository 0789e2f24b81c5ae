// An exercise for a class or an exam: a generated grammar with the
// property asked for, a word of its language, questions that lead through
// the analyses the property is about, and the answer key.  Every answer
// comes from the command layer, as the window and the command-line tool
// show it, and is checked before it is handed out: the word is parsed by
// the conflict-free tables, a table said to have conflicts has them, and
// the two trees of an ambiguous word are checked against the grammar.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "simulation/evaluations.h"
#include "exercises/generator.h"
#include "graphs/automaton_graph.h"
#include "writers/format.h"

struct Answer {
  Lines listing;                   // lines as a listing shows them
  Cells table;                     // a table or a parse; empty when none
  std::vector<std::string> notes;  // sentences after them
};

// What a question asks for, as a quiz needs to know it.
enum class QuestionKind { kSets, kItems, kTable, kParse, kTwoTrees, kTransform };

struct Question {
  Question() = default;
  explicit Question(std::string asked) : text(std::move(asked)) {}

  std::string text;
  Answer answer;
  QuestionKind kind = QuestionKind::kSets;
  GraphKind automaton = GraphKind::kLR0;  // kItems: the automaton whose states are asked for
  std::string grammarClass;               // kTable: "LL(1)", "SLR(1)", "LR(1)" or "LALR(1)"
  bool inClass = false;                   // kTable: the grammar is of that class
};

struct Exercise {
  GeneratorRequest request;
  long attempt = 0;                  // the generator's attempt that found the grammar
  std::vector<std::string> grammar;  // rule lines, "I->S" first ("I -> S" in the token notation)
  std::string word;                  // its tokens apart by blanks in the token notation
  std::vector<Question> questions;
};

struct ExerciseMaking {
  std::optional<Exercise> exercise;
  std::string message;         // why there is none
  bool internalFault = false;  // the key failed its own check: a fault of the program
};

ExerciseMaking makeExercise(const GeneratorRequest& request);

// The word as a sheet shows it: "e (the empty word)" ("ε ..." in the token notation) when empty.
std::string wordText(const Exercise& exercise);

// The model of an exercise's grammar, read in the exercise's notation.
Parsing exerciseModel(const Exercise& exercise);

// The cells of a table of `kind` holding more than one entry, as
// "M[S, a]: S->a|b" for LL(1) and "state 4, a: s5|r2" for the LR tables.
std::vector<std::string> conflictTexts(const Cells& table, TableKind kind);
