// HString: the program's own text string.  An 8-bit character buffer on the
// heap with its length beside it and value semantics; every symbol string,
// production, item text, table cell and message is one.
//
// Every copy is independent, but copies share their buffer until one of
// them is written to, and a suffix shares the buffer of its string: an
// evaluation trace holds the rest of the input in every row, and these
// copies must not cost its length.  A string that handed out a writable
// character reference is never shared again: its copies get buffers of
// their own, so a write through the reference changes this string alone.
//
// Two failure channels: running out of memory while building a buffer ends
// the process with a fixed message on standard error; bad positions (and
// running out of memory in a concatenation) throw HStringError, whose what()
// is the fixed message text.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

// The exception thrown by string operations; what() is the fixed message.
class HStringError : public std::runtime_error {
 public:
  explicit HStringError(const char* message) : std::runtime_error(message) {}
};

class HString {
 public:
  // Tag of the reserving constructor.
  struct Reserve {};

  HString();
  HString(const char* text);  // NOLINT: texts convert implicitly, as literals do.
  // Exactly `length` bytes of `bytes`; they may hold NUL bytes (user input).
  HString(const char* bytes, int length);
  explicit HString(char c);
  explicit HString(int n);
  // Length n, a buffer of n + 1 bytes with a NUL at n and unspecified content.
  HString(Reserve, int n);
  HString(const HString& other);
  HString(HString&& other) noexcept;
  ~HString();

  // The text (read-only, valid while the string lives and is not assigned).
  const char* getString() const { return text_; }
  int getLength() const { return length_; }
  std::string_view view() const { return {text_, static_cast<size_t>(length_)}; }
  // The character at a position in 0 .. length - 1; throws outside.
  char& operator[](int position);
  char operator[](int position) const;
  // Leading blanks, an optional sign, then decimal digits; 0 if none.
  long toLong() const;

  bool operator==(const char* text) const;
  bool operator==(const HString& other) const;
  bool operator!=(const char* text) const { return !(*this == text); }
  bool operator!=(const HString& other) const { return !(*this == other); }
  // Three-way comparison by byte values.
  int compare(const char* text) const;

  // Assignment and appending return a copy of the new value.
  HString operator=(const char* text);
  HString operator=(const HString& other);
  // Taking over a temporary's buffer returns the string itself: a copy of
  // the value would cost the very allocation the move saves.
  HString& operator=(HString&& other) noexcept;
  HString operator=(char c);
  HString operator=(int n);
  HString operator+=(const char* text);
  HString operator+=(const HString& other);
  HString operator+=(char c);
  HString operator+=(int n);

  HString operator+(const char* text) const;
  HString operator+(const HString& other) const;
  HString operator+(char c) const;
  HString operator+(int n) const;
  friend HString operator+(const char* text, const HString& s);

  // Characters from `from` to the end; 0 <= from <= length.
  HString getSubString(int from) const;
  // Characters at from .. to - 1; 0 <= from <= to <= length.
  HString getSubString(int from, int to) const;
  // From `from` up to the first character found in `delimiters`, or the end.
  HString getToken(const char* delimiters, int from) const;
  HString insert(int position, const char* text) const;
  HString withoutChar(char c) const;
  // Removes every c from the string itself and returns the new value.
  HString removeChar(char c);
  // Without every character whose code (0..255) lies in low .. high.
  HString withoutRange(int low, int high) const;
  // Every non-overlapping occurrence of `old` (never empty) replaced, left to right.
  HString replace(const char* old, const char* replacement) const;
  // Characters in ascending order of their signed 8-bit codes.
  HString sort() const;
  // Each character once, at its first occurrence.
  HString removeDuplicates() const;

  int find(char c) const;
  int find(char c, int from) const;
  int find(const char* text) const;
  int findInRange(int low, int high) const;
  int findInRange(int low, int high, int from) const;
  // Positions at which text starts, overlapping ones included.
  int count(const char* text) const;

 private:
  // Replaces the buffer by a copy of the given bytes (built before the old is freed).
  void assign(const char* bytes, int length);
  // A new string holding this one's text followed by the given bytes.
  HString concat(const char* bytes, int length) const;
  void release();
  // A fresh string (of its own buffer) cut to its first `length` characters.
  HString truncated(int length);
  // Gives the string a buffer of its own before a character is written.
  void unshare();

  // A buffer shared by copies: a reference count, whether a writable
  // reference into it was handed out, the characters behind it.
  struct Buffer {
    int references;
    bool pinned;
  };
  static Buffer* newBuffer(int length);
  static char* bytesOf(Buffer* buffer) { return reinterpret_cast<char*>(buffer + 1); }

  char* text_;      // the characters, NUL-terminated, inside buffer_
  int length_;
  Buffer* buffer_;  // nullptr for the empty text
};

// A text as UTF-8 for display.  What the user typed arrives as UTF-8 and
// stays; every byte that is no part of a UTF-8 sequence is a Windows-1252
// character, as the dot marker 0xB0 of the item texts ("°").
std::string utf8ForDisplay(std::string_view text);
// The text without the UTF-8 byte order mark an editor may have put first.
inline std::string_view withoutByteOrderMark(std::string_view text) {
  return text.starts_with("\xEF\xBB\xBF") ? text.substr(3) : text;
}

// The length of the UTF-8 sequence starting at text[i], or 0 when none does.
int utf8SequenceLength(std::string_view text, size_t i);
