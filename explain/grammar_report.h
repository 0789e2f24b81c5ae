// What a student gets wrong most about a grammar, found before any table is
// built: the non-terminals that vanish, left recursion (direct, indirect
// or hidden behind symbols that vanish, with its cycle), non-terminals the
// start symbol never reaches or that derive no word, whether the first rule
// augments the grammar as the LR commands expect, what in a word no parser
// can read; and then the classes of the grammar in one line.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "explain/counterexample.h"
#include "writers/format.h"

class Parsing;

// Symbols are named as the grammar's notation writes them.
struct LeftRecursion {
  std::vector<std::string> cycle;       // the non-terminals in order, one for direct recursion
  std::vector<std::string> derivation;  // from the first back to a form that begins with it
  std::string kind;                     // "direct", "indirect" or "hidden"
};

struct GrammarReport {
  std::vector<std::string> nullable;       // non-terminals in rule order
  std::vector<LeftRecursion> leftRecursion;
  std::vector<std::string> unreachable;    // from the start symbol
  std::vector<std::string> nonProductive;  // derive no word
  std::vector<std::string> emptyFirst;     // non-productive ones whose First set is empty
  bool augments = false;      // the first rule is X->Y and X stands on no right side
  std::string startNote;      // what the first rule means for the LR commands
  std::vector<std::string> wordHints;
  struct TableClass {
    TableKind kind;
    int conflicts;
  };
  std::vector<TableClass> classes;
  // A first rule that does not augment makes the LR tables parse less than
  // the grammar: the classes of the grammar with a first rule added that does.
  struct Augmented {
    std::string rule;  // "I->S"
    std::vector<TableClass> classes;
  };
  std::optional<Augmented> augmented;
  // Alternatives written twice ("A->b"), each once: two productions derive the same.
  std::vector<std::string> repeated;
  // A repeated alternative or a unifying counterexample of any table proves
  // the grammar ambiguous; an LR(1) table without conflicts, of the grammar
  // or of it augmented, proves it unambiguous.
  std::optional<bool> ambiguous;
  std::string emptyMark;  // how the notation writes the empty form in a derivation
};

// The report of a sound grammar; `word` may be empty.  The counterexample
// search for the classes line keeps to `bounds` (none when bounds.search is false).
GrammarReport grammarReport(const Parsing& grammar, const std::string& word, const SearchBounds& bounds);

// What the first rule means for the LR commands: empty when it starts the
// grammar as they expect, else a hint that names the accepting production
// and the rule to add.
std::string startHint(const Parsing& grammar);
// What no parser can read in the word: blanks, '$', the empty string's mark, symbols no rule uses.
std::vector<std::string> wordHints(const Parsing& grammar, const std::string& word);

// "LL(1) yes, SLR(1) no (1 conflict), ...; ambiguous (...)".
std::string classesLine(const GrammarReport& report);
Lines reportLines(const GrammarReport& report);
std::string reportJson(const GrammarReport& report);
