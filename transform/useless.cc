// Useless symbols: first the non-productive ones (no word derives from
// them), then the unreachable ones (no sentential form from the start
// symbol holds them).  The order matters: dropping the productions of a
// non-productive symbol can leave others unreachable, while dropping
// unreachable ones never makes a symbol non-productive.
#include <algorithm>

#include "grammar/grammar_sets.h"
#include "transform/rewriting.h"

namespace {

// Keeps the productions whose symbols all pass; gives the non-terminals that did not.
std::vector<Symbol> keepOnly(Grammar& grammar, const SymbolSet& keep) {
  std::vector<Symbol> dropped;
  for (Symbol s = 0; s < grammar.symbolCount(); ++s)
    if (!keep[static_cast<size_t>(s)] && !grammar.isTerminal(s) &&
        (onRightSide(grammar, s) || !grammar.productionsOf(s).empty()))
      dropped.push_back(s);
  std::erase_if(grammar.productions, [&](const Production& p) {
    if (!keep[static_cast<size_t>(p.head)]) return true;
    return std::any_of(p.body.begin(), p.body.end(), [&](Symbol s) { return !keep[static_cast<size_t>(s)]; });
  });
  return dropped;
}

}  // namespace

void refuseEmptyLanguage(const Grammar& grammar) {
  if (!productiveSymbols(grammar)[static_cast<size_t>(grammar.start())])
    throw TransformRefused("The start symbol " + grammar.name(grammar.start()) +
                           " derives no word: the language is empty, and a grammar needs at least one rule.");
}

void removeUseless(Grammar& grammar, StepLog& log) {
  refuseEmptyLanguage(grammar);
  SymbolSet productive = productiveSymbols(grammar);
  std::vector<Symbol> barren = keepOnly(grammar, productive);
  std::string names = namesOf(grammar, barren);
  grammar = tidied(grammar);
  log.add("Remove non-productive symbols",
          barren.empty() ? "Every non-terminal derives a word of terminals."
                         : names + (barren.size() == 1 ? " derives" : " derive") +
                               " no word of terminals; every rule that uses " +
                               (barren.size() == 1 ? "it" : "them") + " is dropped.",
          grammar);

  std::vector<Symbol> unreached = keepOnly(grammar, reachableSymbols(grammar));
  names = namesOf(grammar, unreached);
  grammar = tidied(grammar);
  log.add("Remove unreachable symbols",
          unreached.empty() ? "Every symbol is reached from the start symbol."
                            : names + (unreached.size() == 1 ? " is" : " are") +
                                  " not reached from the start symbol; " +
                                  (unreached.size() == 1 ? "its rules are" : "their rules are") + " dropped.",
          grammar);
}
