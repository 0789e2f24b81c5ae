// The words of each symbol are built by length: words[s][n] holds what s
// derives with n terminals.  For a length n, every production's body is
// combined from the words of its symbols whose lengths add up to n, again
// and again until no set grows, since a body may reach a word of length n
// through a symbol whose words of that length are still being found (unit
// and vanishing symbols).  Lengths below n are final by then.
#include "transform/bounded_language.h"

#include <algorithm>
#include <optional>
#include <unordered_set>

#include "core/work.h"

namespace {

// A word as two bytes a symbol number: short words stay inside the string
// and hash fast, where vectors of numbers would each take an allocation.
using Ids = std::string;
using WordSet = std::unordered_set<Ids>;
using WordsByLength = std::vector<WordSet>;

Ids idsOf(Symbol s) { return {static_cast<char>(s >> 8), static_cast<char>(s & 0xff)}; }
Symbol symbolAt(const Ids& ids, size_t k) {
  return (static_cast<unsigned char>(ids[2 * k]) << 8) | static_cast<unsigned char>(ids[2 * k + 1]);
}

class LanguageBuilder {
 public:
  LanguageBuilder(const Grammar& grammar, int maxLength, size_t maxWords)
      : grammar_(grammar), maxLength_(static_cast<size_t>(maxLength)), maxWords_(maxWords),
        words_(static_cast<size_t>(grammar.symbolCount()), WordsByLength(maxLength_ + 1)) {
    for (Symbol s = 0; s < grammar.symbolCount(); ++s)
      if (grammar.isTerminal(s) && maxLength_ >= 1) words_[static_cast<size_t>(s)][1].insert(idsOf(s));
  }

  // The greatest length whose words are all found: maxLength, or less
  // when a set of some length outgrew the bound (-1 when the empty word's did).
  int build() {
    for (size_t n = 0; n <= maxLength_; ++n)
      for (bool grew = true; grew;) {
        grew = false;
        for (const Production& p : grammar_.productions) {
          std::optional<WordSet> made = bodyWords(p.body, n);
          if (!made) return static_cast<int>(n) - 1;
          auto& into = words_[static_cast<size_t>(p.head)][n];
          for (const Ids& word : *made) grew = into.insert(word).second || grew;
          if (into.size() > maxWords_) return static_cast<int>(n) - 1;
          noteWork();
        }
      }
    return static_cast<int>(maxLength_);
  }

  const WordsByLength& wordsOf(Symbol s) const { return words_[static_cast<size_t>(s)]; }

 private:
  // The words of exactly n terminals the body derives with the sets as they
  // stand, or nothing when some part of the body outgrows the bound: the
  // product of two large sets would take far longer than the bound means to
  // spend, so the length is given up before it is built.
  std::optional<WordSet> bodyWords(const std::vector<Symbol>& body, size_t n) const {
    std::vector<WordSet> partial(n + 1);  // by length, what the body's first symbols derive
    partial[0].insert(Ids{});
    for (size_t k = 0; k < body.size(); ++k) {
      std::vector<WordSet> next(n + 1);
      const WordsByLength& words = words_[static_cast<size_t>(body[k])];
      for (size_t have = 0; have <= n; ++have)
        for (const Ids& left : partial[have])
          for (size_t add = 0; have + add <= n; ++add)
            for (const Ids& right : words[add])
              if (next[have + add].insert(left + right).second && next[have + add].size() > maxWords_) return std::nullopt;
      partial = std::move(next);
    }
    return std::move(partial[n]);
  }

  const Grammar& grammar_;
  size_t maxLength_, maxWords_;
  std::vector<WordsByLength> words_;
};

}  // namespace

std::string wordText(const Word& word) {
  std::string text;
  for (const std::string& symbol : word) text += (text.empty() ? "" : " ") + symbol;
  return text.empty() ? "the empty word" : "\"" + text + "\"";
}

BoundedLanguage boundedLanguage(const Grammar& grammar, int maxLength, size_t maxWords) {
  BoundedLanguage language;
  if (grammar.start() == kNoSymbol) return language;
  LanguageBuilder builder(grammar, maxLength, maxWords);
  language.length = builder.build();
  const WordsByLength& words = builder.wordsOf(grammar.start());
  for (int n = 0; n <= language.length; ++n)
    for (const Ids& ids : words[static_cast<size_t>(n)]) {
      Word word;
      for (size_t k = 0; k < ids.size() / 2; ++k) word.push_back(grammar.name(symbolAt(ids, k)));
      language.words.insert(std::move(word));
    }
  return language;
}

std::optional<LanguageDifference> languageDifference(const Grammar& first, const Grammar& second, int maxLength,
                                                     bool* decided, int* comparedLength) {
  BoundedLanguage a = boundedLanguage(first, maxLength), b = boundedLanguage(second, maxLength);
  int length = std::min(a.length, b.length);
  if (decided) *decided = length == maxLength;
  if (comparedLength) *comparedLength = length;
  std::optional<LanguageDifference> found;
  auto consider = [&](const std::set<Word>& from, const std::set<Word>& other, bool inFirst) {
    for (const Word& word : from)
      if (static_cast<int>(word.size()) <= length && !other.count(word)) {
        bool better = !found || word.size() < found->word.size() || (word.size() == found->word.size() && word < found->word);
        if (better) found = LanguageDifference{word, inFirst};
      }
  };
  consider(a.words, b.words, true);
  consider(b.words, a.words, false);
  return found;
}
