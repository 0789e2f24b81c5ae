// The LR evaluation.  A cell's first action decides each step: a shift
// pushes its state and consumes a character, a reduction pops one state per
// body symbol and pushes the goto of the state below, and "a" accepts when
// the whole word has been read.
#include "simulation/lr_evaluation.h"

#include <string>
#include <unordered_set>
#include <vector>

#include "simulation/trace.h"
#include "tables/conflicts.h"
#include "tables/table.h"

namespace {

enum Cell { kStack = 0, kInput = 1, kAction = 2 };

// Reductions consume no input, so a table can make them go on forever.  At
// one input position the parse never ends when it reaches the same stack
// again, or when the state on top already stands lower in the stack, pushed
// since the last shift and never popped: the steps between the two repeat.
class ReductionGuard {
 public:
  // After a shift: the input moved, so nothing seen before can repeat.
  void shifted(int top) {
    stacks_.clear();
    freshFrom_ = top;
  }
  // After the pops of a reduction left `height` states.
  void popped(int height) {
    if (height < freshFrom_) freshFrom_ = height;
  }
  // True when the stack (states[0..] bottom to top) repeats earlier steps.
  bool repeats(const std::vector<int>& states, const HString& text) {
    int top = static_cast<int>(states.size()) - 1;
    for (int k = freshFrom_; k < top; ++k)
      if (states[static_cast<size_t>(k)] == states.back()) return true;
    return !stacks_.insert(std::string(text.view())).second;
  }

 private:
  std::unordered_set<std::string> stacks_;
  int freshFrom_ = 0;
};

}  // namespace

HString stackText(HList<int> stack) {
  HString text;
  for (int state : stack) text += HString(state) + " ";
  return text;
}

Table lrEvaluation(const Parsing& grammar, HString word, HString kind) {
  Table table = tableOfKind(grammar, kind);
  ColumnMap column(table.getCount() > 0 ? table[0] : Row());
  int states = table.getCount() - 1;
  Table steps;
  steps.insertTail(emptyStep());
  steps[0][kStack] = "0";
  steps[0][kInput] = word + "$";
  HList<int> stack;
  stack.insertTail(0);
  std::vector<int> shadow{0};  // the stack again, for the guard's lookups
  ReductionGuard guard;
  for (int i = 0;; ++i) {
    steps.insertTail(emptyStep());
    Row& step = steps[i];
    Row& next = steps[i + 1];
    const HString input = step[kInput];
    if (input.getLength() == 0 || !grammar.isTerminal(input[0]) || column[input[0]] == -1 ||
        guard.repeats(shadow, stackText(stack))) {
      step[kAction] = "Error";
      break;
    }
    const HString entry = table[stack.getLast() + 1][column[input[0]]];
    if (entry.getLength() > 0 && entry[0] == 's') {
      int target = static_cast<int>(entry.getSubString(1).toLong());
      if (target < 0 || target >= states) {
        step[kAction] = "Error";
        break;
      }
      step[kAction] = "Shift";
      stack.insertTail(target);
      shadow.push_back(target);
      guard.shifted(static_cast<int>(shadow.size()) - 1);
      next[kStack] = stackText(stack);
      next[kInput] = input.getSubString(1);
      continue;
    }
    if (entry.getLength() > 0 && entry[0] == 'r') {
      int p = static_cast<int>(entry.getSubString(1).toLong());
      if (p < 0 || p >= grammar.productions.getCount()) {
        step[kAction] = "Error";
        break;
      }
      const HString& production = grammar.productions[p];
      step[kAction] = HString("Reduce ") + production;
      int pops = production.getSubString(3) == "e" ? 0 : production.getLength() - 3;
      if (pops >= stack.getCount()) {
        step[kAction] = "Error";
        break;
      }
      for (int k = 0; k < pops; ++k) {
        stack.removeHead();
        shadow.pop_back();
      }
      guard.popped(static_cast<int>(shadow.size()));
      const HString& gotoCell = table[stack.getLast() + 1][column[production[0]]];
      int target = static_cast<int>(gotoCell.toLong());
      if (gotoCell.getLength() == 0 || target < 0 || target >= states) {
        step[kAction] = "Error";
        break;
      }
      stack.insertTail(target);
      shadow.push_back(target);
      next[kStack] = stackText(stack);
      next[kInput] = input;
      continue;
    }
    step[kAction] = entry.getLength() > 0 && entry[0] == 'a' && input == "$" ? "Accept" : "Error";
    break;
  }
  return finishTrace(steps);
}
