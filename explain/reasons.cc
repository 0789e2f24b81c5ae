// The reasons read the cheapest witness of each fact (witnesses.h): its last
// step names the production and what vanishes, its tree gives the
// derivation, shown leftmost from the tree's root.
#include "explain/reasons.h"

#include <algorithm>

#include "explain/grammar_view.h"
#include "explain/witnesses.h"

struct Reasons::Data {
  explicit Data(const Parsing& model) : grammar(model), witnesses(grammar) {}
  GrammarView grammar;
  Witnesses witnesses;
};

namespace {

std::string setName(const GrammarView& g, const char* set, std::span<const Symbol> of) {
  return std::string(set) + "(" + g.formText(of) + ")";
}

// "B", "B and C", "B, C and D", each symbol once.
std::string listed(const GrammarView& g, std::span<const Symbol> symbols) {
  Symbols distinct;
  for (Symbol s : symbols)
    if (std::find(distinct.begin(), distinct.end(), s) == distinct.end()) distinct.push_back(s);
  std::string out;
  for (size_t k = 0; k < distinct.size(); ++k) {
    if (k > 0) out += k + 1 == distinct.size() ? " and " : ", ";
    out += g.text(distinct[k]);
  }
  return out;
}

std::string canVanish(const GrammarView& g, std::span<const Symbol> symbols) { return listed(g, symbols) + " can vanish"; }

// The forms of the leftmost derivation of trees side by side, from the
// string of their root symbols (under a root of no account, not shown).
std::vector<std::string> forestDerivation(const Grammar& grammar, std::vector<Tree> trees) {
  std::vector<std::string> forms = leftmostDerivation(grammar, Tree::node(kEmpty, std::move(trees)));
  forms.erase(forms.begin());
  return forms;
}

Reason notIn(const GrammarView& g, Symbol symbol, const std::string& set) {
  Reason reason;
  reason.sentence = g.text(symbol) + " is not in " + set + ".";
  return reason;
}

}  // namespace

Reasons::Reasons(const Parsing& grammar) : data_(std::make_unique<Data>(grammar)) {}

Reasons::~Reasons() = default;

const Grammar& Reasons::grammar() const { return data_->grammar.grammar(); }

Reason Reasons::first(Symbol x, Symbol terminal) const {
  const GrammarView& g = data_->grammar;
  const Witnesses& w = data_->witnesses;
  std::string set = setName(g, "First", Symbols{x});
  if (!g.isNonterminal(x)) {
    if (x != terminal) return notIn(g, terminal, set);
    Reason reason{true, "", {g.text(x)}, g.text(x) + " is in " + set + ": it is a terminal."};
    return reason;
  }
  Reason reason;
  if (terminal == kEmpty) {
    if (!w.vanishes(x)) return notIn(g, terminal, set);
    int p = w.vanishingProduction(x);
    const Symbols& body = g.production(p).body;
    reason.holds = true;
    reason.production = g.productionText(p);
    reason.derivation = leftmostDerivation(g.grammar(), w.vanishing(x));
    reason.sentence = g.text(kEmpty) + " is in " + set + " because of " + reason.production +
                      (body.empty() ? "" : " and " + canVanish(g, body)) + ".";
    return reason;
  }
  if (!w.begins(x, terminal)) return notIn(g, terminal, set);
  Witnesses::FirstStep step = w.firstStep(x, terminal);
  const Symbols& body = g.production(step.production).body;
  std::span<const Symbol> before = std::span<const Symbol>(body).first(static_cast<size_t>(step.position));
  Symbol from = body[static_cast<size_t>(step.position)];
  reason.holds = true;
  reason.production = g.productionText(step.production);
  reason.derivation = leftmostDerivation(g.grammar(), w.beginning(x, terminal));
  reason.sentence = g.text(terminal) + " is in " + set + " because of " + reason.production;
  if (from == terminal)
    reason.sentence += before.empty() ? "." : " and " + canVanish(g, before) + ".";
  else
    reason.sentence += (before.empty() ? "" : ", " + canVanish(g, before)) + " and " + g.text(terminal) + " is in " +
                       setName(g, "First", Symbols{from}) + ".";
  return reason;
}

