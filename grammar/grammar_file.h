// Grammar files: the editor's text as it stands, and the word to parse on a
// line of its own, "#word: i+i*i".  No rule line starts with '#', so the
// word line never reads as a rule, and a file without one is a plain
// grammar text as the command-line tool has always read it.
//
// A grammar in the token notation declares it on its first line,
// "#notation: tokens"; the word line may stand before or after that line.
// The declaration stays in the editor text, where the reading finds it, and
// is written first; the word line is written last, in either notation, so
// that the lines of a file written here are the lines of its editor text
// and the messages' line numbers name them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "grammar/grammar.h"

struct GrammarFile {
  std::string text;                 // the editor text, lines joined by LF
  std::optional<std::string> word;  // from the last word line, if any
  Notation notation = Notation::kClassic;  // kTokens when the text declares it
};

// Reads a file's bytes: a UTF-8 byte order mark is dropped, CR LF and lone
// CR line ends become LF, the word lines are taken out of the text.
GrammarFile parseGrammarFile(std::string_view bytes);
// The bytes of a file for an editor text and a word: the text and a line
// end, then the word line; parseGrammarFile gives both back unchanged.  A word with a line end in it cannot be
// typed into the word field; its line ends are written as blanks.  A text
// in the token notation that does not declare it gets the declaration
// before it, so that the file reads back in its notation.
std::string grammarFileBytes(std::string_view text, std::string_view word, Notation notation = Notation::kClassic);
