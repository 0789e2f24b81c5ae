#include "explain/grammar_report.h"

#include <algorithm>
#include <deque>
#include <map>
#include <nlohmann/json.hpp>
#include <set>

#include "explain/grammar_view.h"
#include "explain/reasons.h"
#include "explain/witnesses.h"
#include "grammar/grammar_text.h"
#include "grammar/parsing.h"
#include "grammar/reading.h"
#include "grammar/symbol_text.h"

namespace {

std::string listed(const std::vector<std::string>& names) {
  std::string out;
  for (size_t k = 0; k < names.size(); ++k) out += (k == 0 ? "" : k + 1 == names.size() ? " and " : ", ") + names[k];
  return out;
}

std::string commaList(const std::vector<std::string>& names) {
  std::string out;
  for (const std::string& name : names) out += (out.empty() ? "" : ", ") + name;
  return out.empty() ? "none" : out;
}

bool contains(const Symbols& symbols, Symbol s) { return std::find(symbols.begin(), symbols.end(), s) != symbols.end(); }

std::vector<std::string> namesOf(const GrammarView& g, const Symbols& symbols) {
  std::vector<std::string> names;
  for (Symbol s : symbols) names.push_back(g.text(s));
  return names;
}

// An edge of the left-corner graph: X->aYb with a vanishing, so X begins with Y.
struct Corner {
  Symbol to;
  int production;
  int position;
};

std::vector<LeftRecursion> findLeftRecursion(const GrammarView& g, const Witnesses& w) {
  std::map<Symbol, std::vector<Corner>> corners;
  for (int p = 0; p < g.productionCount(); ++p) {
    const GrammarView::Production& production = g.production(p);
    for (size_t i = 0; i < production.body.size(); ++i) {
      Symbol c = production.body[i];
      if (!g.isNonterminal(c)) break;
      corners[production.head].push_back({c, p, static_cast<int>(i)});
      if (!w.vanishes(c)) break;
    }
  }
  std::vector<LeftRecursion> out;
  std::set<Symbols> seen;
  for (Symbol x : g.nonterminals()) {
    // Breadth first from x back to x: a shortest cycle through x.
    std::map<Symbol, std::pair<Symbol, Corner>> from;
    std::deque<Symbol> queue{x};
    bool closed = false;
    Corner last{};
    Symbol lastFrom = kNoSymbol;
    while (!queue.empty() && !closed) {
      Symbol y = queue.front();
      queue.pop_front();
      for (const Corner& corner : corners[y]) {
        if (corner.to == x) {
          closed = true;
          last = corner;
          lastFrom = y;
          break;
        }
        if (from.count(corner.to) == 0) {
          from[corner.to] = {y, corner};
          queue.push_back(corner.to);
        }
      }
    }
    if (!closed) continue;
    std::vector<Corner> steps{last};
    for (Symbol y = lastFrom; y != x; y = from[y].first) steps.push_back(from[y].second);
    std::reverse(steps.begin(), steps.end());
    Symbols cycle{x};
    for (size_t k = 0; k + 1 < steps.size(); ++k) cycle.push_back(steps[k].to);
    Symbols key = cycle;
    std::sort(key.begin(), key.end());
    if (!seen.insert(key).second) continue;
    // The tree: each step's production, what stands before the next vanishing.
    Tree tree = Tree::leaf(x);
    std::vector<int> path;
    bool hidden = false;
    for (const Corner& step : steps) {
      Tree node = productionNode(g, step.production);
      const Symbols& body = g.production(step.production).body;
      for (int j = 0; j < step.position; ++j) node.children[static_cast<size_t>(j)] = w.vanishing(body[static_cast<size_t>(j)]);
      hidden = hidden || step.position > 0;
      nodeAt(tree, path) = std::move(node);
      path.push_back(step.position);
    }
    std::string kind = hidden ? "hidden" : steps.size() == 1 ? "direct" : "indirect";
    out.push_back({namesOf(g, cycle), leftmostDerivation(g.grammar(), tree), kind});
  }
  return out;
}

// A name for a new start symbol: a letter in the classic notation, none
// when all 26 are taken; the start symbol primed in the token notation.
std::optional<std::string> freeStartName(const GrammarView& g) {
  const Grammar& grammar = g.grammar();
  if (grammar.notation == Notation::kTokens) return freshNonTerminalName(grammar, grammar.name(g.start()));
  for (char c : std::string("ISZYXWVUTRQPONMLKJHGFEDCBA"))
    if (!g.hasRule(grammar.symbolNamed(std::string(1, c)))) return std::string(1, c);
  return std::nullopt;
}

// The rule of the start symbol as it was written.
std::string firstRuleText(const Parsing& model, const GrammarView& g) {
  if (g.grammar().notation == Notation::kClassic) return std::string(model.rules[0].view());
  return ruleText(g.grammar(), g.start());
}

// "é" for a UTF-8 sequence, the character itself otherwise.
std::vector<std::string> symbolsOf(const std::string& word) {
  std::vector<std::string> out;
  for (size_t i = 0; i < word.size();) {
    int length = std::max(1, utf8SequenceLength(word, i));
    out.push_back(word.substr(i, static_cast<size_t>(length)));
    i += static_cast<size_t>(length);
  }
  return out;
}

int conflictsOf(const std::vector<GrammarReport::TableClass>& classes, TableKind kind) {
  for (const GrammarReport::TableClass& c : classes)
    if (c.kind == kind) return c.conflicts;
  return 0;
}

std::vector<GrammarReport::TableClass> classesOf(TableSet& tables) {
  std::vector<GrammarReport::TableClass> classes;
  for (TableKind kind : kTableKinds) {
    int conflicts = 0;
    const TableView& t = tables[kind];
    for (int row = 0; row < t.rowCount(); ++row)
      for (size_t j = 1; j < t.cells[0].size(); ++j) conflicts += t.cells[static_cast<size_t>(row) + 1][j].find('|') != std::string::npos;
    classes.push_back({kind, conflicts});
  }
  return classes;
}

// The grammar with a new first rule X->S in front, when its own first rule
// does not augment it and a letter is free; made in place, a model being
// one object with its lists.
void loadAugmented(const Parsing& model, std::optional<Parsing>& augmented) {
  GrammarView g(model);
  if (g.productionCount() == 0 || startHint(model).empty()) return;
  if (g.grammar().notation == Notation::kTokens) {
    // The analyses put a start rule before every token grammar whose first rule does not augment it.
    augmented.emplace();
    augmented->loadGrammar(withStartRule(g.grammar()));
    return;
  }
  std::optional<std::string> letter = freeStartName(g);
  if (!letter) return;
  HString text = HString((*letter + "->" + g.text(g.start())).c_str()) + "\r\n";
  for (const HString& rule : model.rules) text += rule + "\r\n";
  GrammarReading reading = readGrammar(text);
  if (!reading.isSound()) return;
  augmented.emplace();
  augmented->loadRules(reading.lines);
}

// Whether a unifying counterexample of some conflict shows the grammar
// ambiguous: a quick look at every table with conflicts (the grammar's and,
// when there is one, its augmented LR(1) table) before the full search of
// the LR(1) tables, all within the bounds of one table's search each.
std::optional<bool> searchAmbiguity(TableSet& tables, const std::vector<GrammarReport::TableClass>& classes,
                                    TableSet* augmented, const std::vector<GrammarReport::TableClass>& augmentedClasses,
                                    const SearchBounds& bounds) {
  struct Look {
    TableSet* tables;
    TableKind kind;
  };
  std::vector<Look> glances, searches;
  for (TableKind kind : {TableKind::kLR1, TableKind::kLL1, TableKind::kSLR, TableKind::kLALR})
    if (conflictsOf(classes, kind) > 0) glances.push_back({&tables, kind});
  if (augmented && conflictsOf(augmentedClasses, TableKind::kLR1) > 0) {
    glances.push_back({augmented, TableKind::kLR1});
    searches.push_back({augmented, TableKind::kLR1});
  }
  if (conflictsOf(classes, TableKind::kLR1) > 0) searches.insert(searches.begin(), {&tables, TableKind::kLR1});
  SearchBounds quick = bounds;
  quick.stepsPerConflict = std::max(1L, bounds.stepsPerConflict / 20);
  quick.secondsPerTable = bounds.secondsPerTable / 2 / static_cast<double>(std::max<size_t>(1, glances.size()));
  for (const std::vector<Look>* pass : {&glances, &searches})
    for (const Look& look : *pass) {
      CounterexampleFinder finder(*look.tables, look.kind, pass == &glances ? quick : bounds);
      const TableView& t = (*look.tables)[look.kind];
      const Grammar& grammar = look.tables->grammar().typed;
      Symbols columns = t.columnSymbols();
      for (int row = 0; row < t.rowCount(); ++row)
        for (size_t j = 1; j < columns.size(); ++j) {
          Symbol symbol = columns[j];
          if (symbol == kNoSymbol) continue;
          bool terminal = symbol == grammar.endMarker() || grammar.isTerminal(symbol);
          if (!terminal || !t.conflicts(row, symbol)) continue;
          Counterexample found = look.kind == TableKind::kLL1 ? finder.forLL1(t.rowSymbol(row), symbol, true)
                                                             : finder.forLR(row, symbol, true);
          if (found.kind == Counterexample::Kind::kUnifying) return true;
        }
    }
  return std::nullopt;
}

}  // namespace

