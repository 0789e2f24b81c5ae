#include "grammar/grammar_file.h"

#include "core/hstring.h"
#include "grammar/token_reading.h"

namespace {

constexpr std::string_view kWordLine = "#word:";

}  // namespace

GrammarFile parseGrammarFile(std::string_view bytes) {
  bytes = withoutByteOrderMark(bytes);
  GrammarFile file;
  file.text.reserve(bytes.size());
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = bytes.size();
    std::string_view line = bytes.substr(start, end - start);
    if (line.starts_with(kWordLine)) {
      line.remove_prefix(kWordLine.size());
      if (line.starts_with(' ')) line.remove_prefix(1);
      file.word = std::string(line);
    } else {
      file.text.append(line).append("\n");
    }
    start = end + (bytes.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  // The editor has no line after the last line end.
  if (!file.text.empty()) file.text.pop_back();
  if (declaresTokenNotation(file.text)) file.notation = Notation::kTokens;
  return file;
}

std::string grammarFileBytes(std::string_view text, std::string_view word, Notation notation) {
  // Every editor line ends in a line end, the last one too: a last empty
  // line of the editor comes back as typed.
  std::string bytes;
  if (notation == Notation::kTokens && !declaresTokenNotation(text))
    bytes.append(kTokenNotationLine).append(text.empty() ? "" : "\n");
  bytes += text;
  // Reading drops one byte order mark: a text that begins with one of its own gets another before it.
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.insert(0, "\xEF\xBB\xBF");
  if (!bytes.empty()) bytes += '\n';
  bytes.append(kWordLine).append(" ");
  for (char c : word) bytes += c == '\n' || c == '\r' ? ' ' : c;
  return bytes + "\n";
}
