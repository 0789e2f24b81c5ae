// Empty rules: every production is copied once for each way of leaving out
// the vanishing symbols of its body, and the empty bodies are dropped.  A
// word the grammar derived with an empty rule is derived by the copy that
// leaves out what vanished there, so no word is lost but the empty word;
// the start symbol keeps that one, through a new start rule when the start
// symbol stands in a right side (so that no other rule can use it).
#include <algorithm>

#include "core/work.h"
#include "grammar/grammar_sets.h"
#include "transform/rewriting.h"
#include "grammar/grammar_text.h"

namespace {

// The bodies made from `body` by leaving out any choice of its vanishing symbols.
void addCopies(const Production& p, const SymbolSet& nullable, std::vector<Production>& out) {
  std::vector<std::vector<Symbol>> bodies{{}};
  for (Symbol s : p.body) {
    size_t count = bodies.size();
    if (nullable[static_cast<size_t>(s)])
      for (size_t k = 0; k < count; ++k) bodies.push_back(bodies[k]);
    for (size_t k = 0; k < count; ++k) bodies[k].push_back(s);
    if (bodies.size() > 4096)
      throw WorkStopped(WorkStopped::Reason::kLimit,
                        "a right side holds too many vanishing symbols to copy it for each way they vanish");
  }
  for (auto& body : bodies)
    if (!body.empty() && !(body.size() == 1 && body[0] == p.head)) out.push_back({p.head, std::move(body)});
}

}  // namespace

void removeEmptyRules(Grammar& grammar, StepLog& log) {
  SymbolSet nullable = nullableSymbols(grammar);
  std::vector<Symbol> vanishing;
  for (Symbol s = 0; s < grammar.symbolCount(); ++s)
    if (nullable[static_cast<size_t>(s)]) vanishing.push_back(s);
  Symbol start = grammar.start();
  std::vector<Production> copies;
  for (const Production& p : grammar.productions) addCopies(p, nullable, copies);
  grammar.productions = std::move(copies);
  checkGrowth(grammar);
  std::string note = vanishing.empty() ? "No non-terminal derives the empty string."
                                       : namesOf(grammar, vanishing) + (vanishing.size() == 1 ? " derives" : " derive") +
                                             " the empty string: each rule is copied for every way these can vanish, "
                                             "and the empty rules are dropped.";
  if (nullable[static_cast<size_t>(start)]) {
    if (onRightSide(grammar, start)) {
      Symbol newStart = addFreshNonTerminal(grammar, start);
      grammar.productions.insert(grammar.productions.begin(), {{newStart, {start}}, {newStart, {}}});
      note += " The language holds the empty word, and " + grammar.name(start) +
              " stands in a right side, so the new start rule " + ruleText(grammar, newStart) + " derives it.";
    } else {
      // After the start symbol's other rules; first when it has none left.
      auto last = std::find_if(grammar.productions.rbegin(), grammar.productions.rend(),
                               [&](const Production& p) { return p.head == start; });
      grammar.productions.insert(last.base(), {start, {}});
      note += " The language holds the empty word: the start symbol " + grammar.name(start) + " keeps its empty rule.";
    }
  }
  grammar = tidied(grammar);
  log.add("Remove empty rules", note, grammar);
}
