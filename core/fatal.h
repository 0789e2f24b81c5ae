// The containers' fatal failure: a fixed message on standard error, then the
// process ends at once, without clean-up, with a failure status.
#pragma once

// Exit status of a fatal container failure (an internal fault of the program).
inline constexpr int kFatalExitStatus = 70;

[[noreturn]] void fatal(const char* message);
