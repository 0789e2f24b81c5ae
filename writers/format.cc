#include "writers/format.h"

#include <algorithm>
#include <cstring>
#include <nlohmann/json.hpp>

#include "core/work.h"

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

// ---- the texts: UTF-8 as they come, or the library's texts made UTF-8

bool isAscii(std::string_view text) {
  const char* at = text.data();
  const char* end = at + text.size();
  for (; end - at >= 8; at += 8) {
    std::uint64_t word;
    std::memcpy(&word, at, sizeof word);
    if ((word & 0x8080808080808080ull) != 0) return false;
  }
  for (; at < end; ++at)
    if (static_cast<unsigned char>(*at) >= 0x80) return false;
  return true;
}

bool isUtf8(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    int length = utf8SequenceLength(text, i);
    if (length == 0) return false;
    i += static_cast<size_t>(length);
  }
  return true;
}

// A library text as UTF-8, converted in `scratch` when it holds other bytes
// than ASCII.
std::string_view utf8(const std::string& text, std::string&) { return text; }
std::string_view utf8(std::string_view text, std::string&) { return text; }
std::string_view utf8(const HString& text, std::string& scratch) {
  if (text.getLength() == 0 || isAscii(text.view())) return text.view();
  scratch = utf8ForDisplay(text.view());
  return scratch;
}

size_t countOf(const std::vector<std::string>& row) { return row.size(); }
size_t countOf(const std::vector<std::string_view>& row) { return row.size(); }
size_t countOf(const Row& row) { return static_cast<size_t>(row.getCount()); }
size_t countOf(const Cells& rows) { return rows.size(); }
size_t countOf(const Table& rows) { return static_cast<size_t>(rows.getCount()); }

// ---- where the output goes: a string, or a file in blocks of a megabyte

class Output {
 public:
  explicit Output(std::string& into) : buffer_(into), file_(nullptr) {}
  explicit Output(std::FILE* file) : buffer_(own_), file_(file) { own_.reserve(kBlock + kBlock / 4); }
  ~Output() { flush(); }
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;

  void put(std::string_view text) { buffer_.append(text); }
  // Room for `n` more bytes, to be written through the pointer and ended
  // with fill(); room(at, n) makes room for `n` more from `at` on.
  char* room(size_t n) {
    size_t used = buffer_.size();
    buffer_.resize(used + n);
    return buffer_.data() + used;
  }
  char* room(char* at, size_t n) {
    size_t used = static_cast<size_t>(at - buffer_.data());
    buffer_.resize(used + n);
    return buffer_.data() + used;
  }
  void fill(const char* at) { buffer_.resize(static_cast<size_t>(at - buffer_.data())); }
  void put(char c) { buffer_ += c; }
  void blanks(size_t n) { buffer_.append(n, ' '); }
  size_t size() const { return buffer_.size(); }
  // Ends a line; with `trim`, the blanks at the end of the line since
  // `lineStart` go first.
  void endLine(size_t lineStart, bool trim) {
    if (trim) {
      size_t end = buffer_.size();
      while (end > lineStart && buffer_[end - 1] == ' ') --end;
      buffer_.resize(end);
    }
    buffer_ += '\n';
    lineDone();
  }
  // Only whole lines are written, so a line can still be trimmed.  A line
  // that passes the limit of the output is not written.
  void lineDone() {
    noteOutput(static_cast<long>(written_ + buffer_.size()));
    if (file_ != nullptr && buffer_.size() >= kBlock) flush();
  }
  void flush() {
    if (file_ == nullptr || buffer_.empty()) return;
    std::fwrite(buffer_.data(), 1, buffer_.size(), file_);
    written_ += buffer_.size();
    buffer_.clear();
  }

 private:
  static constexpr size_t kBlock = size_t{1} << 20;
  size_t written_ = 0;
  std::string own_;
  std::string& buffer_;
  std::FILE* file_;
};

// ---- text

