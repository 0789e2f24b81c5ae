// A grammar text read in whichever notation it is written in: the token
// notation when its first line declares it (or when asked for), else the
// classic one, into the typed grammar both share.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "grammar/grammar.h"
#include "grammar/parsing.h"

// The grammar, or the reading's messages one a line when it is not sound.
struct GrammarTextReading {
  Grammar grammar;
  std::string messages;
  bool isSound() const { return messages.empty(); }
};

// Reads the text of a grammar file (a word line is taken out).  `notation`
// is the one to read in when the text does not declare the token notation.
GrammarTextReading readGrammarText(std::string_view text, Notation notation = Notation::kClassic);
// The same for an editor text, whose word lines are out already (lines
// joined by LF or CR LF): a text that was a file once is not read as one
// twice, so a byte order mark of its own stays in it.
GrammarTextReading readEditorGrammar(std::string_view editor, Notation notation = Notation::kClassic);

// The typed grammar of a sound classic reading's rule lines.
Grammar classicGrammarOf(const Row& ruleLines);
