// The properties checked on every input.  Besides running everything (a
// crash or a hang is a failure by itself), they compare what the analyses
// say with each other and with textbook computations:
// - First and Follow equal the sets of the fixed-point definitions; Follow
//   never holds 'e'; First holds 'e' exactly for the nullable non-terminals;
// - the listings have one block per table row; the LALR and SLR tables have
//   as many rows as there are LR(0) states, the LR(1) table at least as many,
//   and the similar-state texts are as many as the LALR states;
// - every row has the header's number of cells; every shift, goto and reduce
//   names an existing state or production; "a" stands in the "$" column only;
// - the engine agrees with the literal item-list operations (the oracle):
//   the LR(0) and LR(1) collections, the LALR states and the similar-state
//   texts are the same states in the same order with the same item orders
//   and lookahead texts, and replaying a trace on a literal stack gives its
//   stack cells (symbolStackText, stackText);
// - a trace ends with "Accept" or "Error" and numbers its steps from 1;
// - a word accepted by two conflict-free LR tables gets the same actions and
//   inputs from both; a word derived from the grammar is accepted by every
//   conflict-free table (for the LR tables when the first rule only starts
//   the grammar);
// - the LALR automaton computed on the LR(0) states has the states,
//   transitions and lookahead sets of the merged LR(1) collection, and the
//   command layer's LALR table and conflict count, whichever route they
//   take, are those of the merged collection.
#include "fuzz/properties.h"

#include <algorithm>
#include <map>
#include <set>

#include "automata/automaton.h"
#include "commands/commands.h"
#include "grammar/reading.h"
#include "simulation/ll1_evaluation.h"
#include "simulation/lr_evaluation.h"
#include "tables/conflicts.h"
#include "tables/listings.h"
#include "tables/lr_tables.h"
#include "tables/table.h"

namespace {

using Problems = std::vector<std::string>;

std::string text(const HString& s) { return std::string(s.view()); }

bool isUpper(char c) { return c >= 'A' && c <= 'Z'; }

// The fixed-point definitions of nullable, First and Follow.
struct TextbookSets {
  std::map<char, std::set<char>> first, follow;
  std::set<char> nullable;

  explicit TextbookSets(const Parsing& model) {
    std::vector<std::pair<char, std::string>> productions;
    for (const HString& p : model.productions) {
      std::string body = text(p.getSubString(3));
      productions.emplace_back(p[0], body == "e" ? "" : body);
    }
    for (bool changed = true; changed;) {
      changed = false;
      for (const auto& [head, body] : productions) {
        bool vanishes = false;
        for (char c : firstOf(body, vanishes)) changed |= first[head].insert(c).second;
        if (vanishes) changed |= nullable.insert(head).second;
      }
    }
    follow[model.rules[0][0]].insert('$');
    for (bool changed = true; changed;) {
      changed = false;
      for (const auto& [head, body] : productions)
        for (size_t i = 0; i < body.size(); ++i) {
          if (!isUpper(body[i])) continue;
          bool vanishes = false;
          for (char c : firstOf(body.substr(i + 1), vanishes)) changed |= follow[body[i]].insert(c).second;
          if (vanishes)
            for (char c : std::set<char>(follow[head])) changed |= follow[body[i]].insert(c).second;
        }
    }
  }

