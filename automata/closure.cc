#include "automata/closure.h"

#include <algorithm>

#include "core/work.h"
#include "grammar/symbol_text.h"

namespace {

// The symbols' bytes, hashed eight at a time.
std::uint64_t hashOf(const Symbols& symbols) {
  return HashIndex::hashOf(
      std::string_view(reinterpret_cast<const char*>(symbols.data()), symbols.size() * sizeof(Symbol)));
}

}  // namespace

int LookaheadPool::intern(const Symbols& symbols) {
  std::uint64_t hash = hashOf(symbols);
  int found = ids_.find(hash, [&](int id) { return texts_[static_cast<size_t>(id)] == symbols; });
  if (found != -1) return found;
  texts_.push_back(symbols);
  sets_.push_back(-1);
  return ids_.add(hash);
}

bool LookaheadPool::contains(int id, Symbol s) const {
  const Symbols& symbols = texts_[static_cast<size_t>(id)];
  return std::find(symbols.begin(), symbols.end(), s) != symbols.end();
}

int LookaheadPool::setOf(int id) {
  if (sets_[static_cast<size_t>(id)] == -1) {
    Symbols sorted = texts_[static_cast<size_t>(id)];
    std::sort(sorted.begin(), sorted.end());
    int set = intern(sorted);
    sets_[static_cast<size_t>(id)] = set;
  }
  return sets_[static_cast<size_t>(id)];
}

std::string lookaheadText(const Grammar& grammar, const LookaheadPool& pool, int id) {
  return symbolsText(grammar, pool.symbols(id));
}

Symbol classicSymbol(const Grammar& grammar, char c) {
  if (c == '$') return grammar.endMarker();
  return grammar.symbolNamed(std::string(1, c));
}

char classicCharacter(const Grammar& grammar, Symbol s) {
  if (s == grammar.endMarker()) return '$';
  if (s < 0 || s >= grammar.symbolCount()) return '\0';
  return grammar.name(s)[0];
}

ClosureEngine::ClosureEngine(const Parsing& grammar)
    : grammar_(grammar.typed),
      first_(grammar.typed),
      starts_(static_cast<size_t>(grammar.typed.symbolCount())),
      startsKnown_(static_cast<size_t>(grammar.typed.symbolCount()), 0),
      slot_(static_cast<size_t>(grammar.typed.symbolCount()), -1),
      symbolMarks_(static_cast<size_t>(grammar.typed.symbolCount()) + 1, 0) {
  size_t base = 0;
  for (size_t p = 0; p < grammar_.productions.size(); ++p) {
    restBase_.push_back(base);
    base += static_cast<size_t>(bodyLength(static_cast<int>(p))) + 1;
  }
  rests_.resize(base + 1);
  met_.assign(base + 1, 0);
  firstLookahead_.assign(base + 1, 0);
  moreLookaheads_.assign(base + 1, -1);
  coreSlot_.assign(base + 1, 0);
}

void ClosureEngine::newMarks() {
  if (++generation_ == 0) {
    std::fill(met_.begin(), met_.end(), 0);
    generation_ = 1;
  }
  more_.clear();
}

void ClosureEngine::newSymbolMarks() {
  if (++symbolGeneration_ == 0) {
    std::fill(symbolMarks_.begin(), symbolMarks_.end(), 0);
    symbolGeneration_ = 1;
  }
}

bool ClosureEngine::markSymbol(Symbol s) {
  unsigned& mark = symbolMarks_[static_cast<size_t>(s)];
  if (mark == symbolGeneration_) return false;
  mark = symbolGeneration_;
  return true;
}

void ClosureEngine::keepFirstOccurrences(Symbols& symbols) {
  newSymbolMarks();
  size_t kept = 0;
  for (Symbol s : symbols)
    if (markSymbol(s)) symbols[kept++] = s;
  symbols.resize(kept);
}

void ClosureEngine::appendUnmarked(Symbols& into, const Symbols& more) {
  for (Symbol s : more)
    if (markSymbol(s)) into.push_back(s);
}

