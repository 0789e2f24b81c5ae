// Seeded random grammars for the differential checks: small alphabets, so
// that states share cores, lookaheads collide and conflicts are common.
#pragma once

#include <string>

// The editor text (lines ended by LF) of grammar `seed`, and a short word
// over its terminals.  2 to 5 non-terminals, each with 1 to 3 alternatives
// of 1 to 3 symbols, some empty; `larger` ones have 2 to 8 non-terminals
// with 1 to 4 alternatives of 1 to 4 symbols.  Most grammars start with a
// line I->A that only starts the grammar; some start with a rule of their
// own, and in some the start symbol stands in right sides too.
std::string randomGrammar(unsigned seed, std::string& word, bool larger = false);
