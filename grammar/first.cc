// First sets: which terminals can begin a derivation of a symbol or a string,
// with 'e' for the empty string.  A depth-first walk that expands each
// non-terminal once per top-level call (the visited flags stop recursion and
// cycles); whether 'e' is passed on rests on the nullable flags alone.
#include "grammar/first.h"

#include <cstring>
#include <string>

#include "core/work.h"
#include "grammar/ordered_first.h"
#include "grammar/symbol_text.h"

namespace {

// Characters in the order they were first added, each once.
class Found {
 public:
  void add(char c) {
    if (seen_[static_cast<unsigned char>(c)]) return;
    seen_[static_cast<unsigned char>(c)] = true;
    text_ += c;
  }
  void add(std::string_view text, bool withoutE) {
    for (char c : text)
      if (!withoutE || c != 'e') add(c);
  }
  std::string& text() { return text_; }

 private:
  std::string text_;
  bool seen_[256] = {};
};

HString textOf(const std::string& text) { return HString(text.data(), static_cast<int>(text.size())); }

}  // namespace

HString Parsing::first(char x) const { return isTerminal(x) ? HString(x) : textOf(firstOfNonTerminal(x)); }

HString Parsing::firstOfString(HString alpha) const { return textOf(firstOfText(alpha.view())); }

// A walk that starts at a non-terminal that cannot vanish gives that
// non-terminal's First and stops, whatever follows; with fresh visited
// flags, that is always the same text.
std::string Parsing::firstOfText(std::string_view alpha) const {
  if (!alpha.empty() && !isTerminal(alpha[0]) && !isNullable(alpha[0])) return firstOfNonTerminal(alpha[0]);
  std::memset(visited, 0, sizeof visited);
  return firstOfSymbols(alpha);
}

const std::string& Parsing::firstOfNonTerminal(char x) const {
  size_t k = static_cast<size_t>(x - 'A');
  if (!firstCached_[k]) {
    std::memset(visited, 0, sizeof visited);
    firstCache_[k] = firstOfSymbol(x);
    firstCached_[k] = true;
  }
  return firstCache_[k];
}

void Parsing::forgetFirsts() {
  for (bool& cached : firstCached_) cached = false;
}

// The walk keeps each set free of repeats as it grows: the set of a symbol
// with many alternatives is their union, not their concatenation.
std::string Parsing::firstOfSymbol(char x) const {
  if (isTerminal(x)) return std::string(1, x);
  unsigned char code = static_cast<unsigned char>(x);
  if (visited[code]) return std::string();
  visited[code] = 1;
  Found found;
  for (const HString& production : productions) {
    noteWork();
    if (production[0] == x) found.add(firstOfSymbols(production.view().substr(3)), false);
  }
  return std::move(found.text());
}

// First(X rest) is First(X) when X cannot vanish, else First(X) without 'e'
// followed by First(rest); the walk goes along the string instead of
// recursing on ever shorter copies of it, so long right sides cost no stack.
std::string Parsing::firstOfSymbols(std::string_view alpha) const {
  Found found;
  for (char c : alpha) {
    std::string head = firstOfSymbol(c);
    if (!isNullable(c)) {
      found.add(head, false);
      return std::move(found.text());
    }
    found.add(head, true);
  }
  found.add('e');
  return std::move(found.text());
}

Row firstListing(const Grammar& grammar) {
  OrderedFirst first(grammar);
  Row lines;
  for (Symbol x : grammar.nonTerminals())
    lines.insertTail(HString(("First(" + grammar.name(x) + "): " + symbolsText(grammar, first.of(x))).c_str()));
  return lines;
}

Row firstListing(const Parsing& model) { return firstListing(model.typed); }
