#include "writers/format.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "writers/read_back_test_support.h"

namespace {

// Cells that break naive writers: separators of every format, quotes, the
// characters TeX reserves, ligature pairs, a row argument trap, line ends, UTF-8.
const Cells kAwkward = {
    {"", "|", ",", "\"", "&", "$"},
    {"0", "s1|r2", "a\"b,c", "x\ny", "~^\\{}#_%", "--,,"},
    {"[1]", "*", "<a>", "`'", "é°", ""},
    {"*2", "  two  ", "\r", "a|b|c", "\\|", "``x"},
};

TEST(FormatNames, EveryNameAndNoOther) {
  for (const std::string& name : formatNames()) {
    ASSERT_TRUE(formatNamed(name).has_value()) << name;
    EXPECT_EQ(formatNames()[static_cast<std::size_t>(*formatNamed(name))], name);
  }
  EXPECT_FALSE(formatNamed("Text").has_value());
  EXPECT_FALSE(formatNamed("").has_value());
}

TEST(TextFormat, ColumnsAlignByCharactersNotBytes) {
  Cells rows = {{"", "Stack", "Input"}, {"1", "°°°°°°", "x$"}, {"10", "0", "$"}};
  EXPECT_EQ(renderTable(rows, Format::kText),
            "    Stack   Input\n"
            "1   °°°°°°  x$\n"
            "10  0       $\n");
  EXPECT_EQ(displayWidth("é°x"), 3u);
  EXPECT_EQ(displayWidth(""), 0u);
}

TEST(TextFormat, EmptyTrailingCellsLeaveNoBlanks) {
  Cells rows = {{"", "a", "$"}, {"0", "s1", ""}, {"1", "", ""}};
  EXPECT_EQ(renderTable(rows, Format::kText), "   a   $\n0  s1\n1\n");
}

TEST(CsvFormat, QuotesOnlyWhatNeedsQuoting) {
  Cells rows = {{"", "a,b", "say \"hi\"", "line\nbreak", "cr\r", "plain |", " blank "}};
  EXPECT_EQ(renderTable(rows, Format::kCsv),
            ",\"a,b\",\"say \"\"hi\"\"\",\"line\nbreak\",\"cr\r\",plain |, blank \r\n");
}

TEST(CsvFormat, AnEmptyListingLineStaysARecord) {
  Lines lines = {"State0:", "", "a,b"};
  std::string out = renderListing(lines, Format::kCsv);
  EXPECT_EQ(out, "State0:\r\n\"\"\r\n\"a,b\"\r\n");
  Cells records = read_back::csv(out);
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[1], std::vector<std::string>{""});
}

// A spreadsheet runs =, +, -, @ (and a leading tab or CR) as a formula:
// such a cell gets an apostrophe inside its quotes, and reads back as it was.
TEST(CsvFormat, FormulaLikeCellsAreNeutralisedAndReadBack) {
  Cells rows = {{"", "=a$", "+1", "-cmd|' /C calc'!A0", "@SUM(A1)", "\t=x", "'=a", "''+b"},
                {"-", "+", "-------------------------", "a=b", "-", "'", "'-", "S->a"}};
  EXPECT_EQ(renderTable(rows, Format::kCsv),
            ",\"'=a$\",\"'+1\",\"'-cmd|' /C calc'!A0\",\"'@SUM(A1)\",\"'\t=x\",\"''=a\",\"'''+b\"\r\n"
            "\"'-\",\"'+\",\"'-------------------------\",a=b,\"'-\",',\"''-\",S->a\r\n");
  EXPECT_EQ(read_back::csv(renderTable(rows, Format::kCsv)), rows);
  // A quoted field a person wrote keeps an apostrophe that guards nothing.
  EXPECT_EQ(read_back::csv("\"'a\",\"'=b\",'=c\r\n"), (Cells{{"'a", "=b", "'=c"}}));
}

TEST(CsvFormat, EveryCellReadsBack) { EXPECT_EQ(read_back::csv(renderTable(kAwkward, Format::kCsv)), kAwkward); }

