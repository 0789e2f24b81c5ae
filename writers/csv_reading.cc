#include "writers/csv_reading.h"

#include "core/hstring.h"

namespace {

// The separator of a CSV text: a comma, or a semicolon when the first
// record has semicolons and no comma outside quotes.
char separatorOf(std::string_view text) {
  bool quoted = false, comma = false, semicolon = false;
  for (char c : text) {
    if (c == '"') quoted = !quoted;
    if (quoted) continue;
    if (c == '\n') break;
    comma = comma || c == ',';
    semicolon = semicolon || c == ';';
  }
  return semicolon && !comma ? ';' : ',';
}

}  // namespace

std::optional<Cells> readCsv(std::string_view text, std::string& error) {
  text = withoutByteOrderMark(text);
  char separator = separatorOf(text);
  Cells records;
  std::vector<std::string> record;
  std::string field;
  bool quoted = false, fieldStarted = false;
  int line = 1, quoteLine = 0;
  bool wasQuoted = false;  // the field being read began with a quote
  // The writers put an apostrophe before a cell a spreadsheet would run
  // as a formula, inside its quotes.
  auto endField = [&] {
    if (wasQuoted && field.starts_with('\'') && csvNeedsApostrophe(std::string_view(field).substr(1)))
      field.erase(0, 1);
    record.push_back(field);
    field.clear();
    wasQuoted = false;
  };
  auto endRecord = [&] {
    if (fieldStarted || !field.empty() || !record.empty()) {
      endField();
      records.push_back(record);
    }
    record.clear();
    field.clear();
    wasQuoted = false;
    fieldStarted = false;
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        field += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        if (c == '\n') ++line;
        field += c;
      }
    } else if (c == '"') {
      if (field.empty()) wasQuoted = true;
      quoted = fieldStarted = true;
      quoteLine = line;
    } else if (c == separator) {
      endField();
      fieldStarted = true;
    } else if (c == '\n' || c == '\r') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      ++line;
      endRecord();
    } else {
      field += c;
      fieldStarted = true;
    }
  }
  if (quoted) {
    error = "the quoted field that starts on line " + std::to_string(quoteLine) + " is not closed";
    return std::nullopt;
  }
  endRecord();
  return records;
}
