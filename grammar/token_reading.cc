#include "grammar/token_reading.h"

#include <map>
#include <optional>

namespace {

constexpr std::string_view kEpsilon = "\xCE\xB5";  // ε in UTF-8

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }
// Bytes of UTF-8 sequences count as letters, so names may be written in any script.
bool isNameCharacter(char c) {
  auto u = static_cast<unsigned char>(c);
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '\'' ||
         u >= 0x80;
}
bool isQuote(char c) { return c == '\'' || c == '"'; }
bool isPunctuation(char c) {
  auto u = static_cast<unsigned char>(c);
  return u > 32 && u < 127 && !isNameCharacter(c) && !isQuote(c) && c != '|';
}

enum class Kind { kName, kPunctuation, kQuoted, kBar };
struct Token {
  Kind kind;
  std::string text;
};

struct Alternative {
  std::vector<Token> symbols;
};
struct Rule {
  std::string head;
  int line;
  std::vector<Alternative> alternatives;
};

class LineReader {
 public:
  LineReader(std::string_view text, int line, std::vector<TokenReadingError>& errors)
      : text_(text), line_(line), errors_(errors) {}

  // The tokens of the rest of the line, or nothing after an error.
  std::optional<std::vector<Token>> tokens() {
    std::vector<Token> out;
    while (skipBlanks()) {
      char c = text_[at_];
      if (c == '|') {
        out.push_back({Kind::kBar, "|"});
        ++at_;
      } else if (isQuote(c)) {
        auto quoted = quotedText();
        if (!quoted) return std::nullopt;
        out.push_back({Kind::kQuoted, *quoted});
      } else if (isNameCharacter(c)) {
        out.push_back({Kind::kName, run(isNameCharacter)});
      } else if (isPunctuation(c)) {
        out.push_back({Kind::kPunctuation, run(isPunctuation)});
      } else {
        return fail("the character code " + std::to_string(static_cast<unsigned char>(c)) +
                    " cannot stand in a grammar; symbols are names, punctuation or quoted strings");
      }
    }
    return out;
  }

  // A head name and the arrow after it, as the start of a rule.
  std::optional<std::string> head() {
    if (!skipBlanks() || !isNameCharacter(text_[at_]) || isQuote(text_[at_]))
      return fail("a rule begins with a name and '->', as in E -> E + T");
    std::string name = run(isNameCharacter);
    skipBlanks();
    if (text_.substr(at_, 2) == "->") {
      at_ += 2;
    } else if (text_.substr(at_, 3) == "\xE2\x86\x92") {  // →
      at_ += 3;
    } else {
      return fail("'->' is missing after the head " + name);
    }
    return name;
  }

  std::nullopt_t fail(const std::string& message) {
    errors_.push_back({line_, "Line " + std::to_string(line_) + ": " + message + "."});
    return std::nullopt;
  }

 private:
  bool skipBlanks() {
    while (at_ < text_.size() && isBlank(text_[at_])) ++at_;
    return at_ < text_.size();
  }
  std::string run(bool (*belongs)(char)) {
    size_t start = at_;
    while (at_ < text_.size() && belongs(text_[at_])) ++at_;
    return std::string(text_.substr(start, at_ - start));
  }
  std::optional<std::string> quotedText() {
    char quote = text_[at_];
    size_t end = text_.find(quote, at_ + 1);
    if (end == std::string_view::npos) return fail(std::string("the quoted terminal has no closing ") + quote);
    if (end == at_ + 1) return fail("a quoted terminal holds at least one character");
    std::string inside(text_.substr(at_ + 1, end - at_ - 1));
    at_ = end + 1;
    return inside;
  }

  std::string_view text_;
  size_t at_ = 0;
  int line_;
  std::vector<TokenReadingError>& errors_;
};

