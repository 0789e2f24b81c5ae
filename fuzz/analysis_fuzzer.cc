// libFuzzer target: every input is an editor text and a word (see
// checkEverything); a property that fails is reported and ends the run.
//
// Each input runs under limits far below the tool's: under the sanitizers
// an LR(1) collection of a few thousand states or a trace of tens of
// thousands of rows already takes seconds, and every analysis runs several
// times per input.  An input stopped at a limit is a legitimate outcome
// (the tool reports it so too); the inputs within the limits are checked
// in full.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "core/work.h"
#include "fuzz/properties.h"

namespace {

WorkLimits fuzzLimits() {
  WorkLimits limits;
  limits.states = 3'000;
  limits.items = 60'000;
  limits.rows = 20'000;
  limits.memoryMiB = 3'000;  // below the fuzzer's own -rss_limit_mb
  return limits;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> problems;
  try {
    WorkScope scope(fuzzLimits());
    problems = checkEverything(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const WorkStopped&) {
    return 0;
  }
  for (const std::string& problem : problems) std::fprintf(stderr, "property failed: %s\n", problem.c_str());
  if (!problems.empty()) std::abort();
  return 0;
}
