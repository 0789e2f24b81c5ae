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

struct BoundedLanguage {
  std::set<Word> words;
  bool complete = true;  // false when the count passed the bound and the search stopped
};

// Every word of at most `maxLength` terminals the grammar derives from its
// start symbol, stopping when some symbol has more than `maxWords` words.
BoundedLanguage boundedLanguage(const Grammar& grammar, int maxLength, size_t maxWords = 100000);

struct LanguageDifference {
  Word word;
  bool inFirst;  // derived by the first grammar and not by the second, or the other way
};
// The shortest word (then the least in order) of at most `maxLength` that
// one grammar derives and the other does not; nothing when they agree or
// when either language outgrew the bound (the comparison is then undecided).
std::optional<LanguageDifference> languageDifference(const Grammar& first, const Grammar& second, int maxLength,
                                                     bool* decided = nullptr);
