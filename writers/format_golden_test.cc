// Each output format, once, byte for byte against writers/golden/<format>.txt:
// a listing and a table like the commands', with the characters each
// format must escape.  The commands' outputs in every format are held by
// the digests of cli/golden_test.cc; here a format's change shows as a diff.
// After a meant change:
//   TABLOMAT_UPDATE_GOLDEN=1 ctest --test-dir build -R FormatGolden
// and review `git diff writers/golden` before committing.
#include <gtest/gtest.h>

#include <string>

#include "writers/format.h"
#include "writers/golden_test_support.h"

namespace {

// Item lines with the dot, a set, an empty line, and text that Markdown,
// TeX or a spreadsheet would read as their own.
const Lines kListing = {
    "State0 - Clousure(I->°S, $):", "   S->°(S), $)", "", "First(S): (x", "`code` *em* 50% a_b {c} \\ ~ #1",
    "=SUM(A1)", "-> <tag> & \"quoted\", comma",
};

// A table with a conflict cell, a blank corner, trailing empty cells, a
// cell wider in bytes than in characters, and cells to escape.
const Cells kTable = {
    {"", "(", ")", "|", "$", "S"},
    {"0", "s2", "", "", "", "1"},
    {"1", "", "", "", "a|r2", ""},
    {"2", "A->°x", "r3|s4", "+1", "@x", ""},
    {"3", "a_b", "50%", "\"q\",c", "`x` *y*", "\\~^{}#&"},
};

class FormatGolden : public testing::TestWithParam<std::string> {};

TEST_P(FormatGolden, ListingAndTable) {
  Format format = *formatNamed(GetParam());
  std::string actual = "## listing\n" + renderListing(kListing, format) + "## table\n" + renderTable(kTable, format);
  EXPECT_TRUE(golden::matchesFile(std::filesystem::path(TABLOMAT_WRITERS_GOLDEN) / (GetParam() + ".txt"), actual,
                                  "TABLOMAT_UPDATE_GOLDEN=1 ctest --test-dir build -R FormatGolden"));
}

INSTANTIATE_TEST_SUITE_P(Writers, FormatGolden, testing::ValuesIn(formatNames()),
                         [](const testing::TestParamInfo<std::string>& info) { return info.param; });

}  // namespace
