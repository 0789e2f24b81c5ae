// The three LR tables are one procedure over three automata.  They differ
// in the states, in how the state reached on a symbol is found, and in the
// columns of a reduction: Follow of the production's head (SLR) or the
// item's lookahead (LR(1), LALR).
#include "tables/lr_tables.h"

#include "automata/collection.h"
#include "automata/lalr.h"
#include "tables/table.h"

namespace {

// targetOf(s, X): the state reached from state s on X, or -1.
// reductionColumns(item): the symbols under which a complete item reduces.
template <class Item, class TargetOf, class ReductionColumns>
Table buildLRTable(const Parsing& grammar, const HList<HList<Item>>& states, TargetOf targetOf,
                   ReductionColumns reductionColumns) {
  HString terminals = grammar.terminals();
  int t = terminals.getLength();
  int n = states.getCount();
  Table table = emptyTable(n + 1, t + 2 + grammar.rules.getCount());
  Row& header = table[0];
  for (int j = 0; j < t; ++j) header[j + 1] = HString(terminals[j]);
  header[t + 1] = "$";
  for (int k = 0; k < grammar.rules.getCount(); ++k) header[t + 2 + k] = HString(grammar.rules[k][0]);
  ColumnMap column(header);
  for (int s = 0; s < n; ++s) table[s + 1][0] = HString(s);

  for (int s = 0; s < n; ++s) {
    Row& row = table[s + 1];
    for (const Item& item : states[s]) {
      if (!grammar.isComplete(item)) {
        char x = grammar.symbolAfterDot(item);
        if (!grammar.isTerminal(x) || column[x] == -1) continue;
        int target = targetOf(s, x);
        if (target != -1) placeAction(row[column[x]], HString("s") + target);
      } else if (item.production == 0) {
        placeAction(row[column['$']], "a");
      } else {
        HString symbols = reductionColumns(item);
        for (int c = 0; c < symbols.getLength(); ++c)
          if (column[symbols[c]] != -1) placeAction(row[column[symbols[c]]], HString("r") + item.production);
      }
    }
    for (const HString& rule : grammar.rules) {
      int target = targetOf(s, rule[0]);
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

Table slrTable(const Parsing& grammar) {
  HList<LR0_ItemsList> states = grammar.buildLR0Collection();
  Row follows = grammar.follow();
  return buildLRTable(
      grammar, states,
      [&](int s, char x) { return indexOfState(states, grammar.gotoLR0(states[s], x)); },
      [&](const LR0_Item& item) {
        return follows[grammar.indexOfNonTerminal(grammar.productions[item.production][0])];
      });
}

Table lr1Table(const Parsing& grammar) {
  LR1_ItemsListList states = grammar.buildLR1Collection();
  return buildLRTable(
      grammar, states,
      [&](int s, char x) { return indexOfState(states, grammar.gotoLR1(states[s], x)); },
      [](const LR1_Item& item) { return item.lookahead; });
}

Table lalrTable(const Parsing& grammar) {
  LR1_ItemsListList states = lalrStates(grammar);
  return buildLRTable(
      grammar, states,
      [&](int s, char x) {
        LR1_ItemsList target = grammar.gotoLR1(states[s], x);
        int j = 0;
        for (const LR1_ItemsList& state : states) {
          if (sameCore(state, target)) return j;
          ++j;
        }
        return -1;
      },
      [](const LR1_Item& item) { return item.lookahead; });
}
