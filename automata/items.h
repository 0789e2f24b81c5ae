// LR items and states.  An LR(0) item is a production number and a dot
// position; an LR(1) item adds its lookahead terminals as one text, so an
// LR(1) state holds each core (production, dot) once.  A state is a list of
// items in the order they were made; that order decides listings and the
// order goto symbols are tried, never equality.
#pragma once

#include "grammar/parsing.h"

// The dot of an item's text form: a degree sign in Windows-1252.
inline constexpr char kDotMarker = '\xB0';

struct LR0_Item {
  int production = 0;  // number of a production
  int dot = 0;         // body characters before the dot

  bool operator==(const LR0_Item& other) const {
    return production == other.production && dot == other.dot;
  }
};

struct LR1_Item {
  int production = 0;
  int dot = 0;
  HString lookahead;  // the lookahead terminals, '$' for the end, each once

  LR1_Item() = default;
  LR1_Item(int p, int d, HString l) : production(p), dot(d), lookahead(static_cast<HString&&>(l)) {}
  // Equal production, dot and lookahead text (characters in order).
  bool operator==(const LR1_Item& other) const {
    return production == other.production && dot == other.dot && lookahead == other.lookahead;
  }
};

// States are equal when their items pair off one to one, whatever the order.
bool operator==(const LR0_ItemsList& a, const LR0_ItemsList& b);
// LR(1) states are equal when their items pair off with the same cores and
// the same lookahead sets: the order of a lookahead's characters is display
// order only.
bool operator==(const LR1_ItemsList& a, const LR1_ItemsList& b);

// The same cores, ignoring lookaheads and order.
bool sameCore(const LR1_ItemsList& first, LR1_ItemsList second);
// The items of the second state, each with the lookahead of the first
// state's item of the same core appended (repeated characters removed).
LR1_ItemsList mergeLookaheads(const LR1_ItemsList& first, LR1_ItemsList second);

// The LALR states of the canonical LR(1) collection, one per group of
// same-core states, groups in the order of their lowest member, each made by
// merging every member into the lowest with mergeLookaheads.
LR1_ItemsListList lalrStates(const Parsing& grammar);
// Per LALR state, the numbers of its LR(1) members joined by " ~ ".
Row similarStates(const Parsing& grammar);

// The production text with the dot marker at position dot + 3.
HString itemText(const Parsing& grammar, const LR0_Item& item);
// The same followed by ", " and the lookahead.
HString itemText(const Parsing& grammar, const LR1_Item& item);
