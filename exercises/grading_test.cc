// Keys grade as all right, in any order and the usual notations; planted
// mistakes are each found, with a reason, and nothing else is marked.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "exercises/answers.h"
#include "exercises/item_grading.h"
#include "exercises/set_grading.h"
#include "exercises/table_grading.h"
#include "grammar/first.h"
#include "grammar/follow.h"
#include "grammar/test_support.h"

namespace {

// The elements not marked right, as "row|column|entry|mark".
std::vector<std::string> flagged(const Grading& grading) {
  std::vector<std::string> out;
  for (const MarkedElement& e : grading.elements)
    if (e.mark != Mark::kRight) out.push_back(e.row + "|" + e.column + "|" + e.entry + "|" + markName(e.mark));
  return out;
}

std::string reasonOf(const Grading& grading, const std::string& entry, Mark mark) {
  for (const MarkedElement& e : grading.elements)
    if (e.entry == entry && e.mark == mark) return e.reason;
  return "(none)";
}

// The elements not marked right with their reasons, as "entry: why", in order.
std::vector<std::string> explained(const Grading& grading) {
  std::vector<std::string> out;
  for (const MarkedElement& e : grading.elements)
    if (e.mark != Mark::kRight) out.push_back(e.entry + ": " + e.reason);
  return out;
}

std::string joinedLines(const Row& row) {
  std::string text;
  for (const std::string& line : strings(row)) text += line + "\n";
  return text;
}

using Strings = std::vector<std::string>;

// ---- First and Follow

// Example 2: I->E, E->TG, G->+TG|e, T->FH, H->*FH|e, F->(E)|i.
TEST(SetGradingTest, TheListingsGradeAsAllRight) {
  Parsing model = exampleModel(2);
  Grading first = gradeSets(model, SetKind::kFirst, joinedLines(firstListing(model)));
  EXPECT_TRUE(first.allRight());
  EXPECT_EQ(first.elements.size(), 12u);
  Grading follow = gradeSets(model, SetKind::kFollow, joinedLines(followListing(model, model.follow())));
  EXPECT_TRUE(follow.allRight());
  EXPECT_EQ(scoreText(follow), "Score: 15 of 15 right (100%); 0 wrong, 0 missing.");
}

TEST(SetGradingTest, OtherOrdersAndNotationsAreRight) {
  Parsing model = exampleModel(2);
  std::string answer =
      "Follow(E): )$\r\n\n  FOLLOW(I) = {$}\nFollow(H) = { ), +, $ }\nFollow(G): ) $\n"
      "Follow(F): {*, ), +, $}\nFollow(T): $)+\nFirst(E): (i\n";
  EXPECT_TRUE(gradeSets(model, SetKind::kFollow, answer).allRight());
  EXPECT_TRUE(gradeSets(model, SetKind::kFirst,
                        "First(H): \xCE\xB5*\nFirst(G): +e\nFirst(I): i(\nFirst(E): (i\n"
                        "First(T): i(\nFirst(F): (i")
                  .allRight());
}

// Example 2's Follow sets with ) left out of Follow(T) and i put into Follow(F).
Grading followWithTwoMistakes() {
  Parsing model = exampleModel(2);
  std::string answer = joinedLines(followListing(model, model.follow()));
  answer.replace(answer.find("Follow(T): +$)"), 14, "Follow(T): +$");
  answer.replace(answer.find("Follow(F): *+$)"), 15, "Follow(F): *+$)i");
  return gradeSets(model, SetKind::kFollow, answer);
}

TEST(SetGradingTest, EachPlantedMistakeIsFoundWithItsReason) {
  Grading grading = followWithTwoMistakes();
  EXPECT_EQ(flagged(grading), (Strings{"Follow(T)||)|missing", "Follow(F)||i|wrong"}));
  EXPECT_NE(reasonOf(grading, ")", Mark::kMissing).find(") is in Follow(T)"), std::string::npos);
  EXPECT_EQ(reasonOf(grading, "i", Mark::kWrong), "i can begin F, but nothing that can follow F begins with i.");
}

TEST(GradescopeTest, TestsPerSetWithPartialCreditSummingToTheScore) {
  Grading grading = followWithTwoMistakes();
  nlohmann::json results =
      nlohmann::json::parse(renderGradescope(grading, [](const MarkedElement& e) { return e.row; }));
  EXPECT_EQ(results["score"], 14);
  EXPECT_EQ(results["max_score"], 16);
  EXPECT_EQ(results["output"], scoreText(grading));
  EXPECT_EQ(results["output_format"], "text");
  ASSERT_EQ(results["tests"].size(), 6u);  // Follow of I, E, G, T, H, F
  int score = 0, most = 0;
  for (const auto& test : results["tests"]) {
    score += test["score"].get<int>();
    most += test["max_score"].get<int>();
  }
  EXPECT_EQ(score, 14);
  EXPECT_EQ(most, 16);
  for (const auto& test : results["tests"]) {
    if (test["name"] == "Follow(T)") {
      EXPECT_EQ(test["score"], 2);
      EXPECT_EQ(test["max_score"], 3);
      EXPECT_EQ(test["status"], "failed");
      EXPECT_NE(test["output"].get<std::string>().find(") is in Follow(T)"), std::string::npos);
    }
    if (test["name"] == "Follow(F)") {
      EXPECT_EQ(test["score"], 4);
      EXPECT_EQ(test["max_score"], 5);
      EXPECT_NE(test["output"].get<std::string>().find(
                    "i can begin F, but nothing that can follow F begins with i."),
                std::string::npos);
    }
    if (test["name"] == "Follow(E)") {
      EXPECT_EQ(test["status"], "passed");
    }
  }
}

TEST(GradescopeTest, AnEmptyAnswerScoresNothingOfTheKey) {
  Parsing model = exampleModel(2);
  nlohmann::json results = nlohmann::json::parse(
      renderGradescope(gradeSets(model, SetKind::kFirst, ""), [](const MarkedElement& e) { return e.row; }));
  EXPECT_EQ(results["score"], 0);
  EXPECT_EQ(results["max_score"], 12);
}

TEST(SetGradingTest, WrongSymbolsOfFirstAreExplained) {
  Parsing model = exampleModel(2);
  Grading grading = gradeSets(model, SetKind::kFirst, "First(E): (ie\nFirst(F): (i$\nFirst(T): (i+");
  EXPECT_EQ(reasonOf(grading, "e", Mark::kWrong), "E cannot derive the empty word, so e is not in First(E).");
  EXPECT_EQ(reasonOf(grading, "$", Mark::kWrong), "$ marks the end of the input and is never in a First set.");
  EXPECT_EQ(reasonOf(grading, "+", Mark::kWrong), "+ can follow T, but no derivation from T begins with +.");
}

TEST(SetGradingTest, UnreadableLinesAndUnknownSetsAreWrong) {
  Parsing model = exampleModel(2);
  Grading grading =
      gradeSets(model, SetKind::kFirst, joinedLines(firstListing(model)) + "Follow(E): $)\nFirst(Q): a\nmy answer\n");
  EXPECT_EQ(flagged(grading), (Strings{"line 9||my answer|wrong", "First(Q)||a|wrong"}));
  EXPECT_EQ(reasonOf(grading, "a", Mark::kWrong), "Q is not a non-terminal of the grammar.");
}

TEST(SetGradingTest, RevealingPutsOneElementRightAtATime) {
  Parsing model = exampleModel(2);
  std::string answer = "First(E): (x\nnonsense\nFirst(Q): a\n";
  for (int step = 0; step < 20; ++step) {
    Grading grading = gradeSets(model, SetKind::kFirst, answer);
    if (grading.allRight()) break;
    std::size_t before = flagged(grading).size();
    for (const MarkedElement& e : grading.elements)
      if (e.mark != Mark::kRight) {
        answer = revealSetElement(model, answer, SetKind::kFirst, e);
        break;
      }
    EXPECT_EQ(flagged(gradeSets(model, SetKind::kFirst, answer)).size(), before - 1) << answer;
  }
  EXPECT_TRUE(gradeSets(model, SetKind::kFirst, answer).allRight()) << answer;
  EXPECT_EQ(answer.substr(0, 13), "First(E): (i\n");
}

// ---- tables

// I->S, S->(S)|x: the SLR table of the README.
const char* const kParentheses[] = {"I->S", "S->(S)|x"};

Parsing parentheses() { return modelOf({kParentheses[0], kParentheses[1]}); }

std::string csvOf(const Parsing& model, TableKind kind) {
  return renderTable(cellsOf(table(model, kind)), Format::kCsv);
}

TEST(TableGradingTest, KeysGradeAsAllRightInAnyRowOrder) {
  Parsing model = parentheses();
  for (TableKind kind : kTableKinds) {
    GradeResult result = gradeTable(model, kind, csvOf(model, kind));
    ASSERT_TRUE(result.ok());
    EXPECT_TRUE(result.grading.allRight()) << tableName(kind);
    Cells rows = cellsOf(table(model, kind));
    std::reverse(rows.begin() + 1, rows.end());
    EXPECT_TRUE(gradeTableCells(model, kind, rows).allRight()) << tableName(kind);
  }
}

TEST(TableGradingTest, SpreadsheetFormsAndUsualNotationsAreRight) {
  Parsing model = parentheses();
  std::string answer =
      "\xEF\xBB\xBF"
      "State;$;(;);x;S;I\n"
      "I0;;S2;;s03;1;\nstate 1;acc;;;;;\n2;;s2;;s3;4;\n3;r2;;r2;;;\n4;;;s5;;;\n5;r1;;R1;;;\n";
  GradeResult result = gradeTable(model, TableKind::kSLR, answer);
  ASSERT_TRUE(result.ok()) << result.error;
  EXPECT_TRUE(result.grading.allRight()) << ::testing::PrintToString(flagged(result.grading));
}

TEST(TableGradingTest, EachPlantedMistakeIsFoundWithItsReason) {
  Parsing model = parentheses();
  Cells rows = cellsOf(table(model, TableKind::kSLR));
  // Header: "", (, ), x, $, I, S.
  rows[1][1] = "s3";  // state 0 on ( shifts to 2
  rows[5][4] = "r1";  // state 4 reduces nothing
  rows[1][6] = "s1";  // the goto of state 0 on S is a bare 1
  Grading grading = gradeTableCells(model, TableKind::kSLR, rows);
  EXPECT_EQ(flagged(grading),
            (Strings{"0|(|s2|missing", "0|(|s3|wrong", "0|S|1|missing", "0|S|s1|wrong", "4|$|r1|wrong"}));
  EXPECT_EQ(reasonOf(grading, "s2", Mark::kMissing), "State 0 holds S->°(S), so on ( it shifts to state 2.");
  EXPECT_EQ(reasonOf(grading, "s3", Mark::kWrong), "The goto of state 0 on ( is state 2, not 3.");
  EXPECT_EQ(reasonOf(grading, "r1", Mark::kWrong), "State 4 holds no complete item of S->(S).");
  EXPECT_EQ(reasonOf(grading, "s1", Mark::kWrong),
            "A non-terminal's column holds the goto as a bare state number, not a shift.");
}

TEST(TableGradingTest, ReductionsAreExplainedByFollowOrLookahead) {
  Parsing model = parentheses();
  Cells slr = cellsOf(table(model, TableKind::kSLR));
  slr[4][2] = "";    // state 3 on ): r2
  slr[4][3] = "r2";  // state 3 on x
  Grading grading = gradeTableCells(model, TableKind::kSLR, slr);
  EXPECT_EQ(reasonOf(grading, "r2", Mark::kMissing),
            "State 3 holds S->x° and ) is in Follow(S), so on ) it reduces by S->x.");
  EXPECT_EQ(reasonOf(grading, "r2", Mark::kWrong), "x is not in Follow(S), so state 3 does not reduce by S->x on x.");
  Cells lr1 = cellsOf(table(model, TableKind::kLR1));
  lr1[4][2] = "r2";  // state 3 is reached from state 0 only: lookahead $
  grading = gradeTableCells(model, TableKind::kLR1, lr1);
  EXPECT_EQ(reasonOf(grading, "r2", Mark::kWrong), "In state 3, S->x° has the lookahead $, not ).");
}

TEST(TableGradingTest, LL1CellsAreSetsOfProductions) {
  // Example 4: M[Z, c] holds Z->cS|e.
  Parsing model = exampleModel(4);
  Cells rows = cellsOf(table(model, TableKind::kLL1));
  rows[3][3] = "Z->e | Z->cS";
  EXPECT_TRUE(gradeTableCells(model, TableKind::kLL1, rows).allRight());
  rows[3][3] = "Z->cS";
  rows[2][1] = "S->a|S->iEtSZ";
  Grading grading = gradeTableCells(model, TableKind::kLL1, rows);
  EXPECT_EQ(flagged(grading), (Strings{"S|a|S->iEtSZ|wrong", "Z|c|Z->e|missing"}));
  EXPECT_EQ(reasonOf(grading, "Z->e", Mark::kMissing),
            "Z->e goes under the symbols of Follow(Z) and c is in Follow(Z), so M[Z, c] holds Z->e.");
  EXPECT_EQ(reasonOf(grading, "S->iEtSZ", Mark::kWrong), "a is not in First(iEtSZ), and iEtSZ cannot vanish.");
}

TEST(TableGradingTest, RowsAndColumnsTheTableDoesNotHave) {
  Parsing model = parentheses();
  Cells rows = cellsOf(table(model, TableKind::kSLR));
  rows[0].push_back("y");
  rows[1].push_back("s1");
  rows.push_back({"9", "s2"});
  Grading grading = gradeTableCells(model, TableKind::kSLR, rows);
  EXPECT_EQ(flagged(grading), (Strings{"0|y|s1|wrong", "9|(|s2|wrong"}));
  EXPECT_EQ(reasonOf(grading, "s1", Mark::kWrong), "y is not a column of the table.");
  EXPECT_EQ(reasonOf(grading, "s2", Mark::kWrong), "There is no state 9.");
}

TEST(TableGradingTest, AnUnclosedQuoteIsAnUnreadableAnswer) {
  GradeResult result = gradeTable(parentheses(), TableKind::kSLR, ",(,)\n0,\"s2,\n");
  EXPECT_FALSE(result.ok());
  EXPECT_EQ(result.error, "the quoted field that starts on line 2 is not closed");
  EXPECT_FALSE(gradeTable(parentheses(), TableKind::kSLR, "\n\n").ok());
}

// ---- items

// Every state's items of the key, LR(0) and LR(1), in reverse order, grade as all right.
void expectEveryStateOfTheKeyRight(const Parsing& model) {
  for (bool lr1 : {false, true})
    for (int state = 0; state < static_cast<int>(stateOrigins(model, lr1).size()); ++state) {
      std::string key;
      for (const std::string& item : stateItems(model, lr1, state)) key = item + "\n" + key;
      EXPECT_TRUE(gradeItems(model, lr1, state, key).allRight()) << key;
    }
}

TEST(ItemGradingTest, StatesAreNamedByTheirOrigin) {
  Strings origins = stateOrigins(parentheses(), false);
  ASSERT_EQ(origins.size(), 6u);
  EXPECT_EQ(origins[0], "the closure of I->\xC2\xB0S");
  EXPECT_EQ(origins[2], "the goto of state 0 on (");
  EXPECT_EQ(stateItems(parentheses(), true, 2), (Strings{"S->(\xC2\xB0S), $", "S->\xC2\xB0(S), )", "S->\xC2\xB0x, )"}));
}

TEST(ItemGradingTest, TheKeyInAnyOrderAndNotationIsRight) {
  Parsing model = parentheses();
  expectEveryStateOfTheKeyRight(model);
  EXPECT_TRUE(gradeItems(model, false, 2, "[S -> .(S)]\nS->x.\n").allRight() == false);
  EXPECT_TRUE(gradeItems(model, false, 2, "[S -> .(S)]\nS->.x\nS->(\xC2\xB7S)").allRight());
  EXPECT_TRUE(gradeItems(model, true, 2, "S->.x, )\n[S->(.S), $]\nS->.(S) , )").allRight());
}

TEST(ItemGradingTest, EachPlantedMistakeIsFoundWithItsReason) {
  Parsing model = parentheses();
  Grading grading = gradeItems(model, true, 2, "S->(.S), $\nS->.(S), )$\nS->(S.), $\nS->y.\n");
  EXPECT_EQ(flagged(grading), (Strings{"||S->\xC2\xB0x, )|missing", "line 2||S->\xC2\xB0(S), $|wrong",
                                       "line 3||S->(S\xC2\xB0), $|wrong", "line 4||S->y\xC2\xB0|wrong"}));
  EXPECT_EQ(reasonOf(grading, "S->\xC2\xB0x, )", Mark::kMissing),
            "The closure adds it for S->(\xC2\xB0S), since ) is in First()).");
  EXPECT_EQ(reasonOf(grading, "S->\xC2\xB0(S), $", Mark::kWrong),
            "In state 2, S->\xC2\xB0(S) has the lookahead ), not $.");
  EXPECT_EQ(reasonOf(grading, "S->(S\xC2\xB0), $", Mark::kWrong), "State 2 holds no item S->(S\xC2\xB0).");
  EXPECT_EQ(reasonOf(grading, "S->y\xC2\xB0", Mark::kWrong), "S->y is not a production of the grammar.");
  Grading kernel = gradeItems(model, false, 4, "");
  EXPECT_EQ(kernel.elements[0].reason, "It comes from state 2, which holds S->(\xC2\xB0S), by the goto on S.");
}

TEST(ItemGradingTest, RevealingAddsAndRemovesItems) {
  Parsing model = parentheses();
  std::string answer = "S->(.S), $\nS->.(S), )$\nbad line";
  for (int step = 0; step < 10 && !gradeItems(model, true, 2, answer).allRight(); ++step)
    for (const MarkedElement& e : gradeItems(model, true, 2, answer).elements)
      if (e.mark != Mark::kRight) {
        answer = revealItem(model, answer, e);
        break;
      }
  EXPECT_TRUE(gradeItems(model, true, 2, answer).allRight());
  EXPECT_EQ(answer, "S->(.S), $\nS->\xC2\xB0(S), )\nS->\xC2\xB0x, )");
}

// ---- reading answers

TEST(AnswerReadingTest, CsvAsSpreadsheetsSaveIt) {
  std::string error;
  EXPECT_EQ(*readCsv("a,\"b,\"\"c\"\"\"\r\n\r\n,x\n", error), (Cells{{"a", "b,\"c\""}, {"", "x"}}));
  EXPECT_EQ(*readCsv("a;b\n1;2", error), (Cells{{"a", "b"}, {"1", "2"}}));
  EXPECT_EQ(*readCsv("\"\"\r\n", error), (Cells{{""}}));
}

TEST(AnswerReadingTest, LinesAreTrimmedAndOneQuotedFieldIsRead) {
  std::vector<AnswerLine> lines = answerLines("  First(S): a  \r\n\n\"Follow(S): $,\"\n");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].text, "First(S): a");
  EXPECT_EQ(lines[1].number, 3);
  EXPECT_EQ(lines[1].text, "Follow(S): $,");
}

