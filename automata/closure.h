// The closure of LR(0) and LR(1) kernels.  The closure walks its working
// list breadth first, adding the items of every non-terminal met after a
// dot; an LR(1) item carries First(rest) as its lookahead, followed by the
// parent's lookahead when the rest can vanish, and a second phase merges the
// items of each core into one, lookaheads joined in the order found.
//
// The engine gathers what it needs of the typed grammar once per build (the
// alternatives of each symbol, the First set of the rest after each dot)
// and keeps lookaheads interned, so items are three integers.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "automata/automaton.h"
#include "grammar/ordered_first.h"

class ClosureEngine {
 public:
  explicit ClosureEngine(const Parsing& grammar);

  bool isComplete(const StateItem& item) const { return item.dot >= bodyLength(item.production); }
  Symbol symbolAfterDot(const StateItem& item) const {
    return body(item.production)[static_cast<size_t>(item.dot)];
  }
  // The distinct symbols after a dot, in item order, and for each the items
  // with it after the dot, advanced over it: the kernel of its goto.  The
  // kernels are made in one pass; `kernels` may hold more than `symbols`.
  void gotoKernels(const std::vector<StateItem>& state, Symbols& symbols,
                   std::vector<std::vector<StateItem>>& kernels) const;
  std::vector<StateItem> closureLR0(std::vector<StateItem> items);
  std::vector<StateItem> closureLR1(std::vector<StateItem> items);

  LookaheadPool& lookaheads() { return pool_; }
  const Grammar& grammar() const { return grammar_; }

 private:
  struct Start {
    int production;
    int dot;
  };
  struct Rest {
    bool known = false;
    bool vanishes = false;
    Symbols first;  // First of the rest after the symbol, without the empty string
  };

  const Symbols& body(int production) const { return grammar_.productions[static_cast<size_t>(production)].body; }
  int bodyLength(int production) const { return std::max(1, static_cast<int>(body(production).size())); }
  // The items that start the alternatives of x; none for a terminal.  Asked
  // once for every item of every closure, so the known case is inline.
  const std::vector<Start>& startsOf(Symbol x) {
    size_t k = static_cast<size_t>(x);
    return startsKnown_[k] ? starts_[k] : firstStartsOf(x);
  }
  const std::vector<Start>& firstStartsOf(Symbol x);
  // Symbols are marked per generation, so that a string keeps each symbol's
  // first occurrence without a set of its own.
  void newSymbolMarks();
  bool markSymbol(Symbol s);  // false when already marked in this generation
  // The symbols without repeats, each at its first occurrence, in place.
  void keepFirstOccurrences(Symbols& symbols);
  // Appends the symbols of `more` not yet marked, marking them.
  void appendUnmarked(Symbols& into, const Symbols& more);
  // The lookahead of the items added for the symbol after the dot of (p, d).
  int derivedLookahead(int production, int dot, int parent);
  // A number for each (production, dot), to index the scratch tables below.
  size_t positionOf(const StateItem& item) const {
    return restBase_[static_cast<size_t>(item.production)] + static_cast<size_t>(item.dot);
  }
  // Starts a closure: every scratch mark of the last one becomes stale.
  void newMarks();

  const Grammar& grammar_;
  OrderedFirst first_;
  std::vector<size_t> restBase_;  // where production p's positions start in rests_
  std::vector<Rest> rests_;
  std::vector<std::vector<Start>> starts_;  // by symbol
  std::vector<char> startsKnown_;
  mutable std::vector<int> slot_;      // by symbol, scratch of gotoKernels
  std::vector<unsigned> symbolMarks_;  // by symbol, scratch of keepFirstOccurrences
  unsigned symbolGeneration_ = 0;
  // derivedLookahead by (position, parent lookahead), made when first asked.
  HashIndex derived_;
  std::vector<unsigned long long> derivedKeys_;
  std::vector<int> derivedLookaheads_;
  LookaheadPool pool_;
  // Scratch of one closure, by position: the closure that last met the
  // core, the lookahead it met first, and where the core stands in the result.
  unsigned generation_ = 0;
  std::vector<unsigned> met_;
  std::vector<int> firstLookahead_;
  std::vector<size_t> coreSlot_;
  // The further lookaheads of a core met with several: by position, the
  // last of a list that runs through more_ (-1 for none).
  struct More {
    int lookahead;
    int next;
  };
  std::vector<int> moreLookaheads_;
  std::vector<More> more_;
  // Scratch of the merge of a closure's cores: the chain of each core's
  // items, and the buffer a joined lookahead is made in.
  std::vector<int> firstOfCore_, lastOfCore_, nextOfCore_;
  Symbols joined_;
};
