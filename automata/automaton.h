// An LR automaton as the tables and listings read it: the states in order
// of creation, where each state's symbols lead, and how each state was
// first reached.  The LR(0) and LR(1) collections are built by one walk;
// the LALR automaton merges the LR(1) states by core.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "automata/closure.h"

struct Automaton {
  std::vector<std::vector<StateItem>> states;
  // Per state: (symbol, target state), in the order the symbols were tried.
  std::vector<std::vector<std::pair<char, int>>> transitions;
  // Per state of a collection, the state and symbol it was first reached
  // from (state 0: none); empty for merged states.
  std::vector<std::pair<int, char>> origins;
  LookaheadPool lookaheads;

  // The state reached from `state` on `symbol`, or -1.
  int target(int state, char symbol) const;
};

// The states as the lists the analyses pass around.
HList<LR0_ItemsList> lr0Lists(const Automaton& automaton);
LR1_ItemsListList lr1Lists(const Automaton& automaton);

Automaton buildLR0Automaton(const Parsing& grammar);
Automaton buildLR1Automaton(const Parsing& grammar);
// The LR(1) states merged by core, groups ordered by their lowest member;
// members[k] receives the LR(1) states of group k in increasing order.
Automaton mergeByCore(const Automaton& lr1, std::vector<std::vector<int>>* members = nullptr);
