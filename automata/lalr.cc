// LALR merging: LR(1) states with the same core become one state whose
// lookaheads are the union of its members'.
#include "automata/lalr.h"

#include <vector>

LR1_ItemsListList lalrStates(const Parsing& grammar) {
  LR1_ItemsListList canonical = grammar.buildLR1Collection();
  int n = canonical.getCount();
  std::vector<bool> merged(static_cast<size_t>(n), false);
  LR1_ItemsListList states;
  for (int i = 0; i < n; ++i) {
    if (merged[static_cast<size_t>(i)]) continue;
    LR1_ItemsList current = canonical[i];
    for (int j = 0; j < n; ++j) {
      if (!sameCore(current, canonical[j])) continue;
      current = mergeLookaheads(current, canonical[j]);
      merged[static_cast<size_t>(j)] = true;
    }
    states.insertTail(current);
  }
  return states;
}

Row similarStates(const Parsing& grammar) {
  LR1_ItemsListList canonical = grammar.buildLR1Collection();
  Row texts;
  for (int i = 0; i < canonical.getCount(); ++i) {
    texts.insertTail(HString());
    int j = 0;
    while (j < i && !sameCore(canonical[i], canonical[j])) ++j;
    if (j < i)
      texts[j] += HString(" ~ ") + i;
    else
      texts[i] = HString(i);
  }
  Row similar;
  for (const HString& text : texts)
    if (text.getLength() > 0) similar.insertTail(text);
  return similar;
}
