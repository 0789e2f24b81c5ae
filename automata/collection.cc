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
#include <cstdint>

#include "automata/automaton.h"
#include "automata/closure.h"
#include "core/hash_index.h"
#include "core/work.h"

namespace {

// The kernels of the states made so far, found by their items: each kernel
// is kept as its items in a fixed order (LR(1) lookaheads as sets of
// symbols), numbered as its state.
class KernelIndex {
 public:
  // The state whose kernel has the items of `key`, or -1.
  int find(const std::vector<StateItem>& key, std::uint64_t hash) const {
    return index_.find(hash, [&](int state) { return sameItems(key, state); });
  }
  // The kernel of the next state.
  void add(const std::vector<StateItem>& key, std::uint64_t hash) {
    items_.insert(items_.end(), key.begin(), key.end());
    start_.push_back(items_.size());
    index_.add(hash);
  }

  static std::uint64_t hashOf(const std::vector<StateItem>& key) {
    std::uint64_t hash = 0;
    for (const StateItem& item : key)
      for (int value : {item.production, item.dot, item.lookahead})
        hash = HashIndex::mix(hash, static_cast<std::uint32_t>(value));
    return hash;
  }

 private:
  bool sameItems(const std::vector<StateItem>& key, int state) const {
    size_t first = start_[static_cast<size_t>(state)], last = start_[static_cast<size_t>(state) + 1];
    if (last - first != key.size()) return false;
    for (size_t k = 0; k < key.size(); ++k) {
      const StateItem& a = key[k];
      const StateItem& b = items_[first + k];
      if (a.production != b.production || a.dot != b.dot || a.lookahead != b.lookahead) return false;
    }
    return true;
  }

  std::vector<StateItem> items_;
  std::vector<size_t> start_{0};  // state k's items are items_[start_[k] .. start_[k + 1])
  HashIndex index_;
};

// close(kernel): the state of a kernel; describe(item): the item as kernels compare it.
// `name` names the collection in a message when it outgrows the limits.
template <class Close, class Describe>
Automaton walkCollection(const char* name, ClosureEngine& engine, StateItem start, Close close, Describe describe) {
  Automaton automaton;
  long items = 0;
  KernelIndex index;
  std::vector<StateItem> key;
  auto keyOf = [&](const std::vector<StateItem>& kernel) {
    key.clear();
    for (const StateItem& item : kernel) key.push_back(describe(item));
    std::sort(key.begin(), key.end(), [](const StateItem& a, const StateItem& b) {
      return a.production != b.production ? a.production < b.production
             : a.dot != b.dot             ? a.dot < b.dot
                                          : a.lookahead < b.lookahead;
    });
    return KernelIndex::hashOf(key);
  };
  std::vector<StateItem> first{start};
  index.add(key, keyOf(first));
  automaton.states.push_back(close(std::move(first)));
  automaton.transitions.emplace_back();
  automaton.origins.emplace_back(-1, kNoSymbol);
  Symbols symbols;
  std::vector<std::vector<StateItem>> kernels;
  for (size_t i = 0; i < automaton.states.size(); ++i) {
    engine.gotoKernels(automaton.states[i], symbols, kernels);
    automaton.transitions[i].reserve(symbols.size());
    for (size_t k = 0; k < symbols.size(); ++k) {
      std::uint64_t hash = keyOf(kernels[k]);
      int found = index.find(key, hash);
      if (found == -1) {
        found = static_cast<int>(automaton.states.size());
        index.add(key, hash);
        std::vector<StateItem> state = close(std::move(kernels[k]));
        items += static_cast<long>(state.size());
        noteStates(name, static_cast<long>(automaton.states.size()) + 1, items);
        automaton.states.push_back(std::move(state));
        automaton.transitions.emplace_back();
        automaton.origins.emplace_back(static_cast<int>(i), symbols[k]);
      }
      automaton.transitions[i].emplace_back(symbols[k], found);
    }
  }
  return automaton;
}

// An empty production 0 starts complete, like every empty-body item.
int startDot(const Parsing& grammar) { return grammar.typed.productions[0].body.empty() ? 1 : 0; }

}  // namespace

int Automaton::target(int state, Symbol symbol) const {
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
      "LR(1) collection", engine, StateItem{0, startDot(grammar), pool.intern(Symbols{grammar.typed.endMarker()})},
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

LR1_ItemsListList lr1Lists(const Grammar& grammar, const Automaton& automaton) {
  LR1_ItemsListList lists;
  for (const std::vector<StateItem>& state : automaton.states)
    lists.insertTail(toLR1List(grammar, state, automaton.lookaheads));
  return lists;
}
