#include "exercises/set_grading.h"

#include <algorithm>
#include <map>
#include <optional>

#include "exercises/answers.h"
#include "automata/automaton.h"
#include "explain/grammar_view.h"
#include "explain/reasons.h"
#include "grammar/symbol_text.h"

namespace {

// A line "First(X): symbols" taken apart.
struct SetLine {
  SetKind kind;
  std::string name;  // X as typed, one character
  std::vector<std::string> symbols;
};

std::string lowered(std::string text) {
  for (char& c : text) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return text;
}

// Characters that only separate symbols, unless the grammar has them as terminals.
bool separates(const std::string& symbol, const std::string& terminals) {
  if (symbol.size() != 1) return false;
  char c = symbol[0];
  return (c == ',' || c == '{' || c == '}') && terminals.find(c) == std::string::npos;
}

std::optional<SetLine> readSetLine(const std::string& line, const std::string& terminals) {
  std::size_t open = line.find('(');
  if (open == std::string::npos) return std::nullopt;
  std::string keyword = lowered(trimmed(line.substr(0, open)));
  if (keyword != "first" && keyword != "follow") return std::nullopt;
  std::size_t close = line.find(')', open + 1);
  if (close == std::string::npos) return std::nullopt;
  std::string name = trimmed(line.substr(open + 1, close - open - 1));
  std::string rest = trimmed(line.substr(close + 1));
  if (utf8Characters(name).size() != 1 || rest.empty() || (rest[0] != ':' && rest[0] != '=')) return std::nullopt;
  SetLine set{keyword == "first" ? SetKind::kFirst : SetKind::kFollow, name, {}};
  for (const std::string& symbol : utf8Characters(withoutBlanks(rest.substr(1)))) {
    if (separates(symbol, terminals)) continue;
    std::string normal = withEpsilonAsE(symbol);
    if (std::find(set.symbols.begin(), set.symbols.end(), normal) == set.symbols.end()) set.symbols.push_back(normal);
  }
  return set;
}

std::string setLabel(SetKind kind, const std::string& name) { return std::string(setName(kind)) + "(" + name + ")"; }

// The symbol of a character of a classic answer; 'e' is the empty word.
Symbol symbolOf(const GrammarView& g, char c) { return c == 'e' ? kEmpty : classicSymbol(g.grammar(), c); }

// Why a symbol the student wrote is not in the set.
std::string whyNot(const GrammarView& g, SetKind kind, char x, const std::string& symbol) {
  std::string set = setLabel(kind, std::string(1, x));
  char c = symbol.size() == 1 ? symbol[0] : '\0';
  Symbol s = c == '\0' ? kNoSymbol : symbolOf(g, c);
  const Symbols& terminals = g.terminals();
  bool terminal = c != 'e' && std::find(terminals.begin(), terminals.end(), s) != terminals.end();
  if (kind == SetKind::kFirst) {
    if (c == 'e') return std::string(1, x) + " cannot derive the empty word, so e is not in " + set + ".";
    if (c == '$') return "$ marks the end of the input and is never in a First set.";
    if (!terminal) return symbol + " is not a terminal of the grammar; a First set holds terminals and e.";
    if (g.inFollow(symbolOf(g, x), s))
      return symbol + " can follow " + x + ", but no derivation from " + x + " begins with " + symbol + ".";
    return "No derivation from " + std::string(1, x) + " begins with " + symbol + ".";
  }
  if (c == 'e') return "A Follow set never holds e: it lists what can come after " + std::string(1, x) + ".";
  if (c == '$') return std::string(1, x) + " never stands at the end of a sentential form, so $ is not in " + set + ".";
  if (!terminal) return symbol + " is not a terminal of the grammar; a Follow set holds terminals and $.";
  if (g.inFirst(symbolOf(g, x), s))
    return symbol + " can begin " + x + ", but nothing that can follow " + x + " begins with " + symbol + ".";
  return "No sentential form has " + symbol + " right after " + std::string(1, x) + ".";
}

}  // namespace

const char* setName(SetKind kind) { return kind == SetKind::kFirst ? "First" : "Follow"; }

