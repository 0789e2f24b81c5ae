#include "exercises/cell_reasons.h"

#include <algorithm>
#include <cstdlib>

#include "exercises/item_grading.h"
#include "grammar/symbol_text.h"

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

CellReasons::CellReasons(const Parsing& grammar, TableKind kind)
    : kind_(kind), grammar_(grammar.typed), sets_(predictionSets(grammar_)) {
  switch (kind) {
    case TableKind::kLL1: break;
    case TableKind::kSLR: automaton_ = buildLR0Automaton(grammar); break;
    case TableKind::kLR1: automaton_ = buildLR1Automaton(grammar); break;
    case TableKind::kLALR: automaton_ = mergeByCore(buildLR1Automaton(grammar)); break;
  }
}

CellReasons::~CellReasons() = default;

Symbol CellReasons::symbolOf(const std::string& column) const {
  return column == "$" ? grammar_.endMarker() : grammar_.symbolNamed(column);
}

int CellReasons::productionWritten(const std::string& entry) const {
  for (int p = 0; p < static_cast<int>(grammar_.productions.size()); ++p)
    if (productionText(grammar_, p) == entry) return p;
  return -1;
}

bool CellReasons::beginsWith(const Symbols& symbols, Symbol t) const {
  return t >= 0 && t < grammar_.symbolCount() && firstOfString(sets_, symbols)[static_cast<std::size_t>(t)];
}

std::string CellReasons::itemText(const StateItem& item) const {
  return coreText(grammar_, item.production, item.dot);
}

std::string CellReasons::acceptingItem() const {
  return coreText(grammar_, 0, static_cast<int>(grammar_.productions[0].body.size()));
}

std::string CellReasons::lookaheadOf(const StateItem& item) const {
  return item.lookahead == kNoLookahead ? "" : symbolsText(grammar_, automaton_.lookaheads.symbols(item.lookahead));
}

int CellReasons::itemBefore(int state, Symbol x) const {
  const std::vector<StateItem>& items = automaton_.states[static_cast<std::size_t>(state)];
  for (std::size_t k = 0; k < items.size(); ++k) {
    const Symbols& body = grammar_.productions[static_cast<std::size_t>(items[k].production)].body;
    if (static_cast<std::size_t>(items[k].dot) < body.size() && body[static_cast<std::size_t>(items[k].dot)] == x)
      return static_cast<int>(k);
  }
  return -1;
}

int CellReasons::completeItem(int state, int production) const {
  const std::vector<StateItem>& items = automaton_.states[static_cast<std::size_t>(state)];
  const Symbols& body = grammar_.productions[static_cast<std::size_t>(production)].body;
  for (std::size_t k = 0; k < items.size(); ++k)
    if (items[k].production == production && static_cast<std::size_t>(items[k].dot) >= body.size())
      return static_cast<int>(k);
  return -1;
}

std::string CellReasons::whyShiftOrGoto(int state, Symbol symbol, int target, bool isShift) const {
  int k = itemBefore(state, symbol);
  if (k < 0) return "";
  std::string item = itemText(automaton_.states[static_cast<std::size_t>(state)][static_cast<std::size_t>(k)]);
  std::string s = std::to_string(state), x = symbolText(grammar_, symbol), t = std::to_string(target);
  return isShift ? "State " + s + " holds " + item + ", so on " + x + " it shifts to state " + t + "."
                 : "State " + s + " holds " + item + ", so its goto on " + x + " is state " + t + ".";
}

std::string CellReasons::whyPresent(const std::string& row, const std::string& column, const std::string& entry) const {
  const std::string& x = column;
  Symbol symbol = symbolOf(column);
  if (kind_ == TableKind::kLL1) {
    int p = productionWritten(entry);
    if (p < 0) return "";
    const Production& production = grammar_.productions[static_cast<std::size_t>(p)];
    std::string body = bodyText(grammar_, production.body), head = grammar_.name(production.head);
    std::string holds = "), so M[" + row + ", " + x + "] holds " + entry + ".";
    if (beginsWith(production.body, symbol)) return x + " is in First(" + body + holds;
    return (production.body.empty() ? entry + " goes under the symbols of Follow(" + head + ")" : body + " can vanish") +
           " and " + x + " is in Follow(" + head + holds;
  }
  int state = numberIn(row, 0);
  if (state < 0 || state >= static_cast<int>(automaton_.states.size())) return "";
  if (entry == "a") return "State " + row + " holds " + acceptingItem() + ", so it accepts at the end of the input.";
  if (entry[0] == 's') return whyShiftOrGoto(state, symbol, numberIn(entry, 1), true);
  if (entry[0] != 'r') return whyShiftOrGoto(state, symbol, numberIn(entry, 0), false);
  int p = numberIn(entry, 1);
  int k = p < 0 ? -1 : completeItem(state, p);
  if (k < 0) return "";
  const StateItem& item = automaton_.states[static_cast<std::size_t>(state)][static_cast<std::size_t>(k)];
  std::string reduce = ", so on " + x + " it reduces by " + productionText(grammar_, p) + ".";
  if (kind_ == TableKind::kSLR)
    return "State " + row + " holds " + itemText(item) + " and " + x + " is in Follow(" +
           grammar_.name(grammar_.productions[static_cast<std::size_t>(p)].head) + ")" + reduce;
  return "State " + row + " holds " + itemText(item) + " with the lookahead " + x + reduce;
}

