// The explanations read the tables as built (TableSet): the entries come
// from the cell text, their reasons from the items of the state or, for
// LL(1), from the First and Follow facts that placed each production.
#include "explain/conflicts.h"

#include <algorithm>
#include <set>

#include "explain/grammar_view.h"
#include "explain/reasons.h"
#include "explain/unifying_search.h"
#include "explain/verify.h"
#include "explain/witnesses.h"
#include "grammar/parsing.h"

namespace {

std::string joined(const std::vector<std::string>& parts, const char* separator, const char* last) {
  std::string out;
  for (size_t k = 0; k < parts.size(); ++k) out += (k == 0 ? "" : k + 1 == parts.size() ? last : separator) + parts[k];
  return out;
}

std::string listed(const std::vector<std::string>& parts) { return joined(parts, ", ", " and "); }

// "B and C can vanish", each symbol once.
std::string canVanish(const GrammarView& g, const Symbols& symbols) {
  std::vector<std::string> parts;
  for (Symbol s : symbols)
    if (std::find(parts.begin(), parts.end(), g.text(s)) == parts.end()) parts.push_back(g.text(s));
  return listed(parts) + " can vanish";
}

std::string states(const std::vector<int>& numbers) {
  std::vector<std::string> parts;
  for (int n : numbers) parts.push_back(std::to_string(n));
  return (numbers.size() == 1 ? "state " : "states ") + listed(parts);
}

// One table's conflicts, with what every explanation of them needs.
class Explainer {
 public:
  Explainer(TableSet& tables, TableKind kind, const SearchBounds& bounds)
      : tables_(tables),
        kind_(kind),
        table_(tables[kind]),
        grammar_(tables.grammar()),
        reasons_(tables.grammar()),
        witnesses_(grammar_),
        finder_(tables, kind, bounds) {}

  bool isConflict(int row, Symbol symbol) const { return table_.conflicts(row, symbol); }

  Conflict explain(int row, Symbol symbol) {
    Conflict c;
    c.table = kind_;
    c.row = row;
    c.label = table_.cells[static_cast<size_t>(row) + 1][0];
    c.symbol = symbol;
    c.cell = table_.cell(row, symbol);
    if (kind_ == TableKind::kLL1)
      explainLL1(c);
    else
      explainLR(c);
    return c;
  }

  const TableView& table() const { return table_; }
  bool isNonterminal(Symbol s) const { return grammar_.isNonterminal(s); }

 private:
  std::string text(Symbol s) const { return grammar_.text(s); }

  // ---- LR tables

  void explainLR(Conflict& c) {
    const std::vector<StateItem>& items = table_.automaton.states[static_cast<size_t>(c.row)];
    int shifts = 0, reductions = 0, accepts = 0;
    for (const std::string& action : TableView::entries(c.cell)) {
      ConflictEntry entry{action, {}, ""};
      for (const StateItem& item : items)
        if (itemMakes(grammar_, table_, item, action, c.symbol)) entry.items.push_back(table_.itemText(grammar_.grammar(), item));
      if (action[0] == 's') {
        ++shifts;
        entry.reason = "State " + c.label + " holds " + listed(entry.items) + " with " + text(c.symbol) +
                       " after the dot, so it shifts " + text(c.symbol) + " and goes to state " + action.substr(1) + ".";
      } else if (action == "a") {
        ++accepts;
        entry.reason = "The item " + listed(entry.items) + " is complete and production 0 accepts on " + text(c.symbol) + ".";
      } else {
        ++reductions;
        entry.reason = reductionReason(c, action, entry.items);
      }
      c.entries.push_back(std::move(entry));
    }
    std::vector<std::string> roles;
    if (shifts > 0) roles.push_back("shift");
    if (accepts > 0) roles.push_back("accept");
    for (int k = 0; k < reductions; ++k) roles.push_back("reduce");
    c.kind = joined(roles, "/", "/");
    c.prefix = table_.shortestPrefix(c.row);
    acrossTables(c);
    c.counterexample = finder_.forLR(c.row, c.symbol);
  }

  std::string reductionReason(const Conflict& c, const std::string& action, const std::vector<std::string>& items) {
    int p = std::stoi(action.substr(1));
    Symbol head = grammar_.production(p).head;
    std::string by = " so state " + c.label + " reduces by " + grammar_.productionText(p) + " on " + text(c.symbol) + ".";
    if (kind_ == TableKind::kSLR)
      return "The item " + listed(items) + " is complete and SLR reduces on every symbol of Follow(" + text(head) + "), " +
             by.substr(1) + " " + reasons_.follow(head, c.symbol).sentence;
    std::string reason = "The item " + listed(items) + " is complete with " + text(c.symbol) + " in its lookahead," + by;
    if (kind_ == TableKind::kLALR) {
      std::vector<int> sources;
      const TableView& lr1 = tables_[TableKind::kLR1];
      for (int member : table_.members[static_cast<size_t>(c.row)])
        for (const StateItem& item : lr1.automaton.states[static_cast<size_t>(member)])
          if (itemMakes(grammar_, lr1, item, action, c.symbol) && item.production == p && lr1.inLookahead(item.lookahead, c.symbol))
            sources.push_back(member);
      if (!sources.empty()) reason += " The lookahead " + text(c.symbol) + " comes from LR(1) " + states(sources) + ".";
    }
    return reason;
  }

