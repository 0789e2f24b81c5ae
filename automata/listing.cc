// The state listings: for each state of a collection a header that tells
// how it was first reached, its items with the dot marker (and lookaheads),
// and an empty line.
#include "automata/listing.h"

#include "core/work.h"
#include "grammar/symbol_text.h"

namespace {

HString textOf(const std::string& text) { return HString(text.data(), static_cast<int>(text.size())); }

}  // namespace

namespace {

// The production's text and the cut before each body symbol and at its end.
void cutProduction(const Grammar& grammar, int production, std::string& text, std::vector<size_t>& cuts) {
  const Production& p = grammar.productions[static_cast<size_t>(production)];
  bool tokens = grammar.notation == Notation::kTokens;
  text = grammar.name(p.head) + (tokens ? " -> " : "->");
  Symbols body = p.body.empty() ? Symbols{kEmpty} : p.body;
  cuts.clear();
  for (size_t k = 0; k < body.size(); ++k) {
    if (tokens && k > 0) text += ' ';
    cuts.push_back(text.size());
    text += symbolName(grammar, body[k]);
  }
  cuts.push_back(text.size());
}

// The dot at a cut: between blanks in the token notation.
void appendDotted(const Grammar& grammar, const std::string& text, size_t cut, std::string& out) {
  out.append(text, 0, cut);
  if (grammar.notation == Notation::kTokens && cut == text.size()) out += ' ';
  out += kDotMarker;
  if (grammar.notation == Notation::kTokens && cut < text.size()) out += ' ';
  out.append(text, cut);
}

}  // namespace

std::string dottedProduction(const Grammar& grammar, int production, int dot) {
  std::string text, out;
  std::vector<size_t> cuts;
  cutProduction(grammar, production, text, cuts);
  appendDotted(grammar, text, cuts[static_cast<size_t>(dot)], out);
  return out;
}

StateListing::StateListing(const Parsing& grammar, const Automaton& collection)
    : grammar_(grammar.typed), collection_(collection), withLookaheads_(collection.hasLookaheads()) {
  texts_.resize(grammar_.productions.size());
  cuts_.resize(grammar_.productions.size());
  for (size_t p = 0; p < texts_.size(); ++p) cutProduction(grammar_, static_cast<int>(p), texts_[p], cuts_[p]);
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
  size_t p = static_cast<size_t>(item.production);
  appendDotted(grammar_, texts_[p], cuts_[p][static_cast<size_t>(item.dot)], text);
  if (withLookaheads_) {
    text += ", ";
    size_t id = static_cast<size_t>(item.lookahead);
    if (id >= lookaheads_.size()) {
      lookaheads_.resize(id + 1);
      lookaheadKnown_.resize(id + 1, false);
    }
    if (!lookaheadKnown_[id]) {
      lookaheads_[id] = lookaheadText(grammar_, collection_.lookaheads, item.lookahead);
      lookaheadKnown_[id] = true;
    }
    text += lookaheads_[id];
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
