#include "grammar/grammar.h"

#include <algorithm>
#include <cctype>

Symbol Grammar::symbolNamed(const std::string& name) const {
  for (Symbol s = 0; s < symbolCount(); ++s)
    if (symbols[static_cast<size_t>(s)].name == name) return s;
  return kNoSymbol;
}

std::vector<Symbol> Grammar::nonTerminals() const {
  std::vector<Symbol> out;
  for (Symbol s = 0; s < symbolCount(); ++s)
    if (!isTerminal(s)) out.push_back(s);
  return out;
}

std::vector<int> Grammar::productionsOf(Symbol head) const {
  std::vector<int> out;
  for (size_t p = 0; p < productions.size(); ++p)
    if (productions[p].head == head) out.push_back(static_cast<int>(p));
  return out;
}

int Grammar::rank(Symbol s) const {
  if (notation == Notation::kTokens) return s;
  if (s == endMarker()) return '$';
  return static_cast<unsigned char>(name(s)[0]);
}

Symbol Grammar::addSymbol(std::string name, bool terminal) {
  symbols.push_back(SymbolInfo{std::move(name), terminal});
  return symbolCount() - 1;
}

// Two passes, so that the non-terminals take the first numbers whatever the
// order in which right sides use them.
Grammar classicGrammar(const std::vector<std::string>& ruleLines) {
  Grammar grammar;
  grammar.notation = Notation::kClassic;
  Symbol byCharacter[256];
  std::fill(std::begin(byCharacter), std::end(byCharacter), kNoSymbol);
  auto symbolOf = [&](char c, bool terminal) {
    Symbol& s = byCharacter[static_cast<unsigned char>(c)];
    if (s == kNoSymbol) s = grammar.addSymbol(std::string(1, c), terminal);
    return s;
  };
  for (const std::string& line : ruleLines) symbolOf(line[0], false);
  for (const std::string& line : ruleLines) {
    Symbol head = byCharacter[static_cast<unsigned char>(line[0])];
    size_t start = 3;
    while (start <= line.size()) {
      size_t end = std::min(line.find('|', start), line.size());
      Production production{head, {}};
      std::string_view alternative(line.data() + start, end - start);
      production.body.reserve(alternative.size());
      if (alternative != "e")
        for (char c : alternative) production.body.push_back(symbolOf(c, c < 'A' || c > 'Z'));
      grammar.productions.push_back(std::move(production));
      start = end + 1;
    }
  }
  return grammar;
}

std::vector<std::string> wordTokens(Notation notation, const std::string& word) {
  std::vector<std::string> tokens;
  if (notation == Notation::kClassic) {
    for (char c : word) tokens.emplace_back(1, c);
    return tokens;
  }
  size_t at = 0;
  while (at < word.size()) {
    size_t start = word.find_first_not_of(" \t\r\n", at);
    if (start == std::string::npos) break;
    size_t end = word.find_first_of(" \t\r\n", start);
    if (end == std::string::npos) end = word.size();
    tokens.push_back(word.substr(start, end - start));
    at = end;
  }
  return tokens;
}

bool firstRuleAugments(const Grammar& grammar) {
  if (grammar.productions.empty()) return true;
  Symbol start = grammar.start();
  if (grammar.productionsOf(start).size() != 1) return false;
  for (const Production& p : grammar.productions)
    if (std::find(p.body.begin(), p.body.end(), start) != p.body.end()) return false;
  return true;
}

Grammar withStartRule(const Grammar& grammar) {
  Grammar out;
  out.notation = grammar.notation;
  std::optional<std::string> name = freshNonTerminalName(grammar, grammar.name(grammar.start()));
  out.addSymbol(name ? *name : grammar.name(grammar.start()) + "'", false);
  for (const SymbolInfo& symbol : grammar.symbols) out.addSymbol(symbol.name, symbol.terminal);
  out.productions.push_back(Production{0, {grammar.start() + 1}});
  for (const Production& p : grammar.productions) {
    Production moved{p.head + 1, p.body};
    for (Symbol& s : moved.body) ++s;
    out.productions.push_back(std::move(moved));
  }
  return out;
}

std::optional<std::string> freshNonTerminalName(const Grammar& grammar, const std::string& base) {
  if (grammar.notation == Notation::kTokens) {
    // A terminal such as "+" is no name to prime; its rule is then named N', N'', ...
    bool plain = !base.empty() && base[0] != '\'' && std::all_of(base.begin(), base.end(), [](char c) {
      return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '\'' || static_cast<unsigned char>(c) >= 0x80;
    });
    std::string name = (plain ? base : std::string("N")) + "'";
    while (grammar.symbolNamed(name) != kNoSymbol) name += "'";
    return name;
  }
  auto free = [&](char c) { return grammar.symbolNamed(std::string(1, c)) == kNoSymbol; };
  if (base.size() == 1 && base[0] >= 'A' && base[0] <= 'Z' && free(base[0])) return base;
  for (char c = 'Z'; c >= 'A'; --c)
    if (free(c)) return std::string(1, c);
  return std::nullopt;
}
