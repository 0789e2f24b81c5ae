// The background runner: a command's analysis runs on a worker thread, so
// that a grammar whose automaton explodes never freezes the window.  One
// command runs at a time, always on the same thread.  A command that ends within a tenth of a second
// is delivered before start() returns, as if it had run in the click; a
// longer one shows the runner's panel after half a second, with what is
// being counted and a Cancel button.  A command cancelled or stopped at a
// limit of core/work.h delivers nothing, so the window keeps what it showed.
//
// The work must not share the library's strings with the window thread
// (their reference counts are not atomic): it gets plain texts, builds its
// own model, lets every string of its own die before it returns, and hands
// over a Delivery that holds plain results only (std::string, Cells,
// Lines, numbers).
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

#include "core/work.h"

class QLabel;
class QProgressBar;
class QPushButton;

class CommandRunner : public QObject {
  Q_OBJECT

 public:
  // Runs on the window thread with the work's result.
  using Delivery = std::function<void()>;
  // Runs on the worker thread.
  using Work = std::function<Delivery()>;

  explicit CommandRunner(QObject* parent = nullptr);
  // Cancels the command that runs and ends the thread.
  ~CommandRunner() override;

  // Starts `work` named `title` ("LR1 Items"); false when a command runs.
  bool start(const QString& title, Work work);
  bool busy() const { return job_ != nullptr; }
  QString title() const { return title_; }
  // Asks the running command to stop at its next note of work.
  void cancel();
  // Waits until the running command has ended and delivers what it left.
  void wait();
  // Limits for the commands started from now on (set while none runs).
  void setLimits(const WorkLimits& limits) { limits_ = limits; }

 signals:
  // The command still runs after half a second: time to show the panel.
  void slow(const QString& title);
  // What the command has counted so far, as "LR1 Items: 120,000 states (3 s)".
  void progress(const QString& text);
  // The command ended; when `delivered` is false it was cancelled or stopped.
  void finished(const QString& title, bool delivered);
  // A limit stopped the command, or it failed; `message` says why.
  void stopped(const QString& title, const QString& message);
  void failed(const QString& title, const QString& message);

 private:
  struct Job;
  struct Worker;
  // The worker thread's loop, and one command on it.
  void serve();
  void run(Job& job);
  void finish(const std::shared_ptr<Job>& job);
  void poll();

  std::unique_ptr<Worker> worker_;
  std::shared_ptr<Job> job_;
  QString title_;
  WorkLimits limits_;
  QTimer poll_;
  QElapsedTimer clock_;
  bool slowSignalled_ = false;
};

// The runner in the status line: what runs, what it has counted, a busy
// bar and Cancel.  Hidden while nothing runs or a command is still young.
class RunnerPanel : public QWidget {
  Q_OBJECT

 public:
  RunnerPanel(CommandRunner* runner, QWidget* parent = nullptr);
  QPushButton* cancelButton() const { return cancel_; }
  QString text() const;

 private:
  QLabel* label_;
  QProgressBar* bar_;
  QPushButton* cancel_;
};
