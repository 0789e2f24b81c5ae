// A parse table as the explanations read it: its cells as the writers show
// them, the typed predictions of the LL(1) table, and for the LR tables the
// automaton it was built over, with the way back along each transition and
// an id per state that is equal for states with the same core (the same
// items, lookaheads aside).  Every table of one grammar is built once and
// kept in a TableSet.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "automata/automaton.h"
#include "simulation/evaluations.h"

struct TableView {
  TableKind kind = TableKind::kLL1;
  std::vector<std::vector<std::string>> cells;  // row 0 the header, cell 0 the label
  std::vector<int> column;                      // by symbol, the end marker included: its text column, or -1
  LL1Table ll1;                                 // the LL(1) table only: its productions by cell

  // The LR tables only.
  Automaton automaton;
  std::vector<std::vector<int>> members;            // LALR: the LR(1) states of each state
  std::vector<int> core;                            // per state: equal for equal cores
  std::vector<std::string> coreKey;                 // per state: equal for equal cores, in any LR automaton
  std::vector<std::vector<std::pair<int, Symbol>>> predecessors;  // per state: (state, symbol) reaching it

  bool isLR() const { return kind != TableKind::kLL1; }
  // The symbols of a lookahead of the automaton, and whether one is among them.
  const Symbols& lookahead(int id) const { return automaton.lookaheads.symbols(id); }
  bool inLookahead(int id, Symbol s) const { return automaton.lookaheads.contains(id, s); }
  int rowCount() const { return static_cast<int>(cells.size()) - 1; }
  // The cell of table row `row` (0 is the first row after the header) under a symbol; "" outside.
  const std::string& cell(int row, Symbol symbol) const;
  // A cell holds more than one entry.
  bool conflicts(int row, Symbol symbol) const;
  // The symbol of each text column: kNoSymbol for the label and for a
  // column no symbol heads (the classic tables' empty-string column).
  Symbols columnSymbols() const;
  // The entries of an LR cell, split at "|".
  static std::vector<std::string> entries(const std::string& cell);
  // The productions an LL(1) cell holds, in order.
  const std::vector<int>& predictions(int row, Symbol symbol) const;
  // The row of an LL(1) non-terminal, or -1.
  int rowOf(Symbol nonterminal) const;
  // The symbol of an LL(1) row.
  Symbol rowSymbol(int row) const { return ll1Rows[static_cast<size_t>(row)]; }
  // The item as the listings write it: "S->iEtS°eS, e$" ("°" in UTF-8).
  std::string itemText(const Grammar& grammar, const StateItem& item) const;
  // The states whose core is that of a state of another LR table.
  std::vector<int> statesWithCore(const std::string& key) const;
  // The symbols of a shortest path from state 0 to the state (breadth first).
  Symbols shortestPrefix(int state) const;

  Symbols ll1Rows;  // the LL(1) table: the non-terminal of each row
};

// The four tables of one grammar, each built when first asked for.  The
// LR(1) automaton is built once for the LR(1) and LALR tables.
class TableSet {
 public:
  explicit TableSet(const Parsing& grammar) : grammar_(grammar) {}
  const TableView& operator[](TableKind kind);
  const Parsing& grammar() const { return grammar_; }

 private:
  const Parsing& grammar_;
  std::array<std::unique_ptr<TableView>, 4> views_;
};
