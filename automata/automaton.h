// The data model of the LR automata.  It exists in two forms.
//
// The item lists (automata/items.h) are the model's own: an LR0_Item is a
// production number and a dot, an LR1_Item adds its lookahead as an HString;
// a state is an HList of items in the order the closure made them, and a
// collection an HList of states.  Their operations, Parsing::closureLR1,
// gotoLR1, buildLR1Collection, sameCore, mergeLookaheads, lalrStates and the
// rest (automata/item_lists.cc), follow the definitions step for step, with
// linear searches.  No command runs on them: they are the oracle that the
// engine is checked against (automata/oracle_test.cc, fuzz/properties.cc).
//
// The engine (this header and closure.h) is what every command runs on, on
// the typed grammar (Parsing::typed) of either notation.  A StateItem is
// three integers: production, dot and the id of its lookahead in a
// LookaheadPool, where each lookahead (a string of symbols, in the order the
// classic texts list them) is kept once.  The dot counts body symbols, an
// empty body counting as one (the "e" of the classic texts), so an item of
// an empty body is complete with the dot at 1, as in the item lists.  A state is a
// vector of StateItems in closure order; an Automaton holds the states in
// order of creation with their transitions and the way each was first
// reached.  The ClosureEngine (closure.cc) makes states, walkCollection
// (collection.cc) numbers them, mergeByCore (lalr.cc) merges LR(1) states
// into LALR states, and lalrAutomaton (lalr_lookaheads.cc) gives the LR(0)
// states the same LALR lookaheads without any LR(1) state.  Tables
// (tables/), listings (automata/listing.cc, tables/listings.cc) and
// evaluations read an Automaton.
//
// The two meet in lr0Lists and lr1Lists below, which turn an automaton's
// states into item lists, and in the ClosureEngine, whose closures take the
// same steps as the literal closures (items in the same order, lookaheads
// with the same symbols in the same order).
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/hash_index.h"
#include "automata/items.h"
#include "grammar/grammar.h"

// The lookahead of an LR(0) item.
inline constexpr int kNoLookahead = -1;

// The three automata, as graphs draw them and the command registry names them.
enum class GraphKind { kLR0, kLR1, kLALR };
inline constexpr GraphKind kGraphKinds[] = {GraphKind::kLR0, GraphKind::kLR1, GraphKind::kLALR};

struct StateItem {
  int production;
  int dot;
  int lookahead;  // an id of the LookaheadPool, or kNoLookahead
};

// Lookaheads by id; equal strings of symbols get equal ids.
class LookaheadPool {
 public:
  int intern(const Symbols& symbols);
  const Symbols& symbols(int id) const { return texts_[static_cast<size_t>(id)]; }
  bool contains(int id, Symbol s) const;
  // The id of the lookahead's symbols in number order: equal for equal sets.
  int setOf(int id);

 private:
  std::vector<Symbols> texts_;
  std::vector<int> sets_;  // setOf by id, -1 until asked
  HashIndex ids_;
};

struct Automaton {
  std::vector<std::vector<StateItem>> states;
  // Per state: (symbol, target state), in the order the symbols were tried.
  std::vector<std::vector<std::pair<Symbol, int>>> transitions;
  // Per state of a collection, the state and symbol it was first reached
  // from (state 0: -1 and kNoSymbol); empty for merged states.
  std::vector<std::pair<int, Symbol>> origins;
  LookaheadPool lookaheads;

  // The state reached from `state` on `symbol`, or -1.
  int target(int state, Symbol symbol) const;
  bool hasLookaheads() const { return !states.empty() && !states[0].empty() && states[0][0].lookahead != kNoLookahead; }
};

// The canonical LR(0) and LR(1) collections (collection.cc).
Automaton buildLR0Automaton(const Parsing& grammar);
Automaton buildLR1Automaton(const Parsing& grammar);
// The LR(1) states merged by core, groups ordered by their lowest member;
// members[k] receives the LR(1) states of group k in increasing order (lalr.cc).
Automaton mergeByCore(const Automaton& lr1, std::vector<std::vector<int>>* members = nullptr);
// The same, taking the lookaheads of an automaton built for the merge alone.
Automaton mergeByCore(Automaton&& lr1, std::vector<std::vector<int>>* members = nullptr);

// The LALR automaton computed on the LR(0) collection, without the LR(1)
// collection (lalr_lookaheads.cc): the LR(0) states in their order, each
// item with the lookaheads of its LALR state, symbols by rank.  Its
// states, transitions and lookahead sets are those of mergeByCore; only the
// order of items and of a lookahead's characters may differ.
Automaton lalrAutomaton(const Parsing& grammar, Automaton lr0);
Automaton buildLalrAutomaton(const Parsing& grammar);

// The lookahead of an id as the texts write it (symbol_text.h).
std::string lookaheadText(const Grammar& grammar, const LookaheadPool& pool, int id);
// The symbol of a classic grammar's character, '$' the end marker; kNoSymbol for none.
Symbol classicSymbol(const Grammar& grammar, char c);
// The character of a classic grammar's symbol, '$' for the end marker.
char classicCharacter(const Grammar& grammar, Symbol s);

// The states as item lists.
LR0_ItemsList toLR0List(const std::vector<StateItem>& items);
LR1_ItemsList toLR1List(const Grammar& grammar, const std::vector<StateItem>& items, const LookaheadPool& pool);
HList<LR0_ItemsList> lr0Lists(const Automaton& automaton);
LR1_ItemsListList lr1Lists(const Grammar& grammar, const Automaton& automaton);
