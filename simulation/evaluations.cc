#include "simulation/evaluations.h"

EvaluationSteps evaluationSteps(const Parsing& grammar, const ParseTable& table, const std::string& word) {
  EvaluationSteps steps;
  steps.kind = table.kind;
  if (table.kind == TableKind::kLL1)
    steps.ll1 = ll1Parse(grammar.typed, table.ll1, word);
  else
    steps.lr = lrParse(grammar.typed, table.lr, word);
  return steps;
}

Table traceText(const Parsing& grammar, const ParseTable& table, const EvaluationSteps& steps) {
  return table.kind == TableKind::kLL1 ? ll1TraceText(grammar.typed, table.ll1, steps.ll1)
                                       : lrTraceText(grammar.typed, steps.lr);
}

ParseOutcome EvaluationSteps::outcome() const {
  bool ll = kind == TableKind::kLL1;
  if (ll ? ll1.steps.empty() : lr.steps.empty()) return ParseOutcome::kUnfinished;
  if (accepted()) return ParseOutcome::kAccepted;
  bool error = ll ? ll1.steps.back().move == LL1Move::kError : lr.steps.back().move == LRMove::kError;
  return error ? ParseOutcome::kRejected : ParseOutcome::kUnfinished;
}

// The window refuses to parse with a table that holds a choice.
Evaluation evaluation(const Parsing& grammar, TableKind kind, const HString& word) {
  auto table = std::make_shared<const ParseTable>(quickParseTable(grammar, kind));
  Evaluation result;
  result.conflicts = table->conflicts();
  if (!result.refused()) {
    auto steps = std::make_shared<const EvaluationSteps>(evaluationSteps(grammar, *table, std::string(word.view())));
    result.trace = traceText(grammar, *table, *steps);
    result.steps = std::move(steps);
  }
  result.table = tableText(grammar, *table);
  result.typedTable = std::move(table);
  return result;
}

Table lrEvaluation(const Parsing& grammar, HString word, HString kind) {
  ParseTable table = parseTable(grammar, tableKindNamed(kind));
  return traceText(grammar, table, evaluationSteps(grammar, table, std::string(word.view())));
}
