// A pair of trees from the unifying search explains a conflict when it is
// put into a derivation from the root, its leaves are completed to words,
// and the table's parser, made to follow each tree, first moves
// differently at the conflict's very cell.  For the LR tables the
// derivation around the pair is chosen by the state the parser must be in
// where the pair begins: an LR(1) state has twins with the same items and
// other lookaheads, and only a prefix that leads into the cell's own state
// makes the counterexample one of that cell.  A pair that parts under
// another symbol of the same state is tried again with the leaf at that
// point completed to a word that begins with the wanted symbol.  Pairs
// found for one conflict serve the later conflicts of the table.
#include "explain/counterexample.h"

#include <algorithm>
#include <optional>

#include "explain/grammar_report.h"
#include "explain/grammar_view.h"
#include "explain/item_paths.h"
#include "explain/unifying_search.h"
#include "explain/verify.h"
#include "explain/witnesses.h"

namespace {

using Clock = SearchBudget::Clock;

Clock::time_point after(double seconds) {
  return Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(std::max(0.0, seconds)));
}

// An LR move as conflicts compare it: a shift without its target state.
std::string normalized(const std::string& action) { return !action.empty() && action[0] == 's' ? "s" : action; }

// Where the parser following two trees first moves differently.
struct Divergence {
  int row;
  Symbol symbol;
  std::string first, second;  // the two moves (LR: normalized; LL(1): the right sides)
};

// A verified pair of trees and where it makes the parser diverge.
struct FoundPair {
  Tree first, second;
  Symbols word;
  Divergence at;
  Tree derivations[2];  // the trees in a derivation of the word from the root
};

// A pair as the unifying search gave it, kept for the later conflicts.
struct RawPair {
  Tree first, second;
};

// Replaces the marked leaf of a context by a tree.
Tree inContext(MarkedTree context, Tree tree) {
  nodeAt(context.tree, context.leaf) = std::move(tree);
  return std::move(context.tree);
}

// Every non-terminal leaf replaced by the next of `words`, in order.
void completeLeaves(const GrammarView& g, Tree& tree, const std::vector<Tree>& words, size_t& k) {
  if (!tree.expanded) {
    if (g.isNonterminal(tree.symbol)) tree = words[k++];
    return;
  }
  for (Tree& child : tree.children) completeLeaves(g, child, words, k);
}

}  // namespace

struct CounterexampleFinder::Data {
  Data(TableSet& tables, TableKind kind, const SearchBounds& bounds)
      : tables(tables),
        kind(kind),
        bounds(bounds),
        grammar(tables.grammar()),
        lr(grammar, 0),
        ll(grammar, -1),
        tableDeadline(after(bounds.secondsPerTable)),
        unifyingDeadline(after(bounds.secondsPerTable * kUnifyingShare)) {}

  // The share of the table's time the unifying searches may take: the rest
  // is kept for the non-unifying ones, which are quick and always useful.
  static constexpr double kUnifyingShare = 0.75;

  TableSet& tables;
  TableKind kind;
  SearchBounds bounds;
  GrammarView grammar;
  Witnesses lr;  // the LR automata use production 0 only at the root
  Witnesses ll;
  Clock::time_point tableDeadline;
  Clock::time_point unifyingDeadline;
  std::vector<RawPair> found;

  const TableView& table() { return tables[kind]; }
  // The end of a search that starts now: the conflict's bound, within the table's.
  Clock::time_point conflictDeadline() const { return std::min(after(bounds.secondsPerConflict), tableDeadline); }
  const Witnesses& witnesses() const { return kind == TableKind::kLL1 ? ll : lr; }
  int rootOnly() const { return kind == TableKind::kLL1 ? -1 : 0; }

  Tree completed(Tree tree, const std::vector<Tree>& words) const {
    size_t k = 0;
    completeLeaves(grammar, tree, words, k);
    return tree;
  }

  // The shortest words of the form's non-terminal leaves; none when one derives no word.
  std::optional<std::vector<Tree>> shortestWords(const Symbols& form) const {
    std::vector<Tree> words;
    for (Symbol c : form) {
      if (!grammar.isNonterminal(c)) continue;
      if (!witnesses().derivesWord(c)) return std::nullopt;
      words.push_back(witnesses().word(c));
    }
    return words;
  }

