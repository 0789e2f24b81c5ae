// Left recursion, direct and indirect, by the classic ordering: with the
// non-terminals in the order A1..An their rules come in, each Ai first has
// every rule Ai->Aj γ with j < i rewritten by the rules of Aj, so that a
// rule of Ai begins with no Aj before it, then its direct left recursion
// Ai->Ai α | β becomes Ai->β Ai', Ai'->α Ai' | ε.  By induction a rule of
// an earlier Aj begins with a terminal or a later non-terminal, so no chain
// of first symbols can return to where it began.  The argument needs a
// grammar without empty rules (an empty Aj hides what follows it) and
// without cycles A =>+ A, so those are removed first when the grammar has
// them, and so are useless symbols, which could leave Ai with no β.
#include "transform/goals.h"
#include <algorithm>

#include "transform/rewriting.h"
#include "grammar/grammar_text.h"

namespace {

// The non-terminals in the order their rules come.
std::vector<Symbol> ruleOrder(const Grammar& grammar) {
  std::vector<Symbol> order;
  for (const Production& p : grammar.productions)
    if (std::find(order.begin(), order.end(), p.head) == order.end()) order.push_back(p.head);
  return order;
}

// Rewrites the rules of `head` that begin with `earlier` by the rules of `earlier`.
bool substituteLeading(Grammar& grammar, Symbol head, Symbol earlier) {
  std::vector<Production> out;
  bool changed = false;
  for (const Production& p : grammar.productions) {
    if (p.head != head || p.body.empty() || p.body[0] != earlier) {
      out.push_back(p);
      continue;
    }
    changed = true;
    for (const Production& q : grammar.productions)
      if (q.head == earlier) {
        Production joined{head, q.body};
        joined.body.insert(joined.body.end(), p.body.begin() + 1, p.body.end());
        out.push_back(std::move(joined));
      }
  }
  grammar.productions = std::move(out);
  checkGrowth(grammar);
  return changed;
}

// Ai->Ai α | β becomes Ai->β Ai', Ai'->α Ai' | ε; the new rules follow Ai's.
bool removeDirect(Grammar& grammar, Symbol head) {
  // Ai->Ai derives nothing Ai does not: it goes first.
  bool changed = std::erase_if(grammar.productions, [&](const Production& p) {
    return p.head == head && p.body == std::vector<Symbol>{head};
  }) > 0;
  std::vector<std::vector<Symbol>> alphas, betas;
  for (const Production& p : grammar.productions)
    if (p.head == head) {
      if (!p.body.empty() && p.body[0] == head) alphas.emplace_back(p.body.begin() + 1, p.body.end());
      else betas.push_back(p.body);
    }
  if (alphas.empty()) return changed;
  Symbol tail = addFreshNonTerminal(grammar, head);
  std::vector<Production> rules;
  for (auto& beta : betas) {
    beta.push_back(tail);
    rules.push_back({head, beta});
  }
  for (auto& alpha : alphas) {
    alpha.push_back(tail);
    rules.push_back({tail, alpha});
  }
  rules.push_back({tail, {}});
  auto firstOfHead = std::find_if(grammar.productions.begin(), grammar.productions.end(),
                                  [&](const Production& p) { return p.head == head; });
  size_t at = static_cast<size_t>(firstOfHead - grammar.productions.begin());
  std::erase_if(grammar.productions, [&](const Production& p) { return p.head == head; });
  grammar.productions.insert(grammar.productions.begin() + static_cast<long>(at), rules.begin(), rules.end());
  checkGrowth(grammar);
  return true;
}

}  // namespace

void removeLeftRecursion(Grammar& grammar, StepLog& log) {
  if (!hasLeftRecursion(grammar)) {
    log.add("Remove left recursion", "No non-terminal derives a sentential form that begins with itself.", grammar);
    return;
  }
  if (hasUselessSymbols(grammar)) removeUseless(grammar, log);
  if (hasEmptyRule(grammar)) removeEmptyRules(grammar, log);
  if (hasUnitCycle(grammar)) removeUnitRules(grammar, log);
  std::vector<Symbol> order = ruleOrder(grammar);
  for (size_t i = 0; i < order.size(); ++i) {
    Symbol head = order[i];
    std::string before = ruleText(grammar, head);
    std::vector<Symbol> substituted;
    for (size_t j = 0; j < i; ++j)
      if (substituteLeading(grammar, head, order[j])) substituted.push_back(order[j]);
    bool direct = removeDirect(grammar, head);
    if (substituted.empty() && !direct) continue;
    std::string note = before + ": ";
    if (!substituted.empty())
      note += "the rules that begin with " + namesOf(grammar, substituted) + " take " +
              (substituted.size() == 1 ? "its" : "their") + " right sides in its place" + (direct ? "; then " : ".");
    if (direct)
      note += "the rules that begin with " + grammar.name(head) +
              " itself are turned around with a new non-terminal, which repeats their rest and may vanish.";
    // Symbol numbers stay fixed while `order` is walked; the log gets a tidied copy.
    log.add("Remove the left recursion of " + grammar.name(head), note, tidied(grammar));
  }
  grammar = tidied(grammar);
}
