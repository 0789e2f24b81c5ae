// Work off the window thread: every analysis, search and layout of the
// window runs through a BackgroundJob, so that a grammar whose automaton
// explodes never freezes a window, and the user sees how far the work got
// and can cancel it.  Each run has a thread of its own: a cancelled run is
// abandoned at once (it stops at its next note of core/work.h, and
// Graphviz, which no flag stops, finishes a layout of a drawable size in
// seconds), so the window is free again the moment Cancel is pressed.
//
// The work must not share the library's strings with the window thread
// (their reference counts are not atomic): it gets plain texts, builds its
// own model with loadRuleTexts(), lets every string of its own die before
// it returns, and leaves plain results only (std::string, Cells, Lines,
// numbers) where the window looks for them.  The free list nodes of a
// thread that ends serve the next thread, so a thread per run costs no
// memory.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/work.h"
#include "grammar/parsing.h"

// The rule lines as plain texts, for a worker to load.
std::vector<std::string> ruleTextsOf(const Row& rules);
// Loads the rule lines of a sound grammar into a model of the working thread.
void loadRuleTexts(Parsing& model, const std::vector<std::string>& lines);
// The same, or a copy of a grammar in the token notation, which has no rule lines.
void loadGrammarCopy(Parsing& model, const std::vector<std::string>& lines, const std::optional<Grammar>& tokens);

class BackgroundJob : public QObject {
  Q_OBJECT

 public:
  // Names the stage the work has reached, from the working thread.
  using Progress = std::function<void(const QString&)>;
  // The work, run inside a WorkScope whose cancel flag and limits stop the
  // analyses; it stores its result where its `ended` will look, and an
  // exception it throws is its failure.
  using Work = std::function<void(const Progress& progress)>;
  enum class Outcome { kDone, kCancelled, kLimit, kFailed };

  explicit BackgroundJob(QObject* parent = nullptr);
  // Cancels the running work and waits for every thread still running.
  ~BackgroundJob() override;

  // Starts `work`, named by `what` ("LR1 Items"); a run still going is
  // dropped without a word.  `ended` runs on the window thread when the work
  // ends or is cancelled, before finished().
  void start(const QString& what, Work work, std::function<void()> ended = {});
  // Waits up to `milliseconds` for the running work; when it ends meanwhile,
  // its end is told before this returns (no flicker for short work).
  bool finishWithin(int milliseconds);
  // Waits until the running work has ended and tells its end.
  void wait();
  // Stops the running work: its end is told at once, as cancelled.
  void cancel();
  // Limits for the work started from now on.
  void setLimits(const WorkLimits& limits) { limits_ = limits; }

  bool running() const { return current_ != nullptr; }
  // What the last work started is named.
  const QString& what() const { return what_; }
  Outcome outcome() const { return outcome_; }
  bool cancelled() const { return outcome_ == Outcome::kCancelled; }
  // Why the last work stopped at a limit or failed; empty otherwise.
  const QString& failure() const { return failure_; }

 signals:
  void started(const QString& what);
  // How far the work got, as "LR1 Items: 120,000 states (3 s)", ten times a second.
  void progress(const QString& text);
  void finished();

 private:
  struct Run;
  // Tells the end of a run that has ended, unless it was dropped.
  void tell(const std::shared_ptr<Run>& run);
  void poll();
  // Joins the threads of runs that have ended.
  void prune();

  std::shared_ptr<Run> current_;
  std::vector<std::shared_ptr<Run>> abandoned_;  // their threads not yet joined
  QString what_;
  WorkLimits limits_;
  Outcome outcome_ = Outcome::kDone;
  QString failure_;
  QTimer poll_;
  QElapsedTimer clock_;
};

class QLabel;
class QProgressBar;
class QPushButton;

// The status line of a window that runs jobs: a text, and while the job
// works, its progress, a busy bar and Cancel.  With `patience` it shows the
// work only once it has run that many milliseconds; it hides itself while
// it has nothing to say.
class JobStatus : public QWidget {
  Q_OBJECT

 public:
  JobStatus(BackgroundJob* job, int patience, QWidget* parent = nullptr);
  // Shows a text alone; an empty one hides the line.
  void setText(const QString& text);
  QString text() const;
  // Whether the busy bar and Cancel show.
  bool showsWork() const;
  QPushButton* cancelButton() const { return cancel_; }

 private:
  void showWork(bool on);

  BackgroundJob* job_;
  QLabel* text_;
  QProgressBar* bar_;
  QPushButton* cancel_;
  QTimer patience_;
};
