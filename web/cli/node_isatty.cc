// isatty for the tool under Node.js: emscripten's own answers yes for the
// standard streams whatever they are, and the tool tells a user at a
// terminal how to end the grammar, which a pipe or a file must not hear.
#include <emscripten/emscripten.h>

EM_JS(int, nodeIsatty, (int fd), { return require('tty').isatty(fd) ? 1 : 0; });

extern "C" int isatty(int fd) { return nodeIsatty(fd); }
