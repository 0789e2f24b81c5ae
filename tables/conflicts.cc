// Conflicts: the cells of a table holding more than one entry, counted on
// the typed tables, where a cell is its list of entries.
#include "tables/conflicts.h"

#include "tables/ll1_table.h"
#include "tables/lr_tables.h"

namespace {

template <class Rows>
int cellsOfSeveral(const Rows& rows) {
  int count = 0;
  for (const auto& row : rows)
    for (const auto& cell : row) count += cell.size() > 1 ? 1 : 0;
  return count;
}

}  // namespace

int LL1Table::conflicts() const { return cellsOfSeveral(cells); }

int LRTable::conflicts() const {
  int count = 0;
  for (size_t k = 0; k + 1 < starts.size(); ++k) count += starts[k + 1] - starts[k] > 1 ? 1 : 0;
  return count;
}

// A table given only as text (read back, or from elsewhere).

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

HString conflictMessage(int count) {
  return HString("This Table Contain # Conflict").replace("#", HString(count).getString());
}
