// For the golden tests: an output compared with the file that holds it, a
// difference shown as a unified diff (`diff -u`), and the file written anew
// instead when TABLOMAT_UPDATE_GOLDEN is set.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace golden {

namespace fs = std::filesystem;

inline bool updating() { return std::getenv("TABLOMAT_UPDATE_GOLDEN") != nullptr; }

inline std::string contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

inline void write(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

// `diff -u` of the two texts through temporary files, cut after 120 lines;
// --text, because a few outputs carry the control characters of their input.
inline std::string unifiedDiff(const fs::path& expectedFile, const std::string& actual) {
  fs::path actualFile = fs::path(testing::TempDir()) / ("actual-" + expectedFile.filename().string());
  write(actualFile, actual);
  std::string command = "diff -u --text --label '" + expectedFile.string() + "' --label actual '" +
                        expectedFile.string() + "' '" + actualFile.string() + "' | head -n 120";
  std::string diff;
  if (std::FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) diff.append(buffer, n);
    pclose(pipe);
  }
  fs::remove(actualFile);
  return diff.empty() ? "(diff printed nothing: is it installed?)\n" : diff;
}

// Passes when `actual` is the file's text; writes it there when updating.
inline testing::AssertionResult matchesFile(const fs::path& file, const std::string& actual,
                                            const std::string& updateHint) {
  if (updating()) {
    write(file, actual);
    return testing::AssertionSuccess();
  }
  if (!fs::exists(file))
    return testing::AssertionFailure() << file.string() << " is missing; write it with " << updateHint;
  if (contents(file) == actual) return testing::AssertionSuccess();
  return testing::AssertionFailure() << "the output differs from " << file.string() << ":\n"
                                     << unifiedDiff(file, actual) << "If the change is meant, write it with "
                                     << updateHint << " and review the diff before committing.";
}

}  // namespace golden
