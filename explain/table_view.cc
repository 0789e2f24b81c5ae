#include "explain/table_view.h"

#include <algorithm>
#include <deque>
#include <map>

#include "automata/listing.h"
#include "core/hstring.h"
#include "grammar/symbol_text.h"
#include "tables/lr_tables.h"

namespace {

std::vector<std::vector<std::string>> plainCells(const Table& table) {
  std::vector<std::vector<std::string>> out;
  for (const Row& row : table) {
    std::vector<std::string>& cells = out.emplace_back();
    for (const HString& cell : row) cells.emplace_back(cell.view());
  }
  return out;
}

// The (production, dot) pairs of a state in order, as a text.
std::string coreKeyOf(const std::vector<StateItem>& state) {
  std::vector<std::pair<int, int>> core;
  for (const StateItem& item : state) core.emplace_back(item.production, item.dot);
  std::sort(core.begin(), core.end());
  std::string key;
  for (const auto& [production, dot] : core) key += std::to_string(production) + "." + std::to_string(dot) + " ";
  return key;
}

}  // namespace

const std::string& TableView::cell(int row, Symbol symbol) const {
  static const std::string kNone;
  int j = symbol >= 0 && static_cast<size_t>(symbol) < column.size() ? column[static_cast<size_t>(symbol)] : -1;
  if (row < 0 || row + 1 >= static_cast<int>(cells.size()) || j < 0) return kNone;
  return cells[static_cast<size_t>(row) + 1][static_cast<size_t>(j)];
}

bool TableView::conflicts(int row, Symbol symbol) const {
  if (!isLR()) return predictions(row, symbol).size() > 1;
  return cell(row, symbol).find('|') != std::string::npos;
}

Symbols TableView::columnSymbols() const {
  Symbols out(cells.empty() ? 0 : cells[0].size(), kNoSymbol);
  for (size_t s = 0; s < column.size(); ++s)
    if (column[s] >= 0) out[static_cast<size_t>(column[s])] = static_cast<Symbol>(s);
  return out;
}

std::vector<std::string> TableView::entries(const std::string& cell) {
  std::vector<std::string> out;
  if (cell.empty()) return out;
  size_t start = 0;
  for (size_t bar; (bar = cell.find('|', start)) != std::string::npos; start = bar + 1) out.push_back(cell.substr(start, bar - start));
  out.push_back(cell.substr(start));
  return out;
}

const std::vector<int>& TableView::predictions(int row, Symbol symbol) const {
  static const std::vector<int> kNone;
  int j = ll1.column(symbol);
  if (isLR() || row < 0 || static_cast<size_t>(row) >= ll1Rows.size() || j < 0) return kNone;
  return ll1.cell(ll1Rows[static_cast<size_t>(row)], j);
}

int TableView::rowOf(Symbol nonterminal) const {
  auto at = std::find(ll1Rows.begin(), ll1Rows.end(), nonterminal);
  return at == ll1Rows.end() ? -1 : static_cast<int>(at - ll1Rows.begin());
}

std::string TableView::itemText(const Grammar& grammar, const StateItem& item) const {
  std::string out = utf8ForDisplay(dottedProduction(grammar, item.production, item.dot));
  if (item.lookahead != kNoLookahead) out += ", " + symbolsText(grammar, lookahead(item.lookahead));
  return out;
}

std::vector<int> TableView::statesWithCore(const std::string& key) const {
  std::vector<int> states;
  for (size_t s = 0; s < coreKey.size(); ++s)
    if (coreKey[s] == key) states.push_back(static_cast<int>(s));
  return states;
}

Symbols TableView::shortestPrefix(int state) const {
  std::vector<int> from(automaton.states.size(), -2);
  Symbols via(automaton.states.size(), kNoSymbol);
  std::deque<int> queue{0};
  from[0] = -1;
  while (!queue.empty() && from[static_cast<size_t>(state)] == -2) {
    int s = queue.front();
    queue.pop_front();
    for (const auto& [symbol, target] : automaton.transitions[static_cast<size_t>(s)]) {
      if (from[static_cast<size_t>(target)] != -2) continue;
      from[static_cast<size_t>(target)] = s;
      via[static_cast<size_t>(target)] = symbol;
      queue.push_back(target);
    }
  }
  Symbols prefix;
  for (int s = state; s > 0 && from[static_cast<size_t>(s)] >= 0; s = from[static_cast<size_t>(s)]) prefix.push_back(via[static_cast<size_t>(s)]);
  std::reverse(prefix.begin(), prefix.end());
  return prefix;
}

const TableView& TableSet::operator[](TableKind kind) {
  std::unique_ptr<TableView>& view = views_[static_cast<size_t>(kind)];
  if (view) return *view;
  view = std::make_unique<TableView>();
  view->kind = kind;
  const Grammar& typed = grammar_.typed;
  Table table;
  Symbols columns;  // of the typed table, text column j + 1
  switch (kind) {
    case TableKind::kLL1:
      view->ll1 = ll1ParseTable(typed);
      view->ll1Rows = typed.nonTerminals();
      table = ll1TableText(typed, view->ll1);
      columns = view->ll1.columns;
      break;
    case TableKind::kSLR: {
      view->automaton = buildLR0Automaton(grammar_);
      LRTable typedTable = slrParseTable(grammar_, view->automaton);
      table = lrTableText(typed, typedTable);
      columns = typedTable.columns;
      break;
    }
    case TableKind::kLR1:
    case TableKind::kLALR: {
      if (kind == TableKind::kLR1)
        view->automaton = buildLR1Automaton(grammar_);
      else
        view->automaton = mergeByCore((*this)[TableKind::kLR1].automaton, &view->members);
      LRTable typedTable = lookaheadParseTable(grammar_, view->automaton);
      table = lrTableText(typed, typedTable);
      columns = typedTable.columns;
      break;
    }
  }
  view->cells = plainCells(table);
  view->column.assign(static_cast<size_t>(typed.endMarker()) + 1, -1);
  // A classic table's column "e" (kEmpty) stays empty: no symbol reads it.
  for (size_t j = 0; j < columns.size(); ++j)
    if (columns[j] >= 0) view->column[static_cast<size_t>(columns[j])] = static_cast<int>(j) + 1;
  if (view->isLR()) {
    std::map<std::string, int> ids;
    for (const std::vector<StateItem>& state : view->automaton.states) {
      view->coreKey.push_back(coreKeyOf(state));
      view->core.push_back(ids.try_emplace(view->coreKey.back(), static_cast<int>(ids.size())).first->second);
    }
    view->predecessors.resize(view->automaton.states.size());
    for (size_t s = 0; s < view->automaton.transitions.size(); ++s)
      for (const auto& [symbol, target] : view->automaton.transitions[s])
        view->predecessors[static_cast<size_t>(target)].emplace_back(static_cast<int>(s), symbol);
  }
  return *view;
}