  std::set<char> firstOf(const std::string& symbols, bool& vanishes) {
    std::set<char> out;
    vanishes = true;
    for (char c : symbols) {
      if (!isUpper(c)) {
        out.insert(c);
        vanishes = false;
        return out;
      }
      out.insert(first[c].begin(), first[c].end());
      if (!nullable.count(c)) {
        vanishes = false;
        return out;
      }
    }
    return out;
  }
};

std::set<char> setOf(const HString& s) { return std::set<char>(s.view().begin(), s.view().end()); }

void checkSets(const Parsing& model, Problems& problems) {
  TextbookSets expected(model);
  Row follows = model.follow();
  for (int i = 0; i < model.rules.getCount(); ++i) {
    char x = model.rules[i][0];
    HString first = model.first(x);
    std::set<char> wanted = expected.first[x];
    if (expected.nullable.count(x)) wanted.insert('e');
    if (setOf(first) != wanted || first.removeDuplicates().getLength() != first.getLength())
      problems.push_back(std::string("First(") + x + ") is " + text(first));
    if ((first.find('e') != -1) != model.isNullable(x))
      problems.push_back(std::string("First(") + x + ") and nullable disagree");
    const HString& follow = follows[i];
    if (follow.find('e') != -1 || setOf(follow) != expected.follow[x] ||
        follow.removeDuplicates().getLength() != follow.getLength())
      problems.push_back(std::string("Follow(") + x + ") is " + text(follow));
  }
}

int headerCount(const Row& listing) {
  int n = 0;
  for (const HString& line : listing) n += line.getLength() > 0 && line[0] == 'S';
  return n;
}

// Shape and vocabulary of an LR table.
void checkLRTable(const char* kind, const Table& table, const Parsing& model, Problems& problems) {
  int states = table.getCount() - 1;
  const Row& header = table[0];
  int i = 0;
  for (const Row& row : table) {
    if (row.getCount() != header.getCount()) problems.push_back(std::string(kind) + ": a row of another width");
    if (i++ == 0) continue;
    for (int j = 1; j < row.getCount(); ++j) {
      const HString& cell = row[j];
      bool gotoColumn = isUpper(header[j][0]);
      for (int start = 0; start < cell.getLength();) {
        HString entry = cell.getToken("|", start);
        start += entry.getLength() + 1;
        long n = entry.getLength() > 1 ? entry.getSubString(1).toLong() : -1;
        bool fine = gotoColumn ? entry.getLength() > 0 && entry[0] >= '0' && entry[0] <= '9' && entry.toLong() < states
                  : entry == "a" ? header[j] == "$"
                  : entry.getLength() > 1 && entry[0] == 's' ? n >= 0 && n < states
                  : entry.getLength() > 1 && entry[0] == 'r' ? n > 0 && n < model.productions.getCount()
                                                             : false;
        if (!fine) problems.push_back(std::string(kind) + ": cell " + text(cell));
      }
    }
  }
}

std::string lastAction(const Table& trace) {
  const Row& last = trace.getLast();
  return last.getCount() == 4 ? text(last[3]) : "";
}

void checkTrace(const char* kind, const Table& trace, Problems& problems) {
  std::string action = lastAction(trace);
  if (trace.getCount() < 2 || (action != "Accept" && action != "Error"))
    problems.push_back(std::string(kind) + ": a trace that does not end");
  int k = 0;
  for (const Row& row : trace) {
    if (row.getCount() != 4 || (k > 0 && row[0] != HString(k)))
      problems.push_back(std::string(kind) + ": trace row " + std::to_string(k));
    ++k;
  }
}

// The actions and inputs of a trace, without its stacks.
std::vector<std::string> movesOf(const Table& trace) {
  std::vector<std::string> moves;
  for (const Row& row : trace) moves.push_back(text(row[2]) + "\t" + text(row[3]));
  return moves;
}

// A word of the language, derived leftmost with choices drawn from `seed`;
// empty when the start symbol derives no word.
bool deriveWord(const Parsing& model, unsigned seed, std::string& word) {
  // The height of a non-terminal: how deep its shortest derivation is.
  std::map<char, int> height;
  for (bool changed = true; changed;) {
    changed = false;
    for (const HString& p : model.productions) {
      int h = 1;
      for (char c : p.view().substr(3))
        if (isUpper(c)) h = height.count(c) ? std::max(h, height[c] + 1) : 1 << 20;
      if (h < (1 << 20) && (!height.count(p[0]) || h < height[p[0]])) {
        height[p[0]] = h;
        changed = true;
      }
    }
  }
  char start = model.productions[0][0];
  if (!height.count(start)) return false;
  std::string pending(1, start);  // the symbols still to derive, leftmost last
  int budget = 60;
  while (!pending.empty() && word.size() < 400) {
    char x = pending.back();
    pending.pop_back();
    if (!isUpper(x)) {
      word += x;
      continue;
    }
    std::vector<std::string> bodies;
    std::string shortest;
    int best = 1 << 20;
    for (const HString& p : model.productions) {
      if (p[0] != x) continue;
      std::string body = text(p.getSubString(3));
      if (body == "e") body.clear();
      int h = 1;
      for (char c : body) h = isUpper(c) ? (height.count(c) ? std::max(h, height[c] + 1) : 1 << 20) : h;
      if (h >= (1 << 20)) continue;
      bodies.push_back(body);
      if (h < best) best = h, shortest = body;
    }
    seed = seed * 1103515245u + 12345u;
    const std::string& body = --budget > 0 ? bodies[(seed >> 16) % bodies.size()] : shortest;
    pending.append(body.rbegin(), body.rend());
  }
  return pending.empty();
}

// The first rule only starts the grammar: one alternative, head used nowhere.
bool startsOnly(const Parsing& model) {
  char head = model.rules[0][0];
  if (model.rules[0].find('|') != -1) return false;
  for (const HString& rule : model.rules)
    if (rule.getSubString(3).find(head) != -1) return false;
  return true;
}

// ---- the oracle: the literal item-list operations against the engine

std::vector<std::string> textsOf(const Row& row) {
  std::vector<std::string> texts;
  for (const HString& line : row) texts.push_back(text(line));
  return texts;
}

template <class Item>
std::vector<std::string> textsOf(const Parsing& model, const HList<HList<Item>>& states) {
  std::vector<std::string> texts;
  for (const HList<Item>& state : states) {
    std::string block;
    for (const Item& item : state) block += text(itemText(model, item)) + "\n";
    texts.push_back(block);
  }
  return texts;
}

void checkAgainstLiteral(const Parsing& model, size_t largestOracle, Problems& problems) {
  Automaton lr1 = buildLR1Automaton(model);
  if (lr1.states.size() > largestOracle) return;
  if (textsOf(model, model.buildLR0Collection()) != textsOf(model, lr0Lists(buildLR0Automaton(model))))
    problems.push_back("the LR(0) collection differs from the literal walk");
  if (textsOf(model, model.buildLR1Collection()) != textsOf(model, lr1Lists(lr1)))
    problems.push_back("the LR(1) collection differs from the literal walk");
  std::vector<std::vector<int>> groups;
  Automaton lalr = mergeByCore(lr1, &groups);
  if (textsOf(model, lalrStates(model)) != textsOf(model, lr1Lists(lalr)))
    problems.push_back("the LALR states differ from the literal merge");
  if (textsOf(similarStates(model)) != textsOf(similarTexts(groups)))
    problems.push_back("the similar states differ from the literal merge");
}

std::vector<std::vector<std::string>> tableTexts(const Table& table) {
  std::vector<std::vector<std::string>> texts;
  for (const Row& row : table) texts.push_back(textsOf(row));
  return texts;
}

// A state as its cores with their lookahead sets, in a fixed order.
std::set<std::pair<std::pair<int, int>, std::string>> coresOf(const Automaton& automaton, size_t k) {
  std::set<std::pair<std::pair<int, int>, std::string>> cores;
  for (const StateItem& item : automaton.states[k]) {
    std::string lookahead = automaton.lookaheads.text(item.lookahead);
    std::sort(lookahead.begin(), lookahead.end());
    cores.insert({{item.production, item.dot}, lookahead});
  }
  return cores;
}

// `layerTable` is the command layer's LALR table.
void checkLalrRoutesOf(const Parsing& model, const Table& layerTable, Problems& problems) {
  Automaton direct = buildLalrAutomaton(model);
  Automaton merged = mergeByCore(buildLR1Automaton(model));
  if (direct.states.size() != merged.states.size()) {
    problems.push_back("the LALR automaton on the LR(0) states has another number of states");
    return;
  }
  for (size_t k = 0; k < direct.states.size(); ++k) {
    if (coresOf(direct, k) != coresOf(merged, k))
      problems.push_back("LALR state " + std::to_string(k) + " has other items or lookaheads on the LR(0) states");
    auto sorted = [](std::vector<std::pair<char, int>> arcs) {
      std::sort(arcs.begin(), arcs.end());
      return arcs;
    };
    if (sorted(direct.transitions[k]) != sorted(merged.transitions[k]))
      problems.push_back("LALR state " + std::to_string(k) + " has other transitions on the LR(0) states");
  }
  Table canonical = lookaheadTableOf(model, merged);
  if (tableTexts(layerTable) != tableTexts(canonical))
    problems.push_back("the LALR table of the command layer differs from the merged collection's");
  if (conflictCount(model, TableKind::kLALR) != countConflicts(canonical))
    problems.push_back("the LALR conflict count of the command layer differs from the merged collection's");
  Table onLR0 = lookaheadTableOf(model, direct);
  if (countConflicts(onLR0) != countConflicts(canonical))
    problems.push_back("the LALR tables of the two routes differ in their conflicts");
  if (countConflicts(canonical) == 0 && tableTexts(onLR0) != tableTexts(canonical))
    problems.push_back("a conflict-free LALR table differs between the routes");
}

// The number a cell starts with after its prefix letter.
int numberAfter(const HString& cell, int from) { return static_cast<int>(cell.getSubString(from).toLong()); }

// Replays an LR trace on a literal stack of states: each row's stack cell
// is stackText of the stack its predecessor's action left.
void replayLR(const char* kind, const Parsing& model, const Table& table, const Table& trace, Problems& problems) {
  HList<int> stack;
  stack.insertTail(0);
  ColumnMap column(table[0]);
  const Row* previous = nullptr;  // the step before, once past the header
  int k = -1;
  for (const Row& row : trace) {
    bool pastHeader = ++k > 0;
    if (!pastHeader || k == 1) {  // the first step's stack is written "0"
      if (pastHeader) previous = &row;
      continue;
    }
    const HString& action = (*previous)[3];
    const HString& cell = table[stack.getLast() + 1][column[(*previous)[2][0]]];
    if (action == "Shift") {
      stack.insertTail(numberAfter(cell.getToken("|", 0), 1));
    } else {
      const HString& production = model.productions[model.indexOfProduction(action.getSubString(7))];
      for (int pops = production.getSubString(3) == "e" ? 0 : production.getLength() - 3; pops > 0; --pops)
        stack.removeHead();
      stack.insertTail(numberAfter(table[stack.getLast() + 1][column[production[0]]], 0));
    }
    if (stackText(stack) != row[1]) {
      problems.push_back(std::string(kind) + ": stack cell " + std::to_string(k) + " is not stackText");
      return;
    }
    previous = &row;
  }
}

// The same for the LL(1) trace on a literal stack of symbols.
void replayLL1(const Table& trace, const Parsing& model, Problems& problems) {
  HList<char> stack;
  stack.insertTail('$');
  stack.insertTail(model.productions[0][0]);
  int k = 0;
  for (const Row& row : trace) {
    if (k++ == 0) continue;
    if (Parsing::symbolStackText(stack) != row[1]) {
      problems.push_back("LL1: stack cell " + std::to_string(k - 1) + " is not symbolStackText");
      return;
    }
    const HString& action = row[3];
    if (action == "Accept" || action == "Error") return;
    stack.removeHead();
    HString body = action.getLength() > 0 ? action.getToken("|", 3).withoutChar('e') : HString();
    for (int j = body.getLength() - 1; j >= 0; --j) stack.insertTail(body[j]);
  }
}

// The four tables, each built once for all the checks of an input.
struct Tables {
  Table byKind[4];
  explicit Tables(const Parsing& model) {
    for (TableKind kind : kTableKinds) byKind[static_cast<int>(kind)] = table(model, kind);
  }
  const Table& operator[](TableKind kind) const { return byKind[static_cast<int>(kind)]; }
};

void checkEvaluations(const Parsing& model, const Tables& tables, const HString& word, unsigned seed, Problems& problems) {
  std::string derived;
  bool haveDerived = deriveWord(model, seed, derived);
  for (bool isDerived : {false, true}) {
    if (isDerived && !haveDerived) continue;
    HString w = isDerived ? HString(derived.data(), static_cast<int>(derived.size())) : word;
    std::vector<std::string> accepted;
    for (TableKind kind : kTableKinds) {
      const char* name = tableName(kind);
      const Table& built = tables[kind];
      Evaluation parsed = evaluation(model, kind, w);
      // A refused evaluation still parses, on each cell's first entry.
      Table trace = parsed.refused() ? (kind == TableKind::kLL1 ? ll1EvaluationWith(model, built, w) : lrEvaluationWith(model, built, w))
                                     : parsed.trace;
      checkTrace(name, trace, problems);
      if (kind == TableKind::kLL1) {
        replayLL1(trace, model, problems);
        if (isDerived && !parsed.refused() && !parsed.accepted()) problems.push_back("LL1 rejects the word " + derived);
        continue;
      }
      replayLR(name, model, built, trace, problems);
      if (parsed.refused()) continue;
      if (isDerived && startsOnly(model) && !parsed.accepted())
        problems.push_back(std::string(name) + " rejects the word " + derived);
      if (!parsed.accepted()) continue;
      std::vector<std::string> moves = movesOf(trace);
      if (!accepted.empty() && moves != accepted) problems.push_back(std::string(name) + " parses the word otherwise");
      accepted = moves;
    }
  }
}

}  // namespace

