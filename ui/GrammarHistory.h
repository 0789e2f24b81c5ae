// Replacing the whole grammar, by an example or a file, as one step of the
// editor's undo history that nothing else can wipe: undoing it in the editor
// (Ctrl+Z) brings the old text back and, with it, the word that was in the
// word field; redoing it brings the new word again.  The word field keeps
// its own undo history as well.
#pragma once

#include <QObject>
#include <QString>
#include <QVector>
#include <optional>

class QLineEdit;
class QPlainTextEdit;

class GrammarHistory : public QObject {
  Q_OBJECT

 public:
  GrammarHistory(QPlainTextEdit* editor, QLineEdit* word);
  // Above this many characters a replacement is no step of the history:
  // it cannot be undone, and the editor's earlier steps are forgotten.
  static constexpr qsizetype kLargestUndoableText = 1 << 20;

  // Puts `text` into the editor and, when given, `word` into the word field.
  void replace(const QString& text, const std::optional<QString>& word);
  // Forgets every step of the editor and the word field, as after start-up.
  void clear();

 private:
  void commandAdded();
  void contentsChanged();
  void setWord(const QString& word);

  // A replacement in the history: the undo steps available right after it.
  struct Step {
    int undoSteps;
    QString before, after;
  };
  QPlainTextEdit* editor_;
  QLineEdit* word_;
  QVector<Step> steps_;
  int undoSteps_ = 0;  // as last seen
};
