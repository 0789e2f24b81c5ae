// The three LR tables are one procedure over three automata.  They differ
// in the states, in how the state reached on a symbol is found (a goto with
// the same items, lookahead sets included, or with the same core for LALR),
// and in the columns of a reduction: Follow of the production's head (SLR)
// or the item's lookahead (LR(1), LALR).
#include "tables/lr_tables.h"

#include <string>
#include <vector>

#include "tables/table.h"

namespace {

// The automaton brings its states and, through its transitions, how the
// state reached on a symbol is found; reductionColumns(item) gives the
// symbols under which a complete item reduces.
template <class ReductionColumns>
Table buildLRTable(const Parsing& grammar, const Automaton& automaton, ReductionColumns reductionColumns) {
  HString terminals = grammar.terminals();
  int t = terminals.getLength();
  int n = static_cast<int>(automaton.states.size());
  Table table = emptyTable(n + 1, t + 2 + grammar.rules.getCount());
  Row& header = table[0];
  for (int j = 0; j < t; ++j) header[j + 1] = HString(terminals[j]);
  header[t + 1] = "$";
  for (int k = 0; k < grammar.rules.getCount(); ++k) header[t + 2 + k] = HString(grammar.rules[k][0]);
  ColumnMap column(header);
  std::vector<int> bodyLength;
  for (const HString& production : grammar.productions) bodyLength.push_back(production.getLength() - 3);

  int rowNumber = 0;
  for (Row& row : table) {
    int s = rowNumber++ - 1;
    if (s < 0) continue;  // the header
    row[0] = HString(s);
    for (const StateItem& item : automaton.states[static_cast<size_t>(s)]) {
      if (item.dot < bodyLength[static_cast<size_t>(item.production)]) {
        char x = grammar.productions[item.production][item.dot + 3];
        if (!grammar.isTerminal(x) || column[x] == -1) continue;
        int target = automaton.target(s, x);
        if (target != -1) placeAction(row[column[x]], HString("s") + target);
      } else if (item.production == 0) {
        placeAction(row[column['$']], "a");
      } else {
        HString reduce = HString("r") + item.production;
        for (char c : reductionColumns(item))
          if (column[c] != -1) placeAction(row[column[c]], reduce);
      }
    }
    for (const HString& rule : grammar.rules) {
      int target = automaton.target(s, rule[0]);
      if (target != -1) row[column[rule[0]]] = HString(target);
    }
  }
  return table;
}

}  // namespace

void placeAction(HString& cell, const HString& action) {
  if (cell.getLength() == 0) {
    cell = action;
    return;
  }
  for (int start = 0; start <= cell.getLength();) {
    HString entry = cell.getToken("|", start);
    if (entry == action) return;
    start += entry.getLength() + 1;
  }
  cell += HString("|") + action;
}

Table slrTableOf(const Parsing& grammar, const Automaton& lr0) {
  Row follows = grammar.follow();
  std::vector<std::string> followOfHead;
  for (const HString& production : grammar.productions)
    followOfHead.emplace_back(follows[grammar.indexOfNonTerminal(production[0])].view());
  return buildLRTable(grammar, lr0,
                      [&](const StateItem& item) -> const std::string& { return followOfHead[static_cast<size_t>(item.production)]; });
}

Table lookaheadTableOf(const Parsing& grammar, const Automaton& automaton) {
  return buildLRTable(grammar, automaton,
                      [&](const StateItem& item) -> const std::string& { return automaton.lookaheads.text(item.lookahead); });
}

Table slrTable(const Parsing& grammar) { return slrTableOf(grammar, buildLR0Automaton(grammar)); }

Table lr1Table(const Parsing& grammar) { return lookaheadTableOf(grammar, buildLR1Automaton(grammar)); }

Table lalrTable(const Parsing& grammar) { return lookaheadTableOf(grammar, mergeByCore(buildLR1Automaton(grammar))); }
