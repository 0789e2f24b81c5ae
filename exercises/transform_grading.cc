#include "exercises/transform_grading.h"

#include <algorithm>

#include "core/work.h"
#include "grammar/grammar_file.h"
#include "grammar/grammar_sets.h"
#include "grammar/reading.h"
#include "grammar/token_reading.h"
#include "transform/bounded_language.h"
#include "transform/goals.h"
#include "grammar/grammar_text.h"

namespace {

std::string writtenProduction(const Grammar& g, const Production& p) { return g.name(p.head) + "->" + writtenBody(g, p.body); }

bool standsOnRightSide(const Grammar& g, Symbol symbol) {
  return std::any_of(g.productions.begin(), g.productions.end(), [&](const Production& p) {
    return std::find(p.body.begin(), p.body.end(), symbol) != p.body.end();
  });
}

// The first production that breaks `fault`, or nothing.
template <typename Fault>
const Production* firstProduction(const Grammar& g, Fault fault) {
  for (const Production& p : g.productions)
    if (fault(p)) return &p;
  return nullptr;
}

MarkedElement requirement(std::string entry, std::string failure) {
  MarkedElement element;
  element.entry = std::move(entry);
  element.mark = failure.empty() ? Mark::kRight : Mark::kWrong;
  element.reason = std::move(failure);
  return element;
}

MarkedElement sameWords(const Grammar& input, const Grammar& answer) {
  bool decided = false;
  int compared = 0;
  std::optional<LanguageDifference> difference =
      languageDifference(input, answer, kGradedWordLength, &decided, &compared);
  MarkedElement element = requirement("derives the same words", "");
  if (difference) {
    element.mark = Mark::kWrong;
    element.reason = difference->inFirst
                         ? "Your grammar does not derive " + wordText(difference->word) + ", which the given grammar does."
                         : "Your grammar derives " + wordText(difference->word) + ", which the given grammar does not.";
  } else if (!decided) {
    element.reason = compared < 0 ? "The languages are too large to compare even the shortest words."
                                  : "Compared the words up to " + std::to_string(compared) + " terminal" +
                                        (compared == 1 ? "" : "s") + "; beyond, the languages are too large to compare.";
  }
  return element;
}

std::string sharedStartFailure(const Grammar& g) {
  for (size_t i = 0; i < g.productions.size(); ++i)
    for (size_t j = i + 1; j < g.productions.size(); ++j) {
      const Production &p = g.productions[i], &q = g.productions[j];
      if (p.head == q.head && !p.body.empty() && !q.body.empty() && p.body[0] == q.body[0])
        return writtenProduction(g, p) + " and " + writtenProduction(g, q) + " begin with the same symbol " +
               g.name(p.body[0]) + ".";
    }
  return "";
}

std::string uselessFailure(const Grammar& g) {
  SymbolSet productive = productiveSymbols(g), reachable = reachableSymbols(g);
  for (Symbol s : g.nonTerminals()) {
    if (!productive[static_cast<size_t>(s)]) return g.name(s) + " derives no word of terminals.";
    if (!reachable[static_cast<size_t>(s)]) return g.name(s) + " is not reached from the start symbol.";
  }
  return "";
}

std::string joined(const std::vector<std::string>& texts) {
  std::string out;
  for (const std::string& text : texts) out += (out.empty() ? "" : "; ") + text;
  return out;
}

// Whether the program's own LL(1) steps free the grammar of its conflicts.
bool ll1Reachable(const Grammar& input) {
  try {
    return transformGrammar(input, TransformKind::kLL1).remainingConflicts.empty();
  } catch (const TransformRefused&) {
    return true;
  } catch (const WorkStopped&) {
    return true;
  }
}

MarkedElement goal(const Grammar& input, const Grammar& g, TransformKind kind) {
  switch (kind) {
    case TransformKind::kLeftRecursion:
      return requirement("no left recursion", hasLeftRecursion(g) ? "Your grammar is still left-recursive." : "");
    case TransformKind::kLeftFactor:
      return requirement("no two alternatives begin with the same symbol", sharedStartFailure(g));
    case TransformKind::kEpsilon: {
      bool startAlone = !standsOnRightSide(g, g.start());
      const Production* empty = firstProduction(g, [&](const Production& p) {
        return p.body.empty() && (p.head != g.start() || !startAlone);
      });
      return requirement("no empty rule but the start symbol's",
                         empty ? "Your grammar still has the empty rule " + writtenProduction(g, *empty) +
                                     (empty->head == g.start() ? ", and its start symbol stands on a right side." : ".")
                               : "");
    }
    case TransformKind::kUnit: {
      const Production* unit = firstProduction(
          g, [&](const Production& p) { return p.body.size() == 1 && !g.isTerminal(p.body[0]); });
      return requirement("no unit rule", unit ? "Your grammar still has the unit rule " + writtenProduction(g, *unit) + "." : "");
    }
    case TransformKind::kUseless: return requirement("no useless symbol", uselessFailure(g));
    case TransformKind::kChomsky: {
      std::string rule = chomskyViolation(g);
      return requirement("in Chomsky normal form",
                         rule.empty() ? "" : "The rule " + rule + " is neither A->BC nor A->a, nor the start symbol's empty rule.");
    }
    case TransformKind::kLL1: {
      if (ll1Reachable(input)) {
        std::vector<std::string> conflicts = ll1ConflictTexts(g);
        return requirement("no LL(1) conflict", conflicts.empty() ? "" : "LL(1) conflicts: " + joined(conflicts) + ".");
      }
      const char* unreachable = "The given grammar has no LL(1) form these steps reach";
      std::string failure = hasLeftRecursion(g) ? "Your grammar is still left-recursive."
                                                : sharedStartFailure(g);
      MarkedElement element = requirement("no left recursion and left-factored", failure);
      element.reason = std::string(unreachable) + (failure.empty() ? "." : ": " + failure);
      return element;
    }
  }
  return {};
}

// The first rule X->Y, X on no right side: the LR tables accept when it is complete.
bool augments(const Grammar& g) {
  std::vector<int> first = g.productionsOf(g.start());
  const std::vector<Symbol>& body = g.productions.front().body;
  return first.size() == 1 && body.size() == 1 && !g.isTerminal(body[0]) && !standsOnRightSide(g, g.start());
}

// The rewrites may give the start symbol more alternatives (a unit rule
// replaced, the empty word kept), but it stays the start and on no right side.
MarkedElement stillAugments(const Grammar& input, const Grammar& g) {
  const std::string& start = input.name(input.start());
  std::string failure;
  if (g.name(g.start()) != start)
    failure = "Your grammar starts with " + g.name(g.start()) + ", not with " + start + ", the start symbol of the given grammar's first rule " +
              writtenProduction(input, input.productions.front()) + ".";
  else if (const Production* p = firstProduction(g, [&](const Production& q) {
             return std::find(q.body.begin(), q.body.end(), g.start()) != q.body.end();
           }))
    failure = start + " stands on the right side of " + writtenProduction(g, *p) + ", so the first rule no longer augments the grammar.";
  return requirement("the first rule still augments the grammar", failure);
}

}  // namespace

GradeResult gradeTransformation(const Grammar& input, TransformKind kind, std::string_view answerText) {
  GradeResult result;
  GrammarTextReading answer = readGrammarText(answerText, input.notation);
  if (!answer.isSound()) {
    result.error = answer.messages;
    return result;
  }
  const Grammar& g = answer.grammar;
  Grading& grading = result.grading;
  grading.entryTitle = "Requirement";
  grading.elements.push_back(sameWords(input, g));
  grading.elements.push_back(goal(input, g, kind));
  if (kind != TransformKind::kChomsky && !input.productions.empty() && augments(input))
    grading.elements.push_back(stillAugments(input, g));
  return result;
}
