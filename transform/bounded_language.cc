// The words of each symbol are built by length: words[s][n] holds what s
// derives with n terminals.  For a length n, every production's body is
// combined from the words of its symbols whose lengths add up to n, again
// and again until no set grows, since a body may reach a word of length n
// through a symbol whose words of that length are still being found (unit
// and vanishing symbols).  Lengths below n are final by then.
#include "transform/bounded_language.h"

#include <algorithm>

#include "core/work.h"

namespace {

using Ids = std::vector<Symbol>;
using WordsByLength = std::vector<std::set<Ids>>;

class LanguageBuilder {
 public:
  LanguageBuilder(const Grammar& grammar, int maxLength, size_t maxWords)
      : grammar_(grammar), maxLength_(static_cast<size_t>(maxLength)), maxWords_(maxWords),
        words_(static_cast<size_t>(grammar.symbolCount()), WordsByLength(maxLength_ + 1)) {
    for (Symbol s = 0; s < grammar.symbolCount(); ++s)
      if (grammar.isTerminal(s) && maxLength_ >= 1) words_[static_cast<size_t>(s)][1].insert(Ids{s});
  }

  // False when a set outgrew the bound.
  bool build() {
    for (size_t n = 0; n <= maxLength_; ++n)
      for (bool grew = true; grew;) {
        grew = false;
        for (const Production& p : grammar_.productions) {
          std::set<Ids> made = bodyWords(p.body, n);
          auto& into = words_[static_cast<size_t>(p.head)][n];
          for (const Ids& word : made) grew = into.insert(word).second || grew;
          if (into.size() > maxWords_) return false;
          noteWork();
        }
      }
    return true;
  }

  const WordsByLength& wordsOf(Symbol s) const { return words_[static_cast<size_t>(s)]; }

 private:
  // The words of exactly n terminals the body derives with the sets as they stand.
  std::set<Ids> bodyWords(const std::vector<Symbol>& body, size_t n) const {
    std::vector<std::set<Ids>> partial(n + 1);  // by length, what the body's first symbols derive
    partial[0].insert(Ids{});
    for (Symbol s : body) {
      std::vector<std::set<Ids>> next(n + 1);
      for (size_t have = 0; have <= n; ++have)
        for (const Ids& left : partial[have])
          for (size_t add = 0; have + add <= n; ++add)
            for (const Ids& right : words_[static_cast<size_t>(s)][add]) {
              Ids joined = left;
              joined.insert(joined.end(), right.begin(), right.end());
              next[have + add].insert(std::move(joined));
            }
      partial = std::move(next);
    }
    return std::move(partial[n]);
  }

  const Grammar& grammar_;
  size_t maxLength_, maxWords_;
  std::vector<WordsByLength> words_;
};

}  // namespace

BoundedLanguage boundedLanguage(const Grammar& grammar, int maxLength, size_t maxWords) {
  BoundedLanguage language;
  if (grammar.start() == kNoSymbol) return language;
  LanguageBuilder builder(grammar, maxLength, maxWords);
  language.complete = builder.build();
  if (!language.complete) return language;
  for (const auto& byLength : builder.wordsOf(grammar.start()))
    for (const Ids& ids : byLength) {
      Word word;
      for (Symbol s : ids) word.push_back(grammar.name(s));
      language.words.insert(std::move(word));
    }
  return language;
}

std::optional<LanguageDifference> languageDifference(const Grammar& first, const Grammar& second, int maxLength,
                                                     bool* decided) {
  BoundedLanguage a = boundedLanguage(first, maxLength), b = boundedLanguage(second, maxLength);
  if (decided) *decided = a.complete && b.complete;
  if (!a.complete || !b.complete) return std::nullopt;
  std::optional<LanguageDifference> found;
  auto consider = [&](const std::set<Word>& from, const std::set<Word>& other, bool inFirst) {
    for (const Word& word : from)
      if (!other.count(word)) {
        bool better = !found || word.size() < found->word.size() || (word.size() == found->word.size() && word < found->word);
        if (better) found = LanguageDifference{word, inFirst};
      }
  };
  consider(a.words, b.words, true);
  consider(b.words, a.words, false);
  return found;
}
