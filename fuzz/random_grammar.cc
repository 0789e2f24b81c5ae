#include "fuzz/random_grammar.h"

#include <random>

std::string randomGrammar(unsigned seed, std::string& word, bool larger) {
  std::mt19937 random(seed);
  auto below = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  int extra = larger ? 1 : 0;  // one more alternative and symbol at most
  int nonTerminals = 2 + below(larger ? 7 : 4);
  std::string terminals = std::string("abcxy+*()").substr(0, static_cast<size_t>(2 + below(5)));
  int shape = below(8);
  bool startLine = shape >= 2;    // I->A only starts the grammar
  bool startReused = shape == 7;  // I stands in right sides as well
  auto nonTerminal = [&](int i) { return startReused && i == nonTerminals ? 'I' : static_cast<char>('A' + i); };
  std::string text = startLine ? (startReused ? "I->A|Ab\n" : "I->A\n") : "";
  for (int i = 0; i < nonTerminals; ++i) {
    text += static_cast<char>('A' + i);
    text += "->";
    int alternatives = 1 + below(3 + extra);
    for (int a = 0; a < alternatives; ++a) {
      for (int k = 1 + below(3 + extra); k > 0; --k)
        text += below(9) < 4 ? nonTerminal(below(nonTerminals + (startReused ? 1 : 0)))
                             : terminals[static_cast<size_t>(below(static_cast<int>(terminals.size())))];
      text += '|';
    }
    text += below(4) == 0 ? "e" : std::string(1, terminals[0]);
    text += '\n';
  }
  word.clear();
  for (int k = below(6); k > 0; --k) word += terminals[static_cast<size_t>(below(static_cast<int>(terminals.size())))];
  return text;
}