  // The words of the leaves with the one that covers frontier position `at`
  // made to begin with `symbol`; none when that position is a terminal or
  // its leaf cannot begin so.
  std::optional<std::vector<Tree>> beginningAt(const Symbols& form, std::vector<Tree> words, size_t at, Symbol symbol) const {
    if (symbol == grammar.endMarker()) return std::nullopt;
    size_t position = 0, k = 0;
    for (Symbol c : form) {
      bool nonterminal = grammar.isNonterminal(c);
      size_t length = nonterminal ? frontierSymbols(words[k]).size() : 1;
      if (position + length > at) {
        if (!nonterminal || !witnesses().begins(c, symbol)) return std::nullopt;
        Tree tree = witnesses().beginning(c, symbol);
        if (!witnesses().completeToWord(tree)) return std::nullopt;
        words[k] = std::move(tree);
        return words;
      }
      position += length;
      k += nonterminal;
    }
    return std::nullopt;
  }

  // The entries of the cell as the runs' moves are compared.
  std::vector<std::string> movesOfCell(int row, Symbol symbol) {
    std::vector<std::string> entries;
    if (kind == TableKind::kLL1) {
      for (int p : table().predictions(row, symbol)) entries.push_back(grammar.formText(grammar.production(p).body));
    } else {
      for (const std::string& entry : TableView::entries(table().cell(row, symbol))) entries.push_back(normalized(entry));
    }
    return entries;
  }

  // Where two runs part: in the cell (row, symbol) by two of its entries, or not there.
  std::optional<Divergence> partingAt(const std::vector<Move> (&moves)[2], int row, Symbol symbol, size_t* read = nullptr) {
    int d = firstDifference(moves[0], moves[1]);
    if (d < 0 || static_cast<size_t>(d) >= std::min(moves[0].size(), moves[1].size())) return std::nullopt;
    const Move& a = moves[0][static_cast<size_t>(d)];
    const Move& b = moves[1][static_cast<size_t>(d)];
    if (read) *read = a.read;
    if (a.row != row || b.row != row || a.lookahead != b.lookahead) return std::nullopt;
    bool lr = kind != TableKind::kLL1;
    Divergence at{a.row, a.lookahead, lr ? normalized(a.action) : a.action, lr ? normalized(b.action) : b.action};
    std::vector<std::string> entries = movesOfCell(row, symbol);
    auto has = [&](const std::string& move) { return std::find(entries.begin(), entries.end(), move) != entries.end(); };
    if (at.first == at.second || !has(at.first) || !has(at.second)) return std::nullopt;
    return at;
  }

  // The pair, its leaves completed by `words`, in the derivation `context`
  // (the pair's root at `leaf`), explains the cell: the parser following
  // each full tree first moves differently there.
  std::optional<FoundPair> inDerivation(const RawPair& pair, const std::vector<Tree>& words, MarkedTree context, int row,
                                        Symbol symbol, size_t* read = nullptr) {
    // The context's own leaves become words; the pair's place stays out of it.
    nodeAt(context.tree, context.leaf) = Tree::node(pair.first.symbol, {});
    if (!witnesses().completeToWord(context.tree)) return std::nullopt;
    size_t offset = frontierPosition(context.tree, context.leaf);
    Tree full[2] = {context.tree, std::move(context.tree)};
    nodeAt(full[0], context.leaf) = completed(pair.first, words);
    nodeAt(full[1], context.leaf) = completed(pair.second, words);
    std::vector<Move> moves[2];
    for (int k = 0; k < 2; ++k) {
      bool followed = kind == TableKind::kLL1 ? ll1Moves(grammar, table(), full[k], moves[k])
                                              : lrMoves(grammar, table(), full[k], moves[k]);
      if (!followed) return std::nullopt;
    }
    size_t at = 0;
    std::optional<Divergence> parting = partingAt(moves, row, symbol, &at);
    if (read) *read = at >= offset ? at - offset : std::string::npos;
    if (!parting || parting->symbol != symbol) return std::nullopt;
    return FoundPair{pair.first, pair.second, frontierSymbols(full[0]), *parting, {std::move(full[0]), std::move(full[1])}};
  }

