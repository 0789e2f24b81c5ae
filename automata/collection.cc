// The canonical LR(0) and LR(1) collections and their listings.  One walk
// builds both: state 0 is the closure of the start item; every state, in
// order of creation, tries the symbols after its dots in order of first
// appearance, and a goto that equals no earlier state becomes the next one.
// The listing records, for each state, how it was first reached.
#include "automata/collection.h"

namespace {

LR0_ItemsList gotoOf(const Parsing& grammar, const LR0_ItemsList& state, char x) {
  return grammar.gotoLR0(state, x);
}

LR1_ItemsList gotoOf(const Parsing& grammar, const LR1_ItemsList& state, char x) {
  return grammar.gotoLR1(state, x);
}

template <class State>
struct Walk {
  HList<State> states;
  Row trace;  // line k: how state k was first obtained
};

template <class State>
Walk<State> walkCollection(const Parsing& grammar, const State& start, const HString& startTrace) {
  Walk<State> walk;
  walk.states.insertTail(start);
  walk.trace.insertTail(startTrace);
  for (int i = 0; i < walk.states.getCount(); ++i) {
    const State& state = walk.states[i];
    HString symbols = grammar.symbolsAfterDot(state);
    for (int s = 0; s < symbols.getLength(); ++s) {
      State next = gotoOf(grammar, state, symbols[s]);
      if (indexOfState(walk.states, next) != -1) continue;
      walk.states.insertTail(next);
      walk.trace.insertTail(HString("Goto(State") + i + "," + symbols[s] + ")");
    }
  }
  return walk;
}

// An empty production 0 starts complete, like every empty-body item.
int startDot(const Parsing& grammar) { return grammar.productions[0].getSubString(3) == "e" ? 1 : 0; }

// "Clousure(" production 0 with the dot after "->" and the given end.
HString startTrace(const Parsing& grammar, const char* end) {
  const HString& start = grammar.productions[0];
  return HString("Clousure(") + start.getSubString(0, 3) + kDotMarker + start.getSubString(3) + end;
}

Walk<LR0_ItemsList> walkLR0(const Parsing& grammar) {
  return walkCollection(grammar, grammar.closureOfItemLR0(LR0_Item{0, startDot(grammar)}),
                        startTrace(grammar, ")"));
}

Walk<LR1_ItemsList> walkLR1(const Parsing& grammar) {
  return walkCollection(grammar, grammar.closureOfItemLR1(LR1_Item(0, startDot(grammar), "$")),
                        startTrace(grammar, ", $)"));
}

template <class State>
Row listing(const Parsing& grammar, const Walk<State>& walk) {
  Row lines;
  for (int k = 0; k < walk.states.getCount(); ++k) {
    lines.insertTail(HString("State") + k + " - " + walk.trace[k] + ":");
    for (const auto& item : walk.states[k]) lines.insertTail(HString("   ") + itemText(grammar, item));
    lines.insertTail("");
  }
  return lines;
}

}  // namespace

int indexOfState(const HList<LR0_ItemsList>& collection, const LR0_ItemsList& state) {
  return collection.search(state);
}

int indexOfState(const LR1_ItemsListList& collection, const LR1_ItemsList& state) {
  return collection.search(state);
}

HList<LR0_ItemsList> Parsing::buildLR0Collection() const { return walkLR0(*this).states; }

Row Parsing::listLR0Items() const { return listing(*this, walkLR0(*this)); }

LR1_ItemsListList Parsing::buildLR1Collection() const { return walkLR1(*this).states; }

Row Parsing::listLR1Items() const { return listing(*this, walkLR1(*this)); }
