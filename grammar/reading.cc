// Reading the grammar text: splitting, merging and validating rule lines.
#include "grammar/reading.h"

HString editorText(std::string_view text) {
  HString result;
  HString line;
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] != '\n') continue;
    size_t end = i;
    if (i < text.size() && end > start && text[end - 1] == '\r') --end;
    result += HString(text.data() + start, static_cast<int>(end - start));
    if (i < text.size()) result += "\r\n";
    start = i + 1;
  }
  return result;
}

Row splitRuleLines(HString text) {
  text += "\r";
  text.removeChar('\n');
  text.removeChar(' ');
  while (text.find("\r\r") != -1) text = text.replace("\r\r", "\r");
  if (text.getLength() > 0 && text[0] == '\r') text = text.getSubString(1);
  Row lines;
  int start = 0;
  for (int i = 0; i < text.getLength(); ++i) {
    if (text[i] != '\r') continue;
    lines.insertTail(text.getSubString(start, i));
    start = i + 1;
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

// The alternative of a rule line that holds position j.
HString alternativeAt(const HString& line, int j) {
  int start = j;
  while (start > 3 && line[start - 1] != '|') --start;
  return line.getToken("|", start);
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

// Pass 2 for one line: the symbols of its right side.
void checkRightSide(const HString& line, int n, const HList<char>& leftSides, Row& messages) {
  int last = line.getLength() - 1;
  for (int j = 3; j <= last; ++j) {
    char c = line[j];
    if (c >= 'A' && c <= 'Z' && leftSides.search(c) == -1)
      messages.insertTail(lineError(n) + ": Terminal '" + c + "' not exist.");
    if (c == '|' && j == last) messages.insertTail(lineError(n) + ": The last character '|' is bad'");
    if (c == '|' && j < last && line[j + 1] == '|') messages.insertTail(lineError(n) + ": || incorrect'");
    if (c == 'e' && alternativeAt(line, j) != "e") messages.insertTail(symbolError(n, c, " must stand alone."));
    if (c == '$') messages.insertTail(symbolError(n, c, " is reserved for the end of input."));
  }
}

}  // namespace

void mergeRules(Row& lines) {
  bool seen[256] = {};
  for (int i = 0; i < lines.getCount();) {
    HString line = lines[i];
    unsigned char c = static_cast<unsigned char>(line[0]);
    if (!isRuleShaped(line)) {
      ++i;
      continue;
    }
    if (!seen[c]) {
      seen[c] = true;
      ++i;
      continue;
    }
    for (HString& target : lines) {
      if (target[0] == line[0] && isRuleShaped(target)) {
        target += HString("|") + line.getSubString(3);
        break;
      }
    }
    lines.remove(i);
  }
}

Row validateGrammar(const Row& lines) {
  Row messages;
  if (lines.getCount() == 0) messages.insertTail("Error: Grammar Empty.");
  HList<char> leftSides;
  int n = 0;
  for (const HString& line : lines) {
    ++n;
    if (line.getLength() < 4) {
      messages.insertTail(lineError(n));
      return messages;
    }
    checkShape(line, n, messages);
    leftSides.insertTail(line[0]);
  }
  n = 0;
  for (const HString& line : lines) checkRightSide(line, ++n, leftSides, messages);
  return messages;
}

GrammarReading readGrammar(const HString& editorText) {
  GrammarReading reading;
  reading.lines = splitRuleLines(editorText);
  mergeRules(reading.lines);
  reading.messages = validateGrammar(reading.lines);
  return reading;
}