void ClosureEngine::gotoKernels(const std::vector<StateItem>& state, Symbols& symbols,
                                std::vector<std::vector<StateItem>>& kernels) const {
  symbols.clear();
  for (const StateItem& item : state) {
    if (isComplete(item)) continue;
    Symbol x = symbolAfterDot(item);
    int& slot = slot_[static_cast<size_t>(x)];
    if (slot == -1) {
      slot = static_cast<int>(symbols.size());
      symbols.push_back(x);
      if (kernels.size() < symbols.size()) kernels.emplace_back();
      kernels[static_cast<size_t>(slot)].clear();
    }
    kernels[static_cast<size_t>(slot)].push_back(StateItem{item.production, item.dot + 1, item.lookahead});
  }
  for (Symbol x : symbols) slot_[static_cast<size_t>(x)] = -1;
}

// The alternatives of x start with the dot at the front, or past an empty
// body; a repeated alternative starts the first production of that body.
const std::vector<ClosureEngine::Start>& ClosureEngine::firstStartsOf(Symbol x) {
  size_t k = static_cast<size_t>(x);
  startsKnown_[k] = true;
  if (grammar_.isTerminal(x)) return starts_[k];
  std::vector<int> alternatives = grammar_.productionsOf(x);
  for (int p : alternatives) {
    int firstEqual = p;
    for (int q : alternatives)
      if (body(q) == body(p)) {
        firstEqual = q;
        break;
      }
    starts_[k].push_back(Start{firstEqual, body(p).empty() ? 1 : 0});
  }
  return starts_[k];
}

int ClosureEngine::derivedLookahead(int production, int dot, int parent) {
  size_t position = restBase_[static_cast<size_t>(production)] + static_cast<size_t>(dot);
  unsigned long long key = (static_cast<unsigned long long>(position) << 32) | static_cast<unsigned>(parent);
  std::uint64_t hash = HashIndex::mix(0, key);
  int found = derived_.find(hash, [&](int k) { return derivedKeys_[static_cast<size_t>(k)] == key; });
  if (found != -1) return derivedLookaheads_[static_cast<size_t>(found)];
  Rest& rest = rests_[position];
  if (!rest.known) {
    const Symbols& symbols = body(production);
    Symbols first = first_.ofString(std::span<const Symbol>(symbols).subspan(static_cast<size_t>(dot) + 1));
    rest.known = true;
    rest.vanishes = std::find(first.begin(), first.end(), kEmpty) != first.end();
    std::erase(first, kEmpty);
    keepFirstOccurrences(first);
    rest.first = std::move(first);
  }
  int lookahead;
  if (rest.vanishes) {
    Symbols& joined = joined_;
    joined.clear();
    newSymbolMarks();
    appendUnmarked(joined, rest.first);
    appendUnmarked(joined, pool_.symbols(parent));
    lookahead = pool_.intern(joined);
  } else {
    lookahead = pool_.intern(rest.first);
  }
  derived_.add(hash);
  derivedKeys_.push_back(key);
  derivedLookaheads_.push_back(lookahead);
  return lookahead;
}
std::vector<StateItem> ClosureEngine::closureLR0(std::vector<StateItem> items) {
  newMarks();
  for (const StateItem& item : items) met_[positionOf(item)] = generation_;
  for (size_t position = 0; position < items.size(); ++position) {
    noteWork();
    StateItem item = items[position];
    if (isComplete(item)) continue;
    for (const Start& start : startsOf(symbolAfterDot(item))) {
      StateItem added{start.production, start.dot, kNoLookahead};
      size_t at = positionOf(added);
      if (met_[at] == generation_) continue;
      met_[at] = generation_;
      items.push_back(added);
    }
  }
  return items;
}

