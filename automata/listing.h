// The listing of a canonical collection, one block per state.
#pragma once

#include <string>
#include <vector>

#include "automata/automaton.h"

// The production with the dot marker before body symbol `dot` (an empty
// body is one symbol, its mark): "X->a\xB0b", "E -> E \xB0 + T".
std::string dottedProduction(const Grammar& grammar, int production, int dot);

// Per state: "State" k " - " and how it was reached ("Clousure(...)" for
// state 0, "Goto(State" i "," X ")" for the others) and ":", its items after
// three blanks (with ", " and the lookahead for LR(1)), then an empty line.
class StateListing {
 public:
  StateListing(const Parsing& grammar, const Automaton& collection);
  // Appends the block of state k.
  void append(Row& lines, size_t k) const;
  // An item after `indent`: the production with the dot marker, and for
  // LR(1) ", " and the lookahead.
  HString itemLine(std::string_view indent, const StateItem& item) const;

 private:
  const Grammar& grammar_;
  const Automaton& collection_;
  // Per production its text and where the dot goes before each body symbol
  // (an empty body counts as one, its mark), so an item costs two copies.
  std::vector<std::string> texts_;
  std::vector<std::vector<size_t>> cuts_;
  mutable std::vector<std::string> lookaheads_;  // by lookahead id, made when first asked
  mutable std::vector<bool> lookaheadKnown_;
  std::string start_;  // the trace of state 0
  bool withLookaheads_;
  mutable long bytes_ = 0;  // of the item lines made, held to the bound of the output
};

// Every block in state order.
Row stateListing(const Parsing& grammar, const Automaton& collection);
