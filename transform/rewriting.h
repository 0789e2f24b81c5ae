// What the transformations share: a log that records each step with the
// rules it changed, fresh non-terminals, and the tidying after a rewrite.
#pragma once

#include <string>
#include <vector>

#include "transform/transform.h"

class StepLog {
 public:
  explicit StepLog(const Grammar& input) : last_(input) {}
  // Records the grammar after a step; the changed rules are found by comparing it with the one before.
  void add(std::string title, std::string note, const Grammar& grammar);
  std::vector<TransformStep> take() { return std::move(steps_); }

 private:
  std::vector<TransformStep> steps_;
  Grammar last_;
};

// Adds a non-terminal named after `base` (E', E'' or an unused letter);
// throws TransformRefused when the classic notation has none left.
Symbol addFreshNonTerminal(Grammar& grammar, Symbol base);
// The productions grouped by head, the start symbol's first and the others in
// the order the heads first come, each
// production once, the rules that use a non-terminal without rules dropped,
// and the symbols no production uses dropped.
Grammar tidied(Grammar grammar);
// Throws WorkStopped when a rewrite has grown past what a grammar to read can hold.
void checkGrowth(const Grammar& grammar);
// Whether a symbol stands in some right side.
bool onRightSide(const Grammar& grammar, Symbol symbol);
// The names of the symbols of a set, "A, B and C".
std::string namesOf(const Grammar& grammar, const std::vector<Symbol>& symbols);

// The transformations, each applied to the grammar in place with its steps logged.
void removeUseless(Grammar& grammar, StepLog& log);
// Refuses a grammar whose start symbol derives no word: every rewrite of it
// would be a grammar without rules.
void refuseEmptyLanguage(const Grammar& grammar);
void removeEmptyRules(Grammar& grammar, StepLog& log);
void removeUnitRules(Grammar& grammar, StepLog& log);
void removeLeftRecursion(Grammar& grammar, StepLog& log);
void leftFactor(Grammar& grammar, StepLog& log);
void toChomskyNormalForm(Grammar& grammar, StepLog& log);
