#include "writers/format.h"

#include <algorithm>
#include <nlohmann/json.hpp>

Lines linesOf(const Row& row) {
  Lines lines;
  lines.reserve(static_cast<size_t>(row.getCount()));
  for (const HString& text : row) lines.push_back(utf8ForDisplay(text.view()));
  return lines;
}

Cells cellsOf(const Table& table) {
  Cells cells;
  cells.reserve(static_cast<size_t>(table.getCount()));
  for (const Row& row : table) cells.push_back(linesOf(row));
  return cells;
}

namespace {

std::size_t columnCount(const Cells& rows) {
  std::size_t count = 0;
  for (const auto& row : rows) count = std::max(count, row.size());
  return count;
}

// A ragged row would shift the columns of the formats that draw a grid.
std::vector<std::string> padded(const std::vector<std::string>& row, std::size_t columns) {
  std::vector<std::string> cells = row;
  cells.resize(columns);
  return cells;
}

// ---- text

std::string textTable(const Cells& rows) {
  std::vector<std::size_t> widths(columnCount(rows), 0);
  for (const auto& row : rows)
    for (std::size_t j = 0; j < row.size(); ++j) widths[j] = std::max(widths[j], displayWidth(row[j]));
  std::string out;
  for (const auto& row : rows) {
    std::string line;
    for (std::size_t j = 0; j < row.size(); ++j) {
      if (j > 0) line += "  ";
      line += row[j];
      if (j + 1 < row.size()) line.append(widths[j] - displayWidth(row[j]), ' ');
    }
    // Padding after the last non-empty cell only makes copied lines ragged.
    line.erase(line.find_last_not_of(' ') + 1);
    out += line + "\n";
  }
  return out;
}

// ---- csv (RFC 4180)

std::string csvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

std::string csvRecord(const std::vector<std::string>& fields) {
  // A record of one empty field would otherwise read back as no field at all.
  if (fields.size() == 1 && fields[0].empty()) return "\"\"\r\n";
  std::string out;
  for (std::size_t j = 0; j < fields.size(); ++j) {
    if (j > 0) out += ',';
    out += csvField(fields[j]);
  }
  return out + "\r\n";
}

// ---- markdown

// Inline punctuation a renderer would turn into emphasis, code, links,
// HTML, entities or strike-through, and the bar that ends a cell.
// A line end would end the table row, so it becomes the line break of HTML.
std::string markdownCell(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += "<br>";
      continue;
    }
    if (std::string_view("\\`*_[]<&~|").find(c) != std::string_view::npos) out += '\\';
    out += c;
  }
  return out;
}

std::string markdownRow(const std::vector<std::string>& cells) {
  std::string out = "|";
  for (const auto& cell : cells) {
    out += ' ';
    out += markdownCell(cell);
    out += " |";
  }
  return out + "\n";
}

std::string markdownTable(const Cells& rows) {
  if (rows.empty()) return "";
  std::size_t columns = columnCount(rows);
  std::string out = markdownRow(padded(rows[0], columns));
  out += "|";
  for (std::size_t j = 0; j < columns; ++j) out += " --- |";
  out += "\n";
  for (std::size_t i = 1; i < rows.size(); ++i) out += markdownRow(padded(rows[i], columns));
  return out;
}

std::string markdownListing(const Lines& lines) {
  // The fence must be longer than any run of backticks the lines hold.
  std::size_t longest = 0;
  for (const auto& line : lines) {
    std::size_t run = 0;
    for (char c : line) {
      run = c == '`' ? run + 1 : 0;
      longest = std::max(longest, run);
    }
  }
  std::string fence(std::max<std::size_t>(3, longest + 1), '`');
  std::string out = fence + "text\n";
  for (const auto& line : lines) out += line + "\n";
  return out + fence + "\n";
}

// ---- latex

