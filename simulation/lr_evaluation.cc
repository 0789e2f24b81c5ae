// The LR evaluation.  A cell's first action decides each step: a shift
// pushes its state and consumes a token, a reduction pops one state per
// body symbol and pushes the goto of the state below, and an accept ends
// the parse when the whole word has been read.
#include "simulation/lr_evaluation.h"

#include <charconv>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/hash_index.h"
#include "core/work.h"
#include "grammar/symbol_text.h"
#include "simulation/trace.h"

namespace {

// Reductions consume no input, so a table can make them go on forever.  At
// one input position the parse never ends when it reaches the same stack
// again, or when the state on top already stands lower in the stack, pushed
// since the last shift and never popped: an action depends only on the top
// state and the next input token, so the steps from the lower copy, which
// never reached below it, repeat from the upper one, and again.
// The loop ends: between two shifts the stack either stays within a bounded
// height, where it must come back to a stack it had (caught by the first
// test), or grows above its lowest point since the shift by more states than
// the table has, and then holds one of them twice (caught by the second);
// and every shift consumes a token of the finite input.
//
// Equal stacks are one node: pushes are shared through an index of
// (parent, state), so a stack met again is a node met again.
class ReductionGuard {
 public:
  // After a shift to `height` states: the input moved, so nothing seen before can repeat.
  void shifted(int height) {
    ++generation_;
    freshFrom_ = height - 1;
  }
  // After the pops of a reduction left `height` states.
  void popped(int height) {
    if (height < freshFrom_) freshFrom_ = height;
  }
  // True when the stack with `top` repeats earlier steps.
  bool repeats(const std::vector<StackNode>& nodes, int top) {
    const StackNode& node = nodes[static_cast<size_t>(top)];
    for (int k = node.parent; k != -1 && nodes[static_cast<size_t>(k)].height > freshFrom_;
         k = nodes[static_cast<size_t>(k)].parent)
      if (nodes[static_cast<size_t>(k)].state == node.state) return true;
    if (static_cast<size_t>(top) >= seen_.size()) seen_.resize(nodes.size() * 2, 0);
    if (seen_[static_cast<size_t>(top)] == generation_) return true;
    seen_[static_cast<size_t>(top)] = generation_;
    return false;
  }

 private:
  std::vector<unsigned> seen_;  // by node: the generation that met it
  unsigned generation_ = 1;
  int freshFrom_ = 0;
};

// The nodes of a parse, a push met again being the node made the first time.
class Pushes {
 public:
  explicit Pushes(std::vector<StackNode>& nodes) : nodes_(nodes) {}
  int push(int parent, int state, Symbol symbol) {
    unsigned long long key = (static_cast<unsigned long long>(static_cast<unsigned>(parent + 1)) << 32) |
                             static_cast<unsigned>(state);
    auto [found, isNew] = index_.try_emplace(key, static_cast<int>(nodes_.size()));
    if (isNew) {
      int height = parent == -1 ? 1 : nodes_[static_cast<size_t>(parent)].height + 1;
      nodes_.push_back(StackNode{state, symbol, parent, height});
    }
    return found->second;
  }

 private:
  std::vector<StackNode>& nodes_;
  std::unordered_map<unsigned long long, int> index_;
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

LRParse lrParse(const Grammar& grammar, const LRTable& table, const std::string& text) {
  LRParse parse;
  parse.word = readWord(grammar, text);
  const Symbols& input = parse.word.symbols;
  std::vector<StackNode>& nodes = parse.nodes;
  Pushes pushes(nodes);
  ReductionGuard guard;
  int top = pushes.push(-1, 0, kNoSymbol);
  int at = 0;
  auto isInputSymbol = [&](Symbol a) { return a == grammar.endMarker() || (a >= 0 && grammar.isTerminal(a)); };
  for (long rows = 2;; ++rows) {
    noteRows(rows);
    parse.steps.push_back(LRStep{top, at, LRMove::kError});
    LRStep& step = parse.steps.back();
    Symbol a = input[static_cast<size_t>(at)];
    step.column = table.column(a);
    if (!isInputSymbol(a) || step.column == -1 || guard.repeats(nodes, top)) break;
    const StackNode& node = nodes[static_cast<size_t>(top)];
    std::span<const Action> cell = table.cell(node.state, step.column);
    if (cell.empty()) break;
    const Action& action = cell.front();
    if (action.kind == ActionKind::kShift) {
      step.move = LRMove::kShift;
      top = pushes.push(top, action.target, a);
      guard.shifted(nodes[static_cast<size_t>(top)].height);
      ++at;
    } else if (action.kind == ActionKind::kReduce) {
      const Production& production = grammar.productions[static_cast<size_t>(action.target)];
      int pops = static_cast<int>(production.body.size());
      if (pops >= node.height) break;
      int below = top;
      for (int k = 0; k < pops; ++k) below = nodes[static_cast<size_t>(below)].parent;
      guard.popped(nodes[static_cast<size_t>(below)].height);
      int state = nodes[static_cast<size_t>(below)].state;
      step.gotoState = state;
      int column = table.column(production.head);
      std::span<const Action> gotoCell = table.cell(state, column);
      if (gotoCell.empty() || gotoCell.front().kind != ActionKind::kGoto) break;
      step.move = LRMove::kReduce;
      step.production = action.target;
      top = pushes.push(below, gotoCell.front().target, production.head);
    } else {
      if (action.kind == ActionKind::kAccept && at + 1 == static_cast<int>(input.size())) step.move = LRMove::kAccept;
      break;
    }
  }
  return parse;
}

namespace {

void writeState(const void*, const StackNode& node, std::string& out) {
  char digits[12];
  out.append(digits, static_cast<size_t>(std::to_chars(digits, digits + sizeof digits, node.state).ptr - digits));
}

}  // namespace

Table lrTraceText(const Grammar& grammar, const LRParse& parse) {
  // The action texts, made once and shared by the rows.
  const HString shift("Shift"), accept("Accept"), error("Error");
  std::vector<HString> reduce;
  for (size_t p = 0; p < grammar.productions.size(); ++p)
    reduce.push_back(hstringOf("Reduce " + productionText(grammar, static_cast<int>(p))));
  StackTexts stacks(parse.nodes, writeState, nullptr);
  Table steps;
  const HString input = hstringOf(wholeInput(parse.word));
  long bytes = 0;  // of the rows' texts, as they will be written
  for (const LRStep& step : parse.steps) {
    Row row;
    const std::string& stack = stacks.of(step.stack);
    // The first row has always shown the bottom state without its blank.
    row.insertTail(&step == &parse.steps.front() ? HString("0") : hstringOf(stack));
    row.insertTail(input.getSubString(inputOffset(parse.word, step.position)));
    switch (step.move) {
      case LRMove::kShift: row.insertTail(shift); break;
      case LRMove::kReduce: row.insertTail(reduce[static_cast<size_t>(step.production)]); break;
      case LRMove::kAccept: row.insertTail(accept); break;
      case LRMove::kError: row.insertTail(error); break;
    }
    bytes += static_cast<long>(stack.size()) + row[1].getLength() + kActionBytes;
    noteOutput(bytes, "The trace's text");
    steps.insertTail(std::move(row));
  }
  steps.insertTail(emptyStep());
  return finishTrace(std::move(steps));
}
