#include "transform/rewriting.h"

#include <algorithm>
#include <map>
#include <set>

#include "core/work.h"
#include "grammar/grammar_text.h"

namespace {

// The rules of a grammar by head name, each as the names of its bodies.
std::map<std::string, std::vector<std::vector<std::string>>> rulesByName(const Grammar& grammar) {
  std::map<std::string, std::vector<std::vector<std::string>>> rules;
  for (const Production& p : grammar.productions) {
    std::vector<std::string> body;
    for (Symbol s : p.body) body.push_back(grammar.name(s));
    rules[grammar.name(p.head)].push_back(std::move(body));
  }
  return rules;
}

// Far above what a hand-written grammar grows to; past it a rewrite has
// blown up (an empty-rule removal over a long body of vanishing symbols).
constexpr size_t kMaxProductions = 20000;
constexpr size_t kMaxBodySymbols = 400000;

}  // namespace

void StepLog::add(std::string title, std::string note, const Grammar& grammar) {
  auto before = rulesByName(last_), after = rulesByName(grammar);
  std::vector<std::string> changed;
  std::set<std::string> named;
  for (const Production& p : grammar.productions) named.insert(grammar.name(p.head));
  for (const Production& p : last_.productions) named.insert(last_.name(p.head));
  // In the order the new grammar writes its rules, then the removed ones.
  for (const Grammar* g : {&grammar, static_cast<const Grammar*>(&last_)})
    for (const Production& p : g->productions) {
      const std::string& name = g->name(p.head);
      if (named.erase(name) && before[name] != after[name]) changed.push_back(name);
    }
  steps_.push_back({std::move(title), std::move(note), grammar, std::move(changed)});
  last_ = grammar;
}

Symbol addFreshNonTerminal(Grammar& grammar, Symbol base) {
  std::optional<std::string> name = freshNonTerminalName(grammar, grammar.name(base));
  if (!name)
    throw TransformRefused(
        "The rewrite needs a new non-terminal, but all 26 upper-case letters are in use. Write the grammar in "
        "the token notation (a first line \"#notation: tokens\"), where new non-terminals are named E', E'', ...");
  return grammar.addSymbol(*name, false);
}

Grammar tidied(Grammar grammar) {
  Symbol start = grammar.start();
  // A non-terminal left without rules derives nothing, and neither does a
  // rule that uses it; dropping those keeps every word and every text
  // readable back (a name without rules would read as a terminal).
  for (bool dropped = true; dropped;) {
    std::vector<bool> hasRules(static_cast<size_t>(grammar.symbolCount()));
    for (const Production& p : grammar.productions) hasRules[static_cast<size_t>(p.head)] = true;
    dropped = std::erase_if(grammar.productions, [&](const Production& p) {
      return std::any_of(p.body.begin(), p.body.end(),
                         [&](Symbol s) { return !grammar.isTerminal(s) && !hasRules[static_cast<size_t>(s)]; });
    }) > 0;
  }
  std::vector<int> headOrder(static_cast<size_t>(grammar.symbolCount()), -1);
  int heads = 0;
  if (start != kNoSymbol) headOrder[static_cast<size_t>(start)] = heads++;  // the start symbol's rules stay first
  for (const Production& p : grammar.productions)
    if (headOrder[static_cast<size_t>(p.head)] < 0) headOrder[static_cast<size_t>(p.head)] = heads++;
  std::stable_sort(grammar.productions.begin(), grammar.productions.end(), [&](const Production& a, const Production& b) {
    return headOrder[static_cast<size_t>(a.head)] < headOrder[static_cast<size_t>(b.head)];
  });
  std::vector<Production> once;
  for (Production& p : grammar.productions)
    if (std::find(once.begin(), once.end(), p) == once.end()) once.push_back(std::move(p));
  // Renumber the symbols that are still used, in their old order.
  std::vector<bool> used(static_cast<size_t>(grammar.symbolCount()));
  for (const Production& p : once) {
    used[static_cast<size_t>(p.head)] = true;
    for (Symbol s : p.body) used[static_cast<size_t>(s)] = true;
  }
  Grammar out;
  out.notation = grammar.notation;
  std::vector<Symbol> renumbered(static_cast<size_t>(grammar.symbolCount()), kNoSymbol);
  for (Symbol s = 0; s < grammar.symbolCount(); ++s)
    if (used[static_cast<size_t>(s)]) renumbered[static_cast<size_t>(s)] = out.addSymbol(grammar.name(s), grammar.isTerminal(s));
  for (Production& p : once) {
    p.head = renumbered[static_cast<size_t>(p.head)];
    for (Symbol& s : p.body) s = renumbered[static_cast<size_t>(s)];
    out.productions.push_back(std::move(p));
  }
  return out;
}

void checkGrowth(const Grammar& grammar) {
  noteWork();
  size_t symbols = 0;
  for (const Production& p : grammar.productions) symbols += p.body.size();
  if (grammar.productions.size() > kMaxProductions || symbols > kMaxBodySymbols)
    throw WorkStopped(WorkStopped::Reason::kLimit,
                      "the rewritten grammar outgrew " + std::to_string(kMaxProductions) + " productions or " +
                          std::to_string(kMaxBodySymbols) + " symbols in its right sides");
}

bool onRightSide(const Grammar& grammar, Symbol symbol) {
  for (const Production& p : grammar.productions)
    if (std::find(p.body.begin(), p.body.end(), symbol) != p.body.end()) return true;
  return false;
}

std::string namesOf(const Grammar& grammar, const std::vector<Symbol>& symbols) {
  std::string text;
  for (size_t k = 0; k < symbols.size(); ++k) {
    if (k > 0) text += k + 1 == symbols.size() ? " and " : ", ";
    text += grammar.name(symbols[k]);
  }
  return text;
}
