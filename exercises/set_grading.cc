#include "exercises/set_grading.h"

#include <algorithm>
#include <map>
#include <optional>

#include "exercises/answers.h"
#include "explain/reasons.h"
#include "grammar/ordered_follow.h"
#include "grammar/symbol_text.h"

namespace {

// A line "First(X): symbols" taken apart.
struct SetLine {
  SetKind kind;
  std::string name;  // X as typed: one character in the classic notation, a name in the token one
  std::vector<std::string> symbols;
};

std::string lowered(std::string text) {
  for (char& c : text) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return text;
}

bool isTerminalNamed(const Grammar& grammar, const std::string& name) {
  Symbol s = grammar.symbolNamed(name);
  return s != kNoSymbol && grammar.isTerminal(s);
}

bool isNonTerminalNamed(const Grammar& grammar, const std::string& name) {
  Symbol s = grammar.symbolNamed(name);
  return s != kNoSymbol && !grammar.isTerminal(s);
}

// Characters that only separate symbols, unless the grammar has them as terminals.
bool separates(const std::string& symbol, const Grammar& grammar) {
  return (symbol == "," || symbol == "{" || symbol == "}") && !isTerminalNamed(grammar, symbol);
}

// The symbols after the colon: one character each in the classic
// notation (ε read as e), tokens apart by blanks in the token notation.
std::vector<std::string> setSymbols(const Grammar& grammar, std::string_view text) {
  std::vector<std::string> symbols;
  auto add = [&](const std::string& symbol) {
    if (std::find(symbols.begin(), symbols.end(), symbol) == symbols.end()) symbols.push_back(symbol);
  };
  if (grammar.notation == Notation::kTokens) {
    for (const std::string& token : answerTokens(grammar, text, ",{}")) add(token);
    return symbols;
  }
  for (const std::string& symbol : utf8Characters(withoutBlanks(text)))
    if (!separates(symbol, grammar)) add(withEpsilonAsE(symbol));
  return symbols;
}

bool readsAsName(const Grammar& grammar, const std::string& name) {
  if (grammar.notation == Notation::kClassic) return utf8Characters(name).size() == 1;
  return !name.empty() && name.find_first_of(" \t") == std::string::npos;
}

std::optional<SetLine> readSetLine(const std::string& line, const Grammar& grammar) {
  std::size_t open = line.find('(');
  if (open == std::string::npos) return std::nullopt;
  std::string keyword = lowered(trimmed(line.substr(0, open)));
  if (keyword != "first" && keyword != "follow") return std::nullopt;
  std::size_t close = line.find(')', open + 1);
  if (close == std::string::npos) return std::nullopt;
  std::string name = trimmed(line.substr(open + 1, close - open - 1));
  std::string rest = trimmed(line.substr(close + 1));
  if (!readsAsName(grammar, name) || rest.empty() || (rest[0] != ':' && rest[0] != '=')) return std::nullopt;
  return SetLine{keyword == "first" ? SetKind::kFirst : SetKind::kFollow, name,
                 setSymbols(grammar, std::string_view(rest).substr(1))};
}

std::string setLabel(SetKind kind, const std::string& name) { return std::string(setName(kind)) + "(" + name + ")"; }

bool holds(const Symbols& set, Symbol s) { return std::find(set.begin(), set.end(), s) != set.end(); }

// Why a symbol the student wrote is not in the set.
std::string whyNot(const Grammar& grammar, const std::vector<Symbols>& first, const std::vector<Symbols>& follow,
                   SetKind kind, Symbol x, const std::string& symbol) {
  std::string set = setLabel(kind, grammar.name(x)), name = grammar.name(x);
  std::string empty = symbolText(grammar, kEmpty);
  Symbol c = isTerminalNamed(grammar, symbol) ? grammar.symbolNamed(symbol) : kNoSymbol;
  if (kind == SetKind::kFirst) {
    if (symbol == empty) return name + " cannot derive the empty word, so " + empty + " is not in " + set + ".";
    if (symbol == "$") return "$ marks the end of the input and is never in a First set.";
    if (c == kNoSymbol) return symbol + " is not a terminal of the grammar; a First set holds terminals and " + empty + ".";
    if (holds(follow[static_cast<std::size_t>(x)], c))
      return symbol + " can follow " + name + ", but no derivation from " + name + " begins with " + symbol + ".";
    return "No derivation from " + name + " begins with " + symbol + ".";
  }
  if (symbol == empty) return "A Follow set never holds " + empty + ": it lists what can come after " + name + ".";
  if (symbol == "$") return name + " never stands at the end of a sentential form, so $ is not in " + set + ".";
  if (c == kNoSymbol) return symbol + " is not a terminal of the grammar; a Follow set holds terminals and $.";
  if (holds(first[static_cast<std::size_t>(x)], c))
    return symbol + " can begin " + name + ", but nothing that can follow " + name + " begins with " + symbol + ".";
  return "No sentential form has " + symbol + " right after " + name + ".";
}

// Why a symbol of the key is in the set.
std::string whyIn(const Reasons& reasons, SetKind kind, Symbol x, Symbol s) {
  return (kind == SetKind::kFirst ? reasons.first(x, s) : reasons.follow(x, s)).sentence;
}

// The sets written on the answer's lines of one kind, by name in the order first written.
struct WrittenSets {
  std::map<std::string, std::vector<std::string>> symbols;
  std::vector<std::string> names;
};

}  // namespace

