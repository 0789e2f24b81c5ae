#include "tables/table_kinds.h"

#include "automata/automaton.h"
#include "core/fatal.h"
#include "grammar/first.h"
#include "grammar/follow.h"
#include "tables/listings.h"

const char* tableName(TableKind kind) {
  switch (kind) {
    case TableKind::kLL1: return "LL1";
    case TableKind::kSLR: return "SLR";
    case TableKind::kLR1: return "LR1";
    case TableKind::kLALR: return "LALR";
  }
  fatal("tableName: no such table kind");
}

TableKind tableKindNamed(const HString& name) {
  for (TableKind kind : kTableKinds)
    if (name == tableName(kind)) return kind;
  fatal((HString("Unknown table kind '") + name + "'").getString());
}

namespace {

// The LALR table by the shorter route wherever it gives the same bytes.
// Its lookaheads computed on the LR(0) states are the merged LR(1)
// lookaheads, so every cell holds the same entries; only their order within
// a cell can differ, which shows in a conflict (lalr_lookaheads.cc).  So the
// conflict count and every table without conflicts come from the LR(0)
// states, and a table with conflicts, when `needsTable` asks for one, from
// the merged LR(1) collection.
LRTable lalr(const Parsing& grammar, bool needsTable) {
  LRTable onLR0 = lookaheadParseTable(grammar, buildLalrAutomaton(grammar));
  if (onLR0.conflicts() > 0 && needsTable) return lookaheadParseTable(grammar, mergeByCore(buildLR1Automaton(grammar)));
  return onLR0;
}

ParseTable parseTableOf(const Parsing& grammar, TableKind kind, bool needsTable) {
  ParseTable table;
  table.kind = kind;
  switch (kind) {
    case TableKind::kLL1: table.ll1 = ll1ParseTable(grammar.typed); break;
    case TableKind::kSLR: table.lr = slrParseTable(grammar, buildLR0Automaton(grammar)); break;
    case TableKind::kLR1: table.lr = lookaheadParseTable(grammar, buildLR1Automaton(grammar)); break;
    case TableKind::kLALR: table.lr = lalr(grammar, needsTable); break;
  }
  return table;
}

}  // namespace

ParseTable parseTable(const Parsing& grammar, TableKind kind) { return parseTableOf(grammar, kind, true); }

ParseTable quickParseTable(const Parsing& grammar, TableKind kind) { return parseTableOf(grammar, kind, false); }

Table tableText(const Parsing& grammar, const ParseTable& table) {
  return table.kind == TableKind::kLL1 ? ll1TableText(grammar.typed, table.ll1) : lrTableText(grammar.typed, table.lr);
}

std::vector<CellPlace> conflictPlaces(const Grammar& grammar, const ParseTable& table) {
  std::vector<CellPlace> places;
  if (table.kind == TableKind::kLL1) {
    int row = 0;
    for (Symbol x : grammar.nonTerminals()) {
      ++row;
      for (size_t j = 0; j < table.ll1.columns.size(); ++j)
        if (table.ll1.cell(x, static_cast<int>(j)).size() > 1) places.push_back({row, static_cast<int>(j) + 1});
    }
    return places;
  }
  // Row by row, as the cells are stored: a cell holds more than one action
  // when its start and the next one's are more than one apart.
  const std::vector<std::uint32_t>& starts = table.lr.starts;
  size_t width = table.lr.columns.size();
  for (size_t k = 0; k + 1 < starts.size(); ++k)
    if (starts[k + 1] - starts[k] > 1) places.push_back({static_cast<int>(k / width) + 1, static_cast<int>(k % width) + 1});
  return places;
}

Table table(const Parsing& grammar, TableKind kind) { return tableText(grammar, parseTable(grammar, kind)); }

int conflictCount(const Parsing& grammar, TableKind kind) { return parseTableOf(grammar, kind, false).conflicts(); }

int countConflicts(const Parsing& grammar, HString tableName) {
  return conflictCount(grammar, tableKindNamed(tableName));
}

Listing listing(const Parsing& grammar, ListingKind kind) {
  Listing result;
  switch (kind) {
    case ListingKind::kFirst: result.lines = firstListing(grammar.typed); break;
    case ListingKind::kFollow: result.lines = followListing(grammar.typed); break;
    case ListingKind::kLR0Items: result.lines = lr0ItemsWithArcs(grammar); break;
    case ListingKind::kLR1Items: result.lines = lr1ItemsWithArcs(grammar); break;
    case ListingKind::kLalrItems: result.lines = lalrItemsWithArcs(grammar, &result.similarTable); break;
  }
  return result;
}
