// What a command reads: a grammar or an answer from a file or standard
// input, under the limit of the input, so that a device without end or a
// file of gigabytes stops at once with a message instead of filling memory.
#pragma once

#include <stdexcept>
#include <string>

#include "grammar/grammar.h"

namespace CLI {
class App;
class Option;
}  // namespace CLI

// A file that cannot be opened or read; what() is the message.
class InputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The bytes of the file at `path`, or of standard input when it is "" or
// "-"; `what` names them in messages ("grammar", "answer").  Throws
// InputError, or WorkStopped past the limit of the input.
std::string readInput(const std::string& path, const char* what);

// Adds --notation classic|tokens: the notation of a grammar that does not
// declare one (a declaration, "#notation: tokens" first, always wins).
CLI::Option* addNotationOption(CLI::App& app, Notation& notation);
// The message for --notation beside --example, whose grammars are classic, or "".
std::string notationMisuse(const CLI::Option& notationOption, const CLI::Option& exampleOption);
