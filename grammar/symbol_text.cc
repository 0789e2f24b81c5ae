#include "grammar/symbol_text.h"

#include "grammar/grammar_text.h"

std::string_view symbolName(const Grammar& grammar, Symbol s) {
  if (s == kEmpty) return grammar.notation == Notation::kTokens ? "\xCE\xB5" : "e";
  if (s == grammar.endMarker()) return "$";
  return grammar.name(s);
}

std::string symbolText(const Grammar& grammar, Symbol s) { return std::string(symbolName(grammar, s)); }

std::string symbolsText(const Grammar& grammar, std::span<const Symbol> symbols) {
  std::string text;
  const char* separator = symbolSeparator(grammar);
  for (size_t i = 0; i < symbols.size(); ++i) {
    if (i > 0) text += separator;
    text += symbolName(grammar, symbols[i]);
  }
  return text;
}

std::string bodyText(const Grammar& grammar, std::span<const Symbol> body) {
  return body.empty() ? symbolText(grammar, kEmpty) : symbolsText(grammar, body);
}

// A production is shown as it would be written, so a terminal such as '|'
// keeps the quotes that tell it from the bar between alternatives.
std::string productionText(const Grammar& grammar, int production) {
  return productionText(grammar, grammar.productions[static_cast<size_t>(production)]);
}

std::string productionText(const Grammar& grammar, const Production& p) {
  if (grammar.notation == Notation::kClassic) return grammar.name(p.head) + "->" + bodyText(grammar, p.body);
  return grammar.name(p.head) + " -> " + writtenBody(grammar, p.body);
}
