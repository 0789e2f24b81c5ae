// A word of a grammar's language for an exercise to parse: leftmost
// derivations with choices drawn at random, each cut short by the
// shortest way out once a budget of free choices is spent, so that every
// derivation ends; of several, the one nearest the wanted length.
#pragma once

#include <optional>
#include <string>

#include "exercises/random.h"
#include "grammar/parsing.h"

// None when the start symbol derives no word.  The word is checked to have
// a parse tree before it is returned.
std::optional<std::string> sampleWord(const Parsing& grammar, SeededRandom& random, int wantedLength = 6);
