// The classic test grammars name symbols by character: the symbol of a
// character ('$' the end marker, 'e' the empty string unless the grammar
// has a symbol e) and the symbols of a string of them, for the tests.
#pragma once

#include <string_view>

#include "automata/automaton.h"
#include "grammar/grammar.h"

inline Symbol classicSymbolOf(const Grammar& grammar, char c) {
  if (c == 'e' && grammar.symbolNamed("e") == kNoSymbol) return kEmpty;
  return classicSymbol(grammar, c);
}

inline Symbols classicSymbolsOf(const Grammar& grammar, std::string_view text) {
  Symbols out;
  if (text == "e") return out;
  for (char c : text) out.push_back(classicSymbolOf(grammar, c));
  return out;
}
