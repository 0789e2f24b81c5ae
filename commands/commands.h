// The commands every client runs: the window, the command-line tool, the
// benchmark and the fuzzer ask here for a table, its conflicts, an
// evaluation or a listing of the loaded grammar.  Each command builds the
// automaton it needs once and reads all its results from it.
#pragma once

#include <memory>
#include <string>

#include "grammar/parsing.h"
#include "simulation/ll1_evaluation.h"
#include "simulation/lr_evaluation.h"
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

// The typed steps of an evaluation with a table of its kind (conflicts or
// not: a cell's first entry decides).
struct EvaluationSteps {
  TableKind kind = TableKind::kLL1;
  LL1Parse ll1;  // for kLL1
  LRParse lr;    // for the others
  bool accepted() const { return kind == TableKind::kLL1 ? ll1.accepted() : lr.accepted(); }
};
EvaluationSteps evaluationSteps(const Parsing& grammar, const ParseTable& table, const std::string& word);
// Its trace, made by the trace's writer.
Table traceText(const Parsing& grammar, const ParseTable& table, const EvaluationSteps& steps);

// The table of a kind.
Table table(const Parsing& grammar, TableKind kind);
// The number of cells of the table holding more than one entry.
int conflictCount(const Parsing& grammar, TableKind kind);
// The same for a table name, as the conflict check before an evaluation asks it.
int countConflicts(const Parsing& grammar, HString tableName);

// An evaluation refused for the conflicts of its table, or its trace.
struct Evaluation {
  int conflicts = 0;  // the table's conflicting cells; the trace is empty when > 0
  Table trace;
  Table table;  // the table the trace was made with
  // The typed table and steps the texts were made from (no steps when refused).
  std::shared_ptr<const ParseTable> typedTable;
  std::shared_ptr<const EvaluationSteps> steps;
  bool refused() const { return conflicts > 0; }
  // The last step accepts the word.
  bool accepted() const;
};
Evaluation evaluation(const Parsing& grammar, TableKind kind, const HString& word);
// The trace of the word with the SLR, LR(1) or LALR table named by kind, conflicts or not.
Table lrEvaluation(const Parsing& grammar, HString word, HString kind);

enum class ListingKind { kFirst, kFollow, kLR0Items, kLR1Items, kLalrItems };

// The automata graphs/ draws; the command registry names them too.
enum class GraphKind { kLR0, kLR1, kLALR };
inline constexpr GraphKind kGraphKinds[] = {GraphKind::kLR0, GraphKind::kLR1, GraphKind::kLALR};

struct Listing {
  Row lines;
  Row similarTable;  // LALR Items only: which LR(1) states each LALR state merges
};
Listing listing(const Parsing& grammar, ListingKind kind);