// Why the two phases give the LR(1) closure: as a set of (core, terminal)
// pairs, the closure holds (B->.g, a) for every (A->x.By, b) in it and every
// a in First(y b).  First(y b) depends on b only when y can vanish, and then
// as First(y) plus b; so phase 1, which makes one item per core and whole
// lookahead text, derives from every text every text it implies, and the
// union of its items' texts per core is exactly the closure's pairs.  Phase
// 1 ends because a text holds each character once, so there are finitely
// many.  Phase 2 then keeps one item per core with the union, in the order
// the cores and characters were first met, as the item lists do.
std::vector<StateItem> ClosureEngine::closureLR1(std::vector<StateItem> items) {
  // Phase 1: an item is added unless the same core with the same lookahead
  // text is there already.
  newMarks();
  auto add = [&](const StateItem& item) {
    size_t at = positionOf(item);
    if (met_[at] != generation_) {
      met_[at] = generation_;
      firstLookahead_[at] = item.lookahead;
      moreLookaheads_[at] = -1;
      return true;
    }
    if (firstLookahead_[at] == item.lookahead) return false;
    for (int entry = moreLookaheads_[at]; entry != -1; entry = more_[static_cast<size_t>(entry)].next)
      if (more_[static_cast<size_t>(entry)].lookahead == item.lookahead) return false;
    more_.push_back({item.lookahead, moreLookaheads_[at]});
    moreLookaheads_[at] = static_cast<int>(more_.size()) - 1;
    return true;
  };
  for (size_t k = 0, given = items.size(); k < given; ++k) add(items[k]);
  for (size_t position = 0; position < items.size(); ++position) {
    noteWork();
    StateItem item = items[position];
    if (isComplete(item)) continue;
    const std::vector<Start>& starts = startsOf(symbolAfterDot(item));
    if (starts.empty()) continue;
    int lookahead = derivedLookahead(item.production, item.dot, item.lookahead);
    for (const Start& start : starts) {
      StateItem added{start.production, start.dot, lookahead};
      if (add(added)) items.push_back(added);
    }
  }
  // Phase 2: one item per core, in the order the cores first appeared,
  // with the lookaheads of the core joined, every symbol once.  The items
  // of a core are chained, so each joined lookahead is made in one buffer.
  newMarks();
  std::vector<StateItem> merged;
  std::vector<int>& lastOf = lastOfCore_;
  std::vector<int>& next = nextOfCore_;
  lastOf.clear();
  next.assign(items.size(), -1);
  for (size_t i = 0; i < items.size(); ++i) {
    size_t at = positionOf(items[i]);
    if (met_[at] != generation_) {
      met_[at] = generation_;
      coreSlot_[at] = merged.size();
      merged.push_back(items[i]);
      lastOf.push_back(static_cast<int>(i));
      firstOfCore_.resize(merged.size());
      firstOfCore_.back() = static_cast<int>(i);
      continue;
    }
    int& last = lastOf[coreSlot_[at]];
    next[static_cast<size_t>(last)] = static_cast<int>(i);
    last = static_cast<int>(i);
  }
  // A core met once keeps its lookahead: an added item's is made without
  // repeats, and a kernel item's comes from a state made so.
  for (size_t k = 0; k < merged.size(); ++k) {
    int first = firstOfCore_[k];
    if (next[static_cast<size_t>(first)] == -1) continue;
    Symbols& symbols = joined_;
    symbols.clear();
    newSymbolMarks();
    for (int i = first; i != -1; i = next[static_cast<size_t>(i)])
      appendUnmarked(symbols, pool_.symbols(items[static_cast<size_t>(i)].lookahead));
    merged[k].lookahead = pool_.intern(symbols);
  }
  return merged;
}

// The engine's states as item lists.
LR0_ItemsList toLR0List(const std::vector<StateItem>& items) {
  LR0_ItemsList out;
  for (const StateItem& item : items) out.insertTail(LR0_Item{item.production, item.dot});
  return out;
}

LR1_ItemsList toLR1List(const Grammar& grammar, const std::vector<StateItem>& items, const LookaheadPool& pool) {
  LR1_ItemsList out;
  for (const StateItem& item : items) {
    std::string text = lookaheadText(grammar, pool, item.lookahead);
    out.insertTail(LR1_Item(item.production, item.dot, HString(text.data(), static_cast<int>(text.size()))));
  }
  return out;
}
