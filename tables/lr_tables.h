// The SLR, canonical LR(1) and LALR tables.  A typed table (LRTable) has a
// row per state and a column per symbol: the terminals by rank, the end
// marker, then the non-terminals; a cell is the list of its actions in the
// order they were placed, and a cell of more than one is a conflict.  Its
// text (lrTableText) has the header of column names as row 0, row s + 1 for
// state s, and cells "s" + state, "r" + production, "a", a bare state number
// in the goto columns, or several actions joined by "|".
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "automata/automaton.h"

enum class ActionKind { kShift, kReduce, kAccept, kGoto };

struct Action {
  ActionKind kind;
  int target;  // the state of a shift or goto, the production of a reduction, 0 to accept
  bool operator==(const Action&) const = default;
};
using ActionCell = std::vector<Action>;

struct LRTable {
  Symbols columns;            // column j is text column j + 1
  std::vector<int> columnOf;  // by symbol, the end marker included: its column, or -1
  // Every cell's actions one after another, row by row: cell (s, j) holds
  // actions[starts[s * width + j] .. starts[s * width + j + 1]), so a large
  // table is two arrays, not a list per cell.
  std::vector<Action> actions;
  std::vector<std::uint32_t> starts{0};

  int column(Symbol s) const {
    return s >= 0 && static_cast<size_t>(s) < columnOf.size() ? columnOf[static_cast<size_t>(s)] : -1;
  }
  std::span<const Action> cell(int state, int column) const {
    size_t k = static_cast<size_t>(state) * columns.size() + static_cast<size_t>(column);
    return std::span<const Action>(actions).subspan(starts[k], starts[k + 1] - starts[k]);
  }
  int states() const { return columns.empty() ? 0 : static_cast<int>((starts.size() - 1) / columns.size()); }
  // Appends the next state's row.
  void addRow(const std::vector<ActionCell>& cells);
  // The cells holding more than one action.
  int conflicts() const;
};

// The typed tables of built automata, as slrTableOf and lookaheadTableOf below.
LRTable slrParseTable(const Parsing& grammar, const Automaton& lr0);
LRTable lookaheadParseTable(const Parsing& grammar, const Automaton& automaton);
// The text of a typed table.
Table lrTableText(const Grammar& grammar, const LRTable& table);

// The texts of cells, each action's text made once and shared by the cells
// that hold it.
class ActionTexts {
 public:
  const HString& of(const Action& action);
  HString cell(std::span<const Action> cell);
  const HString& number(int k) { return shared(numbers_, k, ""); }

 private:
  static const HString& shared(std::vector<HString>& texts, int k, const char* prefix);
  std::vector<HString> shifts_, reduces_, numbers_;
  HString accept_ = "a";
};

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
  // The cells of state s's row, by column, into `cells`.
  void actions(int s, std::vector<ActionCell>& cells) const;
  // Their texts, label first, into `cells`.
  void row(int s, std::vector<HString>& cells);
  const Symbols& columns() const { return columnSymbols_; }
  const std::vector<int>& columnOf() const { return columns_; }

 private:
  const Grammar& grammar_;
  const Automaton& automaton_;
  std::vector<HString> header_;
  Symbols columnSymbols_;             // by column of the typed row
  size_t gotoColumn_ = 0;             // the first non-terminal's column
  std::vector<int> columns_;          // by symbol, the end marker included: its column, or -1
  std::vector<Symbols> follows_;      // by production, for kFollow
  ActionTexts texts_;
  std::vector<ActionCell> scratch_;   // a row's cells while its texts are made
};

// Adds an action to a cell unless the cell already holds it.
void placeAction(ActionCell& cell, Action action);
