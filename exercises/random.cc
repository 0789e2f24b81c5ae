#include "exercises/random.h"

std::uint64_t SeededRandom::next() {
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

int SeededRandom::below(int bound) {
  // The largest multiple of bound that fits: values at or above it would
  // favour the small results.
  std::uint64_t range = static_cast<std::uint64_t>(bound);
  std::uint64_t limit = UINT64_MAX - UINT64_MAX % range;
  std::uint64_t value;
  do value = next();
  while (value >= limit);
  return static_cast<int>(value % range);
}
