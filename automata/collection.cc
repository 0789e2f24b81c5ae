// The canonical LR(0) and LR(1) collections.  One walk
// builds both: state 0 is the closure of the start item; every state, in
// order of creation, tries the symbols after its dots in order of first
// appearance, and a goto that equals no earlier state becomes the next one.
//
// A goto equals an earlier state exactly when their kernels (the advanced
// items) are equal, since the closure adds only items with the dot at the
// start: so a goto is looked up by its kernel, through a hash of the
// kernels, and only a new state is closed.
#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "automata/automaton.h"
#include "automata/closure.h"
#include "core/work.h"

namespace {

// The kernel as a text of its items in a fixed order; equal for equal item
// sets (LR(1) lookaheads compared as sets of characters).
template <class Describe>
std::string kernelKey(const std::vector<StateItem>& kernel, Describe describe) {
  std::vector<StateItem> items;
  for (const StateItem& item : kernel) items.push_back(describe(item));
  std::sort(items.begin(), items.end(), [](const StateItem& a, const StateItem& b) {
    return a.production != b.production ? a.production < b.production
           : a.dot != b.dot             ? a.dot < b.dot
                                        : a.lookahead < b.lookahead;
  });
  std::string key(items.size() * sizeof(StateItem), '\0');
  if (!items.empty()) std::memcpy(key.data(), items.data(), key.size());
  return key;
}

// close(kernel): the state of a kernel; describe(item): the item as kernels compare it.
// `name` names the collection in a message when it outgrows the limits.
template <class Close, class Describe>
Automaton walkCollection(const char* name, ClosureEngine& engine, StateItem start, Close close, Describe describe) {
  Automaton automaton;
  long items = 0;
  std::unordered_map<std::string, int> byKernel;
  automaton.states.push_back(close({start}));
  automaton.transitions.emplace_back();
  automaton.origins.emplace_back(-1, '\0');
  for (size_t i = 0; i < automaton.states.size(); ++i) {
    std::string symbols = engine.symbolsAfterDot(automaton.states[i]);
    for (char x : symbols) {
      std::vector<StateItem> kernel = engine.advance(automaton.states[i], x);
      auto [found, isNew] = byKernel.try_emplace(kernelKey(kernel, describe), static_cast<int>(automaton.states.size()));
      if (isNew) {
        std::vector<StateItem> state = close(std::move(kernel));
        items += static_cast<long>(state.size());
        noteStates(name, static_cast<long>(automaton.states.size()) + 1, items);
        automaton.states.push_back(std::move(state));
        automaton.transitions.emplace_back();
        automaton.origins.emplace_back(static_cast<int>(i), x);
      }
      automaton.transitions[i].emplace_back(x, found->second);
    }
  }
  return automaton;
}

// An empty production 0 starts complete, like every empty-body item.
int startDot(const Parsing& grammar) { return grammar.productions[0].getSubString(3) == "e" ? 1 : 0; }

}  // namespace

int Automaton::target(int state, char symbol) const {
  for (const auto& [x, to] : transitions[static_cast<size_t>(state)])
    if (x == symbol) return to;
  return -1;
}

Automaton buildLR0Automaton(const Parsing& grammar) {
  ClosureEngine engine(grammar);
  Automaton automaton = walkCollection(
      "LR(0) collection", engine, StateItem{0, startDot(grammar), kNoLookahead},
      [&](std::vector<StateItem> kernel) { return engine.closureLR0(std::move(kernel)); },
      [](const StateItem& item) { return item; });
  return automaton;
}

Automaton buildLR1Automaton(const Parsing& grammar) {
  ClosureEngine engine(grammar);
  LookaheadPool& pool = engine.lookaheads();
  Automaton automaton = walkCollection(
      "LR(1) collection", engine, StateItem{0, startDot(grammar), pool.intern("$")},
      [&](std::vector<StateItem> kernel) { return engine.closureLR1(std::move(kernel)); },
      [&](const StateItem& item) { return StateItem{item.production, item.dot, pool.setOf(item.lookahead)}; });
  automaton.lookaheads = std::move(pool);
  return automaton;
}

HList<LR0_ItemsList> lr0Lists(const Automaton& automaton) {
  HList<LR0_ItemsList> lists;
  for (const std::vector<StateItem>& state : automaton.states) lists.insertTail(toLR0List(state));
  return lists;
}

LR1_ItemsListList lr1Lists(const Automaton& automaton) {
  LR1_ItemsListList lists;
  for (const std::vector<StateItem>& state : automaton.states) lists.insertTail(toLR1List(state, automaton.lookaheads));
  return lists;
}
