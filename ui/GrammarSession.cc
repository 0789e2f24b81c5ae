#include "GrammarSession.h"

#include "BackgroundJob.h"
#include "grammar/reading.h"
#include "grammar/source_lines.h"
#include "grammar/token_reading.h"
#include "grammar/symbol_text.h"

void GrammarSession::read(std::string_view editorText) {
  text_.assign(editorText);
  messageLines_.clear();
  if (declaresTokenNotation(text_)) readTokens();
  else readClassic();
}

// The classic reading keeps the form's way: rule lines merged by left side,
// then validated; the listing is the model's numbered productions.
void GrammarSession::readClassic() {
  notation_ = Notation::kClassic;
  Row lines = splitRuleLines(::editorText(text_));
  mergeRules(lines);
  messages_ = validateGrammar(lines);
  sound_ = messages_.getCount() == 0;
  if (!sound_) return;
  model_.loadRules(lines);
  written_ = model_.typed;
  listing_ = model_.productions;
}

void GrammarSession::readTokens() {
  notation_ = Notation::kTokens;
  TokenReading reading = readTokenGrammar(text_);
  messages_ = Row();
  for (const TokenReadingError& error : reading.errors) {
    messages_.insertTail(HString(error.message.c_str()));
    messageLines_.push_back(error.line - 1);
  }
  sound_ = messages_.getCount() == 0;
  if (!sound_) return;
  model_.loadGrammar(reading.grammar);
  written_ = std::move(reading.grammar);
  listing_ = Row();
  const Grammar& grammar = model_.typed;
  for (int p = 0; p < static_cast<int>(grammar.productions.size()); ++p) {
    std::string line = productionText(grammar, p);
    listing_.insertTail(HString(line.data(), static_cast<int>(line.size())));
  }
}

std::optional<int> GrammarSession::lineOfMessage(int index) const {
  if (notation_ == Notation::kTokens) {
    if (index < 0 || static_cast<size_t>(index) >= messageLines_.size() || messageLines_[static_cast<size_t>(index)] < 0)
      return std::nullopt;
    return messageLines_[static_cast<size_t>(index)];
  }
  std::optional<SourcePlace> place = placeOfMessage(text_, messages_, index);
  if (!place) return std::nullopt;
  return place->line;
}

std::vector<std::string> GrammarSession::ruleTexts() const { return ruleTextsOf(model_.rules); }
