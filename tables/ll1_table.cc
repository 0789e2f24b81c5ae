// The LL(1) table: for each production X->a, its row X holds it under every
// terminal of First(a), and under every symbol of Follow(X) when a can
// vanish.  The columns are walked in the order of those sets, so a
// production whose First and Follow share a terminal is placed twice in
// that cell, as it always was: a conflict of the production with itself.
#include "tables/ll1_table.h"

#include <algorithm>
#include <string>

#include "core/work.h"
#include "grammar/ordered_first.h"
#include "grammar/ordered_follow.h"
#include "grammar/symbol_text.h"

namespace {

Symbols columnsOf(const Grammar& grammar) {
  Symbols columns;
  for (Symbol s = 0; s < grammar.symbolCount(); ++s)
    if (grammar.isTerminal(s)) columns.push_back(s);
  std::sort(columns.begin(), columns.end(), [&](Symbol a, Symbol b) { return grammar.rank(a) < grammar.rank(b); });
  columns.push_back(grammar.endMarker());
  return columns;
}

}  // namespace

LL1Table ll1ParseTable(const Grammar& grammar) {
  LL1Table table;
  table.columns = columnsOf(grammar);
  table.columnOf.assign(static_cast<size_t>(grammar.symbolCount()) + 1, -1);
  for (size_t j = 0; j < table.columns.size(); ++j) table.columnOf[static_cast<size_t>(table.columns[j])] = static_cast<int>(j);
  table.cells.assign(grammar.nonTerminals().size(), std::vector<std::vector<int>>(table.columns.size()));
  OrderedFirst first(grammar);
  std::vector<Symbols> follows = followSets(first);
  for (size_t p = 0; p < grammar.productions.size(); ++p) {
    noteWork();
    const Production& production = grammar.productions[p];
    Symbols firsts = first.ofString(production.body);
    Symbols columns;
    for (Symbol s : firsts)
      if (s != kEmpty) columns.push_back(s);
    if (std::find(firsts.begin(), firsts.end(), kEmpty) != firsts.end()) {
      const Symbols& follow = follows[static_cast<size_t>(production.head)];
      columns.insert(columns.end(), follow.begin(), follow.end());
    }
    for (Symbol s : columns) {
      int j = table.column(s);
      if (j != -1) table.cells[static_cast<size_t>(production.head)][static_cast<size_t>(j)].push_back(static_cast<int>(p));
    }
  }
  return table;
}

std::string ll1CellText(const Grammar& grammar, const std::vector<int>& cell) {
  std::string text;
  for (int p : cell) {
    if (text.empty()) {
      text = productionText(grammar, p);
    } else {
      text += grammar.notation == Notation::kTokens ? " | " : "|";
      text += bodyText(grammar, grammar.productions[static_cast<size_t>(p)].body);
    }
  }
  return text;
}

namespace {

HString hstring(const std::string& text) { return HString(text.data(), static_cast<int>(text.size())); }

}  // namespace

Table ll1TableText(const Grammar& grammar, const LL1Table& table) {
  Table text;
  Row header;
  header.insertTail(HString());
  for (Symbol s : table.columns) header.insertTail(hstring(symbolText(grammar, s)));
  text.insertTail(std::move(header));
  for (Symbol x : grammar.nonTerminals()) {
    Row row;
    row.insertTail(hstring(grammar.name(x)));
    for (const std::vector<int>& cell : table.cells[static_cast<size_t>(x)]) row.insertTail(hstring(ll1CellText(grammar, cell)));
    text.insertTail(std::move(row));
  }
  return text;
}

Table Parsing::ll1Table() const { return ll1TableText(typed, ll1ParseTable(typed)); }
