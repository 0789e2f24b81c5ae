// The SLR, canonical LR(1) and LALR tables.  Row 0 is the header (the
// terminals in code order, "$", then the rule heads); row s + 1 belongs to
// state s.  Cells hold "s" + state, "r" + production, "a", a bare state
// number in the goto columns, or several actions joined by "|".
#pragma once

#include <string>
#include <vector>

#include "automata/automaton.h"

// Each builds its automaton.
Table slrTable(const Parsing& grammar);
Table lr1Table(const Parsing& grammar);
Table lalrTable(const Parsing& grammar);

// The table of a built automaton: the SLR table of the LR(0) collection,
// reductions on the Follow set of the head; or, for the LR(1) and LALR
// automata, reductions on the items' lookaheads.
Table slrTableOf(const Parsing& grammar, const Automaton& lr0);
Table lookaheadTableOf(const Parsing& grammar, const Automaton& automaton);

// The rows of one of those tables, one at a time, for whoever reads a row
// and lets it go: the arcs of a listing need no whole table.
class LRTableRows {
 public:
  // Reductions on the Follow set of the head (SLR), or on the item's lookahead.
  enum class Reductions { kFollow, kLookahead };
  LRTableRows(const Parsing& grammar, const Automaton& automaton, Reductions reductions);

  const std::vector<HString>& header() const { return header_; }
  // The cells of state s's row, label first, into `cells`.
  void row(int s, std::vector<HString>& cells);

 private:
  const HString& shiftText(int target);
  const HString& numberText(int target);

  const Parsing& grammar_;
  const Automaton& automaton_;
  std::vector<HString> header_;
  int columns_[256];
  std::vector<std::string> follows_;  // by production, for kFollow
  std::vector<std::string> texts_;    // production texts
  std::vector<HString> reduce_;       // "r" + production
  std::vector<HString> shifts_;       // "s" + state, made when first needed
  std::vector<HString> numbers_;      // state numbers, made when first needed
};

// Adds an action to a cell unless the cell already holds it.
void placeAction(HString& cell, const HString& action);