// ---- the token notation: the key in the listings' own form grades as all
// right, a student's usual forms read as the grammar's tokens, the start
// rule the analyses add may be left out, and every mistake is explained
// with the grammar's own symbols.

Parsing expressions() { return modelOfText(kTokenExpressions); }

// ---- reading tokens

TEST(AnswerTokensTest, BracesCommasAndStuckPunctuationComeApart) {
  Parsing model = expressions();
  EXPECT_EQ(answerTokens(model.typed, "{(, id}", ",{}"), (Strings{"(", "id"}));
  EXPECT_EQ(answerTokens(model.typed, "+)*  '+' E',", ",{}"), (Strings{"+", ")", "*", "+", "E'"}));
  EXPECT_EQ(answerTokens(model.typed, "e eps \xCE\xB5 $", ",{}"), (Strings{"\xCE\xB5", "\xCE\xB5", "\xCE\xB5", "$"}));
  EXPECT_EQ(answerTokens(model.typed, "E->T E'", "", {"->"}), (Strings{"E", "->", "T", "E'"}));
}

TEST(AnswerTokensTest, TheGrammarsOwnSymbolsWinOverSeparatorsAndEpsilon) {
  Parsing model = modelOfText("#notation: tokens\nL -> L , e | e\n");
  EXPECT_EQ(answerTokens(model.typed, "{ e , $ }", ",{}"), (Strings{"e", ",", "$"}));
}

