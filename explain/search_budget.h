// The bounds of one counterexample search: a number of steps, which makes
// the outcome the same on every machine, and a deadline on the clock,
// which keeps a slow machine from waiting long.  Every step also lets the
// client cancel the command (noteWork throws WorkStopped).
#pragma once

#include <chrono>

class SearchBudget {
 public:
  using Clock = std::chrono::steady_clock;
  enum class End { kNone, kSteps, kTime };

  SearchBudget(long steps, Clock::time_point deadline) : steps_(steps), deadline_(deadline) {}

  // Takes one step; false once the steps or the time have run out.
  bool step();
  // Why the budget ran out, if it did.
  End end() const { return end_; }
  long used() const { return used_; }

 private:
  long steps_;
  Clock::time_point deadline_;
  long used_ = 0;
  End end_ = End::kNone;
};
