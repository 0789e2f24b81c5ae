#include "exercises/item_grading.h"

#include <algorithm>
#include <optional>

#include "automata/automaton.h"
#include "exercises/answers.h"
#include "grammar/grammar_sets.h"
#include "grammar/symbol_text.h"

namespace {

const char* const kDot = "\xC2\xB0";  // ° in UTF-8
constexpr char kMarker = '\x01';      // the dot while a typed item is read

// An item as typed: its core written as the listing writes it, its lookaheads.
struct TypedItem {
  std::string core;
  std::vector<std::string> lookaheads;
  bool hasLookahead = false;
};

bool isTerminalOf(char c, const Grammar& grammar) {
  Symbol s = grammar.symbolNamed(std::string(1, c));
  return s != kNoSymbol && grammar.isTerminal(s);
}

// A core as the listing writes it, from the names of its head and body:
// "A->a°B" ("A->e°" when empty), or "E -> E ° + T" ("E -> ε °").
std::string dottedText(const Grammar& grammar, const std::string& head, std::vector<std::string> body,
                       std::size_t dot) {
  bool tokens = grammar.notation == Notation::kTokens;
  if (body.empty()) {
    body.push_back(symbolText(grammar, kEmpty));
    dot = 1;
  }
  std::string text = head + (tokens ? " ->" : "->");
  for (std::size_t k = 0; k <= body.size(); ++k) {
    if (k == dot) text += std::string(tokens ? " " : "") + kDot;
    if (k < body.size()) text += (tokens ? " " : "") + body[k];
  }
  return text;
}

// The line with its dot as the marker; "." is a dot unless the grammar has it as a terminal.
std::string markedLine(std::string line, const Grammar& grammar) {
  line = trimmed(line);
  if (line.size() >= 2 && line.front() == '[' && line.back() == ']') line = trimmed(line.substr(1, line.size() - 2));
  for (const char* dot : {"\xC2\xB0", "\xC2\xB7", "\xE2\x80\xA2", "\xE2\x8B\x85"})
    line = replacedAll(line, dot, std::string(1, kMarker));
  if (!isTerminalOf('.', grammar)) line = replacedAll(line, ".", std::string(1, kMarker));
  return line;
}

std::optional<TypedItem> readClassicItem(const std::string& line, std::size_t marker, const Grammar& grammar,
                                         bool lr1) {
  // The lookaheads start at the first comma after the dot; when the comma
  // is a terminal, at the last comma followed by a blank.
  std::size_t comma = isTerminalOf(',', grammar) ? line.rfind(", ") : line.find(',', marker);
  if (comma != std::string::npos && comma < marker) comma = std::string::npos;
  std::string core = withoutBlanks(line.substr(0, comma));
  TypedItem item;
  if (comma != std::string::npos) {
    item.hasLookahead = true;
    for (const std::string& symbol : utf8Characters(withoutBlanks(line.substr(comma + 1)))) {
      bool separator =
          symbol == "/" || ((symbol == "," || symbol == "{" || symbol == "}") && !isTerminalOf(symbol[0], grammar));
      if (!separator && std::find(item.lookaheads.begin(), item.lookaheads.end(), symbol) == item.lookaheads.end())
        item.lookaheads.push_back(symbol);
    }
  }
  if (!lr1) item.lookaheads.clear();
  if (core.size() < 4 || core.compare(1, 2, "->") != 0 || core[0] < 'A' || core[0] > 'Z') return std::nullopt;
  if (std::count(core.begin(), core.end(), kMarker) != 1) return std::nullopt;
  std::string body = withEpsilonAsE(core.substr(3));
  std::string bare = replacedAll(body, std::string(1, kMarker), "");
  if (bare.empty() || bare == "e") body = std::string("e") + kMarker;
  item.core = core.substr(0, 3) + replacedAll(body, std::string(1, kMarker), kDot);
  return item;
}

// A token item: "E -> E ° + T, $ +".  The lookaheads start at the first
// comma after the dot; when the comma is a terminal, at the last comma
// after the dot that sticks to the symbol before it, as the listing writes it.
std::optional<TypedItem> readTokenItem(const std::string& line, std::size_t marker, const Grammar& grammar,
                                       bool lr1) {
  std::size_t comma = line.find(',', marker);
  if (isTerminalOf(',', grammar)) {
    comma = std::string::npos;
    for (std::size_t at = marker + 1; at < line.size(); ++at)
      if (line[at] == ',' && line[at - 1] != ' ' && line[at - 1] != '\t') comma = at;
  }
  TypedItem item;
  if (comma != std::string::npos) {
    item.hasLookahead = true;
    for (const std::string& symbol : answerTokens(grammar, line.substr(comma + 1), ",/{}"))
      if (std::find(item.lookaheads.begin(), item.lookaheads.end(), symbol) == item.lookaheads.end())
        item.lookaheads.push_back(symbol);
  }
  if (!lr1) item.lookaheads.clear();
  const std::string arrow = "->", arrowSign = "\xE2\x86\x92", dot(1, kMarker);
  std::vector<std::string> tokens = answerTokens(grammar, line.substr(0, comma), "", {arrow, arrowSign, dot});
  if (tokens.size() < 3 || (tokens[1] != arrow && tokens[1] != arrowSign) || tokens[0] == dot) return std::nullopt;
  if (std::count(tokens.begin() + 2, tokens.end(), dot) != 1) return std::nullopt;
  std::vector<std::string> body;
  std::size_t at = 0;
  for (auto token = tokens.begin() + 2; token != tokens.end(); ++token) {
    if (*token == dot) at = body.size();
    else if (*token != "\xCE\xB5") body.push_back(*token);
  }
  item.core = dottedText(grammar, tokens[0], body, at);
  return item;
}

std::optional<TypedItem> readItem(const std::string& text, const Grammar& grammar, bool lr1) {
  std::string line = markedLine(text, grammar);
  std::size_t marker = line.find(kMarker);
  if (marker == std::string::npos) return std::nullopt;
  return grammar.notation == Notation::kTokens ? readTokenItem(line, marker, grammar, lr1)
                                               : readClassicItem(line, marker, grammar, lr1);
}

std::string namesOf(const Grammar& grammar, const Symbols& symbols) { return symbolsText(grammar, symbols); }

class StateKey {
 public:
  StateKey(const Parsing& grammar, bool lr1)
      : grammar_(grammar.typed),
        sets_(predictionSets(grammar_)),
        lr1_(lr1),
        automaton_(lr1 ? buildLR1Automaton(grammar) : buildLR0Automaton(grammar)) {}

