#include "tables/arcs.h"

#include "automata/collection.h"
#include "automata/lalr.h"
#include "tables/lr_tables.h"

namespace {

const char kRule[] = "-------------------------";

void appendArcs(Row& lines, const Table& table, int state) {
  const Row& header = table[0];
  const Row& row = table[state + 1];
  for (int j = 1; j < row.getCount(); ++j) {
    HString target = arcTarget(row[j]);
    if (target.getLength() > 0)
      lines.insertTail(HString("  ") + state + " --> " + header[j] + " --> " + target);
  }
}

}  // namespace

HString arcTarget(const HString& cell) {
  if (cell.getLength() == 0 || cell[0] == 'r') return HString();
  if (cell[0] == 's') return cell.getSubString(1);
  if (cell == "a") return "Accept";
  return cell;
}

Row withArcs(const Row& listing, const Table& table) {
  Row lines;
  int state = 0;
  for (const HString& line : listing) {
    lines.insertTail(line);
    if (line.getLength() > 0) continue;
    lines.insertTail(" Arcs:");
    if (state + 1 < table.getCount()) appendArcs(lines, table, state);
    lines.insertTail(kRule);
    lines.insertTail("");
    ++state;
  }
  return lines;
}

Row lr0ItemsWithArcs(const Parsing& grammar) { return withArcs(grammar.listLR0Items(), slrTable(grammar)); }

Row lr1ItemsWithArcs(const Parsing& grammar) { return withArcs(grammar.listLR1Items(), lr1Table(grammar)); }

Row lalrItemsWithArcs(const Parsing& grammar) {
  Row similar = similarStates(grammar);
  LR1_ItemsListList states = lalrStates(grammar);
  Table table = lalrTable(grammar);
  Row lines;
  for (int k = 0; k < states.getCount(); ++k) {
    lines.insertTail(HString("State") + k + " {" + similar[k] + "}:");
    lines.insertTail("");
    lines.insertTail(" Items:");
    for (const LR1_Item& item : states[k]) lines.insertTail(HString("  ") + itemText(grammar, item));
    lines.insertTail("");
    lines.insertTail(" Arcs:");
    appendArcs(lines, table, k);
    lines.insertTail(kRule);
    lines.insertTail("");
  }
  return lines;
}

Row similarStateTable(const Row& similar) {
  Row lines;
  lines.insertTail("LR(1) Similar Table:");
  int k = 0;
  for (const HString& text : similar) lines.insertTail(HString("  State") + k++ + " = {" + text + "}");
  return lines;
}
