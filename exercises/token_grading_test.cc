// Grading answers on grammars in the token notation: the key in the
// listings' own form grades as all right, a student's usual forms read as
// the grammar's tokens, the start rule the analyses add may be left out,
// and every mistake is explained with the grammar's own symbols.
#include <gtest/gtest.h>

#include "exercises/answers.h"
#include "exercises/item_grading.h"
#include "exercises/set_grading.h"
#include "exercises/table_grading.h"
#include "grammar/first.h"
#include "grammar/follow.h"
#include "grammar/test_support.h"

namespace {

using Strings = std::vector<std::string>;

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

std::string joinedLines(const Row& row) {
  std::string text;
  for (const std::string& line : strings(row)) text += line + "\n";
  return text;
}

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
  EXPECT_EQ(reasonOf(grading, "num", Mark::kMissing), "num is in First(E) because of E -> T and num is in First(T).");
  EXPECT_EQ(reasonOf(grading, "+", Mark::kWrong), "+ can follow E, but no derivation from E begins with +.");
  EXPECT_EQ(reasonOf(grading, "\xCE\xB5", Mark::kWrong),
            "T cannot derive the empty word, so \xCE\xB5 is not in First(T).");
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
  EXPECT_EQ(flagged(grading), (Strings{"E'|id|E' -> \xCE\xB5|wrong", "E'|id|E' -> + T|wrong"}));
  EXPECT_EQ(reasonOf(grading, "E' -> \xCE\xB5", Mark::kWrong),
            "E' -> \xCE\xB5 goes only under the symbols of Follow(E'), and id is not one of them.");
  EXPECT_EQ(reasonOf(grading, "E' -> + T", Mark::kWrong), "E' -> + T is not a production of the grammar.");
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
  for (bool lr1 : {false, true})
    for (int state = 0; state < static_cast<int>(stateOrigins(model, lr1).size()); ++state) {
      std::string key;
      for (const std::string& item : stateItems(model, lr1, state)) key = item + "\n" + key;
      EXPECT_TRUE(gradeItems(model, lr1, state, key).allRight()) << key;
    }
  EXPECT_EQ(stateOrigins(model, false)[0], "the closure of E' -> \xC2\xB0 E");
}

TEST(TokenItemGradingTest, DotsBracketsAndLookaheadSeparatorsAreRead) {
  Parsing model = expressions();
  int state = 1;  // the goto of state 0 on E
  EXPECT_EQ(stateItems(model, true, state), (Strings{"E' -> E \xC2\xB0, $", "E -> E \xC2\xB0 + T, $ +"}));
  EXPECT_TRUE(gradeItems(model, true, state, "[E'->E., $]\nE -> E.+T, {$, +}\n").allRight());
  Grading grading = gradeItems(model, true, state, "E -> E \xC2\xB7 + T, $/)\nE -> E + \xC2\xB0 T, $\n");
  EXPECT_EQ(flagged(grading), (Strings{"||E' -> E \xC2\xB0, $|missing", "||E -> E \xC2\xB0 + T, +|missing",
                                       "line 1||E -> E \xC2\xB0 + T, )|wrong", "line 2||E -> E + \xC2\xB0 T, $|wrong"}));
  EXPECT_EQ(reasonOf(grading, "E -> E \xC2\xB0 + T, )", Mark::kWrong),
            "In state 1, E -> E \xC2\xB0 + T has the lookahead $ +, not ).");
  EXPECT_EQ(reasonOf(grading, "E -> E \xC2\xB0 + T, +", Mark::kMissing),
            "It comes from state 0, which holds E -> \xC2\xB0 E + T with the lookahead +, by the goto on E.");
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
