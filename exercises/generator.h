// Random grammars with a wanted property, for exercises.  A grammar is
// drawn to the size asked, kept only when it is readable (every
// non-terminal reachable from the start and deriving some word, no
// alternative twice, no cycle A =>+ A, nullable non-terminals and left
// recursion exactly when asked for) and has the property; up to a bound of
// attempts.  It starts with a rule I->S whose head appears on no right
// side, so that the LR tables can be built on it at once.
//
// The same request gives the same grammar on every machine: all choices
// come from one SeededRandom in a fixed order.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "exercises/ambiguity.h"
#include "exercises/exercise_property.h"

// The size of the grammar without its first rule I->S.
struct GrammarSize {
  int nonTerminals = 3;
  int productions = 6;  // alternatives, the empty ones included
  int terminals = 3;
};

inline constexpr int kLargestNonTerminals = 24;  // S and the letters but E and I
inline constexpr int kLargestTerminals = 25;     // the lower-case letters but e
inline constexpr int kLargestProductions = 60;

struct GeneratorRequest {
  ExerciseProperty property = ExerciseProperty::kLL1;
  std::uint64_t seed = 1;
  GrammarSize size;
  bool nullable = false;       // some non-terminal can vanish (none when false)
  bool leftRecursion = false;  // some non-terminal is left-recursive (none when false)
  long attempts = 20000;       // grammars drawn before giving up
  // The most states the item sets an exercise asks for may have (LR(0) for
  // slr-not-ll1, LR(1) for lalr-not-slr and lr1-not-lalr), so that they can
  // be built by hand; 0 for three per production and three more.
  int largestCollection = 0;
  // The notation the exercise is written in.  The grammar drawn is the same
  // in both: its symbols are one character each, and the token notation
  // sets them apart by blanks.
  Notation notation = Notation::kClassic;
};

// The bound on the states of the item sets the request asks for.
int collectionBound(const GeneratorRequest& request);

struct GeneratedGrammar {
  std::vector<std::string> lines;           // rule lines, "I->S" first
  long attempt = 0;                         // the attempt that found it, from 1
  std::optional<AmbiguityWitness> witness;  // for an ambiguous grammar
};

struct Generation {
  std::optional<GeneratedGrammar> grammar;
  std::string message;  // why there is none
};

// What is wrong with the request before any attempt, or "" when nothing.
std::string requestProblem(const GeneratorRequest& request);

Generation generateGrammar(const GeneratorRequest& request);

// A model of rule lines that read as a sound grammar.
Parsing modelOfLines(const std::vector<std::string>& lines);
