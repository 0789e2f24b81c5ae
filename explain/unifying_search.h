// The search for a unifying counterexample: two different derivation trees
// with the same root and the same frontier, which prove the grammar
// ambiguous.
//
// Two different trees of one sentential form first differ, in preorder,
// at a node X that one tree expands by a production and the other by
// another production, or leaves unexpanded.  Both leftmost derivations
// have the same form wXg at that point, so the search starts from the two
// stacks (a1 g, a2 g) and lets two top-down parsers run in lock step: the
// leftmost symbol of a stack is expanded by one of its productions, equal
// leading symbols are matched (a non-terminal matched stays a leaf of both
// trees), and when one stack runs empty before the other the context of
// the current root is revealed: an occurrence Z->dXh makes Z the root and
// appends h to both stacks.  Equal stacks end it: the rest is shared.  The
// search is breadth first by the number of productions used, so the trees
// found are among the smallest.  The idea of a lock-step parse of two
// derivations follows Isradisaikul and Myers, "Finding counterexamples
// from parsing conflicts" (PLDI 2015); the search here runs on the grammar
// alone, and the caller decides, through `accept`, whether a pair explains
// the conflict at hand.
#pragma once

#include <functional>
#include <vector>

#include "explain/search_budget.h"
#include "explain/witnesses.h"

// Where a search starts: at X, the first node where the trees differ, one
// tree expanding it by `first`, the other by `second` or, for -1, leaving it
// a leaf.
struct UnifyingStart {
  Symbol symbol;
  int first;
  int second;
};

struct UnifyingPair {
  bool found = false;
  bool exhausted = false;  // every form within the length bound was tried
  Tree first, second;
};

// `witnesses` avoids the production the trees may use only at their root
// (or none); stacks longer than `maxLength` symbols are not followed.
// `accept` sees every pair found, verified or not, and ends the search by
// returning true.
UnifyingPair searchUnifying(const Witnesses& witnesses, int rootOnly, const std::vector<UnifyingStart>& starts,
                            SearchBudget& budget, const std::function<bool(const Tree&, const Tree&)>& accept,
                            size_t maxLength = 24);

// The production can derive a form that begins with its own head.
bool leadsBack(const Witnesses& witnesses, int rootOnly, int production);

// The starts worth trying for a grammar: every pair of productions of a
// non-terminal, and every production that leads back to its own head on
// the left; those of the symbols in `preferred` first, at most `limit`.
std::vector<UnifyingStart> unifyingStarts(const Witnesses& witnesses, int rootOnly, const Symbols& preferred,
                                          size_t limit);
