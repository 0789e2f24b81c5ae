// The numbers 0, 1, 2, ... of things kept elsewhere, found by a hash of
// them: an open-addressed table with linear probing, for what is looked up
// millions of times (kernels of states, lookahead texts, derived lookaheads,
// the stacks an evaluation met).  The caller keeps the things in the order it added
// them and says, for a number, whether that thing equals the one sought.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
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
  // Forgets every number; costs what was added, not the table's size.
  void clear() {
    for (size_t number = 0; number < hashes_.size(); ++number) {
      size_t at = hashes_[number] & (slots_.size() - 1);
      while (slots_[at] != static_cast<int>(number)) at = (at + 1) & (slots_.size() - 1);
      slots_[at] = -1;
    }
    hashes_.clear();
  }

  // A hash that mixes in one value after another.
  static std::uint64_t mix(std::uint64_t hash, std::uint64_t value) {
    hash ^= value + 0x9E3779B97F4A7C15ull + (hash << 6) + (hash >> 2);
    hash *= 0xBF58476D1CE4E5B9ull;
    return hash ^ (hash >> 31);
  }
  // A text's hash, eight bytes at a time.
  static std::uint64_t hashOf(std::string_view text) {
    std::uint64_t hash = text.size();
    size_t at = 0;
    for (; at + 8 <= text.size(); at += 8) {
      std::uint64_t word;
      std::memcpy(&word, text.data() + at, sizeof word);
      hash = mix(hash, word);
    }
    std::uint64_t rest = 0;
    std::memcpy(&rest, text.data() + at, text.size() - at);
    return mix(hash, rest);
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
