#include "core/fatal.h"

#include <cstdio>
#include <cstdlib>

void fatal(const char* message) {
  std::fputs(message, stderr);
  std::fflush(stderr);
  std::_Exit(kFatalExitStatus);
}
