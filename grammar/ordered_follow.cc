// Follow sets of every non-terminal at once, in the order the classic texts
// list them.  Each set is gathered with references to the Follow sets it
// depends on (the set of rule k stands in it as a reference entry), and the
// references are then substituted in place, one pass over all sets per rule
// at most.  The order comes from where a substitution lands: the referred
// set replaces its reference, and what repeats an earlier entry is dropped.
//
// Why the passes suffice: within a pass, a set's scan goes on behind each
// substitution, so the references a substitution brings in are resolved in
// the same pass, except one that lands on the scan position itself (the
// scan resumes after it) and a set's reference to itself, which adds
// nothing new.  A reference left behind is resolved by the next pass; a
// chain of references passes through distinct rules, so one pass per rule
// resolves every chain, and a pass that changes nothing ends the work early
// (every later pass would see the same sets).
#include "grammar/ordered_follow.h"

#include <algorithm>

namespace {

// Entries of a set being resolved: a symbol (the end marker included),
// kEmpty, or a reference to the Follow set of rule k.
constexpr int kFirstReference = -3;
int referenceTo(int rule) { return kFirstReference - rule; }
bool isReference(int entry) { return entry <= kFirstReference; }
int ruleOf(int reference) { return kFirstReference - reference; }

// Entry numbers as indices of one flag array: symbols, then kEmpty, then the references.
class EntryIndex {
 public:
  EntryIndex(int symbolCount, int rules) : symbolCount_(symbolCount), size_(static_cast<size_t>(symbolCount + 2 + rules)) {}
  size_t operator()(int entry) const {
    if (entry >= 0) return static_cast<size_t>(entry);
    if (entry == kEmpty) return static_cast<size_t>(symbolCount_) + 1;
    return static_cast<size_t>(symbolCount_ + 2 + ruleOf(entry));
  }
  size_t size() const { return size_; }

 private:
  int symbolCount_;
  size_t size_;
};

// A set while it is gathered: its entries, each once, in the order they came.
struct Gathering {
  Symbols entries;
  std::vector<bool> seen;
  void add(int entry, const EntryIndex& index) {
    if (seen[index(entry)]) return;
    seen[index(entry)] = true;
    entries.push_back(entry);
  }
};

// Walks one body of rule i.  For a non-terminal the First set of what follows
// it is added at once; its reference to rule i is added after the later
// symbols of the body were handled, so the references come out right to left.
void scanBody(const OrderedFirst& first, int rule, const Symbols& body, std::vector<Gathering>& sets,
              const EntryIndex& index) {
  const Grammar& grammar = first.grammar();
  std::vector<int> pending;
  for (size_t at = 0; at < body.size(); ++at) {
    Symbol s = body[at];
    if (grammar.isTerminal(s)) continue;
    bool vanishes = at + 1 == body.size();
    if (!vanishes) {
      Symbols following = first.ofString(std::span<const Symbol>(body).subspan(at + 1));
      for (Symbol f : following) sets[static_cast<size_t>(s)].add(f, index);
      vanishes = std::find(following.begin(), following.end(), kEmpty) != following.end();
    }
    if (vanishes) pending.push_back(s);
  }
  for (auto k = pending.rbegin(); k != pending.rend(); ++k) sets[static_cast<size_t>(*k)].add(referenceTo(rule), index);
}

// The entries with the first occurrence of each kept.
void keepFirstOccurrences(Symbols& entries, std::vector<int>& stamps, int& stamp, const EntryIndex& index) {
  ++stamp;
  size_t kept = 0;
  for (int entry : entries) {
    int& mark = stamps[index(entry)];
    if (mark == stamp) continue;
    mark = stamp;
    entries[kept++] = entry;
  }
  entries.resize(kept);
}

// One pass over every set; whether any changed.
bool substitutePass(std::vector<Symbols>& sets, std::vector<int>& stamps, int& stamp, const EntryIndex& index) {
  bool changed = false;
  for (Symbols& set : sets) {
    for (size_t q = 0; q < set.size(); ++q) {
      if (!isReference(set[q])) continue;
      Symbols referred = sets[static_cast<size_t>(ruleOf(set[q]))];
      set.erase(set.begin() + static_cast<std::ptrdiff_t>(q));
      set.insert(set.begin() + static_cast<std::ptrdiff_t>(q), referred.begin(), referred.end());
      keepFirstOccurrences(set, stamps, stamp, index);
      changed = true;
    }
  }
  return changed;
}

}  // namespace

std::vector<Symbols> followSets(const OrderedFirst& first) {
  const Grammar& grammar = first.grammar();
  int rules = static_cast<int>(grammar.nonTerminals().size());
  EntryIndex index(grammar.symbolCount(), rules);
  std::vector<Gathering> gathering(static_cast<size_t>(rules), Gathering{{}, std::vector<bool>(index.size(), false)});
  if (rules > 0) gathering[0].add(grammar.endMarker(), index);
  for (const Production& production : grammar.productions)
    scanBody(first, production.head, production.body, gathering, index);
  std::vector<Symbols> sets;
  for (Gathering& set : gathering) {
    set.entries.erase(std::remove(set.entries.begin(), set.entries.end(), kEmpty), set.entries.end());
    sets.push_back(std::move(set.entries));
  }
  std::vector<int> stamps(index.size(), 0);
  int stamp = 0;
  for (int pass = 0; pass < rules && substitutePass(sets, stamps, stamp, index); ++pass) {
  }
  for (Symbols& set : sets) std::erase_if(set, isReference);
  return sets;
}

std::vector<Symbols> followSets(const Grammar& grammar) { return followSets(OrderedFirst(grammar)); }
