// ExplainWindow: the grammar report or the explanation of a table's
// conflicts (or of one cell), as readable text with the two derivations of
// a counterexample drawn side by side.  The work runs on a BackgroundJob;
// when it takes more than a moment the window shows its progress and a
// Cancel button, and the main window stays responsive throughout.
#pragma once

#include <QDialog>
#include <QString>
#include <string>
#include <vector>

#include "simulation/evaluations.h"
#include "TreePairPicture.h"
#include "explain/counterexample.h"
#include "writers/format.h"

class BackgroundJob;
class JobStatus;
class QLabel;
class QTextEdit;
class QPushButton;

// What to explain, in plain texts: the worker builds its own model from
// them, for the strings of the model's texts are not shared across threads.
struct ExplainJob {
  enum class What { kReport, kTable, kCell };
  What what = What::kReport;
  std::vector<std::string> rules;  // the rule lines of a sound reading
  std::string word;                // kReport: the word field's text
  TableKind table = TableKind::kLL1;
  int row = 0;                     // kCell: the table row after the header
  std::string symbol;              // kCell: the column's symbol, as the header names it
  SearchBounds bounds;
};

// The side-by-side text of a counterexample's two trees, lines `at` to
// `at + count` of the explanation, and the trees to draw in its place.
struct DrawnPair {
  size_t at = 0, count = 0;
  CaptionedTree trees[2];
};
// What a job yields: the lines, and the trees laid out for drawing.  Computed
// on the calling thread; throws WorkStopped when the work is cancelled or
// outgrows its limits.
struct Explained {
  Lines lines;
  std::vector<DrawnPair> pairs;
};
Explained explain(const ExplainJob& job);

class ExplainWindow : public QDialog {
  Q_OBJECT

 public:
  // Starts the job at once; the window deletes itself when closed.
  explicit ExplainWindow(ExplainJob job, QWidget* parent = nullptr);

  bool isRunning() const;
  // The text shown, once the job has ended, the trees as text.
  QString text() const;
  // How many pairs of trees it draws as pictures.
  int pictures() const { return pictures_; }
  // The line with the job's progress and Cancel.
  JobStatus* status() const { return status_; }

 signals:
  void finished();

 private:
  void showExplained(const Explained& result);

  QLabel* heading_;
  QTextEdit* text_;
  QString plain_;
  int pictures_ = 0;
  BackgroundJob* job_;
  JobStatus* status_;
  QPushButton* close_;
};

// The window's title for a job: "Grammar report", "LL1 table: conflicts", ...
QString titleOf(const ExplainJob& job);
