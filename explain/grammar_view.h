// The grammar as the explanations read it: the productions with their
// bodies, the non-terminals in rule order, and the sets every explanation
// starts from (nullable, First, Follow), taken from the typed grammar and
// grammar_sets.  Symbols are characters, as the classic notation writes
// them; a grammar in the token notation has no view yet.  It holds standard
// strings only, so a worker thread can build and own one.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "grammar/grammar.h"
#include "grammar/grammar_sets.h"

class Parsing;

class GrammarView {
 public:
  struct Production {
    char head;
    std::string body;  // empty for an empty production ("X->e")
    std::string text;  // as the writers write it, "X->abc"
  };

  explicit GrammarView(const Parsing& model);

  static bool isNonterminal(char c) { return c >= 'A' && c <= 'Z'; }
  const std::vector<Production>& productions() const { return productions_; }
  const Production& production(int p) const { return productions_[static_cast<size_t>(p)]; }
  int productionCount() const { return static_cast<int>(productions_.size()); }
  // "X->abc", or "X->e" for an empty body.
  std::string productionText(int p) const;
  // The heads of the rules in rule order; the first is the start symbol.
  const std::string& nonterminals() const { return nonterminals_; }
  char start() const { return nonterminals_.empty() ? '\0' : nonterminals_[0]; }
  bool hasRule(char x) const { return isNonterminal(x) && !alternatives(x).empty(); }
  // The numbers of x's productions, in order.
  const std::vector<int>& alternatives(char x) const { return alternatives_[static_cast<unsigned char>(x)]; }
  // The terminals of the right sides, by code.
  const std::string& terminals() const { return terminals_; }

  bool nullable(char x) const { return nullable_[static_cast<unsigned char>(x)]; }
  // First(x) without 'e', by code; a terminal's First set is itself.
  std::string first(char x) const;
  bool inFirst(char x, char t) const;
  // Follow(a): terminals and '$', by code.
  const std::string& follow(char a) const { return follow_[static_cast<unsigned char>(a)]; }
  bool inFollow(char a, char t) const { return follow(a).find(t) != std::string::npos; }
  // Every symbol of the string can vanish (true for the empty string).
  bool vanishes(std::string_view symbols) const;
  // First of a string of the grammar's symbols, without 'e'.
  std::string firstOf(std::string_view symbols) const;
  bool beginsWith(std::string_view symbols, char t) const;

  // The engine's symbols (the typed grammar's numbers, the end marker
  // included) as the characters of this view, and back.
  char character(Symbol s) const;
  Symbol symbol(char c) const { return symbolOf_[static_cast<unsigned char>(c)]; }
  std::string text(const Symbols& symbols) const;
  // The typed grammar the view was made from, for the writers of trees.
  const Grammar& typed() const { return grammar_; }

 private:
  Grammar grammar_;
  PredictionSets sets_;
  std::array<Symbol, 256> symbolOf_;
  std::vector<Production> productions_;
  std::string nonterminals_;
  std::string terminals_;
  std::array<std::vector<int>, 256> alternatives_;
  std::array<bool, 256> nullable_{};
  std::array<std::string, 256> first_;
  std::array<std::string, 256> follow_;
};
