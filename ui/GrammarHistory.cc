// The document counts its undo steps; a replacement remembers the count
// right after it.  When the count falls below that, the replacement was
// undone; when it comes back, redone.  A new edit after an undo clears the
// document's redo history, and the replacements above it go with it.
#include "GrammarHistory.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

GrammarHistory::GrammarHistory(QPlainTextEdit* editor, QLineEdit* word)
    : QObject(editor), editor_(editor), word_(word) {
  QTextDocument* document = editor->document();
  connect(document, &QTextDocument::undoCommandAdded, this, &GrammarHistory::commandAdded);
  connect(document, &QTextDocument::contentsChanged, this, &GrammarHistory::contentsChanged);
}

void GrammarHistory::replace(const QString& text, const std::optional<QString>& word) {
  QTextDocument* document = editor_->document();
  if (text.size() > kLargestUndoableText) {
    // An edit step holds both texts and takes the document seconds per
    // megabyte; a text this large is put in place without one.
    steps_.clear();
    undoSteps_ = 0;
    editor_->setPlainText(text);
    if (word) setWord(*word);
    return;
  }
  int before = document->availableUndoSteps();
  QTextCursor cursor(document);
  cursor.beginEditBlock();
  cursor.select(QTextCursor::Document);
  cursor.insertText(text);
  cursor.endEditBlock();
  QString oldWord = word_->text();
  if (word && *word != oldWord) setWord(*word);
  if (document->availableUndoSteps() > before)
    steps_.append({document->availableUndoSteps(), oldWord, word.value_or(oldWord)});
  editor_->moveCursor(QTextCursor::Start);
}

void GrammarHistory::clear() {
  editor_->document()->clearUndoRedoStacks();
  word_->setText(word_->text());  // setText starts the field's history afresh
  steps_.clear();
  undoSteps_ = 0;
}

void GrammarHistory::commandAdded() {
  int now = editor_->document()->availableUndoSteps();
  steps_.erase(std::remove_if(steps_.begin(), steps_.end(), [now](const Step& s) { return s.undoSteps >= now; }),
               steps_.end());
  undoSteps_ = now;
}

void GrammarHistory::contentsChanged() {
  int now = editor_->document()->availableUndoSteps();
  if (now < undoSteps_) {
    for (auto it = steps_.rbegin(); it != steps_.rend(); ++it)
      if (it->undoSteps > now && it->undoSteps <= undoSteps_) setWord(it->before);
  } else if (now > undoSteps_) {
    for (const Step& s : steps_)
      if (s.undoSteps > undoSteps_ && s.undoSteps <= now) setWord(s.after);
  }
  undoSteps_ = now;
}

// Through the field's own editing, so that its Ctrl+Z can take it back.
void GrammarHistory::setWord(const QString& word) {
  if (word_->text() == word) return;
  word_->selectAll();
  word_->insert(word);
}
