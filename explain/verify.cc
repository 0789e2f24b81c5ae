#include "explain/verify.h"

#include <charconv>

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
  LRRun(const GrammarView& grammar, const TableView& table, std::string word, std::vector<Move>& moves)
      : grammar_(grammar), table_(table), word_(std::move(word)), moves_(moves) {}

  bool follow(const Tree& node, bool root) {
    for (const Tree& child : node.children) {
      if (child.expanded) {
        if (!follow(child, false)) return false;
      } else if (GrammarView::isNonterminal(child.symbol) || !shift(child.symbol)) {
        return false;
      }
    }
    return root ? accept() : reduce(node.production);
  }

 private:
  char lookahead() const { return at_ < word_.size() ? word_[at_] : '$'; }
  int top() const { return stack_.back(); }

  bool shift(char t) {
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
    if (lookahead() != '$' || !hasEntry(table_.cell(top(), '$'), "a")) return false;
    moves_.push_back({top(), '$', "a", at_});
    return true;
  }

  const GrammarView& grammar_;
  const TableView& table_;
  std::string word_;
  std::vector<Move>& moves_;
  std::vector<int> stack_{0};
  size_t at_ = 0;
};

// The first terminal of the frontier at or after the leaf position `from`,
// or '$' at the end; '\0' when a non-terminal leaf comes first.
char terminalFrom(const std::string& frontier, size_t from) {
  if (from >= frontier.size()) return '$';
  return GrammarView::isNonterminal(frontier[from]) ? '\0' : frontier[from];
}

// True while every prediction so far could be checked and was in its cell.
bool predict(const GrammarView& grammar, const TableView& table, const Tree& node, const std::string& frontier,
             size_t& at, bool& stopped, std::vector<Move>& moves) {
  if (stopped) return true;
  if (!node.expanded) {
    ++at;
    return true;
  }
  char lookahead = terminalFrom(frontier, at);
  if (lookahead == '\0') {
    stopped = true;
    return true;
  }
  std::string body;
  for (const Tree& child : node.children) body += child.symbol;
  if (body.empty()) body = "e";
  int row = table.rowOf(node.symbol);
  std::vector<std::string> entries = TableView::entries(table.cell(row, lookahead));
  bool placed = false;
  for (size_t k = 0; k < entries.size(); ++k)
    placed = placed || (k == 0 ? entries[k].size() >= 3 && entries[k].substr(3) == body : entries[k] == body);
  if (!placed) return false;
  moves.push_back({row, lookahead, body, at});
  for (const Tree& child : node.children)
    if (!predict(grammar, table, child, frontier, at, stopped, moves)) return false;
  return true;
}

}  // namespace

bool isDerivation(const GrammarView& grammar, const Tree& tree) {
  if (!tree.expanded) return true;
  std::string body;
  for (const Tree& child : tree.children) body += child.symbol;
  bool found = false;
  if (tree.production >= 0) {
    found = tree.production < grammar.productionCount() && grammar.production(tree.production).head == tree.symbol &&
            grammar.production(tree.production).body == body;
  } else {
    for (int p : grammar.alternatives(tree.symbol)) found = found || grammar.production(p).body == body;
  }
  if (!found) return false;
  for (const Tree& child : tree.children)
    if (!isDerivation(grammar, child)) return false;
  return true;
}

bool lrMoves(const GrammarView& grammar, const TableView& table, const Tree& tree, std::vector<Move>& moves) {
  moves.clear();
  std::string word = frontier(tree);
  for (char c : word)
    if (GrammarView::isNonterminal(c)) return false;
  if (!tree.expanded || tree.production != 0 || !isDerivation(grammar, tree)) return false;
  return LRRun(grammar, table, word, moves).follow(tree, true);
}

bool ll1Moves(const GrammarView& grammar, const TableView& table, const Tree& tree, std::vector<Move>& moves) {
  moves.clear();
  if (tree.symbol != grammar.start() || !isDerivation(grammar, tree)) return false;
  size_t at = 0;
  bool stopped = false;
  return predict(grammar, table, tree, frontier(tree), at, stopped, moves);
}

int firstDifference(const std::vector<Move>& a, const std::vector<Move>& b) {
  for (size_t k = 0; k < std::max(a.size(), b.size()); ++k)
    if (k >= a.size() || k >= b.size() || !(a[k] == b[k])) return static_cast<int>(k);
  return -1;
}

int lrStateAfter(const TableView& table, std::string_view prefix) {
  int state = 0;
  for (char symbol : prefix) {
    const std::string& cell = table.cell(state, symbol);
    state = GrammarView::isNonterminal(symbol) ? numberIn(cell) : entryNumber(cell, 's', -1);
    if (state < 0 || state >= table.rowCount()) return -1;
  }
  return state;
}

bool isUnifyingPair(const GrammarView& grammar, const Tree& first, const Tree& second) {
  return first.symbol == second.symbol && isDerivation(grammar, first) && isDerivation(grammar, second) &&
         frontier(first) == frontier(second) && !(first == second);
}
