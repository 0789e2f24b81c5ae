#include "exercises/word.h"

#include <cstdlib>

#include "exercises/ambiguity.h"
#include "grammar/grammar_sets.h"

namespace {

constexpr int kSamples = 16;

// Words derived leftmost from the typed grammar, each step choosing among
// the productions that lead to a word.
class Deriver {
 public:
  explicit Deriver(const Grammar& grammar) : grammar_(grammar), heights_(derivationHeights(grammar)) {}

  bool derives(Symbol x) const { return heights_[static_cast<size_t>(x)] != kNoDerivation; }

  // A leftmost derivation from x; `choices` free choices, then the lowest.
  std::string derive(Symbol x, SeededRandom& random, int choices) const {
    std::string word;
    Symbols pending{x};  // still to derive, leftmost last
    while (!pending.empty()) {
      Symbol s = pending.back();
      pending.pop_back();
      if (grammar_.isTerminal(s)) {
        word += grammar_.name(s);
        continue;
      }
      std::vector<const Production*> usable;
      const Production* lowest = nullptr;
      for (const Production& p : grammar_.productions) {
        if (p.head != s || heightOf(p) == kNoDerivation) continue;
        usable.push_back(&p);
        if (lowest == nullptr || heightOf(p) < heightOf(*lowest)) lowest = &p;
      }
      const Production* chosen = choices-- > 0 ? random.pick(usable) : lowest;
      pending.insert(pending.end(), chosen->body.rbegin(), chosen->body.rend());
    }
    return word;
  }

 private:
  int heightOf(const Production& p) const { return bodyHeight(heights_, p.body); }

  const Grammar& grammar_;
  std::vector<int> heights_;
};

}  // namespace

std::optional<std::string> sampleWord(const Parsing& grammar, SeededRandom& random, int wantedLength) {
  if (grammar.typed.productions.empty()) return std::nullopt;
  Deriver deriver(grammar.typed);
  Symbol start = grammar.typed.start();
  if (!deriver.derives(start)) return std::nullopt;
  std::string best;
  for (int k = 0; k < kSamples; ++k) {
    std::string word = deriver.derive(start, random, 2 + wantedLength);
    int distance = std::abs(static_cast<int>(word.size()) - wantedLength);
    if (k == 0 || distance < std::abs(static_cast<int>(best.size()) - wantedLength)) best = word;
  }
  if (countParseTrees(grammar, best) == 0) return std::nullopt;
  return best;
}