Reason Reasons::firstOfString(const Symbols& symbols, Symbol terminal) const {
  const GrammarView& g = data_->grammar;
  const Witnesses& w = data_->witnesses;
  std::string set = setName(g, "First", symbols);
  Reason reason;
  if (terminal == kEmpty) {
    if (!std::all_of(symbols.begin(), symbols.end(), [&](Symbol c) { return w.vanishes(c); }))
      return notIn(g, terminal, set);
    std::vector<Tree> trees;
    for (Symbol c : symbols) trees.push_back(w.vanishing(c));
    reason.holds = true;
    reason.derivation = symbols.empty() ? std::vector<std::string>{""} : forestDerivation(g.grammar(), trees);
    reason.sentence = g.text(kEmpty) + " is in " + set +
                      (symbols.empty() ? ": the string is empty." : " because " + canVanish(g, symbols) + ".");
    return reason;
  }
  int at = w.beginningPosition(symbols, terminal);
  if (at < 0) return notIn(g, terminal, set);
  std::span<const Symbol> before = std::span<const Symbol>(symbols).first(static_cast<size_t>(at));
  Symbol from = symbols[static_cast<size_t>(at)];
  if (symbols.size() == 1 && from != terminal) {
    // The string is one non-terminal: its own reason, under the string's name.
    reason = first(from, terminal);
    return reason;
  }
  reason.holds = true;
  reason.derivation = forestDerivation(g.grammar(), w.stringBeginning(symbols, terminal));
  reason.sentence = g.text(terminal) + " is in " + set + " because ";
  if (from == terminal)
    reason.sentence += before.empty() ? "the string begins with it." : canVanish(g, before) + " before it.";
  else
    reason.sentence += g.text(terminal) + " is in " + setName(g, "First", Symbols{from}) +
                       (before.empty() ? "" : " and " + canVanish(g, before) + " before " + g.text(from)) + ".";
  return reason;
}

Reason Reasons::follow(Symbol a, Symbol symbol) const {
  const GrammarView& g = data_->grammar;
  const Witnesses& w = data_->witnesses;
  std::string set = setName(g, "Follow", Symbols{a});
  if (!g.isNonterminal(a) || !w.follows(a, symbol)) return notIn(g, symbol, set);
  Witnesses::FollowStep step = w.followStep(a, symbol);
  Reason reason;
  reason.holds = true;
  reason.derivation = leftmostDerivation(g.grammar(), w.following(a, symbol).tree);
  if (step.step == Witnesses::Step::kStart) {
    reason.sentence = g.text(symbol) + " is in " + set + " because " + g.text(a) + " is the start symbol.";
    return reason;
  }
  const GrammarView::Production& production = g.production(step.production);
  const Symbols& body = production.body;
  size_t after = static_cast<size_t>(step.position) + 1;
  size_t end = step.step == Witnesses::Step::kThroughFollow ? body.size() : static_cast<size_t>(step.source);
  std::span<const Symbol> between = std::span<const Symbol>(body).subspan(after, end - after);
  reason.production = g.productionText(step.production);
  reason.sentence = g.text(symbol) + " is in " + set + " because of " + reason.production;
  if (step.step == Witnesses::Step::kDirect) {
    reason.sentence += between.empty() ? "." : " and " + canVanish(g, between) + ".";
    return reason;
  }
  reason.sentence += between.empty() ? "" : ", " + canVanish(g, between);
  reason.sentence += " and " + g.text(symbol) + " is in " +
                     (step.step == Witnesses::Step::kThroughFirst ? setName(g, "First", Symbols{body[end]})
                                                                  : setName(g, "Follow", Symbols{production.head})) +
                     ".";
  return reason;
}

std::string derivationText(const std::vector<std::string>& forms, std::string_view empty) {
  std::string out;
  for (const std::string& form : forms) out += (out.empty() ? "" : " => ") + (form.empty() ? std::string(empty) : form);
  return out;
}