template <class Rows>
void textTable(const Rows& rows, Output& out) {
  std::string scratch;
  std::vector<std::size_t> widths;
  for (const auto& row : rows) {
    size_t j = 0;
    for (const auto& cell : row) {
      if (widths.size() <= j) widths.push_back(0);
      widths[j] = std::max(widths[j], displayWidth(utf8(cell, scratch)));
      ++j;
    }
  }
  // A line takes at most the widths, the gaps and the line end, in bytes
  // for ASCII; each line is written into that much room.
  size_t room = 1;
  for (size_t width : widths) room += width + 2;
  for (const auto& row : rows) {
    size_t start = out.size();
    size_t j = 0, last = countOf(row);
    char* at = out.room(room);
    for (const auto& cell : row) {
      std::string_view text = utf8(cell, scratch);
      size_t width = displayWidth(text);
      if (text.size() > width) at = out.room(at, room + text.size() - width);
      if (j > 0) at = std::fill_n(at, 2, ' ');
      at = std::copy(text.begin(), text.end(), at);
      if (j + 1 < last) at = std::fill_n(at, widths[j] - width, ' ');
      ++j;
    }
    out.fill(at);
    // Padding after the last non-empty cell only makes copied lines ragged.
    out.endLine(start, true);
  }
}

// Each text of a row as UTF-8 to `write`, with `separator` between them.
template <class Texts, class Write>
void joined(const Texts& texts, char separator, Output& out, Write write) {
  std::string scratch;
  bool first = true;
  for (const auto& text : texts) {
    if (!first) out.put(separator);
    first = false;
    write(utf8(text, scratch));
  }
}

// ---- csv (RFC 4180)

// A spreadsheet runs a cell that begins with = + - @ (or a tab or CR before
// them) as a formula; the usual defence is an apostrophe before it inside
// the quotes, which spreadsheets show as text and readers take off again.
bool formulaLike(std::string_view text) { return !text.empty() && std::string_view("=+-@\t\r").find(text[0]) != std::string_view::npos; }

}  // namespace

bool csvNeedsApostrophe(std::string_view text) {
  // A text that begins with apostrophes before a formula gets one more, so
  // that taking one off always gives the text back.
  return formulaLike(text.substr(std::min(text.find_first_not_of('\''), text.size())));
}

namespace {

void csvField(std::string_view text, Output& out) {
  bool apostrophe = csvNeedsApostrophe(text);
  if (!apostrophe && text.find_first_of(",\"\r\n") == std::string_view::npos) {
    out.put(text);
    return;
  }
  out.put('"');
  if (apostrophe) out.put('\'');
  for (char c : text) {
    if (c == '"') out.put('"');
    out.put(c);
  }
  out.put('"');
}

template <class Fields>
void csvRecord(const Fields& fields, Output& out) {
  std::string scratch;
  // A record of one empty field would otherwise read back as no field at all.
  if (countOf(fields) == 1 && utf8(*fields.begin(), scratch).empty()) {
    out.put("\"\"\r\n");
    out.lineDone();
    return;
  }
  joined(fields, ',', out, [&](std::string_view field) { csvField(field, out); });
  out.put("\r\n");
  out.lineDone();
}

// ---- markdown

// Inline punctuation a renderer would turn into emphasis, code, links,
// HTML, entities or strike-through, and the bar that ends a cell.
// A line end would end the table row, so it becomes the line break of HTML.
void markdownCell(std::string_view text, Output& out) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out.put("<br>");
      continue;
    }
    if (std::string_view("\\`*_[]<&~|").find(c) != std::string_view::npos) out.put('\\');
    out.put(c);
  }
}

// A row padded with empty cells to `columns`: a ragged row would shift
// the columns of the formats that draw a grid.
template <class Row, class Cell>
void eachCellPadded(const Row& row, std::size_t columns, Cell cell) {
  std::string scratch;
  std::size_t j = 0;
  for (const auto& text : row) cell(j++, utf8(text, scratch));
  for (; j < columns; ++j) cell(j, std::string_view());
}

template <class Row>
void markdownRow(const Row& row, std::size_t columns, Output& out) {
  out.put('|');
  eachCellPadded(row, columns, [&](std::size_t, std::string_view text) {
    out.put(' ');
    markdownCell(text, out);
    out.put(" |");
  });
  out.put('\n');
  out.lineDone();
}

template <class Rows>
std::size_t columnCount(const Rows& rows) {
  std::size_t count = 0;
  for (const auto& row : rows) count = std::max(count, countOf(row));
  return count;
}

