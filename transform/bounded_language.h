// The words of a grammar up to a length, for checking that a rewrite kept
// the language: two grammars that derive the same words up to length n may
// still differ beyond, but a rewrite that loses or adds a word almost always
// shows it among the short ones.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "grammar/grammar.h"

// A word as the names of its terminals.
using Word = std::vector<std::string>;

// "\"a a b\"" (the names between blanks, quoted), or "the empty word".
std::string wordText(const Word& word);

struct BoundedLanguage {
  std::set<Word> words;
  int length = 0;  // every word up to this length is in `words`; -1 for none
};

// Every word of at most `maxLength` terminals the grammar derives from its
// start symbol.  When some symbol (or part of a right side) has more than
// `maxWords` words of a length, the words stop short of that length: a
// language such as the digit strings has a million words of six digits,
// too many to compare while a student waits.
BoundedLanguage boundedLanguage(const Grammar& grammar, int maxLength, size_t maxWords = 5000);

struct LanguageDifference {
  Word word;
  bool inFirst;  // derived by the first grammar and not by the second, or the other way
};
// The shortest word (then the least in order) of at most `maxLength` that
// one grammar derives and the other does not, or nothing when they agree.
// When a language outgrew the bound, the lengths both hold whole are
// compared, and `decided` is false; `comparedLength` is the length compared.
std::optional<LanguageDifference> languageDifference(const Grammar& first, const Grammar& second, int maxLength,
                                                     bool* decided = nullptr, int* comparedLength = nullptr);