  // The same items in the other LR tables, and how they fare under the symbol.
  void acrossTables(Conflict& c) {
    const std::string& key = table_.coreKey[static_cast<size_t>(c.row)];
    for (TableKind other : {TableKind::kSLR, TableKind::kLALR, TableKind::kLR1}) {
      if (other == kind_) continue;
      const TableView& t = tables_[other];
      std::vector<int> same = t.statesWithCore(key);
      if (other == TableKind::kLR1 && kind_ == TableKind::kLALR) same = table_.members[static_cast<size_t>(c.row)];
      std::vector<int> conflicting, clean;
      for (int s : same) (t.conflicts(s, c.symbol) ? conflicting : clean).push_back(s);
      std::string name = tableName(other);
      if (other == TableKind::kLR1 && kind_ == TableKind::kLALR && conflicting.empty() && same.size() > 1) {
        std::vector<std::string> parts;
        for (int s : same) {
          const std::string& cell = t.cell(s, c.symbol);
          if (!cell.empty()) parts.push_back("state " + std::to_string(s) + " has " + cell);
        }
        c.notes.push_back("The conflict comes from merging LR(1) " + states(same) + ": " + listed(parts) + " under " +
                          text(c.symbol) + ", without a conflict.");
        continue;
      }
      if (!conflicting.empty()) {
        c.notes.push_back(name + " " + states(conflicting) + " with the same items " +
                          (conflicting.size() == 1 ? "has" : "have") + " the conflict under " + text(c.symbol) + " too.");
        continue;
      }
      if (same.empty()) continue;
      std::string note = name + " " + states(same) + " with the same items " + (same.size() == 1 ? "has" : "have") +
                         " no conflict under " + text(c.symbol);
      if (kind_ == TableKind::kSLR && other != TableKind::kSLR) note += lookaheadsInstead(c, t, same);
      c.notes.push_back(note + ".");
    }
  }

  // Why a lookahead table resolves an SLR conflict: its reductions' lookaheads lack the symbol.
  std::string lookaheadsInstead(const Conflict& c, const TableView& t, const std::vector<int>& same) const {
    std::vector<std::string> parts;
    for (const std::string& action : TableView::entries(c.cell)) {
      if (action[0] != 'r') continue;
      int p = std::stoi(action.substr(1));
      std::set<std::string> texts;
      for (int s : same)
        for (const StateItem& item : t.automaton.states[static_cast<size_t>(s)])
          if (item.production == p && complete(item) && !t.inLookahead(item.lookahead, c.symbol))
            texts.insert(grammar_.text(t.lookahead(item.lookahead)));
      for (const std::string& lookahead : texts) parts.push_back(grammar_.productionText(p) + " reduces only on " + lookahead);
    }
    if (parts.empty()) return "";
    return ": there " + listed(parts) + ", lookaheads more precise than the Follow set";
  }

  bool complete(const StateItem& item) const {
    return static_cast<size_t>(item.dot) >= grammar_.production(item.production).body.size();
  }

  // ---- the LL(1) table

  void explainLL1(Conflict& c) {
    Symbol a = table_.rowSymbol(c.row);
    Symbol end = grammar_.endMarker();
    std::vector<int> distinct;
    std::vector<int> throughFirst, throughFollow;
    for (int p : grammar_.alternatives(a)) {
      const Symbols& body = grammar_.production(p).body;
      const std::string& text = grammar_.productionText(p);
      bool first = c.symbol != end && grammar_.beginsWith(body, c.symbol);
      bool follow = grammar_.vanishes(body) && grammar_.inFollow(a, c.symbol);
      if (first) {
        Reason why = reasons_.firstOfString(body, c.symbol);
        c.entries.push_back({text, {}, "Through First: " + why.sentence + shownDerivation(why)});
        throughFirst.push_back(p);
      }
      if (follow) {
        Reason why = reasons_.follow(a, c.symbol);
        std::string vanishes = body.empty() ? " is empty" : " can vanish (" + canVanish(grammar_, body) + ")";
        c.entries.push_back({text, {}, "Through Follow: " + text + vanishes + ", and " + why.sentence + shownDerivation(why)});
        throughFollow.push_back(p);
      }
      if (first || follow) distinct.push_back(p);
    }
    c.kind = ll1Kind(distinct, throughFirst, throughFollow);
    if (distinct.size() == 1) c.notes.push_back(impliedConflict(distinct[0], c.symbol));
    for (int p : distinct)
      if (leadsBack(witnesses_, -1, p))
        c.notes.push_back(grammar_.productionText(p) + " is left-recursive: it derives forms that begin with " + text(a) +
                          " again, so whatever begins " + text(a) + " begins it too, and no LL(1) table can choose it.");
    MarkedTree context;
    if (witnesses_.leftmostContext(a, c.symbol, !throughFollow.empty() || c.symbol == end, context)) {
      c.prefix = frontierSymbols(context.tree);
      c.prefix.resize(frontierPosition(context.tree, context.leaf));
    }
    c.counterexample = finder_.forLL1(a, c.symbol);
  }