std::string startHint(const Parsing& model) {
  GrammarView g(model);
  if (g.productionCount() == 0) return "";
  Symbol head = g.start();
  std::string name = g.text(head);
  std::vector<std::string> faults;
  size_t alternatives = g.alternatives(head).size();
  if (alternatives > 1) faults.push_back("it has " + std::to_string(alternatives) + " alternatives");
  for (int p = 0; p < g.productionCount(); ++p) {
    const Symbols& body = g.production(p).body;
    if (std::find(body.begin(), body.end(), head) != body.end()) {
      faults.push_back(name + " stands on the right side of " + g.productionText(p));
      break;
    }
  }
  if (faults.empty()) return "";
  std::string out = "The first rule " + firstRuleText(model, g) + " does not augment the grammar: " + faults[0];
  if (faults.size() > 1) out += ", and " + faults[1];
  out += ". The LR tables accept only when production 0, " + g.productionText(0) +
         ", is complete, so they do not parse the language of " + name + ".";
  std::optional<std::string> fresh = freeStartName(g);
  bool tokens = g.grammar().notation == Notation::kTokens;
  if (fresh)
    out += " Add a first rule such as " + *fresh + (tokens ? " -> " : "->") + name + ".";
  else
    out += " Every letter from A to Z has a rule, so none is left for a new start symbol.";
  return out;
}

