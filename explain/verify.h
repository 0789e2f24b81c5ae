// The program's own checks of what it shows a student: that a tree is a
// derivation of the grammar, and which moves a table's parser makes when
// it follows a derivation.  A counterexample is shown only when these
// checks confirm it.
#pragma once

#include <string>
#include <span>
#include <vector>

#include "explain/counterexample.h"
#include "explain/grammar_view.h"
#include "explain/table_view.h"
#include "explain/witnesses.h"
#include "trees/tree.h"

// Every expanded node is a production of the grammar: its symbol the head,
// its children's symbols the body (none for an empty one), and its
// production number, when known, that very production.
bool isDerivation(const GrammarView& grammar, const Tree& tree);

// One move of a parser that follows a derivation.
struct Move {
  int row;             // LR: the state on top; LL(1): the row of the non-terminal on top
  Symbol lookahead;    // the terminal or the end marker the move looks at
  std::string action;  // LR: "s4", "r2" or "a"; LL(1): the right side predicted, as the notation writes it
  size_t read = 0;     // the input symbols read before the move

  bool operator==(const Move& other) const = default;
};

// The moves of an LR table's parser on a tree of production 0 whose frontier
// is a word: shifts, reductions (a node once its subtree is read) and the
// final accept.  False when a move the tree needs is not in its cell.
bool lrMoves(const GrammarView& grammar, const TableView& table, const Tree& tree, std::vector<Move>& moves);
// The moves of an LR table's parser on a subtree read from `state`, with
// `next` after its frontier, up to the reduction of the subtree's root.
// False when a move the tree needs is not in its cell (`moves` holds those before it).
bool lrMovesFrom(const GrammarView& grammar, const TableView& table, int state, const Tree& tree, Symbol next,
                 std::vector<Move>& moves);
// The predictions of the LL(1) table's parser on a tree of the start
// symbol, in the order of a leftmost derivation, as far as each node's
// lookahead is a terminal of the frontier (a non-terminal leaf ends them).
// False when a prediction is not in its cell.
bool ll1Moves(const GrammarView& grammar, const TableView& table, const Tree& tree, std::vector<Move>& moves);
// The item of an LR state puts the entry ("s4", "r2" or "a") into the
// state's cell under the symbol.
bool itemMakes(const GrammarView& grammar, const TableView& table, const StateItem& item, const std::string& entry,
               Symbol symbol);
// The index of the first move where two runs differ, or -1.
int firstDifference(const std::vector<Move>& a, const std::vector<Move>& b);

// The state an LR table's parser reaches from state 0 by shifting the
// terminals and taking the gotos of the non-terminals of a viable prefix; -1
// when a cell has no such entry.
int lrStateAfter(const GrammarView& grammar, const TableView& table, std::span<const Symbol> prefix);

// Two trees form a unifying counterexample: both derivations of the
// grammar, with the same root symbol and the same frontier, and different.
bool isUnifyingPair(const GrammarView& grammar, const Tree& first, const Tree& second);

// Some run of an LR table's parser on the word, taking every entry of a cell
// with several, has state `row` on top with `symbol` next; at most `bound`
// configurations are looked at.
bool reachesCell(const GrammarView& grammar, const TableView& table, std::span<const Symbol> word, int row, Symbol symbol,
                 long bound = 100'000);

// The counterexample is about the LR cell (row, symbol) and no other.
// Unifying: the word reaches the cell, and the parser following the two
// derivations first moves differently there, by the two actions named,
// both entries of the cell.  Non-unifying: every entry of the cell has a
// derivation of production 0 whose prefix leads to the state.
bool explainsLRCell(const GrammarView& grammar, const TableView& table, const Counterexample& ce, int row, Symbol symbol);
