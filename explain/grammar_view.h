// The grammar as the explanations read it: the productions with their
// bodies, the non-terminals in rule order, and the sets every explanation
// starts from (nullable, First, Follow), taken from the typed grammar and
// grammar_sets.  Sets are kept in the order the notation writes them
// (Grammar::rank): by character code in the classic notation, the end
// marker among the terminals, as classic texts always had it.  It holds
// standard containers only, so a worker thread can build and own one.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "grammar/grammar.h"
#include "grammar/grammar_sets.h"

class Parsing;

class GrammarView {
 public:
  struct Production {
    Symbol head;
    Symbols body;      // empty for an empty production
    std::string text;  // as the writers write it, "X->abc" or "E -> E + T"
  };

  explicit GrammarView(const Parsing& model);
  explicit GrammarView(Grammar grammar);

  const Grammar& grammar() const { return grammar_; }
  bool isNonterminal(Symbol s) const { return s >= 0 && s < grammar_.symbolCount() && !grammar_.isTerminal(s); }
  Symbol endMarker() const { return grammar_.endMarker(); }
  const std::vector<Production>& productions() const { return productions_; }
  const Production& production(int p) const { return productions_[static_cast<size_t>(p)]; }
  int productionCount() const { return static_cast<int>(productions_.size()); }
  const std::string& productionText(int p) const { return production(p).text; }
  // The heads of the rules in rule order; the first is the start symbol.
  const Symbols& nonterminals() const { return nonterminals_; }
  Symbol start() const { return nonterminals_.empty() ? kNoSymbol : nonterminals_[0]; }
  bool hasRule(Symbol x) const { return !alternatives(x).empty(); }
  // The numbers of x's productions, in order; none for any other symbol.
  const std::vector<int>& alternatives(Symbol x) const;
  // The terminals of the right sides, in writing order.
  const Symbols& terminals() const { return terminals_; }

  bool nullable(Symbol x) const { return isNonterminal(x) && sets_.nullable[static_cast<size_t>(x)]; }
  // First(x) without the empty string, in writing order; a terminal's is itself.
  Symbols first(Symbol x) const;
  bool inFirst(Symbol x, Symbol t) const;
  // Follow(a): terminals and the end marker, in writing order.
  const Symbols& follow(Symbol a) const;
  bool inFollow(Symbol a, Symbol t) const;
  // Every symbol of the string can vanish (true for the empty string).
  bool vanishes(std::span<const Symbol> symbols) const;
  // First of a string of the grammar's symbols, without the empty string.
  Symbols firstOf(std::span<const Symbol> symbols) const;
  bool beginsWith(std::span<const Symbol> symbols, Symbol t) const;

  // Names as the notation writes them (symbol_text.h).
  std::string text(Symbol s) const;
  std::string text(std::span<const Symbol> symbols) const;
  // A body or form: the empty one is the empty string's mark.
  std::string formText(std::span<const Symbol> symbols) const;


 private:
  Grammar grammar_;
  PredictionSets sets_;
  std::vector<Production> productions_;
  Symbols nonterminals_;
  Symbols terminals_;
  std::vector<std::vector<int>> alternatives_;  // by symbol
  std::vector<Symbols> follow_;                 // by symbol
};
