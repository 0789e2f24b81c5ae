// The LL(1) evaluation: the table-driven predictive parse of a word, one
// step a row.  A terminal on top is matched against the input; a
// non-terminal is expanded by the first production of its cell for the
// lookahead (a cell of several is a conflict the caller was told about).
#include "simulation/ll1_evaluation.h"

#include <algorithm>
#include <string>
#include <vector>

#include "core/work.h"
#include "grammar/symbol_text.h"
#include "simulation/trace.h"

namespace {

// Expansions that consume no input can go on forever (left recursion that
// the table does not show as a conflict).  A non-terminal expanded again
// while the stack below its first expansion is untouched and the input has
// not moved repeats the same steps without end.  Every stack position
// carries the non-terminals expanded above it at the current input position.
// The loop ends: between two matches of a terminal every expansion stands on
// one of the non-terminals below it, each at most once, so at most as many
// expansions nest as there are non-terminals; every match consumes a token.
class ExpansionGuard {
 public:
  // Called when the non-terminal x on top of a stack of `height` symbols
  // is about to be expanded at input position `at`; true if it repeats.
  bool repeats(Symbol x, int height, int at) {
    size_t below = static_cast<size_t>(height - 2);
    marks_.resize(static_cast<size_t>(height));
    Mark& mark = marks_[below];
    if (mark.at != at) mark = Mark{{}, at};
    if (std::find(mark.expanded.begin(), mark.expanded.end(), x) != mark.expanded.end()) return true;
    mark.expanded.push_back(x);
    return false;
  }
  // The symbols pushed by an expansion inherit the marks of the symbol below.
  void pushed(int height) {
    marks_.resize(static_cast<size_t>(height - 1));
    marks_.push_back(marks_.back());
  }

 private:
  struct Mark {
    Symbols expanded;
    int at = -1;
  };
  std::vector<Mark> marks_;
};

bool isTerminalOrEnd(const Grammar& grammar, Symbol s) { return s == grammar.endMarker() || grammar.isTerminal(s); }

}  // namespace

LL1Parse ll1Parse(const Grammar& grammar, const LL1Table& table, const std::string& text) {
  LL1Parse parse;
  parse.word = readWord(grammar, text);
  const Symbols& input = parse.word.symbols;
  std::vector<StackNode>& nodes = parse.nodes;
  auto push = [&](int parent, Symbol symbol) {
    int height = parent == -1 ? 1 : nodes[static_cast<size_t>(parent)].height + 1;
    nodes.push_back(StackNode{-1, symbol, parent, height});
    return static_cast<int>(nodes.size()) - 1;
  };
  int top = push(push(-1, grammar.endMarker()), grammar.start());
  ExpansionGuard guard;
  int at = 0;
  for (long rows = 2;; ++rows) {
    noteRows(rows);
    const StackNode node = nodes[static_cast<size_t>(top)];
    Symbol x = node.symbol;
    parse.steps.push_back(LL1Step{top, at, LL1Move::kError, x, -1});
    LL1Step& step = parse.steps.back();
    Symbol a = input[static_cast<size_t>(at)];
    if (isTerminalOrEnd(grammar, x)) {
      if (x != a) break;
      top = node.parent;
      ++at;
      if (x != grammar.endMarker()) {
        step.move = LL1Move::kMatch;
        continue;
      }
      if (at == static_cast<int>(input.size())) step.move = LL1Move::kAccept;
      break;
    }
    int column = table.column(a);
    if (column == -1 || table.cell(x, column).empty() || guard.repeats(x, node.height, at)) break;
    step.move = LL1Move::kExpand;
    step.column = column;
    top = node.parent;
    const Symbols& body = grammar.productions[static_cast<size_t>(table.cell(x, column).front())].body;
    for (auto s = body.rbegin(); s != body.rend(); ++s) {
      top = push(top, *s);
      guard.pushed(nodes[static_cast<size_t>(top)].height);
    }
  }
  return parse;
}

namespace {

HString hstring(const std::string& text) { return HString(text.data(), static_cast<int>(text.size())); }

void writeSymbol(const void* grammar, const StackNode& node, std::string& out) {
  out += symbolName(*static_cast<const Grammar*>(grammar), node.symbol);
}

}  // namespace

Table ll1TraceText(const Grammar& grammar, const LL1Table& table, const LL1Parse& parse) {
  StackTexts stacks(parse.nodes, writeSymbol, &grammar);
  Table steps;
  const HString input = hstring(wholeInput(parse.word));
  long bytes = 0;  // of the rows' texts, as they will be written
  for (const LL1Step& step : parse.steps) {
    Row row;
    row.insertTail(hstring(stacks.of(step.stack)));
    row.insertTail(input.getSubString(inputOffset(parse.word, step.position)));
    switch (step.move) {
      case LL1Move::kExpand: row.insertTail(hstring(ll1CellText(grammar, table.cell(step.top, step.column)))); break;
      case LL1Move::kMatch: row.insertTail(HString()); break;
      case LL1Move::kAccept: row.insertTail("Accept"); break;
      case LL1Move::kError: row.insertTail("Error"); break;
    }
    bytes += row[0].getLength() + row[1].getLength() + kActionBytes;
    noteOutput(bytes, "The trace's text");
    steps.insertTail(std::move(row));
  }
  steps.insertTail(emptyStep());
  return finishTrace(std::move(steps));
}

Table ll1EvaluationText(const Parsing& grammar, const HString& word) {
  LL1Table table = ll1ParseTable(grammar.typed);
  return ll1TraceText(grammar.typed, table, ll1Parse(grammar.typed, table, std::string(word.view())));
}

HString Parsing::symbolStackText(HList<char> stack) {
  std::string text;
  for (char symbol : stack) {
    text += symbol;
    text += ' ';
  }
  return hstring(text);
}

Table Parsing::ll1Evaluation(HString word) const { return ll1EvaluationText(*this, word); }
