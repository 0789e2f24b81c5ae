#include "automata/closure.h"

#include <algorithm>

#include "core/work.h"

namespace {

// Each character once, at its first occurrence, and no 'e'.
std::string withoutRepeats(std::string_view text) {
  bool seen[256] = {};
  seen[static_cast<unsigned char>('e')] = true;
  std::string out;
  for (char c : text) {
    unsigned char code = static_cast<unsigned char>(c);
    if (!seen[code]) {
      seen[code] = true;
      out += c;
    }
  }
  return out;
}

}  // namespace

int LookaheadPool::intern(std::string_view text) {
  std::uint64_t hash = HashIndex::hashOf(text);
  int found = ids_.find(hash, [&](int id) { return texts_[static_cast<size_t>(id)] == text; });
  if (found != -1) return found;
  texts_.emplace_back(text);
  sets_.push_back(-1);
  return ids_.add(hash);
}

int LookaheadPool::setOf(int id) {
  if (sets_[static_cast<size_t>(id)] == -1) {
    std::string sorted = texts_[static_cast<size_t>(id)];
    std::sort(sorted.begin(), sorted.end());
    int set = intern(sorted);
    sets_[static_cast<size_t>(id)] = set;
  }
  return sets_[static_cast<size_t>(id)];
}

ClosureEngine::ClosureEngine(const Parsing& grammar) : grammar_(grammar) {
  size_t base = 0;
  for (const HString& production : grammar.productions) {
    texts_.emplace_back(production.view());
    restBase_.push_back(base);
    base += production.view().size();
  }
  rests_.resize(base + 1);
  met_.assign(base + 1, 0);
  firstLookahead_.assign(base + 1, 0);
  moreLookaheads_.assign(base + 1, -1);
  slot_.assign(base + 1, 0);
}

void ClosureEngine::newMarks() {
  if (++generation_ == 0) {
    std::fill(met_.begin(), met_.end(), 0);
    generation_ = 1;
  }
  more_.clear();
}

void ClosureEngine::gotoKernels(const std::vector<StateItem>& state, std::string& symbols,
                                std::vector<std::vector<StateItem>>& kernels) const {
  int slot[256];
  symbols.clear();
  for (const StateItem& item : state)
    if (!isComplete(item)) slot[static_cast<unsigned char>(symbolAfterDot(item))] = -1;
  for (const StateItem& item : state) {
    if (isComplete(item)) continue;
    unsigned char x = static_cast<unsigned char>(symbolAfterDot(item));
    if (slot[x] == -1) {
      slot[x] = static_cast<int>(symbols.size());
      symbols += static_cast<char>(x);
      if (kernels.size() < symbols.size()) kernels.emplace_back();
      kernels[static_cast<size_t>(slot[x])].clear();
    }
    kernels[static_cast<size_t>(slot[x])].push_back(StateItem{item.production, item.dot + 1, item.lookahead});
  }
}

// The alternatives of x start with the dot at the front, or past an empty
// body; a repeated alternative starts the first production of that text.
const std::vector<ClosureEngine::Start>& ClosureEngine::startsOf(char x) {
  unsigned char code = static_cast<unsigned char>(x);
  if (!startsKnown_[code]) {
    startsKnown_[code] = true;
    if (grammar_.isTerminal(x)) return starts_[code];
    if (firstOfText_.empty())
      for (size_t p = 0; p < texts_.size(); ++p) firstOfText_.emplace(texts_[p], static_cast<int>(p));
    for (const std::string& text : texts_)
      if (text[0] == x) starts_[code].push_back(Start{firstOfText_.at(text), text[3] == 'e' ? 1 : 0});
  }
  return starts_[code];
}

int ClosureEngine::derivedLookahead(int production, int dot, int parent) {
  size_t position = restBase_[static_cast<size_t>(production)] + static_cast<size_t>(dot);
  unsigned long long key = (static_cast<unsigned long long>(position) << 32) | static_cast<unsigned>(parent);
  std::uint64_t hash = HashIndex::mix(0, key);
  int found = derived_.find(hash, [&](int k) { return derivedKeys_[static_cast<size_t>(k)] == key; });
  if (found != -1) return derivedLookaheads_[static_cast<size_t>(found)];
  Rest& rest = rests_[position];
  if (!rest.known) {
    HString first = grammar_.firstOfString(HString(texts_[static_cast<size_t>(production)].c_str() + dot + 4));
    rest.known = true;
    rest.vanishes = first.find('e') != -1;
    rest.first = withoutRepeats(first.view());
  }
  int lookahead = rest.vanishes ? pool_.intern(withoutRepeats(rest.first + pool_.text(parent))) : pool_.intern(rest.first);
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
  // with the lookaheads of the core joined, every character once.
  newMarks();
  std::vector<StateItem> merged;
  std::vector<std::string> joined;  // for cores met more than once
  for (const StateItem& item : items) {
    size_t at = positionOf(item);
    if (met_[at] != generation_) {
      met_[at] = generation_;
      slot_[at] = merged.size();
      merged.push_back(item);
      joined.emplace_back();
      continue;
    }
    std::string& text = joined[slot_[at]];
    if (text.empty()) text = pool_.text(merged[slot_[at]].lookahead);
    text += pool_.text(item.lookahead);
  }
  // A core met once keeps its lookahead: an added item's is made without
  // repeats, and a kernel item's comes from a state made so.
  for (size_t k = 0; k < merged.size(); ++k) {
    std::string& text = joined[k];
    if (text.empty()) continue;
    bool seen[256] = {};
    size_t kept = 0;
    for (char c : text) {
      unsigned char code = static_cast<unsigned char>(c);
      if (!seen[code]) text[kept++] = c;
      seen[code] = true;
    }
    text.resize(kept);
    merged[k].lookahead = pool_.intern(text);
  }
  return merged;
}

// The engine's states as item lists.
LR0_ItemsList toLR0List(const std::vector<StateItem>& items) {
  LR0_ItemsList out;
  for (const StateItem& item : items) out.insertTail(LR0_Item{item.production, item.dot});
  return out;
}

LR1_ItemsList toLR1List(const std::vector<StateItem>& items, const LookaheadPool& pool) {
  LR1_ItemsList out;
  for (const StateItem& item : items) {
    const std::string& text = pool.text(item.lookahead);
    out.insertTail(LR1_Item(item.production, item.dot, HString(text.data(), static_cast<int>(text.size()))));
  }
  return out;
}