  int stateCount() const { return static_cast<int>(automaton_.states.size()); }
  const std::vector<StateItem>& items(int state) const { return automaton_.states[static_cast<std::size_t>(state)]; }
  const Grammar& grammar() const { return grammar_; }

  std::string coreText(const StateItem& item) const { return ::coreText(grammar_, item.production, item.dot); }
  const Symbols& lookaheads(const StateItem& item) const {
    static const Symbols kNone;
    return item.lookahead == kNoLookahead ? kNone : automaton_.lookaheads.symbols(item.lookahead);
  }
  std::string lookahead(const StateItem& item) const { return namesOf(grammar_, lookaheads(item)); }
  std::string origin(int state) const {
    if (state == 0) return std::string("the closure of ") + coreText(StateItem{0, 0, kNoLookahead});
    auto [from, symbol] = automaton_.origins[static_cast<std::size_t>(state)];
    return "the goto of state " + std::to_string(from) + " on " + symbolText(grammar_, symbol);
  }

  // Why the state holds the item (with the lookahead c for LR(1)).
  std::string whyHeld(int state, const StateItem& item, Symbol c) const {
    const Production& p = production(item.production);
    std::string name = lr1_ ? symbolText(grammar_, c) : "";
    std::string with = lr1_ ? " with the lookahead " + name : "";
    if (state == 0 && item.production == 0 && item.dot == 0) return "It is the start item: the closure begins with it.";
    if (item.dot > 0 && !p.body.empty()) {
      auto [from, symbol] = automaton_.origins[static_cast<std::size_t>(state)];
      StateItem before{item.production, item.dot - 1, kNoLookahead};
      return "It comes from state " + std::to_string(from) + ", which holds " + coreText(before) + with +
             ", by the goto on " + symbolText(grammar_, symbol) + ".";
    }
    // A closure item: an item of the state with the dot before the head.
    for (const StateItem& parent : items(state)) {
      const Production& q = production(parent.production);
      std::size_t at = static_cast<std::size_t>(parent.dot);
      if (at >= q.body.size() || q.body[at] != p.head) continue;
      Symbols rest(q.body.begin() + static_cast<long>(at) + 1, q.body.end());
      std::string restText = namesOf(grammar_, rest);
      std::string because = "The closure adds it for " + coreText(parent);
      if (!lr1_) return because + ", whose dot stands before " + grammar_.name(p.head) + ".";
      if (c < grammar_.symbolCount() && firstOfString(sets_, rest)[static_cast<std::size_t>(c)])
        return because + ", since " + name + " is in First(" + restText + ").";
      const Symbols& passed = lookaheads(parent);
      if (vanishes(sets_, rest) && std::find(passed.begin(), passed.end(), c) != passed.end())
        return because + ", " + lookahead(parent) +
               (rest.empty() ? ", whose lookahead " : ": " + restText + " can vanish, so its lookahead ") + name +
               " passes on.";
    }
    return "";
  }

