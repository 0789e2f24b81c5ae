// Grammar transformations, step by step: each kind rewrites a grammar into
// one that derives the same words and reaches a goal (no left recursion,
// no two alternatives that begin alike, no empty or unit rules, no useless
// symbols, Chomsky normal form, or as near LL(1) as these steps come).
// Every step keeps the grammar it made, so a reader can follow the rewrite;
// the result is checked before it is given: the goal holds and the words
// up to a bounded length are the input's (transform/checks.h).
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "grammar/grammar.h"

enum class TransformKind { kLeftRecursion, kLeftFactor, kEpsilon, kUnit, kUseless, kChomsky, kLL1 };

// The kinds by their names on the command line ("left-recursion", ..., "cnf", "ll1").
const std::vector<std::pair<std::string_view, TransformKind>>& transformKinds();
std::optional<TransformKind> transformKindNamed(std::string_view name);
std::string_view transformKindName(TransformKind kind);
// "Remove left recursion", ... for menus and headings.
std::string_view transformTitle(TransformKind kind);

struct TransformStep {
  std::string title;
  std::string note;
  Grammar grammar;                   // the grammar after the step
  std::vector<std::string> changed;  // the non-terminals whose rules the step added, changed or removed
};

struct TransformResult {
  std::vector<TransformStep> steps;
  Grammar grammar;
  // For kLL1: the LL(1) conflicts the result still has, one text each.
  std::vector<std::string> remainingConflicts;
};

// A grammar the transformation cannot rewrite as asked: its language is
// empty, or the classic notation has no letter left for a new non-terminal.
class TransformRefused : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The LL(1) conflicts of a grammar, "E on +: E->E+T and E->T" each.
std::vector<std::string> ll1ConflictTexts(const Grammar& grammar);

// Rewrites a grammar with at least one production; throws TransformRefused,
// or WorkStopped when the rewrite outgrows the limits.
TransformResult transformGrammar(const Grammar& grammar, TransformKind kind);
