#include "tables/listings.h"

#include "automata/listing.h"
#include "tables/lr_tables.h"

#include <string>

#include "core/work.h"

namespace {

const char kRule[] = "-------------------------";

// The arc lines of a state's row, the row and the header walked side by side.
void appendArcs(Row& lines, const Row& header, const Row& row, int state) {
  std::string prefix = "  " + std::to_string(state) + " --> ";
  auto symbol = header.begin();
  bool label = true;
  for (const HString& cell : row) {
    HString target = label ? HString() : arcTarget(cell);
    if (target.getLength() > 0) {
      std::string line = prefix;
      line.append((*symbol).view());
      line += " --> ";
      line.append(target.view());
      lines.insertTail(HString(line.data(), static_cast<int>(line.size())));
    }
    label = false;
    ++symbol;
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
  auto row = table.begin();
  if (row != table.end()) ++row;  // past the header
  const HString arcs(" Arcs:"), rule(kRule), empty;
  for (const HString& line : listing) {
    noteWork();
    lines.insertTail(line);
    if (line.getLength() > 0) continue;
    lines.insertTail(arcs);
    if (row != table.end()) {
      appendArcs(lines, *table.begin(), *row, state);
      ++row;
    }
    lines.insertTail(rule);
    lines.insertTail(empty);
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
  Table table = lookaheadTableOf(grammar, lalr);
  Row lines;
  int k = 0;
  auto row = table.begin();
  ++row;  // past the header
  for (const HString& members : similar) {
    noteWork();
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
    appendArcs(lines, *table.begin(), *row, k);
    ++row;
    lines.insertTail(kRule);
    lines.insertTail("");
    ++k;
  }
  if (similarTable != nullptr) *similarTable = similarStateTable(similar);
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
