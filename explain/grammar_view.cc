// The productions and sets come from the typed grammar the model carries
// and from grammar_sets, which compute them by the textbook fixed points,
// independently of the model's own walks (the fuzzer checks the two agree).
#include "explain/grammar_view.h"

#include <algorithm>

#include "grammar/parsing.h"
#include "grammar/symbol_text.h"

GrammarView::GrammarView(const Parsing& model) : GrammarView(model.typed) {}

GrammarView::GrammarView(Grammar grammar) : grammar_(std::move(grammar)), sets_(predictionSets(grammar_)) {
  const Grammar& g = grammar_;
  size_t count = static_cast<size_t>(g.symbolCount()) + 1;
  alternatives_.resize(count);
  follow_.resize(count);
  nonterminals_ = g.nonTerminals();
  for (size_t p = 0; p < g.productions.size(); ++p) {
    const ::Production& production = g.productions[p];
    alternatives_[static_cast<size_t>(production.head)].push_back(static_cast<int>(p));
    productions_.push_back({production.head, production.body, ::productionText(g, static_cast<int>(p))});
  }
  SymbolSet terminals(static_cast<size_t>(g.symbolCount()));
  for (Symbol s = 0; s < g.symbolCount(); ++s) terminals[static_cast<size_t>(s)] = g.isTerminal(s);
  terminals_ = inWritingOrder(g, terminals);
  for (Symbol x : nonterminals_) {
    auto at = static_cast<size_t>(x);
    follow_[at] = inWritingOrder(g, sets_.follow[at], sets_.followsEnd[at]);
  }
}

const std::vector<int>& GrammarView::alternatives(Symbol x) const {
  static const std::vector<int> kNone;
  return isNonterminal(x) ? alternatives_[static_cast<size_t>(x)] : kNone;
}

Symbols GrammarView::first(Symbol x) const {
  if (!isNonterminal(x)) return {x};
  return inWritingOrder(grammar_, sets_.first[static_cast<size_t>(x)]);
}

bool GrammarView::inFirst(Symbol x, Symbol t) const {
  if (!isNonterminal(x)) return x == t;
  return t >= 0 && t < grammar_.symbolCount() && sets_.first[static_cast<size_t>(x)][static_cast<size_t>(t)];
}

const Symbols& GrammarView::follow(Symbol a) const {
  static const Symbols kNone;
  return isNonterminal(a) ? follow_[static_cast<size_t>(a)] : kNone;
}

bool GrammarView::inFollow(Symbol a, Symbol t) const {
  const Symbols& set = follow(a);
  return std::find(set.begin(), set.end(), t) != set.end();
}

bool GrammarView::vanishes(std::span<const Symbol> symbols) const {
  return std::all_of(symbols.begin(), symbols.end(), [&](Symbol s) { return nullable(s); });
}

Symbols GrammarView::firstOf(std::span<const Symbol> symbols) const {
  return inWritingOrder(grammar_, firstOfString(sets_, Symbols(symbols.begin(), symbols.end())));
}

bool GrammarView::beginsWith(std::span<const Symbol> symbols, Symbol t) const {
  for (Symbol s : symbols) {
    if (inFirst(s, t)) return true;
    if (!nullable(s)) return false;
  }
  return false;
}

std::string GrammarView::text(Symbol s) const { return symbolText(grammar_, s); }

std::string GrammarView::text(std::span<const Symbol> symbols) const { return symbolsText(grammar_, symbols); }

std::string GrammarView::formText(std::span<const Symbol> symbols) const { return bodyText(grammar_, symbols); }

