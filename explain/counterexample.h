// Counterexamples for the conflicts of a table, searched within bounds and
// checked before they are shown.
//
// A unifying counterexample is one sentential form with two derivation
// trees (unifying_search.h); it proves the grammar ambiguous, and it
// explains a conflict when the table's parser, following the two trees in
// a full derivation, first moves differently at that conflict's cell.  A
// non-unifying one is a prefix that the parser reads into the conflict's
// state (or, for LL(1), into the conflict's row) with the conflict symbol
// next, and for each entry of the cell a derivation that needs that entry
// there (item_paths.h).  Whatever is returned has passed the checks of
// verify.h; what fails them is dropped and the note says that none was found.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "explain/table_view.h"
#include "trees/tree.h"

struct SearchBounds {
  double secondsPerConflict = 2;
  double secondsPerTable = 10;
  long stepsPerConflict = 100'000;  // the same outcome on every machine
  bool search = true;               // false: explanations without counterexamples
  // Skip the search for a unifying counterexample when the LR(1) table,
  // having no conflict, proves the grammar unambiguous (the fuzzer turns it
  // off, to check the search itself).
  bool trustLR1 = true;
};

struct Counterexample {
  enum class Kind { kNone, kUnifying, kNonUnifying };
  Kind kind = Kind::kNone;
  // Unifying: the two trees, same root, same frontier; `word` is a word of
  // the language in which the parser meets the conflict, made by putting
  // the trees into a derivation from the root and every leaf into a word.
  Tree trees[2];
  std::string actions[2];  // the entry of the cell each tree takes there: "s4", "r2", or a production
  Symbols word;
  Tree derivations[2];  // each tree in its derivation of `word` from the root
  // Non-unifying: what the parser reads before the conflict symbol (LR: a
  // viable prefix; LL(1): a word), and per entry a derivation that needs it.
  struct Example {
    std::string action;       // the entry, as in the conflict's entries
    Symbols prefix;           // the prefix this derivation reads (the common one unless the note says otherwise)
    Tree tree;                // from the root of the table's derivations
    bool symbolNext = false;  // the conflict symbol follows the prefix in the tree
  };
  Symbols prefix;
  std::vector<Example> examples;
  // How the search ended, in one sentence; empty when there is nothing to say.
  std::string note;
};

// The searches of one table share its time bound and what they found.
class CounterexampleFinder {
 public:
  CounterexampleFinder(TableSet& tables, TableKind kind, const SearchBounds& bounds);
  ~CounterexampleFinder();

  // For the cell of LR state `state` under `symbol`; with `unifyingOnly`
  // no non-unifying one is looked for.
  Counterexample forLR(int state, Symbol symbol, bool unifyingOnly = false);
  // For the LL(1) cell of a non-terminal under `symbol`.
  Counterexample forLL1(Symbol nonterminal, Symbol symbol, bool unifyingOnly = false);

 private:
  struct Data;
  std::unique_ptr<Data> data_;
};