std::string CellReasons::whyAbsent(const std::string& row, const std::string& column, const std::string& entry) const {
  if (kind_ == TableKind::kLL1) return whyNotLL(row, column, entry);
  return whyNotLR(numberIn(row, 0), column, entry);
}

std::string CellReasons::whyNotLL(const std::string& row, const std::string& x, const std::string& entry) const {
  int p = productionWritten(entry);
  if (p < 0) return entry + " is not a production of the grammar.";
  const Production& production = grammar_.productions[static_cast<std::size_t>(p)];
  std::string head = grammar_.name(production.head);
  if (head != row) return entry + " belongs in row " + head + ", not in row " + row + ".";
  std::string body = bodyText(grammar_, production.body);
  if (production.body.empty())
    return entry + " goes only under the symbols of Follow(" + head + "), and " + x + " is not one of them.";
  if (vanishes(sets_, production.body)) return x + " is neither in First(" + body + ") nor in Follow(" + head + ").";
  return x + " is not in First(" + body + "), and " + body + " cannot vanish.";
}

std::string CellReasons::whyNotLR(int state, const std::string& x, const std::string& entry) const {
  Symbol symbol = symbolOf(x);
  std::string s = std::to_string(state);
  bool nonTerminal = symbol >= 0 && symbol < grammar_.symbolCount() && !grammar_.isTerminal(symbol);
  int states = static_cast<int>(automaton_.states.size());
  int productions = static_cast<int>(grammar_.productions.size());
  if (state < 0 || state >= states) return "There is no such state.";
  if (entry == "a") {
    if (symbol != grammar_.endMarker()) return "The table accepts only under $.";
    return "State " + s + " does not hold " + acceptingItem() + ", the item that accepts.";
  }
  bool shift = entry[0] == 's', reduce = entry[0] == 'r';
  int n = numberIn(entry, shift || reduce ? 1 : 0);
  if (n < 0) return "'" + entry + "'" + kNotAnAction;
  if (reduce) {
    if (nonTerminal) return "Reductions stand in the columns of the terminals and $.";
    if (n >= productions)
      return "There is no production " + std::to_string(n) + "; they are numbered 0 to " +
             std::to_string(productions - 1) + ".";
    if (n == 0) return "Production 0 is never reduced: its complete item accepts under $.";
    int k = completeItem(state, n);
    std::string production = productionText(grammar_, n);
    if (k < 0) return "State " + s + " holds no complete item of " + production + ".";
    const StateItem& item = automaton_.states[static_cast<std::size_t>(state)][static_cast<std::size_t>(k)];
    if (kind_ == TableKind::kSLR)
      return x + " is not in Follow(" + grammar_.name(grammar_.productions[static_cast<std::size_t>(n)].head) +
             "), so state " + s + " does not reduce by " + production + " on " + x + ".";
    return "In state " + s + ", " + itemText(item) + " has the lookahead " + lookaheadOf(item) + ", not " + x + ".";
  }
  if (n >= states) return "There is no state " + std::to_string(n) + ".";
  if (shift && nonTerminal) return "A non-terminal's column holds the goto as a bare state number, not a shift.";
  if (!shift && !nonTerminal) return "A bare state number is a goto; a shift is written s" + std::to_string(n) + ".";
  int target = automaton_.target(state, symbol);
  if (target < 0) return "No item of state " + s + " has the dot before " + x + ".";
  return "The goto of state " + s + " on " + x + " is state " + std::to_string(target) + ", not " + std::to_string(n) +
         ".";
}
