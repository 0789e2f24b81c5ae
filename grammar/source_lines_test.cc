#include "grammar/source_lines.h"

#include <gtest/gtest.h>

#include "grammar/reading.h"

namespace {

// The editor line and the bytes of every message of reading `text`.
std::vector<std::string> places(std::string_view text) {
  Row messages = readGrammar(editorText(text)).messages;
  std::vector<std::string> out;
  for (int i = 0; i < messages.getCount(); ++i) {
    std::optional<SourcePlace> place = placeOfMessage(text, messages, i);
    out.push_back(place ? std::to_string(place->line) + ":" + std::to_string(place->column) + "+" +
                              std::to_string(place->length)
                        : "none");
  }
  return out;
}

using Places = std::vector<std::string>;

TEST(SourceLinesTest, BlankAndEmptyLinesAreNotCountedButFound) {
  // "Error at line 2" is the editor's fourth line (index 3).
  EXPECT_EQ(places("\n  \nA->xB\n  C->y|Z\n"), (Places{"2:4+1", "3:7+1"}));
  EXPECT_EQ(places("A->x\r\n\r\nB->"), (Places{"2:0+3"}));
}

TEST(SourceLinesTest, MergedAlternativesPointAtTheirOwnLine) {
  // Both faults are of rule line 1, the merged A->x|B|C.
  EXPECT_EQ(places("A->x\nD->y\nA->B\nA->C"), (Places{"2:3+1", "3:3+1"}));
  // A repeated message points at each occurrence in turn.
  EXPECT_EQ(places("A->BxB\nA->B"), (Places{"0:3+1", "0:5+1", "1:3+1"}));
}

TEST(SourceLinesTest, EveryKindOfMessageFindsItsSymbol) {
  EXPECT_EQ(places("a->b"), (Places{"0:0+1"}));
  EXPECT_EQ(places("A==b"), (Places{"0:1+1", "0:2+1"}));
  EXPECT_EQ(places("A->|b"), (Places{"0:3+1"}));
  EXPECT_EQ(places("A->e|ex|x|e"), (Places{"0:5+1"}));
  EXPECT_EQ(places("A->x||y|||z|"), (Places{"0:4+2", "0:7+2", "0:8+2", "0:11+1"}));
  EXPECT_EQ(places("A->x$"), (Places{"0:4+1"}));
  EXPECT_EQ(places("A->x\xe2\x82\xac\x01"), (Places{"0:4+3", "0:7+1"}));
  EXPECT_EQ(places(""), (Places{"none"}));
}

TEST(SourceLinesTest, LinesAreTheLibrarysReading) {
  std::vector<SourceLine> lines = sourceLines("E -> T\nT->x\rT->y\n\nE->T x");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].text, "E->T|Tx");
  EXPECT_EQ(lines[0].origin[5].line, 3);
  EXPECT_EQ(lines[0].origin[5].column, 3);
  EXPECT_EQ(lines[1].text, "T->x|y");
  EXPECT_EQ(lines[1].origin.back().line, 1);
}

}  // namespace
