// The typed grammar: symbols are numbers with names, productions are records
// of a head and a body of symbol numbers.
//
// A Grammar is what both notations read into.  The classic notation (one
// character a symbol, "X->ab|e") is read by grammar/reading.cc into rule
// lines for Parsing, and classicGrammar turns those lines into a Grammar; the
// token notation ("E -> E + T | id") is read by grammar/token_reading.cc
// straight into one.  Symbol numbers are dense: the non-terminals first, in
// the order their rules come, then the terminals in the order they are first
// met.  Productions are numbered as the classic model numbers them: rule by
// rule, each rule's alternatives left to right, so production 0 is the first
// alternative of the first rule.  The empty string is an empty body; no
// symbol stands for it.  Nothing here makes text; names are kept as written
// and the notation says how a printer must write them back.
#pragma once

#include <optional>
#include <string>
#include <vector>

enum class Notation { kClassic, kTokens };

using Symbol = int;
inline constexpr Symbol kNoSymbol = -1;
// The empty string where a sequence of symbols must name it (a First set).
inline constexpr Symbol kEmpty = -2;
// A string of symbols: a body, a First set, a lookahead set, a word.
using Symbols = std::vector<Symbol>;

struct SymbolInfo {
  std::string name;
  bool terminal;
};

struct Production {
  Symbol head;
  Symbols body;  // empty for the empty string
  bool operator==(const Production&) const = default;
};

struct Grammar {
  Notation notation = Notation::kClassic;
  std::vector<SymbolInfo> symbols;
  std::vector<Production> productions;

  int symbolCount() const { return static_cast<int>(symbols.size()); }
  const std::string& name(Symbol s) const { return symbols[static_cast<size_t>(s)].name; }
  bool isTerminal(Symbol s) const { return symbols[static_cast<size_t>(s)].terminal; }
  // The end of input: the number after the grammar's own symbols, so that
  // whatever is indexed by symbol has room for it at symbolCount().
  Symbol endMarker() const { return symbolCount(); }
  // The place of a terminal (or the end marker) in the order sets and table
  // columns are written in.  The classic notation orders by character code,
  // as its texts always have, the end marker '$' among them; the token
  // notation keeps the order terminals are first met in, the end last.
  int rank(Symbol s) const;
  // The head of production 0, or kNoSymbol for a grammar without productions.
  Symbol start() const { return productions.empty() ? kNoSymbol : productions.front().head; }
  // The symbol of that name, or kNoSymbol.
  Symbol symbolNamed(const std::string& name) const;
  // The non-terminals in symbol order.
  std::vector<Symbol> nonTerminals() const;
  // The numbers of the productions of `head`, in order.
  std::vector<int> productionsOf(Symbol head) const;
  // Adds a symbol and gives its number; the caller keeps names unique.
  Symbol addSymbol(std::string name, bool terminal);
};

// A grammar from the rule lines of a sound classic reading ("X->ab|e"); the
// reading lets 'e' stand only alone, as the empty body.
Grammar classicGrammar(const std::vector<std::string>& ruleLines);

// The names of the symbols of a word: one a character in the classic
// notation, tokens between blanks in the token notation.
std::vector<std::string> wordTokens(Notation notation, const std::string& word);

// Whether the first rule augments the grammar: it has one alternative and
// its head stands in no right side, so reducing by it can only accept.
bool firstRuleAugments(const Grammar& grammar);
// The grammar with a start rule S' -> S put first: its head is symbol 0,
// the other symbols keep their order one number up, and production p
// becomes p + 1.  The token notation's analyses work on this whenever the
// first rule does not augment, as textbooks number the productions of
// E -> E + T | T from E' -> E; the classic notation leaves the start rule
// to whoever writes the grammar, as it always has.
Grammar withStartRule(const Grammar& grammar);

// A non-terminal name not yet used, for the rules a transformation adds.
// The token notation primes the base name (E', E'', ...); the classic one
// takes an unused upper-case letter, the base's own when free, else the
// first free one from 'Z' down, and has none when all 26 are used.
std::optional<std::string> freshNonTerminalName(const Grammar& grammar, const std::string& base);
