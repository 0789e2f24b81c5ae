// The sets a grammar's analyses start from, on the typed grammar: which
// non-terminals vanish, derive a word, or are reached from the start
// symbol, and the First and Follow sets of the LL(1) predictions.  Each is
// a least fixed point, computed by sweeping the productions until nothing
// changes; a sweep is linear, and each adds at least one fact or stops.
#pragma once

#include <climits>
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

// By symbol, the height of the lowest tree that derives a word from it: 0
// for a terminal, 1 for a non-terminal with a body of terminals alone, and
// kNoDerivation for a non-terminal that derives no word.
inline constexpr int kNoDerivation = INT_MAX;
std::vector<int> derivationHeights(const Grammar& grammar);
// The height a body gives its head: one above its highest symbol.
int bodyHeight(const std::vector<int>& heights, const Symbols& body);

// Whether every symbol of the string vanishes (the empty string does).
bool vanishes(const PredictionSets& sets, const Symbols& symbols);
// First of a string of symbols, without the empty string: the terminals a
// derivation of it can begin with.
SymbolSet firstOfString(const PredictionSets& sets, const Symbols& symbols);
// The terminals of a set in the order the notation writes them
// (Grammar::rank), the end marker among them when `withEnd`.
Symbols inWritingOrder(const Grammar& grammar, const SymbolSet& set, bool withEnd = false);

// One LL(1) conflict: two productions of one head predicted on one
// terminal (kNoSymbol for the end of input).
struct LL1Conflict {
  Symbol head;
  Symbol terminal;
  int production1, production2;
};
std::vector<LL1Conflict> ll1Conflicts(const Grammar& grammar);
