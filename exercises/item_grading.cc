#include "exercises/item_grading.h"

#include <algorithm>
#include <optional>

#include "automata/automaton.h"
#include "exercises/answers.h"
#include "explain/grammar_view.h"

namespace {

const char* const kDot = "\xC2\xB0";  // ° in UTF-8
constexpr char kMarker = '\x01';      // the dot while a typed item is read

// An item as typed: its core written as the listing writes it, its lookaheads.
struct TypedItem {
  std::string core;
  std::vector<std::string> lookaheads;
  bool hasLookahead = false;
};

bool isTerminalOf(char c, const std::string& terminals) { return terminals.find(c) != std::string::npos; }

std::optional<TypedItem> readItem(std::string line, const std::string& terminals, bool lr1) {
  line = trimmed(line);
  if (line.size() >= 2 && line.front() == '[' && line.back() == ']') line = trimmed(line.substr(1, line.size() - 2));
  for (const char* dot : {"\xC2\xB0", "\xC2\xB7", "\xE2\x80\xA2", "\xE2\x8B\x85"})
    line = replacedAll(line, dot, std::string(1, kMarker));
  if (!isTerminalOf('.', terminals)) line = replacedAll(line, ".", std::string(1, kMarker));
  std::size_t marker = line.find(kMarker);
  if (marker == std::string::npos) return std::nullopt;
  // The lookaheads start at the first comma after the dot; when the comma
  // is a terminal, at the last comma followed by a blank.
  std::size_t comma = isTerminalOf(',', terminals) ? line.rfind(", ") : line.find(',', marker);
  if (comma != std::string::npos && comma < marker) comma = std::string::npos;
  std::string core = withoutBlanks(line.substr(0, comma));
  TypedItem item;
  if (comma != std::string::npos) {
    item.hasLookahead = true;
    for (const std::string& symbol : utf8Characters(withoutBlanks(line.substr(comma + 1)))) {
      bool separator =
          symbol == "/" || ((symbol == "," || symbol == "{" || symbol == "}") && !isTerminalOf(symbol[0], terminals));
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

class StateKey {
 public:
  StateKey(const Parsing& grammar, bool lr1)
      : grammar_(grammar), lr1_(lr1), automaton_(lr1 ? buildLR1Automaton(grammar) : buildLR0Automaton(grammar)) {}

  int stateCount() const { return static_cast<int>(automaton_.states.size()); }
  const std::vector<StateItem>& items(int state) const { return automaton_.states[static_cast<std::size_t>(state)]; }
  const GrammarView& grammar() const { return grammar_; }

  std::string coreText(const StateItem& item) const {
    const GrammarView::Production& p = grammar_.production(item.production);
    if (p.body.empty()) return grammar_.text(p.head) + "->e" + kDot;
    std::span<const Symbol> body(p.body);
    std::size_t dot = static_cast<std::size_t>(item.dot);
    return grammar_.text(p.head) + "->" + grammar_.text(body.first(dot)) + kDot + grammar_.text(body.subspan(dot));
  }
  std::string lookahead(const StateItem& item) const {
    return item.lookahead == kNoLookahead ? "" : grammar_.text(automaton_.lookaheads.symbols(item.lookahead));
  }
  std::string origin(int state) const {
    if (state == 0) return std::string("the closure of ") + coreText(StateItem{0, 0, kNoLookahead});
    auto [from, symbol] = automaton_.origins[static_cast<std::size_t>(state)];
    return "the goto of state " + std::to_string(from) + " on " + grammar_.text(symbol);
  }

  // Why the state holds the item (with the lookahead c for LR(1)).
  std::string whyHeld(int state, const StateItem& item, char c) const {
    const GrammarView::Production& p = grammar_.production(item.production);
    std::string with = lr1_ ? std::string(" with the lookahead ") + c : "";
    if (state == 0 && item.production == 0 && item.dot == 0) return "It is the start item: the closure begins with it.";
    if (item.dot > 0 && !p.body.empty()) {
      auto [from, symbol] = automaton_.origins[static_cast<std::size_t>(state)];
      StateItem before{item.production, item.dot - 1, kNoLookahead};
      return "It comes from state " + std::to_string(from) + ", which holds " + coreText(before) + with +
             ", by the goto on " + grammar_.text(symbol) + ".";
    }
    // A closure item: an item of the state with the dot before the head.
    for (const StateItem& parent : items(state)) {
      const GrammarView::Production& q = grammar_.production(parent.production);
      std::size_t at = static_cast<std::size_t>(parent.dot);
      if (at >= q.body.size() || q.body[at] != p.head) continue;
      std::span<const Symbol> rest = std::span<const Symbol>(q.body).subspan(at + 1);
      std::string because = "The closure adds it for " + coreText(parent);
      if (!lr1_) return because + ", whose dot stands before " + grammar_.text(p.head) + ".";
      if (grammar_.beginsWith(rest, classicSymbol(grammar_.grammar(), c)))
        return because + ", since " + c + " is in First(" + grammar_.text(rest) + ").";
      if (grammar_.vanishes(rest) && lookahead(parent).find(c) != std::string::npos)
        return because + ", " + lookahead(parent) +
               (rest.empty() ? ", whose lookahead " : ": " + grammar_.text(rest) + " can vanish, so its lookahead ") + c +
               " passes on.";
    }
    return "";
  }

  // Why the state does not hold a typed item.
  std::string whyNotHeld(int state, const std::string& core, const std::string& c) const {
    std::string production = replacedAll(core, kDot, "");
    if (production.size() == 4 && production.compare(3, 1, "e") == 0) production = core.substr(0, 3) + "e";
    bool exists = false;
    for (int p = 0; p < grammar_.productionCount(); ++p) exists = exists || grammar_.productionText(p) == production;
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
  GrammarView grammar_;
  bool lr1_;
  Automaton automaton_;
};

std::string elementText(const std::string& core, const std::string& lookahead) {
  return lookahead.empty() ? core : core + ", " + lookahead;
}

}  // namespace

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
  Grading grading{"Line", "", "Item", {}};
  const std::string terminals = key.grammar().text(key.grammar().terminals());
  // The typed elements with the line each stands on.
  std::vector<std::pair<std::string, int>> typed;
  auto typedAt = [&](const std::string& element) {
    for (const auto& [text, line] : typed)
      if (text == element) return line;
    return 0;
  };
  for (const AnswerLine& line : answerLines(answer)) {
    std::optional<TypedItem> item = readItem(line.text, terminals, lr1);
    if (!item) {
      grading.elements.push_back({"line " + std::to_string(line.number), "", line.text, Mark::kWrong,
                                  lr1 ? "This line does not read as an item such as A->a°B, c."
                                      : "This line does not read as an item such as A->a°B."});
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
      std::string lookaheads = lr1 ? key.lookahead(item) : " ";
      for (char c : lookaheads) {
        std::string element = lr1 ? elementText(core, std::string(1, c)) : core;
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

std::string revealItem(std::string_view answer, const MarkedElement& element) {
  std::vector<std::string> lines = splitLines(answer);
  if (element.mark == Mark::kMissing) {
    while (!lines.empty() && trimmed(lines.back()).empty()) lines.pop_back();
    lines.push_back(element.entry);
  } else if (std::size_t number = lineNumberOf(element.row); element.mark == Mark::kWrong && number > 0) {
    if (number <= lines.size()) {
      std::string& line = lines[number - 1];
      std::size_t comma = element.entry.rfind(", ");
      std::optional<TypedItem> item = readItem(line, "", true);
      bool oneLookahead = comma != std::string::npos && item && item->lookaheads.size() > 1;
      if (oneLookahead) {
        // Only the wrong lookahead goes; the others stay on the line.
        std::string c = element.entry.substr(comma + 2), rest;
        for (const std::string& symbol : item->lookaheads)
          if (symbol != c) rest += symbol;
        line = item->core + ", " + rest;
      } else {
        lines.erase(lines.begin() + static_cast<long>(number - 1));
      }
    }
  }
  return joinLines(lines);
}