TEST(MarkdownFormat, HeaderRowThenDelimiterRow) {
  std::vector<std::string> lines = read_back::linesOf(renderTable({{"", "a"}, {"0", "s1|r2"}}, Format::kMarkdown));
  EXPECT_EQ(lines, (std::vector<std::string>{"|  | a |", "| --- | --- |", "| 0 | s1\\|r2 |"}));
}

TEST(MarkdownFormat, InlineMarkupIsEscaped) {
  std::string out = renderTable({{"*a*", "_b_", "`c`", "[d](e)", "<f>", "&amp;", "~~g~~"}}, Format::kMarkdown);
  EXPECT_EQ(read_back::linesOf(out)[0], "| \\*a\\* | \\_b\\_ | \\`c\\` | \\[d\\](e) | \\<f> | \\&amp; | \\~\\~g\\~\\~ |");
}

TEST(MarkdownFormat, EveryCellReadsBack) {
  Cells rows = kAwkward;
  rows[3][2] = "\r\n";
  Cells expected = rows;
  expected[3][2] = "\n";
  EXPECT_EQ(read_back::markdown(renderTable(rows, Format::kMarkdown)), expected);
}

TEST(MarkdownFormat, ListingFenceOutgrowsBackticksInside) {
  std::string out = renderListing({"S->```", "x"}, Format::kMarkdown);
  EXPECT_EQ(out, "````text\nS->```\nx\n````\n");
  EXPECT_EQ(read_back::enclosed(out), (std::vector<std::string>{"S->```", "x"}));
  EXPECT_EQ(renderListing({"a"}, Format::kMarkdown), "```text\na\n```\n");
}

TEST(LatexFormat, TabularWithRuleAfterHeader) {
  EXPECT_EQ(renderTable({{"", "a"}, {"0", "s1"}}, Format::kLatex),
            "\\begin{tabular}{|l|l|}\n\\hline\n & a \\\\\n\\hline\n0 & s1 \\\\\n\\hline\n\\end{tabular}\n");
}

TEST(LatexFormat, ReservedAndMisdrawnCharacters) {
  std::string out = renderTable({{"&%$#_{}", "~^\\", "I->E|x", "\"'`", "--,,"}}, Format::kLatex);
  EXPECT_EQ(read_back::linesOf(out)[2],
            "\\&\\%\\$\\#\\_\\{\\} & \\textasciitilde{}\\textasciicircum{}\\textbackslash{} & "
            "I-\\textgreater{}E\\textbar{}x & \\textquotedbl{}\\textquotesingle{}\\textasciigrave{} & -{}-,{}, \\\\");
}

TEST(LatexFormat, RowStartCannotBecomeAnArgumentOfTheLineBreak) {
  std::vector<std::string> lines = read_back::linesOf(renderTable({{"a"}, {"[1]"}, {"*"}}, Format::kLatex));
  EXPECT_EQ(lines[4], "{}[1] \\\\");
  EXPECT_EQ(lines[5], "{}* \\\\");
}

TEST(LatexFormat, EveryCellReadsBack) {
  Cells rows = kAwkward;
  std::string out = renderTable(rows, Format::kLatex);
  // Line ends are blanks to TeX; they must not split a row of the source.
  rows[1][3] = "x y";
  rows[3][2] = " ";
  EXPECT_EQ(read_back::latex(out), rows);
}

TEST(JsonFormat, TablesAreRowsOfStrings) {
  EXPECT_EQ(nlohmann::json::parse(renderTable(kAwkward, Format::kJson)).get<Cells>(), kAwkward);
  EXPECT_EQ(renderTable({{"", "a"}, {"0", ""}}, Format::kJson), "[\n  [\"\",\"a\"],\n  [\"0\",\"\"]\n]\n");
}

TEST(JsonFormat, BytesThatAreNoUtf8DoNotThrow) {
  std::string out;
  EXPECT_NO_THROW(out = renderListing({"a\xB0"}, Format::kJson));
  EXPECT_EQ(nlohmann::json::parse(out).get<Lines>(), Lines{"a\uFFFD"});
}

