// The state listings: for each state of a collection a header that tells
// how it was first reached, its items with the dot marker (and lookaheads),
// and an empty line.
#include "automata/listing.h"

#include <string>

namespace {

HString textOf(const std::string& text) { return HString(text.data(), static_cast<int>(text.size())); }

// "Clousure(" production 0 with the dot after "->" and the given end.
HString startTrace(const Parsing& grammar, const char* end) {
  const HString& start = grammar.productions[0];
  return HString("Clousure(") + start.getSubString(0, 3) + kDotMarker + start.getSubString(3) + end;
}

}  // namespace

Row stateListing(const Parsing& grammar, const Automaton& collection) {
  bool withLookaheads = collection.hasLookaheads();
  HString start = startTrace(grammar, withLookaheads ? ", $)" : ")");
  Row lines;
  for (size_t k = 0; k < collection.states.size(); ++k) {
    auto [from, symbol] = collection.origins[k];
    HString trace = k == 0 ? start : HString("Goto(State") + from + "," + symbol + ")";
    lines.insertTail(HString("State") + static_cast<int>(k) + " - " + trace + ":");
    for (const StateItem& item : collection.states[k]) {
      std::string text = "   ";
      const HString& production = grammar.productions[item.production];
      text.append(production.view().substr(0, static_cast<size_t>(item.dot) + 3));
      text += kDotMarker;
      text.append(production.view().substr(static_cast<size_t>(item.dot) + 3));
      if (withLookaheads) text += ", " + collection.lookaheads.text(item.lookahead);
      lines.insertTail(textOf(text));
    }
    lines.insertTail("");
  }
  return lines;
}

Row Parsing::listLR0Items() const { return stateListing(*this, buildLR0Automaton(*this)); }

Row Parsing::listLR1Items() const { return stateListing(*this, buildLR1Automaton(*this)); }
