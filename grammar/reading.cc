// Reading the grammar text: splitting, merging and validating rule lines.
#include "grammar/reading.h"

#include <string>
#include <vector>

HString editorText(std::string_view text) {
  std::string result;
  result.reserve(text.size() + text.size() / 8);
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] != '\n') continue;
    size_t end = i;
    if (i < text.size() && end > start && text[end - 1] == '\r') --end;
    result.append(text.substr(start, end - start));
    if (i < text.size()) result += "\r\n";
    start = i + 1;
  }
  return HString(result.data(), static_cast<int>(result.size()));
}

// Blanks and LF vanish; every CR ends a line, and lines left empty are
// dropped.  The text is walked once, so a long grammar costs its length.
Row splitRuleLines(HString text) {
  Row lines;
  std::string line;
  std::string_view bytes = text.view();
  for (size_t i = 0; i <= bytes.size(); ++i) {
    char c = i < bytes.size() ? bytes[i] : '\r';
    if (c == '\n' || c == ' ') continue;
    if (c != '\r') {
      line += c;
      continue;
    }
    if (!line.empty()) lines.insertTail(HString(line.data(), static_cast<int>(line.size())));
    line.clear();
  }
  return lines;
}

namespace {

// A line of the form X->..., the only kind that is merged.
bool isRuleShaped(const HString& line) {
  return line.getLength() >= 4 && line[1] == '-' && line[2] == '>';
}

HString lineError(int n) { return HString("Error at line ") + n; }

HString symbolError(int n, char c, const char* text) {
  return lineError(n) + ": Symbol '" + c + "'" + text;
}

// For a character outside printable 7-bit ASCII at position i, appends its
// message and returns how many bytes it takes; 0 for a supported character.
int reportUnsupported(const HString& line, int i, int n, Row& messages) {
  unsigned char code = static_cast<unsigned char>(line[i]);
  if (code >= 32 && code < 127) return 0;
  int length = code >= 128 ? utf8SequenceLength(line.view(), static_cast<size_t>(i)) : 0;
  if (length > 0)
    messages.insertTail(lineError(n) + ": Symbol '" + line.getSubString(i, i + length) + "' not supported.");
  else
    messages.insertTail(lineError(n) + ": Character code " + static_cast<int>(code) + " not supported.");
  return length > 0 ? length : 1;
}

// Pass 1 for one line: its shape and its unsupported characters.
void checkShape(const HString& line, int n, Row& messages) {
  for (int j = 0; j < line.getLength();) {
    int width = reportUnsupported(line, j, n, messages);
    if (width > 0) {
      j += width;
      continue;
    }
    char c = line[j];
    if (j == 0 && (c < 'A' || c > 'Z')) messages.insertTail(symbolError(n, c, " must be non terminal."));
    if ((j == 1 && c != '-') || (j == 2 && c != '>')) messages.insertTail(symbolError(n, c, " bad."));
    if (j == 3 && c == '|') messages.insertTail(lineError(n) + ": Symbol '|' bad");
    ++j;
  }
}

// Pass 2 for one line: the symbols of its right side.  Each alternative's
// end is found when it starts, so an 'e' knows whether it stands alone.
void checkRightSide(const HString& line, int n, const bool leftSide[256], Row& messages) {
  std::string_view text = line.view();
  int last = line.getLength() - 1;
  size_t alternativeEnd = 3;  // where the alternative holding j ends
  bool alone = false;         // that alternative is "e"
  for (int j = 3; j <= last; ++j) {
    char c = text[static_cast<size_t>(j)];
    if (j == 3 || text[static_cast<size_t>(j) - 1] == '|') {
      alternativeEnd = text.find('|', static_cast<size_t>(j));
      if (alternativeEnd == std::string_view::npos) alternativeEnd = text.size();
      alone = alternativeEnd - static_cast<size_t>(j) == 1 && c == 'e';
    }
    if (c >= 'A' && c <= 'Z' && !leftSide[static_cast<unsigned char>(c)])
      messages.insertTail(lineError(n) + ": Terminal '" + c + "' not exist.");
    if (c == '|' && j == last) messages.insertTail(lineError(n) + ": The last character '|' is bad'");
    if (c == '|' && j < last && text[static_cast<size_t>(j) + 1] == '|') messages.insertTail(lineError(n) + ": || incorrect'");
    if (c == 'e' && !alone) messages.insertTail(symbolError(n, c, " must stand alone."));
    if (c == '$') messages.insertTail(symbolError(n, c, " is reserved for the end of input."));
  }
}

}  // namespace

// The right sides of a left side's later lines are gathered first and
// joined to its first line once: appending to the growing line at every
// line would copy it each time.
void mergeRules(Row& lines) {
  int firstLine[256];
  for (int& line : firstLine) line = -1;
  std::vector<std::string> merged;  // by line: its text with what joined it
  std::vector<bool> dropped;
  int i = 0;
  for (const HString& line : lines) {
    merged.emplace_back(line.view());
    dropped.push_back(false);
    if (isRuleShaped(line)) {
      int& first = firstLine[static_cast<unsigned char>(line[0])];
      if (first == -1) {
        first = i;
      } else {
        merged[static_cast<size_t>(first)] += '|';
        merged[static_cast<size_t>(first)].append(line.view().substr(3));
        dropped.back() = true;
      }
    }
    ++i;
  }
  Row kept;
  i = 0;
  for (const HString& line : lines) {
    size_t k = static_cast<size_t>(i++);
    if (dropped[k]) continue;
    if (merged[k].size() == static_cast<size_t>(line.getLength()))
      kept.insertTail(line);
    else
      kept.insertTail(HString(merged[k].data(), static_cast<int>(merged[k].size())));
  }
  lines = std::move(kept);
}

Row validateGrammar(const Row& lines) {
  Row messages;
  if (lines.getCount() == 0) messages.insertTail("Error: Grammar Empty.");
  bool leftSide[256] = {};
  int n = 0;
  for (const HString& line : lines) {
    ++n;
    if (line.getLength() < 4) {
      messages.insertTail(lineError(n));
      return messages;
    }
    checkShape(line, n, messages);
    leftSide[static_cast<unsigned char>(line[0])] = true;
  }
  n = 0;
  for (const HString& line : lines) checkRightSide(line, ++n, leftSide, messages);
  return messages;
}

GrammarReading readGrammar(const HString& editorText) {
  GrammarReading reading;
  reading.lines = splitRuleLines(editorText);
  mergeRules(reading.lines);
  reading.messages = validateGrammar(reading.lines);
  return reading;
}
