#include "core/hstring.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "core/fatal.h"

namespace {

const char kNoMemory[] = "Errore nel metodo HString::constructor(char*):  Memoria esaurita";
const char kBadIndex[] = "\nError in the method HString::operator[](int): indice fuori limite";
const char kBadFrom[] = "\nErrore nel metodo HString::getSubString(int): indice non consentito";
const char kBadRange[] =
    "\nErrore nel metodo HString::getSubString(int,int): indice non consentito";

// Every empty string points at this text, so empty strings cost no allocation.
char kEmpty[1] = {'\0'};

struct Decimal {
  char digits[12];
  int length;
};

Decimal decimal(int n) {
  Decimal d;
  d.length = static_cast<int>(std::to_chars(d.digits, d.digits + sizeof d.digits, n).ptr - d.digits);
  return d;
}

bool isIn(char c, const char* set) {
  for (; *set != '\0'; ++set)
    if (*set == c) return true;
  return false;
}

bool inRange(char c, int low, int high) {
  int code = static_cast<unsigned char>(c);
  return code >= low && code <= high;
}

}  // namespace

HString::Buffer* HString::newBuffer(int length) {
  void* memory = std::malloc(sizeof(Buffer) + static_cast<size_t>(length) + 1);
  if (memory == nullptr) return nullptr;
  Buffer* buffer = static_cast<Buffer*>(memory);
  buffer->references = 1;
  buffer->pinned = false;
  bytesOf(buffer)[length] = '\0';
  return buffer;
}

HString::HString() : text_(kEmpty), length_(0), buffer_(nullptr) {}

HString::HString(const char* text) : HString(text, static_cast<int>(std::strlen(text))) {}

HString::HString(const char* bytes, int length) : HString(Reserve{}, length) {
  if (length_ > 0) std::memcpy(text_, bytes, static_cast<size_t>(length_));
}

HString::HString(char c) : HString(&c, 1) {}

HString::HString(int n) : HString() {
  Decimal d = decimal(n);
  *this = HString(d.digits, d.length);
}

HString::HString(Reserve, int n) : text_(kEmpty), length_(0), buffer_(nullptr) {
  if (n <= 0) return;
  buffer_ = newBuffer(n);
  if (buffer_ == nullptr) fatal(kNoMemory);
  text_ = bytesOf(buffer_);
  length_ = n;
}

// A pinned buffer may be written through a reference handed out earlier,
// so its copies get buffers of their own.
HString::HString(const HString& other) : HString() {
  if (other.buffer_ != nullptr && other.buffer_->pinned) {
    assign(other.text_, other.length_);
    return;
  }
  text_ = other.text_;
  length_ = other.length_;
  buffer_ = other.buffer_;
  if (buffer_ != nullptr) ++buffer_->references;
}

HString::HString(HString&& other) noexcept : text_(other.text_), length_(other.length_), buffer_(other.buffer_) {
  other.text_ = kEmpty;
  other.length_ = 0;
  other.buffer_ = nullptr;
}

HString::~HString() { release(); }

void HString::release() {
  if (buffer_ != nullptr && --buffer_->references == 0) std::free(buffer_);
}

void HString::assign(const char* bytes, int length) {
  HString copy(bytes, length);  // built before the old buffer goes: bytes may lie in it
  *this = static_cast<HString&&>(copy);
}

HString HString::truncated(int length) {
  if (length == 0) return HString();
  text_[length] = '\0';
  length_ = length;
  return static_cast<HString&&>(*this);
}

void HString::unshare() {
  if (buffer_ != nullptr && buffer_->references > 1) assign(text_, length_);
}

char& HString::operator[](int position) {
  if (position < 0 || position >= length_) throw HStringError(kBadIndex);
  unshare();
  buffer_->pinned = true;
  return text_[position];
}

char HString::operator[](int position) const {
  if (position < 0 || position >= length_) throw HStringError(kBadIndex);
  return text_[position];
}

long HString::toLong() const {
  int i = 0;
  while (i < length_ && text_[i] == ' ') ++i;
  bool negative = false;
  if (i < length_ && (text_[i] == '+' || text_[i] == '-')) negative = text_[i++] == '-';
  long value = 0;
  for (; i < length_ && text_[i] >= '0' && text_[i] <= '9'; ++i) {
    int digit = text_[i] - '0';
    if (value > (LONG_MAX - digit) / 10) return negative ? LONG_MIN : LONG_MAX;
    value = value * 10 + digit;
  }
  return negative ? -value : value;
}

