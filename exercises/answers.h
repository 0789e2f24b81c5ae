// Reading what a student typed or saved: lines of sets and items, and
// tables in CSV as tablomat-cli writes them (RFC 4180), read leniently
// where a spreadsheet or an editor may have changed the form: LF or CR LF
// line ends, a byte order mark, semicolons between the fields.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "grammar/grammar.h"
#include "grammar/parsing.h"
#include "writers/csv_reading.h"
#include "writers/format.h"

struct AnswerLine {
  int number;        // from 1
  std::string text;  // without blanks at its ends
};

// Every line of a text, blank ones included, without its line end ("\n");
// joinLines puts them together again.
std::vector<std::string> splitLines(std::string_view text);
std::string joinLines(const std::vector<std::string>& lines);
// The number N of a marked element's row "line N", or 0 for another row.
std::size_t lineNumberOf(const std::string& row);

// The non-blank lines; a line that is one field in quotes, as the CSV form
// of a listing writes it, is read as that field.
std::vector<AnswerLine> answerLines(std::string_view text);

std::string trimmed(std::string_view text);
// The UTF-8 characters of a text, each as a string; a byte that starts no
// valid sequence stands alone.
std::vector<std::string> utf8Characters(std::string_view text);
// The text without blanks (spaces and tabs).
std::string withoutBlanks(std::string_view text);
// The text with every ε written as e, the empty word of the grammars.
std::string withEpsilonAsE(std::string_view text);
// The text with every occurrence of `from` (not empty) written as `to`.
std::string replacedAll(std::string_view text, std::string_view from, std::string_view to);

// ---- the token notation

// The tokens of a stretch of an answer to a question on a token grammar,
// named as the grammar names them.  Blanks separate tokens; within a run
// of punctuation the longest symbol the grammar (or `marks`, such as "->")
// knows is taken first, so "(id" and "{(," read as the tokens a student
// meant; a quoted terminal ('+') reads as its name.  A character of
// `separators` (as , { } of a set) only separates, unless the grammar has
// it as a terminal.  "ε" stands for the empty string, and so do "e", "eps"
// and "epsilon" where the grammar has no symbol of that name.
std::vector<std::string> answerTokens(const Grammar& grammar, std::string_view text, std::string_view separators,
                                      const std::vector<std::string>& marks = {});

// Whether x heads the start rule E' -> E that the analyses added to a
// token grammar.  It is not the student's to write: its set, row or items
// are graded where an answer has them, and not missed where it has none.
// A rule the grammar has itself, and every rule of the classic notation,
// must be written.
bool mayBeLeftOut(const Parsing& model, Symbol x);
