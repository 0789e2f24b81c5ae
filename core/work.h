// Bounds on the work of one command, and a way to stop it from outside.
//
// A client opens a WorkScope around a command; while it is open on a
// thread, the analyses running on that thread report their growth (states
// of an automaton, items, rows of a trace) through the note functions.
// A note that passes a limit, or finds that the client asked to cancel,
// throws WorkStopped: the command unwinds and leaves no result.  Without a
// scope the note functions only check the default limits.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

// The defaults are far above any grammar typed by hand (a few hundred
// states) and above the large benchmark grammars, which take seconds; an
// LR(1) collection that outgrows them would take minutes and gigabytes.
struct WorkLimits {
  long states = 1'000'000;                 // states of one automaton
  long items = 20'000'000;                 // items held by one automaton's states
  long rows = 2'000'000;                   // rows of one trace
  // What one command writes, in MiB: a trace repeats the rest of the word
  // on every row, so its text grows with the square of the word.
  long outputMiB = 256;
  // What one command reads, in MiB: a grammar of a million lines has 10.
  long inputMiB = 16;
  long memoryMiB = defaultMemoryMiB();     // resident memory of the process

  // 6 GiB, or three quarters of the machine's memory when it has less, so
  // that the limit comes before the system runs out.
  static long defaultMemoryMiB();
};

// What a running command has done so far, for a progress display.
struct WorkProgress {
  const char* what;  // "LR(1) states", "trace rows", ...
  long count;
};

class WorkStopped : public std::runtime_error {
 public:
  enum class Reason { kLimit, kCancelled };
  WorkStopped(Reason reason, const std::string& message) : std::runtime_error(message), reason_(reason) {}
  Reason reason() const { return reason_; }
  bool cancelled() const { return reason_ == Reason::kCancelled; }

 private:
  Reason reason_;
};

using ProgressReport = std::function<void(const WorkProgress&)>;

// Installs limits, a cancel flag and a progress report for the commands
// run on this thread until the scope closes.  Scopes nest; the innermost
// rules, and one without a cancel flag or report keeps those of the scope
// around it.  The cancel flag and the report must outlive the scope; the
// report is called on the working thread, at most every few milliseconds.
class WorkScope {
 public:
  explicit WorkScope(const WorkLimits& limits = {}, const std::atomic<bool>* cancel = nullptr,
                     ProgressReport report = {});
  ~WorkScope();
  WorkScope(const WorkScope&) = delete;
  WorkScope& operator=(const WorkScope&) = delete;

  const WorkLimits& limits() const { return limits_; }

 private:
  friend class WorkCheck;
  WorkLimits limits_;
  const std::atomic<bool>* cancel_;
  ProgressReport report_;
  WorkScope* outer_;
  long ticks_ = 0;
  std::int64_t lastLook_;  // when the memory was last read, in microseconds
};

// The limits in force on this thread.
const WorkLimits& currentLimits();

// An automaton of `what` ("LR(1) collection") now holds `states` states and
// `items` items in all.
void noteStates(const char* what, long states, long items);
// A trace now holds `rows` rows.
void noteRows(long rows);
// A result to be written (or a trace, whose text is written as it stands)
// now holds `bytes` bytes; `what` names it in the message.  This note and
// the next check their limits only inside a scope, where a stop is caught.
void noteOutput(long bytes, const char* what = "The output");
// What a command reads (`what`: "The grammar") now holds `bytes` bytes.
void noteInput(long bytes, const char* what);
// A unit of work that adds nothing countable (a step of a search, an item
// of a closure, a line of a listing): checks the cancel flag and, now and
// then, the memory.
void noteWork();
