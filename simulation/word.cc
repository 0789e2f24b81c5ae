#include "simulation/word.h"

#include <unordered_map>

#include "grammar/symbol_text.h"

namespace {

size_t wholeInputLength(const Word& word) {
  return word.joined.size() + (word.joined.empty() ? 0 : std::char_traits<char>::length(word.separator)) + 1;
}

}  // namespace

Word readWord(const Grammar& grammar, const std::string& text) {
  std::unordered_map<std::string, Symbol> terminals;
  for (Symbol s = 0; s < grammar.symbolCount(); ++s)
    if (grammar.isTerminal(s)) terminals.emplace(grammar.name(s), s);
  terminals["$"] = grammar.endMarker();
  Word word;
  word.separator = symbolSeparator(grammar);
  for (const std::string& token : wordTokens(grammar.notation, text)) {
    if (!word.starts.empty()) word.joined += word.separator;
    word.starts.push_back(word.joined.size());
    word.joined += token;
    auto found = terminals.find(token);
    word.symbols.push_back(found == terminals.end() ? kNoSymbol : found->second);
  }
  word.starts.push_back(word.joined.size());
  word.symbols.push_back(grammar.endMarker());
  return word;
}

std::string wholeInput(const Word& word) {
  std::string text = word.joined;
  if (!text.empty()) text += word.separator;
  return text + '$';
}

int inputOffset(const Word& word, int position) {
  if (position >= word.length()) return static_cast<int>(wholeInputLength(word)) - 1;
  return static_cast<int>(word.starts[static_cast<size_t>(position)]);
}
