// CSV read back as a spreadsheet reads it: what graders take answers in,
// and what the tests check the CSV writer against, so that a key the tool
// wrote always reads as written.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "writers/format.h"

// The records of a CSV text; none and a message in `error` when a quoted
// field is not closed.  Blank lines are passed over.  The separator is a
// comma, or a semicolon when the first record has semicolons and no comma
// outside quotes.
std::optional<Cells> readCsv(std::string_view text, std::string& error);
