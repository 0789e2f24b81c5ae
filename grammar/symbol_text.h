// How symbols are written, for either notation: the one place that knows
// the classic texts run characters together and write the empty string as
// "e", while the token notation separates names by single blanks and writes
// it as "ε".  Every writer of typed results names symbols through these.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "grammar/grammar.h"

// A symbol's name; "$" for the end marker, the empty string's mark for kEmpty.
std::string_view symbolName(const Grammar& grammar, Symbol s);
std::string symbolText(const Grammar& grammar, Symbol s);
// Symbols one after another (a set, a stack, the rest of a word); nothing for none.
std::string symbolsText(const Grammar& grammar, std::span<const Symbol> symbols);
// A body: as symbolsText, but the empty body is the empty string's mark.
std::string bodyText(const Grammar& grammar, std::span<const Symbol> body);
// "X->abc" in the classic notation, "E -> E + T" in the token notation,
// where a terminal that would not read back as itself is quoted.
std::string productionText(const Grammar& grammar, int production);
// The same for a production that need not be one of the grammar's (a node of a tree).
std::string productionText(const Grammar& grammar, const Production& production);
// What separates the symbols of a string: nothing, or a blank.
inline const char* symbolSeparator(const Grammar& grammar) { return grammar.notation == Notation::kTokens ? " " : ""; }
