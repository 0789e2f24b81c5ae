// The state listings: for each state of a collection a header that tells
// how it was first reached, its items with the dot marker (and lookaheads),
// and an empty line.
#include "automata/listing.h"

#include "core/work.h"

namespace {

HString textOf(const std::string& text) { return HString(text.data(), static_cast<int>(text.size())); }

}  // namespace

StateListing::StateListing(const Parsing& grammar, const Automaton& collection)
    : collection_(collection), withLookaheads_(collection.hasLookaheads()) {
  for (const HString& production : grammar.productions) productions_.emplace_back(production.view());
  // "Clousure(" production 0 with the dot after "->" and the end.
  const std::string& start = productions_[0];
  start_ = "Clousure(" + start.substr(0, 3) + kDotMarker + start.substr(3) + (withLookaheads_ ? ", $)" : ")");
}

void StateListing::append(Row& lines, size_t k) const {
  noteWork();
  std::string text = "State" + std::to_string(k) + " - ";
  if (k == 0) {
    text += start_;
  } else {
    auto [from, symbol] = collection_.origins[k];
    text += "Goto(State" + std::to_string(from) + "," + symbol + ")";
  }
  text += ':';
  lines.insertTail(textOf(text));
  for (const StateItem& item : collection_.states[k]) lines.insertTail(itemLine("   ", item));
  lines.insertTail(HString());
}

HString StateListing::itemLine(std::string_view indent, const StateItem& item) const {
  const std::string& production = productions_[static_cast<size_t>(item.production)];
  std::string text(indent);
  text.append(production, 0, static_cast<size_t>(item.dot) + 3);
  text += kDotMarker;
  text.append(production, static_cast<size_t>(item.dot) + 3);
  if (withLookaheads_) {
    text += ", ";
    text += collection_.lookaheads.text(item.lookahead);
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
