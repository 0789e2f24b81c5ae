// Left factoring: while two alternatives of a non-terminal begin with the
// same symbol, the longest prefix α they share with every alternative that
// begins with that symbol is taken out: A->αβ1|...|αβk becomes A->αA',
// A'->β1|...|βk.  Each round leaves one alternative in A where there were k,
// and A' only has shorter ones, so the rounds come to an end.
#include "transform/rewriting.h"
#include "grammar/grammar_text.h"

namespace {

struct SharedStart {
  Symbol head = kNoSymbol;
  std::vector<size_t> productions;  // indices of the alternatives that share it
  size_t prefix = 0;                // the length of the longest common prefix
};

// The first non-terminal, in rule order, with two alternatives that begin alike.
SharedStart findSharedStart(const Grammar& grammar) {
  const auto& ps = grammar.productions;
  for (size_t i = 0; i < ps.size(); ++i) {
    if (ps[i].body.empty()) continue;
    SharedStart shared{ps[i].head, {i}, ps[i].body.size()};
    for (size_t j = i + 1; j < ps.size(); ++j) {
      if (ps[j].head != ps[i].head || ps[j].body.empty() || ps[j].body[0] != ps[i].body[0]) continue;
      size_t common = 0;
      while (common < shared.prefix && common < ps[j].body.size() && ps[j].body[common] == ps[i].body[common]) ++common;
      shared.prefix = common;
      shared.productions.push_back(j);
    }
    if (shared.productions.size() > 1) return shared;
  }
  return {};
}

}  // namespace

void leftFactor(Grammar& grammar, StepLog& log) {
  grammar = tidied(grammar);  // a repeated alternative is no choice to factor
  bool any = false;
  for (SharedStart shared; (shared = findSharedStart(grammar)).head != kNoSymbol;) {
    any = true;
    Symbol head = shared.head;
    std::string before = ruleText(grammar, head);
    std::vector<Symbol> prefix(grammar.productions[shared.productions[0]].body.begin(),
                               grammar.productions[shared.productions[0]].body.begin() + static_cast<long>(shared.prefix));
    Symbol tail = addFreshNonTerminal(grammar, head);
    std::vector<Production> rests;
    for (size_t k : shared.productions) {
      const auto& body = grammar.productions[k].body;
      rests.push_back({tail, std::vector<Symbol>(body.begin() + static_cast<long>(shared.prefix), body.end())});
    }
    Production factored{head, prefix};
    factored.body.push_back(tail);
    grammar.productions[shared.productions[0]] = factored;
    for (size_t k = shared.productions.size(); k-- > 1;)
      grammar.productions.erase(grammar.productions.begin() + static_cast<long>(shared.productions[k]));
    // The new rule comes right after the rule it was taken from.
    size_t after = 0;
    for (size_t k = 0; k < grammar.productions.size(); ++k)
      if (grammar.productions[k].head == head) after = k + 1;
    grammar.productions.insert(grammar.productions.begin() + static_cast<long>(after), rests.begin(), rests.end());
    checkGrowth(grammar);
    log.add("Left-factor " + grammar.name(head),
            before + ": " + std::to_string(shared.productions.size()) + " alternatives begin with " +
                writtenBody(grammar, prefix) + "; it is written once, and the new non-terminal " + grammar.name(tail) +
                " chooses what follows it.",
            grammar);
  }
  if (!any) log.add("Left-factor", "No two alternatives of a non-terminal begin with the same symbol.", grammar);
}
