// The parsers here follow a given derivation instead of choosing: at each
// move the move the derivation needs must be one of the cell's entries.
#include "explain/verify.h"

#include <algorithm>
#include <charconv>
#include <deque>
#include <unordered_set>

namespace {

// The number after an entry's letter ("s12" -> 12), or -1.
int numberIn(std::string_view text) {
  int n = -1;
  if (text.empty() || std::from_chars(text.data(), text.data() + text.size(), n).ec != std::errc()) return -1;
  return n;
}

// The entry of a cell that starts with `letter`, matching `number` when it is not -1.
int entryNumber(std::string_view cell, char letter, int number) {
  while (!cell.empty()) {
    size_t bar = cell.find('|');
    std::string_view entry = cell.substr(0, bar);
    cell = bar == std::string_view::npos ? std::string_view() : cell.substr(bar + 1);
    if (entry.empty() || entry[0] != letter) continue;
    int n = numberIn(entry.substr(1));
    if (number == -1 || n == number) return n;
  }
  return -1;
}

bool hasEntry(std::string_view cell, std::string_view wanted) {
  while (true) {
    size_t bar = cell.find('|');
    if (cell.substr(0, bar) == wanted) return true;
    if (bar == std::string_view::npos) return false;
    cell = cell.substr(bar + 1);
  }
}

class LRRun {
 public:
  LRRun(const GrammarView& grammar, const TableView& table, Symbols word, std::vector<Move>& moves, int state = 0)
      : grammar_(grammar), table_(table), word_(std::move(word)), moves_(moves), stack_{state} {}

  bool follow(const Tree& node, bool root) {
    for (const Tree& child : node.children) {
      if (child.expanded) {
        if (!follow(child, false)) return false;
      } else if (Symbol s = child.symbol; grammar_.isNonterminal(s) || !shift(s)) {
        return false;
      }
    }
    return root ? accept() : reduce(node.production);
  }

 private:
  Symbol lookahead() const { return at_ < word_.size() ? word_[at_] : grammar_.endMarker(); }
  int top() const { return stack_.back(); }

  bool shift(Symbol t) {
    int target = entryNumber(table_.cell(top(), t), 's', -1);
    if (target < 0 || target >= table_.rowCount()) return false;
    moves_.push_back({top(), t, "s" + std::to_string(target), at_});
    stack_.push_back(target);
    ++at_;
    return true;
  }

  bool reduce(int production) {
    if (production < 0 || production >= grammar_.productionCount()) return false;
    if (entryNumber(table_.cell(top(), lookahead()), 'r', production) != production) return false;
    moves_.push_back({top(), lookahead(), "r" + std::to_string(production), at_});
    const GrammarView::Production& p = grammar_.production(production);
    if (p.body.size() >= stack_.size()) return false;
    stack_.resize(stack_.size() - p.body.size());
    int target = numberIn(table_.cell(top(), p.head));
    if (target < 0 || target >= table_.rowCount()) return false;
    stack_.push_back(target);
    return true;
  }

  bool accept() {
    Symbol end = grammar_.endMarker();
    if (lookahead() != end || !hasEntry(table_.cell(top(), end), "a")) return false;
    moves_.push_back({top(), end, "a", at_});
    return true;
  }

  const GrammarView& grammar_;
  const TableView& table_;
  Symbols word_;
  std::vector<Move>& moves_;
  std::vector<int> stack_;
  size_t at_ = 0;
};

// A configuration of the parser that takes every entry: its stack and how much it has read.
struct Configuration {
  std::vector<int> stack;
  size_t read = 0;
};

std::string keyOf(const Configuration& c) {
  std::string key(reinterpret_cast<const char*>(c.stack.data()), c.stack.size() * sizeof(int));
  key.append(reinterpret_cast<const char*>(&c.read), sizeof c.read);
  return key;
}

// The first terminal of the frontier at or after the leaf position `from`,
// or the end marker at the end; kNoSymbol when a non-terminal leaf comes first.
Symbol terminalFrom(const GrammarView& grammar, const Symbols& frontier, size_t from) {
  if (from >= frontier.size()) return grammar.endMarker();
  return grammar.isNonterminal(frontier[from]) ? kNoSymbol : frontier[from];
}

// The symbols of a node's children: the body it was expanded by.
Symbols childSymbols(const Tree& node) {
  Symbols body;
  for (const Tree& child : node.children) body.push_back(child.symbol);
  return body;
}

// True while every prediction so far could be checked and was in its cell.
bool predict(const GrammarView& grammar, const TableView& table, const Tree& node, const Symbols& frontier,
             size_t& at, bool& stopped, std::vector<Move>& moves) {
  if (stopped) return true;
  if (!node.expanded) {
    ++at;
    return true;
  }
  Symbol lookahead = terminalFrom(grammar, frontier, at);
  if (lookahead == kNoSymbol) {
    stopped = true;
    return true;
  }
  Symbols body = childSymbols(node);
  int row = table.rowOf(node.symbol);
  bool placed = false;
  for (int p : table.predictions(row, lookahead)) placed = placed || grammar.production(p).body == body;
  if (!placed) return false;
  moves.push_back({row, lookahead, grammar.formText(body), at});
  for (const Tree& child : node.children)
    if (!predict(grammar, table, child, frontier, at, stopped, moves)) return false;
  return true;
}

}  // namespace

