// Why a parse table holds an entry in a cell, and why it does not hold one
// a student wrote there, in one sentence each: for the LR tables from the
// items of the state (the item with the dot before the symbol, the
// complete item and its lookahead or the Follow set of its head), for the
// LL(1) table from First of the body and Follow of the head.
#pragma once

#include <memory>
#include <string>

#include "automata/automaton.h"
#include "simulation/evaluations.h"
#include "explain/grammar_view.h"

class CellReasons {
 public:
  CellReasons(const Parsing& grammar, TableKind kind);
  ~CellReasons();

  // The row is a state number for the LR tables, a non-terminal for LL(1);
  // the entry is an action ("s4", "r2", "a", "5") or a production "S->aB".
  std::string whyPresent(const std::string& row, char symbol, const std::string& entry) const;
  std::string whyAbsent(const std::string& row, char symbol, const std::string& entry) const;

 private:
  std::string whyShiftOrGoto(int state, char symbol, int target, bool isShift) const;
  std::string whyNotLR(int state, char symbol, const std::string& entry) const;
  std::string whyNotLL(char row, char symbol, const std::string& entry) const;
  // The item of the state with the dot before x, or -1.
  int itemBefore(int state, char x) const;
  // The complete item of production p in the state, or -1.
  int completeItem(int state, int production) const;
  std::string itemText(const StateItem& item) const;
  std::string lookaheadOf(const StateItem& item) const;

  TableKind kind_;
  GrammarView grammar_;
  Automaton automaton_;  // none for LL(1)
};
