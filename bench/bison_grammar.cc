#include "bench/bison_grammar.h"

namespace {

std::string symbol(char c) {
  if (c >= 'A' && c <= 'Z') return std::string("nt_") + c;
  if (c == '\'' || c == '\\') return std::string("'\\") + c + "'";
  return std::string("'") + c + "'";
}

}  // namespace

std::string bisonGrammar(const Parsing& model) {
  std::string out = "%start " + symbol(model.productions[0][0]) + "\n%%\n";
  for (const HString& rule : model.rules) {
    out += symbol(rule[0]) + ":";
    bool first = true;
    for (const HString& production : model.productions) {
      if (production[0] != rule[0]) continue;
      out += first ? "" : "\n  |";
      first = false;
      std::string_view body = production.view().substr(3);
      if (body == "e") out += " %empty";
      for (char c : body == "e" ? std::string_view() : body) out += " " + symbol(c);
    }
    out += "\n  ;\n";
  }
  return out;
}
