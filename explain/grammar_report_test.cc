#include "explain/grammar_report.h"

#include <gtest/gtest.h>

#include "explain/reasons.h"
#include "grammar/test_support.h"

namespace {

SearchBounds noSearch() {
  SearchBounds bounds;
  bounds.search = false;
  return bounds;
}

GrammarReport reportOf(std::initializer_list<const char*> rules, const std::string& word = "") {
  return grammarReport(modelOf(rules), word, noSearch());
}

// Names run together, as the classic notation writes a string of symbols.
std::string together(const std::vector<std::string>& names) {
  std::string out;
  for (const std::string& name : names) out += name;
  return out;
}

std::vector<std::string> texts(const std::vector<LeftRecursion>& recursions) {
  std::vector<std::string> out;
  for (const LeftRecursion& r : recursions) out.push_back(r.kind + ": " + derivationText(r.derivation));
  return out;
}

TEST(LeftRecursionTest, DirectIndirectAndHidden) {
  EXPECT_EQ(texts(reportOf({"I->A", "A->E", "E->E+T|T", "T->T*F|F", "F->(E)|i"}).leftRecursion),
            (std::vector<std::string>{"direct: E => E+T", "direct: T => T*F"}));
  // A->Bc, B->Ad: one cycle through both, reported once.
  EXPECT_EQ(texts(reportOf({"I->A", "A->Bc|x", "B->Ad|y"}).leftRecursion),
            (std::vector<std::string>{"indirect: A => Bc => Adc"}));
  // C vanishes in front of A.
  EXPECT_EQ(texts(reportOf({"I->A", "A->CAb|a", "C->c|e"}).leftRecursion),
            (std::vector<std::string>{"hidden: A => CAb => Ab"}));
  EXPECT_TRUE(reportOf({"I->S", "S->aS|b"}).leftRecursion.empty());
}

TEST(GrammarReportTest, NullableUnreachableNonProductive) {
  GrammarReport report = reportOf({"I->A", "A->BC|x", "B->b|e", "C->B", "D->Dd", "E->Ex|y"});
  EXPECT_EQ(together(report.nullable), "IABC");
  EXPECT_EQ(together(report.unreachable), "DE");
  EXPECT_EQ(together(report.nonProductive), "D");
  EXPECT_EQ(together(report.emptyFirst), "D");
  // Non-productive with a First set: F->aF begins with a, yet derives no word.
  GrammarReport loop = reportOf({"I->F", "F->aF"});
  EXPECT_EQ(together(loop.nonProductive), "IF");
  EXPECT_EQ(together(loop.emptyFirst), "");
}

TEST(StartRuleTest, WhatTheFirstRuleMeansForTheLRCommands) {
  GrammarReport augmented = reportOf({"I->A", "A->x"});
  EXPECT_TRUE(augmented.augments);
  EXPECT_EQ(augmented.startNote, "The first rule I->A augments the grammar.");
  GrammarReport starting = reportOf({"S->aAb", "A->x"});
  EXPECT_FALSE(starting.augments);
  EXPECT_EQ(startHint(modelOf({"S->aAb", "A->x"})), "");
  EXPECT_EQ(starting.startNote, "The first rule S->aAb starts the grammar: it has one alternative and S stands on no right side.");
  EXPECT_EQ(startHint(modelOf({"E->E+T|T", "T->i"})),
            "The first rule E->E+T|T does not augment the grammar: it has 2 alternatives, and E stands on the right "
            "side of E->E+T. The LR tables accept only when production 0, E->E+T, is complete, so they do not parse "
            "the language of E. Add a first rule such as I->E.");
  // I is taken: the next free letter is proposed.
  EXPECT_TRUE(startHint(modelOf({"S->Sa|I", "I->i"})).ends_with("Add a first rule such as Z->S."));
}

TEST(StartRuleTest, NoLetterLeft) {
  std::string text;
  for (char x = 'A'; x <= 'Z'; ++x) text += std::string(1, x) + "->" + (x == 'Z' ? "A" : std::string(1, static_cast<char>(x + 1))) + "|a\r\n";
  GrammarReading reading = readGrammar(HString(text.c_str()));
  ASSERT_TRUE(reading.isSound());
  Parsing model;
  model.loadRules(reading.lines);
  EXPECT_TRUE(startHint(model).ends_with("Every letter from A to Z has a rule, so none is left for a new start symbol."));
}

TEST(WordHintTest, WhatNoParserReads) {
  Parsing model = exampleModel(2);
  EXPECT_TRUE(wordHints(model, "i+(i*i)").empty());
  EXPECT_EQ(wordHints(model, "i + i$"),
            (std::vector<std::string>{"The word holds blanks: the parsers read a blank as a symbol, and no rule uses one.",
                                      "The word holds $, the end marker the parsers add themselves: they stop at it."}));
  EXPECT_EQ(wordHints(model, "ie"),
            (std::vector<std::string>{"The word holds e, which stands for the empty string in rules and is no terminal: leave it out."}));
  EXPECT_EQ(wordHints(model, "i-x-é"),
            (std::vector<std::string>{"The word holds -, x and é, which no rule uses: every parser stops there."}));
}

TEST(ClassesLineTest, PublishedClassifications) {
  SearchBounds bounds;
  bounds.secondsPerConflict = 600;
  bounds.secondsPerTable = 6000;
  EXPECT_EQ(classesLine(grammarReport(exampleModel(8), "", bounds)),
            "LL(1) no (2 conflicts), SLR(1) no (1 conflict), LALR(1) yes, LR(1) yes; unambiguous (every LR(1) grammar is)");
  EXPECT_EQ(classesLine(grammarReport(exampleModel(12), "", bounds)),
            "LL(1) no (10 conflicts), SLR(1) no (10 conflicts), LALR(1) no (10 conflicts), LR(1) no (10 conflicts); "
            "ambiguous (a unifying counterexample was found)");
  // Without the search, and for a first rule that does not stand for the whole grammar, nothing is claimed.
  EXPECT_TRUE(classesLine(grammarReport(exampleModel(12), "", noSearch())).ends_with("; ambiguity undecided (no unifying counterexample within the bounds)"));
  EXPECT_FALSE(grammarReport(modelOf({"S->x|A", "A->a|a"}), "", noSearch()).augmented->classes.empty());
}

// The LR tables parse only what production 0 derives: the grammar with a
// first rule added that augments it decides, and the report says so.
TEST(ClassesLineTest, AFirstRuleThatDoesNotAugment) {
  SearchBounds bounds;
  bounds.secondsPerConflict = 600;
  bounds.secondsPerTable = 6000;
  GrammarReport ambiguous = grammarReport(modelOf({"S->A|a", "A->a"}), "", bounds);
  EXPECT_EQ(classesLine(ambiguous),
            "LL(1) no (1 conflict), SLR(1) yes, LALR(1) yes, LR(1) yes; ambiguous (a unifying counterexample was found)");
  EXPECT_EQ(reportLines(ambiguous).back(), "Classes with I->S added: LL(1) no (1 conflict), SLR(1) no (1 conflict), "
                                           "LALR(1) no (1 conflict), LR(1) no (1 conflict)");
  GrammarReport unambiguous = grammarReport(modelOf({"S->x|A", "A->a"}), "", bounds);
  EXPECT_EQ(classesLine(unambiguous), "LL(1) yes, SLR(1) yes, LALR(1) yes, LR(1) yes; "
                                      "unambiguous (with I->S added it is LR(1), and every LR(1) grammar is)");
  // Every letter taken: nothing to add, nothing claimed.
  std::vector<std::string> rules{"S->A|a"};
  for (char x = 'A'; x <= 'Z'; ++x)
    if (x != 'S') rules.push_back(std::string(1, x) + "->" + static_cast<char>(x == 'Z' ? 'a' : x + 1 == 'S' ? 'T' : x + 1));
  HString text;
  for (const std::string& rule : rules) text += HString(rule.c_str()) + "\r\n";
  GrammarReading reading = readGrammar(text);
  ASSERT_TRUE(reading.isSound());
  Parsing full;
  full.loadRules(reading.lines);
  EXPECT_FALSE(grammarReport(full, "", noSearch()).augmented.has_value());
}

TEST(ClassesLineTest, ARepeatedAlternativeIsTwoProductions) {
  GrammarReport report = reportOf({"I->A", "A->b|b"});
  EXPECT_EQ(report.repeated, (std::vector<std::string>{"A->b"}));
  EXPECT_EQ(classesLine(report),
            "LL(1) no (1 conflict), SLR(1) yes, LALR(1) yes, LR(1) yes; ambiguous (A->b is written twice: two productions derive the same)");
  EXPECT_NE(reportJson(report).find("\"repeated\": [\n    \"A->b\""), std::string::npos);
}

// The notes on the twelve examples: what a student should hear about each.
TEST(GrammarReportTest, TheTwelveExamples) {
  std::vector<std::string> notes;
  for (int n = 1; n <= kExampleCount; ++n) {
    GrammarReport report = grammarReport(exampleModel(n), examples()[static_cast<size_t>(n) - 1].word, noSearch());
    std::string note = std::to_string(n) + ":";
    if (!report.augments) note += " start";
    if (!report.nullable.empty()) note += " nullable " + together(report.nullable);
    for (const LeftRecursion& r : report.leftRecursion) note += " " + r.kind + " " + together(r.cycle);
    if (!report.unreachable.empty()) note += " unreachable " + together(report.unreachable);
    if (!report.nonProductive.empty()) note += " non-productive " + together(report.nonProductive);
    if (!report.wordHints.empty()) note += " word";
    notes.push_back(note);
  }
  EXPECT_EQ(notes, (std::vector<std::string>{"1: nullable IA", "2: nullable GH", "3: nullable IABCD", "4: nullable Z",
                                             "5: direct A unreachable B", "6: direct E direct T", "7: nullable C", "8:",
                                             "9:", "10:", "11: nullable SEX", "12: direct T"}));
}

TEST(GrammarReportTest, LinesAndJson) {
  GrammarReport report = reportOf({"I->A", "A->Ab|e"}, "a b");
  EXPECT_EQ(reportLines(report),
            (Lines{"Start: The first rule I->A augments the grammar.", "Nullable: I, A", "Left recursion: A => Ab (direct)",
                   "Unreachable from the start symbol: none", "Non-productive (derive no word): none",
                   "Word: The word holds blanks: the parsers read a blank as a symbol, and no rule uses one.",
                   "Word: The word holds a, which no rule uses: every parser stops there.",
                   "Classes: LL(1) no (1 conflict), SLR(1) yes, LALR(1) yes, LR(1) yes; unambiguous (every LR(1) grammar is)"}));
  std::string json = reportJson(report);
  for (const char* key : {"\"augments\": true", "\"nullable\": [", "\"leftRecursion\": [", "\"classes\": [", "\"ambiguous\": false"})
    EXPECT_NE(json.find(key), std::string::npos) << key;
}

}  // namespace