std::vector<std::string> wordHints(const Parsing& model, const std::string& word) {
  GrammarView g(model);
  const Grammar& grammar = g.grammar();
  bool tokens = grammar.notation == Notation::kTokens;
  std::string emptyMark = g.text(kEmpty);
  std::vector<std::string> hints;
  std::vector<std::string> unused;
  bool blank = false, end = false, empty = false;
  // A token word is split at blanks, a classic one read a character (or a UTF-8 sequence) at a time.
  for (const std::string& symbol : tokens ? wordTokens(Notation::kTokens, word) : symbolsOf(word)) {
    Symbol s = symbol.size() == 1 || tokens ? grammar.symbolNamed(symbol) : kNoSymbol;
    if (symbol == " ") blank = true;
    else if (symbol == "$") end = true;
    else if (symbol == emptyMark) empty = true;
    else if ((s == kNoSymbol || !grammar.isTerminal(s) || !contains(g.terminals(), s)) &&
             std::find(unused.begin(), unused.end(), symbol) == unused.end())
      unused.push_back(symbol);
  }
  if (blank) hints.push_back("The word holds blanks: the parsers read a blank as a symbol, and no rule uses one.");
  if (end) hints.push_back("The word holds $, the end marker the parsers add themselves: they stop at it.");
  if (empty)
    hints.push_back("The word holds " + emptyMark +
                    ", which stands for the empty string in rules and is no terminal: leave it out.");
  if (!unused.empty()) {
    std::string list;
    for (size_t k = 0; k < unused.size(); ++k)
      list += (k == 0 ? "" : k + 1 == unused.size() ? " and " : ", ") + utf8ForDisplay(unused[k]);
    hints.push_back("The word holds " + list + ", which no rule uses: every parser stops there.");
  }
  return hints;
}

