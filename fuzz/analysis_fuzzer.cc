// libFuzzer target: every input is an editor text and a word (see
// checkEverything); a property that fails is reported and ends the run.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "fuzz/properties.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> problems = checkEverything(std::string_view(reinterpret_cast<const char*>(data), size));
  for (const std::string& problem : problems) std::fprintf(stderr, "property failed: %s\n", problem.c_str());
  if (!problems.empty()) std::abort();
  return 0;
}
