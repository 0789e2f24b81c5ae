#include "explain/grammar_report.h"

#include <algorithm>
#include <deque>
#include <map>
#include <nlohmann/json.hpp>
#include <set>

#include "explain/grammar_view.h"
#include "explain/reasons.h"
#include "explain/witnesses.h"
#include "grammar/parsing.h"
#include "grammar/reading.h"

namespace {

std::string listed(const std::string& symbols) {
  std::string out;
  for (size_t k = 0; k < symbols.size(); ++k) out += (k == 0 ? "" : k + 1 == symbols.size() ? " and " : ", ") + std::string(1, symbols[k]);
  return out;
}

std::string commaList(const std::string& symbols) {
  std::string out;
  for (char c : symbols) out += (out.empty() ? "" : ", ") + std::string(1, c);
  return out.empty() ? "none" : out;
}

// An edge of the left-corner graph: X->aYb with a vanishing, so X begins with Y.
struct Corner {
  char to;
  int production;
  int position;
};

std::vector<LeftRecursion> findLeftRecursion(const GrammarView& g, const Witnesses& w) {
  std::map<char, std::vector<Corner>> corners;
  for (int p = 0; p < g.productionCount(); ++p) {
    const GrammarView::Production& production = g.production(p);
    for (size_t i = 0; i < production.body.size(); ++i) {
      char c = production.body[i];
      if (!GrammarView::isNonterminal(c)) break;
      corners[production.head].push_back({c, p, static_cast<int>(i)});
      if (!w.vanishes(c)) break;
    }
  }
  std::vector<LeftRecursion> out;
  std::set<std::string> seen;
  for (char x : g.nonterminals()) {
    // Breadth first from x back to x: a shortest cycle through x.
    std::map<char, std::pair<char, Corner>> from;
    std::deque<char> queue{x};
    bool closed = false;
    Corner last{};
    char lastFrom = 0;
    while (!queue.empty() && !closed) {
      char y = queue.front();
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
    for (char y = lastFrom; y != x; y = from[y].first) steps.push_back(from[y].second);
    std::reverse(steps.begin(), steps.end());
    std::string cycle(1, x);
    for (size_t k = 0; k + 1 < steps.size(); ++k) cycle += steps[k].to;
    std::string key = cycle;
    std::sort(key.begin(), key.end());
    if (!seen.insert(key).second) continue;
    // The tree: each step's production, what stands before the next vanishing.
    Tree tree = leafOf(g, x);
    std::vector<int> path;
    bool hidden = false;
    for (const Corner& step : steps) {
      Tree node = productionNode(g, step.production);
      for (int j = 0; j < step.position; ++j) node.children[static_cast<size_t>(j)] = w.vanishing(characterOf(g, node.children[static_cast<size_t>(j)]));
      hidden = hidden || step.position > 0;
      nodeAt(tree, path) = std::move(node);
      path.push_back(step.position);
    }
    std::string kind = hidden ? "hidden" : steps.size() == 1 ? "direct" : "indirect";
    out.push_back({cycle, leftmostDerivation(g.typed(), tree), kind});
  }
  return out;
}

// A letter for a new start symbol, or '\0' when all 26 are taken.
char freeLetter(const GrammarView& g) {
  for (char c : std::string("ISZYXWVUTRQPONMLKJHGFEDCBA"))
    if (!g.hasRule(c)) return c;
  return '\0';
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
  char letter = freeLetter(g);
  if (g.productionCount() == 0 || startHint(model).empty() || letter == '\0') return;
  HString text = HString(std::string{letter, '-', '>', g.start()}.c_str()) + "\r\n";
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
      for (int row = 0; row < t.rowCount(); ++row)
        for (size_t j = 1; j < t.cells[0].size(); ++j) {
          char symbol = t.cells[0][j][0];
          if (GrammarView::isNonterminal(symbol) || t.cell(row, symbol).find('|') == std::string::npos) continue;
          Counterexample found = look.kind == TableKind::kLL1 ? finder.forLL1(t.cells[static_cast<size_t>(row) + 1][0][0], symbol, true)
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
  char head = g.start();
  std::vector<std::string> faults;
  size_t alternatives = g.alternatives(head).size();
  if (alternatives > 1) faults.push_back("it has " + std::to_string(alternatives) + " alternatives");
  for (int p = 0; p < g.productionCount(); ++p)
    if (g.production(p).body.find(head) != std::string::npos) {
      faults.push_back(std::string(1, head) + " stands on the right side of " + g.productionText(p));
      break;
    }
  if (faults.empty()) return "";
  std::string rule(model.rules[0].view());
  std::string out = "The first rule " + rule + " does not augment the grammar: " + faults[0];
  if (faults.size() > 1) out += ", and " + faults[1];
  out += ". The LR tables accept only when production 0, " + g.productionText(0) +
         ", is complete, so they do not parse the language of " + head + ".";
  char letter = freeLetter(g);
  if (letter != '\0')
    out += std::string(" Add a first rule such as ") + letter + "->" + head + ".";
  else
    out += " Every letter from A to Z has a rule, so none is left for a new start symbol.";
  return out;
}

std::vector<std::string> wordHints(const Parsing& model, const std::string& word) {
  GrammarView g(model);
  std::vector<std::string> hints;
  std::vector<std::string> unused;
  bool blank = false, end = false, empty = false;
  for (const std::string& symbol : symbolsOf(word)) {
    char c = symbol[0];
    if (symbol == " ") blank = true;
    else if (symbol == "$") end = true;
    else if (symbol == "e") empty = true;
    else if ((symbol.size() > 1 || g.terminals().find(c) == std::string::npos) &&
             std::find(unused.begin(), unused.end(), symbol) == unused.end())
      unused.push_back(symbol);
  }
  if (blank) hints.push_back("The word holds blanks: the parsers read a blank as a symbol, and no rule uses one.");
  if (end) hints.push_back("The word holds $, the end marker the parsers add themselves: they stop at it.");
  if (empty) hints.push_back("The word holds e, which stands for the empty string in rules and is no terminal: leave it out.");
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
  for (char x : g.nonterminals()) {
    if (w.vanishes(x)) report.nullable += x;
    if (!w.reaches(x, Witnesses::Root::kStartSymbol)) report.unreachable += x;
    if (!w.derivesWord(x)) {
      report.nonProductive += x;
      if (g.first(x).empty()) report.emptyFirst += x;
    }
  }
  report.leftRecursion = findLeftRecursion(g, w);
  char head = g.start();
  report.startNote = startHint(model);
  report.augments = report.startNote.empty() && g.alternatives(head).size() == 1 &&
                    g.production(0).body.size() == 1 && GrammarView::isNonterminal(g.production(0).body[0]);
  if (report.startNote.empty())
    report.startNote = report.augments ? "The first rule " + g.productionText(0) + " augments the grammar."
                                       : "The first rule " + g.productionText(0) + " starts the grammar: it has one alternative and " +
                                             head + " stands on no right side.";
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
    lines.push_back("Left recursion: " + utf8ForDisplay(derivationText(recursion.derivation)) + " (" + recursion.kind + ")");
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
  auto symbols = [](const std::string& text) {
    nlohmann::json out = nlohmann::json::array();
    for (char c : text) out.push_back(std::string(1, c));
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
