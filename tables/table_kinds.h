// The four tables by kind, and the listings by kind: what every client asks
// for (the command registry, the window, the tool, the bench, the fuzzer).
// Each builds the automaton it needs once and reads all its results from it.
#pragma once

#include <string>
#include <vector>

#include "grammar/parsing.h"
#include "tables/ll1_table.h"
#include "tables/lr_tables.h"

enum class TableKind { kLL1, kSLR, kLR1, kLALR };
inline constexpr TableKind kTableKinds[] = {TableKind::kLL1, TableKind::kSLR, TableKind::kLR1, TableKind::kLALR};

// "LL1", "SLR", "LR1" or "LALR", as titles, reports and tests name the tables.
const char* tableName(TableKind kind);
// The kind of one of those names.  Any other name is a fault of the
// program, not of its user: it ends the program with a message.
TableKind tableKindNamed(const HString& name);

// The typed table of a kind: the LL(1) table, or an LR table.
struct ParseTable {
  TableKind kind = TableKind::kLL1;
  LL1Table ll1;  // for kLL1
  LRTable lr;    // for the others
  int conflicts() const { return kind == TableKind::kLL1 ? ll1.conflicts() : lr.conflicts(); }
};
ParseTable parseTable(const Parsing& grammar, TableKind kind);
// Its text, made by the table's writer.
Table tableText(const Parsing& grammar, const ParseTable& table);

// Where tableText shows a cell with more than one entry: its row and
// column in the text, the header row and the label column counted.
struct CellPlace {
  int row, column;
  bool operator==(const CellPlace&) const = default;
};
std::vector<CellPlace> conflictPlaces(const Grammar& grammar, const ParseTable& table);

// The same table by the quickest route: equal to parseTable's wherever no
// cell conflicts; where one does, the order of its entries may differ.  For
// counting conflicts, and for parsing with a table that has none.
ParseTable quickParseTable(const Parsing& grammar, TableKind kind);

// The table of a kind.
Table table(const Parsing& grammar, TableKind kind);
// The number of cells of the table holding more than one entry.
int conflictCount(const Parsing& grammar, TableKind kind);
// The same for a table name, as the conflict check before an evaluation asks it.
int countConflicts(const Parsing& grammar, HString tableName);

enum class ListingKind { kFirst, kFollow, kLR0Items, kLR1Items, kLalrItems };

struct Listing {
  Row lines;
  Row similarTable;  // LALR Items only: which LR(1) states each LALR state merges
};
Listing listing(const Parsing& grammar, ListingKind kind);
