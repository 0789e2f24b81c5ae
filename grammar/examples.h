// The twelve built-in example grammars, each with a word to parse.
#pragma once

#include <array>

#include "core/hstring.h"

struct Example {
  const char* name;      // "Grammar1" ... "Grammar12"
  const char* lines[7];  // editor lines, ended by nullptr
  const char* word;
};

inline constexpr int kExampleCount = 12;

// Example k + 1 is examples()[k].
const std::array<Example, kExampleCount>& examples();

// The example's lines as the editor gives them: joined by CR LF.
HString editorTextOf(const Example& example);
