// The engine against the literal item-list operations on a few hundred
// seeded random grammars: the same collections, item orders and lookahead
// texts, the same LALR states and similar-state texts, and stack cells
// that replaying each trace on a literal stack gives again.
#include <gtest/gtest.h>

#include <string>

#include "fuzz/properties.h"
#include "fuzz/random_grammar.h"
#include "grammar/reading.h"

namespace {

TEST(OracleTest, EngineAgreesWithTheLiteralOperations) {
  int checked = 0;
  for (unsigned seed = 1; seed <= 400; ++seed) {
    std::string word;
    GrammarReading reading = readGrammar(editorText(randomGrammar(seed, word)));
    if (!reading.isSound()) continue;
    Parsing model;
    model.loadRules(reading.lines);
    std::vector<std::string> problems = checkModel(model, HString(word.data(), static_cast<int>(word.size())));
    EXPECT_TRUE(problems.empty()) << "seed " << seed << ": " << ::testing::PrintToString(problems);
    ++checked;
  }
  EXPECT_GT(checked, 300);
}

}  // namespace
