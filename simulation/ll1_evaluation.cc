// The LL(1) evaluation: the table-driven predictive parse of a word, one
// trace row per step.  A terminal on top is matched against the input; a
// non-terminal is expanded by its table entry for the lookahead.
#include <cstdint>
#include <string>
#include <vector>

#include "core/work.h"
#include "simulation/ll1_evaluation.h"
#include "simulation/trace.h"
#include "tables/table.h"

namespace {

enum Cell { kStack = 0, kInput = 1, kAction = 2 };

// Expansions that consume no input can go on forever (left recursion that
// the table does not show as a conflict).  A non-terminal expanded again
// while the stack below its first expansion is untouched and the input has
// not moved repeats the same steps without end.  Every stack position
// carries the non-terminals expanded above it at the current input position.
// The loop ends: between two matches of a terminal every expansion stands on
// one of the non-terminals below it, each at most once, so at most 26
// expansions nest; every match consumes a character of the finite input.
class ExpansionGuard {
 public:
  // Called when the non-terminal x on top of a stack of `height` symbols
  // is about to be expanded at input position `at`; true if it repeats.
  bool repeats(char x, int height, int at) {
    size_t below = static_cast<size_t>(height - 2);
    marks_.resize(static_cast<size_t>(height));
    uint32_t bit = uint32_t{1} << (x - 'A');
    uint32_t seen = marks_[below].at == at ? marks_[below].expanded : 0;
    if (seen & bit) return true;
    marks_[below] = {seen | bit, at};
    return false;
  }
  // The symbols pushed by an expansion inherit the marks of the symbol below.
  void pushed(int height) {
    marks_.resize(static_cast<size_t>(height - 1));
    marks_.push_back(marks_.back());
  }

 private:
  struct Mark {
    uint32_t expanded = 0;
    int at = -1;
  };
  std::vector<Mark> marks_;
};

}  // namespace

namespace {

// Every symbol followed by a blank, bottom to top.
HString textOf(const std::string& stack) {
  std::string text;
  for (char symbol : stack) {
    text += symbol;
    text += ' ';
  }
  return HString(text.data(), static_cast<int>(text.size()));
}

}  // namespace

HString Parsing::symbolStackText(HList<char> stack) { return textOf(std::string(stack.begin(), stack.end())); }

Table Parsing::ll1Evaluation(HString word) const { return ll1EvaluationWith(*this, ll1Table(), word); }

Table ll1EvaluationWith(const Parsing& grammar, const Table& table, const HString& word) {
  ColumnMap column(table[0]);
  CellIndex cells(table);
  int rowOf[256];  // the table row of each non-terminal
  for (int& row : rowOf) row = -1;
  int i = 0;
  for (const HString& rule : grammar.rules) rowOf[static_cast<unsigned char>(rule[0])] = ++i;
  Table steps;
  // Rows are copies of one empty row: a copy builds the row in its place.
  const Row empty = emptyStep();
  steps.insertTail(empty);
  std::string stack = {'$', grammar.productions[0][0]};  // the top is the end
  steps[0][kInput] = word + "$";
  ExpansionGuard guard;
  Row* step = &steps.getLast();
  long bytes = 0;  // of the rows' texts, as they will be written
  for (long rows = 2;; step = &steps.getLast(), ++rows) {
    noteRows(rows);
    steps.insertTail(empty);
    Row& next = steps.getLast();
    (*step)[kStack] = textOf(stack);
    const HString& input = (*step)[kInput];
    HString& action = (*step)[kAction];
    bytes += (*step)[kStack].getLength() + input.getLength() + kActionBytes;
    noteOutput(bytes, "The trace's text");
    char x = stack.back();
    if (input.getLength() == 0) {
      action = "Error";
      break;
    }
    char a = input[0];
    if (grammar.isTerminal(x)) {
      if (x != a) {
        action = "Error";
        break;
      }
      stack.pop_back();
      next[kInput] = input.getSubString(1);
      if (x == '$') {
        action = next[kInput].getLength() == 0 ? "Accept" : "Error";
        break;
      }
      continue;
    }
    if (column[a] == -1) {
      action = "Error";
      break;
    }
    const HString& entry = cells.at(rowOf[static_cast<unsigned char>(x)], column[a]);
    next[kInput] = HString(input);
    int consumed = word.getLength() + 1 - input.getLength();
    if (entry.getLength() == 0 || guard.repeats(x, static_cast<int>(stack.size()), consumed)) {
      action = "Error";
      break;
    }
    action = HString(entry);
    stack.pop_back();
    HString body = entry.getToken("|", 3).withoutChar('e');
    for (int k = body.getLength() - 1; k >= 0; --k) {
      stack += body[k];
      guard.pushed(static_cast<int>(stack.size()));
    }
  }
  return finishTrace(std::move(steps));
}