  // Why the state does not hold a typed item.
  std::string whyNotHeld(int state, const std::string& core, const std::string& c) const {
    std::string production = withoutDot(core);
    bool exists = false;
    for (int p = 0; p < static_cast<int>(grammar_.productions.size()); ++p)
      exists = exists || productionOf(p) == production;
    if (!exists) return production + " is not a production of the grammar.";
    for (const StateItem& item : items(state)) {
      if (coreText(item) != core) continue;
      if (c.empty()) return "An LR(1) item has a lookahead: " + core + ", " + lookahead(item) + ".";
      return "In state " + std::to_string(state) + ", " + core + " has the lookahead " + lookahead(item) + ", not " +
             c + ".";
    }
    return "State " + std::to_string(state) + " holds no item " + core + ".";
  }

 private:
  const Production& production(int p) const { return grammar_.productions[static_cast<std::size_t>(p)]; }
  // A production as the cores name it: "X->ab", "E -> E + T", its symbols unquoted.
  std::string productionOf(int p) const {
    const Production& q = production(p);
    return grammar_.name(q.head) + (grammar_.notation == Notation::kTokens ? " -> " : "->") + bodyText(grammar_, q.body);
  }
  std::string withoutDot(const std::string& core) const {
    if (grammar_.notation == Notation::kTokens) return replacedAll(core, std::string(" ") + kDot, "");
    std::string production = replacedAll(core, kDot, "");
    if (production.size() == 4 && production.compare(3, 1, "e") == 0) production = core.substr(0, 3) + "e";
    return production;
  }

  const Grammar& grammar_;
  PredictionSets sets_;
  bool lr1_;
  Automaton automaton_;
};

// "core, c" with the lookahead apart from the core by ", ".
std::string elementText(const std::string& core, const std::string& lookahead) {
  return lookahead.empty() ? core : core + ", " + lookahead;
}

}  // namespace

std::string coreText(const Grammar& grammar, int production, int dot) {
  const Production& p = grammar.productions[static_cast<std::size_t>(production)];
  std::vector<std::string> body;
  for (Symbol s : p.body) body.push_back(symbolText(grammar, s));
  return dottedText(grammar, grammar.name(p.head), body, static_cast<std::size_t>(dot));
}

std::vector<std::string> stateOrigins(const Parsing& grammar, bool lr1) {
  StateKey key(grammar, lr1);
  std::vector<std::string> origins;
  for (int s = 0; s < key.stateCount(); ++s) origins.push_back(key.origin(s));
  return origins;
}

