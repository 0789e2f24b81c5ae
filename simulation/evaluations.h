// Evaluations by kind: the steps of a word's parse with a table of any of
// the four kinds, their trace, and the evaluation a client shows, refused
// when its table holds a choice.
#pragma once

#include <memory>
#include <string>

#include "simulation/ll1_evaluation.h"
#include "simulation/lr_evaluation.h"
#include "tables/table_kinds.h"

// How a parse ended: a trace cut short by its bound has neither accepted
// nor met an error.
enum class ParseOutcome { kUnfinished, kAccepted, kRejected };

// The typed steps of an evaluation with a table of its kind (conflicts or
// not: a cell's first entry decides).
struct EvaluationSteps {
  TableKind kind = TableKind::kLL1;
  LL1Parse ll1;  // for kLL1
  LRParse lr;    // for the others
  bool accepted() const { return kind == TableKind::kLL1 ? ll1.accepted() : lr.accepted(); }
  ParseOutcome outcome() const;
};
EvaluationSteps evaluationSteps(const Parsing& grammar, const ParseTable& table, const std::string& word);
// Its trace, made by the trace's writer.
Table traceText(const Parsing& grammar, const ParseTable& table, const EvaluationSteps& steps);

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
  bool accepted() const { return outcome() == ParseOutcome::kAccepted; }
  // kUnfinished for a refused evaluation.
  ParseOutcome outcome() const { return steps ? steps->outcome() : ParseOutcome::kUnfinished; }
};
Evaluation evaluation(const Parsing& grammar, TableKind kind, const HString& word);
// The trace of the word with the SLR, LR(1) or LALR table named by kind, conflicts or not.
Table lrEvaluation(const Parsing& grammar, HString word, HString kind);