  // LL(1): the pair in the shortest derivation of its root, its leaves made
  // words, and if the runs part in the row under another symbol, the leaf
  // that gives it made to begin with this one.
  std::optional<FoundPair> placedLL1(const RawPair& pair, int row, Symbol symbol) {
    Symbol root = pair.first.symbol;
    MarkedTree context{Tree::leaf(root), {}};
    if (root != grammar.start()) {
      if (!ll.reaches(root, Witnesses::Root::kStartSymbol)) return std::nullopt;
      context = ll.reaching(root, Witnesses::Root::kStartSymbol);
    }
    Symbols form = frontierSymbols(pair.first);
    std::optional<std::vector<Tree>> words = shortestWords(form);
    if (!words) return std::nullopt;
    size_t read = 0;
    if (std::optional<FoundPair> found = inDerivation(pair, *words, context, row, symbol, &read)) return found;
    std::optional<std::vector<Tree>> moved = beginningAt(form, *words, read, symbol);
    if (!moved) return std::nullopt;
    return inDerivation(pair, *moved, context, row, symbol);
  }

  // LR: the pair read from every state that has its root after a dot; where
  // the runs part in the cell, a path to such an item of that state gives
  // the derivation around the pair (the parser's state depends on the
  // prefix alone, so that path leads it into the very state of the cell,
  // not one with the same items and other lookaheads).
  std::optional<FoundPair> placedLR(const RawPair& pair, int row, Symbol symbol, SearchBudget& budget) {
    const TableView& t = table();
    Symbol root = pair.first.symbol;
    Symbols form = frontierSymbols(pair.first);
    if (pair.first.production == 0) {  // the root's own production: no context
      std::optional<std::vector<Tree>> words = shortestWords(form);
      if (!words) return std::nullopt;
      size_t read = 0;
      MarkedTree none{Tree::leaf(root), {}};
      if (std::optional<FoundPair> found = inDerivation(pair, *words, none, row, symbol, &read)) return found;
      std::optional<std::vector<Tree>> moved = beginningAt(form, *words, read, symbol);
      return moved ? inDerivation(pair, *moved, none, row, symbol) : std::nullopt;
    }
    std::optional<std::vector<Tree>> words = shortestWords(form);
    if (!words) return std::nullopt;
    std::vector<std::vector<Tree>> tried{*words};
    for (size_t v = 0; v < tried.size(); ++v) {
      Tree subtrees[2] = {completed(pair.first, tried[v]), completed(pair.second, tried[v])};
      size_t length = frontierSymbols(subtrees[0]).size();
      for (int state : nearestFirst()) {
        const std::vector<StateItem>& items = t.automaton.states[static_cast<size_t>(state)];
        std::vector<int> before;  // the items with the root after the dot
        for (size_t k = 0; k < items.size(); ++k) {
          const Symbols& body = grammar.production(items[k].production).body;
          if (static_cast<size_t>(items[k].dot) < body.size() &&
              body[static_cast<size_t>(items[k].dot)] == root)
            before.push_back(static_cast<int>(k));
        }
        if (before.empty()) continue;
        if (!budget.step()) return std::nullopt;
        std::vector<Move> moves[2];
        bool whole = true;
        for (int k = 0; k < 2; ++k) whole = lrMovesFrom(grammar, t, state, subtrees[k], symbol, moves[k]) && whole;
        size_t read = std::string::npos;
        std::optional<Divergence> at = partingAt(moves, row, symbol, &read);
        if (!at && whole && endsBeforeTheOther(moves, row, symbol)) {
          // What follows the pair decides: try the items whatever their moves.
          for (int item : before)
            if (std::optional<FoundPair> found = aroundItem(pair, tried[v], state, item, true, symbol, row, budget)) return found;
          continue;
        }
        if (!at) continue;
        if (at->symbol != symbol) {
          // Parting in the state under another symbol that a leaf gives: that leaf begins with this one instead.
          if (v == 0 && tried.size() < kMovedWords && read < length)
            if (std::optional<std::vector<Tree>> moved = beginningAt(form, tried[v], read, symbol)) tried.push_back(*moved);
          continue;
        }
        for (int item : before)
          if (std::optional<FoundPair> found = aroundItem(pair, tried[v], state, item, read >= length, symbol, row, budget))
            return found;
      }
    }
    return std::nullopt;
  }

