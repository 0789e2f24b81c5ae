// TransformWindow: a transformation of the grammar, step by step, before it
// is applied.  The steps stand on the left; the chosen one shows its note
// and the grammar after it, the rules it changed marked.  Apply puts the
// result into the editor as one step that Undo takes back.
#pragma once

#include <QDialog>
#include <functional>

#include "transform/transform.h"

class QLabel;
class QListWidget;
class QTextBrowser;

class TransformWindow : public QDialog {
  Q_OBJECT

 public:
  using Apply = std::function<void(const QString& grammarText)>;
  TransformWindow(TransformKind kind, Grammar input, TransformResult result, Apply apply, QWidget* parent = nullptr);

  // The text of the step shown now: its note and its grammar, as plain text.
  QString shownText() const;
  QListWidget* steps() const { return steps_; }
  // Puts the result into the editor and closes.
  void apply();
  // Offers "Practice This", which calls `practise` and closes: the student
  // does the same transformation by hand, the steps out of sight.
  void offerPractice(std::function<void()> practise);

 private:
  void showStep(int row);

  Grammar input_;
  TransformResult result_;
  Apply apply_;
  QListWidget* steps_;
  QLabel* note_;
  QTextBrowser* grammar_;
  class QDialogButtonBox* buttons_;
};
