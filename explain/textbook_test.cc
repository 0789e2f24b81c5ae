// Our own set of textbook grammars with their published analyses
// (textbook_grammars.txt): the classes line, every conflict with its kind,
// and the kind of its counterexample, each checked again here.
#include <gtest/gtest.h>

#include "grammar/symbol_text.h"

#include <fstream>
#include <sstream>

#include "explain/conflicts.h"
#include "explain/grammar_report.h"
#include "explain/verify.h"
#include "grammar/reading.h"

namespace {

struct Expected {
  std::string name;
  std::vector<std::string> rules;
  std::string classes;  // "n y y y unambiguous"
  std::vector<std::string> conflicts;  // "SLR 5 * shift/reduce unifying"
};

std::vector<Expected> textbook() {
  std::ifstream in(TABLOMAT_TEXTBOOK);
  std::vector<Expected> out;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("grammar ", 0) == 0) {
      Expected e;
      size_t colon = line.find(':');
      e.name = line.substr(8, colon - 8);
      std::istringstream rules(line.substr(colon + 1));
      for (std::string rule; rules >> rule;) e.rules.push_back(rule);
      out.push_back(e);
    } else if (line.rfind("classes ", 0) == 0) {
      out.back().classes = line.substr(8);
    } else if (line.rfind("conflict ", 0) == 0) {
      out.back().conflicts.push_back(line.substr(9));
    }
  }
  return out;
}

Parsing modelOf(const std::vector<std::string>& rules) {
  std::string text;
  for (const std::string& rule : rules) text += rule + "\r\n";
  GrammarReading reading = readGrammar(HString(text.c_str()));
  EXPECT_TRUE(reading.isSound());
  Parsing model;
  model.loadRules(reading.lines);
  return model;
}

// Only the steps bound the searches here, so the outcome is the same on every machine.
SearchBounds testBounds() {
  SearchBounds bounds;
  bounds.secondsPerConflict = 600;
  bounds.secondsPerTable = 6000;
  return bounds;
}

const char* counterexampleKind(const Counterexample& ce) {
  switch (ce.kind) {
    case Counterexample::Kind::kUnifying: return "unifying";
    case Counterexample::Kind::kNonUnifying: return "non-unifying";
    case Counterexample::Kind::kNone: break;
  }
  return "none";
}

// What is shown holds: the trees are two derivations of one form; the
// prefix leads the table's parser into the conflict's state.
void expectChecked(const Parsing& model, TableSet& tables, const Conflict& c) {
  GrammarView grammar(model);
  const Counterexample& ce = c.counterexample;
  if (ce.kind == Counterexample::Kind::kUnifying) {
    EXPECT_TRUE(isUnifyingPair(grammar, ce.trees[0], ce.trees[1]));
    return;
  }
  ASSERT_EQ(ce.kind, Counterexample::Kind::kNonUnifying);
  for (const Counterexample::Example& example : ce.examples) {
    EXPECT_TRUE(isDerivation(grammar, example.tree));
    EXPECT_TRUE(startsWith(frontierSymbols(example.tree), example.prefix));
    if (c.table != TableKind::kLL1) {
      EXPECT_EQ(lrStateAfter(grammar, tables[c.table], example.prefix), c.row);
    }
  }
}

TEST(TextbookTest, ClassesConflictsAndCounterexamples) {
  std::vector<Expected> grammars = textbook();
  ASSERT_GE(grammars.size(), 12u);
  for (const Expected& e : grammars) {
    SCOPED_TRACE(e.name);
    Parsing model = modelOf(e.rules);
    GrammarReport report = grammarReport(model, "", testBounds());
    std::string classes;
    for (TableKind kind : {TableKind::kLL1, TableKind::kSLR, TableKind::kLALR, TableKind::kLR1})
      for (const GrammarReport::TableClass& c : report.classes)
        if (c.kind == kind) classes += c.conflicts == 0 ? "y " : "n ";
    classes += !report.ambiguous ? "undecided" : *report.ambiguous ? "ambiguous" : "unambiguous";
    EXPECT_EQ(classes, e.classes);

    TableSet tables(model);
    std::vector<std::string> found;
    for (TableKind kind : kTableKinds)
      for (const Conflict& c : explainConflicts(tables, kind, testBounds())) {
        found.push_back(std::string(tableName(kind)) + " " + c.label + " " + symbolText(model.typed, c.symbol) + " " + c.kind + " " +
                        counterexampleKind(c.counterexample));
        expectChecked(model, tables, c);
      }
    EXPECT_EQ(found, e.conflicts);
  }
}

}  // namespace
