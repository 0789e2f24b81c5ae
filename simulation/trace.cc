#include "simulation/trace.h"

Row emptyStep() {
  Row row;
  for (int j = 0; j < 3; ++j) row.insertTail(HString());
  return row;
}

Table finishTrace(Table steps) {
  steps.removeHead();
  Row header;
  header.insertTail("Stack");
  header.insertTail("Input");
  header.insertTail("Action");
  steps.insertHead(header);
  int k = 0;
  for (Row& row : steps) row.insertHead(k++ == 0 ? HString() : HString(k - 1));
  return steps;
}