  // One run ends (by reducing the pair's root) where the other still moves in the cell:
  // the first goes on with a move of what follows the pair, in that very cell.
  static bool endsBeforeTheOther(const std::vector<Move> (&moves)[2], int row, Symbol symbol) {
    size_t shorter = moves[0].size() < moves[1].size() ? 0 : 1;
    const std::vector<Move>& a = moves[shorter];
    const std::vector<Move>& b = moves[1 - shorter];
    if (a.size() == b.size() || !std::equal(a.begin(), a.end(), b.begin())) return false;
    return b[a.size()].row == row && b[a.size()].lookahead == symbol;
  }

  // The LR states by the length of a shortest prefix that leads to them, so
  // that the derivations around a pair are among the shortest.
  const std::vector<int>& nearestFirst() {
    if (byDistance.empty()) {
      const Automaton& automaton = table().automaton;
      std::vector<bool> seen(automaton.states.size(), false);
      byDistance.push_back(0);
      seen[0] = true;
      for (size_t k = 0; k < byDistance.size(); ++k)
        for (const auto& [symbol, target] : automaton.transitions[static_cast<size_t>(byDistance[k])])
          if (target >= 0 && !seen[static_cast<size_t>(target)]) {
            seen[static_cast<size_t>(target)] = true;
            byDistance.push_back(target);
          }
    }
    return byDistance;
  }
  std::vector<int> byDistance;

  // The pair at the dot of an item of the state, in a derivation that
  // reaches the item; with `symbolAfter`, the symbol comes right after the pair.
  std::optional<FoundPair> aroundItem(const RawPair& pair, const std::vector<Tree>& words, int state, int item,
                                      bool symbolAfter, Symbol symbol, int row, SearchBudget& budget) {
    const TableView& t = table();
    const StateItem& it = t.automaton.states[static_cast<size_t>(state)][static_cast<size_t>(item)];
    const Symbols& body = grammar.production(it.production).body;
    Symbols rest(body.begin() + it.dot + 1, body.end());
    bool fromRest = symbolAfter && symbol != grammar.endMarker() && lr.beginningPosition(rest, symbol) >= 0;
    bool fromOutside = symbolAfter && !fromRest;
    if (fromOutside) {
      for (Symbol c : rest)
        if (!lr.vanishes(c)) return std::nullopt;
      if (it.lookahead != kNoLookahead && !t.inLookahead(it.lookahead, symbol)) return std::nullopt;
    }
    ItemPath path = itemPath(t, lr, state, item, symbol, fromOutside, nullptr, budget);
    if (!path.found || path.dotLeaf.empty()) return std::nullopt;
    std::vector<int> node(path.dotLeaf.begin(), path.dotLeaf.end() - 1);
    Tree& parent = nodeAt(path.tree, node);
    size_t after = static_cast<size_t>(path.dotLeaf.back()) + 1;
    if (fromRest) {
      std::vector<Tree> trees = lr.stringBeginning(rest, symbol);
      for (size_t j = 0; j < trees.size(); ++j) parent.children[after + j] = std::move(trees[j]);
    } else if (fromOutside) {
      for (size_t j = 0; j < rest.size(); ++j) parent.children[after + j] = lr.vanishing(rest[j]);
    }
    return inDerivation(pair, words, MarkedTree{std::move(path.tree), path.dotLeaf}, row, symbol);
  }

  static constexpr size_t kMovedWords = 4;

  std::optional<FoundPair> placed(const RawPair& pair, int row, Symbol symbol, SearchBudget& budget) {
    return kind == TableKind::kLL1 ? placedLL1(pair, row, symbol) : placedLR(pair, row, symbol, budget);
  }