GrammarReport grammarReport(const Parsing& model, const std::string& word, const SearchBounds& bounds) {
  GrammarReport report;
  GrammarView g(model);
  Witnesses w(g);
  report.emptyMark = g.text(kEmpty);
  for (Symbol x : g.nonterminals()) {
    if (w.vanishes(x)) report.nullable.push_back(g.text(x));
    if (!w.reaches(x, Witnesses::Root::kStartSymbol)) report.unreachable.push_back(g.text(x));
    if (!w.derivesWord(x)) {
      report.nonProductive.push_back(g.text(x));
      if (g.first(x).empty()) report.emptyFirst.push_back(g.text(x));
    }
  }
  report.leftRecursion = findLeftRecursion(g, w);
  Symbol head = g.start();
  report.startNote = startHint(model);
  report.augments = report.startNote.empty() && g.alternatives(head).size() == 1 &&
                    g.production(0).body.size() == 1 && g.isNonterminal(g.production(0).body[0]);
  if (model.addedStartRule)
    report.startNote = "The analyses put the start rule " + g.productionText(0) + " first: it augments the grammar.";
  else if (report.startNote.empty())
    report.startNote = report.augments ? "The first rule " + g.productionText(0) + " augments the grammar."
                                       : "The first rule " + g.productionText(0) + " starts the grammar: it has one alternative and " +
                                             g.text(head) + " stands on no right side.";
  report.wordHints = wordHints(model, word);

  TableSet tables(model);
  report.classes = classesOf(tables);
  for (int p = 0; p < g.productionCount(); ++p)
    for (int q = 0; q < p; ++q)
      if (g.production(q).head == g.production(p).head && g.production(q).body == g.production(p).body) {
        std::string text = g.productionText(p);
        if (std::find(report.repeated.begin(), report.repeated.end(), text) == report.repeated.end()) report.repeated.push_back(text);
        break;
      }

  std::optional<Parsing> augmented;
  loadAugmented(model, augmented);
  std::optional<TableSet> augmentedTables;
  if (augmented) {
    augmentedTables.emplace(*augmented);
    report.augmented = GrammarReport::Augmented{GrammarView(*augmented).productionText(0), classesOf(*augmentedTables)};
  }
  // A table without conflicts proves the grammar unambiguous only when its
  // automaton starts from a rule that stands for the whole grammar.
  if (!report.repeated.empty())
    report.ambiguous = true;
  else if (conflictsOf(report.classes, TableKind::kLR1) == 0 && startHint(model).empty())
    report.ambiguous = false;
  else if (report.augmented && conflictsOf(report.augmented->classes, TableKind::kLR1) == 0)
    report.ambiguous = false;
  else if (bounds.search)
    report.ambiguous = searchAmbiguity(tables, report.classes, augmentedTables ? &*augmentedTables : nullptr,
                                       report.augmented ? report.augmented->classes : std::vector<GrammarReport::TableClass>{},
                                       bounds);
  return report;
}

namespace {

// "LL(1) yes, SLR(1) no (1 conflict), ...".
std::string classesText(const std::vector<GrammarReport::TableClass>& classes) {
  struct Named {
    TableKind kind;
    const char* name;
  };
  static const Named kClasses[] = {{TableKind::kLL1, "LL(1)"}, {TableKind::kSLR, "SLR(1)"}, {TableKind::kLALR, "LALR(1)"},
                                   {TableKind::kLR1, "LR(1)"}};
  std::string out;
  for (const Named& named : kClasses)
    for (const GrammarReport::TableClass& c : classes) {
      if (c.kind != named.kind) continue;
      out += out.empty() ? "" : ", ";
      out += named.name;
      out += c.conflicts == 0 ? " yes" : " no (" + std::to_string(c.conflicts) + (c.conflicts == 1 ? " conflict)" : " conflicts)");
    }
  return out;
}

}  // namespace