std::vector<std::string_view> linesOf(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

bool isDirectiveOrComment(std::string_view line) {
  size_t first = line.find_first_not_of(" \t\r");
  return first != std::string_view::npos && line[first] == '#';
}

bool isBlankLine(std::string_view line) { return line.find_first_not_of(" \t\r") == std::string_view::npos; }

// Adds a line's tokens to the rule's alternatives: a bar opens a new one.  A
// rule line comes with its first alternative open; a continuation line opens
// its own with the bar it begins with.
void addAlternatives(Rule& rule, const std::vector<Token>& tokens, LineReader& reader) {
  for (const Token& token : tokens) {
    if (token.kind == Kind::kBar) {
      rule.alternatives.emplace_back();
    } else if (token.kind == Kind::kPunctuation && token.text == "->") {
      reader.fail("'->' stands in a right side; write '->' in quotes to make it a terminal");
    } else if (token.text == "$") {
      reader.fail("'$' is reserved for the end of input");
    } else {
      rule.alternatives.back().symbols.push_back(token);
    }
  }
}

// The rules of the text, with the continuation lines joined to theirs.
std::vector<Rule> rulesOf(std::string_view text, std::vector<TokenReadingError>& errors) {
  std::vector<Rule> rules;
  std::vector<std::string_view> lines = linesOf(text);
  for (size_t i = 0; i < lines.size(); ++i) {
    int number = static_cast<int>(i) + 1;
    std::string_view line = lines[i];
    if (isBlankLine(line) || isDirectiveOrComment(line)) continue;
    LineReader reader(line, number, errors);
    if (line[line.find_first_not_of(" \t\r")] == '|') {
      if (rules.empty()) {
        reader.fail("'|' continues a rule, but no rule comes before it");
      } else if (auto tokens = reader.tokens()) {
        addAlternatives(rules.back(), *tokens, reader);
      }
      continue;
    }
    auto head = reader.head();
    if (!head) continue;
    auto tokens = reader.tokens();
    if (!tokens) continue;
    Rule rule{*head, number, {Alternative{}}};
    addAlternatives(rule, *tokens, reader);
    rules.push_back(std::move(rule));
  }
  return rules;
}

// Turns the rules into a Grammar: heads are the non-terminals, rules of one
// head are merged into the first, and every other symbol is a terminal.
Grammar grammarOf(const std::vector<Rule>& rules, std::vector<TokenReadingError>& errors) {
  Grammar grammar;
  grammar.notation = Notation::kTokens;
  std::map<std::string, Symbol> named;
  std::vector<std::vector<const Alternative*>> alternativesOf;
  for (const Rule& rule : rules) {
    auto [at, added] = named.emplace(rule.head, grammar.symbolCount());
    if (added) {
      grammar.addSymbol(rule.head, false);
      alternativesOf.emplace_back();
    }
    for (const Alternative& alternative : rule.alternatives)
      alternativesOf[static_cast<size_t>(at->second)].push_back(&alternative);
  }
  for (const Rule& rule : rules)
    for (const Alternative& alternative : rule.alternatives)
      for (const Token& token : alternative.symbols) {
        bool epsilon = token.kind == Kind::kName && token.text == kEpsilon;
        if (token.kind != Kind::kName && named.count(token.text) && !grammar.isTerminal(named[token.text]))
          errors.push_back({rule.line, "Line " + std::to_string(rule.line) + ": the terminal " + token.text +
                                           " has the name of a non-terminal; rename one of them."});
        if (!epsilon && !named.count(token.text)) named.emplace(token.text, grammar.addSymbol(token.text, true));
        if (epsilon && alternative.symbols.size() > 1)
          errors.push_back({rule.line, "Line " + std::to_string(rule.line) +
                                           ": ε stands for the empty string and stands alone in its alternative."});
      }
  for (Symbol head = 0; head < static_cast<Symbol>(alternativesOf.size()); ++head)
    for (const Alternative* alternative : alternativesOf[static_cast<size_t>(head)]) {
      Production production{head, {}};
      for (const Token& token : alternative->symbols)
        if (!(token.kind == Kind::kName && token.text == kEpsilon)) production.body.push_back(named[token.text]);
      grammar.productions.push_back(std::move(production));
    }
  return grammar;
}

}  // namespace

bool declaresTokenNotation(std::string_view text) {
  for (std::string_view line : linesOf(text)) {
    while (!line.empty() && isBlank(line.back())) line.remove_suffix(1);
    if (line.rfind("#word:", 0) == 0) continue;
    return line == kTokenNotationLine;
  }
  return false;
}

TokenReading readTokenGrammar(std::string_view text) {
  TokenReading reading;
  std::vector<Rule> rules = rulesOf(text, reading.errors);
  if (rules.empty() && reading.errors.empty()) reading.errors.push_back({1, "The grammar has no rule."});
  reading.grammar = grammarOf(rules, reading.errors);
  return reading;
}
