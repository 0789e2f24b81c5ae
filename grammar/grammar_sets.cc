#include "grammar/grammar_sets.h"

#include <algorithm>
#include <cstddef>

namespace {

size_t at(Symbol s) { return static_cast<size_t>(s); }

// Sweeps until a sweep sets no new flag; `step` sets flags and says whether it did.
template <typename Step>
void untilStable(Step step) {
  while (step()) {
  }
}

bool allIn(const std::vector<Symbol>& body, const SymbolSet& set) {
  for (Symbol s : body)
    if (!set[at(s)]) return false;
  return true;
}

// Adds `from` into `into`, saying whether anything was new.
bool addAll(SymbolSet& into, const SymbolSet& from) {
  bool added = false;
  for (size_t s = 0; s < from.size(); ++s)
    if (from[s] && !into[s]) into[s] = added = true;
  return added;
}

}  // namespace

// The symbols of `known` and the heads of the productions whose bodies hold
// nothing else, closed: from no symbol the vanishing ones, from the
// terminals the productive ones.
static SymbolSet closedUnderBodies(const Grammar& grammar, SymbolSet known) {
  untilStable([&] {
    bool grew = false;
    for (const Production& p : grammar.productions)
      if (!known[at(p.head)] && allIn(p.body, known)) known[at(p.head)] = grew = true;
    return grew;
  });
  return known;
}

SymbolSet nullableSymbols(const Grammar& grammar) {
  return closedUnderBodies(grammar, SymbolSet(at(grammar.symbolCount())));
}

SymbolSet productiveSymbols(const Grammar& grammar) {
  SymbolSet terminals(at(grammar.symbolCount()));
  for (Symbol s = 0; s < grammar.symbolCount(); ++s) terminals[at(s)] = grammar.isTerminal(s);
  return closedUnderBodies(grammar, std::move(terminals));
}

SymbolSet reachableSymbols(const Grammar& grammar) {
  SymbolSet reached(at(grammar.symbolCount()));
  if (grammar.start() == kNoSymbol) return reached;
  std::vector<Symbol> pending{grammar.start()};
  reached[at(grammar.start())] = true;
  while (!pending.empty()) {
    Symbol head = pending.back();
    pending.pop_back();
    for (const Production& p : grammar.productions)
      if (p.head == head)
        for (Symbol s : p.body)
          if (!reached[at(s)]) {
            reached[at(s)] = true;
            pending.push_back(s);
          }
  }
  return reached;
}

PredictionSets predictionSets(const Grammar& grammar) {
  size_t n = at(grammar.symbolCount());
  PredictionSets sets{std::vector<SymbolSet>(n, SymbolSet(n)), std::vector<SymbolSet>(n, SymbolSet(n)),
                      std::vector<bool>(n), nullableSymbols(grammar)};
  for (Symbol s = 0; s < grammar.symbolCount(); ++s)
    if (grammar.isTerminal(s)) sets.first[at(s)][at(s)] = true;
  untilStable([&] {
    bool grew = false;
    for (const Production& p : grammar.productions)
      for (Symbol s : p.body) {
        grew = addAll(sets.first[at(p.head)], sets.first[at(s)]) || grew;
        if (!sets.nullable[at(s)]) break;
      }
    return grew;
  });
  if (grammar.start() != kNoSymbol) sets.followsEnd[at(grammar.start())] = true;
  untilStable([&] {
    bool grew = false;
    for (const Production& p : grammar.productions) {
      // Walking the body from its end, `rest` holds First of what follows
      // the symbol and `restVanishes` whether that can be empty.
      SymbolSet rest(n);
      bool restVanishes = true;
      for (size_t k = p.body.size(); k-- > 0;) {
        Symbol s = p.body[k];
        if (!grammar.isTerminal(s)) {
          grew = addAll(sets.follow[at(s)], rest) || grew;
          if (restVanishes) {
            grew = addAll(sets.follow[at(s)], sets.follow[at(p.head)]) || grew;
            if (sets.followsEnd[at(p.head)] && !sets.followsEnd[at(s)]) sets.followsEnd[at(s)] = grew = true;
          }
        }
        if (!sets.nullable[at(s)]) {
          rest = sets.first[at(s)];
          restVanishes = false;
        } else {
          addAll(rest, sets.first[at(s)]);
        }
      }
    }
    return grew;
  });
  return sets;
}

int bodyHeight(const std::vector<int>& heights, const Symbols& body) {
  int height = 1;
  for (Symbol s : body) {
    if (heights[at(s)] == kNoDerivation) return kNoDerivation;
    height = std::max(height, heights[at(s)] + 1);
  }
  return height;
}

// Heights only fall, each to the least a body gives it, so the sweeps stop
// at the lowest trees.
std::vector<int> derivationHeights(const Grammar& grammar) {
  std::vector<int> heights(at(grammar.symbolCount()), kNoDerivation);
  for (Symbol s = 0; s < grammar.symbolCount(); ++s)
    if (grammar.isTerminal(s)) heights[at(s)] = 0;
  untilStable([&] {
    bool fell = false;
    for (const Production& p : grammar.productions)
      if (int height = bodyHeight(heights, p.body); height < heights[at(p.head)]) {
        heights[at(p.head)] = height;
        fell = true;
      }
    return fell;
  });
  return heights;
}

bool vanishes(const PredictionSets& sets, const Symbols& symbols) { return allIn(symbols, sets.nullable); }

SymbolSet firstOfString(const PredictionSets& sets, const Symbols& symbols) {
  SymbolSet first(sets.nullable.size());
  for (Symbol s : symbols) {
    addAll(first, sets.first[at(s)]);
    if (!sets.nullable[at(s)]) break;
  }
  return first;
}

Symbols inWritingOrder(const Grammar& grammar, const SymbolSet& set, bool withEnd) {
  Symbols out;
  for (Symbol s = 0; s < static_cast<Symbol>(set.size()); ++s)
    if (set[at(s)]) out.push_back(s);
  if (withEnd) out.push_back(grammar.endMarker());
  std::stable_sort(out.begin(), out.end(), [&](Symbol a, Symbol b) { return grammar.rank(a) < grammar.rank(b); });
  return out;
}

std::vector<LL1Conflict> ll1Conflicts(const Grammar& grammar) {
  PredictionSets sets = predictionSets(grammar);
  size_t n = at(grammar.symbolCount());
  // The terminals (and the end of input, at index n) each production is predicted on.
  std::vector<std::vector<bool>> predicted;
  for (const Production& p : grammar.productions) {
    std::vector<bool> on(n + 1);
    bool vanishes = true;
    for (Symbol s : p.body) {
      for (size_t t = 0; t < n; ++t) on[t] = on[t] || sets.first[at(s)][t];
      if (!sets.nullable[at(s)]) {
        vanishes = false;
        break;
      }
    }
    if (vanishes) {
      for (size_t t = 0; t < n; ++t) on[t] = on[t] || sets.follow[at(p.head)][t];
      on[n] = sets.followsEnd[at(p.head)];
    }
    predicted.push_back(std::move(on));
  }
  std::vector<LL1Conflict> conflicts;
  for (size_t p = 0; p < grammar.productions.size(); ++p)
    for (size_t q = p + 1; q < grammar.productions.size(); ++q) {
      if (grammar.productions[p].head != grammar.productions[q].head) continue;
      for (size_t t = 0; t <= n; ++t)
        if (predicted[p][t] && predicted[q][t])
          conflicts.push_back({grammar.productions[p].head, t == n ? kNoSymbol : static_cast<Symbol>(t),
                               static_cast<int>(p), static_cast<int>(q)});
    }
  return conflicts;
}