Grading gradeSets(const Parsing& grammar, SetKind kind, std::string_view answer) {
  GrammarView view(grammar);
  Reasons reasons(grammar);
  Grading grading{"Set", "", "Symbol", {}};
  const std::string terminals = symbolsText(grammar.typed, view.terminals());

  // The student's symbols by set name, lines of this kind only.
  std::map<std::string, std::vector<std::string>> written;
  std::vector<std::string> names;  // in the order first written
  for (const AnswerLine& line : answerLines(answer)) {
    std::optional<SetLine> set = readSetLine(line.text, terminals);
    if (!set) {
      grading.elements.push_back({"line " + std::to_string(line.number), "", line.text, Mark::kWrong,
                                  std::string("This line does not read as ") + setName(kind) + "(X): symbols."});
      continue;
    }
    if (set->kind != kind) continue;
    if (!written.count(set->name)) names.push_back(set->name);
    std::vector<std::string>& symbols = written[set->name];
    for (const std::string& symbol : set->symbols)
      if (std::find(symbols.begin(), symbols.end(), symbol) == symbols.end()) symbols.push_back(symbol);
  }

  Row follows = kind == SetKind::kFollow ? grammar.follow() : Row();
  int i = 0;
  for (const HString& rule : grammar.rules) {
    char x = rule[0];
    std::string name(1, x);
    std::string key(kind == SetKind::kFirst ? grammar.first(x).view() : follows[i].view());
    ++i;
    const std::vector<std::string>& mine = written[name];
    std::string label = setLabel(kind, name);
    for (char c : key) {
      bool found = std::find(mine.begin(), mine.end(), std::string(1, c)) != mine.end();
      std::string why;
      if (!found) {
        Symbol head = symbolOf(view, x), element = symbolOf(view, c);
        why = (kind == SetKind::kFirst ? reasons.first(head, element) : reasons.follow(head, element)).sentence;
      }
      grading.elements.push_back({label, "", std::string(1, c), found ? Mark::kRight : Mark::kMissing, why});
    }
    for (const std::string& symbol : mine)
      if (symbol.size() != 1 || key.find(symbol[0]) == std::string::npos)
        grading.elements.push_back({label, "", symbol, Mark::kWrong, whyNot(view, kind, x, symbol)});
  }
  for (const std::string& name : names) {
    if (name.size() == 1 && grammar.rules.getCount() > 0 && view.hasRule(symbolOf(view, name[0]))) continue;
    // One wrong element for the whole set: none of it can be right.
    std::string symbols;
    for (const std::string& symbol : written[name]) symbols += symbol;
    grading.elements.push_back(
        {setLabel(kind, name), "", symbols, Mark::kWrong, name + " is not a non-terminal of the grammar."});
  }
  return grading;
}

std::string revealSetElement(const Parsing& grammar, std::string_view answer, SetKind kind,
                             const MarkedElement& element) {
  if (element.mark == Mark::kRight) return std::string(answer);
  std::vector<std::string> lines = splitLines(answer);
  if (std::size_t number = lineNumberOf(element.row)) {
    // An unreadable line goes.
    if (number <= lines.size()) lines.erase(lines.begin() + static_cast<long>(number - 1));
  } else {
    bool done = false;
    for (std::string& line : lines) {
      std::optional<SetLine> set = readSetLine(trimmed(line), "");
      if (!set || set->kind != kind || setLabel(kind, set->name) != element.row) continue;
      std::size_t colon = line.find_first_of(":=", line.find(')'));
      if (element.mark == Mark::kMissing) {
        line += element.entry;
        done = true;
        break;
      }
      GrammarView view(grammar);
      if (set->name.size() != 1 || grammar.rules.getCount() == 0 || !view.hasRule(symbolOf(view, set->name[0]))) {
        line.clear();  // the set of a non-terminal the grammar does not have
        done = true;
        continue;
      }
      // Wrong: every occurrence of the symbol after the colon goes.
      std::string head = line.substr(0, colon + 1), rest = line.substr(colon + 1);
      for (std::size_t at; !element.entry.empty() && (at = rest.find(element.entry)) != std::string::npos;)
        rest.erase(at, element.entry.size());
      if (element.entry == "e") rest = replacedAll(rest, "\xCE\xB5", "");
      line = head + rest;
      done = true;
    }
    if (!done && element.mark == Mark::kMissing) {
      while (!lines.empty() && trimmed(lines.back()).empty()) lines.pop_back();
      lines.push_back(element.row + ": " + element.entry);
    }
  }
  return joinLines(lines);
}
