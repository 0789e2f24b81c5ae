#include "core/work.h"

#include <chrono>
#include <cstdio>
#include <unistd.h>

namespace {

thread_local WorkScope* current = nullptr;

const WorkLimits kDefaults;

// Resident memory in MiB, from the kernel's page counts; 0 when unknown.
long residentMiB() {
  std::FILE* statm = std::fopen("/proc/self/statm", "r");
  if (statm == nullptr) return 0;
  long size = 0, resident = 0;
  int read = std::fscanf(statm, "%ld %ld", &size, &resident);
  std::fclose(statm);
  if (read != 2) return 0;
  return resident * (sysconf(_SC_PAGESIZE) / 1024) / 1024;
}

}  // namespace

// The checks every note makes, with the scope's state at hand.
class WorkCheck {
 public:
  // Every 4096th note looks at the memory and the clock: both cost a
  // system call, and notes come at millions a second.
  static void tick(const char* what, long count) {
    WorkScope* scope = current;
    if (scope == nullptr) return;
    if (scope->cancel_ != nullptr && scope->cancel_->load(std::memory_order_relaxed))
      throw WorkStopped(WorkStopped::Reason::kCancelled, "Cancelled.");
    if ((++scope->ticks_ & 4095) != 0) return;
    long memory = residentMiB();
    if (memory > scope->limits_.memoryMiB)
      throw WorkStopped(WorkStopped::Reason::kLimit, "The command needs more than " +
                                                         std::to_string(scope->limits_.memoryMiB) +
                                                         " MiB of memory, the limit of one command.");
    if (scope->report_) scope->report_(WorkProgress{what, count});
  }
};

WorkScope::WorkScope(const WorkLimits& limits, const std::atomic<bool>* cancel, ProgressReport report)
    : limits_(limits), cancel_(cancel), report_(std::move(report)), outer_(current) {
  current = this;
}

WorkScope::~WorkScope() { current = outer_; }

const WorkLimits& currentLimits() { return current != nullptr ? current->limits() : kDefaults; }

void noteStates(const char* what, long states, long items) {
  const WorkLimits& limits = currentLimits();
  if (states > limits.states)
    throw WorkStopped(WorkStopped::Reason::kLimit, std::string("The ") + what + " has more than " +
                                                       std::to_string(limits.states) +
                                                       " states, the limit of one command.");
  if (items > limits.items)
    throw WorkStopped(WorkStopped::Reason::kLimit, std::string("The ") + what + " has more than " +
                                                       std::to_string(limits.items) +
                                                       " items, the limit of one command.");
  WorkCheck::tick("states", states);
}

void noteRows(long rows) {
  const WorkLimits& limits = currentLimits();
  if (rows > limits.rows)
    throw WorkStopped(WorkStopped::Reason::kLimit, "The trace has more than " + std::to_string(limits.rows) +
                                                       " rows, the limit of one command.");
  WorkCheck::tick("trace rows", rows);
}

void noteWork() { WorkCheck::tick("steps", 0); }
