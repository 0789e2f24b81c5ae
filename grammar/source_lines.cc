// Tracing rule lines and messages back to the editor.  The reading splits
// the text at every line end, removes blanks, drops empty lines and merges
// a rule-shaped line ("X->...") into the first rule-shaped line of the same
// left side.  sourceLines repeats these steps on bytes that remember where
// they stood, then compares its lines with the library's reading, so that
// a change in the reading can only make it give no place, never a wrong one.
#include "grammar/source_lines.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "grammar/reading.h"

namespace {

bool isRuleShaped(const SourceLine& line) {
  return line.text.size() >= 4 && line.text[1] == '-' && line.text[2] == '>';
}

// The pieces between line ends, without blanks, empty ones dropped.
std::vector<SourceLine> splitWithOrigins(std::string_view text) {
  std::vector<SourceLine> lines;
  SourceLine piece;
  int line = 0, column = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    char c = i < text.size() ? text[i] : '\n';
    if (c == '\n' || c == '\r') {
      if (!piece.text.empty()) lines.push_back(std::move(piece));
      piece = {};
      if (c == '\n') {
        ++line;
        column = 0;
        continue;
      }
    } else if (c != ' ') {
      piece.text += c;
      piece.origin.push_back({line, column});
    }
    ++column;
  }
  return lines;
}

// One pass: a rule-shaped line whose left side was seen goes onto the end
// of the first line of that left side.
std::vector<SourceLine> mergeWithOrigins(std::vector<SourceLine> lines) {
  std::vector<SourceLine> merged;
  merged.reserve(lines.size());
  int firstOf[256];
  std::fill(std::begin(firstOf), std::end(firstOf), -1);
  for (SourceLine& line : lines) {
    int& first = firstOf[static_cast<unsigned char>(line.text[0])];
    if (!isRuleShaped(line) || first < 0) {
      if (isRuleShaped(line)) first = static_cast<int>(merged.size());
      merged.push_back(std::move(line));
      continue;
    }
    SourceLine& target = merged[static_cast<size_t>(first)];
    target.text += '|';
    target.origin.push_back(line.origin[3]);
    target.text.append(line.text, 3);
    target.origin.insert(target.origin.end(), line.origin.begin() + 3, line.origin.end());
  }
  return merged;
}

// The positions the validation visits one by one, with the width of an
// unsupported character there (0 for a supported one).
std::vector<std::pair<size_t, int>> characterSteps(const std::string& line) {
  std::vector<std::pair<size_t, int>> steps;
  for (size_t j = 0; j < line.size();) {
    unsigned char code = static_cast<unsigned char>(line[j]);
    int width = 0;
    if (code < 32 || code >= 127) {
      width = code >= 128 ? utf8SequenceLength(line, j) : 0;
      if (width <= 0) width = 1;
    }
    steps.emplace_back(j, width);
    j += width > 0 ? static_cast<size_t>(width) : 1;
  }
  return steps;
}

// The alternative of a right side that holds position j.
std::string_view alternativeAt(const std::string& line, size_t j) {
  size_t start = j;
  while (start > 3 && line[start - 1] != '|') --start;
  size_t end = line.find('|', start);
  return std::string_view(line).substr(start, end == std::string::npos ? std::string::npos : end - start);
}

// The kinds of line messages: what follows "Error at line N", with the
// symbol quoted between prefix and suffix, and where such a symbol is
// reported.
struct MessageKind {
  std::string_view prefix, suffix;
  bool (*reportedAt)(const std::string& line, size_t j, int width, std::string_view symbol);
};

bool startsWith(const std::string& line, size_t j, std::string_view symbol) {
  return line.compare(j, symbol.size(), symbol) == 0;
}