// ---- sets

TEST(TokenSetGradingTest, TheListingsGradeAsAllRightWithOrWithoutTheAddedStartRule) {
  Parsing model = expressions();
  std::string first = joinedLines(firstListing(model));
  std::string follow = joinedLines(followListing(model.typed));
  EXPECT_TRUE(gradeSets(model, SetKind::kFirst, first).allRight());
  Grading all = gradeSets(model, SetKind::kFollow, follow);
  EXPECT_TRUE(all.allRight());
  EXPECT_EQ(all.elements.size(), 12u);
  // E' -> E is the analyses' rule: its set is not missed where it is not written.
  Grading without = gradeSets(model, SetKind::kFollow, follow.substr(follow.find('\n') + 1));
  EXPECT_TRUE(without.allRight());
  EXPECT_EQ(without.elements.size(), 11u);
}

TEST(TokenSetGradingTest, MistakesAreNamedAndExplainedByTokens) {
  Parsing model = expressions();
  Grading grading = gradeSets(model, SetKind::kFirst,
                              "First(E) = { (, id, + }\nFirst(T): ( id num e\nFirst(F): ( id num\nFirst(E'): ( id num\n");
  EXPECT_EQ(flagged(grading),
            (Strings{"First(E)||num|missing", "First(E)||+|wrong", "First(T)||\xCE\xB5|wrong"}));
  EXPECT_EQ(explained(grading), (Strings{"num: num is in First(E) because of E -> T and num is in First(T).",
                                         "+: + can follow E, but no derivation from E begins with +.",
                                         "\xCE\xB5: T cannot derive the empty word, so \xCE\xB5 is not in First(T)."}));
}

