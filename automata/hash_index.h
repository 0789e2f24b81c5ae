// The numbers 0, 1, 2, ... of things kept elsewhere, found by a hash of
// them: an open-addressed table with linear probing, which is what the
// automata look up millions of times (kernels of states, lookahead texts,
// derived lookaheads).  The caller keeps the things in the order it added
// them and says, for a number, whether that thing equals the one sought.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

class HashIndex {
 public:
  // The number of a thing of this hash for which `equal(number)` holds, or -1.
  template <class Equal>
  int find(std::uint64_t hash, Equal equal) const {
    if (slots_.empty()) return -1;
    for (size_t at = hash & (slots_.size() - 1);; at = (at + 1) & (slots_.size() - 1)) {
      int number = slots_[at];
      if (number == -1) return -1;
      if (hashes_[static_cast<size_t>(number)] == hash && equal(number)) return number;
    }
  }
  // Gives the next number to a thing of this hash and returns it.
  int add(std::uint64_t hash) {
    int number = static_cast<int>(hashes_.size());
    hashes_.push_back(hash);
    if (2 * hashes_.size() > slots_.size()) {
      slots_.assign(std::max<size_t>(64, slots_.size() * 2), -1);
      for (size_t k = 0; k < hashes_.size(); ++k) place(static_cast<int>(k));
    } else {
      place(number);
    }
    return number;
  }
  size_t size() const { return hashes_.size(); }

  // A hash that mixes in one value after another.
  static std::uint64_t mix(std::uint64_t hash, std::uint64_t value) {
    hash ^= value + 0x9E3779B97F4A7C15ull + (hash << 6) + (hash >> 2);
    hash *= 0xBF58476D1CE4E5B9ull;
    return hash ^ (hash >> 31);
  }
  static std::uint64_t hashOf(std::string_view text) {
    std::uint64_t hash = text.size();
    for (unsigned char c : text) hash = (hash ^ c) * 0x100000001B3ull;
    return mix(hash, 0);
  }

 private:
  void place(int number) {
    size_t at = hashes_[static_cast<size_t>(number)] & (slots_.size() - 1);
    while (slots_[at] != -1) at = (at + 1) & (slots_.size() - 1);
    slots_[at] = number;
  }

  std::vector<std::uint64_t> hashes_;  // by number
  std::vector<int> slots_;             // a number, or -1 for a free slot
};