bool HString::operator==(const char* text) const {
  return std::strlen(text) == static_cast<size_t>(length_) &&
         std::memcmp(text_, text, static_cast<size_t>(length_)) == 0;
}

bool HString::operator==(const HString& other) const {
  return length_ == other.length_ &&
         std::memcmp(text_, other.text_, static_cast<size_t>(length_)) == 0;
}

int HString::compare(const char* text) const {
  int other = static_cast<int>(std::strlen(text));
  int common = std::min(length_, other);
  int c = std::memcmp(text_, text, static_cast<size_t>(common));
  if (c != 0) return c;
  return length_ - other;
}

HString HString::operator=(const char* text) {
  assign(text, static_cast<int>(std::strlen(text)));
  return *this;
}

HString HString::operator=(const HString& other) {
  if (this != &other) *this = HString(other);
  return *this;
}

HString& HString::operator=(HString&& other) noexcept {
  if (this != &other) {
    release();
    text_ = other.text_;
    length_ = other.length_;
    buffer_ = other.buffer_;
    other.text_ = kEmpty;
    other.length_ = 0;
    other.buffer_ = nullptr;
  }
  return *this;
}

HString HString::operator=(char c) {
  assign(&c, 1);
  return *this;
}

HString HString::operator=(int n) {
  Decimal d = decimal(n);
  assign(d.digits, d.length);
  return *this;
}

HString HString::operator+=(const char* text) { return *this = *this + text; }
HString HString::operator+=(const HString& other) { return *this = *this + other; }
HString HString::operator+=(char c) { return *this = *this + c; }
HString HString::operator+=(int n) { return *this = *this + n; }

HString HString::concat(const char* bytes, int length) const {
  int total = length_ + length;
  if (total == 0) return HString();
  HString result;
  result.buffer_ = newBuffer(total);
  if (result.buffer_ == nullptr) throw HStringError(kNoMemory);
  result.text_ = bytesOf(result.buffer_);
  result.length_ = total;
  std::memcpy(result.text_, text_, static_cast<size_t>(length_));
  std::memcpy(result.text_ + length_, bytes, static_cast<size_t>(length));
  return result;
}

HString HString::operator+(const char* text) const {
  return concat(text, static_cast<int>(std::strlen(text)));
}

HString HString::operator+(const HString& other) const { return concat(other.text_, other.length_); }

HString HString::operator+(char c) const { return concat(&c, 1); }

HString HString::operator+(int n) const {
  Decimal d = decimal(n);
  return concat(d.digits, d.length);
}

HString operator+(const char* text, const HString& s) { return HString(text) + s; }

// A suffix keeps the end of the text, NUL included: it shares the buffer.
HString HString::getSubString(int from) const {
  if (from < 0 || from > length_) throw HStringError(kBadFrom);
  if (from == length_) return HString();
  HString suffix(*this);
  suffix.text_ += from;
  suffix.length_ -= from;
  return suffix;
}

HString HString::getSubString(int from, int to) const {
  if (from < 0 || to < from || to > length_) throw HStringError(kBadRange);
  if (to == length_) return getSubString(from);
  return HString(text_ + from, to - from);
}

HString HString::getToken(const char* delimiters, int from) const {
  int i = std::max(from, 0);
  while (i < length_ && !isIn(text_[i], delimiters)) ++i;
  return getSubString(from, std::max(i, from));
}

HString HString::insert(int position, const char* text) const {
  return getSubString(0, position) + text + getSubString(position, length_);
}

HString HString::withoutChar(char c) const { return withoutRange(static_cast<unsigned char>(c), static_cast<unsigned char>(c)); }

HString HString::removeChar(char c) { return *this = withoutChar(c); }

HString HString::withoutRange(int low, int high) const {
  HString result(Reserve{}, length_);
  int kept = 0;
  for (int i = 0; i < length_; ++i)
    if (!inRange(text_[i], low, high)) result.text_[kept++] = text_[i];
  return result.truncated(kept);
}

