// The productions and sets come from the typed grammar the model carries
// and from grammar_sets, which compute them by the textbook fixed points,
// independently of the model's own walks (the fuzzer checks the two agree).
// The view names symbols by character, as the classic notation writes them.
#include "explain/grammar_view.h"

#include "automata/automaton.h"
#include "grammar/grammar_sets.h"
#include "grammar/parsing.h"
#include "grammar/symbol_text.h"

namespace {

unsigned char code(char c) { return static_cast<unsigned char>(c); }

std::string charsOf(const Grammar& grammar, const Symbols& symbols) {
  std::string out;
  for (Symbol s : symbols) out += classicCharacter(grammar, s);
  return out;
}

}  // namespace

GrammarView::GrammarView(const Parsing& model) : grammar_(model.typed), sets_(predictionSets(grammar_)) {
  const Grammar& grammar = grammar_;
  symbolOf_.fill(kNoSymbol);
  for (Symbol s = 0; s <= grammar.endMarker(); ++s) symbolOf_[code(classicCharacter(grammar, s))] = s;
  for (Symbol x : grammar.nonTerminals()) nonterminals_ += classicCharacter(grammar, x);
  for (size_t p = 0; p < grammar.productions.size(); ++p) {
    const ::Production& production = grammar.productions[p];
    char head = classicCharacter(grammar, production.head);
    alternatives_[code(head)].push_back(static_cast<int>(p));
    productions_.push_back({head, charsOf(grammar, production.body), ::productionText(grammar, static_cast<int>(p))});
  }
  SymbolSet terminals(static_cast<size_t>(grammar.symbolCount()));
  for (Symbol s = 0; s < grammar.symbolCount(); ++s) terminals[static_cast<size_t>(s)] = grammar.isTerminal(s);
  terminals_ = charsOf(grammar, inWritingOrder(grammar, terminals));

  const PredictionSets& sets = sets_;
  for (Symbol x : grammar.nonTerminals()) {
    auto at = static_cast<size_t>(x);
    char c = classicCharacter(grammar, x);
    nullable_[code(c)] = sets.nullable[at];
    first_[code(c)] = charsOf(grammar, inWritingOrder(grammar, sets.first[at]));
    follow_[code(c)] = charsOf(grammar, inWritingOrder(grammar, sets.follow[at], sets.followsEnd[at]));
  }
}

std::string GrammarView::productionText(int p) const { return production(p).text; }

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
  Symbols typed;
  for (char c : symbols) typed.push_back(symbolOf_[code(c)]);
  return charsOf(grammar_, inWritingOrder(grammar_, firstOfString(sets_, typed)));
}

bool GrammarView::beginsWith(std::string_view symbols, char t) const {
  for (char c : symbols) {
    if (inFirst(c, t)) return true;
    if (!nullable(c)) return false;
  }
  return false;
}

char GrammarView::character(Symbol s) const { return classicCharacter(grammar_, s); }

std::string GrammarView::text(const Symbols& symbols) const { return charsOf(grammar_, symbols); }
