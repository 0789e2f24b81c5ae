// The sets a grammar's analyses start from, on the typed grammar: which
// non-terminals vanish, derive a word, or are reached from the start
// symbol, and the First and Follow sets of the LL(1) predictions.  Each is
// a least fixed point, computed by sweeping the productions until nothing
// changes; a sweep is linear, and each adds at least one fact or stops.
#pragma once

#include <vector>

#include "grammar/grammar.h"

// A set of symbols as one flag a symbol number.
using SymbolSet = std::vector<bool>;

// The non-terminals that derive the empty string.
SymbolSet nullableSymbols(const Grammar& grammar);
// The symbols that derive a word of terminals (every terminal does).
SymbolSet productiveSymbols(const Grammar& grammar);
// The symbols met in some sentential form derived from the start symbol.
SymbolSet reachableSymbols(const Grammar& grammar);

struct PredictionSets {
  std::vector<SymbolSet> first;   // by symbol: the terminals a derivation of it can begin with
  std::vector<SymbolSet> follow;  // by non-terminal: the terminals that can come after it
  std::vector<bool> followsEnd;   // by non-terminal: whether the end of input can come after it
  SymbolSet nullable;
};
PredictionSets predictionSets(const Grammar& grammar);

// One LL(1) conflict: two productions of one head predicted on one
// terminal (kNoSymbol for the end of input).
struct LL1Conflict {
  Symbol head;
  Symbol terminal;
  int production1, production2;
};
std::vector<LL1Conflict> ll1Conflicts(const Grammar& grammar);