TEST(TokenSetGradingTest, RevealingKeepsTokensApart) {
  Parsing model = expressions();
  std::string answer = "Follow(E): $ + ) id\nFollow(T): $ + )";
  for (int step = 0; step < 12 && !gradeSets(model, SetKind::kFollow, answer).allRight(); ++step)
    for (const MarkedElement& e : gradeSets(model, SetKind::kFollow, answer).elements)
      if (e.mark != Mark::kRight) {
        answer = revealSetElement(model, answer, SetKind::kFollow, e);
        break;
      }
  EXPECT_TRUE(gradeSets(model, SetKind::kFollow, answer).allRight()) << answer;
  EXPECT_EQ(answer.substr(0, answer.find('\n')), "Follow(E): $ + )");
  EXPECT_NE(answer.find("Follow(T): $ + ) *"), std::string::npos) << answer;
}

// ---- tables

TEST(TokenTableGradingTest, KeysGradeAsAllRight) {
  Parsing model = expressions();
  Parsing ll1 = modelOfText("#notation: tokens\nE -> T E'\nE' -> + T E' | \xCE\xB5\nT -> ( E ) | id\n");
  for (TableKind kind : kTableKinds) {
    const Parsing& graded = kind == TableKind::kLL1 ? ll1 : model;
    Cells key = cellsOf(table(graded, kind));
    EXPECT_TRUE(gradeTableCells(graded, kind, key).allRight()) << tableName(kind);
  }
}

