// A parse table as the explanations read it: its cells as plain texts, and
// for the LR tables the automaton it was built over, with the way back
// along each transition and an id per state that is equal for states with
// the same core (the same items, lookaheads aside).  Every table of one
// grammar is built once and kept in a TableSet.
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
  std::array<int, 256> column;                   // the column of a header symbol, or -1

  // The LR tables only.
  Automaton automaton;
  std::vector<std::vector<int>> members;            // LALR: the LR(1) states of each state
  std::vector<int> core;                            // per state: equal for equal cores
  std::vector<std::string> coreKey;                 // per state: equal for equal cores, in any LR automaton
  std::vector<std::vector<std::pair<int, char>>> predecessors;  // per state: (state, symbol) reaching it

  // The automaton's symbols as the classic characters ('$' the end marker), and back.
  std::string characters;              // by symbol
  std::array<Symbol, 256> symbols{};   // by character

  bool isLR() const { return kind != TableKind::kLL1; }
  char character(Symbol s) const {
    return s >= 0 && static_cast<size_t>(s) < characters.size() ? characters[static_cast<size_t>(s)] : '\0';
  }
  Symbol symbol(char c) const { return symbols[static_cast<unsigned char>(c)]; }
  // A lookahead of the automaton as its characters.
  std::string lookahead(int id) const;
  int rowCount() const { return static_cast<int>(cells.size()) - 1; }
  // The cell of table row `row` (0 is the first row after the header) under a symbol; "" outside.
  const std::string& cell(int row, char symbol) const;
  // The entries of a cell, split at "|" (an LL(1) cell's later entries are right sides only).
  static std::vector<std::string> entries(const std::string& cell);
  // The row of an LL(1) non-terminal, or -1.
  int rowOf(char nonterminal) const;
  // The item as the listings write it: "S->iEtS°eS, e$" ("°" in UTF-8).
  std::string itemText(const Parsing& grammar, const StateItem& item) const;
  // The states whose core is that of a state of another LR table.
  std::vector<int> statesWithCore(const std::string& key) const;
  // The symbols of a shortest path from state 0 to the state (breadth first).
  std::string shortestPrefix(int state) const;
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
