// Grading First and Follow sets written as the listing writes them, one
// line per non-terminal: "First(S): ab" (also "FIRST(S) = {a, b}", with ε
// for e).  Lines of the other set are passed over, so one file may hold
// both; a line that reads as neither is marked wrong.
#pragma once

#include <string>
#include <string_view>

#include "exercises/grading.h"
#include "grammar/parsing.h"

enum class SetKind { kFirst, kFollow };

// "First" or "Follow".
const char* setName(SetKind kind);

Grading gradeSets(const Parsing& grammar, SetKind kind, std::string_view answer);

// The answer with one element put right: a missing symbol added to its
// set's line (a line made for it when there is none), a wrong one taken
// out, the set of a non-terminal the grammar does not have emptied.  Other
// lines stay as they are.
std::string revealSetElement(const Parsing& grammar, std::string_view answer, SetKind kind,
                             const MarkedElement& element);