const char* setName(SetKind kind) { return kind == SetKind::kFirst ? "First" : "Follow"; }

Grading gradeSets(const Parsing& grammar, SetKind kind, std::string_view answer) {
  const Grammar& g = grammar.typed;
  Reasons reasons(grammar);
  Grading grading{"Set", "", "Symbol", {}};

  WrittenSets written;
  for (const AnswerLine& line : answerLines(answer)) {
    std::optional<SetLine> set = readSetLine(line.text, g);
    if (!set) {
      grading.elements.push_back({"line " + std::to_string(line.number), "", line.text, Mark::kWrong,
                                  std::string("This line does not read as ") + setName(kind) + "(X): symbols."});
      continue;
    }
    if (set->kind != kind) continue;
    if (!written.symbols.count(set->name)) written.names.push_back(set->name);
    std::vector<std::string>& symbols = written.symbols[set->name];
    for (const std::string& symbol : set->symbols)
      if (std::find(symbols.begin(), symbols.end(), symbol) == symbols.end()) symbols.push_back(symbol);
  }

  // The key's sets as the listings order them, the end marker among the terminals.
  std::vector<Symbols> first = firstSets(g), follow = followSets(g);
  const std::vector<Symbols>& key = kind == SetKind::kFirst ? first : follow;
  for (Symbol x : g.nonTerminals()) {
    std::string name = g.name(x);
    if (mayBeLeftOut(grammar, x) && !written.symbols.count(name)) continue;
    const std::vector<std::string>& mine = written.symbols[name];
    std::string label = setLabel(kind, name);
    std::vector<std::string> wanted;
    for (Symbol s : key[static_cast<std::size_t>(x)]) {
      std::string symbol = symbolText(g, s);
      wanted.push_back(symbol);
      bool found = std::find(mine.begin(), mine.end(), symbol) != mine.end();
      std::string why = found ? "" : whyIn(reasons, kind, x, s);
      grading.elements.push_back({label, "", symbol, found ? Mark::kRight : Mark::kMissing, why});
    }
    for (const std::string& symbol : mine)
      if (std::find(wanted.begin(), wanted.end(), symbol) == wanted.end())
        grading.elements.push_back({label, "", symbol, Mark::kWrong, whyNot(g, first, follow, kind, x, symbol)});
  }
  for (const std::string& name : written.names) {
    if (isNonTerminalNamed(g, name)) continue;
    // One wrong element for the whole set: none of it can be right.
    std::string symbols;
    for (const std::string& symbol : written.symbols[name])
      symbols += (symbols.empty() ? "" : symbolSeparator(g)) + symbol;
    grading.elements.push_back(
        {setLabel(kind, name), "", symbols, Mark::kWrong, name + " is not a non-terminal of the grammar."});
  }
  return grading;
}

std::string revealSetElement(const Parsing& grammar, std::string_view answer, SetKind kind,
                             const MarkedElement& element) {
  if (element.mark == Mark::kRight) return std::string(answer);
  const Grammar& g = grammar.typed;
  bool tokens = g.notation == Notation::kTokens;
  std::vector<std::string> lines = splitLines(answer);
  if (std::size_t number = lineNumberOf(element.row)) {
    // An unreadable line goes.
    if (number <= lines.size()) lines.erase(lines.begin() + static_cast<long>(number - 1));
  } else {
    bool done = false;
    for (std::string& line : lines) {
      std::optional<SetLine> set = readSetLine(trimmed(line), g);
      if (!set || set->kind != kind || setLabel(kind, set->name) != element.row) continue;
      std::size_t colon = line.find_first_of(":=", line.find(')'));
      if (element.mark == Mark::kMissing) {
        line += (tokens ? " " : "") + element.entry;
        done = true;
        break;
      }
      if (!isNonTerminalNamed(g, set->name)) {
        line.clear();  // the set of a non-terminal the grammar does not have
        done = true;
        continue;
      }
      std::string head = line.substr(0, colon + 1), rest = line.substr(colon + 1);
      if (tokens) {
        // The set written anew without the symbol: tokens do not come apart as substrings.
        rest.clear();
        for (const std::string& symbol : set->symbols)
          if (symbol != element.entry) rest += " " + symbol;
      } else {
        // Wrong: every occurrence of the symbol after the colon goes.
        for (std::size_t at; !element.entry.empty() && (at = rest.find(element.entry)) != std::string::npos;)
          rest.erase(at, element.entry.size());
        if (element.entry == "e") rest = replacedAll(rest, "\xCE\xB5", "");
      }
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
