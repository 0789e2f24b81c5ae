#include "core/work.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdint>
#include <cstdlib>

#ifdef __EMSCRIPTEN__
#include <emscripten/heap.h>
#endif

namespace {

thread_local WorkScope* current = nullptr;

const WorkLimits kDefaults;

#ifdef __EMSCRIPTEN__
// WebAssembly: the module's heap, which grows and never shrinks, up to the
// most the module was linked to reach, which stands for the machine here.
long residentMiB() { return static_cast<long>(emscripten_get_heap_size() / (1024 * 1024)); }
long machineMiB() { return static_cast<long>(emscripten_get_heap_max() / (1024 * 1024)); }
#else
// Resident memory in MiB, from the kernel's page counts; 0 when unknown.
// The file stays open: it is read again at every look.
long residentMiB() {
  static const int statm = open("/proc/self/statm", O_RDONLY | O_CLOEXEC);
  static const long pageKiB = sysconf(_SC_PAGESIZE) / 1024;
  char text[128];
  ssize_t length = statm < 0 ? -1 : pread(statm, text, sizeof text - 1, 0);
  if (length <= 0) return 0;
  text[length] = '\0';
  char* rest = nullptr;
  std::strtol(text, &rest, 10);  // the size of the address space comes first
  return std::strtol(rest, nullptr, 10) * pageKiB / 1024;
}

// The machine's memory in MiB; 0 when unknown.
long machineMiB() {
  long pages = sysconf(_SC_PHYS_PAGES), pageSize = sysconf(_SC_PAGESIZE);
  return pages > 0 && pageSize > 0 ? pages / 1024 * pageSize / 1024 : 0;
}
#endif

// 64 bits: a `long` of microseconds overflows in 36 minutes where it has 32 (wasm32).
std::int64_t microsecondsNow() {
  return static_cast<std::int64_t>(std::chrono::duration_cast<std::chrono::microseconds>(
                               std::chrono::steady_clock::now().time_since_epoch())
                               .count());
}

[[noreturn]] void stopAtLimit(const std::string& what) {
  throw WorkStopped(WorkStopped::Reason::kLimit, what + "; that is the limit of one command.");
}

}  // namespace

long WorkLimits::defaultMemoryMiB() {
  static const long kMiB = [] {
    long machine = machineMiB();
    return machine > 0 ? std::min(6'144L, machine / 4 * 3) : 6'144L;
  }();
  return kMiB;
}

// The checks every note makes, with the scope's state at hand.
class WorkCheck {
 public:
  // Notes come at up to a hundred million a second: every 1024th looks at
  // the clock, and every few milliseconds the memory is read and the
  // progress reported.
  static void tick(const char* what, long count) {
    WorkScope* scope = current;
    if (scope == nullptr) return;
    if (scope->cancel_ != nullptr && scope->cancel_->load(std::memory_order_relaxed))
      throw WorkStopped(WorkStopped::Reason::kCancelled, "Cancelled.");
    if ((++scope->ticks_ & 1023) != 0) return;
    std::int64_t now = microsecondsNow();
    if (now - scope->lastLook_ < kLookEveryMicroseconds) return;
    scope->lastLook_ = now;
    if (residentMiB() > scope->limits_.memoryMiB)
      stopAtLimit("The command needs more than " + std::to_string(scope->limits_.memoryMiB) + " MiB of memory");
    if (scope->report_) scope->report_(WorkProgress{what, count});
  }

 private:
  static constexpr long kLookEveryMicroseconds = 4'000;
};

WorkScope::WorkScope(const WorkLimits& limits, const std::atomic<bool>* cancel, ProgressReport report)
    : limits_(limits), cancel_(cancel), report_(std::move(report)), outer_(current), lastLook_(microsecondsNow()) {
  // A client that wraps another (the page around the command-line tool)
  // hears of the inner command's progress and can cancel it.
  if (outer_ != nullptr) {
    if (cancel_ == nullptr) cancel_ = outer_->cancel_;
    if (!report_) report_ = outer_->report_;
  }
  current = this;
}

WorkScope::~WorkScope() { current = outer_; }

const WorkLimits& currentLimits() { return current != nullptr ? current->limits() : kDefaults; }

void noteStates(const char* what, long states, long items) {
  const WorkLimits& limits = currentLimits();
  if (states > limits.states)
    stopAtLimit(std::string("The ") + what + " has more than " + std::to_string(limits.states) + " states");
  if (items > limits.items)
    stopAtLimit(std::string("The ") + what + " has more than " + std::to_string(limits.items) + " items");
  WorkCheck::tick("states", states);
}

void noteRows(long rows) {
  const WorkLimits& limits = currentLimits();
  if (rows > limits.rows) stopAtLimit("The trace has more than " + std::to_string(limits.rows) + " rows");
  WorkCheck::tick("trace rows", rows);
}

namespace {

// Only inside a scope: a client writing on its own thread what a command
// computed (a window copying a table) would have no way to stop.
void noteBytes(long bytes, long limitMiB, const char* what) {
  if (current == nullptr) return;
  if (limitMiB < (LONG_MAX >> 20) && bytes > (limitMiB << 20))
    stopAtLimit(std::string(what) + " has more than " + std::to_string(limitMiB) + " MiB");
  WorkCheck::tick("bytes", bytes);
}

}  // namespace

void noteOutput(long bytes, const char* what) { noteBytes(bytes, currentLimits().outputMiB, what); }

void noteInput(long bytes, const char* what) { noteBytes(bytes, currentLimits().inputMiB, what); }

void noteWork() { WorkCheck::tick("steps", 0); }
