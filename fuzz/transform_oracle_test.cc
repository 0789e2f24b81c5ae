// Every transformation of a few hundred seeded random grammars, in both
// notations, through the checks the fuzzer runs.
#include <gtest/gtest.h>

#include "fuzz/random_grammar.h"
#include "fuzz/transform_properties.h"
#include "grammar/text_reading.h"

namespace {

// The grammar of a sound text, or one without productions, which the checks pass over.
Grammar classicOf(const std::string& text) { return readGrammarText(text).grammar; }

// The same grammar with every symbol renamed to a word, as the token notation writes it.
Grammar asTokens(Grammar grammar) {
  grammar.notation = Notation::kTokens;
  for (SymbolInfo& symbol : grammar.symbols) symbol.name = (symbol.terminal ? "t_" : "N_") + symbol.name;
  return grammar;
}

TEST(TransformOracle, RandomGrammarsKeepTheirWordsAndReachTheirGoals) {
  for (unsigned seed = 1; seed <= 150; ++seed) {
    std::string word;
    Grammar grammar = classicOf(randomGrammar(seed, word, seed % 3 == 0));
    if (grammar.productions.empty()) continue;
    for (const std::string& problem : checkTransformations(grammar)) ADD_FAILURE() << "seed " << seed << ": " << problem;
    if (seed % 5 == 0)
      for (const std::string& problem : checkTransformations(asTokens(grammar)))
        ADD_FAILURE() << "seed " << seed << " in tokens: " << problem;
  }
}

}  // namespace
