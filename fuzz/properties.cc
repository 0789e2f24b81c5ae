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
// - every message of a rule line has a place in the editor text, and the
//   bytes there are the symbol the message quotes.
// - the graphs of the three automata have a state per table row, marked
//   accepting and conflicting as its row says, and an edge for each shift
//   and goto cell of the table, in row and column order, and nothing else;
//   Graphviz reads their DOT text back;
// - the parse tree of an accepted word has the word as its frontier, the
//   start symbol at its root and only productions of the grammar, and the
//   four conflict-free parsers build the same tree (for the LR parsers when
//   the first rule only starts the grammar); the trees a rejected word
//   leaves spell the input read (LR) or that and the stack (LL(1));
// - the grading marks the program's own First and Follow listings, tables
//   and item sets all right, and of a key with one planted mistake (a
//   symbol or entry dropped, or one added that cannot belong) it marks that
//   one element and nothing else; the ambiguity search finds no word with
//   two trees in a grammar with a conflict-free LR(1) table (when the first
//   rule only starts the grammar), and every word it finds has two checked
//   trees;
// - the LALR automaton computed on the LR(0) states has the states,
//   transitions and lookahead sets of the merged LR(1) collection, and the
//   command layer's LALR table and conflict count, whichever route they
//   take, are those of the merged collection.
#include "fuzz/properties.h"

#include <algorithm>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>

#include "automata/automaton.h"
#include "explain/conflicts.h"
#include "explain/grammar_report.h"
#include "explain/verify.h"
#include "simulation/evaluations.h"
#include "core/work.h"
#include "exercises/answers.h"
#include "exercises/transform_grading.h"
#include "fuzz/transform_properties.h"
#include "exercises/ambiguity.h"
#include "exercises/item_grading.h"
#include "exercises/set_grading.h"
#include "exercises/table_grading.h"
#include "grammar/first.h"
#include "grammar/follow.h"
#include "grammar/grammar_file.h"
#include "grammar/grammar_sets.h"
#include "grammar/grammar_text.h"
#include "grammar/text_reading.h"
#include "grammar/reading.h"
#include "grammar/symbol_text.h"
#include "grammar/source_lines.h"
#include "grammar/symbol_text.h"
#include "graphs/automaton_dot.h"
#include "layout/graphviz.h"
#include "simulation/ll1_evaluation.h"
#include "simulation/lr_evaluation.h"
#include "simulation/word.h"
#include "tables/conflicts.h"
#include "tables/listings.h"
#include "tables/lr_tables.h"
#include "tables/table.h"
#include "trees/evaluation_tree.h"
#include "trees/tree_dot.h"
#include "writers/format.h"
#include "exercises/answers.h"

