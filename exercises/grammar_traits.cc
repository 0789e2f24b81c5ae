#include "exercises/grammar_traits.h"

#include <array>

namespace {

using Flags = std::array<bool, 256>;

bool isNonTerminal(char c) { return c >= 'A' && c <= 'Z'; }
std::size_t at(char c) { return static_cast<unsigned char>(c); }

// The non-terminals of `order` whose flag is set.
std::string withFlag(const std::string& order, const Flags& flags) {
  std::string out;
  for (char x : order)
    if (flags[at(x)]) out += x;
  return out;
}

// Grows `flags` until no production adds a head: a head gets the flag when
// every symbol of some body passes `passes`.
template <class Passes>
void fixedPoint(const std::vector<CharProduction>& productions, Flags& flags, Passes passes) {
  for (bool changed = true; changed;) {
    changed = false;
    for (const CharProduction& p : productions) {
      if (flags[at(p.head)]) continue;
      bool all = true;
      for (char c : p.body) all = all && passes(c);
      if (all) flags[at(p.head)] = changed = true;
    }
  }
}

// Per non-terminal, the non-terminals an edge leads to; `edges` lists them.
using Graph = std::array<std::string, 256>;

// Whether x reaches itself through one edge or more.
bool onCycle(const Graph& graph, char x) {
  Flags seen{};
  std::string pending = graph[at(x)];
  while (!pending.empty()) {
    char y = pending.back();
    pending.pop_back();
    if (y == x) return true;
    if (seen[at(y)]) continue;
    seen[at(y)] = true;
    pending += graph[at(y)];
  }
  return false;
}

}  // namespace

std::vector<CharProduction> productionList(const Parsing& grammar) {
  std::vector<CharProduction> list;
  for (const HString& text : grammar.productions) {
    std::string body(text.view().substr(3));
    list.push_back({text[0], body == "e" ? std::string() : body});
  }
  return list;
}

GrammarTraits traitsOf(const Parsing& grammar) {
  std::vector<CharProduction> productions = productionList(grammar);
  GrammarTraits traits;
  for (const HString& rule : grammar.rules) traits.nonTerminals += rule[0];

  Flags nullable{}, productive{}, reachable{};
  fixedPoint(productions, nullable, [&](char c) { return isNonTerminal(c) && nullable[at(c)]; });
  fixedPoint(productions, productive, [&](char c) { return !isNonTerminal(c) || productive[at(c)]; });
  if (!traits.nonTerminals.empty()) reachable[at(traits.nonTerminals[0])] = true;
  for (bool changed = true; changed;) {
    changed = false;
    for (const CharProduction& p : productions)
      if (reachable[at(p.head)])
        for (char c : p.body)
          if (isNonTerminal(c) && !reachable[at(c)]) reachable[at(c)] = changed = true;
  }

  // A -> B when B can stand first in a body of A (all before it vanish);
  // A => B when all around B vanish.
  Graph leftmost, sole;
  for (const CharProduction& p : productions) {
    for (std::size_t i = 0; i < p.body.size(); ++i) {
      char c = p.body[i];
      if (!isNonTerminal(c)) break;
      leftmost[at(p.head)] += c;
      bool restVanishes = true;
      for (std::size_t j = i + 1; j < p.body.size(); ++j)
        restVanishes = restVanishes && isNonTerminal(p.body[j]) && nullable[at(p.body[j])];
      if (restVanishes) sole[at(p.head)] += c;
      if (!nullable[at(c)]) break;
    }
  }

  Flags unreachable{}, unproductive{}, leftRecursive{}, cyclic{};
  for (char x : traits.nonTerminals) {
    unreachable[at(x)] = !reachable[at(x)];
    unproductive[at(x)] = !productive[at(x)];
    leftRecursive[at(x)] = onCycle(leftmost, x);
    cyclic[at(x)] = onCycle(sole, x);
  }
  traits.nullable = withFlag(traits.nonTerminals, nullable);
  traits.unreachable = withFlag(traits.nonTerminals, unreachable);
  traits.unproductive = withFlag(traits.nonTerminals, unproductive);
  traits.leftRecursive = withFlag(traits.nonTerminals, leftRecursive);
  traits.cyclic = withFlag(traits.nonTerminals, cyclic);
  return traits;
}