std::vector<std::string> checkEverything(std::string_view input, size_t largestOracle) {
  Problems problems;
  if (input.size() > kLargestInput) return problems;
  size_t end = input.find('\n');
  std::string_view word = end == std::string_view::npos ? std::string_view() : input.substr(0, end);
  std::string_view editor = end == std::string_view::npos ? input : input.substr(end + 1);

  GrammarReading reading = readGrammar(editorText(editor));
  if (!reading.isSound()) {
    if (reading.messages.getCount() == 0) problems.push_back("an unsound grammar without a message");
    return problems;
  }
  Parsing model;
  model.loadRules(reading.lines);
  checkSets(model, problems);
  listing(model, ListingKind::kFirst);
  listing(model, ListingKind::kFollow);

  Tables tables(model);
  const Table &slr = tables[TableKind::kSLR], &lr1 = tables[TableKind::kLR1];
  const Table &lalr = tables[TableKind::kLALR], &ll1 = tables[TableKind::kLL1];
  checkLRTable("SLR", slr, model, problems);
  checkLRTable("LR1", lr1, model, problems);
  checkLRTable("LALR", lalr, model, problems);
  if (lalr.getCount() != slr.getCount() || lr1.getCount() < slr.getCount())
    problems.push_back("tables with unexpected numbers of rows");
  for (const Row& row : ll1)
    if (row.getCount() != ll1[0].getCount()) problems.push_back("LL1: a row of another width");

  Listing lalrItems = listing(model, ListingKind::kLalrItems);
  if (lalrItems.similarTable.getCount() != lalr.getCount())
    problems.push_back("similar states and LALR states differ in number");
  if (headerCount(listing(model, ListingKind::kLR0Items).lines) != slr.getCount() - 1 ||
      headerCount(listing(model, ListingKind::kLR1Items).lines) != lr1.getCount() - 1 ||
      headerCount(lalrItems.lines) != lalr.getCount() - 1)
    problems.push_back("listings and tables differ in their states");
  checkAgainstLiteral(model, largestOracle, problems);
  checkLalrRoutesOf(model, lalr, problems);

  unsigned seed = 2166136261u;
  for (char c : input) seed = (seed ^ static_cast<unsigned char>(c)) * 16777619u;
  checkEvaluations(model, tables, HString(word.data(), static_cast<int>(word.size())), seed, problems);
  return problems;
}

std::vector<std::string> checkModel(const Parsing& model, const HString& word) {
  Problems problems;
  checkAgainstLiteral(model, kLargestOracle, problems);
  checkEvaluations(model, Tables(model), word, 1u, problems);
  return problems;
}

std::vector<std::string> checkLalrRoutes(const Parsing& model) {
  Problems problems;
  checkLalrRoutesOf(model, table(model, TableKind::kLALR), problems);
  return problems;
}
