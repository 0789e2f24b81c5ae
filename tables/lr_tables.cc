// The three LR tables are one procedure over three automata.  They differ
// in the states, in how the state reached on a symbol is found (a goto with
// the same items, lookahead sets included, or with the same core for LALR),
// and in the columns of a reduction: Follow of the production's head (SLR)
// or the item's lookahead (LR(1), LALR).
//
// A row is made in an array of cells, where a column is one step away; its
// text, when asked for, has each action's text made once per state and
// production: the cells that hold one share its characters.
#include "tables/lr_tables.h"

#include <algorithm>

#include "core/work.h"
#include "grammar/ordered_follow.h"
#include "grammar/symbol_text.h"

namespace {

// The classic tables have always had a column "e" among the terminals when
// a production is empty, as if the empty string were read; it stays empty.
bool hasEmptyColumn(const Grammar& grammar) {
  if (grammar.notation != Notation::kClassic || grammar.symbolNamed("e") != kNoSymbol) return false;
  for (const Production& production : grammar.productions)
    if (production.body.empty()) return true;
  return false;
}

}  // namespace

// The columns: the terminals by rank, the end marker, then the non-terminals.
LRTableRows::LRTableRows(const Parsing& grammar, const Automaton& automaton, Reductions reductions)
    : grammar_(grammar.typed), automaton_(automaton) {
  const Grammar& g = grammar_;
  for (Symbol s = 0; s < g.symbolCount(); ++s)
    if (g.isTerminal(s)) columnSymbols_.push_back(s);
  if (hasEmptyColumn(g)) columnSymbols_.push_back(kEmpty);
  auto rank = [&](Symbol s) { return s == kEmpty ? static_cast<int>('e') : g.rank(s); };
  std::sort(columnSymbols_.begin(), columnSymbols_.end(), [&](Symbol a, Symbol b) { return rank(a) < rank(b); });
  columnSymbols_.push_back(g.endMarker());
  gotoColumn_ = columnSymbols_.size();
  for (Symbol x : g.nonTerminals()) columnSymbols_.push_back(x);
  columns_.assign(static_cast<size_t>(g.symbolCount()) + 1, -1);
  header_.emplace_back();
  for (size_t j = 0; j < columnSymbols_.size(); ++j) {
    std::string name = symbolText(g, columnSymbols_[j]);
    header_.emplace_back(name.data(), static_cast<int>(name.size()));
    if (columnSymbols_[j] >= 0) columns_[static_cast<size_t>(columnSymbols_[j])] = static_cast<int>(j);
  }
  std::vector<Symbols> followOfRule;
  if (reductions == Reductions::kFollow) followOfRule = followSets(g);
  if (reductions == Reductions::kFollow)
    for (const Production& production : g.productions) follows_.push_back(followOfRule[static_cast<size_t>(production.head)]);
}

const HString& ActionTexts::shared(std::vector<HString>& texts, int k, const char* prefix) {
  if (static_cast<size_t>(k) >= texts.size()) texts.resize(static_cast<size_t>(k) + 1);
  HString& text = texts[static_cast<size_t>(k)];
  if (text.getLength() == 0) text = HString(prefix) + k;
  return text;
}

const HString& ActionTexts::of(const Action& action) {
  switch (action.kind) {
    case ActionKind::kShift: return shared(shifts_, action.target, "s");
    case ActionKind::kReduce: return shared(reduces_, action.target, "r");
    case ActionKind::kGoto: return number(action.target);
    case ActionKind::kAccept: break;
  }
  return accept_;
}

HString ActionTexts::cell(std::span<const Action> cell) {
  if (cell.size() == 1) return of(cell.front());
  HString text;
  for (const Action& action : cell) {
    if (text.getLength() > 0) text += "|";
    text += of(action);
  }
  return text;
}

