#include "exercises/cell_reasons.h"

#include <cstdlib>

namespace {

// The number after a prefix of `skip` characters, or -1 when the rest is not all digits.
int numberIn(const std::string& text, std::size_t skip) {
  if (text.size() <= skip || text.size() - skip > 6) return -1;
  for (std::size_t i = skip; i < text.size(); ++i)
    if (text[i] < '0' || text[i] > '9') return -1;
  return std::atoi(text.c_str() + skip);
}

const char* kNotAnAction =
    " is not an action: write sN to shift, rN to reduce, a to accept, and a bare state number for a goto.";

}  // namespace

CellReasons::CellReasons(const Parsing& grammar, TableKind kind) : kind_(kind), grammar_(grammar) {
  switch (kind) {
    case TableKind::kLL1: break;
    case TableKind::kSLR: automaton_ = buildLR0Automaton(grammar); break;
    case TableKind::kLR1: automaton_ = buildLR1Automaton(grammar); break;
    case TableKind::kLALR: automaton_ = mergeByCore(buildLR1Automaton(grammar)); break;
  }
}

CellReasons::~CellReasons() = default;

std::string CellReasons::itemText(const StateItem& item) const {
  const GrammarView::Production& p = grammar_.production(item.production);
  std::span<const Symbol> body(p.body);
  std::string head = grammar_.text(p.head) + "->";
  if (body.empty()) return head + grammar_.formText(body) + "\xC2\xB0";
  std::size_t dot = static_cast<std::size_t>(item.dot);
  return head + grammar_.text(body.first(dot)) + "\xC2\xB0" + grammar_.text(body.subspan(dot));
}

std::string CellReasons::lookaheadOf(const StateItem& item) const {
  return item.lookahead == kNoLookahead ? "" : grammar_.text(automaton_.lookaheads.symbols(item.lookahead));
}

int CellReasons::itemBefore(int state, char x) const {
  const std::vector<StateItem>& items = automaton_.states[static_cast<std::size_t>(state)];
  Symbol wanted = classicSymbol(grammar_.grammar(), x);
  for (std::size_t k = 0; k < items.size(); ++k) {
    const Symbols& body = grammar_.production(items[k].production).body;
    if (static_cast<std::size_t>(items[k].dot) < body.size() && body[static_cast<std::size_t>(items[k].dot)] == wanted)
      return static_cast<int>(k);
  }
  return -1;
}

int CellReasons::completeItem(int state, int production) const {
  const std::vector<StateItem>& items = automaton_.states[static_cast<std::size_t>(state)];
  for (std::size_t k = 0; k < items.size(); ++k)
    if (items[k].production == production &&
        static_cast<std::size_t>(items[k].dot) >= grammar_.production(production).body.size())
      return static_cast<int>(k);
  return -1;
}

std::string CellReasons::whyShiftOrGoto(int state, char symbol, int target, bool isShift) const {
  int k = itemBefore(state, symbol);
  if (k < 0) return "";
  std::string item = itemText(automaton_.states[static_cast<std::size_t>(state)][static_cast<std::size_t>(k)]);
  std::string s = std::to_string(state), x(1, symbol), t = std::to_string(target);
  return isShift ? "State " + s + " holds " + item + ", so on " + x + " it shifts to state " + t + "."
                 : "State " + s + " holds " + item + ", so its goto on " + x + " is state " + t + ".";
}

std::string CellReasons::whyPresent(const std::string& row, char symbol, const std::string& entry) const {
  std::string x(1, symbol);
  if (kind_ == TableKind::kLL1) {
    std::size_t arrow = entry.find("->");
    if (arrow == std::string::npos) return "";
    std::string body = entry.substr(arrow + 2);
    if (body == "e") body.clear();
    Symbols symbols;
    for (char c : body) symbols.push_back(classicSymbol(grammar_.grammar(), c));
    if (grammar_.beginsWith(symbols, classicSymbol(grammar_.grammar(), symbol)))
      return x + " is in First(" + (body.empty() ? "e" : body) + "), so M[" + row + ", " + x + "] holds " + entry + ".";
    std::string head = entry.substr(0, arrow);
    return (body.empty() ? entry + " goes under the symbols of Follow(" + head + ")" : body + " can vanish") + " and " +
           x + " is in Follow(" + head + "), so M[" + row + ", " + x + "] holds " + entry + ".";
  }
  int state = numberIn(row, 0);
  if (state < 0 || state >= static_cast<int>(automaton_.states.size())) return "";
  if (entry == "a")
    return "State " + row + " holds " + grammar_.productionText(0) + "\xC2\xB0, so it accepts at the end of the input.";
  if (entry[0] == 's') return whyShiftOrGoto(state, symbol, numberIn(entry, 1), true);
  if (entry[0] != 'r') return whyShiftOrGoto(state, symbol, numberIn(entry, 0), false);
  int p = numberIn(entry, 1);
  int k = p < 0 ? -1 : completeItem(state, p);
  if (k < 0) return "";
  const StateItem& item = automaton_.states[static_cast<std::size_t>(state)][static_cast<std::size_t>(k)];
  std::string reduce = ", so on " + x + " it reduces by " + grammar_.productionText(p) + ".";
  if (kind_ == TableKind::kSLR)
    return "State " + row + " holds " + itemText(item) + " and " + x + " is in Follow(" +
           grammar_.text(grammar_.production(p).head) + ")" + reduce;
  return "State " + row + " holds " + itemText(item) + " with the lookahead " + x + reduce;
}

