// The grammar the window works on: what the last reading of the editor
// gave, in whichever notation the text is written in.  The form owns one;
// every command reads the grammar from it, and a background job takes the
// plain texts it needs from it (ruleTexts, word).  Whether the grammar is
// sound is the reading's own answer, not what the form happens to show.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "grammar/grammar.h"
#include "grammar/parsing.h"

class GrammarSession {
 public:
  // Reads an editor text (LF or CR LF line ends).  A text whose first line
  // is "#notation: tokens" is read in the token notation, any other in the
  // classic one.  The model, the rule lines and the listing change only
  // when the text is sound; the messages and the notation always.
  void read(std::string_view editorText);

  bool isSound() const { return sound_; }
  Notation notation() const { return notation_; }
  // The text of the last reading, and what is wrong with it, one message a row.
  const std::string& text() const { return text_; }
  const Row& messages() const { return messages_; }
  // The editor line (from 0) that message `index` is about; none for a
  // message about the whole grammar.
  std::optional<int> lineOfMessage(int index) const;

  // The grammar last read sound, as the analyses take it (a token grammar
  // with the start rule they may add), and as written, which is what a
  // transformation rewrites.
  const Parsing& model() const { return model_; }
  const Grammar& written() const { return written_; }
  // Its merged rule lines (none in the token notation) and its productions, one a line.
  const Row& ruleLines() const { return model_.rules; }
  const Row& listing() const { return listing_; }
  // The rule lines as plain texts, for a worker thread to load.
  std::vector<std::string> ruleTexts() const;

  // The word the evaluations parse, as the word field holds it.
  const std::string& word() const { return word_; }
  void setWord(std::string word) { word_ = std::move(word); }

 private:
  void readClassic();
  void readTokens();

  std::string text_;
  Row messages_;
  std::vector<int> messageLines_;  // the token notation's messages name their line
  bool sound_ = false;
  Notation notation_ = Notation::kClassic;
  Row listing_;
  Parsing model_;
  Grammar written_;
  std::string word_;
};
