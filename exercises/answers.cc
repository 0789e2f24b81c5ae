#include "exercises/answers.h"

#include <algorithm>

#include "core/hstring.h"
#include "writers/csv_reading.h"

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }


}  // namespace

std::string trimmed(std::string_view text) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && isBlank(text[begin])) ++begin;
  while (end > begin && isBlank(text[end - 1])) --end;
  return std::string(text.substr(begin, end - begin));
}

std::string withoutBlanks(std::string_view text) {
  std::string out;
  for (char c : text)
    if (c != ' ' && c != '\t') out += c;
  return out;
}

std::string replacedAll(std::string_view text, std::string_view from, std::string_view to) {
  std::string out;
  for (std::size_t at = 0;;) {
    std::size_t found = text.find(from, at);
    out.append(text.substr(at, found == std::string_view::npos ? std::string_view::npos : found - at));
    if (found == std::string_view::npos) return out;
    out.append(to);
    at = found + from.size();
  }
}

std::string withEpsilonAsE(std::string_view text) { return replacedAll(text, "\xCE\xB5", "e"); }

std::vector<std::string> utf8Characters(std::string_view text) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t length = static_cast<std::size_t>(std::max(1, utf8SequenceLength(text, i)));
    out.emplace_back(text.substr(i, length));
    i += length;
  }
  return out;
}

std::vector<std::string> splitLines(std::string_view text) {
  std::vector<std::string> lines;
  for (std::size_t start = 0; start <= text.size();) {
    std::size_t end = std::min(text.find('\n', start), text.size());
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

std::string joinLines(const std::vector<std::string>& lines) {
  std::string out;
  for (std::size_t k = 0; k < lines.size(); ++k) {
    if (k > 0) out += '\n';
    out += lines[k];
  }
  return out;
}

std::size_t lineNumberOf(const std::string& row) {
  if (!row.starts_with("line ") || row.size() > 12 || row.find_first_not_of("0123456789", 5) != std::string::npos)
    return 0;
  return static_cast<std::size_t>(std::stoul(row.substr(5)));
}

std::vector<AnswerLine> answerLines(std::string_view text) {
  std::vector<AnswerLine> lines;
  int number = 0;
  for (const std::string& raw : splitLines(withoutByteOrderMark(text))) {
    std::string line = trimmed(raw);
    ++number;
    if (line.size() >= 2 && line.front() == '"' && line.back() == '"') {
      std::string error;
      std::optional<Cells> record = readCsv(line, error);
      if (record && record->size() == 1 && record->front().size() == 1) line = trimmed(record->front().front());
    }
    if (!line.empty()) lines.push_back({number, line});
  }
  return lines;
}

