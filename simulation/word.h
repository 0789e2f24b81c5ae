// A word to parse, read into the symbols of a grammar: one character a
// symbol in the classic notation, tokens between blanks in the token
// notation.  A token the grammar has no terminal for stays in the word as
// kNoSymbol, so that the parse stops with an error where it stands; "$" is
// the end marker wherever it is written, and one more ends the word.
#pragma once

#include <string>
#include <vector>

#include "grammar/grammar.h"

struct Word {
  Symbols symbols;             // the tokens' symbols, then the end marker
  std::string joined;          // the tokens as the traces write them
  std::vector<size_t> starts;  // where token i begins in `joined`; one more for the end
  const char* separator = "";
  int length() const { return static_cast<int>(symbols.size()) - 1; }
};

Word readWord(const Grammar& grammar, const std::string& text);

// The input trace rows show: the word and the end marker.  The row of a
// step at token `position` shows the suffix from inputOffset on, which
// shares the whole text's buffer, so a long trace does not cost the square
// of the word.
std::string wholeInput(const Word& word);
int inputOffset(const Word& word, int position);