TEST(TokenTableGradingTest, LL1CellsInTheFormsStudentsWrite) {
  Parsing model = modelOfText("#notation: tokens\nE -> T E'\nE' -> + T E' | \xCE\xB5\nT -> ( E ) | id\n");
  Cells rows = cellsOf(table(model, TableKind::kLL1));
  // Header: "", +, (, ), id, $; row 1 the added E'' -> E.
  ASSERT_EQ(rows[0], (Strings{"", "+", "(", ")", "id", "$"}));
  rows.erase(rows.begin() + 1);  // the added start rule's row left out
  rows[2][1] = "+ T E'";         // a body alone, in its row
  rows[2][3] = "\xCE\xB5";
  rows[2][5] = "E'->";           // nothing after the arrow is the empty body
  EXPECT_TRUE(gradeTableCells(model, TableKind::kLL1, rows).allRight());
  rows[2][4] = "E' -> \xCE\xB5 | E' -> + T";
  Grading grading = gradeTableCells(model, TableKind::kLL1, rows);
  // Each entry is wrong on its own: the empty body for a symbol outside Follow(E'), and a body
  // no production of E' has.
  EXPECT_EQ(explained(grading), (Strings{"E' -> \xCE\xB5: E' -> \xCE\xB5 goes only under the symbols of Follow(E'), and id is not one of them.",
                          "E' -> + T: E' -> + T is not a production of the grammar."}));
  EXPECT_EQ(flagged(grading), (Strings{"E'|id|E' -> \xCE\xB5|wrong", "E'|id|E' -> + T|wrong"}));
}

