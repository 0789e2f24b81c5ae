// The LL(1) evaluation: the predictive parse of a word, one step a row.
#pragma once

#include <vector>

#include "grammar/parsing.h"
#include "simulation/trace.h"
#include "simulation/word.h"
#include "tables/ll1_table.h"

enum class LL1Move { kExpand, kMatch, kAccept, kError };

struct LL1Step {
  int stack;      // the node on top (LL1Parse::nodes), the end marker at the bottom
  int position;   // of the next token of the word
  LL1Move move;
  Symbol top;     // the symbol on top: the non-terminal an expansion reads the cell of
  int column;     // the cell's column for an expansion, else -1
};

struct LL1Parse {
  Word word;
  std::vector<StackNode> nodes;
  std::vector<LL1Step> steps;
  bool accepted() const { return !steps.empty() && steps.back().move == LL1Move::kAccept; }
};

LL1Parse ll1Parse(const Grammar& grammar, const LL1Table& table, const std::string& word);
// The trace: "", "Stack", "Input", "Action", one row a step; an expansion
// shows the cell it read.
Table ll1TraceText(const Grammar& grammar, const LL1Table& table, const LL1Parse& parse);
// Both for the model's grammar.
Table ll1EvaluationText(const Parsing& grammar, const HString& word);
