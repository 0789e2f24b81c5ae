// A small pseudo-random generator whose sequence is fixed by its seed on
// every machine and with every standard library: exercises are shared by
// their seed, so the seed alone must give the same grammar everywhere.
// The standard distributions are implementation-defined; this one is not.
//
// The state advances by SplitMix64 (Steele, Lea and Flood, "Fast splittable
// pseudorandom number generators", OOPSLA 2014), whose outputs pass
// BigCrush; numbers below a bound are drawn by rejection, so every value is
// equally likely.
#pragma once

#include <cstdint>
#include <vector>

class SeededRandom {
 public:
  explicit SeededRandom(std::uint64_t seed) : state_(seed) {}

  // The next 64 random bits.
  std::uint64_t next();
  // A number in 0 .. bound - 1; bound > 0.
  int below(int bound);
  // A number in low .. high.
  int between(int low, int high) { return low + below(high - low + 1); }
  // True with the given chance in percent.
  bool percent(int chance) { return below(100) < chance; }
  // An element of a non-empty vector.
  template <class T>
  const T& pick(const std::vector<T>& items) {
    return items[static_cast<std::size_t>(below(static_cast<int>(items.size())))];
  }
  // The elements in a random order (Fisher and Yates).
  template <class T>
  void shuffle(std::vector<T>& items) {
    for (std::size_t i = items.size(); i > 1; --i) {
      std::size_t j = static_cast<std::size_t>(below(static_cast<int>(i)));
      std::swap(items[i - 1], items[j]);
    }
  }

 private:
  std::uint64_t state_;
};
