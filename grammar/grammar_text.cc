#include "grammar/grammar_text.h"

namespace {

bool isNameCharacter(char c) {
  auto u = static_cast<unsigned char>(c);
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '\'' ||
         u >= 0x80;
}
bool isPunctuation(char c) {
  auto u = static_cast<unsigned char>(c);
  return u > 32 && u < 127 && !isNameCharacter(c) && c != '"' && c != '|';
}

// A terminal that would read back as another token, or as several, is quoted.
std::string tokenText(const SymbolInfo& symbol) {
  const std::string& name = symbol.name;
  bool plainName = true, plainPunctuation = true;
  for (char c : name) {
    plainName = plainName && isNameCharacter(c);
    plainPunctuation = plainPunctuation && isPunctuation(c);
  }
  bool readsBack = (plainName && name[0] != '\'') || (plainPunctuation && name != "->");
  if (!symbol.terminal || (readsBack && name != "\xCE\xB5")) return name;
  char quote = name.find('\'') == std::string::npos ? '\'' : '"';
  return quote + name + quote;
}

}  // namespace

bool fitsClassicNotation(const Grammar& grammar) {
  for (const SymbolInfo& symbol : grammar.symbols) {
    if (symbol.name.size() != 1) return false;
    char c = symbol.name[0];
    bool upper = c >= 'A' && c <= 'Z';
    if (symbol.terminal ? (upper || c == '|' || c == 'e' || c == '$') : !upper) return false;
  }
  return true;
}

std::string writtenBody(const Grammar& grammar, const std::vector<Symbol>& body) {
  bool classic = grammar.notation == Notation::kClassic;
  if (body.empty()) return classic ? "e" : "\xCE\xB5";
  std::string text;
  for (Symbol s : body) {
    if (!classic && !text.empty()) text += ' ';
    text += classic ? grammar.name(s) : tokenText(grammar.symbols[static_cast<size_t>(s)]);
  }
  return text;
}

std::string writtenProduction(const Grammar& grammar, int production) {
  const Production& p = grammar.productions[static_cast<size_t>(production)];
  return grammar.name(p.head) + (grammar.notation == Notation::kClassic ? "->" : " -> ") + writtenBody(grammar, p.body);
}

std::string ruleText(const Grammar& grammar, Symbol head) {
  bool classic = grammar.notation == Notation::kClassic;
  std::string text = grammar.name(head) + (classic ? "->" : " -> ");
  bool first = true;
  for (const Production& p : grammar.productions) {
    if (p.head != head) continue;
    if (!first) text += classic ? "|" : " | ";
    text += writtenBody(grammar, p.body);
    first = false;
  }
  return text;
}

std::string grammarText(const Grammar& grammar) {
  std::string text = grammar.notation == Notation::kClassic ? "" : "#notation: tokens\n";
  std::vector<bool> written(static_cast<size_t>(grammar.symbolCount()));
  for (const Production& p : grammar.productions) {
    if (written[static_cast<size_t>(p.head)]) continue;
    written[static_cast<size_t>(p.head)] = true;
    text += ruleText(grammar, p.head) + "\n";
  }
  return text;
}
