// Grammar files: the editor's text as it stands, and the word to parse on a
// line of its own, "#word: i+i*i".  No rule line starts with '#', so the
// word line never reads as a rule, and a file without one is a plain
// grammar text as the command-line tool has always read it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

struct GrammarFile {
  std::string text;                 // the editor text, lines joined by LF
  std::optional<std::string> word;  // from the last word line, if any
};

// Reads a file's bytes: a UTF-8 byte order mark is dropped, CR LF and lone
// CR line ends become LF, the word lines are taken out of the text.
GrammarFile parseGrammarFile(std::string_view bytes);
// The bytes of a file for an editor text and a word: the text and a line
// end, then the word line; parseGrammarFile gives both back unchanged.  A word with a line end in it cannot be
// typed into the word field; its line ends are written as blanks.
std::string grammarFileBytes(std::string_view text, std::string_view word);
