// The grammar in bison's input format, for timing bison on the same grammar.
#pragma once

#include <string>

#include "grammar/parsing.h"

// Non-terminal X becomes the symbol nt_X, a terminal c the literal 'c';
// production 0's head is the start symbol.
std::string bisonGrammar(const Parsing& model);