template <class Rows>
void markdownTable(const Rows& rows, Output& out) {
  if (countOf(rows) == 0) return;
  std::size_t columns = columnCount(rows);
  bool header = true;
  for (const auto& row : rows) {
    markdownRow(row, columns, out);
    if (!header) continue;
    header = false;
    out.put('|');
    for (std::size_t j = 0; j < columns; ++j) out.put(" --- |");
    out.put('\n');
  }
}

template <class Lines>
void markdownListing(const Lines& lines, Output& out) {
  // The fence must be longer than any run of backticks the lines hold.
  std::size_t longest = 0;
  std::string scratch;
  for (const auto& line : lines) {
    std::size_t run = 0;
    for (char c : utf8(line, scratch)) {
      run = c == '`' ? run + 1 : 0;
      longest = std::max(longest, run);
    }
  }
  std::string fence(std::max<std::size_t>(3, longest + 1), '`');
  out.put(fence);
  out.put("text\n");
  for (const auto& line : lines) {
    out.put(utf8(line, scratch));
    out.put('\n');
    out.lineDone();
  }
  out.put(fence);
  out.put('\n');
}

// ---- latex

// Besides the characters TeX reserves, the ones the default fonts draw as
// something else (< > | " ' ` as ¡ ¿ — ” ’ ‘) and the pairs that form
// ligatures (-- ,,), so that a cell prints as typed.  A line end, which
// would split the row of the source, is the blank TeX makes of it anyway.
void latexText(std::string_view text, Output& out) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    switch (c) {
      case '&': case '%': case '$': case '#': case '_': case '{': case '}':
        out.put('\\');
        out.put(c);
        break;
      case '~': out.put("\\textasciitilde{}"); break;
      case '^': out.put("\\textasciicircum{}"); break;
      case '\\': out.put("\\textbackslash{}"); break;
      case '<': out.put("\\textless{}"); break;
      case '>': out.put("\\textgreater{}"); break;
      case '|': out.put("\\textbar{}"); break;
      case '"': out.put("\\textquotedbl{}"); break;
      case '\'': out.put("\\textquotesingle{}"); break;
      case '`': out.put("\\textasciigrave{}"); break;
      case '\r': case '\n': out.put(' '); break;
      case '-': case ',':
        out.put(c);
        if (i + 1 < text.size() && text[i + 1] == c) out.put("{}");
        break;
      default: out.put(c);
    }
  }
}

template <class Rows>
void latexTable(const Rows& rows, Output& out) {
  if (countOf(rows) == 0) return;
  std::size_t columns = columnCount(rows);
  out.put("\\begin{tabular}{|");
  for (std::size_t j = 0; j < columns; ++j) out.put("l|");
  out.put("}\n\\hline\n");
  bool header = true;
  for (const auto& row : rows) {
    eachCellPadded(row, columns, [&](std::size_t j, std::string_view text) {
      if (j > 0) out.put(" & ");
      // The \\ of the previous row would take a leading [ or * as its own argument.
      if (j == 0 && !text.empty() && (text[0] == '[' || text[0] == '*')) out.put("{}");
      latexText(text, out);
    });
    out.put(" \\\\\n");
    if (header) out.put("\\hline\n");
    header = false;
    out.lineDone();
  }
  out.put("\\hline\n\\end{tabular}\n");
}

template <class Lines>
void latexListing(const Lines& lines, Output& out) {
  // Verbatim keeps the indentation of the item and arc lines; no listing
  // line can hold \end{verbatim}, since 'e' never stands inside a right side.
  std::string scratch;
  out.put("\\begin{verbatim}\n");
  for (const auto& line : lines) {
    out.put(utf8(line, scratch));
    out.put('\n');
    out.lineDone();
  }
  out.put("\\end{verbatim}\n");
}

// ---- json

