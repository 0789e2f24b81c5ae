// Why a parse table holds an entry in a cell, and why it does not hold one
// a student wrote there, in one sentence each: for the LR tables from the
// items of the state (the item with the dot before the symbol, the
// complete item and its lookahead or the Follow set of its head), for the
// LL(1) table from First of the body and Follow of the head.  Symbols are
// named as the grammar's notation names them.
#pragma once

#include <string>

#include "automata/automaton.h"
#include "grammar/grammar_sets.h"
#include "simulation/evaluations.h"

class CellReasons {
 public:
  CellReasons(const Parsing& grammar, TableKind kind);
  ~CellReasons();

  // The row is a state number for the LR tables, a non-terminal for LL(1);
  // the column a symbol's name ("$" for the end); the entry an action
  // ("s4", "r2", "a", "5") or a production as the table writes it.
  std::string whyPresent(const std::string& row, const std::string& column, const std::string& entry) const;
  std::string whyAbsent(const std::string& row, const std::string& column, const std::string& entry) const;

 private:
  std::string whyShiftOrGoto(int state, Symbol symbol, int target, bool isShift) const;
  // `x` names the column, as the table's header writes it.
  std::string whyNotLR(int state, const std::string& x, const std::string& entry) const;
  std::string whyNotLL(const std::string& row, const std::string& x, const std::string& entry) const;
  // The symbol of a column, the end marker for "$", or kNoSymbol.
  Symbol symbolOf(const std::string& column) const;
  // The production the table writes as `entry`, or -1.
  int productionWritten(const std::string& entry) const;
  bool beginsWith(const Symbols& symbols, Symbol t) const;
  // The item of the state with the dot before x, or -1.
  int itemBefore(int state, Symbol x) const;
  // The complete item of production p in the state, or -1.
  int completeItem(int state, int production) const;
  std::string itemText(const StateItem& item) const;
  std::string acceptingItem() const;
  std::string lookaheadOf(const StateItem& item) const;

  TableKind kind_;
  const Grammar& grammar_;
  PredictionSets sets_;
  Automaton automaton_;  // none for LL(1)
};
