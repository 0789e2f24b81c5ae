#include "tables/conflicts.h"

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