  std::string shownDerivation(const Reason& why) const {
    return why.derivation.size() > 1 ? " (" + derivationText(why.derivation, text(kEmpty)) + ")" : "";
  }

  std::string ll1Kind(const std::vector<int>& distinct, const std::vector<int>& first, const std::vector<int>& follow) const {
    if (distinct.size() == 1) return "same production twice";
    bool firstFirst = false, firstFollow = false;
    auto has = [](const std::vector<int>& v, int p) { return std::find(v.begin(), v.end(), p) != v.end(); };
    for (size_t i = 0; i < distinct.size(); ++i)
      for (size_t j = i + 1; j < distinct.size(); ++j) {
        int p = distinct[i], q = distinct[j];
        bool pFirst = has(first, p), qFirst = has(first, q);
        if (pFirst && qFirst) firstFirst = true;
        else if (pFirst || qFirst) firstFollow = true;
        else firstFirst = true;  // both vanish: e is in the First set of both
        (void)follow;
      }
    return firstFirst && firstFollow ? "First/First and First/Follow" : firstFirst ? "First/First" : "First/Follow";
  }

  // A production placed twice under one symbol, through First and through
  // Follow, can vanish and begin with the symbol: so can a non-terminal of
  // its body whose own cell holds two different productions.
  std::string impliedConflict(int p, Symbol symbol) {
    std::set<Symbol> seen;
    for (;;) {
      const GrammarView::Production& production = grammar_.production(p);
      std::string note = grammar_.productionText(p) +
                         " stands twice in the cell: through First and, since it can vanish, through Follow(" +
                         text(production.head) + ").";
      int at = witnesses_.beginningPosition(production.body, symbol);
      if (at < 0) return note;
      Symbol y = production.body[static_cast<size_t>(at)];
      if (!grammar_.isNonterminal(y) || !seen.insert(y).second) return note;
      std::vector<int> placed;
      for (int q : grammar_.alternatives(y)) {
        const Symbols& body = grammar_.production(q).body;
        if ((symbol != grammar_.endMarker() && grammar_.beginsWith(body, symbol)) ||
            (grammar_.vanishes(body) && grammar_.inFollow(y, symbol)))
          placed.push_back(q);
      }
      if (placed.size() >= 2) {
        int row = table_.rowOf(y);
        std::string name = text(y);
        return note + " The real conflict is in row " + name + ": " + name + " can vanish and " + text(symbol) +
               " is in both First(" + name + ") and Follow(" + name + "), so its cell under " + text(symbol) + " holds " +
               table_.cell(row, symbol) + ".";
      }
      if (placed.empty()) return note;
      p = placed[0];
    }
  }

  TableSet& tables_;
  TableKind kind_;
  const TableView& table_;
  GrammarView grammar_;
  Reasons reasons_;
  Witnesses witnesses_;
  CounterexampleFinder finder_;
};

}  // namespace

std::vector<Conflict> explainConflicts(TableSet& tables, TableKind kind, const SearchBounds& bounds) {
  Explainer explainer(tables, kind, bounds);
  const TableView& t = explainer.table();
  std::vector<Conflict> out;
  Symbols columns = t.columnSymbols();
  for (int row = 0; row < t.rowCount(); ++row)
    for (size_t j = 1; j < columns.size(); ++j) {
      Symbol symbol = columns[j];
      if (symbol != kNoSymbol && !explainer.isNonterminal(symbol) && explainer.isConflict(row, symbol)) out.push_back(explainer.explain(row, symbol));
    }
  return out;
}

std::optional<Conflict> explainCell(TableSet& tables, TableKind kind, int row, Symbol symbol, const SearchBounds& bounds) {
  Explainer explainer(tables, kind, bounds);
  if (row < 0 || row >= explainer.table().rowCount() || !explainer.isConflict(row, symbol)) return std::nullopt;
  return explainer.explain(row, symbol);
}
