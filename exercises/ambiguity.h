// Whether a grammar is ambiguous, shown by a word with two different parse
// trees.  Ambiguity cannot be decided in general, so the search is bounded:
// it lists words of the language, shortest first, and counts the parse
// trees of each.
//
// The count for one word is the CYK idea over spans (i, j) with every
// production, not only binary ones: spans are taken by increasing length,
// and within a span the counts of all non-terminals are raised in rounds
// from the counts of the round before, capped at 2 ("two or more").  A
// round-k count is then the number of trees of the span whose chains inside
// the span itself (through productions whose other symbols vanish) are at
// most k deep, so the rounds end even for cyclic grammars (A =>+ A), where
// a word has infinitely many trees.  The round in which a count first
// reached 1 and 2 is kept, and two different trees are read back by
// descending through strictly earlier rounds or shorter spans.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "grammar/parsing.h"
#include "trees/tree.h"

struct AmbiguityWitness {
  std::string word;
  Tree trees[2];  // different parse trees of the word from the start symbol
};

struct AmbiguityBounds {
  int longestWord = 8;      // words of the language up to this length
  int wordsPerLength = 64;  // listed per non-terminal and length
  long wordsCounted = 600;  // words whose trees are counted, in all
  long work = 4'000'000;    // steps of listing words
};

// The parse trees of the word from the head of the first rule: 0, 1, or 2
// for two or more.
int countParseTrees(const Parsing& grammar, std::string_view word);

// The shortest word within the bounds that has two trees, with two of them.
std::optional<AmbiguityWitness> findAmbiguity(const Parsing& grammar, const AmbiguityBounds& bounds = {});

// A witness the program can stand behind: both trees are derivations of
// the grammar from its start symbol with the word as frontier, and differ.
bool verifyWitness(const Parsing& grammar, const AmbiguityWitness& witness);
