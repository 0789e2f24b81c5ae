// What makes a grammar readable or hard: the non-terminals that can vanish,
// that no derivation from the start reaches, that derive no word, that are
// left-recursive (A =>+ A...) or cyclic (A =>+ A).  The generator keeps a
// grammar only when these are as asked, and the ambiguity search needs the
// cycles.  The first three are grammar_sets' fixed points on the typed
// grammar; the cycles are searched here, on the edges those sets give.
// Names are one character each, as the classic notation writes them.
#pragma once

#include <string>
#include <vector>

#include "grammar/parsing.h"

// One alternative: its head and its body, the empty body for "e".
struct CharProduction {
  char head;
  std::string body;
};

// The productions of the model's typed grammar in their numbering.
std::vector<CharProduction> productionList(const Parsing& grammar);

struct GrammarTraits {
  std::string nonTerminals;  // the heads, in rule order
  std::string nullable;      // each trait: the non-terminals having it, in rule order
  std::string unreachable;   // from the head of the first rule
  std::string unproductive;
  std::string leftRecursive;  // A =>+ A alpha
  std::string cyclic;         // A =>+ A

  static bool holds(const std::string& trait, char x) { return trait.find(x) != std::string::npos; }
};

GrammarTraits traitsOf(const Parsing& grammar);