// Besides the characters TeX reserves, the ones the default fonts draw as
// something else (< > | " ' ` as ¡ ¿ — ” ’ ‘) and the pairs that form
// ligatures (-- ,,), so that a cell prints as typed.  A line end, which
// would split the row of the source, is the blank TeX makes of it anyway.
std::string latexText(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    switch (c) {
      case '&': case '%': case '$': case '#': case '_': case '{': case '}':
        out += '\\';
        out += c;
        break;
      case '~': out += "\\textasciitilde{}"; break;
      case '^': out += "\\textasciicircum{}"; break;
      case '\\': out += "\\textbackslash{}"; break;
      case '<': out += "\\textless{}"; break;
      case '>': out += "\\textgreater{}"; break;
      case '|': out += "\\textbar{}"; break;
      case '"': out += "\\textquotedbl{}"; break;
      case '\'': out += "\\textquotesingle{}"; break;
      case '`': out += "\\textasciigrave{}"; break;
      case '\r': case '\n': out += ' '; break;
      case '-': case ',':
        out += c;
        if (i + 1 < text.size() && text[i + 1] == c) out += "{}";
        break;
      default: out += c;
    }
  }
  return out;
}

std::string latexTable(const Cells& rows) {
  if (rows.empty()) return "";
  std::size_t columns = columnCount(rows);
  std::string out = "\\begin{tabular}{|";
  for (std::size_t j = 0; j < columns; ++j) out += "l|";
  out += "}\n\\hline\n";
  for (std::size_t i = 0; i < rows.size(); ++i) {
    std::vector<std::string> cells = padded(rows[i], columns);
    std::string line;
    for (std::size_t j = 0; j < columns; ++j) {
      if (j > 0) line += " & ";
      line += latexText(cells[j]);
    }
    // The \\ of the previous row would take a leading [ or * as its own argument.
    if (!line.empty() && (line[0] == '[' || line[0] == '*')) line.insert(0, "{}");
    out += line + " \\\\\n";
    if (i == 0) out += "\\hline\n";
  }
  return out + "\\hline\n\\end{tabular}\n";
}

std::string latexListing(const Lines& lines) {
  // Verbatim keeps the indentation of the item and arc lines; no listing
  // line can hold \end{verbatim}, since 'e' never stands inside a right side.
  std::string out = "\\begin{verbatim}\n";
  for (const auto& line : lines) out += line + "\n";
  return out + "\\end{verbatim}\n";
}

// ---- json

std::string jsonText(const nlohmann::json& value) {
  return value.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

// One element a line: short enough to read, and still one value to parse.
template <class Items>
std::string jsonArray(const Items& items) {
  if (items.empty()) return "[]\n";
  std::string out = "[\n";
  for (std::size_t i = 0; i < items.size(); ++i) {
    out += "  " + jsonText(nlohmann::json(items[i]));
    out += i + 1 < items.size() ? ",\n" : "\n";
  }
  return out + "]\n";
}

}  // namespace

std::optional<Format> formatNamed(std::string_view name) {
  const auto& names = formatNames();
  for (std::size_t i = 0; i < names.size(); ++i)
    if (names[i] == name) return static_cast<Format>(i);
  return std::nullopt;
}

const std::vector<std::string>& formatNames() {
  // In the order of the enumeration.
  static const std::vector<std::string> kNames = {"text", "csv", "markdown", "latex", "json"};
  return kNames;
}

std::string renderListing(const Lines& lines, Format format) {
  switch (format) {
    case Format::kText: {
      std::string out;
      for (const auto& line : lines) out += line + "\n";
      return out;
    }
    case Format::kCsv: {
      std::string out;
      for (const auto& line : lines) out += csvRecord({line});
      return out;
    }
    case Format::kMarkdown: return markdownListing(lines);
    case Format::kLatex: return latexListing(lines);
    case Format::kJson: return jsonArray(lines);
  }
  return "";
}

std::string renderTable(const Cells& rows, Format format) {
  switch (format) {
    case Format::kText: return textTable(rows);
    case Format::kCsv: {
      std::string out;
      for (const auto& row : rows) out += csvRecord(row);
      return out;
    }
    case Format::kMarkdown: return markdownTable(rows);
    case Format::kLatex: return latexTable(rows);
    case Format::kJson: return jsonArray(rows);
  }
  return "";
}

std::string latexEscaped(const std::string& text) { return latexText(text); }

std::string markdownEscaped(const std::string& text) { return markdownCell(text); }

std::size_t displayWidth(std::string_view text) {
  // Continuation bytes 10xxxxxx belong to the character before them.
  return static_cast<std::size_t>(
      std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}