bool isDerivation(const GrammarView& grammar, const Tree& tree) {
  if (!tree.expanded) return true;
  Symbols body = childSymbols(tree);
  Symbol head = tree.symbol;
  bool found = false;
  if (tree.production >= 0) {
    found = tree.production < grammar.productionCount() && grammar.production(tree.production).head == head &&
            grammar.production(tree.production).body == body;
  } else {
    for (int p : grammar.alternatives(head)) found = found || grammar.production(p).body == body;
  }
  if (!found) return false;
  for (const Tree& child : tree.children)
    if (!isDerivation(grammar, child)) return false;
  return true;
}

bool lrMoves(const GrammarView& grammar, const TableView& table, const Tree& tree, std::vector<Move>& moves) {
  moves.clear();
  Symbols word = frontierSymbols(tree);
  for (Symbol s : word)
    if (grammar.isNonterminal(s)) return false;
  if (!tree.expanded || tree.production != 0 || !isDerivation(grammar, tree)) return false;
  return LRRun(grammar, table, word, moves).follow(tree, true);
}

bool ll1Moves(const GrammarView& grammar, const TableView& table, const Tree& tree, std::vector<Move>& moves) {
  moves.clear();
  if (tree.symbol != grammar.start() || !isDerivation(grammar, tree)) return false;
  size_t at = 0;
  bool stopped = false;
  return predict(grammar, table, tree, frontierSymbols(tree), at, stopped, moves);
}

bool lrMovesFrom(const GrammarView& grammar, const TableView& table, int state, const Tree& tree, Symbol next,
                 std::vector<Move>& moves) {
  moves.clear();
  Symbols word = frontierSymbols(tree);
  for (Symbol s : word)
    if (grammar.isNonterminal(s)) return false;
  if (!tree.expanded || !isDerivation(grammar, tree) || state < 0 || state >= table.rowCount()) return false;
  if (next != grammar.endMarker()) word.push_back(next);
  return LRRun(grammar, table, word, moves, state).follow(tree, false);
}

bool itemMakes(const GrammarView& grammar, const TableView& table, const StateItem& item, const std::string& entry,
               Symbol symbol) {
  const Symbols& body = grammar.production(item.production).body;
  bool complete = static_cast<size_t>(item.dot) >= body.size();
  if (entry[0] == 's') return !complete && body[static_cast<size_t>(item.dot)] == symbol;
  if (entry == "a") return complete && item.production == 0;
  if (!complete || "r" + std::to_string(item.production) != entry) return false;
  return item.lookahead == kNoLookahead || table.inLookahead(item.lookahead, symbol);
}

int firstDifference(const std::vector<Move>& a, const std::vector<Move>& b) {
  for (size_t k = 0; k < std::max(a.size(), b.size()); ++k)
    if (k >= a.size() || k >= b.size() || !(a[k] == b[k])) return static_cast<int>(k);
  return -1;
}

int lrStateAfter(const GrammarView& grammar, const TableView& table, std::span<const Symbol> prefix) {
  int state = 0;
  for (Symbol symbol : prefix) {
    const std::string& cell = table.cell(state, symbol);
    state = grammar.isNonterminal(symbol) ? numberIn(cell) : entryNumber(cell, 's', -1);
    if (state < 0 || state >= table.rowCount()) return -1;
  }
  return state;
}

bool isUnifyingPair(const GrammarView& grammar, const Tree& first, const Tree& second) {
  return first.symbol == second.symbol && isDerivation(grammar, first) && isDerivation(grammar, second) &&
         frontierSymbols(first) == frontierSymbols(second) && !(first == second);
}

