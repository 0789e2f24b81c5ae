// The item-list operations of the grammar model, step for step as they are
// defined: closures by walking a working list and searching it for equal
// items, gotos as kernel plus closure, collections built by searching the
// list of states for an equal one, LALR states merged with sameCore and
// mergeLookaheads.  They keep no tables, index nothing and cost quadratic
// time; commands run on the engine (automaton.h) instead, and these
// operations are what it is checked against.
#include "automata/items.h"

namespace {

// The item that starts an alternative text X->a: dot 1 past an empty body.
template <class Item, class... Lookahead>
Item startOf(const Parsing& grammar, const HString& alternative, Lookahead... lookahead) {
  return Item{grammar.indexOfProduction(alternative), alternative[3] == 'e' ? 1 : 0, lookahead...};
}

template <class Item>
HList<Item> listOf(const Item& item) {
  HList<Item> items;
  items.insertTail(item);
  return items;
}

template <class Item>
HList<Item> kernelOf(const Parsing& grammar, const HList<Item>& state, char x) {
  HList<Item> kernel;
  for (const Item& item : state)
    if (!grammar.isComplete(item) && grammar.symbolAfterDot(item) == x) {
      Item advanced = item;
      ++advanced.dot;
      kernel.insertTail(advanced);
    }
  return kernel;
}

// The kernel followed by every closure item not already in it.
template <class Item>
HList<Item> withClosure(HList<Item> kernel, const HList<Item>& closure) {
  for (const Item& item : closure)
    if (kernel.search(item) == -1) kernel.insertTail(item);
  return kernel;
}

// From the closure of the start item, every state tries the symbols after
// its dots in order; a goto equal to no listed state is listed next.
template <class State, class Goto>
HList<State> collection(const Parsing& grammar, const State& start, Goto gotoOf) {
  HList<State> states;
  states.insertTail(start);
  for (int i = 0; i < states.getCount(); ++i) {
    HString symbols = grammar.symbolsAfterDot(states[i]);
    for (int k = 0; k < symbols.getLength(); ++k) {
      State next = gotoOf(states[i], symbols[k]);
      if (states.search(next) == -1) states.insertTail(next);
    }
  }
  return states;
}

}  // namespace

LR0_ItemsList Parsing::closureLR0(LR0_ItemsList items) const {
  for (int position = 0; position < items.getCount(); ++position) {
    LR0_Item item = items[position];
    if (isComplete(item)) continue;
    for (const HString& alternative : productionsOf(symbolAfterDot(item))) {
      LR0_Item added = startOf<LR0_Item>(*this, alternative);
      if (items.search(added) == -1) items.insertTail(added);
    }
  }
  return items;
}

LR0_ItemsList Parsing::closureOfItemLR0(const LR0_Item& item) const { return closureLR0(listOf(item)); }

LR0_ItemsList Parsing::gotoLR0(LR0_ItemsList state, char x) const {
  LR0_ItemsList kernel = kernelOf(*this, state, x);
  return withClosure(kernel, closureLR0(kernel));
}

// Phase 1 adds an item per alternative and lookahead text; phase 2 joins
// the lookaheads of each core into one item, cores in their first order.
LR1_ItemsList Parsing::closureLR1(LR1_ItemsList items) const {
  for (int position = 0; position < items.getCount(); ++position) {
    LR1_Item item = items[position];
    if (isComplete(item)) continue;
    const HString& text = productions[item.production];
    HString first = firstOfString(text.getSubString(item.dot + 4));
    if (first.find('e') != -1) first += item.lookahead;
    HString lookahead = first.withoutChar('e').removeDuplicates();
    for (const HString& alternative : productionsOf(symbolAfterDot(item))) {
      LR1_Item added = startOf<LR1_Item>(*this, alternative, lookahead);
      if (items.search(added) == -1) items.insertTail(added);
    }
  }
  LR1_ItemsList merged;
  while (items.getCount() > 0) {
    LR1_Item core = items[0];
    HString joined;
    for (int position = 0; position < items.getCount();) {
      if (items[position].production == core.production && items[position].dot == core.dot) {
        joined += items[position].lookahead;
        items.remove(position);
      } else {
        ++position;
      }
    }
    merged.insertTail(LR1_Item(core.production, core.dot, joined.removeDuplicates()));
  }
  return merged;
}

LR1_ItemsList Parsing::closureOfItemLR1(const LR1_Item& item) const { return closureLR1(listOf(item)); }

LR1_ItemsList Parsing::gotoLR1(LR1_ItemsList state, char x) const {
  LR1_ItemsList kernel = kernelOf(*this, state, x);
  return withClosure(kernel, closureLR1(kernel));
}

// An empty production 0 starts complete, like every empty-body item.
HList<LR0_ItemsList> Parsing::buildLR0Collection() const {
  LR0_ItemsList start = closureOfItemLR0(startOf<LR0_Item>(*this, productions[0]));
  return collection(*this, start, [&](const LR0_ItemsList& state, char x) { return gotoLR0(state, x); });
}

LR1_ItemsListList Parsing::buildLR1Collection() const {
  LR1_ItemsList start = closureOfItemLR1(startOf<LR1_Item>(*this, productions[0], HString("$")));
  return collection(*this, start, [&](const LR1_ItemsList& state, char x) { return gotoLR1(state, x); });
}

LR1_ItemsListList lalrStates(const Parsing& grammar) {
  LR1_ItemsListList states = grammar.buildLR1Collection();
  int n = states.getCount();
  HList<bool> merged;
  for (int i = 0; i < n; ++i) merged.insertTail(false);
  LR1_ItemsListList result;
  for (int i = 0; i < n; ++i) {
    if (merged[i]) continue;
    LR1_ItemsList current = states[i];
    for (int j = 0; j < n; ++j) {
      if (!sameCore(current, states[j])) continue;
      current = mergeLookaheads(current, states[j]);
      merged[j] = true;
    }
    result.insertTail(current);
  }
  return result;
}

Row similarStates(const Parsing& grammar) {
  LR1_ItemsListList states = grammar.buildLR1Collection();
  Row texts;
  for (int i = 0; i < states.getCount(); ++i) {
    texts.insertTail(HString());
    int j = 0;
    while (j < i && !sameCore(states[i], states[j])) ++j;
    if (j < i)
      texts[j] += HString(" ~ ") + i;
    else
      texts[i] = HString(i);
  }
  Row kept;
  for (const HString& text : texts)
    if (text.getLength() > 0) kept.insertTail(text);
  return kept;
}