// The escapes are those of the JSON library's own writer, byte for byte.
TEST(JsonFormat, StringsAsTheLibraryWritesThem) {
  Lines texts = {"\"\\/", std::string("\x01\x1f\x7f\b\f\n\r\t", 8), "é°€", std::string("a\0b", 3)};
  std::string expected = "[\n";
  for (size_t k = 0; k < texts.size(); ++k)
    expected += "  " + nlohmann::json(texts[k]).dump() + (k + 1 < texts.size() ? ",\n" : "\n");
  EXPECT_EQ(renderListing(texts, Format::kJson), expected + "]\n");
}

// The library's texts are written as their UTF-8 forms would be: the dot
// marker byte becomes "°", the rest stays as it is.
TEST(AllFormats, LibraryTextsAsTheirUtf8) {
  Table table;
  for (const auto& row : std::vector<std::vector<const char*>>{{"", "Stack", "Input"}, {"1", "E->T\xB0G", "x|y$"}, {"2", "", ""}}) {
    Row cells;
    for (const char* cell : row) cells.insertTail(cell);
    table.insertTail(cells);
  }
  Row lines;
  for (const char* line : {"State0 - Clousure(I->\xB0S):", "", "   I->\xB0S"}) lines.insertTail(line);
  for (const std::string& name : formatNames()) {
    Format format = *formatNamed(name);
    EXPECT_EQ(renderTable(table, format), renderTable(cellsOf(table), format)) << name;
    EXPECT_EQ(renderListing(lines, format), renderListing(linesOf(lines), format)) << name;
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    writeTable(file, table, format);
    writeListing(file, lines, format);
    std::string written(static_cast<size_t>(std::ftell(file)), '\0');
    std::rewind(file);
    EXPECT_EQ(std::fread(written.data(), 1, written.size(), file), written.size());
    std::fclose(file);
    EXPECT_EQ(written, renderTable(cellsOf(table), format) + renderListing(linesOf(lines), format)) << name;
  }
}

// Output of many megabytes goes out a block at a time; no line is cut or
// trimmed where a block ends.
TEST(AllFormats, LongOutputWrittenWhole) {
  Table table;
  for (int i = 0; i < 30000; ++i) {
    Row row;
    row.insertTail(HString(i));
    row.insertTail(HString(std::string(static_cast<size_t>(i % 97), 'x').c_str()));
    row.insertTail(i % 5 == 0 ? HString("a,\"b\xB0") : HString());
    table.insertTail(row);
  }
  for (const std::string& name : formatNames()) {
    Format format = *formatNamed(name);
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    writeTable(file, table, format);
    std::string written(static_cast<size_t>(std::ftell(file)), '\0');
    std::rewind(file);
    EXPECT_EQ(std::fread(written.data(), 1, written.size(), file), written.size());
    std::fclose(file);
    EXPECT_GT(written.size(), size_t{1} << 20) << name;
    EXPECT_TRUE(written == renderTable(cellsOf(table), format)) << name;
  }
}

TEST(AllFormats, RaggedRowsKeepTheirColumns) {
  Cells rows = {{"", "a", "b"}, {"0"}};
  EXPECT_EQ(read_back::markdown(renderTable(rows, Format::kMarkdown))[1], (std::vector<std::string>{"0", "", ""}));
  EXPECT_EQ(read_back::latex(renderTable(rows, Format::kLatex))[1], (std::vector<std::string>{"0", "", ""}));
}

TEST(ControlCharacters, EscapedAndEverythingElseKept) {
  EXPECT_EQ(controlsEscaped(std::string("a\x1b[2Jb\x07\0c\x7f\n\td", 13)), "a\\x1b[2Jb\\x07\\x00c\\x7f\\x0a\\x09d");
  EXPECT_EQ(controlsEscaped("Error at line 1: Terminal 'B' not exist. é° \\"), "Error at line 1: Terminal 'B' not exist. é° \\");
}

}  // namespace