void LRTableRows::actions(int s, std::vector<ActionCell>& cells) const {
  noteWork();
  cells.resize(columnSymbols_.size());
  for (ActionCell& cell : cells) cell.clear();
  const auto& transitions = automaton_.transitions[static_cast<size_t>(s)];
  auto target = [&](Symbol x) {
    for (const auto& [symbol, to] : transitions)
      if (symbol == x) return to;
    return -1;
  };
  for (const StateItem& item : automaton_.states[static_cast<size_t>(s)]) {
    const Symbols& body = grammar_.productions[static_cast<size_t>(item.production)].body;
    if (static_cast<size_t>(item.dot) < body.size()) {
      Symbol x = body[static_cast<size_t>(item.dot)];
      int column = columns_[static_cast<size_t>(x)];
      if (!grammar_.isTerminal(x) || column == -1) continue;
      int to = target(x);
      if (to != -1) placeAction(cells[static_cast<size_t>(column)], Action{ActionKind::kShift, to});
    } else if (item.production == 0) {
      placeAction(cells[static_cast<size_t>(columns_[static_cast<size_t>(grammar_.endMarker())])],
                  Action{ActionKind::kAccept, 0});
    } else {
      const Symbols& symbols = follows_.empty() ? automaton_.lookaheads.symbols(item.lookahead)
                                                : follows_[static_cast<size_t>(item.production)];
      for (Symbol c : symbols) {
        int column = columns_[static_cast<size_t>(c)];
        if (column != -1) placeAction(cells[static_cast<size_t>(column)], Action{ActionKind::kReduce, item.production});
      }
    }
  }
  for (size_t j = gotoColumn_; j < columnSymbols_.size(); ++j) {
    int to = target(columnSymbols_[j]);
    if (to != -1) cells[j].push_back(Action{ActionKind::kGoto, to});
  }
}

void LRTableRows::row(int s, std::vector<HString>& cells) {
  actions(s, scratch_);
  cells.resize(header_.size());
  cells[0] = texts_.number(s);
  for (size_t j = 0; j < scratch_.size(); ++j) cells[j + 1] = scratch_[j].empty() ? HString() : texts_.cell(scratch_[j]);
}

void LRTable::addRow(const std::vector<ActionCell>& cells) {
  for (const ActionCell& cell : cells) {
    actions.insert(actions.end(), cell.begin(), cell.end());
    starts.push_back(static_cast<std::uint32_t>(actions.size()));
  }
}

void placeAction(ActionCell& cell, Action action) {
  for (const Action& held : cell)
    if (held == action) return;
  cell.push_back(action);
}

namespace {

LRTable typedTableOf(const LRTableRows& rows, const Automaton& automaton) {
  LRTable table;
  table.columns = rows.columns();
  table.columnOf = rows.columnOf();
  table.starts.reserve(automaton.states.size() * table.columns.size() + 1);
  std::vector<ActionCell> cells;
  for (size_t s = 0; s < automaton.states.size(); ++s) {
    rows.actions(static_cast<int>(s), cells);
    table.addRow(cells);
  }
  return table;
}

}  // namespace

LRTable slrParseTable(const Parsing& grammar, const Automaton& lr0) {
  return typedTableOf(LRTableRows(grammar, lr0, LRTableRows::Reductions::kFollow), lr0);
}

LRTable lookaheadParseTable(const Parsing& grammar, const Automaton& automaton) {
  return typedTableOf(LRTableRows(grammar, automaton, LRTableRows::Reductions::kLookahead), automaton);
}

Table lrTableText(const Grammar& grammar, const LRTable& table) {
  ActionTexts texts;
  Table text;
  Row header;
  header.insertTail(HString());
  for (Symbol s : table.columns) {
    std::string name = symbolText(grammar, s);
    header.insertTail(HString(name.data(), static_cast<int>(name.size())));
  }
  text.insertTail(std::move(header));
  for (int s = 0; s < table.states(); ++s) {
    Row row;
    row.insertTail(texts.number(s));
    for (size_t j = 0; j < table.columns.size(); ++j) {
      std::span<const Action> cell = table.cell(s, static_cast<int>(j));
      row.insertTail(cell.empty() ? HString() : texts.cell(cell));
    }
    text.insertTail(std::move(row));
  }
  return text;
}

Table slrTableOf(const Parsing& grammar, const Automaton& lr0) { return lrTableText(grammar.typed, slrParseTable(grammar, lr0)); }

Table lookaheadTableOf(const Parsing& grammar, const Automaton& automaton) {
  return lrTableText(grammar.typed, lookaheadParseTable(grammar, automaton));
}

Table slrTable(const Parsing& grammar) { return slrTableOf(grammar, buildLR0Automaton(grammar)); }

Table lr1Table(const Parsing& grammar) { return lookaheadTableOf(grammar, buildLR1Automaton(grammar)); }

Table lalrTable(const Parsing& grammar) { return lookaheadTableOf(grammar, mergeByCore(buildLR1Automaton(grammar))); }
