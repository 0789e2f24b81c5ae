// ExplainWindow: the grammar report or the explanation of a table's
// conflicts (or of one cell), as readable text with the two derivations of
// a counterexample drawn side by side.  The work runs on a worker thread;
// when it takes more than a moment the window shows its progress and a
// Cancel button, and the main window stays responsive throughout.
#pragma once

#include <QDialog>
#include <QString>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "commands/commands.h"
#include "explain/counterexample.h"
#include "writers/format.h"

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;

// What to explain, in plain texts: the worker builds its own model from
// them, for the strings of the model's texts are not shared across threads.
struct ExplainJob {
  enum class What { kReport, kTable, kCell };
  What what = What::kReport;
  std::vector<std::string> rules;  // the rule lines of a sound reading
  std::string word;                // kReport: the word field's text
  TableKind table = TableKind::kLL1;
  int row = 0;                     // kCell: the table row after the header
  char symbol = '\0';              // kCell: the column's symbol
  SearchBounds bounds;
};

// The lines a job yields, computed on the calling thread.  Throws
// WorkStopped when the work is cancelled or outgrows its limits.
Lines explainLines(const ExplainJob& job);

class ExplainWindow : public QDialog {
  Q_OBJECT

 public:
  // Starts the job at once; the window deletes itself when closed.
  explicit ExplainWindow(ExplainJob job, QWidget* parent = nullptr);
  ~ExplainWindow() override;

  bool isRunning() const { return running_; }
  // The text shown, once the job has ended.
  QString text() const;
  QPushButton* cancelButton() const { return cancel_; }
  QProgressBar* progressBar() const { return progress_; }

 public slots:
  void cancel();

 signals:
  void finished();

 private:
  void showProgress();
  void done(const Lines& lines, const QString& status);

  QLabel* heading_;
  QPlainTextEdit* text_;
  QProgressBar* progress_;
  QLabel* status_;
  QPushButton* cancel_;
  QPushButton* close_;
  QTimer* patience_;
  std::atomic<bool> cancelled_{false};
  std::atomic<long> steps_{0};
  bool running_ = true;
  std::thread worker_;
};

// The window's title for a job: "Grammar report", "LL1 table: conflicts", ...
QString titleOf(const ExplainJob& job);