HString HString::replace(const char* old, const char* replacement) const {
  int oldLength = static_cast<int>(std::strlen(old));
  int newLength = static_cast<int>(std::strlen(replacement));
  if (oldLength == 0) return *this;
  int matches = 0;
  for (int i = 0; i + oldLength <= length_;) {
    if (std::memcmp(text_ + i, old, static_cast<size_t>(oldLength)) == 0) {
      ++matches;
      i += oldLength;
    } else {
      ++i;
    }
  }
  HString result(Reserve{}, length_ + matches * (newLength - oldLength));
  int out = 0;
  for (int i = 0; i < length_;) {
    if (i + oldLength <= length_ && std::memcmp(text_ + i, old, static_cast<size_t>(oldLength)) == 0) {
      std::memcpy(result.text_ + out, replacement, static_cast<size_t>(newLength));
      out += newLength;
      i += oldLength;
    } else {
      result.text_[out++] = text_[i++];
    }
  }
  return result;
}

HString HString::sort() const {
  HString result(text_, length_);
  std::sort(result.text_, result.text_ + result.length_,
            [](char a, char b) { return static_cast<signed char>(a) < static_cast<signed char>(b); });
  return result;
}

HString HString::removeDuplicates() const {
  bool seen[256] = {};
  HString result(Reserve{}, length_);
  int kept = 0;
  for (int i = 0; i < length_; ++i) {
    unsigned char code = static_cast<unsigned char>(text_[i]);
    if (!seen[code]) {
      seen[code] = true;
      result.text_[kept++] = text_[i];
    }
  }
  return result.truncated(kept);
}

int HString::find(char c) const { return find(c, 0); }

int HString::find(char c, int from) const {
  if (from < 0 || from > length_) return -1;
  const void* hit = std::memchr(text_ + from, c, static_cast<size_t>(length_ - from));
  return hit == nullptr ? -1 : static_cast<int>(static_cast<const char*>(hit) - text_);
}

int HString::find(const char* text) const {
  std::string_view haystack = view();
  size_t at = haystack.find(text);
  return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

int HString::findInRange(int low, int high) const { return findInRange(low, high, 0); }

int HString::findInRange(int low, int high, int from) const {
  if (from < 0) return -1;
  for (int i = from; i < length_; ++i)
    if (inRange(text_[i], low, high)) return i;
  return -1;
}

int HString::count(const char* text) const {
  int textLength = static_cast<int>(std::strlen(text));
  int n = 0;
  for (int i = 0; i + textLength <= length_; ++i)
    if (std::memcmp(text_ + i, text, static_cast<size_t>(textLength)) == 0) ++n;
  return n;
}

int utf8SequenceLength(std::string_view text, size_t i) {
  unsigned char lead = static_cast<unsigned char>(text[i]);
  if (lead < 0x80) return 1;
  size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
  if (lead < 0xC2 || lead > 0xF4 || i + length > text.size()) return 0;
  for (size_t k = 1; k < length; ++k)
    if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return 0;
  unsigned char second = static_cast<unsigned char>(text[i + 1]);
  if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) || (lead == 0xF0 && second < 0x90) ||
      (lead == 0xF4 && second > 0x8F))
    return 0;
  return static_cast<int>(length);
}

std::string utf8ForDisplay(std::string_view text) {
  // Code points of the Windows-1252 bytes 0x80 .. 0x9F; its five undefined
  // bytes map to the C1 controls of the same value.
  static const char16_t kHigh[32] = {
      0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    // Plain ASCII, which almost every text is, is copied in runs.
    size_t ascii = i;
    while (ascii < text.size() && static_cast<unsigned char>(text[ascii]) < 0x80) ++ascii;
    if (ascii > i) {
      out.append(text.substr(i, ascii - i));
      i = ascii;
      continue;
    }
    int length = utf8SequenceLength(text, i);
    if (length > 0) {
      out.append(text.substr(i, static_cast<size_t>(length)));
      i += static_cast<size_t>(length);
      continue;
    }
    unsigned code = static_cast<unsigned char>(text[i++]);
    if (code < 0xA0) code = kHigh[code - 0x80];
    if (code < 0x800) {
      out += static_cast<char>(0xC0 | (code >> 6));
    } else {
      out += static_cast<char>(0xE0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    }
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
  return out;
}
