#include "tables/conflicts.h"

#include "tables/lr_tables.h"

Table tableOfKind(const Parsing& grammar, const HString& name) {
  if (name == "LL1") return grammar.ll1Table();
  if (name == "SLR") return slrTable(grammar);
  if (name == "LR1") return lr1Table(grammar);
  if (name == "LALR") return lalrTable(grammar);
  return Table();
}

int countConflicts(const Table& table) {
  int count = 0;
  int i = 0;
  for (const Row& row : table) {
    int j = 0;
    for (const HString& cell : row)
      if (i > 0 && j++ > 0 && cell.find('|') != -1) ++count;
    ++i;
  }
  return count;
}

int countConflicts(const Parsing& grammar, HString tableName) {
  return countConflicts(tableOfKind(grammar, tableName));
}

HString conflictMessage(int count) {
  return HString("This Table Contain # Conflict").replace("#", HString(count).getString());
}