bool reachesCell(const GrammarView& grammar, const TableView& table, std::span<const Symbol> word, int row, Symbol symbol,
                 long bound) {
  // Breadth first over the configurations, so that a loop of empty
  // reductions cannot hide a short run; the stacks are kept short for the same reason.
  size_t deepest = 2 * word.size() + 64;
  std::deque<Configuration> queue{Configuration{{0}, 0}};
  std::unordered_set<std::string> seen{keyOf(queue.front())};
  auto offer = [&](Configuration next) {
    if (next.stack.size() <= deepest && seen.insert(keyOf(next)).second) queue.push_back(std::move(next));
  };
  for (long moves = 0; !queue.empty() && moves < bound; ++moves) {
    Configuration c = std::move(queue.front());
    queue.pop_front();
    Symbol lookahead = c.read < word.size() ? word[c.read] : grammar.endMarker();
    int top = c.stack.back();
    if (top == row && lookahead == symbol) return true;
    for (const std::string& entry : TableView::entries(table.cell(top, lookahead))) {
      int n = numberIn(std::string_view(entry).substr(1));
      if (entry[0] == 's' && n >= 0 && n < table.rowCount()) {
        Configuration next = c;
        next.stack.push_back(n);
        ++next.read;
        offer(std::move(next));
      } else if (entry[0] == 'r' && n > 0 && n < grammar.productionCount()) {
        const GrammarView::Production& p = grammar.production(n);
        if (p.body.size() >= c.stack.size()) continue;
        Configuration next = c;
        next.stack.resize(next.stack.size() - p.body.size());
        int target = numberIn(table.cell(next.stack.back(), p.head));
        if (target < 0 || target >= table.rowCount()) continue;
        next.stack.push_back(target);
        offer(std::move(next));
      }
    }
  }
  return false;
}

namespace {

// The pattern stands in the tree from this node down; its non-terminal leaves stand for anything of their symbol.
bool covers(const GrammarView& grammar, const Tree& pattern, const Tree& tree) {
  if (pattern.symbol != tree.symbol) return false;
  if (!pattern.expanded) return grammar.isNonterminal(pattern.symbol) || !tree.expanded;
  if (!tree.expanded || pattern.children.size() != tree.children.size() || pattern.production != tree.production) return false;
  for (size_t k = 0; k < pattern.children.size(); ++k)
    if (!covers(grammar, pattern.children[k], tree.children[k])) return false;
  return true;
}

bool standsIn(const GrammarView& grammar, const Tree& pattern, const Tree& tree) {
  if (covers(grammar, pattern, tree)) return true;
  for (const Tree& child : tree.children)
    if (standsIn(grammar, pattern, child)) return true;
  return false;
}

bool sameShift(const std::string& a, const std::string& b) { return a == b || (a[0] == 's' && b[0] == 's'); }

}  // namespace

bool explainsLRCell(const GrammarView& grammar, const TableView& table, const Counterexample& ce, int row, Symbol symbol) {
  std::vector<std::string> entries = TableView::entries(table.cell(row, symbol));
  auto inCell = [&](const std::string& action) { return std::find(entries.begin(), entries.end(), action) != entries.end(); };
  if (entries.size() < 2) return false;
  if (ce.kind == Counterexample::Kind::kUnifying) {
    if (!isUnifyingPair(grammar, ce.trees[0], ce.trees[1]) || ce.actions[0] == ce.actions[1]) return false;
    if (!inCell(ce.actions[0]) || !inCell(ce.actions[1])) return false;
    std::vector<Move> moves[2];
    for (int k = 0; k < 2; ++k)
      if (!lrMoves(grammar, table, ce.derivations[k], moves[k]) || frontierSymbols(ce.derivations[k]) != ce.word ||
          !standsIn(grammar, ce.trees[k], ce.derivations[k]))
        return false;
    int d = firstDifference(moves[0], moves[1]);
    if (d < 0 || static_cast<size_t>(d) >= std::min(moves[0].size(), moves[1].size())) return false;
    for (int k = 0; k < 2; ++k) {
      const Move& m = moves[k][static_cast<size_t>(d)];
      if (m.row != row || m.lookahead != symbol || !sameShift(m.action, ce.actions[k])) return false;
    }
    return reachesCell(grammar, table, ce.word, row, symbol);
  }
  if (ce.kind == Counterexample::Kind::kNonUnifying) {
    for (const std::string& entry : entries) {
      bool shown = false;
      for (const Counterexample::Example& e : ce.examples) shown = shown || e.action == entry;
      if (!shown) return false;
    }
    for (const Counterexample::Example& e : ce.examples) {
      Symbols leaves = frontierSymbols(e.tree);
      if (!inCell(e.action) || !e.tree.expanded || e.tree.production != 0 || !isDerivation(grammar, e.tree) ||
          !startsWith(leaves, e.prefix) || lrStateAfter(grammar, table, e.prefix) != row)
        return false;
    }
    return true;
  }
  return false;
}
