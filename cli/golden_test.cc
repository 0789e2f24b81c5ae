// Every command's output, in every format, for every kept input, byte for
// byte against the reference outputs in cli/golden/expected.  An input
// is a word on its first line and an editor text after it.  Run with
// TABLOMAT_UPDATE_GOLDEN=1 to write the reference outputs anew.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "cli/commands.h"
#include "writers/format.h"
#include "grammar/reading.h"

namespace {

namespace fs = std::filesystem;

std::string contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::string outputsOf(const std::string& input, Format format) {
  size_t end = input.find('\n');
  std::string word = input.substr(0, end);
  HString text = editorText(input.substr(end + 1));
  std::string out;
  for (const CommandInfo& command : commandInfos()) {
    Outcome outcome = runCommand(command.name, text, word);
    out += "### " + std::string(command.name) + " exit " + std::to_string(outcome.status) + "\n";
    out += renderOutcome(outcome, format);
    for (const std::string& line : outcome.diagnostics) out += "! " + line + "\n";
  }
  return out;
}

TEST(GoldenTest, EveryCommandInEveryFormat) {
  fs::path root(TABLOMAT_GOLDEN);
  bool update = std::getenv("TABLOMAT_UPDATE_GOLDEN") != nullptr;
  int inputs = 0;
  for (const auto& entry : fs::directory_iterator(root / "inputs")) {
    ++inputs;
    std::string input = contents(entry.path());
    for (const std::string& name : formatNames()) {
      fs::path expected = root / "expected" / (entry.path().stem().string() + "." + name);
      std::string actual = outputsOf(input, *formatNamed(name));
      if (update) {
        fs::create_directories(expected.parent_path());
        std::ofstream(expected, std::ios::binary) << actual;
        continue;
      }
      EXPECT_TRUE(actual == contents(expected)) << expected;
    }
  }
  EXPECT_GT(inputs, 0);
}

}  // namespace
