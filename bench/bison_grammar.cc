#include "bench/bison_grammar.h"

namespace {

std::string symbol(const Grammar& grammar, Symbol s) {
  char c = grammar.name(s)[0];
  if (!grammar.isTerminal(s)) return std::string("nt_") + c;
  if (c == '\'' || c == '\\') return std::string("'\\") + c + "'";
  return std::string("'") + c + "'";
}

}  // namespace

std::string bisonGrammar(const Parsing& model) {
  const Grammar& grammar = model.typed;
  std::string out = "%start " + symbol(grammar, grammar.start()) + "\n%%\n";
  for (Symbol head : grammar.nonTerminals()) {
    out += symbol(grammar, head) + ":";
    bool first = true;
    for (int p : grammar.productionsOf(head)) {
      out += first ? "" : "\n  |";
      first = false;
      const Symbols& body = grammar.productions[static_cast<size_t>(p)].body;
      if (body.empty()) out += " %empty";
      for (Symbol s : body) out += " " + symbol(grammar, s);
    }
    out += "\n  ;\n";
  }
  return out;
}
