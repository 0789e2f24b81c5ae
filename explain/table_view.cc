#include "explain/table_view.h"

#include <algorithm>
#include <deque>
#include <map>

#include "automata/items.h"
#include "core/hstring.h"
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

const std::string& TableView::cell(int row, char symbol) const {
  static const std::string kNone;
  int j = column[static_cast<unsigned char>(symbol)];
  if (row < 0 || row + 1 >= static_cast<int>(cells.size()) || j < 0) return kNone;
  return cells[static_cast<size_t>(row) + 1][static_cast<size_t>(j)];
}

std::vector<std::string> TableView::entries(const std::string& cell) {
  std::vector<std::string> out;
  if (cell.empty()) return out;
  size_t start = 0;
  for (size_t bar; (bar = cell.find('|', start)) != std::string::npos; start = bar + 1) out.push_back(cell.substr(start, bar - start));
  out.push_back(cell.substr(start));
  return out;
}

int TableView::rowOf(char nonterminal) const {
  for (size_t i = 1; i < cells.size(); ++i)
    if (cells[i][0].size() == 1 && cells[i][0][0] == nonterminal) return static_cast<int>(i) - 1;
  return -1;
}

std::string TableView::itemText(const Parsing& grammar, const StateItem& item) const {
  HString text = ::itemText(grammar, LR0_Item{item.production, item.dot});
  std::string out = utf8ForDisplay(text.view());
  if (item.lookahead != kNoLookahead) out += ", " + lookahead(item.lookahead);
  return out;
}

std::string TableView::lookahead(int id) const {
  std::string out;
  for (Symbol s : automaton.lookaheads.symbols(id)) out += character(s);
  return out;
}

std::vector<int> TableView::statesWithCore(const std::string& key) const {
  std::vector<int> states;
  for (size_t s = 0; s < coreKey.size(); ++s)
    if (coreKey[s] == key) states.push_back(static_cast<int>(s));
  return states;
}

std::string TableView::shortestPrefix(int state) const {
  std::vector<int> from(automaton.states.size(), -2);
  std::vector<char> via(automaton.states.size(), '\0');
  std::deque<int> queue{0};
  from[0] = -1;
  while (!queue.empty() && from[static_cast<size_t>(state)] == -2) {
    int s = queue.front();
    queue.pop_front();
    for (const auto& [symbol, target] : automaton.transitions[static_cast<size_t>(s)]) {
      if (from[static_cast<size_t>(target)] != -2) continue;
      from[static_cast<size_t>(target)] = s;
      via[static_cast<size_t>(target)] = character(symbol);
      queue.push_back(target);
    }
  }
  std::string prefix;
  for (int s = state; s > 0 && from[static_cast<size_t>(s)] >= 0; s = from[static_cast<size_t>(s)]) prefix += via[static_cast<size_t>(s)];
  std::reverse(prefix.begin(), prefix.end());
  return prefix;
}

const TableView& TableSet::operator[](TableKind kind) {
  std::unique_ptr<TableView>& view = views_[static_cast<size_t>(kind)];
  if (view) return *view;
  view = std::make_unique<TableView>();
  view->kind = kind;
  const Grammar& typed = grammar_.typed;
  view->symbols.fill(kNoSymbol);
  for (Symbol s = 0; s <= typed.endMarker(); ++s) {
    char c = s == typed.endMarker() ? '$' : typed.name(s)[0];
    view->characters += c;
    view->symbols[static_cast<unsigned char>(c)] = s;
  }
  Table table;
  switch (kind) {
    case TableKind::kLL1: table = grammar_.ll1Table(); break;
    case TableKind::kSLR:
      view->automaton = buildLR0Automaton(grammar_);
      table = slrTableOf(grammar_, view->automaton);
      break;
    case TableKind::kLR1:
      view->automaton = buildLR1Automaton(grammar_);
      table = lookaheadTableOf(grammar_, view->automaton);
      break;
    case TableKind::kLALR:
      view->automaton = mergeByCore((*this)[TableKind::kLR1].automaton, &view->members);
      table = lookaheadTableOf(grammar_, view->automaton);
      break;
  }
  view->cells = plainCells(table);
  view->column.fill(-1);
  const std::vector<std::string>& header = view->cells[0];
  for (size_t j = 1; j < header.size(); ++j)
    if (header[j].size() == 1) view->column[static_cast<unsigned char>(header[j][0])] = static_cast<int>(j);
  if (view->isLR()) {
    std::map<std::string, int> ids;
    for (const std::vector<StateItem>& state : view->automaton.states) {
      view->coreKey.push_back(coreKeyOf(state));
      view->core.push_back(ids.try_emplace(view->coreKey.back(), static_cast<int>(ids.size())).first->second);
    }
    view->predecessors.resize(view->automaton.states.size());
    for (size_t s = 0; s < view->automaton.transitions.size(); ++s)
      for (const auto& [symbol, target] : view->automaton.transitions[s])
        view->predecessors[static_cast<size_t>(target)].emplace_back(static_cast<int>(s), view->character(symbol));
  }
  return *view;
}