  // A pair found before, placed for this cell.
  std::optional<FoundPair> fromFound(int row, Symbol symbol, SearchBudget& budget) {
    for (const RawPair& pair : found)
      if (std::optional<FoundPair> placing = placed(pair, row, symbol, budget)) return placing;
    return std::nullopt;
  }

  // Keeps a pair for the later conflicts of the table, a bounded number of them.
  void remember(const Tree& first, const Tree& second) {
    if (found.size() < kRemembered) found.push_back({first, second});
  }
  static constexpr size_t kRemembered = 64;

  // The LR(1) table has no conflict and its automaton starts from a rule
  // that stands for the whole grammar: no two trees share a frontier.
  bool provenUnambiguous() {
    if (!unambiguous) {
      const TableView& lr1 = tables[TableKind::kLR1];
      bool clean = true;
      for (size_t i = 1; i < lr1.cells.size() && clean; ++i)
        for (const std::string& cell : lr1.cells[i]) clean = clean && cell.find('|') == std::string::npos;
      unambiguous = clean && startHint(tables.grammar()).empty();
    }
    return *unambiguous;
  }
  std::optional<bool> unambiguous;

  // Searches for a unifying counterexample of the cell; true when found.
  bool unifying(int row, Symbol symbol, const std::vector<UnifyingStart>& starts, Counterexample& out, std::string& note) {
    if (bounds.trustLR1 && provenUnambiguous()) {
      note = "No unifying counterexample can exist: the LR(1) table has no conflict, so the grammar is unambiguous.";
      return false;
    }
    if (Clock::now() >= unifyingDeadline) {
      note = "The time for the table's searches for unifying counterexamples was used up before this conflict.";
      return false;
    }
    SearchBudget budget(bounds.stepsPerConflict, std::min(conflictDeadline(), unifyingDeadline));
    if (std::optional<FoundPair> pair = fromFound(row, symbol, budget)) return take(*pair, out);
    std::optional<FoundPair> chosen;
    UnifyingPair pair = searchUnifying(witnesses(), rootOnly(), starts, budget, [&](const Tree& a, const Tree& b) {
      if (!isUnifyingPair(grammar, a, b)) return false;
      remember(a, b);
      chosen = placed(RawPair{a, b}, row, symbol, budget);
      return chosen.has_value();
    });
    if (pair.found && chosen) return take(*chosen, out);
    if (budget.end() == SearchBudget::End::kSteps)
      note = "No unifying counterexample within " + std::to_string(bounds.stepsPerConflict) + " search steps.";
    else if (budget.end() == SearchBudget::End::kTime)
      note = "No unifying counterexample within the time bound.";
    else if (pair.exhausted)
      note = "No unifying counterexample: the search ran out of forms to try.";
    else
      note = "No unifying counterexample among forms of up to 24 symbols.";
    return false;
  }

  bool take(const FoundPair& pair, Counterexample& out) {
    out.kind = Counterexample::Kind::kUnifying;
    out.trees[0] = pair.first;
    out.trees[1] = pair.second;
    out.word = pair.word;
    out.derivations[0] = pair.derivations[0];
    out.derivations[1] = pair.derivations[1];
    out.actions[0] = entryOf(pair.at.first, pair.at);
    out.actions[1] = entryOf(pair.at.second, pair.at);
    return true;
  }

  // A move as the cell writes it: the shift with its state, the prediction as a production.
  std::string entryOf(const std::string& move, const Divergence& at) {
    const TableView& t = table();
    if (kind == TableKind::kLL1) {
      for (int p : t.predictions(at.row, at.symbol))
        if (grammar.formText(grammar.production(p).body) == move) return grammar.productionText(p);
      return move;
    }
    if (move != "s") return move;
    for (const std::string& entry : TableView::entries(t.cell(at.row, at.symbol)))
      if (entry[0] == 's') return entry;
    return move;
  }
};

CounterexampleFinder::CounterexampleFinder(TableSet& tables, TableKind kind, const SearchBounds& bounds)
    : data_(std::make_unique<Data>(tables, kind, bounds)) {}

CounterexampleFinder::~CounterexampleFinder() = default;