TEST(TokenTableGradingTest, AQuotedBarIsATerminalNotASeparator) {
  Parsing model = modelOfText("#notation: tokens\nS -> '|' S | x\n");
  Cells rows = cellsOf(table(model, TableKind::kLL1));
  EXPECT_TRUE(gradeTableCells(model, TableKind::kLL1, rows).allRight());
  std::vector<std::string> entries = cellEntries(model, TableKind::kLL1, "S", "'|' S | S -> x");
  EXPECT_EQ(entries, (Strings{"S -> '|' S", "S -> x"}));
}

TEST(TokenTableGradingTest, LRMistakesAreExplainedByTokens) {
  Parsing model = expressions();
  Cells rows = cellsOf(table(model, TableKind::kSLR));
  // Header: "", +, *, (, ), id, num, $, E', E, T, F.
  ASSERT_EQ(rows[0][5], "id");
  rows[1][5] = "s6";   // state 0 shifts id to 5
  rows[3][2] = "s8|r2";  // state 2 on *: s8 alone
  Grading grading = gradeTableCells(model, TableKind::kSLR, rows);
  EXPECT_EQ(flagged(grading), (Strings{"0|id|s5|missing", "0|id|s6|wrong", "2|*|r2|wrong"}));
  EXPECT_EQ(reasonOf(grading, "s5", Mark::kMissing), "State 0 holds F -> \xC2\xB0 id, so on id it shifts to state 5.");
  EXPECT_EQ(reasonOf(grading, "r2", Mark::kWrong), "* is not in Follow(E), so state 2 does not reduce by E -> T on *.");
}

