// Unit rules A->B: A takes every rule that is not a unit rule of each
// non-terminal it reaches through unit rules alone (itself included).  A
// derivation that went A => B => ... => C => w goes A => w in one step now,
// so the words stay; cycles of unit rules vanish with them.
#include <algorithm>

#include "transform/rewriting.h"

namespace {

bool isUnit(const Grammar& grammar, const Production& p) {
  return p.body.size() == 1 && !grammar.isTerminal(p.body[0]);
}

// The non-terminals reached from `head` through unit rules, itself first.
std::vector<Symbol> unitReach(const Grammar& grammar, Symbol head) {
  std::vector<Symbol> reached{head};
  for (size_t k = 0; k < reached.size(); ++k)
    for (const Production& p : grammar.productions)
      if (p.head == reached[k] && isUnit(grammar, p) &&
          std::find(reached.begin(), reached.end(), p.body[0]) == reached.end())
        reached.push_back(p.body[0]);
  return reached;
}

}  // namespace

void removeUnitRules(Grammar& grammar, StepLog& log) {
  std::vector<Production> rewritten;
  std::vector<Symbol> withUnits;
  std::vector<bool> done(static_cast<size_t>(grammar.symbolCount()));
  for (const Production& first : grammar.productions) {
    Symbol head = first.head;
    if (done[static_cast<size_t>(head)]) continue;
    done[static_cast<size_t>(head)] = true;
    std::vector<Symbol> reach = unitReach(grammar, head);
    if (reach.size() > 1) withUnits.push_back(head);
    for (Symbol from : reach)
      for (const Production& p : grammar.productions)
        if (p.head == from && !isUnit(grammar, p)) rewritten.push_back({head, p.body});
  }
  std::string note = withUnits.empty() ? "No rule has a single non-terminal for its right side."
                                       : namesOf(grammar, withUnits) + (withUnits.size() == 1 ? " takes" : " take") +
                                             " the other rules of the non-terminals reached through unit rules, "
                                             "and the unit rules are dropped.";
  grammar.productions = std::move(rewritten);
  checkGrowth(grammar);
  grammar = tidied(grammar);
  log.add("Remove unit rules", note, grammar);
}
