// The three LR tables are one procedure over three automata.  They differ
// in the states, in how the state reached on a symbol is found (a goto with
// the same items, lookahead sets included, or with the same core for LALR),
// and in the columns of a reduction: Follow of the production's head (SLR)
// or the item's lookahead (LR(1), LALR).
//
// A row is made in an array of cells, where a column is one step away, and
// the action texts are made once per state and production: the cells that
// hold one share its characters.
#include "tables/lr_tables.h"

#include "core/work.h"

LRTableRows::LRTableRows(const Parsing& grammar, const Automaton& automaton, Reductions reductions)
    : grammar_(grammar), automaton_(automaton) {
  HString terminals = grammar.terminals();
  header_.emplace_back();
  for (int j = 0; j < terminals.getLength(); ++j) header_.emplace_back(terminals[j]);
  header_.emplace_back("$");
  for (const HString& rule : grammar.rules) header_.emplace_back(rule[0]);
  for (int& column : columns_) column = -1;
  for (size_t j = 1; j < header_.size(); ++j)
    columns_[static_cast<unsigned char>(header_[j][0])] = static_cast<int>(j);
  Row followSets;
  if (reductions == Reductions::kFollow) followSets = grammar.follow();
  std::vector<std::string> followOfRule;
  for (const HString& set : followSets) followOfRule.emplace_back(set.view());
  int p = 0;
  for (const HString& production : grammar.productions) {
    texts_.emplace_back(production.view());
    reduce_.push_back(HString("r") + p++);
    if (reductions == Reductions::kFollow)
      follows_.push_back(followOfRule[static_cast<size_t>(grammar.indexOfNonTerminal(production[0]))]);
  }
  shifts_.resize(automaton.states.size());
  numbers_.resize(automaton.states.size());
}

const HString& LRTableRows::shiftText(int target) {
  HString& text = shifts_[static_cast<size_t>(target)];
  if (text.getLength() == 0) text = HString("s") + target;
  return text;
}

const HString& LRTableRows::numberText(int target) {
  HString& text = numbers_[static_cast<size_t>(target)];
  if (text.getLength() == 0) text = HString(target);
  return text;
}

void LRTableRows::row(int s, std::vector<HString>& cells) {
  noteWork();
  cells.assign(header_.size(), HString());
  cells[0] = numberText(s);
  const auto& transitions = automaton_.transitions[static_cast<size_t>(s)];
  auto target = [&](char x) {
    for (const auto& [symbol, to] : transitions)
      if (symbol == x) return to;
    return -1;
  };
  for (const StateItem& item : automaton_.states[static_cast<size_t>(s)]) {
    const std::string& text = texts_[static_cast<size_t>(item.production)];
    if (static_cast<size_t>(item.dot) + 3 < text.size()) {
      char x = text[static_cast<size_t>(item.dot) + 3];
      int column = columns_[static_cast<unsigned char>(x)];
      if (!grammar_.isTerminal(x) || column == -1) continue;
      int to = target(x);
      if (to != -1) placeAction(cells[static_cast<size_t>(column)], shiftText(to));
    } else if (item.production == 0) {
      placeAction(cells[static_cast<size_t>(columns_[static_cast<unsigned char>('$')])], "a");
    } else {
      const std::string& symbols = follows_.empty() ? automaton_.lookaheads.text(item.lookahead)
                                                    : follows_[static_cast<size_t>(item.production)];
      const HString& reduce = reduce_[static_cast<size_t>(item.production)];
      for (char c : symbols) {
        int column = columns_[static_cast<unsigned char>(c)];
        if (column != -1) placeAction(cells[static_cast<size_t>(column)], reduce);
      }
    }
  }
  for (const HString& rule : grammar_.rules) {
    int to = target(rule[0]);
    if (to != -1) cells[static_cast<size_t>(columns_[static_cast<unsigned char>(rule[0])])] = numberText(to);
  }
}

namespace {

Row rowOf(std::vector<HString>& cells) {
  Row row;
  for (HString& cell : cells) row.insertTail(std::move(cell));
  return row;
}

Table tableOf(LRTableRows rows, const Automaton& automaton) {
  Table table;
  std::vector<HString> cells = rows.header();
  table.insertTail(rowOf(cells));
  for (size_t s = 0; s < automaton.states.size(); ++s) {
    rows.row(static_cast<int>(s), cells);
    table.insertTail(rowOf(cells));
  }
  return table;
}

}  // namespace

void placeAction(HString& cell, const HString& action) {
  if (cell.getLength() == 0) {
    cell = action;
    return;
  }
  std::string_view entries = cell.view();
  for (size_t start = 0; start <= entries.size();) {
    size_t end = entries.find('|', start);
    if (end == std::string_view::npos) end = entries.size();
    if (entries.substr(start, end - start) == action.view()) return;
    start = end + 1;
  }
  cell += HString("|") + action;
}

Table slrTableOf(const Parsing& grammar, const Automaton& lr0) {
  return tableOf(LRTableRows(grammar, lr0, LRTableRows::Reductions::kFollow), lr0);
}

Table lookaheadTableOf(const Parsing& grammar, const Automaton& automaton) {
  return tableOf(LRTableRows(grammar, automaton, LRTableRows::Reductions::kLookahead), automaton);
}

Table slrTable(const Parsing& grammar) { return slrTableOf(grammar, buildLR0Automaton(grammar)); }

Table lr1Table(const Parsing& grammar) { return lookaheadTableOf(grammar, buildLR1Automaton(grammar)); }

Table lalrTable(const Parsing& grammar) { return lookaheadTableOf(grammar, mergeByCore(buildLR1Automaton(grammar))); }
