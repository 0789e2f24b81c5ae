#include "cli/input.h"

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "core/work.h"

std::string readInput(const std::string& path, const char* what) {
  bool standardInput = path.empty() || path == "-";
  std::string name = standardInput ? std::string("standard input") : path;
  if (standardInput && isatty(STDIN_FILENO))
    std::cerr << "tablomat-cli: reading the " << what << " from the terminal; end it with Ctrl-D\n";
  std::FILE* stream = standardInput ? stdin : std::fopen(path.c_str(), "rb");
  if (stream == nullptr) throw InputError("cannot open " + path + ": " + std::strerror(errno));
  struct Closer {
    std::FILE* stream;
    bool own;
    ~Closer() {
      if (own) std::fclose(stream);
    }
  } closer{stream, !standardInput};
  std::string bytes;
  char buffer[65536];
  std::string named = "The " + std::string(what);
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, stream)) > 0;) {
    bytes.append(buffer, n);
    noteInput(static_cast<long>(bytes.size()), named.c_str());
  }
  if (std::ferror(stream)) throw InputError("cannot read " + name + ": " + std::strerror(errno));
  return bytes;
}

CLI::Option* addNotationOption(CLI::App& app, Notation& notation) {
  return app
      .add_option_function<std::string>(
          "--notation",
          [&notation](const std::string& name) { notation = name == "tokens" ? Notation::kTokens : Notation::kClassic; },
          "classic or tokens: the notation of a grammar that declares none (default classic)")
      ->type_name("N")
      ->check(CLI::IsMember({"classic", "tokens"}));
}

std::string notationMisuse(const CLI::Option& notationOption, const CLI::Option& exampleOption) {
  if (notationOption.count() == 0 || exampleOption.count() == 0) return "";
  return "--notation applies to a grammar file; the examples are in the classic notation";
}
