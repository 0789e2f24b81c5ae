#include "exercises/grammar_traits.h"

#include "grammar/grammar_sets.h"

namespace {

size_t at(Symbol s) { return static_cast<size_t>(s); }

// The names of the non-terminals whose flag is set, in rule order.
std::string withFlag(const Grammar& grammar, const std::vector<bool>& flags) {
  std::string out;
  for (Symbol x : grammar.nonTerminals())
    if (flags[at(x)]) out += grammar.name(x);
  return out;
}

// Per non-terminal, the non-terminals an edge leads to.
using Graph = std::vector<Symbols>;

// Whether x reaches itself through one edge or more.
bool onCycle(const Graph& graph, Symbol x) {
  std::vector<bool> seen(graph.size());
  Symbols pending = graph[at(x)];
  while (!pending.empty()) {
    Symbol y = pending.back();
    pending.pop_back();
    if (y == x) return true;
    if (seen[at(y)]) continue;
    seen[at(y)] = true;
    pending.insert(pending.end(), graph[at(y)].begin(), graph[at(y)].end());
  }
  return false;
}

}  // namespace

std::vector<CharProduction> productionList(const Parsing& grammar) {
  const Grammar& typed = grammar.typed;
  std::vector<CharProduction> list;
  for (const Production& p : typed.productions) {
    CharProduction production{typed.name(p.head)[0], {}};
    for (Symbol s : p.body) production.body += typed.name(s);
    list.push_back(std::move(production));
  }
  return list;
}

GrammarTraits traitsOf(const Parsing& model) {
  const Grammar& grammar = model.typed;
  GrammarTraits traits;
  for (Symbol x : grammar.nonTerminals()) traits.nonTerminals += grammar.name(x);
  SymbolSet nullable = nullableSymbols(grammar);
  SymbolSet productive = productiveSymbols(grammar);
  SymbolSet reachable = reachableSymbols(grammar);

  // A -> B when B can stand first in a body of A (all before it vanish);
  // A => B when all around B vanish.
  Graph leftmost(at(grammar.symbolCount())), sole(at(grammar.symbolCount()));
  for (const Production& p : grammar.productions) {
    for (size_t i = 0; i < p.body.size(); ++i) {
      Symbol c = p.body[i];
      if (grammar.isTerminal(c)) break;
      leftmost[at(p.head)].push_back(c);
      bool restVanishes = true;
      for (size_t j = i + 1; j < p.body.size(); ++j) restVanishes = restVanishes && nullable[at(p.body[j])];
      if (restVanishes) sole[at(p.head)].push_back(c);
      if (!nullable[at(c)]) break;
    }
  }

  std::vector<bool> unreachable(nullable.size()), unproductive(nullable.size()), leftRecursive(nullable.size()),
      cyclic(nullable.size());
  for (Symbol x : grammar.nonTerminals()) {
    unreachable[at(x)] = !reachable[at(x)];
    unproductive[at(x)] = !productive[at(x)];
    leftRecursive[at(x)] = onCycle(leftmost, x);
    cyclic[at(x)] = onCycle(sole, x);
  }
  traits.nullable = withFlag(grammar, nullable);
  traits.unreachable = withFlag(grammar, unreachable);
  traits.unproductive = withFlag(grammar, unproductive);
  traits.leftRecursive = withFlag(grammar, leftRecursive);
  traits.cyclic = withFlag(grammar, cyclic);
  return traits;
}