std::string CellReasons::whyAbsent(const std::string& row, char symbol, const std::string& entry) const {
  if (kind_ == TableKind::kLL1) return whyNotLL(row.empty() ? '\0' : row[0], symbol, entry);
  return whyNotLR(numberIn(row, 0), symbol, entry);
}

std::string CellReasons::whyNotLL(char row, char symbol, const std::string& entry) const {
  std::string x(1, symbol);
  std::size_t arrow = entry.find("->");
  int p = -1;
  for (int k = 0; k < grammar_.productionCount(); ++k)
    if (grammar_.productionText(k) == entry) p = k;
  if (arrow != 1 || p < 0) return entry + " is not a production of the grammar.";
  char head = entry[0];
  if (head != row)
    return entry + " belongs in row " + std::string(1, head) + ", not in row " + std::string(1, row) + ".";
  const Symbols& body = grammar_.production(p).body;
  std::string text = grammar_.text(body);
  if (body.empty())
    return entry + " goes only under the symbols of Follow(" + std::string(1, head) + "), and " + x +
           " is not one of them.";
  if (grammar_.vanishes(body))
    return x + " is neither in First(" + text + ") nor in Follow(" + std::string(1, head) + ").";
  return x + " is not in First(" + text + "), and " + text + " cannot vanish.";
}

std::string CellReasons::whyNotLR(int state, char symbol, const std::string& entry) const {
  std::string x(1, symbol), s = std::to_string(state);
  bool nonTerminal = grammar_.isNonterminal(classicSymbol(grammar_.grammar(), symbol));
  int states = static_cast<int>(automaton_.states.size());
  if (state < 0 || state >= states) return "There is no such state.";
  if (entry == "a") {
    if (symbol != '$') return "The table accepts only under $.";
    return "State " + s + " does not hold " + grammar_.productionText(0) + "\xC2\xB0, the item that accepts.";
  }
  bool shift = entry[0] == 's', reduce = entry[0] == 'r';
  int n = numberIn(entry, shift || reduce ? 1 : 0);
  if (n < 0) return "'" + entry + "'" + kNotAnAction;
  if (reduce) {
    if (nonTerminal) return "Reductions stand in the columns of the terminals and $.";
    if (n >= grammar_.productionCount())
      return "There is no production " + std::to_string(n) + "; they are numbered 0 to " +
             std::to_string(grammar_.productionCount() - 1) + ".";
    if (n == 0) return "Production 0 is never reduced: its complete item accepts under $.";
    int k = completeItem(state, n);
    std::string production = grammar_.productionText(n);
    if (k < 0) return "State " + s + " holds no complete item of " + production + ".";
    const StateItem& item = automaton_.states[static_cast<std::size_t>(state)][static_cast<std::size_t>(k)];
    if (kind_ == TableKind::kSLR)
      return x + " is not in Follow(" + grammar_.text(grammar_.production(n).head) + "), so state " + s +
             " does not reduce by " + production + " on " + x + ".";
    return "In state " + s + ", " + itemText(item) + " has the lookahead " + lookaheadOf(item) + ", not " + x + ".";
  }
  if (n >= states) return "There is no state " + std::to_string(n) + ".";
  if (shift && nonTerminal) return "A non-terminal's column holds the goto as a bare state number, not a shift.";
  if (!shift && !nonTerminal) return "A bare state number is a goto; a shift is written s" + std::to_string(n) + ".";
  int target = automaton_.target(state, classicSymbol(grammar_.grammar(), symbol));
  if (target < 0) return "No item of state " + s + " has the dot before " + x + ".";
  return "The goto of state " + s + " on " + x + " is state " + std::to_string(target) + ", not " + std::to_string(n) +
         ".";
}
