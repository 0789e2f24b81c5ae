// The LL(1) table: for each production X->a, its row X holds it under every
// terminal of First(a), and under every symbol of Follow(X) when a can
// vanish.  Several productions in one cell are joined by "|": a conflict.
#include <string>
#include <vector>

#include "core/work.h"
#include "tables/table.h"

Table Parsing::ll1Table() const {
  Row follows = follow();
  HString symbols = terminals().withoutChar('e');
  int t = symbols.getLength();
  Row header;
  header.insertTail(HString());
  for (int j = 0; j < t; ++j) header.insertTail(HString(symbols[j]));
  header.insertTail("$");
  ColumnMap column(header);

  // The cells grow as standard strings: a cell that many productions share
  // would be copied at every one of them as a text of the model.
  std::vector<std::vector<std::string>> cells(static_cast<size_t>(rules.getCount()),
                                              std::vector<std::string>(static_cast<size_t>(t) + 2));
  std::vector<std::string_view> followOf;
  for (const HString& set : follows) followOf.push_back(set.view());
  for (const HString& production : productions) {
    noteWork();
    size_t rule = static_cast<size_t>(indexOfNonTerminal(production[0]));
    std::string first = firstOfText(production.view().substr(3));
    std::string columns;
    for (char c : first)
      if (c != 'e') columns += c;
    if (first.find('e') != std::string::npos) columns += followOf[rule];
    for (char c : columns) {
      if (column[c] == -1) continue;
      std::string& cell = cells[rule][static_cast<size_t>(column[c])];
      if (cell.empty()) {
        cell = production.view();
      } else {
        cell += '|';
        cell += production.view().substr(3);
      }
    }
  }
  Table table;
  table.insertTail(header);
  int i = 0;
  for (const HString& rule : rules) {
    std::vector<std::string>& row = cells[static_cast<size_t>(i++)];
    row[0] = std::string(1, rule[0]);
    Row cellsOfRow;
    for (const std::string& cell : row) cellsOfRow.insertTail(HString(cell.data(), static_cast<int>(cell.size())));
    table.insertTail(std::move(cellsOfRow));
  }
  return table;
}
