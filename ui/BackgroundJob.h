// Work for the drawing windows on a thread of its own: building an
// automaton, a trace or a layout can take seconds, and the window stays
// responsive meanwhile, shows what the work has reached and can cancel it.
//
// The work gets plain texts and hands back plain data: the library's
// strings count their references without atomics, so a job builds its own
// grammar model from the rule lines, destroys every string it made before
// it ends, and gives only its result to the window.
#pragma once

#include <QObject>
#include <QString>
#include <QThread>
#include <QWidget>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "grammar/parsing.h"

// Loads the rule lines of a sound grammar into a model of the working thread.
void loadRuleTexts(Parsing& model, const std::vector<std::string>& lines);
// The model's rule lines as plain texts, for a job to load.
std::vector<std::string> ruleTextsOf(const Parsing& model);

class BackgroundJob : public QObject {
  Q_OBJECT

 public:
  // Reports what the work has reached, from the working thread.
  using Progress = std::function<void(const QString&)>;
  // The work: it runs inside a WorkScope that stops the analyses when the
  // job is cancelled and reports how far they got; it may check `cancel`
  // itself between its parts and report through `progress`.  On success it
  // stores its result where the caller will look for it; an exception it
  // throws is its failure.
  using Work = std::function<void(const std::atomic<bool>& cancel, const Progress& progress)>;

  explicit BackgroundJob(QObject* parent = nullptr);
  // Cancels the work still running and waits for it: Graphviz, which no
  // flag can stop, finishes a layout of a drawable size in seconds.
  ~BackgroundJob() override;

  // Starts the work; a job still running is cancelled and its end ignored.
  void start(Work work);
  // Asks the running work to stop; finished() follows with cancelled().
  void cancel();
  bool running() const { return current_ != nullptr; }
  bool cancelled() const { return outcome_ == Outcome::kCancelled; }
  // The message of the last work's failure, empty when it succeeded.
  const QString& failure() const { return failure_; }

 signals:
  void progress(const QString& text);
  // The work ended: done, failed or cancelled.
  void finished();

 private:
  enum class Outcome { kDone, kFailed, kCancelled };
  struct Run {
    std::atomic<bool> cancel{false};
    QThread* thread = nullptr;
  };

  // The end of a run, on the job's thread.
  void ended(const std::shared_ptr<Run>& run, bool stopped, const QString& failure);
  // Deletes the threads of runs that have ended.
  void prune();

  std::shared_ptr<Run> current_;
  std::vector<std::shared_ptr<Run>> abandoned_;  // ended or cancelled, their threads not yet deleted
  Outcome outcome_ = Outcome::kDone;
  QString failure_;
};

class QLabel;
class QProgressBar;
class QPushButton;

// A window's status line: a text, and while a job works on what it names,
// the job's progress, a busy bar and a Cancel button that cancels the job.
class JobStatus : public QWidget {
  Q_OBJECT

 public:
  explicit JobStatus(BackgroundJob* job, QWidget* parent = nullptr);
  // Shows what the job is about to do, with the busy bar and Cancel.
  void working(const QString& what);
  // Shows a text alone.
  void setText(const QString& text);
  QString text() const;

 private:
  QLabel* text_;
  QProgressBar* bar_;
  QPushButton* cancel_;
};
