#include "grammar/symbol_text.h"

#include "grammar/grammar_text.h"

std::string_view symbolName(const Grammar& grammar, Symbol s) {
  if (s == kEmpty) return grammar.notation == Notation::kTokens ? "\xCE\xB5" : "e";
  if (s == grammar.endMarker()) return "$";
  return grammar.name(s);
}

std::string symbolText(const Grammar& grammar, Symbol s) { return std::string(symbolName(grammar, s)); }

// The lookaheads of a listing or a graph are written by the thousand, most
// of them of one-character names: a character is pushed, not copied.
std::string symbolsText(const Grammar& grammar, std::span<const Symbol> symbols) {
  std::string_view separator = symbolSeparator(grammar);
  std::string text;
  text.reserve(symbols.size() * (1 + separator.size()));
  for (size_t i = 0; i < symbols.size(); ++i) {
    if (i > 0) text.append(separator);
    std::string_view name = symbolName(grammar, symbols[i]);
    if (name.size() == 1)
      text.push_back(name[0]);
    else
      text.append(name);
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
