// Reading the grammar text: the editor's text becomes rule lines (one rule
// per line, blanks removed), lines with the same left side are merged into
// the first of them, and every line is validated.  The messages say, in the
// order of the checks, what is wrong; no message means the grammar is sound.
#pragma once

#include <string_view>

#include "grammar/parsing.h"

// A text with LF or CR LF line ends as the editor gives it: lines joined by CR LF.
HString editorText(std::string_view text);
// The rule lines of an editor text, in order, without blanks and empty lines.
Row splitRuleLines(HString text);
// Appends the right side of a well-formed line "X->..." to the first
// well-formed line with the same left side, and drops it.
void mergeRules(Row& lines);
// The messages for every fault of the rule lines, in the order found.
Row validateGrammar(const Row& lines);

struct GrammarReading {
  Row lines;     // the merged rule lines
  Row messages;  // empty for a sound grammar
  bool isSound() const { return messages.getCount() == 0; }
};

// splitRuleLines, mergeRules and validateGrammar in this order.
GrammarReading readGrammar(const HString& editorText);