Counterexample CounterexampleFinder::forLR(int state, Symbol symbol, bool unifyingOnly) {
  Data& d = *data_;
  Counterexample out;
  if (!d.bounds.search) return out;
  const TableView& t = d.table();
  const GrammarView& g = d.grammar;
  std::vector<std::string> entries = TableView::entries(t.cell(state, symbol));
  const std::vector<StateItem>& items = t.automaton.states[static_cast<size_t>(state)];

  // The item behind each entry, and the heads the search tries first.
  struct Want {
    std::string action;
    int item = -1;
    bool need = false;
  };
  std::vector<Want> wants;
  Symbols preferred;
  for (const std::string& entry : entries) {
    Want want{entry, -1, entry[0] != 's'};
    for (size_t k = 0; k < items.size() && want.item < 0; ++k)
      if (itemMakes(g, t, items[k], entry, symbol)) want.item = static_cast<int>(k);
    if (want.item >= 0) {
      preferred.push_back(g.production(items[static_cast<size_t>(want.item)].production).head);
      wants.push_back(want);
    }
  }
  for (const StateItem& item : items) preferred.push_back(g.production(item.production).head);

  std::string note;
  std::vector<UnifyingStart> starts = unifyingStarts(d.lr, 0, preferred, static_cast<size_t>(d.bounds.stepsPerConflict));
  if (d.unifying(state, symbol, starts, out, note)) {
    if (explainsLRCell(g, t, out, state, symbol)) return out;
    out = Counterexample{};
    note = "A unifying counterexample was found but did not pass its check.";
  }
  if (unifyingOnly) return out;

  // A non-unifying counterexample: one prefix, a derivation per entry.
  SearchBudget budget(d.bounds.stepsPerConflict, d.conflictDeadline());
  std::stable_sort(wants.begin(), wants.end(), [](const Want& a, const Want& b) { return a.need > b.need; });
  out.note = note;
  std::vector<Counterexample::Example> examples;
  std::vector<bool> done(wants.size(), false);
  for (bool need : {true, false}) {
    for (size_t k = 0; k < wants.size() && examples.empty(); ++k) {
      ItemPath path = itemPath(t, d.lr, state, wants[k].item, symbol, need && wants[k].need, nullptr, budget);
      if (!path.found) continue;
      out.prefix = path.prefix;
      examples.push_back({wants[k].action, path.prefix, std::move(path.tree), path.symbolNext});
      done[k] = true;
    }
  }
  for (size_t k = 0; k < wants.size() && !examples.empty(); ++k) {
    if (done[k]) continue;
    // The common prefix with the symbol next, else a prefix of its own with
    // it (a merged LALR state), else the common prefix without it (an SLR
    // reduction that Follow alone puts there).
    ItemPath path;
    const Symbols* common = &out.prefix;
    struct Try {
      const Symbols* prefix;
      bool need;
    };
    for (Try attempt : {Try{common, true}, Try{nullptr, true}, Try{common, false}, Try{nullptr, false}}) {
      if (path.found || (!attempt.need && !wants[k].need && attempt.prefix == nullptr)) continue;
      path = itemPath(t, d.lr, state, wants[k].item, symbol, attempt.need && wants[k].need, attempt.prefix, budget);
    }
    if (path.found) examples.push_back({wants[k].action, path.prefix, std::move(path.tree), path.symbolNext});
  }

  // Shown only when the table's parser reads every prefix into the state.
  if (examples.empty() || lrStateAfter(g, t, out.prefix) != state) {
    out.note += out.note.empty() ? "" : " ";
    out.note += "No counterexample could be found and checked.";
    return out;
  }
  for (Counterexample::Example& example : examples) {
    Symbols leaves = frontierSymbols(example.tree);
    bool sound = isDerivation(g, example.tree) && example.tree.production == 0 && startsWith(leaves, example.prefix) &&
                 lrStateAfter(g, t, example.prefix) == state;
    if (!sound) continue;
    example.symbolNext = comesNext(g, leaves, example.prefix.size(), symbol);
    out.examples.push_back(std::move(example));
  }
  if (!out.examples.empty()) out.kind = Counterexample::Kind::kNonUnifying;
  // Found means an analysis for every entry of the cell.
  if (out.kind == Counterexample::Kind::kNonUnifying && !explainsLRCell(g, t, out, state, symbol)) {
    out.kind = Counterexample::Kind::kNone;
    out.examples.clear();
    out.note += out.note.empty() ? "" : " ";
    out.note += "No counterexample could be found and checked for every entry of the cell.";
  }
  return out;
}

