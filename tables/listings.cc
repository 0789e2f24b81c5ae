#include "tables/listings.h"

#include <string>

#include "automata/listing.h"
#include "core/work.h"
#include "tables/lr_tables.h"

namespace {

const char kRule[] = "-------------------------";

HString textOf(const std::string& text) { return HString(text.data(), static_cast<int>(text.size())); }

// The arc lines of state s: its row of the table and the header side by side.
void appendArcs(Row& lines, const std::vector<HString>& header, const std::vector<HString>& row, int s) {
  std::string prefix = "  " + std::to_string(s) + " --> ";
  for (size_t j = 1; j < row.size(); ++j) {
    HString target = arcTarget(row[j]);
    if (target.getLength() == 0) continue;
    std::string line = prefix;
    line.append(header[j].view());
    line += " --> ";
    line.append(target.view());
    lines.insertTail(textOf(line));
  }
}

}  // namespace

// Each state's block, then " Arcs:", its arcs, a rule and an empty line;
// the rows of the table are made one at a time.
Row itemsListingOf(const Parsing& grammar, const Automaton& collection, LRTableRows::Reductions reductions) {
  StateListing listing(grammar, collection);
  LRTableRows rows(grammar, collection, reductions);
  std::vector<HString> row;
  const HString arcs(" Arcs:"), rule(kRule), empty;
  Row lines;
  for (size_t s = 0; s < collection.states.size(); ++s) {
    listing.append(lines, s);
    lines.insertTail(arcs);
    rows.row(static_cast<int>(s), row);
    appendArcs(lines, rows.header(), row, static_cast<int>(s));
    lines.insertTail(rule);
    lines.insertTail(empty);
  }
  return lines;
}

HString arcTarget(const HString& cell) {
  if (cell.getLength() == 0 || cell[0] == 'r') return HString();
  if (cell[0] == 's') return cell.getSubString(1);
  if (cell == "a") return "Accept";
  return cell;
}

Row lr0ItemsWithArcs(const Parsing& grammar) {
  return itemsListingOf(grammar, buildLR0Automaton(grammar), LRTableRows::Reductions::kFollow);
}

Row lr1ItemsWithArcs(const Parsing& grammar) {
  return itemsListingOf(grammar, buildLR1Automaton(grammar), LRTableRows::Reductions::kLookahead);
}

Row lalrItemsWithArcs(const Parsing& grammar, Row* similarTable) {
  std::vector<std::vector<int>> groups;
  Automaton lalr = mergeByCore(buildLR1Automaton(grammar), &groups);
  Row similar = similarTexts(groups);
  Row lines = lalrListingOf(grammar, lalr, similar);
  if (similarTable != nullptr) *similarTable = similarStateTable(similar);
  return lines;
}

Row lalrListingOf(const Parsing& grammar, const Automaton& lalr, const Row& similar) {
  StateListing items(grammar, lalr);
  LRTableRows rows(grammar, lalr, LRTableRows::Reductions::kLookahead);
  std::vector<HString> row;
  const HString itemsTitle(" Items:"), arcs(" Arcs:"), rule(kRule), empty;
  Row lines;
  int k = 0;
  for (const HString& members : similar) {
    noteWork();
    lines.insertTail(HString("State") + k + " {" + members + "}:");
    lines.insertTail(empty);
    lines.insertTail(itemsTitle);
    for (const StateItem& item : lalr.states[static_cast<size_t>(k)]) lines.insertTail(items.itemLine("  ", item));
    lines.insertTail(empty);
    lines.insertTail(arcs);
    rows.row(k, row);
    appendArcs(lines, rows.header(), row, k);
    lines.insertTail(rule);
    lines.insertTail(empty);
    ++k;
  }
  return lines;
}

Row similarTexts(const std::vector<std::vector<int>>& groups) {
  Row texts;
  for (const std::vector<int>& group : groups) {
    std::string text = std::to_string(group.front());
    for (size_t k = 1; k < group.size(); ++k) text += " ~ " + std::to_string(group[k]);
    texts.insertTail(textOf(text));
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
