// The LR evaluation: the shift/reduce parse of a word with the SLR, LR(1)
// or LALR table, one step a row.
#pragma once

#include <vector>

#include "grammar/parsing.h"
#include "simulation/trace.h"
#include "simulation/word.h"
#include "tables/lr_tables.h"

enum class LRMove { kShift, kReduce, kAccept, kError };

struct LRStep {
  int stack;     // the node on top when the step begins
  int position;  // of the next token of the word
  LRMove move;
  int production = -1;  // of a reduction
  int column = -1;      // the column of the cell read in the top state's row; -1 when the token has none
  int gotoState = -1;   // a reduction: the state whose goto row it read after the pops
};

struct LRParse {
  Word word;
  std::vector<StackNode> nodes;
  std::vector<LRStep> steps;
  bool accepted() const { return !steps.empty() && steps.back().move == LRMove::kAccept; }
  int stateOf(const LRStep& step) const { return nodes[static_cast<size_t>(step.stack)].state; }
};

// A cell's first action decides each step.
LRParse lrParse(const Grammar& grammar, const LRTable& table, const std::string& word);
// The trace: "", "Stack", "Input", "Action", one row a step; the stack is
// its states from the bottom, each followed by a blank.
Table lrTraceText(const Grammar& grammar, const LRParse& parse);

// Each state number from bottom to top, each followed by a blank.
HString stackText(HList<int> stack);