// ---- items

TEST(TokenItemGradingTest, EveryStateOfTheKeyIsRight) {
  Parsing model = expressions();
  expectEveryStateOfTheKeyRight(model);
  EXPECT_EQ(stateOrigins(model, false)[0], "the closure of E' -> \xC2\xB0 E");
}

TEST(TokenItemGradingTest, DotsBracketsAndLookaheadSeparatorsAreRead) {
  Parsing model = expressions();
  int state = 1;  // the goto of state 0 on E
  EXPECT_EQ(stateItems(model, true, state), (Strings{"E' -> E \xC2\xB0, $", "E -> E \xC2\xB0 + T, $ +"}));
  EXPECT_TRUE(gradeItems(model, true, state, "[E'->E., $]\nE -> E.+T, {$, +}\n").allRight());
  Grading grading = gradeItems(model, true, state, "E -> E \xC2\xB7 + T, $/)\nE -> E + \xC2\xB0 T, $\n");
  EXPECT_EQ(explained(grading),
            (Strings{"E' -> E \xC2\xB0, $: It comes from state 0, which holds E' -> \xC2\xB0 E with the lookahead $, by "
                     "the goto on E.",
                     "E -> E \xC2\xB0 + T, +: It comes from state 0, which holds E -> \xC2\xB0 E + T with the lookahead "
                     "+, by the goto on E.",
                     "E -> E \xC2\xB0 + T, ): In state 1, E -> E \xC2\xB0 + T has the lookahead $ +, not ).",
                     "E -> E + \xC2\xB0 T, $: State 1 holds no item E -> E + \xC2\xB0 T."}));
}

TEST(TokenItemGradingTest, ACommaTerminalIsNoLookaheadSeparator) {
  Parsing model = modelOfText("#notation: tokens\nL -> L , x | x\n");
  int state = 1;  // the goto of state 0 on L
  ASSERT_EQ(stateItems(model, true, state)[1], "L -> L \xC2\xB0 , x, $ ,");
  EXPECT_TRUE(gradeItems(model, true, state, "L' -> L \xC2\xB0, $\nL -> L \xC2\xB0 , x, $ ,\n").allRight());
}

TEST(TokenItemGradingTest, RevealingOneLookaheadKeepsTheOthersApart) {
  Parsing model = expressions();
  std::string answer = "E' -> E \xC2\xB0, $\nE -> E \xC2\xB0 + T, $ ) +";
  for (const MarkedElement& e : gradeItems(model, true, 1, answer).elements)
    if (e.mark == Mark::kWrong) answer = revealItem(model, answer, e);
  EXPECT_EQ(answer, "E' -> E \xC2\xB0, $\nE -> E \xC2\xB0 + T, $ +");
  EXPECT_TRUE(gradeItems(model, true, 1, answer).allRight());
}

}  // namespace
