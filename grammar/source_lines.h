// Where the messages of the grammar reading point in the editor.  The
// messages count rule lines: empty lines are dropped and lines with a left
// side seen before are merged into the first of them, so "Error at line 3"
// need not be the editor's third line.  This finds the editor line, and
// the bytes in it, of the symbol a message is about.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "grammar/parsing.h"

// A byte of a rule line and the editor byte it came from.
struct SourceByte {
  int line;    // editor line, from 0
  int column;  // byte in that line, from 0
};

// A rule line of the reading with the editor origin of each of its bytes;
// a '|' that joined a merged line takes the origin of the byte after it.
struct SourceLine {
  std::string text;
  std::vector<SourceByte> origin;  // one entry per byte of text
};

// The rule lines an editor text (LF or CR LF line ends) reads as, merged,
// with their origins.  Empty when the result would differ from what
// readGrammar makes of the same text: no place is better than a wrong one.
std::vector<SourceLine> sourceLines(std::string_view editorText);

struct SourcePlace {
  int line;    // editor line, from 0
  int column;  // first byte in that line
  int length;  // bytes
};

// The place of message `index` of `messages` (the messages of reading
// `editorText`, in their order): the symbol it names, the n-th such symbol
// of its rule line for the n-th of several equal messages, or the start of
// the rule line for a message that names none.  None for a message
// without a line ("Error: Grammar Empty.") or when the text does not read
// as the messages say.
std::optional<SourcePlace> placeOfMessage(std::string_view editorText, const Row& messages, int index);
// The same over the text's sourceLines, read once for all its messages.
std::optional<SourcePlace> placeOfMessage(const std::vector<SourceLine>& lines, const Row& messages, int index);