Counterexample CounterexampleFinder::forLL1(Symbol nonterminal, Symbol symbol, bool unifyingOnly) {
  Data& d = *data_;
  Counterexample out;
  if (!d.bounds.search) return out;
  const GrammarView& g = d.grammar;
  const Witnesses& w = d.ll;
  int row = d.table().rowOf(nonterminal);

  // The productions in the cell, each once, and whether one is there through Follow.
  std::vector<int> placed;
  std::vector<bool> throughFirst;
  bool needFollow = symbol == g.endMarker();
  for (int p : g.alternatives(nonterminal)) {
    const Symbols& body = g.production(p).body;
    bool first = symbol != g.endMarker() && g.beginsWith(body, symbol);
    bool follow = g.vanishes(body) && g.inFollow(nonterminal, symbol);
    if (!first && !follow) continue;
    placed.push_back(p);
    throughFirst.push_back(first);
    needFollow = needFollow || !first;
  }

  std::vector<UnifyingStart> starts;
  size_t limit = static_cast<size_t>(d.bounds.stepsPerConflict);
  for (size_t i = 0; i < placed.size(); ++i)
    for (size_t j = i + 1; j < placed.size() && starts.size() < limit; ++j) starts.push_back({nonterminal, placed[i], placed[j]});
  for (int p : placed)
    if (starts.size() < limit && leadsBack(w, -1, p)) starts.push_back({nonterminal, p, -1});
  std::string note;
  if (d.unifying(row, symbol, starts, out, note) || unifyingOnly) return out;
  out.note = note;

  // Non-unifying: a leftmost derivation to w A g with the symbol next, then each production.
  auto none = [&] {
    out.examples.clear();
    out.note += out.note.empty() ? "" : " ";
    out.note += "No counterexample could be found and checked.";
    return out;
  };
  MarkedTree context;
  if (!w.leftmostContext(nonterminal, symbol, needFollow, context)) return none();
  out.prefix = frontierSymbols(context.tree);
  out.prefix.resize(frontierPosition(context.tree, context.leaf));

  std::vector<std::vector<Move>> runs;
  std::vector<Symbols> bodies;
  for (size_t k = 0; k < placed.size(); ++k) {
    int p = placed[k];
    Tree subtree = productionNode(g, p);
    const Symbols& body = g.production(p).body;
    if (throughFirst[k]) {
      std::vector<Tree> trees = w.stringBeginning(body, symbol);
      for (size_t j = 0; j < trees.size(); ++j) subtree.children[j] = std::move(trees[j]);
    } else {
      for (size_t j = 0; j < body.size(); ++j) subtree.children[j] = w.vanishing(body[j]);
    }
    Tree full = inContext(context, std::move(subtree));
    std::vector<Move> moves;
    // Checked: a derivation of the start symbol that the table's parser follows.
    if (!ll1Moves(g, d.table(), full, moves)) return none();
    bool next = comesNext(g, frontierSymbols(full), out.prefix.size(), symbol);
    out.examples.push_back({g.productionText(p), out.prefix, std::move(full), next});
    runs.push_back(std::move(moves));
    bodies.push_back(body);
  }
  // The runs part at the conflict's cell, each with its own prediction
  // (alternatives with the same text cannot part, and need not).
  for (size_t k = 1; k < runs.size(); ++k) {
    int at = firstDifference(runs[0], runs[k]);
    bool parts = at >= 0 && static_cast<size_t>(at) < runs[0].size() && static_cast<size_t>(at) < runs[k].size() &&
                 runs[0][static_cast<size_t>(at)].row == row && runs[0][static_cast<size_t>(at)].lookahead == symbol;
    if (!parts && bodies[k] != bodies[0]) return none();
  }
  if (out.examples.empty()) return none();
  out.kind = Counterexample::Kind::kNonUnifying;
  return out;
}
