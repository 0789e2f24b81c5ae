// First sets in the order of the walk.  Why the order is the classic one:
// the walk visits the productions of a non-terminal in their numbering and
// the symbols of a body left to right, adds each terminal where it is first
// met, and answers a string that starts with a non-terminal that cannot
// vanish by that non-terminal's own set, exactly as the character walk of
// Parsing::firstOfText does.
#include "grammar/ordered_first.h"

#include <algorithm>

#include "core/work.h"

namespace {

// Symbols in the order they were first added, each once.  Sets are mostly
// short, so membership is a scan until one grows long enough for flags.
class Found {
 public:
  explicit Found(int symbolCount) : symbolCount_(symbolCount) {}
  void add(Symbol s) {
    if (contains(s)) return;
    symbols_.push_back(s);
    if (!flags_.empty()) flags_[index(s)] = true;
    else if (symbols_.size() > kScanned) {
      flags_.assign(static_cast<size_t>(symbolCount_) + 2, false);
      for (Symbol t : symbols_) flags_[index(t)] = true;
    }
  }
  void add(const Symbols& symbols, bool withoutEmpty) {
    for (Symbol s : symbols)
      if (!withoutEmpty || s != kEmpty) add(s);
  }
  Symbols take() { return std::move(symbols_); }

 private:
  static constexpr size_t kScanned = 16;
  size_t index(Symbol s) const { return s == kEmpty ? static_cast<size_t>(symbolCount_) + 1 : static_cast<size_t>(s); }
  bool contains(Symbol s) const {
    if (!flags_.empty()) return flags_[index(s)];
    return std::find(symbols_.begin(), symbols_.end(), s) != symbols_.end();
  }
  int symbolCount_;
  Symbols symbols_;
  std::vector<bool> flags_;
};

}  // namespace

OrderedFirst::OrderedFirst(const Grammar& grammar)
    : grammar_(grammar),
      nullable_(nullableSymbols(grammar)),
      productionsOf_(static_cast<size_t>(grammar.symbolCount())),
      visited_(static_cast<size_t>(grammar.symbolCount()), false),
      cache_(static_cast<size_t>(grammar.symbolCount()) + 1),
      cached_(static_cast<size_t>(grammar.symbolCount()) + 1, false) {
  for (size_t p = 0; p < grammar.productions.size(); ++p)
    productionsOf_[static_cast<size_t>(grammar.productions[p].head)].push_back(static_cast<int>(p));
}

const Symbols& OrderedFirst::of(Symbol x) const {
  size_t k = static_cast<size_t>(x);
  if (!cached_[k]) {
    if (x == grammar_.endMarker() || grammar_.isTerminal(x)) {
      cache_[k] = Symbols{x};
    } else {
      std::fill(visited_.begin(), visited_.end(), false);
      cache_[k] = walkSymbol(x);
    }
    cached_[k] = true;
  }
  return cache_[k];
}

Symbols OrderedFirst::ofString(std::span<const Symbol> alpha) const {
  if (!alpha.empty() && !nullable(alpha[0])) return of(alpha[0]);
  std::fill(visited_.begin(), visited_.end(), false);
  return walkString(alpha);
}

// The set of a symbol with many alternatives is their union, kept free of
// repeats as it grows, not their concatenation.
Symbols OrderedFirst::walkSymbol(Symbol x) const {
  if (x == grammar_.endMarker() || grammar_.isTerminal(x)) return Symbols{x};
  if (visited_[static_cast<size_t>(x)]) return Symbols();
  visited_[static_cast<size_t>(x)] = true;
  const std::vector<int>& alternatives = productionsOf_[static_cast<size_t>(x)];
  // A walk's result holds no repeats, so one alternative's is the union.
  if (alternatives.size() == 1) {
    noteWork();
    return walkString(grammar_.productions[static_cast<size_t>(alternatives[0])].body);
  }
  Found found(grammar_.symbolCount());
  for (int p : alternatives) {
    noteWork();
    found.add(walkString(grammar_.productions[static_cast<size_t>(p)].body), false);
  }
  return found.take();
}

// First(X rest) is First(X) when X cannot vanish, else First(X) without the
// empty string followed by First(rest); the walk goes along the string, so
// long bodies cost no stack.
Symbols OrderedFirst::walkString(std::span<const Symbol> alpha) const {
  if (!alpha.empty() && !nullable(alpha[0])) return walkSymbol(alpha[0]);
  Found found(grammar_.symbolCount());
  for (Symbol s : alpha) {
    Symbols head = walkSymbol(s);
    if (!nullable(s)) {
      found.add(head, false);
      return found.take();
    }
    found.add(head, true);
  }
  found.add(kEmpty);
  return found.take();
}

std::vector<Symbols> firstSets(const Grammar& grammar) {
  OrderedFirst first(grammar);
  std::vector<Symbols> sets;
  for (Symbol x : grammar.nonTerminals()) sets.push_back(first.of(x));
  return sets;
}
