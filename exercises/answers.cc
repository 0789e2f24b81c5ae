#include "exercises/answers.h"

#include <algorithm>

#include "core/hstring.h"
#include "writers/csv_reading.h"

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// As the token notation reads a grammar: bytes of UTF-8 sequences count as letters.
bool isNameCharacter(char c) {
  auto u = static_cast<unsigned char>(c);
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '\'' ||
         u >= 0x80;
}
bool isQuote(char c) { return c == '\'' || c == '"'; }

constexpr std::string_view kEpsilon = "\xCE\xB5";

class TokenSplitter {
 public:
  TokenSplitter(const Grammar& grammar, std::string_view separators, const std::vector<std::string>& marks)
      : grammar_(grammar), marks_(marks) {
    for (char c : separators)
      if (!isSymbol(std::string(1, c))) separators_ += c;
  }

  void split(std::string_view piece, std::vector<std::string>& out) const {
    if (isKnown(piece)) {
      out.push_back(named(std::string(piece)));
      return;
    }
    for (std::size_t at = 0; at < piece.size();) {
      char c = piece[at];
      std::size_t close = isQuote(c) ? piece.find(c, at + 1) : std::string_view::npos;
      if (close != std::string_view::npos && close > at + 1) {
        out.emplace_back(piece.substr(at + 1, close - at - 1));
        at = close + 1;
      } else if (separators_.find(c) != std::string::npos) {
        ++at;
      } else if (isNameCharacter(c)) {
        std::size_t end = at;
        while (end < piece.size() && isNameCharacter(piece[end])) ++end;
        out.push_back(named(std::string(piece.substr(at, end - at))));
        at = end;
      } else {
        at = punctuation(piece, at, out);
      }
    }
  }

 private:
  bool isSymbol(const std::string& name) const { return grammar_.symbolNamed(name) != kNoSymbol; }
  bool isKnown(std::string_view text) const {
    std::string name(text);
    return isSymbol(name) || name == "$" || name == kEpsilon ||
           std::find(marks_.begin(), marks_.end(), name) != marks_.end();
  }
  std::string named(std::string name) const {
    if (!isSymbol(name) && (name == "e" || name == "eps" || name == "epsilon")) return std::string(kEpsilon);
    return name;
  }
  // The longest known token of the run of punctuation at `at`, or the run
  // up to a separator when none is known; where it ends.
  std::size_t punctuation(std::string_view piece, std::size_t at, std::vector<std::string>& out) const {
    std::size_t end = at;
    while (end < piece.size() && !isNameCharacter(piece[end]) && separators_.find(piece[end]) == std::string::npos)
      ++end;
    for (std::size_t length = end - at; length > 0; --length)
      if (isKnown(piece.substr(at, length))) {
        out.emplace_back(piece.substr(at, length));
        return at + length;
      }
    out.emplace_back(piece.substr(at, end - at));
    return end;
  }

  const Grammar& grammar_;
  const std::vector<std::string>& marks_;
  std::string separators_;
};


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


std::vector<std::string> answerTokens(const Grammar& grammar, std::string_view text, std::string_view separators,
                                      const std::vector<std::string>& marks) {
  TokenSplitter splitter(grammar, separators, marks);
  std::vector<std::string> tokens;
  for (std::size_t at = 0; at < text.size();) {
    while (at < text.size() && isBlank(text[at])) ++at;
    std::size_t end = at;
    while (end < text.size() && !isBlank(text[end])) ++end;
    if (end > at) splitter.split(text.substr(at, end - at), tokens);
    at = end;
  }
  return tokens;
}

bool mayBeLeftOut(const Parsing& model, Symbol x) { return model.addedStartRule && x == model.typed.start(); }