std::vector<std::string> stateItems(const Parsing& grammar, bool lr1, int state) {
  StateKey key(grammar, lr1);
  std::vector<std::string> lines;
  if (state < 0 || state >= key.stateCount()) return lines;
  for (const StateItem& item : key.items(state)) lines.push_back(elementText(key.coreText(item), key.lookahead(item)));
  return lines;
}

Grading gradeItems(const Parsing& grammar, bool lr1, int state, std::string_view answer) {
  StateKey key(grammar, lr1);
  const Grammar& g = key.grammar();
  bool tokens = g.notation == Notation::kTokens;
  Grading grading{"Line", "", "Item", {}};
  // The typed elements with the line each stands on.
  std::vector<std::pair<std::string, int>> typed;
  auto typedAt = [&](const std::string& element) {
    for (const auto& [text, line] : typed)
      if (text == element) return line;
    return 0;
  };
  for (const AnswerLine& line : answerLines(answer)) {
    std::optional<TypedItem> item = readItem(line.text, g, lr1);
    if (!item) {
      std::string example = tokens ? "E -> E \xC2\xB0 + T" : "A->a\xC2\xB0" "B";
      grading.elements.push_back({"line " + std::to_string(line.number), "", line.text, Mark::kWrong,
                                  "This line does not read as an item such as " + example + (lr1 ? ", c." : ".")});
      continue;
    }
    if (!lr1 || item->lookaheads.empty()) {
      if (!typedAt(item->core)) typed.emplace_back(item->core, line.number);
      continue;
    }
    for (const std::string& c : item->lookaheads)
      if (!typedAt(elementText(item->core, c))) typed.emplace_back(elementText(item->core, c), line.number);
  }

  std::vector<std::string> wanted;
  bool known = state >= 0 && state < key.stateCount();
  if (known) {
    for (const StateItem& item : key.items(state)) {
      std::string core = key.coreText(item);
      Symbols lookaheads = lr1 ? key.lookaheads(item) : Symbols{kNoSymbol};
      for (Symbol c : lookaheads) {
        std::string element = lr1 ? elementText(core, symbolText(g, c)) : core;
        wanted.push_back(element);
        int line = typedAt(element);
        grading.elements.push_back({line ? "line " + std::to_string(line) : "", "", element,
                                    line ? Mark::kRight : Mark::kMissing, line ? "" : key.whyHeld(state, item, c)});
      }
    }
  }
  for (const auto& [element, line] : typed) {
    if (std::find(wanted.begin(), wanted.end(), element) != wanted.end()) continue;
    std::size_t comma = lr1 ? element.rfind(", ") : std::string::npos;
    std::string core = element.substr(0, comma), c = comma == std::string::npos ? "" : element.substr(comma + 2);
    std::string why = !known ? "There is no such state." : key.whyNotHeld(state, core, c);
    grading.elements.push_back({"line " + std::to_string(line), "", element, Mark::kWrong, why});
  }
  return grading;
}

std::string revealItem(const Parsing& grammar, std::string_view answer, const MarkedElement& element) {
  const Grammar& g = grammar.typed;
  std::vector<std::string> lines = splitLines(answer);
  if (element.mark == Mark::kMissing) {
    while (!lines.empty() && trimmed(lines.back()).empty()) lines.pop_back();
    lines.push_back(element.entry);
  } else if (std::size_t number = lineNumberOf(element.row); element.mark == Mark::kWrong && number > 0) {
    if (number <= lines.size()) {
      std::string& line = lines[number - 1];
      std::size_t comma = element.entry.rfind(", ");
      std::optional<TypedItem> item = readItem(line, g, true);
      bool oneLookahead = comma != std::string::npos && item && item->lookaheads.size() > 1;
      if (oneLookahead) {
        // Only the wrong lookahead goes; the others stay on the line.
        std::string c = element.entry.substr(comma + 2), rest;
        for (const std::string& symbol : item->lookaheads)
          if (symbol != c) rest += (rest.empty() ? "" : symbolSeparator(g)) + symbol;
        line = item->core + ", " + rest;
      } else {
        lines.erase(lines.begin() + static_cast<long>(number - 1));
      }
    }
  }
  return joinLines(lines);
}
