// The LL(1) table: for each production X->a, its row X holds it under every
// terminal of First(a), and under every symbol of Follow(X) when a can
// vanish.  Several productions in one cell are joined by "|": a conflict.
#include "tables/table.h"

namespace {

void placeProduction(HString& cell, const HString& production) {
  if (cell.getLength() == 0)
    cell = production;
  else
    cell += HString("|") + production.getSubString(3);
}

}  // namespace

Table Parsing::ll1Table() const {
  Row follows = follow();
  HString symbols = terminals().withoutChar('e');
  int t = symbols.getLength();
  Table table = emptyTable(rules.getCount() + 1, t + 2);
  Row& header = table[0];
  for (int j = 0; j < t; ++j) header[j + 1] = HString(symbols[j]);
  header[t + 1] = "$";
  for (int i = 0; i < rules.getCount(); ++i) table[i + 1][0] = HString(rules[i][0]);
  ColumnMap column(header);

  Row firsts;
  for (const HString& production : productions) firsts.insertTail(firstOfString(production.getSubString(3)));
  for (int k = 0; k < productions.getCount(); ++k) {
    const HString& production = productions[k];
    int rule = indexOfNonTerminal(production[0]);
    Row& row = table[rule + 1];
    const HString& first = firsts[k];
    HString columns = first.withoutChar('e');
    if (first.find('e') != -1) columns += follows[rule];
    for (int c = 0; c < columns.getLength(); ++c)
      if (column[columns[c]] != -1) placeProduction(row[column[columns[c]]], production);
  }
  return table;
}