// Supported characters (width 0) are checked by their position; an
// unsupported one (width > 0) is named by its bytes or its code.
const MessageKind kKinds[] = {
    {": Symbol '", "' must be non terminal.",
     [](const std::string& line, size_t j, int width, std::string_view s) {
       return width == 0 && j == 0 && startsWith(line, j, s);
     }},
    {": Symbol '", "' bad.",
     [](const std::string& line, size_t j, int width, std::string_view s) {
       return width == 0 && ((j == 1 && s != "-") || (j == 2 && s != ">")) && startsWith(line, j, s);
     }},
    {": Symbol '|", "' bad",
     [](const std::string& line, size_t j, int width, std::string_view) {
       return width == 0 && j == 3 && line[j] == '|';
     }},
    {": Terminal '", "' not exist.",
     [](const std::string& line, size_t j, int width, std::string_view s) {
       return width == 0 && j >= 3 && startsWith(line, j, s);
     }},
    {": The last character '|", "' is bad'",
     [](const std::string& line, size_t j, int width, std::string_view) {
       return width == 0 && j >= 3 && j + 1 == line.size() && line[j] == '|';
     }},
    {": |", "| incorrect'",
     [](const std::string& line, size_t j, int width, std::string_view) {
       return width == 0 && j >= 3 && j + 1 < line.size() && line[j] == '|' && line[j + 1] == '|';
     }},
    {": Symbol '", "' must stand alone.",
     [](const std::string& line, size_t j, int width, std::string_view s) {
       return width == 0 && j >= 3 && startsWith(line, j, s) && alternativeAt(line, j) != "e";
     }},
    {": Symbol '", "' is reserved for the end of input.",
     [](const std::string& line, size_t j, int width, std::string_view s) {
       return width == 0 && j >= 3 && startsWith(line, j, s);
     }},
    {": Symbol '", "' not supported.",
     [](const std::string& line, size_t j, int width, std::string_view s) {
       return width > 1 && std::string_view(line).substr(j, static_cast<size_t>(width)) == s;
     }},
    {": Character code ", " not supported.",
     [](const std::string& line, size_t j, int width, std::string_view s) {
       return width == 1 && std::to_string(static_cast<unsigned char>(line[j])) == s;
     }},
};

// Where in `line` the k-th symbol of a message `rest` (after the line
// number) stands, with its length; none when no kind or place fits.
std::optional<std::pair<size_t, size_t>> symbolPlace(const std::string& line, std::string_view rest, int k) {
  for (const MessageKind& kind : kKinds) {
    if (!rest.starts_with(kind.prefix) || !rest.ends_with(kind.suffix) ||
        rest.size() < kind.prefix.size() + kind.suffix.size())
      continue;
    std::string_view symbol = rest.substr(kind.prefix.size(), rest.size() - kind.prefix.size() - kind.suffix.size());
    for (auto [j, width] : characterSteps(line)) {
      if (!kind.reportedAt(line, j, width, symbol) || k-- > 0) continue;
      size_t length = width > 0 ? static_cast<size_t>(width) : std::max<size_t>(1, symbol.size());
      if (kind.suffix == "| incorrect'") length = 2;
      return std::make_pair(j, length);
    }
  }
  return std::nullopt;
}

}  // namespace

std::vector<SourceLine> sourceLines(std::string_view editorText) {
  std::vector<SourceLine> lines = mergeWithOrigins(splitWithOrigins(editorText));
  GrammarReading reading = readGrammar(::editorText(editorText));
  bool same = reading.lines.getCount() == static_cast<int>(lines.size());
  size_t i = 0;
  for (const HString& read : reading.lines) {
    if (!same) break;
    same = read.view() == lines[i++].text;
  }
  if (!same) lines.clear();
  return lines;
}

std::optional<SourcePlace> placeOfMessage(std::string_view editorText, const Row& messages, int index) {
  return placeOfMessage(sourceLines(editorText), messages, index);
}

std::optional<SourcePlace> placeOfMessage(const std::vector<SourceLine>& lines, const Row& messages, int index) {
  if (index < 0 || index >= messages.getCount()) return std::nullopt;
  std::string message(messages[index].view());
  constexpr std::string_view kLead = "Error at line ";
  if (!message.starts_with(kLead)) return std::nullopt;
  size_t end = kLead.size();
  int number = 0;
  while (end < message.size() && message[end] >= '0' && message[end] <= '9' && number < 1'000'000)
    number = number * 10 + (message[end++] - '0');
  if (end == kLead.size() || number < 1 || number > static_cast<int>(lines.size())) return std::nullopt;
  const SourceLine& line = lines[static_cast<size_t>(number - 1)];

  int k = 0, i = 0;
  for (const HString& earlier : messages) {
    if (i++ == index) break;
    k += earlier.view() == message;
  }
  std::string_view rest = std::string_view(message).substr(end);
  if (auto place = symbolPlace(line.text, rest, k)) {
    auto [j, length] = *place;
    SourceByte first = line.origin[j], last = line.origin[std::min(j + length, line.text.size()) - 1];
    if (last.line != first.line) last = first;
    return SourcePlace{first.line, first.column, last.column - first.column + 1};
  }
  if (!rest.empty()) return std::nullopt;
  // A line too short to be a rule: all of it that stands on its first editor line.
  SourceByte first = line.origin.front(), last = first;
  for (const SourceByte& byte : line.origin)
    if (byte.line == first.line) last = byte;
  return SourcePlace{first.line, first.column, last.column - first.column + 1};
}
