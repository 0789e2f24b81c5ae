// The engine against the literal item-list operations on a few hundred
// seeded random grammars: the same collections, item orders and lookahead
// texts, the same LALR states and similar-state texts, and stack cells
// that replaying each trace on a literal stack gives again.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "fuzz/properties.h"
#include "grammar/reading.h"

namespace {

// 2 to 5 non-terminals, each with 1 to 3 alternatives of 1 to 3 symbols,
// some empty; a first line I->A that only starts the grammar.
std::string randomGrammar(unsigned seed, std::string& word) {
  std::mt19937 random(seed);
  auto below = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  int nonTerminals = 2 + below(4);
  std::string terminals = std::string("abcxy+*()").substr(0, static_cast<size_t>(2 + below(5)));
  std::string text = "I->A\n";
  for (int i = 0; i < nonTerminals; ++i) {
    text += static_cast<char>('A' + i);
    text += "->";
    int alternatives = 1 + below(3);
    for (int a = 0; a < alternatives; ++a) {
      for (int k = 1 + below(3); k > 0; --k)
        text += below(9) < 4 ? static_cast<char>('A' + below(nonTerminals)) : terminals[static_cast<size_t>(below(static_cast<int>(terminals.size())))];
      text += '|';
    }
    text += below(4) == 0 ? "e" : std::string(1, terminals[0]);
    text += '\n';
  }
  word.clear();
  for (int k = below(6); k > 0; --k) word += terminals[static_cast<size_t>(below(static_cast<int>(terminals.size())))];
  return text;
}

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
