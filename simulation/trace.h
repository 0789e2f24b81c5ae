// The shape shared by the evaluation traces.
#pragma once

#include <string>
#include <vector>

#include "grammar/parsing.h"

// The stacks of a parse as a tree of pushes: a stack is its top node, and
// the steps share what their stacks share, so a long parse stays linear.
struct StackNode {
  int state;      // LR: the state pushed; -1 in an LL(1) stack
  Symbol symbol;  // the symbol pushed (LR: the one the state was reached on); kNoSymbol at the LR bottom
  int parent;     // -1 at the bottom
  int height;     // the nodes from the bottom to this one
};

// The texts of the stacks of one step after another, each node written by
// `write` and followed by a blank: the text follows the pushes and pops
// between two steps, so a row's copy of it costs its length and nothing
// is written again.
class StackTexts {
 public:
  using Write = void (*)(const void* context, const StackNode& node, std::string& out);
  StackTexts(const std::vector<StackNode>& nodes, Write write, const void* context)
      : nodes_(nodes), write_(write), context_(context) {}
  const std::string& of(int top);

 private:
  const std::vector<StackNode>& nodes_;
  Write write_;
  const void* context_;
  std::vector<int> path_;     // the nodes of the current stack, bottom first
  std::vector<size_t> ends_;  // the text's length after each
  std::vector<int> above_;    // scratch: the nodes a step pushed
  std::string text_;
};

// What a row adds to the written trace besides its stack and input: the
// step's number, the action, separators; an estimate, so that a trace stops
// growing near the limit of the output long before its memory runs out.
inline constexpr long kActionBytes = 16;

// A new step row of three empty cells: stack, input, action.
Row emptyStep();
// Drops the row prepared for a step that never came, puts the header
// "", "Stack", "Input", "Action" first and numbers the steps from 1.
Table finishTrace(Table steps);
