// The grammar model: productions numbered from the rule lines, and the
// nullable non-terminals found by erasing nullable symbols until nothing
// changes.
#include "grammar/parsing.h"

#include <cstring>
#include <string>

#include "core/fatal.h"

Parsing::Parsing() {
  std::memset(visited, 0, sizeof visited);
  std::memset(nullable, 0, sizeof nullable);
}

void Parsing::loadRules(const Row& lines) {
  if (&lines != &rules) rules = lines;
  std::vector<std::string> texts;
  for (const HString& line : rules) texts.push_back(line.getString());
  typed = classicGrammar(texts);
  addedStartRule = false;
  buildProductions();
  computeNullable();
}

// A classic grammar's rule lines are its productions grouped by head, in
// the order the heads first come.
void Parsing::loadGrammar(const Grammar& grammar) {
  if (grammar.notation == Notation::kClassic) {
    Row lines;
    for (Symbol head : grammar.nonTerminals()) {
      std::string line = grammar.name(head) + "->";
      bool first = true;
      for (int p : grammar.productionsOf(head)) {
        if (!first) line += '|';
        first = false;
        const Symbols& body = grammar.productions[static_cast<size_t>(p)].body;
        if (body.empty()) line += 'e';
        for (Symbol s : body) line += grammar.name(s);
      }
      lines.insertTail(HString(line.c_str()));
    }
    loadRules(lines);
    return;
  }
  rules = Row();
  productions = Row();
  erasedRules = Row();
  forgetFirsts();
  std::memset(visited, 0, sizeof visited);
  std::memset(nullable, 0, sizeof nullable);
  addedStartRule = !firstRuleAugments(grammar);
  typed = addedStartRule ? withStartRule(grammar) : grammar;
}

void Parsing::buildProductions() {
  forgetFirsts();
  productions = Row();
  for (const HString& rule : rules) {
    HString head = rule.getSubString(0, 3);
    int p = 2;
    do {
      productions.insertTail(head + rule.getToken("|", p + 1));
      p = rule.find('|', p + 1);
    } while (p != -1);
  }
}

void Parsing::computeNullable() {
  forgetFirsts();
  erasedRules = rules;
  std::memset(visited, 0, sizeof visited);
  std::memset(nullable, 0, sizeof nullable);
  auto emptied = [](const HString& rule) { return rule.getSubString(0, 3) + "e"; };
  for (HString& rule : erasedRules)
    if (rule.find('e', 3) != -1) rule = emptied(rule);
  for (int b = nextNullableRule(); b != -1; b = nextNullableRule()) {
    unsigned char x = static_cast<unsigned char>(erasedRules[b][0]);
    int i = 0;
    for (HString& rule : erasedRules) {
      if (i++ == b) continue;
      rule = rule.withoutRange(x, x);
      // An alternative became empty: the first (nothing after "->"), the
      // last, or one between two bars.  '>' may be a terminal too, so the
      // first is found by its position, not by a ">|" anywhere.
      if (rule.getLength() == 3 || rule[3] == '|' || rule[rule.getLength() - 1] == '|' || rule.find("||") != -1)
        rule = emptied(rule);
    }
  }
  for (const HString& rule : erasedRules)
    if (rule[3] == 'e') nullable[static_cast<unsigned char>(rule[0])] = 1;
}

int Parsing::nextNullableRule() {
  int b = 0;
  for (const HString& rule : erasedRules) {
    if (rule[3] == 'e' && b < 256 && !visited[b]) {
      visited[b] = 1;
      return b;
    }
    ++b;
  }
  return -1;
}

int Parsing::indexOfNonTerminal(char c) const {
  int i = 0;
  for (const HString& rule : rules) {
    if (rule[0] == c) return i;
    ++i;
  }
  HString message = HString("Error in the method Parsing::indexOfNonTerminal(char): no rule for '") + c + "'";
  fatal(message.getString());
}

HString Parsing::terminals() const {
  bool used[256] = {};
  for (const HString& rule : rules)
    for (char c : rule.view().substr(3))
      if (isTerminal(c) && c != '|') used[static_cast<unsigned char>(c)] = true;
  // In the order of the characters' signed codes, as HString::sort gives them.
  std::string symbols;
  for (int code = -128; code < 128; ++code)
    if (used[static_cast<unsigned char>(code)]) symbols += static_cast<char>(code);
  return HString(symbols.data(), static_cast<int>(symbols.size()));
}

Row Parsing::productionsOf(char x) const {
  Row alternatives;
  if (isTerminal(x)) return alternatives;
  indexOfNonTerminal(x);
  for (const HString& production : productions)
    if (production[0] == x) alternatives.insertTail(production);
  return alternatives;
}

int Parsing::indexOfProduction(const HString& text) const {
  return productions.search(text);
}
