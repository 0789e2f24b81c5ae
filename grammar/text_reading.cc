#include "grammar/text_reading.h"

#include "grammar/grammar_file.h"
#include "grammar/reading.h"
#include "grammar/token_reading.h"

Grammar classicGrammarOf(const Row& ruleLines) {
  std::vector<std::string> lines;
  for (const HString& line : ruleLines) lines.emplace_back(line.view());
  return classicGrammar(lines);
}

GrammarTextReading readGrammarText(std::string_view text, Notation notation) {
  return readEditorGrammar(parseGrammarFile(text).text, notation);
}

GrammarTextReading readEditorGrammar(std::string_view editor, Notation notation) {
  GrammarTextReading out;
  if (notation == Notation::kTokens || declaresTokenNotation(editor)) {
    TokenReading reading = readTokenGrammar(editor);
    // Each message names its line already.
    for (const TokenReadingError& error : reading.errors) out.messages += error.message + "\n";
    if (reading.isSound()) out.grammar = std::move(reading.grammar);
  } else {
    GrammarReading reading = readGrammar(editorText(editor));
    for (const HString& message : reading.messages) out.messages += std::string(message.view()) + "\n";
    if (reading.isSound()) out.grammar = classicGrammarOf(reading.lines);
  }
  if (out.messages.empty() && out.grammar.productions.empty()) out.messages = "The grammar has no rule.\n";
  if (!out.messages.empty()) out.messages.pop_back();
  return out;
}
