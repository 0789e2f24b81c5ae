// Two routes to each result on a few hundred seeded random grammars.  The
// engine against the literal item-list operations: the same collections,
// item orders and lookahead texts, the same LALR states and similar-state
// texts, and stack cells that replaying each trace on a literal stack gives
// again.  The LALR lookaheads computed on the LR(0) states against the
// merged LR(1) collection, and the command layer's LALR table and conflict
// count against the merged collection's, whichever route the layer takes.
#include <gtest/gtest.h>

#include <string>

#include "fuzz/properties.h"
#include "fuzz/random_grammar.h"
#include "grammar/reading.h"

namespace {

// Runs `check` on the model and word of each sound grammar of seeds 1 to
// 400 and expects it to find nothing; most of them are sound.
template <class Check>
void checkRandomGrammars(Check check) {
  int checked = 0;
  for (unsigned seed = 1; seed <= 400; ++seed) {
    std::string word;
    GrammarReading reading = readGrammar(editorText(randomGrammar(seed, word)));
    if (!reading.isSound()) continue;
    Parsing model;
    model.loadRules(reading.lines);
    std::vector<std::string> problems = check(model, HString(word.data(), static_cast<int>(word.size())));
    EXPECT_TRUE(problems.empty()) << "seed " << seed << ": " << ::testing::PrintToString(problems);
    ++checked;
  }
  EXPECT_GT(checked, 300);
}

TEST(OracleTest, EngineAgreesWithTheLiteralOperations) { checkRandomGrammars(checkModel); }

TEST(OracleTest, LalrLookaheadsOnTheLR0StatesAreTheMergedOnes) {
  checkRandomGrammars([](const Parsing& model, const HString&) { return checkLalrRoutes(model); });
}

}  // namespace