namespace {

using Problems = std::vector<std::string>;

std::string text(const HString& s) { return std::string(s.view()); }

bool isUpper(char c) { return c >= 'A' && c <= 'Z'; }

// A set of grammar_sets by character, as the classic model writes it.
std::set<char> charsOf(const Grammar& grammar, const SymbolSet& set) {
  std::set<char> out;
  for (Symbol s = 0; s < grammar.symbolCount(); ++s)
    if (set[static_cast<size_t>(s)]) out.insert(grammar.name(s)[0]);
  return out;
}

std::set<char> setOf(const HString& s) { return std::set<char>(s.view().begin(), s.view().end()); }

// The model's walks against the fixed-point definitions of grammar_sets.
void checkSets(const Parsing& model, Problems& problems) {
  const Grammar& grammar = model.typed;
  PredictionSets expected = predictionSets(grammar);
  Row follows = model.follow();
  for (int i = 0; i < model.rules.getCount(); ++i) {
    char x = model.rules[i][0];
    auto s = static_cast<size_t>(grammar.symbolNamed(std::string(1, x)));
    HString first = model.first(x);
    std::set<char> wanted = charsOf(grammar, expected.first[s]);
    if (expected.nullable[s]) wanted.insert('e');
    if (setOf(first) != wanted || first.removeDuplicates().getLength() != first.getLength())
      problems.push_back(std::string("First(") + x + ") is " + text(first));
    if ((first.find('e') != -1) != model.isNullable(x))
      problems.push_back(std::string("First(") + x + ") and nullable disagree");
    const HString& follow = follows[i];
    std::set<char> followers = charsOf(grammar, expected.follow[s]);
    if (expected.followsEnd[s]) followers.insert('$');
    if (follow.find('e') != -1 || setOf(follow) != followers ||
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

// The seed of an input's derived words (FNV-1a of its bytes).
unsigned seedOf(std::string_view input) {
  unsigned seed = 2166136261u;
  for (char c : input) seed = (seed ^ static_cast<unsigned char>(c)) * 16777619u;
  return seed;
}

// A word of the language, derived leftmost with choices drawn from `seed`;
// none when the start symbol derives no word.
bool deriveSymbols(const Grammar& grammar, unsigned seed, Symbols& word) {
  std::vector<int> heights = derivationHeights(grammar);
  if (heights[static_cast<size_t>(grammar.start())] == kNoDerivation) return false;
  Symbols pending{grammar.start()};  // the symbols still to derive, leftmost last
  int budget = 60;
  while (!pending.empty() && word.size() < 400) {
    Symbol x = pending.back();
    pending.pop_back();
    if (grammar.isTerminal(x)) {
      word.push_back(x);
      continue;
    }
    std::vector<const Symbols*> bodies;
    const Symbols* shortest = nullptr;
    int best = kNoDerivation;
    for (int p : grammar.productionsOf(x)) {
      const Symbols& body = grammar.productions[static_cast<size_t>(p)].body;
      int height = bodyHeight(heights, body);
      if (height == kNoDerivation) continue;
      bodies.push_back(&body);
      if (height < best) best = height, shortest = &body;
    }
    seed = seed * 1103515245u + 12345u;
    const Symbols& body = --budget > 0 ? *bodies[(seed >> 16) % bodies.size()] : *shortest;
    pending.insert(pending.end(), body.rbegin(), body.rend());
  }
  return pending.empty();
}

// The same word as its notation writes it.
bool deriveWord(const Parsing& model, unsigned seed, std::string& word) {
  Symbols symbols;
  if (!deriveSymbols(model.typed, seed, symbols)) return false;
  word = symbolsText(model.typed, symbols);
  return true;
}

// The first rule only starts the grammar: one alternative, head used nowhere.
bool startsOnly(const Parsing& model) {
  const Grammar& grammar = model.typed;
  Symbol head = grammar.start();
  if (grammar.productionsOf(head).size() != 1) return false;
  for (const Production& p : grammar.productions)
    if (std::find(p.body.begin(), p.body.end(), head) != p.body.end()) return false;
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
  if (textsOf(model, model.buildLR1Collection()) != textsOf(model, lr1Lists(model.typed, lr1)))
    problems.push_back("the LR(1) collection differs from the literal walk");
  std::vector<std::vector<int>> groups;
  Automaton lalr = mergeByCore(lr1, &groups);
  if (textsOf(model, lalrStates(model)) != textsOf(model, lr1Lists(model.typed, lalr)))
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
std::set<std::pair<std::pair<int, int>, Symbols>> coresOf(const Automaton& automaton, size_t k) {
  std::set<std::pair<std::pair<int, int>, Symbols>> cores;
  for (const StateItem& item : automaton.states[k]) {
    Symbols lookahead = automaton.lookaheads.symbols(item.lookahead);
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
    auto sorted = [](std::vector<std::pair<Symbol, int>> arcs) {
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
      Table trace = parsed.refused() ? (kind == TableKind::kLL1 ? ll1EvaluationText(model, w) : lrEvaluation(model, w, name))
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

constexpr int kPlacedMessages = 16;

void checkSourcePlaces(std::string_view editor, const GrammarReading& reading, Problems& problems) {
  std::vector<SourceLine> sources = sourceLines(editor);
  if (sources.size() != static_cast<size_t>(reading.lines.getCount()))
    problems.push_back("the rule lines traced to the editor are not the reading's");
  std::vector<std::string_view> lines;
  for (size_t start = 0;;) {
    size_t end = editor.find('\n', start);
    lines.push_back(editor.substr(start, end == std::string_view::npos ? end : end - start));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  int index = 0;
  for (const HString& message : reading.messages) {
    // Placing a message walks its whole line: the first ones of a long junk line stand for the rest.
    if (index >= kPlacedMessages) break;
    std::string text(message.view());
    std::optional<SourcePlace> place = placeOfMessage(sources, reading.messages, index++);
    if (!text.starts_with("Error at line")) continue;
    if (!place || place->line >= static_cast<int>(lines.size()) ||
        static_cast<size_t>(place->column + place->length) > lines[static_cast<size_t>(place->line)].size()) {
      problems.push_back("no place in the editor for: " + text);
      continue;
    }
    size_t open = text.find(" '"), close = text.rfind("' ");
    if (open == std::string::npos || close <= open + 1 || text.find("Symbol '|' bad") != std::string::npos) continue;
    std::string_view quoted = std::string_view(text).substr(open + 2, close - open - 2);
    // Blanks are removed before the reading, also from inside a character.
    std::string there(lines[static_cast<size_t>(place->line)].substr(static_cast<size_t>(place->column),
                                                                     static_cast<size_t>(place->length)));
    std::erase(there, ' ');
    if (quoted != "|" && there != quoted) problems.push_back("the place of a message holds another symbol: " + text);
  }
}

// ---- drawings: the graphs against their tables, the trees against the grammar

// Above this many states the DOT text is not read back, to keep a run fast.
constexpr size_t kLargestDot = 2000;

bool holdsDollar(const std::string& cell) { return ("|" + cell + "|").find("|a|") != std::string::npos; }

void checkGraphs(const Parsing& model, Problems& problems) {
  for (GraphKind kind : kGraphKinds) {
    const char* name = graphKindName(kind);
    AutomatonGraph graph = automatonGraph(model, kind);
    // The table built on its own by the command layer, read cell by cell:
    // each shift and goto is the next edge, in row and column order.
    Table built = table(model, tableKindOf(kind));
    if (static_cast<int>(graph.states.size()) != built.getCount() - 1) {
      problems.push_back(std::string(name) + " graph: states and table rows differ in number");
      continue;
    }
    std::vector<GraphEdge> cells;
    for (int r = 1; r < built.getCount(); ++r) {
      const GraphState& state = graph.states[static_cast<size_t>(r) - 1];
      bool conflicting = false, accepting = false;
      for (int j = 1; j < built[r].getCount(); ++j) {
        const HString& cell = built[r][j];
        char symbol = built[0][j][0];
        conflicting = conflicting || cell.find('|') != -1;
        accepting = accepting || holdsDollar(text(cell));
        for (int start = 0; start < cell.getLength();) {
          HString entry = cell.getToken("|", start);
          start += entry.getLength() + 1;
          Symbol typed = classicSymbol(model.typed, symbol);
          if (isUpper(symbol)) cells.push_back(GraphEdge{r - 1, typed, static_cast<int>(entry.toLong())});
          else if (entry.getLength() > 1 && entry[0] == 's')
            cells.push_back(GraphEdge{r - 1, typed, numberAfter(entry, 1)});
        }
      }
      if (state.conflicting != conflicting || state.accepting != accepting || state.number != r - 1)
        problems.push_back(std::string(name) + " graph: state " + std::to_string(r - 1) + " is marked otherwise than its row");
    }
    if (cells != graph.edges) problems.push_back(std::string(name) + " graph: the edges are not the shift and goto cells");
    if (graph.states.size() <= kLargestDot) {
      std::string why = dotProblem(automatonDot(graph));
      if (!why.empty()) problems.push_back(std::string(name) + " graph: Graphviz cannot read its DOT text: " + why);
    }
  }
}

// The symbols of an LL(1) stack cell from the top down, the end marker left out.
std::string topDown(const HString& stack) {
  std::string symbols;
  for (char c : stack.view())
    if (c != ' ' && c != '$') symbols.insert(symbols.begin(), c);
  return symbols;
}

// The tree of an accepted word derives the word by the grammar's
// productions; what a rejected word leaves spells what was read (LR) or
// that and the stack (LL(1)); and the four parsers build the same tree.
void checkTrees(const Parsing& model, const HString& word, Problems& problems,
                std::initializer_list<TableKind> kinds = {TableKind::kLL1, TableKind::kSLR, TableKind::kLR1, TableKind::kLALR}) {
  std::set<std::string> productions;
  for (const HString& p : model.productions) productions.insert(text(p));
  std::set<std::string> trees;
  size_t accepted = 0;
  for (TableKind kind : kinds) {
    const char* name = tableName(kind);
    Evaluation parsed = evaluation(model, kind, word);
    if (parsed.refused()) continue;
    std::vector<Tree> forest = EvaluationTree(model, parsed).forest();
    std::string spelt;
    for (const Tree& tree : forest) spelt += frontier(model.typed, tree);
    if (!parsed.accepted()) {
      const Row& last = parsed.trace.getLast();
      int read = word.getLength() + 1 - last[2].getLength();
      std::string expected = text(word.getSubString(0, std::max(0, std::min(read, word.getLength()))));
      if (kind == TableKind::kLL1) expected += topDown(last[1]);
      if (spelt != expected) problems.push_back(std::string(name) + ": the trees of a rejected word spell " + spelt);
      continue;
    }
    if (kind != TableKind::kLL1 && !startsOnly(model)) continue;
    ++accepted;
    if (forest.size() != 1 || spelt != text(word) || forest[0].symbol != model.typed.start()) {
      problems.push_back(std::string(name) + ": the tree of an accepted word does not derive it");
      continue;
    }
    for (const std::string& production : productionsOf(model.typed, forest[0]))
      if (!productions.count(production)) problems.push_back(std::string(name) + ": the tree uses " + production);
    trees.insert(treeJson(model.typed, forest[0]));
  }
  if (accepted == kinds.size() && trees.size() > 1) problems.push_back("the parsers build different trees");
}

// The grammar read in the token notation: its analyses put a start rule
// first, and its words are tokens between blanks.  The tree of a derived
// word, whichever table accepts it, has that word as its frontier and the
// start rule at its root, and every parser builds the same one.
void checkTokenTrees(const Parsing& model, unsigned seed, Problems& problems,
                     std::initializer_list<TableKind> kinds = {TableKind::kLL1, TableKind::kSLR, TableKind::kLR1, TableKind::kLALR}) {
  if (model.typed.productions.empty()) return;
  Grammar written = model.typed;
  written.notation = Notation::kTokens;
  Parsing tokens;
  tokens.loadGrammar(written);
  const Grammar& grammar = tokens.typed;
  Symbols derived;
  if (!deriveSymbols(grammar, seed, derived)) return;
  std::string word = symbolsText(grammar, derived);
  Symbols read = readWord(grammar, word).symbols;
  read.pop_back();  // the end marker
  if (read != derived) return;  // a name the token notation splits, such as a blank
  std::set<std::string> productions;
  for (size_t p = 0; p < grammar.productions.size(); ++p) productions.insert(productionText(grammar, static_cast<int>(p)));
  std::set<std::string> trees;
  for (TableKind kind : kinds) {
    const std::string where = std::string("tokens, ") + tableName(kind) + ": ";
    Evaluation parsed = evaluation(tokens, kind, HString(word.data(), static_cast<int>(word.size())));
    if (parsed.refused()) continue;
    if (!parsed.accepted()) {
      problems.push_back(where + "rejects the derived word " + word);
      continue;
    }
    std::vector<Tree> forest = EvaluationTree(tokens, parsed).forest();
    if (forest.size() != 1 || forest[0].symbol != grammar.start() || frontierSymbols(forest[0]) != derived) {
      problems.push_back(where + "the tree of an accepted word does not derive it");
      continue;
    }
    for (const std::string& production : productionsOf(grammar, forest[0]))
      if (!productions.count(production)) problems.push_back(where + "the tree uses " + production);
    trees.insert(treeJson(grammar, forest[0]));
  }
  if (trees.size() > 1) problems.push_back("tokens: the parsers build different trees");
}

// ---- grading and the ambiguity search

// The elements not marked right, "row column entry mark" each.
std::vector<std::string> flagged(const Grading& grading) {
  std::vector<std::string> out;
  for (const MarkedElement& e : grading.elements)
    if (e.mark != Mark::kRight) out.push_back(e.row + " " + e.column + " " + e.entry + " " + markName(e.mark));
  return out;
}

// The grading of a key with one planted mistake flags exactly that element.
void expectOnly(const std::string& what, const Grading& grading, Mark mark, Problems& problems) {
  std::vector<std::string> marked = flagged(grading);
  if (marked.size() != 1 || grading.count(mark) != 1)
    {
    std::string list;
    for (const std::string& m : marked) list += "[" + m + "]";
    problems.push_back(what + ": marked " + list);
  }
}

void checkSetGrading(const Parsing& model, SetKind kind, Problems& problems) {
  Lines key = linesOf(kind == SetKind::kFirst ? firstListing(model) : followListing(model, model.follow()));
  std::string text;
  for (const std::string& line : key) text += line + "\n";
  std::string name = setName(kind);
  if (!gradeSets(model, kind, text).allRight()) problems.push_back(name + ": the listing is not graded all right");
  // A symbol no such set holds: $ in a First set, e in a Follow set.
  std::string planted = text;
  planted.insert(planted.find('\n'), kind == SetKind::kFirst ? "$" : "e");
  expectOnly(name + " with a symbol added", gradeSets(model, kind, planted), Mark::kWrong, problems);
  for (std::size_t k = 0; k < key.size(); ++k) {
    if (key[k].back() == ' ') continue;  // an empty set
    std::vector<std::string> lines = key;
    lines[k].pop_back();
    std::string dropped;
    for (const std::string& line : lines) dropped += line + "\n";
    expectOnly(name + " with a symbol dropped", gradeSets(model, kind, dropped), Mark::kMissing, problems);
    break;
  }
}

void checkTableGrading(const Parsing& model, TableKind kind, Problems& problems) {
  Cells key = cellsOf(table(model, kind));
  std::string name = tableName(kind);
  if (!gradeTable(model, kind, renderTable(key, Format::kCsv)).grading.allRight())
    problems.push_back(name + ": the table is not graded all right");
  bool dropped = false, added = false;
  for (std::size_t i = 1; i < key.size() && !(dropped && added); ++i)
    for (std::size_t j = 1; j < key[i].size() && !(dropped && added); ++j) {
      Cells planted = key;
      std::string& cell = planted[i][j];
      if (!cell.empty() && !dropped) {
        std::vector<std::string> entries = cellEntries(model, kind, key[i][0], cell);
        entries.pop_back();
        cell.clear();
        for (const std::string& entry : entries) cell += (cell.empty() ? "" : "|") + entry;
        expectOnly(name + " with an entry dropped", gradeTableCells(model, kind, planted), Mark::kMissing, problems);
        dropped = true;
      } else if (cell.empty() && !added && !isUpper(key[0][j][0])) {
        // Production 0 is never reduced, and stands in no empty LL(1) cell.
        cell = kind == TableKind::kLL1 ? text(model.productions[0]) : "r0";
        expectOnly(name + " with an entry added", gradeTableCells(model, kind, planted), Mark::kWrong, problems);
        added = true;
      }
    }
}

void checkItemGrading(const Parsing& model, Problems& problems) {
  std::size_t states = stateOrigins(model, false).size();
  for (int state : {0, static_cast<int>(states) - 1}) {
    std::vector<std::string> items = stateItems(model, false, state);
    std::string text;
    for (auto k = items.size(); k-- > 0;) text += items[k] + "\n";
    if (!gradeItems(model, false, state, text).allRight())
      problems.push_back("LR(0) items: a state's key is not all right");
    expectOnly("LR(0) items with one dropped", gradeItems(model, false, state, text.substr(text.find('\n') + 1)),
               Mark::kMissing, problems);
  }
}

// Short words only: the search runs on every input.
constexpr AmbiguityBounds kFuzzBounds{6, 16, 60, 50'000};
constexpr int kLargestGraded = 40;  // productions

void checkGradingAndAmbiguity(const Parsing& model, Problems& problems) {
  if (model.productions.getCount() > kLargestGraded || buildLR1Automaton(model).states.size() > kLargestOracle) return;
  checkSetGrading(model, SetKind::kFirst, problems);
  checkSetGrading(model, SetKind::kFollow, problems);
  for (TableKind kind : kTableKinds) checkTableGrading(model, kind, problems);
  checkItemGrading(model, problems);
  std::optional<AmbiguityWitness> witness = findAmbiguity(model, kFuzzBounds);
  if (witness && !verifyWitness(model, *witness)) problems.push_back("an ambiguity witness that does not hold");
  // Without a first rule that only starts the grammar, the table accepts
  // where production 0 would be reduced, and may lose a derivation.
  if (witness && startsOnly(model) && conflictCount(model, TableKind::kLR1) == 0)
    problems.push_back("a word with two trees in an LR(1) grammar: " + witness->word);
}

// A counterexample names only entries of its own cell, and (LR) its word
// or prefix leads the parser to that cell.
bool namesOwnCell(const GrammarView& grammar, const TableView& table, const Conflict& c) {
  const Counterexample& ce = c.counterexample;
  if (ce.kind == Counterexample::Kind::kNone) return true;
  if (table.isLR()) return explainsLRCell(grammar, table, ce, c.row, c.symbol);
  auto inCell = [&](const std::string& production) {
    for (int p : table.predictions(c.row, c.symbol))
      if (grammar.productionText(p) == production) return true;
    return false;
  };
  if (ce.kind == Counterexample::Kind::kUnifying) return inCell(ce.actions[0]) && inCell(ce.actions[1]);
  for (const Counterexample::Example& example : ce.examples)
    if (!inCell(example.action)) return false;
  return true;
}

// Every counterexample met, checked again from scratch.  Small bounds: the
// checks are what matters, not how far the search gets.
void checkExplanations(const Parsing& model, Problems& problems) {
  SearchBounds bounds;
  bounds.stepsPerConflict = 400;
  bounds.secondsPerConflict = 1;
  bounds.secondsPerTable = 4;
  bounds.trustLR1 = false;  // the search itself must never find ambiguity in an LR(1) grammar
  GrammarView grammar(model);
  TableSet tables(model);
  // A conflict-free LR(1) table proves the grammar unambiguous only when the
  // first rule just starts it: else accepting may cut a derivation short.
  bool lr1Clean = conflictCount(model, TableKind::kLR1) == 0 && startsOnly(model);
  for (TableKind kind : kTableKinds) {
    std::string name = tableName(kind);
    std::vector<Conflict> conflicts = explainConflicts(tables, kind, bounds);
    if (static_cast<int>(conflicts.size()) != conflictCount(model, kind))
      problems.push_back(name + ": explanations and conflicts differ in number");
    for (const Conflict& c : conflicts) {
      const Counterexample& ce = c.counterexample;
      std::string where = name + " " + c.label + " under " + symbolText(model.typed, c.symbol) + ": ";
      if (ce.kind == Counterexample::Kind::kUnifying) {
        if (!isUnifyingPair(grammar, ce.trees[0], ce.trees[1])) problems.push_back(where + "a unifying counterexample that is none");
        if (lr1Clean) problems.push_back(where + "a unifying counterexample for a grammar that is LR(1)");
      }
      if (!namesOwnCell(grammar, tables[kind], c)) problems.push_back(where + "a counterexample of another cell");
      for (const Counterexample::Example& example : ce.examples) {
        if (!isDerivation(grammar, example.tree) || !startsWith(frontierSymbols(example.tree), example.prefix))
          problems.push_back(where + "a derivation that does not read its prefix");
        if (kind != TableKind::kLL1 && lrStateAfter(grammar, tables[kind], example.prefix) != c.row)
          problems.push_back(where + "a prefix that does not lead to the state");
      }
    }
  }
}

// The same text read in the token notation, where it reads so: every
// counterexample shown for a token grammar passes the same checks.
void checkTokenExplanations(std::string_view editor, Problems& problems) {
  GrammarTextReading reading = readEditorGrammar(editor, Notation::kTokens);
  if (!reading.isSound() || reading.grammar.productions.empty()) return;
  Parsing model;
  model.loadGrammar(reading.grammar);
  Problems found;
  checkExplanations(model, found);
  for (const std::string& problem : found) problems.push_back("tokens: " + problem);
}

void checkReport(const Parsing& model, const HString& word, Problems& problems) {
  SearchBounds bounds;
  bounds.stepsPerConflict = 400;
  GrammarReport report = grammarReport(model, std::string(word.view()), bounds);
  std::string nullable;
  for (const HString& rule : model.rules)
    if (model.isNullable(rule[0])) nullable += rule[0];
  std::string reported;
  for (const std::string& name : report.nullable) reported += name;
  if (reported != nullable) problems.push_back("the report's nullable non-terminals are " + reported);
  for (const GrammarReport::TableClass& c : report.classes)
    if (c.conflicts != conflictCount(model, c.kind)) problems.push_back(std::string("the report counts other conflicts in ") + tableName(c.kind));
  for (const LeftRecursion& recursion : report.leftRecursion) {
    const std::vector<std::string>& forms = recursion.derivation;
    const std::string& head = recursion.cycle.front();
    if (forms.size() < 2 || forms.front() != head || !forms.back().starts_with(head))
      problems.push_back("a left recursion that does not come back: " + head);
  }
}


// ---- the fast targets: one part each, on inputs of many kilobytes

// The word line and the editor text of an input.
struct Input {
  std::string_view word, editor;
  explicit Input(std::string_view input) {
    size_t end = input.find('\n');
    word = end == std::string_view::npos ? std::string_view() : input.substr(0, end);
    editor = end == std::string_view::npos ? input : input.substr(end + 1);
  }
  HString wordText() const { return HString(word.data(), static_cast<int>(word.size())); }
};

// The model of a sound grammar; none (with the reading's problems noted) otherwise.
std::optional<Parsing> modelOf(const Input& input, Problems& problems) {
  GrammarReading reading = readGrammar(editorText(input.editor));
  checkSourcePlaces(input.editor, reading, problems);
  if (!reading.isSound()) {
    if (reading.messages.getCount() == 0) problems.push_back("an unsound grammar without a message");
    return std::nullopt;
  }
  Parsing model;
  model.loadRules(reading.lines);
  return model;
}

// A grammar file written back from what was read of it reads the same.
void checkGrammarFile(std::string_view bytes, Problems& problems) {
  GrammarFile file = parseGrammarFile(bytes);
  std::string word = file.word.value_or("");
  if (word.find_first_of("\r\n") != std::string::npos) return;
  GrammarFile again = parseGrammarFile(grammarFileBytes(file.text, word, file.notation));
  if (again.text != file.text || again.word.value_or("") != word || again.notation != file.notation)
    problems.push_back("a grammar file that does not read back");
}

// A sound grammar written in its notation reads back as the same symbols
// and productions, in either notation: what the editor shows after a
// transformation or a new-grammar template must be what was meant.  Symbols
// are compared by name, since grouping a head's lines may change the order
// in which terminals are first met, and so their numbers.
std::vector<std::string> namedProductions(const Grammar& grammar) {
  std::vector<std::string> out;
  for (const Production& p : grammar.productions) {
    std::string text = grammar.name(p.head) + " ->";
    for (Symbol s : p.body) text += (grammar.isTerminal(s) ? " t:" : " n:") + grammar.name(s);
    out.push_back(text);
  }
  return out;
}

void checkNotationRoundTrip(std::string_view editor, Problems& problems) {
  for (Notation notation : {Notation::kClassic, Notation::kTokens}) {
    GrammarTextReading first = readEditorGrammar(editor, notation);
    if (!first.isSound() || first.grammar.productions.empty()) continue;
    if (notation == Notation::kClassic && !fitsClassicNotation(first.grammar)) continue;
    std::string written = grammarText(first.grammar);
    GrammarTextReading again = readEditorGrammar(written, notation);
    if (!again.isSound() || namedProductions(again.grammar) != namedProductions(first.grammar))
      problems.push_back(std::string(notation == Notation::kTokens ? "the token" : "the classic") +
                         " notation does not read back what it wrote: " + written.substr(0, 200));
  }
}

// The word, and a word derived from the grammar.
std::vector<HString> wordsOf(const Parsing& model, const Input& input, std::string_view whole) {
  std::vector<HString> words{input.wordText()};
  unsigned seed = seedOf(whole);
  std::string derived;
  if (deriveWord(model, seed, derived)) words.emplace_back(derived.data(), static_cast<int>(derived.size()));
  return words;
}

void checkLL1(const Parsing& model, const std::vector<HString>& words, Problems& problems) {
  Table ll1 = table(model, TableKind::kLL1);
  for (const Row& row : ll1)
    if (row.getCount() != ll1[0].getCount()) problems.push_back("LL1: a row of another width");
  for (size_t k = 0; k < words.size(); ++k) {
    Evaluation parsed = evaluation(model, TableKind::kLL1, words[k]);
    Table trace = parsed.refused() ? ll1EvaluationText(model, words[k]) : parsed.trace;
    checkTrace("LL1", trace, problems);
    replayLL1(trace, model, problems);
    if (k > 0 && !parsed.refused() && !parsed.accepted()) problems.push_back("LL1 rejects the word " + text(words[k]));
  }
}

// Every format writes what a reader of it reads back: JSON parses to as many
// rows (or lines), CSV to as many records of as many cells, a pipe table has a line per
// row and its delimiter line.
void checkFormats(const std::string& what, const Cells& cells, const Lines& lines, Problems& problems) {
  for (Format format : {Format::kText, Format::kCsv, Format::kMarkdown, Format::kLatex, Format::kJson}) {
    std::string name = what + " in " + formatNames()[static_cast<size_t>(format)];
    std::string table = renderTable(cells, format);
    std::string listing = renderListing(lines, format);
    if (format == Format::kJson) {
      nlohmann::json parsedTable = nlohmann::json::parse(table, nullptr, false);
      nlohmann::json parsedListing = nlohmann::json::parse(listing, nullptr, false);
      if (parsedTable.is_discarded() || parsedListing.is_discarded()) problems.push_back(name + ": JSON that does not parse");
      else if (parsedTable.size() != cells.size() || parsedListing.size() != lines.size())
        problems.push_back(name + ": JSON of other rows");
    } else if (format == Format::kCsv) {
      std::string error;
      std::optional<Cells> records = readCsv(table, error);
      bool same = records && records->size() == cells.size();
      for (size_t r = 0; same && r < cells.size(); ++r) same = (*records)[r].size() == cells[r].size();
      if (!same) problems.push_back(name + ": CSV read back as other records " + error);
    } else if (format == Format::kMarkdown) {
      size_t newlines = static_cast<size_t>(std::count(table.begin(), table.end(), '\n'));
      if (!cells.empty() && newlines != cells.size() + 1) problems.push_back(name + ": a pipe table of other lines");
    }
    if (!cells.empty() && table.empty()) problems.push_back(name + ": nothing written");
    if (!lines.empty() && listing.empty()) problems.push_back(name + ": nothing written");
  }
}

// A tree written as JSON parses; as DOT and as text it names every node.
void checkTreeWriters(const Parsing& model, const HString& word, Problems& problems) {
  for (TableKind kind : {TableKind::kLL1, TableKind::kSLR}) {
    Evaluation parsed = evaluation(model, kind, word);
    if (parsed.refused()) continue;
    std::vector<Tree> forest = EvaluationTree(model, parsed).forest();
    for (const Tree& tree : forest)
      if (nlohmann::json::parse(treeJson(model.typed, tree), nullptr, false).is_discarded())
        problems.push_back(std::string(tableName(kind)) + ": a tree whose JSON does not parse");
    if (!forest.empty() && forestDot(model.typed, forest).find("digraph") == std::string::npos)
      problems.push_back(std::string(tableName(kind)) + ": a tree without a graph");
  }
}

}  // namespace

// ---- what the writers bound and guard

// Every tree an evaluation leaves is one JSON value; every cell of its trace
// reads back from CSV as it was, and none begins with a formula a
// spreadsheet would run; with the output bounded to 1 MiB the evaluation
// ends or stops with the limit's message, never otherwise.
void checkWritersAndBounds(const Parsing& model, const HString& word, Problems& problems) {
  for (TableKind kind : kTableKinds) {
    const std::string name = tableName(kind);
    WorkLimits small;
    small.outputMiB = 1;
    Evaluation parsed;
    try {
      WorkScope scope(small);
      parsed = evaluation(model, kind, word);
    } catch (const WorkStopped& stopped) {
      if (std::string(stopped.what()) != "The trace's text has more than 1 MiB; that is the limit of one command.")
        problems.push_back(name + ": a bounded trace stopped with " + stopped.what());
      continue;
    }
    if (parsed.refused()) continue;
    for (const Tree& tree : EvaluationTree(model, parsed).forest())
      if (!nlohmann::json::accept(treeJson(model.typed, tree))) problems.push_back(name + ": a tree is no JSON value");
    Cells cells = cellsOf(parsed.trace);
    std::string error;
    std::optional<Cells> back = readCsv(renderTable(cells, Format::kCsv), error);
    if (!back || *back != cells) problems.push_back(name + ": the trace does not read back from CSV");
    for (const std::vector<std::string>& row : cells)
      for (const std::string& cell : row)
        if (!cell.empty() && std::string_view("=+-@\t\r").find(cell[0]) != std::string_view::npos &&
            !renderTable(Cells{{cell}}, Format::kCsv).starts_with("\"'"))
          problems.push_back(name + ": the CSV cell " + cell + " would run as a formula");
  }
}

std::vector<std::string> checkEverything(std::string_view input, size_t largestOracle) {
  Problems problems;
  if (input.size() > kLargestInput) return problems;
  size_t end = input.find('\n');
  std::string_view word = end == std::string_view::npos ? std::string_view() : input.substr(0, end);
  std::string_view editor = end == std::string_view::npos ? input : input.substr(end + 1);

  GrammarReading reading = readGrammar(editorText(editor));
  checkSourcePlaces(editor, reading, problems);
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
  checkGradingAndAmbiguity(model, problems);
  checkExplanations(model, problems);
  checkTokenExplanations(editor, problems);
  checkReport(model, HString(word.data(), static_cast<int>(word.size())), problems);

  unsigned seed = seedOf(input);
  HString w(word.data(), static_cast<int>(word.size()));
  checkEvaluations(model, tables, w, seed, problems);
  checkGraphs(model, problems);
  checkTrees(model, w, problems);
  checkWritersAndBounds(model, w, problems);
  std::string derived;
  if (deriveWord(model, seed, derived)) checkTrees(model, HString(derived.data(), static_cast<int>(derived.size())), problems);
  checkTokenTrees(model, seed, problems);
  return problems;
}

std::vector<std::string> checkModel(const Parsing& model, const HString& word) {
  Problems problems;
  checkAgainstLiteral(model, kLargestOracle, problems);
  checkEvaluations(model, Tables(model), word, 1u, problems);
  checkGraphs(model, problems);
  checkTrees(model, word, problems);
  checkTokenTrees(model, 1u, problems);
  return problems;
}

std::vector<std::string> checkLalrRoutes(const Parsing& model) {
  Problems problems;
  checkLalrRoutesOf(model, table(model, TableKind::kLALR), problems);
  return problems;
}

const std::vector<FuzzTargetInfo>& fuzzTargets() {
  static const std::vector<FuzzTargetInfo> targets{
      {FuzzTarget::kReading, "reading", 1 << 16},  {FuzzTarget::kSets, "sets", 1 << 15},
      {FuzzTarget::kLL1, "ll1", 1 << 14},          {FuzzTarget::kWriters, "writers", 1 << 14},
      {FuzzTarget::kTrees, "trees", 1 << 13},      {FuzzTarget::kTransform, "transform", 1 << 8},
      {FuzzTarget::kAnalysis, "analysis", kLargestInput}};
  return targets;
}

std::vector<std::string> checkTarget(FuzzTarget target, std::string_view whole) {
  if (target == FuzzTarget::kAnalysis) return checkEverything(whole);
  Problems problems;
  for (const FuzzTargetInfo& info : fuzzTargets())
    if (info.target == target && whole.size() > info.largestInput) return problems;
  if (target == FuzzTarget::kTransform) {
    // Either notation; the first line is the word.
    size_t end = whole.find('\n');
    std::string_view editor = end == std::string_view::npos ? std::string_view() : whole.substr(end + 1);
    if (GrammarTextReading typed = readGrammarText(editor); typed.isSound()) problems = checkTransformations(typed.grammar);
    return problems;
  }
  Input input(whole);
  if (target == FuzzTarget::kReading) {
    checkGrammarFile(whole, problems);
    size_t end = whole.find('\n');
    if (end != std::string_view::npos) checkNotationRoundTrip(whole.substr(end + 1), problems);
  }
  std::optional<Parsing> model = modelOf(input, problems);
  if (!model || target == FuzzTarget::kReading) return problems;
  switch (target) {
    case FuzzTarget::kSets:
      checkSets(*model, problems);
      break;
    case FuzzTarget::kLL1:
      checkLL1(*model, wordsOf(*model, input, whole), problems);
      break;
    case FuzzTarget::kWriters: {
      checkFormats("First", {}, linesOf(listing(*model, ListingKind::kFirst).lines), problems);
      checkFormats("Follow", {}, linesOf(listing(*model, ListingKind::kFollow).lines), problems);
      Table ll1 = table(*model, TableKind::kLL1);
      checkFormats("the LL(1) table", cellsOf(ll1), {}, problems);
      checkFormats("the LL(1) trace", cellsOf(ll1EvaluationText(*model, input.wordText())), {}, problems);
      break;
    }
    case FuzzTarget::kTrees:
      for (const HString& word : wordsOf(*model, input, whole)) {
        checkTrees(*model, word, problems, {TableKind::kLL1, TableKind::kSLR});
        checkTreeWriters(*model, word, problems);
      }
      checkTokenTrees(*model, seedOf(whole), problems, {TableKind::kLL1, TableKind::kSLR});
      break;
    default:
      break;
  }
  return problems;
}