std::string classesLine(const GrammarReport& report) {
  std::string out = classesText(report.classes);
  if (!report.repeated.empty()) {
    std::string names;
    for (size_t k = 0; k < report.repeated.size(); ++k)
      names += (k == 0 ? "" : k + 1 == report.repeated.size() ? " and " : ", ") + report.repeated[k];
    out += "; ambiguous (" + names + (report.repeated.size() == 1 ? " is" : " are") +
           " written twice: two productions derive the same)";
  } else if (!report.ambiguous) {
    out += "; ambiguity undecided (no unifying counterexample within the bounds)";
  } else if (*report.ambiguous) {
    out += "; ambiguous (a unifying counterexample was found)";
  } else if (report.augmented) {
    out += "; unambiguous (with " + report.augmented->rule + " added it is LR(1), and every LR(1) grammar is)";
  } else {
    out += "; unambiguous (every LR(1) grammar is)";
  }
  return out;
}

Lines reportLines(const GrammarReport& report) {
  Lines lines;
  lines.push_back("Start: " + report.startNote);
  lines.push_back("Nullable: " + commaList(report.nullable));
  if (report.leftRecursion.empty()) lines.push_back("Left recursion: none");
  for (const LeftRecursion& recursion : report.leftRecursion)
    lines.push_back("Left recursion: " + utf8ForDisplay(derivationText(recursion.derivation, report.emptyMark)) + " (" +
                    recursion.kind + ")");
  lines.push_back("Unreachable from the start symbol: " + commaList(report.unreachable));
  std::string productive = "Non-productive (derive no word): " + commaList(report.nonProductive);
  if (!report.emptyFirst.empty())
    productive += " (an empty First set: " + listed(report.emptyFirst) + ")";
  lines.push_back(productive);
  for (const std::string& hint : report.wordHints) lines.push_back("Word: " + hint);
  lines.push_back("Classes: " + classesLine(report));
  if (report.augmented)
    lines.push_back("Classes with " + report.augmented->rule + " added: " + classesText(report.augmented->classes));
  return lines;
}

std::string reportJson(const GrammarReport& report) {
  auto symbols = [](const std::vector<std::string>& names) {
    nlohmann::json out = nlohmann::json::array();
    for (const std::string& name : names) out.push_back(name);
    return out;
  };
  nlohmann::json recursion = nlohmann::json::array();
  for (const LeftRecursion& r : report.leftRecursion)
    recursion.push_back({{"cycle", symbols(r.cycle)}, {"kind", r.kind}, {"derivation", r.derivation}});
  nlohmann::json classes = nlohmann::json::array();
  for (const GrammarReport::TableClass& c : report.classes)
    classes.push_back({{"table", tableName(c.kind)}, {"conflicts", c.conflicts}});
  nlohmann::json augmented = nullptr;
  if (report.augmented) {
    nlohmann::json list = nlohmann::json::array();
    for (const GrammarReport::TableClass& c : report.augmented->classes)
      list.push_back({{"table", tableName(c.kind)}, {"conflicts", c.conflicts}});
    augmented = {{"rule", report.augmented->rule}, {"classes", list}};
  }
  nlohmann::json out{{"augments", report.augments},
                     {"start", report.startNote},
                     {"nullable", symbols(report.nullable)},
                     {"leftRecursion", recursion},
                     {"unreachable", symbols(report.unreachable)},
                     {"nonProductive", symbols(report.nonProductive)},
                     {"emptyFirst", symbols(report.emptyFirst)},
                     {"wordHints", report.wordHints},
                     {"classes", classes},
                     {"augmented", augmented},
                     {"repeated", report.repeated},
                     {"ambiguous", report.ambiguous ? nlohmann::json(*report.ambiguous) : nlohmann::json(nullptr)},
                     {"classesLine", classesLine(report)}};
  return out.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}
