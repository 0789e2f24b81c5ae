// The two routes to the LALR automaton on a few hundred seeded random
// grammars: lookaheads computed on the LR(0) states against the merged
// LR(1) collection, and the command layer's LALR table and conflict count
// against the merged collection's, whichever route the layer takes.
#include <gtest/gtest.h>

#include <string>

#include "fuzz/properties.h"
#include "fuzz/random_grammar.h"
#include "grammar/reading.h"

namespace {

TEST(LalrRoutesTest, LookaheadsOnTheLR0StatesAreTheMergedOnes) {
  int checked = 0;
  for (unsigned seed = 1; seed <= 400; ++seed) {
    std::string word;
    GrammarReading reading = readGrammar(editorText(randomGrammar(seed, word)));
    if (!reading.isSound()) continue;
    Parsing model;
    model.loadRules(reading.lines);
    std::vector<std::string> problems = checkLalrRoutes(model);
    EXPECT_TRUE(problems.empty()) << "seed " << seed << ": " << ::testing::PrintToString(problems);
    ++checked;
  }
  EXPECT_GT(checked, 300);
}

}  // namespace
