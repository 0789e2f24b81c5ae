// The kinds of transformation as sequences of the rewrites, and the checks
// every result passes before it is given.
#include "transform/transform.h"

#include <stdexcept>

#include "grammar/grammar_sets.h"
#include "transform/bounded_language.h"
#include "transform/goals.h"
#include "transform/rewriting.h"
#include "grammar/grammar_text.h"

namespace {

// Words up to this length are compared between input and result.
constexpr int kCheckedLength = 6;

struct KindInfo {
  std::string_view name;
  TransformKind kind;
  std::string_view title;
};

const KindInfo kKinds[] = {
    {"left-recursion", TransformKind::kLeftRecursion, "Remove left recursion"},
    {"left-factor", TransformKind::kLeftFactor, "Left-factor"},
    {"epsilon", TransformKind::kEpsilon, "Remove empty rules"},
    {"unit", TransformKind::kUnit, "Remove unit rules"},
    {"useless", TransformKind::kUseless, "Remove useless symbols"},
    {"cnf", TransformKind::kChomsky, "Chomsky normal form"},
    {"ll1", TransformKind::kLL1, "Toward LL(1)"},
};

const KindInfo& infoOf(TransformKind kind) {
  for (const KindInfo& info : kKinds)
    if (info.kind == kind) return info;
  throw std::logic_error("unknown transformation");
}

// Empty when the result reaches the goal of its kind, else what fails.
std::string goalFailure(const Grammar& g, TransformKind kind) {
  switch (kind) {
    case TransformKind::kLeftRecursion:
      return hasLeftRecursion(g) ? "it is still left-recursive" : "";
    case TransformKind::kLeftFactor:
      return hasSharedStart(g) ? "two alternatives still begin with the same symbol" : "";
    case TransformKind::kEpsilon:
      return hasEmptyRule(g) ? "it still has an empty rule" : "";
    case TransformKind::kUnit:
      return hasUnitRule(g) ? "it still has a unit rule" : "";
    case TransformKind::kUseless:
      return hasUselessSymbols(g) ? "it still has a useless symbol" : "";
    case TransformKind::kChomsky: {
      std::string rule = chomskyViolation(g);
      return rule.empty() ? "" : "its rule " + rule + " is not in Chomsky normal form";
    }
    case TransformKind::kLL1:
      return hasLeftRecursion(g) || hasSharedStart(g) ? "it is still left-recursive or not left-factored" : "";
  }
  return {};
}

// A rewrite that failed its checks is a fault of the program, never a result.
void check(const Grammar& input, const Grammar& output, TransformKind kind) {
  if (std::string failure = goalFailure(output, kind); !failure.empty())
    throw std::logic_error("the rewritten grammar misses its goal: " + failure);
  if (auto difference = languageDifference(input, output, kCheckedLength))
    throw std::logic_error("the rewritten grammar " + std::string(difference->inFirst ? "lost" : "gained") + " " +
                           wordText(difference->word));
}

// "on id: T->id and T->id ( E )", as the LL(1) table would hold both in one cell.
std::string conflictText(const Grammar& g, const LL1Conflict& c) {
  auto production = [&](int p) {
    const Production& rule = g.productions[static_cast<size_t>(p)];
    return g.name(rule.head) + "->" + writtenBody(g, rule.body);
  };
  return g.name(c.head) + " on " + (c.terminal == kNoSymbol ? std::string("$") : g.name(c.terminal)) + ": " +
         production(c.production1) + " and " + production(c.production2);
}

void rewrite(Grammar& grammar, TransformKind kind, StepLog& log) {
  switch (kind) {
    case TransformKind::kLeftRecursion: return removeLeftRecursion(grammar, log);
    case TransformKind::kLeftFactor: return leftFactor(grammar, log);
    case TransformKind::kEpsilon: return removeEmptyRules(grammar, log);
    case TransformKind::kUnit: return removeUnitRules(grammar, log);
    case TransformKind::kUseless: return removeUseless(grammar, log);
    case TransformKind::kChomsky: return toChomskyNormalForm(grammar, log);
    case TransformKind::kLL1:
      removeUseless(grammar, log);
      removeLeftRecursion(grammar, log);
      return leftFactor(grammar, log);
  }
}

}  // namespace

const std::vector<std::pair<std::string_view, TransformKind>>& transformKinds() {
  static const auto kinds = [] {
    std::vector<std::pair<std::string_view, TransformKind>> out;
    for (const KindInfo& info : kKinds) out.emplace_back(info.name, info.kind);
    return out;
  }();
  return kinds;
}

std::optional<TransformKind> transformKindNamed(std::string_view name) {
  for (const KindInfo& info : kKinds)
    if (info.name == name) return info.kind;
  return std::nullopt;
}

std::vector<std::string> ll1ConflictTexts(const Grammar& grammar) {
  std::vector<std::string> texts;
  for (const LL1Conflict& c : ll1Conflicts(grammar)) texts.push_back(conflictText(grammar, c));
  return texts;
}

std::string_view transformKindName(TransformKind kind) { return infoOf(kind).name; }
std::string_view transformTitle(TransformKind kind) { return infoOf(kind).title; }

TransformResult transformGrammar(const Grammar& input, TransformKind kind) {
  if (input.productions.empty()) throw TransformRefused("The grammar has no rule to transform.");
  refuseEmptyLanguage(input);
  Grammar grammar = input;
  StepLog log(input);
  rewrite(grammar, kind, log);
  check(input, grammar, kind);
  TransformResult result{log.take(), grammar, {}};
  if (kind == TransformKind::kLL1)
    result.remainingConflicts = ll1ConflictTexts(grammar);
  return result;
}
