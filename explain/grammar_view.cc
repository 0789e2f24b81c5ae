// The sets are computed by the textbook fixed points over the productions,
// independently of the model's own walks; the two agree (the fuzzer checks
// the model against the same definitions).
#include "explain/grammar_view.h"

#include <bitset>

#include "grammar/parsing.h"

namespace {

using Set = std::bitset<256>;

std::string textOf(const Set& set) {
  std::string out;
  for (int c = 0; c < 256; ++c)
    if (set[static_cast<size_t>(c)]) out += static_cast<char>(c);
  return out;
}

unsigned char code(char c) { return static_cast<unsigned char>(c); }

}  // namespace

GrammarView::GrammarView(const Parsing& model) {
  symbols_.fill(kNoSymbol);
  for (Symbol s = 0; s <= model.typed.endMarker(); ++s) {
    char c = s == model.typed.endMarker() ? '$' : model.typed.name(s)[0];
    characters_ += c;
    symbols_[static_cast<unsigned char>(c)] = s;
  }
  for (const HString& rule : model.rules) nonterminals_ += rule[0];
  for (const HString& text : model.productions) {
    std::string body(text.view().substr(3));
    if (body == "e") body.clear();
    alternatives_[code(text[0])].push_back(static_cast<int>(productions_.size()));
    productions_.push_back({text[0], body});
  }
  Set terminals;
  for (const Production& p : productions_)
    for (char c : p.body)
      if (!isNonterminal(c)) terminals.set(code(c));
  terminals_ = textOf(terminals);

  std::array<Set, 256> first;
  for (bool changed = true; changed;) {
    changed = false;
    for (const Production& p : productions_) {
      Set& into = first[code(p.head)];
      Set before = into;
      bool all = true;
      for (char c : p.body) {
        if (!isNonterminal(c)) {
          into.set(code(c));
          all = false;
          break;
        }
        into |= first[code(c)];
        if (!nullable_[code(c)]) {
          all = false;
          break;
        }
      }
      if (all && !nullable_[code(p.head)]) nullable_[code(p.head)] = changed = true;
      if (into != before) changed = true;
    }
  }
  for (char x : nonterminals_) first_[code(x)] = textOf(first[code(x)]);

  std::array<Set, 256> follow;
  if (!nonterminals_.empty()) follow[code(start())].set(code('$'));
  for (bool changed = true; changed;) {
    changed = false;
    for (const Production& p : productions_)
      for (size_t i = 0; i < p.body.size(); ++i) {
        char a = p.body[i];
        if (!isNonterminal(a)) continue;
        Set before = follow[code(a)];
        std::string_view rest = std::string_view(p.body).substr(i + 1);
        for (char t : firstOf(rest)) follow[code(a)].set(code(t));
        if (vanishes(rest)) follow[code(a)] |= follow[code(p.head)];
        if (follow[code(a)] != before) changed = true;
      }
  }
  for (char x : nonterminals_) follow_[code(x)] = textOf(follow[code(x)]);
}

std::string GrammarView::productionText(int p) const {
  const Production& production = this->production(p);
  return std::string(1, production.head) + "->" + (production.body.empty() ? "e" : production.body);
}

std::string GrammarView::first(char x) const { return isNonterminal(x) ? first_[code(x)] : std::string(1, x); }

bool GrammarView::inFirst(char x, char t) const {
  return isNonterminal(x) ? first_[code(x)].find(t) != std::string::npos : x == t;
}

bool GrammarView::vanishes(std::string_view symbols) const {
  for (char c : symbols)
    if (!nullable(c)) return false;
  return true;
}

std::string GrammarView::firstOf(std::string_view symbols) const {
  Set set;
  for (char c : symbols) {
    for (char t : first(c)) set.set(code(t));
    if (!nullable(c)) break;
  }
  return textOf(set);
}

bool GrammarView::beginsWith(std::string_view symbols, char t) const {
  for (char c : symbols) {
    if (inFirst(c, t)) return true;
    if (!nullable(c)) return false;
  }
  return false;
}

std::string GrammarView::text(const Symbols& symbols) const {
  std::string out;
  for (Symbol s : symbols) out += character(s);
  return out;
}
