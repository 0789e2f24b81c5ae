// First sets on the typed grammar, each in the order its terminals are
// found: the order the classic texts have always listed them in.  A
// depth-first walk over the productions in their numbering expands each
// non-terminal once per top-level question (a visited flag stops recursion
// and cycles); the empty string (kEmpty) is passed on by the nullable flags
// alone.  Flag sets without an order are in grammar_sets.h.
#pragma once

#include <span>
#include <vector>

#include "grammar/grammar.h"
#include "grammar/grammar_sets.h"

class OrderedFirst {
 public:
  explicit OrderedFirst(const Grammar& grammar);

  // First of one symbol: a terminal (or the end marker) is its own.
  const Symbols& of(Symbol x) const;
  // First of a string of symbols; kEmpty in it when the whole string vanishes.
  Symbols ofString(std::span<const Symbol> alpha) const;
  bool nullable(Symbol x) const { return x < grammar_.symbolCount() && nullable_[static_cast<size_t>(x)]; }
  const Grammar& grammar() const { return grammar_; }

 private:
  Symbols walkSymbol(Symbol x) const;
  Symbols walkString(std::span<const Symbol> alpha) const;

  const Grammar& grammar_;
  SymbolSet nullable_;
  std::vector<std::vector<int>> productionsOf_;
  mutable std::vector<bool> visited_;
  mutable std::vector<Symbols> cache_;
  mutable std::vector<bool> cached_;
};

// The First set of every non-terminal, in symbol order.
std::vector<Symbols> firstSets(const Grammar& grammar);
