// Reading the token notation, the way textbooks write grammars:
//
//   #notation: tokens
//   E  -> E + T | T
//   T  -> T * F
//       | F
//   F  -> ( E ) | id
//
// A rule is a head, "->" and alternatives separated by '|'; a line that
// begins with '|' continues the rule above.  Symbols are separated by white
// space.  A name is letters, digits, '_' and '\''; a run of punctuation is
// one symbol too ("==", "+"), and a quoted string ('|', "->") is a terminal
// whatever it holds.  The non-terminals are the names that head a rule, every
// other symbol is a terminal; "ε" or an alternative with nothing in it is the
// empty string, and '$' is kept for the end of input.  Lines that begin with
// '#' are directives or comments.  Rules of one head are merged into its
// first, as in the classic notation.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "grammar/grammar.h"

// The first line of a text in the token notation (after any "#word:" line).
inline constexpr std::string_view kTokenNotationLine = "#notation: tokens";

// Whether the text's first line that is not a word line declares the token notation.
bool declaresTokenNotation(std::string_view text);

struct TokenReadingError {
  int line;  // 1-based, as the editor counts
  std::string message;
};

struct TokenReading {
  Grammar grammar;  // meaningful only when there are no errors
  std::vector<TokenReadingError> errors;
  bool isSound() const { return errors.empty(); }
};

// Reads a text in the token notation, the directive line included or not.
TokenReading readTokenGrammar(std::string_view text);
