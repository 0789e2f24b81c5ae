// The reasons read the cheapest witness of each fact (witnesses.h): its last
// step names the production and what vanishes, its tree gives the
// derivation, shown leftmost from the tree's root.
#include "explain/reasons.h"

#include "explain/grammar_view.h"
#include "explain/witnesses.h"

struct Reasons::Data {
  explicit Data(const Parsing& model) : grammar(model), witnesses(grammar) {}
  GrammarView grammar;
  Witnesses witnesses;
};

namespace {

std::string setName(const char* set, std::string_view of) {
  return std::string(set) + "(" + (of.empty() ? std::string("e") : std::string(of)) + ")";
}

// "B", "B and C", "B, C and D", each symbol once.
std::string listed(std::string_view symbols) {
  std::string distinct;
  for (char c : symbols)
    if (distinct.find(c) == std::string::npos) distinct += c;
  std::string out;
  for (size_t k = 0; k < distinct.size(); ++k) {
    if (k > 0) out += k + 1 == distinct.size() ? " and " : ", ";
    out += distinct[k];
  }
  return out;
}

std::string canVanish(std::string_view symbols) { return listed(symbols) + " can vanish"; }

// The forms of the leftmost derivation of trees side by side, from the
// string of their root symbols: the derivation of a tree that joins them
// under a root never shown, for which the end marker stands.
std::vector<std::string> forestDerivation(const GrammarView& g, std::vector<Tree> trees) {
  std::vector<std::string> forms = leftmostDerivation(g.typed(), Tree::node(g.typed().endMarker(), std::move(trees)));
  forms.erase(forms.begin());
  return forms;
}

Reason notIn(char symbol, const std::string& set) {
  Reason reason;
  reason.sentence = std::string(1, symbol) + " is not in " + set + ".";
  return reason;
}

}  // namespace

Reasons::Reasons(const Parsing& grammar) : data_(std::make_unique<Data>(grammar)) {}

Reasons::~Reasons() = default;

Reason Reasons::first(char x, char terminal) const {
  const GrammarView& g = data_->grammar;
  const Witnesses& w = data_->witnesses;
  std::string set = setName("First", std::string(1, x));
  if (!GrammarView::isNonterminal(x)) {
    if (x != terminal) return notIn(terminal, set);
    Reason reason{true, "", {std::string(1, x)}, std::string(1, x) + " is in " + set + ": it is a terminal."};
    return reason;
  }
  Reason reason;
  if (terminal == 'e') {
    if (!w.vanishes(x)) return notIn(terminal, set);
    int p = w.vanishingProduction(x);
    const std::string& body = g.production(p).body;
    reason.holds = true;
    reason.production = g.productionText(p);
    reason.derivation = leftmostDerivation(g.typed(), w.vanishing(x));
    reason.sentence = "e is in " + set + " because of " + reason.production +
                      (body.empty() ? "" : " and " + canVanish(body)) + ".";
    return reason;
  }
  if (!w.begins(x, terminal)) return notIn(terminal, set);
  Witnesses::FirstStep step = w.firstStep(x, terminal);
  const std::string& body = g.production(step.production).body;
  std::string_view before = std::string_view(body).substr(0, static_cast<size_t>(step.position));
  char from = body[static_cast<size_t>(step.position)];
  reason.holds = true;
  reason.production = g.productionText(step.production);
  reason.derivation = leftmostDerivation(g.typed(), w.beginning(x, terminal));
  reason.sentence = std::string(1, terminal) + " is in " + set + " because of " + reason.production;
  if (from == terminal)
    reason.sentence += before.empty() ? "." : " and " + canVanish(before) + ".";
  else
    reason.sentence += (before.empty() ? "" : ", " + canVanish(before)) + " and " + terminal + " is in " +
                       setName("First", std::string(1, from)) + ".";
  return reason;
}

Reason Reasons::firstOfString(const std::string& text, char terminal) const {
  const Witnesses& w = data_->witnesses;
  std::string symbols = text == "e" ? "" : text;
  std::string set = setName("First", symbols);
  Reason reason;
  if (terminal == 'e') {
    bool all = true;
    for (char c : symbols) all = all && (GrammarView::isNonterminal(c) && w.vanishes(c));
    if (!all) return notIn(terminal, set);
    std::vector<Tree> trees;
    for (char c : symbols) trees.push_back(w.vanishing(c));
    reason.holds = true;
    reason.derivation = symbols.empty() ? std::vector<std::string>{""} : forestDerivation(w.grammar(), trees);
    reason.sentence = "e is in " + set + (symbols.empty() ? ": the string is empty." : " because " + canVanish(symbols) + ".");
    return reason;
  }
  int at = w.beginningPosition(symbols, terminal);
  if (at < 0) return notIn(terminal, set);
  std::string_view before = std::string_view(symbols).substr(0, static_cast<size_t>(at));
  char from = symbols[static_cast<size_t>(at)];
  if (symbols.size() == 1 && from != terminal) {
    // The string is one non-terminal: its own reason, under the string's name.
    reason = first(from, terminal);
    return reason;
  }
  reason.holds = true;
  reason.derivation = forestDerivation(w.grammar(), w.stringBeginning(symbols, terminal));
  reason.sentence = std::string(1, terminal) + " is in " + set + " because ";
  if (from == terminal)
    reason.sentence += before.empty() ? "the string begins with it." : canVanish(before) + " before it.";
  else
    reason.sentence += std::string(1, terminal) + " is in " + setName("First", std::string(1, from)) +
                       (before.empty() ? "" : " and " + canVanish(before) + " before " + from) + ".";
  return reason;
}

Reason Reasons::follow(char a, char symbol) const {
  const GrammarView& g = data_->grammar;
  const Witnesses& w = data_->witnesses;
  std::string set = setName("Follow", std::string(1, a));
  if (!GrammarView::isNonterminal(a) || !w.follows(a, symbol)) return notIn(symbol, set);
  Witnesses::FollowStep step = w.followStep(a, symbol);
  Reason reason;
  reason.holds = true;
  reason.derivation = leftmostDerivation(g.typed(), w.following(a, symbol).tree);
  if (step.step == Witnesses::Step::kStart) {
    reason.sentence = "$ is in " + set + " because " + a + " is the start symbol.";
    return reason;
  }
  const GrammarView::Production& production = g.production(step.production);
  const std::string& body = production.body;
  size_t after = static_cast<size_t>(step.position) + 1;
  size_t end = step.step == Witnesses::Step::kThroughFollow ? body.size() : static_cast<size_t>(step.source);
  std::string_view between = std::string_view(body).substr(after, end - after);
  reason.production = g.productionText(step.production);
  reason.sentence = std::string(1, symbol) + " is in " + set + " because of " + reason.production;
  if (step.step == Witnesses::Step::kDirect) {
    reason.sentence += between.empty() ? "." : " and " + canVanish(between) + ".";
    return reason;
  }
  reason.sentence += between.empty() ? "" : ", " + canVanish(between);
  reason.sentence += std::string(" and ") + symbol + " is in " +
                     (step.step == Witnesses::Step::kThroughFirst ? setName("First", std::string(1, body[end]))
                                                                  : setName("Follow", std::string(1, production.head))) +
                     ".";
  return reason;
}

std::string derivationText(const std::vector<std::string>& forms) {
  std::string out;
  for (const std::string& form : forms) out += (out.empty() ? "" : " => ") + (form.empty() ? std::string("e") : form);
  return out;
}
