// The state listings: for each state of a collection a header that tells
// how it was first reached, its items with the dot marker (and lookaheads),
// and an empty line.
#include "automata/listing.h"

#include "core/work.h"
#include "grammar/symbol_text.h"

namespace {

HString textOf(const std::string& text) { return HString(text.data(), static_cast<int>(text.size())); }

}  // namespace

std::string dottedProduction(const Grammar& grammar, int production, int dot) {
  const Production& p = grammar.productions[static_cast<size_t>(production)];
  bool tokens = grammar.notation == Notation::kTokens;
  std::string text = grammar.name(p.head) + (tokens ? " ->" : "->");
  Symbols body = p.body.empty() ? Symbols{kEmpty} : p.body;
  for (size_t k = 0; k <= body.size(); ++k) {
    if (static_cast<int>(k) == dot) {
      if (tokens) text += ' ';
      text += kDotMarker;
    }
    if (k == body.size()) break;
    if (tokens) text += ' ';
    text += symbolText(grammar, body[k]);
  }
  return text;
}

StateListing::StateListing(const Parsing& grammar, const Automaton& collection)
    : grammar_(grammar.typed), collection_(collection), withLookaheads_(collection.hasLookaheads()) {
  // "Clousure(" production 0 with the dot before its body, and the end.
  start_ = "Clousure(" + dottedProduction(grammar_, 0, 0) + (withLookaheads_ ? ", $)" : ")");
}

void StateListing::append(Row& lines, size_t k) const {
  noteWork();
  std::string text = "State" + std::to_string(k) + " - ";
  if (k == 0) {
    text += start_;
  } else {
    auto [from, symbol] = collection_.origins[k];
    text += "Goto(State" + std::to_string(from) + "," + symbolText(grammar_, symbol) + ")";
  }
  text += ':';
  lines.insertTail(textOf(text));
  for (const StateItem& item : collection_.states[k]) lines.insertTail(itemLine("   ", item));
  lines.insertTail(HString());
}

HString StateListing::itemLine(std::string_view indent, const StateItem& item) const {
  std::string text(indent);
  text += dottedProduction(grammar_, item.production, item.dot);
  if (withLookaheads_) {
    text += ", ";
    text += lookaheadText(grammar_, collection_.lookaheads, item.lookahead);
  }
  // One long rule makes as many items as symbols, each as long as the rule.
  bytes_ += static_cast<long>(text.size()) + 1;
  noteOutput(bytes_, "The listing");
  return textOf(text);
}

Row stateListing(const Parsing& grammar, const Automaton& collection) {
  StateListing listing(grammar, collection);
  Row lines;
  for (size_t k = 0; k < collection.states.size(); ++k) listing.append(lines, k);
  return lines;
}

Row Parsing::listLR0Items() const { return stateListing(*this, buildLR0Automaton(*this)); }

Row Parsing::listLR1Items() const { return stateListing(*this, buildLR1Automaton(*this)); }
