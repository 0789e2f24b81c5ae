// The LR evaluation.  A cell's first action decides each step: a shift
// pushes its state and consumes a character, a reduction pops one state per
// body symbol and pushes the goto of the state below, and "a" accepts when
// the whole word has been read.
#include "simulation/lr_evaluation.h"

#include <charconv>
#include <string>
#include <string_view>
#include <vector>

#include "core/hash_index.h"
#include "core/work.h"
#include "simulation/trace.h"
#include "tables/table.h"

namespace {

enum Cell { kStack = 0, kInput = 1, kAction = 2 };

// Reductions consume no input, so a table can make them go on forever.  At
// one input position the parse never ends when it reaches the same stack
// again, or when the state on top already stands lower in the stack, pushed
// since the last shift and never popped: an action depends only on the top
// state and the next input character, so the steps from the lower copy,
// which never reached below it, repeat from the upper one, and again.
// The loop ends: between two shifts the stack either stays within a bounded
// height, where it must come back to a stack it had (caught by the first
// test), or grows above its lowest point since the shift by more states than
// the table has, and then holds one of them twice (caught by the second);
// and every shift consumes a character of the finite input.
class ReductionGuard {
 public:
  // After a shift: the input moved, so nothing seen before can repeat.
  void shifted(int top) {
    seen_.clear();
    stacks_.clear();
    freshFrom_ = top;
  }
  // After the pops of a reduction left `height` states.
  void popped(int height) {
    if (height < freshFrom_) freshFrom_ = height;
  }
  // True when the stack (states[0..] bottom to top) repeats earlier steps.
  // `text` must outlive the guard: the rows of the trace hold it.
  bool repeats(const std::vector<int>& states, std::string_view text) {
    int top = static_cast<int>(states.size()) - 1;
    for (int k = freshFrom_; k < top; ++k)
      if (states[static_cast<size_t>(k)] == states.back()) return true;
    std::uint64_t hash = HashIndex::hashOf(text);
    if (seen_.find(hash, [&](int k) { return stacks_[static_cast<size_t>(k)] == text; }) != -1) return true;
    seen_.add(hash);
    stacks_.push_back(text);
    return false;
  }

 private:
  // The stacks met since the last shift, found by their texts.
  HashIndex seen_;
  std::vector<std::string_view> stacks_;
  int freshFrom_ = 0;
};

}  // namespace

namespace {

// A stack of states with its text, each state number followed by a blank,
// bottom to top; the text follows the pushes and pops, so a row's copy of
// it costs its length and no numbers are written again.
class StateStack {
 public:
  void push(int state) {
    char digits[12];
    text_.append(digits, static_cast<size_t>(std::to_chars(digits, digits + sizeof digits, state).ptr - digits));
    text_ += ' ';
    states_.push_back(state);
    ends_.push_back(text_.size());
  }
  // Keeps the bottom `height` states (at least one).
  void popTo(size_t height) {
    states_.resize(height);
    ends_.resize(height);
    text_.resize(ends_.back());
  }
  const std::vector<int>& states() const { return states_; }
  int top() const { return states_.back(); }
  size_t size() const { return states_.size(); }
  const std::string& text() const { return text_; }

 private:
  std::vector<int> states_;
  std::vector<size_t> ends_;  // the text's length after each state
  std::string text_;
};

HString hstringOf(const std::string& text) { return HString(text.data(), static_cast<int>(text.size())); }

}  // namespace

HString stackText(HList<int> stack) {
  StateStack states;
  for (int state : stack) states.push(state);
  return hstringOf(states.text());
}

Table lrEvaluationWith(const Parsing& grammar, const Table& table, const HString& word) {
  ColumnMap column(table[0]);
  CellIndex cells(table);
  int states = table.getCount() - 1;
  auto cell = [&](int state, int symbolColumn) -> const HString& { return cells.at(state + 1, symbolColumn); };

  Table steps;
  // Rows are copies of one empty row: a copy builds the row in its place.
  const Row empty = emptyStep();
  steps.insertTail(empty);
  steps[0][kStack] = "0";
  steps[0][kInput] = word + "$";
  StateStack stack;
  stack.push(0);
  ReductionGuard guard;
  // The action texts, made once and shared by the rows.
  const HString shift("Shift");
  // Per production: its action text, the states a reduction pops, its head.
  std::vector<HString> reduce;
  std::vector<int> popsOf;
  std::vector<char> headOf;
  for (const HString& production : grammar.productions) {
    reduce.push_back(HString("Reduce ") + production);
    popsOf.push_back(production.getSubString(3) == "e" ? 0 : production.getLength() - 3);
    headOf.push_back(production[0]);
  }
  const std::string firstStack = stack.text();
  Row* step = &steps.getLast();
  long bytes = 0;  // of the rows' texts, as they will be written
  for (long rows = 2;; ++rows) {
    noteRows(rows);
    steps.insertTail(empty);
    Row& next = steps.getLast();
    const HString& input = (*step)[kInput];
    HString& action = (*step)[kAction];
    std::string_view text = step == &steps[0] ? std::string_view(firstStack) : (*step)[kStack].view();
    bytes += static_cast<long>(text.size()) + input.getLength() + kActionBytes;
    noteOutput(bytes, "The trace's text");
    if (input.getLength() == 0 || !grammar.isTerminal(input[0]) || column[input[0]] == -1 ||
        guard.repeats(stack.states(), text)) {
      action = "Error";
      break;
    }
    const HString& entry = cell(stack.top(), column[input[0]]);
    if (entry.getLength() > 0 && entry[0] == 's') {
      int target = static_cast<int>(entry.getSubString(1).toLong());
      if (target < 0 || target >= states) {
        action = "Error";
        break;
      }
      action = shift;
      stack.push(target);
      guard.shifted(static_cast<int>(stack.size()) - 1);
      next[kStack] = hstringOf(stack.text());
      next[kInput] = input.getSubString(1);
    } else if (entry.getLength() > 0 && entry[0] == 'r') {
      int p = static_cast<int>(entry.getSubString(1).toLong());
      if (p < 0 || p >= static_cast<int>(reduce.size())) {
        action = "Error";
        break;
      }
      int pops = popsOf[static_cast<size_t>(p)];
      if (pops >= static_cast<int>(stack.size())) {
        action = "Error";
        break;
      }
      stack.popTo(stack.size() - static_cast<size_t>(pops));
      guard.popped(static_cast<int>(stack.size()));
      const HString& gotoCell = cell(stack.top(), column[headOf[static_cast<size_t>(p)]]);
      int target = static_cast<int>(gotoCell.toLong());
      if (gotoCell.getLength() == 0 || target < 0 || target >= states) {
        action = "Error";
        break;
      }
      action = reduce[static_cast<size_t>(p)];
      stack.push(target);
      next[kStack] = hstringOf(stack.text());
      next[kInput] = HString(input);
    } else {
      action = entry.getLength() > 0 && entry[0] == 'a' && input == "$" ? "Accept" : "Error";
      break;
    }
    step = &next;
  }
  return finishTrace(std::move(steps));
}
