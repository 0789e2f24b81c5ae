// libFuzzer targets: every input is a word and an editor text (see
// checkEverything); a property that fails is reported and ends the run.
// One binary per target of fuzzTargets(), chosen when it is built
// (TABLOMAT_FUZZ_TARGET): the fast ones run a part of the tool thousands
// of times a second on inputs of many kilobytes, the analysis target runs
// everything on inputs of up to 4 KB.
//
// Each input runs under limits far below the tool's: under the sanitizers
// an LR(1) collection of a few hundred states takes a tenth of a second,
// every input builds it about ten times (each table, listing and
// evaluation, and the cross-checks), and libFuzzer runs an input twice
// when it looks for leaks.  The limits keep an input within a few seconds,
// well under the fuzzer's timeout, and still take the statement grammar of
// the benchmark (486 LR(1) states) in full.  The literal item-list
// operations, whose time grows with the square of the states, are asked
// for collections of up to 100 states (a second under the sanitizers); the
// corpus test asks them up to 300.  An input stopped at a limit is a legitimate outcome
// (the tool reports it so too); the inputs within the limits are checked
// in full.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "core/work.h"
#include "fuzz/properties.h"

namespace {

constexpr size_t kFuzzedOracle = 100;

WorkLimits fuzzLimits() {
  WorkLimits limits;
  limits.states = 600;
  limits.items = 12'000;
  limits.rows = 5'000;
  limits.memoryMiB = 3'000;  // below the fuzzer's own -rss_limit_mb
  return limits;
}

FuzzTarget builtTarget() {
  for (const FuzzTargetInfo& info : fuzzTargets())
    if (std::string_view(info.name) == TABLOMAT_FUZZ_TARGET) return info.target;
  std::fprintf(stderr, "no fuzz target %s\n", TABLOMAT_FUZZ_TARGET);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> problems;
  try {
    WorkScope scope(fuzzLimits());
    static const FuzzTarget target = builtTarget();
    std::string_view input(reinterpret_cast<const char*>(data), size);
    problems = target == FuzzTarget::kAnalysis ? checkEverything(input, kFuzzedOracle) : checkTarget(target, input);
  } catch (const WorkStopped&) {
    return 0;
  }
  for (const std::string& problem : problems) std::fprintf(stderr, "property failed: %s\n", problem.c_str());
  if (!problems.empty()) std::abort();
  return 0;
}
