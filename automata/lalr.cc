// LALR merging: LR(1) states with the same core (the same items when
// lookaheads are ignored) become one state.  A group is formed when its
// lowest member is reached, so the groups keep the order of their lowest
// members; a merged state has the items of its highest member, each with
// the lookaheads of the members from the highest down, every symbol
// once.  Groups are found through an index of the states' cores.
#include <algorithm>
#include <unordered_map>

#include "automata/automaton.h"

namespace {

unsigned long long coreOf(const StateItem& item) {
  return (static_cast<unsigned long long>(item.production) << 32) | static_cast<unsigned>(item.dot);
}

std::string coreKey(const std::vector<StateItem>& state) {
  std::vector<unsigned long long> cores;
  for (const StateItem& item : state) cores.push_back(coreOf(item));
  std::sort(cores.begin(), cores.end());
  return std::string(reinterpret_cast<const char*>(cores.data()), cores.size() * sizeof(unsigned long long));
}

// The merge, given the pool its lookaheads are interned in: a copy of the
// LR(1) automaton's, or the pool itself taken from an automaton built for
// the merge alone, where copying a lookahead at a time cost more than the
// merging.
Automaton mergedByCore(const Automaton& lr1, LookaheadPool pool, std::vector<std::vector<int>>* members) {
  std::vector<std::vector<int>> groups;
  std::vector<int> groupOf(lr1.states.size());
  std::unordered_map<std::string, int> byCore;
  for (size_t i = 0; i < lr1.states.size(); ++i) {
    auto [found, isNew] = byCore.try_emplace(coreKey(lr1.states[i]), static_cast<int>(groups.size()));
    if (isNew) groups.emplace_back();
    groups[static_cast<size_t>(found->second)].push_back(static_cast<int>(i));
    groupOf[i] = found->second;
  }

  Automaton merged;
  merged.lookaheads = std::move(pool);
  std::vector<long> marks;  // by symbol: the stamp of the lookahead that last took it
  long stamp = 0;
  std::vector<Symbols> joined;  // by item of the highest member, kept from group to group
  Symbols symbols;
  for (const std::vector<int>& group : groups) {
    const std::vector<StateItem>& highest = lr1.states[static_cast<size_t>(group.back())];
    std::unordered_map<unsigned long long, size_t> slot;
    if (joined.size() < highest.size()) joined.resize(highest.size());
    for (size_t k = 0; k < highest.size(); ++k) {
      slot.emplace(coreOf(highest[k]), k);
      joined[k].clear();
    }
    for (auto member = group.rbegin(); member != group.rend(); ++member)
      for (const StateItem& item : lr1.states[static_cast<size_t>(*member)]) {
        const Symbols& more = merged.lookaheads.symbols(item.lookahead);
        Symbols& into = joined[slot[coreOf(item)]];
        into.insert(into.end(), more.begin(), more.end());
      }
    std::vector<StateItem> state = highest;
    for (size_t k = 0; k < state.size(); ++k) {
      symbols.clear();
      ++stamp;
      for (Symbol s : joined[k]) {
        if (static_cast<size_t>(s) >= marks.size()) marks.resize(static_cast<size_t>(s) + 1, 0);
        if (marks[static_cast<size_t>(s)] == stamp) continue;
        marks[static_cast<size_t>(s)] = stamp;
        symbols.push_back(s);
      }
      state[k].lookahead = merged.lookaheads.intern(symbols);
    }
    merged.states.push_back(std::move(state));
    std::vector<std::pair<Symbol, int>> transitions;
    for (const auto& [x, to] : lr1.transitions[static_cast<size_t>(group.front())])
      transitions.emplace_back(x, groupOf[static_cast<size_t>(to)]);
    merged.transitions.push_back(std::move(transitions));
  }
  if (members != nullptr) *members = std::move(groups);
  return merged;
}

}  // namespace

Automaton mergeByCore(const Automaton& lr1, std::vector<std::vector<int>>* members) {
  return mergedByCore(lr1, lr1.lookaheads, members);
}

Automaton mergeByCore(Automaton&& lr1, std::vector<std::vector<int>>* members) {
  LookaheadPool pool = std::move(lr1.lookaheads);
  return mergedByCore(lr1, std::move(pool), members);
}
