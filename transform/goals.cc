#include "transform/goals.h"

#include "grammar/grammar_sets.h"
#include "grammar/grammar_text.h"

namespace {

using Relation = std::vector<std::vector<bool>>;

// Whether the relation, closed transitively, relates some symbol to itself.
// Grammars to rewrite are small, so the cubic closure is no burden.
bool hasCycle(Relation edges) {
  size_t n = edges.size();
  for (size_t k = 0; k < n; ++k)
    for (size_t i = 0; i < n; ++i)
      if (edges[i][k])
        for (size_t j = 0; j < n; ++j)
          if (edges[k][j]) edges[i][j] = true;
  for (size_t a = 0; a < n; ++a)
    if (edges[a][a]) return true;
  return false;
}

Relation emptyRelation(const Grammar& grammar) {
  size_t n = static_cast<size_t>(grammar.symbolCount());
  return Relation(n, std::vector<bool>(n));
}

bool startStandsAlone(const Grammar& grammar) {
  for (const Production& p : grammar.productions)
    for (Symbol s : p.body)
      if (s == grammar.start()) return false;
  return true;
}

}  // namespace

bool hasLeftRecursion(const Grammar& grammar) {
  SymbolSet nullable = nullableSymbols(grammar);
  Relation begins = emptyRelation(grammar);
  for (const Production& p : grammar.productions)
    for (Symbol s : p.body) {
      begins[static_cast<size_t>(p.head)][static_cast<size_t>(s)] = true;
      if (!nullable[static_cast<size_t>(s)]) break;
    }
  return hasCycle(std::move(begins));
}

bool hasUnitCycle(const Grammar& grammar) {
  Relation unit = emptyRelation(grammar);
  for (const Production& p : grammar.productions)
    if (p.body.size() == 1 && !grammar.isTerminal(p.body[0]))
      unit[static_cast<size_t>(p.head)][static_cast<size_t>(p.body[0])] = true;
  return hasCycle(std::move(unit));
}

bool hasEmptyRule(const Grammar& grammar) {
  bool alone = startStandsAlone(grammar);
  for (const Production& p : grammar.productions)
    if (p.body.empty() && (p.head != grammar.start() || !alone)) return true;
  return false;
}

bool hasUnitRule(const Grammar& grammar) {
  for (const Production& p : grammar.productions)
    if (p.body.size() == 1 && !grammar.isTerminal(p.body[0])) return true;
  return false;
}

bool hasUselessSymbols(const Grammar& grammar) {
  SymbolSet productive = productiveSymbols(grammar), reachable = reachableSymbols(grammar);
  for (const Production& p : grammar.productions) {
    if (!reachable[static_cast<size_t>(p.head)]) return true;
    for (Symbol s : p.body)
      if (!productive[static_cast<size_t>(s)]) return true;
    if (!productive[static_cast<size_t>(p.head)]) return true;
  }
  return false;
}

bool hasSharedStart(const Grammar& grammar) {
  const auto& ps = grammar.productions;
  for (size_t i = 0; i < ps.size(); ++i)
    for (size_t j = i + 1; j < ps.size(); ++j)
      if (ps[i].head == ps[j].head && !ps[i].body.empty() && !ps[j].body.empty() && ps[i].body[0] == ps[j].body[0])
        return true;
  return false;
}

std::string chomskyViolation(const Grammar& grammar) {
  bool alone = startStandsAlone(grammar);
  for (const Production& p : grammar.productions) {
    bool pair = p.body.size() == 2 && !grammar.isTerminal(p.body[0]) && !grammar.isTerminal(p.body[1]);
    bool terminal = p.body.size() == 1 && grammar.isTerminal(p.body[0]);
    bool startEmpty = p.body.empty() && p.head == grammar.start() && alone;
    if (!pair && !terminal && !startEmpty) return grammar.name(p.head) + "->" + writtenBody(grammar, p.body);
  }
  return {};
}
