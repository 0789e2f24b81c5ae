// The text of a typed grammar in its own notation, as the editor and every
// command read it back: classic rule lines "X->ab|e", or the token notation
// under its directive line, "E -> E + T | T", with terminals quoted where
// they would not read back as themselves.
#pragma once

#include <string>

#include "grammar/grammar.h"

// Whether every symbol of the grammar can be written in the classic notation:
// non-terminals 'A' to 'Z', terminals one character other than those, '|',
// 'e' and '$'.
bool fitsClassicNotation(const Grammar& grammar);
// One line a non-terminal, in the order their first productions come,
// each ending with a line feed.
// A classic grammar must fit its notation.
std::string grammarText(const Grammar& grammar);
// The rule of one head with all its alternatives, "E->E+T|T" or "E -> E + T | T".
std::string ruleText(const Grammar& grammar, Symbol head);
// One production, "E->E+T" or "E -> E + T" ("X->e", "X -> ε" when empty).
std::string writtenProduction(const Grammar& grammar, int production);
// The symbols of a body as the notation writes them ("e" or "ε" when empty).
std::string writtenBody(const Grammar& grammar, const std::vector<Symbol>& body);
