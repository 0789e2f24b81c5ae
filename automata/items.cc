// Item queries, item texts and the equalities of states.
#include "automata/items.h"

namespace {

template <class Item>
HString symbolsAfterDotOf(const Parsing& grammar, const HList<Item>& state) {
  HString symbols;
  for (const Item& item : state)
    if (!grammar.isComplete(item)) symbols += grammar.symbolAfterDot(item);
  return symbols.removeDuplicates();
}

bool sameCoreAs(const LR1_Item& a, const LR1_Item& b) {
  return a.production == b.production && a.dot == b.dot;
}

bool sameCharacters(const HString& a, const HString& b) {
  if (a.getLength() != b.getLength()) return false;
  for (int i = 0; i < a.getLength(); ++i)
    if (b.find(a[i]) == -1) return false;
  return true;
}

// Pairs off the items of two states with `equal`, working on a copy of b.
template <class Item, class Equal>
bool pairOff(const HList<Item>& a, HList<Item> b, Equal equal) {
  if (a.getCount() != b.getCount()) return false;
  for (const Item& item : a) {
    int position = 0;
    bool found = false;
    for (const Item& candidate : b) {
      if (equal(item, candidate)) {
        found = true;
        break;
      }
      ++position;
    }
    if (!found) return false;
    b.remove(position);
  }
  return true;
}

}  // namespace

bool operator==(const LR0_ItemsList& a, const LR0_ItemsList& b) {
  return pairOff(a, b, [](const LR0_Item& x, const LR0_Item& y) { return x == y; });
}

bool operator==(const LR1_ItemsList& a, const LR1_ItemsList& b) {
  return pairOff(a, b, [](const LR1_Item& x, const LR1_Item& y) {
    return sameCoreAs(x, y) && sameCharacters(x.lookahead, y.lookahead);
  });
}

bool sameCore(const LR1_ItemsList& first, LR1_ItemsList second) {
  return pairOff(second, first, sameCoreAs);
}

LR1_ItemsList mergeLookaheads(const LR1_ItemsList& first, LR1_ItemsList second) {
  LR1_ItemsList copy = first;
  LR1_ItemsList merged;
  for (const LR1_Item& b : second) {
    for (int position = 0; position < copy.getCount();) {
      const LR1_Item& a = copy[position];
      if (!sameCoreAs(a, b)) {
        ++position;
        continue;
      }
      merged.insertTail(LR1_Item(b.production, b.dot, (b.lookahead + a.lookahead).removeDuplicates()));
      copy.remove(position);
    }
  }
  return merged;
}

HString itemText(const Parsing& grammar, const LR0_Item& item) {
  HString marker(kDotMarker);
  return grammar.productions[item.production].insert(item.dot + 3, marker.getString());
}

HString itemText(const Parsing& grammar, const LR1_Item& item) {
  return itemText(grammar, LR0_Item{item.production, item.dot}) + ", " + item.lookahead;
}

bool Parsing::isComplete(const LR0_Item& item) const {
  return item.dot + 3 >= productions[item.production].getLength();
}

char Parsing::symbolAfterDot(const LR0_Item& item) const {
  return productions[item.production][item.dot + 3];
}

bool Parsing::isComplete(const LR1_Item& item) const {
  return isComplete(LR0_Item{item.production, item.dot});
}

char Parsing::symbolAfterDot(const LR1_Item& item) const {
  return symbolAfterDot(LR0_Item{item.production, item.dot});
}

HString Parsing::symbolsAfterDot(const LR0_ItemsList& state) const { return symbolsAfterDotOf(*this, state); }

HString Parsing::symbolsAfterDot(const LR1_ItemsList& state) const { return symbolsAfterDotOf(*this, state); }
