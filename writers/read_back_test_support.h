// For the tests: reading the formats back into cells and lines, the way a
// spreadsheet, a Markdown renderer or TeX would see them, so that a test can
// say "the cells survived" without restating the escaping rules.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "writers/csv_reading.h"
#include "writers/format.h"

namespace read_back {

inline std::vector<std::string> linesOf(const std::string& text, std::string_view end = "\n") {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t at; (at = text.find(end, start)) != std::string::npos; start = at + end.size())
    lines.push_back(text.substr(start, at - start));
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

// As a spreadsheet reads it; the reader grading takes answers with, so a
// key the tool wrote always grades as written.
inline Cells csv(const std::string& text) {
  std::string error;
  std::optional<Cells> records = readCsv(text, error);
  return records ? *records : Cells{{"unreadable: " + error}};
}

// A pipe table: cells between unescaped bars, one blank of padding on each
// side, backslash escapes undone, <br> a line end; the delimiter row is skipped.
inline Cells markdown(const std::string& text) {
  Cells rows;
  int n = 0;
  for (const std::string& line : linesOf(text)) {
    if (n++ == 1) continue;
    std::vector<std::string> cells;
    std::string cell;
    for (std::size_t i = 1; i < line.size(); ++i) {
      if (line.compare(i, 4, "<br>") == 0) {
        cell += '\n';
        i += 3;
      } else if (line[i] == '\\' && i + 1 < line.size()) {
        cell += line[++i];
      } else if (line[i] == '|') {
        cells.push_back(cell.substr(1, cell.size() - 2));
        cell.clear();
      } else {
        cell += line[i];
      }
    }
    rows.push_back(cells);
  }
  return rows;
}

inline std::string latexCell(std::string text) {
  static const std::pair<const char*, const char*> kSymbols[] = {
      {"\\textasciitilde{}", "~"}, {"\\textasciicircum{}", "^"}, {"\\textbackslash{}", "\\"},
      {"\\textless{}", "<"},       {"\\textgreater{}", ">"},     {"\\textbar{}", "|"},
      {"\\textquotedbl{}", "\""},  {"\\textquotesingle{}", "'"}, {"\\textasciigrave{}", "`"}};
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    bool matched = false;
    for (const auto& [command, symbol] : kSymbols) {
      if (text.compare(i, std::string_view(command).size(), command) == 0) {
        out += symbol;
        i += std::string_view(command).size();
        matched = true;
        break;
      }
    }
    if (matched) continue;
    if (text.compare(i, 2, "{}") == 0) {
      i += 2;
    } else if (text[i] == '\\' && i + 1 < text.size()) {
      out += text[i + 1];
      i += 2;
    } else {
      out += text[i++];
    }
  }
  return out;
}

// The rows of a tabular environment: " & " between cells, " \\" at the end.
inline Cells latex(const std::string& text) {
  Cells rows;
  for (const std::string& line : linesOf(text)) {
    if (line.size() < 3 || line.compare(line.size() - 3, 3, " \\\\") != 0) continue;
    std::string body = line.substr(0, line.size() - 3);
    std::vector<std::string> cells;
    for (const std::string& cell : linesOf(body + " & ", " & ")) cells.push_back(latexCell(cell));
    rows.push_back(cells);
  }
  return rows;
}

// The lines between the first and the last line (a fence or an environment).
inline std::vector<std::string> enclosed(const std::string& text) {
  std::vector<std::string> lines = linesOf(text);
  if (lines.size() < 2) return {};
  return std::vector<std::string>(lines.begin() + 1, lines.end() - 1);
}

}  // namespace read_back
