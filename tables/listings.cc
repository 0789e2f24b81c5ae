#include "tables/listings.h"

#include "automata/listing.h"
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

Row lr0ItemsWithArcs(const Parsing& grammar) {
  Automaton lr0 = buildLR0Automaton(grammar);
  return withArcs(stateListing(grammar, lr0), slrTableOf(grammar, lr0));
}

Row lr1ItemsWithArcs(const Parsing& grammar) {
  Automaton lr1 = buildLR1Automaton(grammar);
  return withArcs(stateListing(grammar, lr1), lookaheadTableOf(grammar, lr1));
}

Row lalrItemsWithArcs(const Parsing& grammar, Row* similarTable) {
  std::vector<std::vector<int>> groups;
  Automaton lalr = mergeByCore(buildLR1Automaton(grammar), &groups);
  Row similar = similarTexts(groups);
  Row lines = lalrListingOf(grammar, lalr, lookaheadTableOf(grammar, lalr), similar);
  if (similarTable != nullptr) *similarTable = similarStateTable(similar);
  return lines;
}

Row lalrListingOf(const Parsing& grammar, const Automaton& lalr, const Table& table, const Row& similar) {
  Row lines;
  int k = 0;
  for (const HString& members : similar) {
    lines.insertTail(HString("State") + k + " {" + members + "}:");
    lines.insertTail("");
    lines.insertTail(" Items:");
    for (const StateItem& item : lalr.states[static_cast<size_t>(k)]) {
      const std::string& lookahead = lalr.lookaheads.text(item.lookahead);
      lines.insertTail(HString("  ") + itemText(grammar, LR0_Item{item.production, item.dot}) + ", " +
                       HString(lookahead.data(), static_cast<int>(lookahead.size())));
    }
    lines.insertTail("");
    lines.insertTail(" Arcs:");
    appendArcs(lines, table, k);
    lines.insertTail(kRule);
    lines.insertTail("");
    ++k;
  }
  return lines;
}

Row similarTexts(const std::vector<std::vector<int>>& groups) {
  Row texts;
  for (const std::vector<int>& group : groups) {
    HString text(group.front());
    for (size_t k = 1; k < group.size(); ++k) text += HString(" ~ ") + group[k];
    texts.insertTail(text);
  }
  return texts;
}

Row similarStateTable(const Row& similar) {
  Row lines;
  lines.insertTail("LR(1) Similar Table:");
  int k = 0;
  for (const HString& text : similar) lines.insertTail(HString("  State") + k++ + " = {" + text + "}");
  return lines;
}
