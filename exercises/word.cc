#include "exercises/word.h"

#include <array>
#include <climits>
#include <cstdlib>

#include "exercises/ambiguity.h"
#include "exercises/grammar_traits.h"

namespace {

constexpr int kUnbounded = INT_MAX;
constexpr int kSamples = 16;

bool isNonTerminal(char c) { return c >= 'A' && c <= 'Z'; }

class Deriver {
 public:
  explicit Deriver(const Parsing& grammar) : productions_(productionList(grammar)) {
    // The height of a non-terminal: how deep its shortest derivation tree is.
    height_.fill(kUnbounded);
    for (bool changed = true; changed;) {
      changed = false;
      for (const CharProduction& p : productions_) {
        int h = heightOf(p);
        int& known = height_[static_cast<unsigned char>(p.head)];
        if (h < known) known = h, changed = true;
      }
    }
  }

  bool derives(char x) const { return height_[static_cast<unsigned char>(x)] != kUnbounded; }

  // A leftmost derivation from x; `choices` free choices, then the lowest.
  std::string derive(char x, SeededRandom& random, int choices) const {
    std::string word, pending(1, x);  // still to derive, leftmost last
    while (!pending.empty()) {
      char c = pending.back();
      pending.pop_back();
      if (!isNonTerminal(c)) {
        word += c;
        continue;
      }
      std::vector<const CharProduction*> usable;
      const CharProduction* lowest = nullptr;
      for (const CharProduction& p : productions_) {
        if (p.head != c || heightOf(p) == kUnbounded) continue;
        usable.push_back(&p);
        if (lowest == nullptr || heightOf(p) < heightOf(*lowest)) lowest = &p;
      }
      const CharProduction* chosen = choices-- > 0 ? random.pick(usable) : lowest;
      pending.append(chosen->body.rbegin(), chosen->body.rend());
    }
    return word;
  }

 private:
  int heightOf(const CharProduction& p) const {
    int h = 1;
    for (char c : p.body) {
      if (!isNonTerminal(c)) continue;
      int below = height_[static_cast<unsigned char>(c)];
      if (below == kUnbounded) return kUnbounded;
      h = std::max(h, below + 1);
    }
    return h;
  }

  std::vector<CharProduction> productions_;
  std::array<int, 256> height_;
};

}  // namespace

std::optional<std::string> sampleWord(const Parsing& grammar, SeededRandom& random, int wantedLength) {
  if (grammar.rules.getCount() == 0) return std::nullopt;
  Deriver deriver(grammar);
  char start = grammar.rules[0][0];
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
