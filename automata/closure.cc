// Closure and goto of LR(0) and LR(1) states.  The closure walks its working
// list breadth first, adding the items of every non-terminal met after a
// dot; LR(1) items carry First(rest) as lookahead, plus the parent's
// lookahead when the rest can vanish, and a second phase merges the items
// of each core into one.  A goto is the closure of the advanced items.
#include "automata/items.h"

namespace {

// The item that starts production `text`: empty bodies are complete at once.
int startDot(const HString& text) { return text[3] == 'e' ? 1 : 0; }

}  // namespace

LR0_ItemsList Parsing::closureLR0(LR0_ItemsList items) const {
  for (int position = 0; position < items.getCount(); ++position) {
    LR0_Item item = items[position];
    if (isComplete(item)) continue;
    for (const HString& alternative : productionsOf(symbolAfterDot(item))) {
      LR0_Item added{indexOfProduction(alternative), startDot(alternative)};
      if (items.search(added) == -1) items.insertTail(added);
    }
  }
  return items;
}

LR0_ItemsList Parsing::closureOfItemLR0(const LR0_Item& item) const {
  LR0_ItemsList items;
  items.insertTail(item);
  return closureLR0(items);
}

// The advanced items come first in the closure, and the closure adds only
// items with the dot at the start (or past an empty body), never one of
// them: the closure is the kernel followed by the items it added.
LR0_ItemsList Parsing::gotoLR0(LR0_ItemsList state, char x) const {
  LR0_ItemsList kernel;
  for (const LR0_Item& item : state)
    if (!isComplete(item) && symbolAfterDot(item) == x) kernel.insertTail(LR0_Item{item.production, item.dot + 1});
  return closureLR0(kernel);
}

LR1_ItemsList Parsing::closureLR1(LR1_ItemsList items) const {
  for (int position = 0; position < items.getCount(); ++position) {
    LR1_Item item = items[position];
    if (isComplete(item)) continue;
    const HString& text = productions[item.production];
    HString lookahead = firstOfString(text.getSubString(item.dot + 4));
    if (lookahead.find('e') != -1) lookahead += item.lookahead;
    lookahead = lookahead.withoutChar('e').removeDuplicates();
    for (const HString& alternative : productionsOf(symbolAfterDot(item))) {
      LR1_Item added(indexOfProduction(alternative), startDot(alternative), lookahead);
      if (items.search(added) == -1) items.insertTail(added);
    }
  }
  LR1_ItemsList merged;
  while (items.getCount() > 0) {
    LR1_Item core = items[0];
    HString lookahead;
    for (int position = 0; position < items.getCount();) {
      const LR1_Item& item = items[position];
      if (item.production == core.production && item.dot == core.dot) {
        lookahead += item.lookahead;
        items.remove(position);
      } else {
        ++position;
      }
    }
    merged.insertTail(LR1_Item(core.production, core.dot, lookahead.removeDuplicates()));
  }
  return merged;
}

LR1_ItemsList Parsing::closureOfItemLR1(const LR1_Item& item) const {
  LR1_ItemsList items;
  items.insertTail(item);
  return closureLR1(items);
}

// As for LR(0): the closure keeps the advanced items first, with their own
// lookaheads, and is the kernel followed by the items it added.
LR1_ItemsList Parsing::gotoLR1(LR1_ItemsList state, char x) const {
  LR1_ItemsList kernel;
  for (const LR1_Item& item : state)
    if (!isComplete(item) && symbolAfterDot(item) == x)
      kernel.insertTail(LR1_Item(item.production, item.dot + 1, item.lookahead));
  return closureLR1(kernel);
}
