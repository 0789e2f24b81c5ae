#include "core/hstring.h"

#include <gtest/gtest.h>

#include "core/hlist.h"

namespace {

std::string str(const HString& s) { return std::string(s.view()); }

TEST(HStringTest, SubstringsAtTheirBounds) {
  HString s("abc");
  EXPECT_EQ(str(s.getSubString(3)), "");
  EXPECT_EQ(str(s.getSubString(1)), "bc");
  EXPECT_EQ(str(s.getSubString(2, 2)), "");
  EXPECT_EQ(str(s.getSubString(0, 2)), "ab");
}

TEST(HStringTest, BadPositionsThrowTheFixedMessages) {
  HString s("abc");
  try {
    s.getSubString(4);
    FAIL();
  } catch (const HStringError& e) {
    EXPECT_STREQ(e.what(), "\nErrore nel metodo HString::getSubString(int): indice non consentito");
  }
  try {
    s.getSubString(3, 2);
    FAIL();
  } catch (const HStringError& e) {
    EXPECT_STREQ(e.what(), "\nErrore nel metodo HString::getSubString(int,int): indice non consentito");
  }
  try {
    s[3] = 'x';
    FAIL();
  } catch (const HStringError& e) {
    EXPECT_STREQ(e.what(), "\nError in the method HString::operator[](int): indice fuori limite");
  }
  EXPECT_THROW(s.getToken("|", 4), HStringError);
  EXPECT_THROW(s.insert(5, "x"), HStringError);
  EXPECT_EQ(str(s), "abc");  // unchanged by the failed operations
}

TEST(HStringTest, ReplaceIsOneNonOverlappingPass) {
  HString s("a\r\r\r\rb");
  EXPECT_EQ(str(s.replace("\r\r", "\r")), "a\r\rb");
  while (s.find("\r\r") != -1) s = s.replace("\r\r", "\r");
  EXPECT_EQ(str(s), "a\rb");
  EXPECT_EQ(str(HString("xax").replace("x", "yyy")), "yyyayyy");
  EXPECT_EQ(str(HString("\x01" "ab\x01").replace("\x01", "\x01" "c")), "\x01" "cab\x01" "c");
}

TEST(HStringTest, SearchAndCount) {
  HString s("aaa");
  EXPECT_EQ(s.count("aa"), 2);
  EXPECT_EQ(s.find("aa"), 0);
  EXPECT_EQ(s.find("b"), -1);
  EXPECT_EQ(s.find(""), 0);
  EXPECT_EQ(HString("abcabc").find('c', 3), 5);
  EXPECT_EQ(HString("ab\x05" "c\x07").findInRange(1, 30, 3), 4);
  EXPECT_EQ(HString("abc").findInRange(1, 30), -1);
}

TEST(HStringTest, EditingOperations) {
  EXPECT_EQ(str(HString("abcab").removeDuplicates()), "abc");
  EXPECT_EQ(str(HString("cab").sort()), "abc");
  EXPECT_EQ(str(HString("a-b-c").withoutChar('-')), "abc");
  EXPECT_EQ(str(HString("a\x01" "b\x1e" "c\x1f").withoutRange(1, 30)), "abc\x1f");
  EXPECT_EQ(str(HString("S->x").insert(3, "\xB0")), "S->\xB0x");
  EXPECT_EQ(str(HString("ab|cd").getToken("|", 0)), "ab");
  EXPECT_EQ(str(HString("ab|cd").getToken("|", 3)), "cd");
  HString s("x y z");
  EXPECT_EQ(str(s.removeChar(' ')), "xyz");
  EXPECT_EQ(str(s), "xyz");
}

TEST(HStringTest, IntegerConversions) {
  EXPECT_EQ(str(HString(0)), "0");
  EXPECT_EQ(str(HString(-7)), "-7");
  EXPECT_EQ(HString("12x").toLong(), 12);
  EXPECT_EQ(HString("x").toLong(), 0);
  EXPECT_EQ(HString("  -42").toLong(), -42);
  EXPECT_EQ(str(HString("s") + 12), "s12");
}

TEST(HStringTest, AppendingReturnsASeparateCopy) {
  HString s("ab");
  HString returned = (s += 'c');
  returned[0] = 'X';
  EXPECT_EQ(str(s), "abc");
  EXPECT_EQ(str(returned), "Xbc");
  HString self("abc");
  self = self.getSubString(1);
  EXPECT_EQ(str(self), "bc");
  self = self;
  EXPECT_EQ(str(self), "bc");
}

// Copies and suffixes share a buffer until one of them is written to.
TEST(HStringTest, SharedBuffersBehaveAsOwnCopies) {
  HString original("abcdef");
  HString copy = original;
  HString suffix = original.getSubString(2);
  HString tail = original.getSubString(3, 6);
  original[3] = 'X';
  EXPECT_EQ(str(original), "abcXef");
  EXPECT_EQ(str(copy), "abcdef");
  EXPECT_EQ(str(suffix), "cdef");
  EXPECT_EQ(str(tail), "def");
  suffix[0] = 'Y';
  EXPECT_EQ(str(suffix), "Ydef");
  EXPECT_EQ(str(copy), "abcdef");
  EXPECT_STREQ(copy.getSubString(4).getString(), "ef");
  HString self("xyz");
  self = self.getSubString(1);
  self += self;
  EXPECT_EQ(str(self), "yzyz");
}

// A reference taken before a copy is made writes to its own string only.
TEST(HStringTest, AReferenceTakenBeforeACopyWritesOneString) {
  HString s("abc");
  char& first = s[0];
  HString copy = s;
  HString suffix = s.getSubString(1);
  HString assigned;
  assigned = s;
  first = 'X';
  s[2] = 'Z';
  EXPECT_EQ(str(s), "XbZ");
  EXPECT_EQ(str(copy), "abc");
  EXPECT_EQ(str(suffix), "bc");
  EXPECT_EQ(str(assigned), "abc");
  HList<HString> row;
  row.insertTail(s);
  first = 'Y';
  EXPECT_EQ(str(row[0]), "XbZ");
}

TEST(HStringTest, ComparisonByBytes) {
  EXPECT_TRUE(HString("ab") == "ab");
  EXPECT_FALSE(HString("ab") == "abc");
  EXPECT_LT(HString("ab").compare("abc"), 0);
  EXPECT_GT(HString("b").compare("abc"), 0);
  EXPECT_EQ(HString("abc").compare("abc"), 0);
}

TEST(HStringTest, ExplicitLengthKeepsEveryByte) {
  HString s("a\0b", 3);
  EXPECT_EQ(s.getLength(), 3);
  EXPECT_EQ(s[1], '\0');
  EXPECT_EQ((s + s).getLength(), 6);
}

TEST(HStringTest, DisplayTextKeepsUtf8AndReadsOtherBytesAsWindows1252) {
  EXPECT_EQ(utf8ForDisplay("S->\xB0x"), "S->\xC2\xB0x");
  EXPECT_EQ(utf8ForDisplay("\x80"), "\xE2\x82\xAC");
  EXPECT_EQ(utf8ForDisplay("plain"), "plain");
  EXPECT_EQ(utf8ForDisplay("\xC3\xA9$"), "\xC3\xA9$");
  EXPECT_EQ(utf8ForDisplay("\xC3x"), "\xC3\x83x");
}

}  // namespace
