#include "commands/commands.h"

#include "automata/automaton.h"
#include "core/fatal.h"
#include "grammar/first.h"
#include "grammar/follow.h"
#include "simulation/ll1_evaluation.h"
#include "simulation/lr_evaluation.h"
#include "tables/conflicts.h"
#include "tables/listings.h"
#include "tables/lr_tables.h"

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

// A table with its conflict count.
struct CountedTable {
  Table table;
  int conflicts = 0;
};

CountedTable counted(Table table) {
  int conflicts = countConflicts(table);
  return {std::move(table), conflicts};
}

// The LALR table by the shorter route wherever it gives the same bytes.
// Its lookaheads computed on the LR(0) states are the merged LR(1)
// lookaheads, so every cell holds the same entries; only their order within
// a cell can differ, which shows in a conflict (lalr_lookaheads.cc).  So the
// conflict count and every table without conflicts come from the LR(0)
// states, and a table with conflicts, when `needsTable` asks for one, from
// the merged LR(1) collection.
CountedTable lalr(const Parsing& grammar, bool needsTable) {
  CountedTable onLR0 = counted(lookaheadTableOf(grammar, buildLalrAutomaton(grammar)));
  if (onLR0.conflicts > 0 && needsTable) return counted(lalrTable(grammar));
  return onLR0;
}

}  // namespace

Table table(const Parsing& grammar, TableKind kind) {
  switch (kind) {
    case TableKind::kLL1: return grammar.ll1Table();
    case TableKind::kSLR: return slrTable(grammar);
    case TableKind::kLR1: return lr1Table(grammar);
    case TableKind::kLALR: return lalr(grammar, true).table;
  }
  fatal("table: no such table kind");
}

namespace {

CountedTable countedTable(const Parsing& grammar, TableKind kind) {
  return kind == TableKind::kLALR ? lalr(grammar, false) : counted(table(grammar, kind));
}

}  // namespace

int conflictCount(const Parsing& grammar, TableKind kind) { return countedTable(grammar, kind).conflicts; }

int countConflicts(const Parsing& grammar, HString tableName) {
  return conflictCount(grammar, tableKindNamed(tableName));
}

bool Evaluation::accepted() const {
  return trace.getCount() > 1 && trace.getLast().getCount() > 0 && trace.getLast().getLast() == "Accept";
}

namespace {

Table traceWith(const Parsing& grammar, TableKind kind, const Table& table, const HString& word) {
  return kind == TableKind::kLL1 ? ll1EvaluationWith(grammar, table, word) : lrEvaluationWith(grammar, table, word);
}

}  // namespace

// The window refuses to parse with a table that holds a choice.
Evaluation evaluation(const Parsing& grammar, TableKind kind, const HString& word) {
  CountedTable built = countedTable(grammar, kind);
  Evaluation result;
  result.conflicts = built.conflicts;
  if (!result.refused()) result.trace = traceWith(grammar, kind, built.table, word);
  result.table = std::move(built.table);
  return result;
}

Table lrEvaluation(const Parsing& grammar, HString word, HString kind) {
  TableKind chosen = tableKindNamed(kind);
  return traceWith(grammar, chosen, table(grammar, chosen), word);
}

Listing listing(const Parsing& grammar, ListingKind kind) {
  Listing result;
  switch (kind) {
    case ListingKind::kFirst: result.lines = firstListing(grammar); break;
    case ListingKind::kFollow: result.lines = followListing(grammar, grammar.follow()); break;
    case ListingKind::kLR0Items: result.lines = lr0ItemsWithArcs(grammar); break;
    case ListingKind::kLR1Items: result.lines = lr1ItemsWithArcs(grammar); break;
    case ListingKind::kLalrItems: result.lines = lalrItemsWithArcs(grammar, &result.similarTable); break;
  }
  return result;
}
