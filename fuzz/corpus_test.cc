// Every kept input (the seeds and every input that ever failed, whichever
// target found it) goes through the checks of every target, and our own
// hostile inputs through the whole analysis, as ordinary tests.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "fuzz/properties.h"
#include "grammar/reading.h"

namespace {

std::string contents(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void checkFolder(const char* folder, bool mayBeEmpty) {
  int inputs = 0;
  for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(TABLOMAT_CORPUS) / folder)) {
    if (!entry.is_regular_file() || entry.path().filename().string()[0] == '.') continue;
    ++inputs;
    std::string input = contents(entry.path());
    for (const FuzzTargetInfo& target : fuzzTargets()) {
      std::vector<std::string> problems = checkTarget(target.target, input);
      EXPECT_TRUE(problems.empty()) << entry.path() << " (" << target.name << "): " << ::testing::PrintToString(problems);
    }
  }
  EXPECT_TRUE(mayBeEmpty || inputs > 0);
}

TEST(CorpusTest, Seeds) { checkFolder("seed", false); }

TEST(CorpusTest, InputsThatOnceFailed) { checkFolder("regression", true); }

// The checks hold; for a grammar meant to be sound, the reading agrees.
void expectSound(const std::string& input, bool grammarIsSound = false) {
  std::vector<std::string> problems = checkEverything(input);
  EXPECT_TRUE(problems.empty()) << ::testing::PrintToString(problems);
  if (grammarIsSound) {
    std::string editor = input.substr(input.find('\n') + 1);
    EXPECT_TRUE(readGrammar(editorText(editor)).isSound()) << editor;
  }
}

TEST(HostileInputTest, VeryLongLines) {
  std::string line = "I->S\nS->";
  for (int i = 0; i < 1000; ++i) line += "ab|";
  line += "c\n";
  expectSound("abab\n" + line, true);
  expectSound("\nS->" + std::string(4000, 'x'), true);
}

TEST(HostileInputTest, EveryByteValue) {
  std::string bytes;
  for (int c = 0; c < 256; ++c) bytes += static_cast<char>(c);
  expectSound("w\nS->a|" + bytes);
  expectSound(bytes + "\nI->S\nS->aS|b");
  for (int c = 0; c < 256; ++c) expectSound("a\nS->a" + std::string(1, static_cast<char>(c)) + "|b");
}

TEST(HostileInputTest, DeepChainsOfNullableRules) {
  std::string grammar = "I->A\n";
  for (char x = 'A'; x < 'Z'; ++x) grammar += std::string(1, x) + "->" + static_cast<char>(x + 1) + static_cast<char>(x + 1) + "|e\n";
  grammar += "Z->z|e\n";
  expectSound("zzzz\n" + grammar, true);
}

TEST(HostileInputTest, MutuallyRecursiveNonTerminals) {
  std::string grammar;
  for (char x = 'A'; x <= 'Z'; ++x) {
    char next = x == 'Z' ? 'A' : static_cast<char>(x + 1);
    grammar += std::string(1, x) + "->" + next + static_cast<char>('a' + (x - 'A') % 4) + "|" + next + "|f\n";
  }
  expectSound("fb\n" + grammar, true);
}

TEST(HostileInputTest, WordsOfThousandsOfCharacters) {
  expectSound(std::string(3000, 'a') + "\nI->S\nS->aS|e", true);
  expectSound(std::string(2000, '(') + "x" + std::string(2000, ')') + "\nI->S\nS->(S)|x", true);
}

}  // namespace
