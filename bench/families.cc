#include "bench/families.h"

#include <random>
#include <set>
#include <stdexcept>

std::string explosiveChain(int n, bool closingRule) {
  if (n < 1 || n > 24) throw std::invalid_argument("a chain has 1 to 24 rules");
  // 25 non-terminals besides I, and a terminal for every rule besides x, y and z.
  const std::string heads = "ABCDEFGHJKLMNOPQRSTUVWXYZ";
  const std::string terminals = "abcdfghijklmnopqrstuvw0123456789";
  std::string text = "I->A\n";
  for (int k = 0; k < n; ++k) {
    std::string next = k + 1 < n || closingRule ? std::string(1, heads[static_cast<size_t>(k) + 1]) : "x";
    char t = terminals[static_cast<size_t>(k)];
    text += std::string(1, heads[static_cast<size_t>(k)]) + "->y" + next + t + "|y" + next + "|z" + next + "\n";
  }
  if (closingRule) text += std::string(1, heads[static_cast<size_t>(n)]) + "->x\n";
  return text;
}

std::string longGrammar(int lines) {
  if (lines < 8) throw std::invalid_argument("the long grammar has at least 8 lines");
  std::string text =
      "I->S\n"
      "S->S;E|E\n"
      "E->E+T|E-T|T\n"
      "T->T*F|T/F|F\n"
      "F->(E)|W|N\n"
      "N->ND|D\n"
      "D->0|1|2|3|4|5|6|7|8|9\n";
  // Words of 3 to 7 letters, each once; 'e' stands for the empty string.
  const std::string letters = "abcdfghijklmnopqrstuvwxyz";
  std::mt19937 random(20250117u);
  std::set<std::string> words;
  for (int k = 7; k < lines; ++k) {
    std::string word;
    do {
      word.assign(3 + random() % 5, ' ');
      for (char& c : word) c = letters[random() % letters.size()];
    } while (!words.insert(word).second);
    text += "W->" + word + "\n";
  }
  return text;
}
