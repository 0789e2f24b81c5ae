// Rendering what a command produces, a listing of lines or a table of
// cells, in the forms people read on a terminal, paste into a document or
// feed to a script.  Every text arrives as UTF-8; every cell text comes out
// unchanged once the format's own escaping is undone.
#pragma once

#include <cstddef>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "grammar/parsing.h"

enum class Format { kText, kCsv, kMarkdown, kLatex, kJson };

using Lines = std::vector<std::string>;
// Row 0 is the header row, cell 0 of every row its label.
using Cells = std::vector<std::vector<std::string>>;

// The library's texts as UTF-8: what the user typed is UTF-8 already, the
// dot marker of the items is a Windows-1252 byte.
Lines linesOf(const Row& row);
Cells cellsOf(const Table& table);

// The format called `name` on the command line ("text", "csv", ...).
std::optional<Format> formatNamed(std::string_view name);
// The names in the order the help lists them.
const std::vector<std::string>& formatNames();

std::string renderListing(const Lines& lines, Format format);
std::string renderTable(const Cells& rows, Format format);
// The same from the library's texts, without a copy of them.
std::string renderListing(const Row& lines, Format format);
std::string renderTable(const Table& rows, Format format);
// The same written to a file as it is made, a megabyte at a time.
void writeListing(std::FILE* file, const Row& lines, Format format);
void writeTable(std::FILE* file, const Table& rows, Format format);

// Whether a CSV cell of this text is written as "'text": a text a
// spreadsheet would run as a formula, or one that begins with apostrophes
// before such a text.  A CSV reader takes the apostrophe off a quoted field
// for which this holds once it is gone.
bool csvNeedsApostrophe(std::string_view text);

// A text for the prose of a document, with the characters escaped that
// LaTeX or Markdown would read otherwise (as the cells of a table are).
std::string latexEscaped(const std::string& text);
std::string markdownEscaped(const std::string& text);

// The text with its control characters (C0, line ends among them, and DEL)
// written as \xHH, so that a terminal shows what came in instead of
// obeying it; every other byte stays.
std::string controlsEscaped(std::string_view text);

// The columns a UTF-8 text takes on a terminal: one per character.
std::size_t displayWidth(std::string_view text);