// A JSON string as nlohmann's dump writes it without ASCII escapes: the
// quote, the backslash and the controls below 0x20 escaped.  Text that is
// not UTF-8 goes to the library, which replaces what it cannot read.
void jsonString(std::string_view text, Output& out) {
  if (!isAscii(text) && !isUtf8(text)) {
    out.put(nlohmann::json(std::string(text)).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
    return;
  }
  out.put('"');
  size_t run = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c >= 0x20 && c != '"' && c != '\\') continue;
    out.put(text.substr(run, i - run));
    run = i + 1;
    switch (c) {
      case '"': out.put("\\\""); break;
      case '\\': out.put("\\\\"); break;
      case '\b': out.put("\\b"); break;
      case '\f': out.put("\\f"); break;
      case '\n': out.put("\\n"); break;
      case '\r': out.put("\\r"); break;
      case '\t': out.put("\\t"); break;
      default: {
        static const char kHex[] = "0123456789abcdef";
        char escape[] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 15]};
        out.put(std::string_view(escape, sizeof escape));
      }
    }
  }
  out.put(text.substr(run));
  out.put('"');
}

// One element a line: short enough to read, and still one value to parse.
template <class Items, class Element>
void jsonArray(const Items& items, Output& out, Element element) {
  if (countOf(items) == 0) {
    out.put("[]\n");
    return;
  }
  out.put("[\n");
  size_t left = countOf(items);
  for (const auto& item : items) {
    out.put("  ");
    element(item);
    out.put(--left > 0 ? ",\n" : "\n");
    out.lineDone();
  }
  out.put("]\n");
}

template <class Lines>
void listing(const Lines& lines, Format format, Output& out) {
  std::string scratch;
  switch (format) {
    case Format::kText:
      for (const auto& line : lines) {
        out.put(utf8(line, scratch));
        out.put('\n');
        out.lineDone();
      }
      return;
    case Format::kCsv:
      for (const auto& line : lines) csvRecord(std::vector<std::string_view>{utf8(line, scratch)}, out);
      return;
    case Format::kMarkdown: return markdownListing(lines, out);
    case Format::kLatex: return latexListing(lines, out);
    case Format::kJson: return jsonArray(lines, out, [&](const auto& line) { jsonString(utf8(line, scratch), out); });
  }
}

template <class Rows>
void table(const Rows& rows, Format format, Output& out) {
  switch (format) {
    case Format::kText: return textTable(rows, out);
    case Format::kCsv:
      for (const auto& row : rows) csvRecord(row, out);
      return;
    case Format::kMarkdown: return markdownTable(rows, out);
    case Format::kLatex: return latexTable(rows, out);
    case Format::kJson:
      return jsonArray(rows, out, [&](const auto& row) {
        out.put('[');
        joined(row, ',', out, [&](std::string_view cell) { jsonString(cell, out); });
        out.put(']');
      });
  }
}

// A table, or a listing, as one text.
template <bool isTable, class Texts>
std::string rendered(const Texts& texts, Format format) {
  std::string text;
  Output out(text);
  if constexpr (isTable)
    table(texts, format, out);
  else
    listing(texts, format, out);
  return text;
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

std::string renderListing(const Lines& lines, Format format) { return rendered<false>(lines, format); }

std::string renderTable(const Cells& rows, Format format) { return rendered<true>(rows, format); }

std::string renderListing(const Row& lines, Format format) { return rendered<false>(lines, format); }

std::string renderTable(const Table& rows, Format format) { return rendered<true>(rows, format); }

void writeListing(std::FILE* file, const Row& lines, Format format) {
  Output out(file);
  listing(lines, format, out);
}

void writeTable(std::FILE* file, const Table& rows, Format format) {
  Output out(file);
  table(rows, format, out);
}

std::string latexEscaped(const std::string& text) {
  std::string escaped;
  Output out(escaped);
  latexText(text, out);
  return escaped;
}

std::string markdownEscaped(const std::string& text) {
  std::string escaped;
  Output out(escaped);
  markdownCell(text, out);
  return escaped;
}

std::size_t displayWidth(std::string_view text) {
  // Continuation bytes 10xxxxxx belong to the character before them.
  if (isAscii(text)) return text.size();
  return static_cast<std::size_t>(
      std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string controlsEscaped(std::string_view text) {
  static const char* const kHex = "0123456789abcdef";
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    unsigned char code = static_cast<unsigned char>(c);
    if (code < 0x20 || code == 0x7F) {
      out += "\\x";
      out += kHex[code >> 4];
      out += kHex[code & 15];
    } else {
      out += c;
    }
  }
  return out;
}
