// Chomsky normal form: every rule A->BC or A->a, and S->ε for the start
// symbol S alone, which then stands in no right side.  The textbook order:
// a new start rule, empty rules, unit rules and useless symbols removed,
// then each terminal in a longer body replaced by a non-terminal of its
// own, then each body of three or more symbols cut into a chain of pairs.
#include <map>

#include "transform/rewriting.h"

namespace {

// A non-terminal named after `base` whose one rule derives `body`; one per body.
Symbol nonTerminalFor(Grammar& grammar, std::map<std::vector<Symbol>, Symbol>& made, Symbol base,
                      const std::vector<Symbol>& body) {
  auto found = made.find(body);
  if (found != made.end()) return found->second;
  Symbol named = addFreshNonTerminal(grammar, base);
  grammar.productions.push_back({named, body});
  made.emplace(body, named);
  return named;
}

}  // namespace

void toChomskyNormalForm(Grammar& grammar, StepLog& log) {
  Symbol start = grammar.start();
  if (onRightSide(grammar, start)) {
    Symbol newStart = addFreshNonTerminal(grammar, start);
    grammar.productions.insert(grammar.productions.begin(), {newStart, {start}});
    log.add("Add a new start symbol",
            grammar.name(start) + " stands in a right side; the new start symbol " + grammar.name(newStart) +
                " derives it and stands in none.",
            grammar);
  }
  removeEmptyRules(grammar, log);
  removeUnitRules(grammar, log);
  removeUseless(grammar, log);

  std::map<std::vector<Symbol>, Symbol> made;
  size_t count = grammar.productions.size();
  for (size_t k = 0; k < count; ++k) {
    if (grammar.productions[k].body.size() < 2) continue;
    for (size_t at = 0; at < grammar.productions[k].body.size(); ++at) {
      Symbol s = grammar.productions[k].body[at];
      if (grammar.isTerminal(s)) grammar.productions[k].body[at] = nonTerminalFor(grammar, made, s, {s});
    }
  }
  checkGrowth(grammar);
  grammar = tidied(grammar);
  log.add("Give terminals in longer rules non-terminals of their own",
          made.empty() ? "No rule of two or more symbols holds a terminal."
                       : "Each terminal in a right side of two or more symbols is replaced by a new non-terminal "
                         "whose one rule derives it.",
          grammar);

  made.clear();
  bool cut = false;
  // The rules made for the rests come at the end and are cut in their turn.
  for (size_t k = 0; k < grammar.productions.size(); ++k)
    while (grammar.productions[k].body.size() > 2) {
      cut = true;
      std::vector<Symbol> rest(grammar.productions[k].body.begin() + 1, grammar.productions[k].body.end());
      Symbol pair = nonTerminalFor(grammar, made, grammar.productions[k].head, rest);
      grammar.productions[k].body = {grammar.productions[k].body[0], pair};
      checkGrowth(grammar);
    }
  grammar = tidied(grammar);
  log.add("Cut longer rules into pairs",
          cut ? "A rule A->X1 X2 ... Xn of three or more symbols becomes A->X1 B with a new B->X2 ... Xn, until "
                "every right side holds two."
              : "No right side holds more than two symbols.",
          grammar);
}
