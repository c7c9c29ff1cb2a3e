#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "TextFixtures.h"
#include "foundation/TextEncodings.h"
#include "language/BoyerMoore.h"
#include "language/StringCompare.h"
#include "language/StringSearch.h"
#include "support/AlertRecorder.h"

namespace {

int32_t LangInStr(int32_t start, const string &text, const string &find) {
  return StringInStr(start, text.Storage(), find.Storage());
}
int32_t LangInStrB(int32_t start, const string &text, const string &find) {
  return StringInStrB(start, text.Storage(), find.Storage());
}

// The plain scan bmsearch must agree with.
int32_t PlainSearch(const std::string &pattern, const std::string &text) {
  size_t at = text.find(pattern);
  return at == std::string::npos ? static_cast<int32_t>(text.size()) : static_cast<int32_t>(at);
}

} // namespace

TEST(StringSearch, LanguageInStrTable) {
  const std::string e = "\xC3\xA9"; // é
  struct Case {
    const char *what;
    int32_t start;
    string text, find;
    int32_t expected;
  } cases[] = {
      {"ignores case", 1, Ascii("Hello"), Ascii("LL"), 3},
      {"start 0 searches from the first", 0, Ascii("abcabc"), Ascii("b"), 2},
      {"start -5 too", -5, Ascii("abc"), Ascii("a"), 1},
      {"start after first", 3, Ascii("abcabc"), Ascii("b"), 5},
      {"empty find gives start", 5, Ascii("abc"), string(), 5},
      {"empty text", 1, string(), Ascii("a"), 0},
      {"both empty", 1, string(), string(), 0},
      {"start past end", 4, Ascii("abc"), Ascii("c"), 0},
      {"find longer than rest", 2, Ascii("abc"), Ascii("abc"), 0},
      {"UTF-8 counts characters", 1, Utf8("a" + e + "b"), Ascii("b"), 3},
      {"UTF-8 start in characters", 3, Utf8(e + e + "x" + e), Utf8(e), 4},
      {"UTF-8 case of accented letter", 1, Utf8("x\xC3\x89"), Utf8(e), 2},
      {"UTF-16 by units", 1, Utf16(u"Hello"), Utf16(u"LL"), 3},
      {"UTF-16 with ASCII find: the find is converted", 1, Utf16(u"Hello"), Ascii("LL"), 3},
      {"unknown tag compares bytes", 1, Tagged("xAb", kEncodingUnknown), Ascii("ab"), 2},
  };
  for (const Case &c : cases)
    EXPECT_EQ(LangInStr(c.start, c.text, c.find), c.expected) << c.what;
}

TEST(StringSearch, ZeroBasedFormsAndByteLengthOfTheMatch) {
  string text = Utf8("a\xC3\xA9"
                     "b");
  EXPECT_EQ(InStr(0, text, Ascii("b")), 2);       // characters
  EXPECT_EQ(InStr(0, text, Ascii("b"), true), 3); // byte offset
  EXPECT_EQ(InStr(0, text, Ascii("z")), -1);
  EXPECT_EQ(InStrB(0, Ascii("Hello"), Ascii("ll")), 2);
  EXPECT_EQ(InStrB(0, Ascii("Hello"), Ascii("LL")), -1);

  // The match's byte length is reported with it.
  int32_t matched = -1;
  EXPECT_EQ(InStr(0, Utf8("x\xC3\xA9y"), Utf8("\xC3\x89Y"), true, &matched), 1);
  EXPECT_EQ(matched, 3);
}

TEST(StringSearch, Utf8SequencesCutShortStayInsideTheText) {
  // A lead byte promising four bytes at the very end of the text.
  EXPECT_EQ(InStr(0, Utf8("ab\xF0"), Utf8("B\xF0"), true), 1);
  EXPECT_EQ(InStr(0, Utf8("ab\xF0\x90"), Utf8("\xF0\x90"), false), 2);
  EXPECT_EQ(InStr(0, Utf8("\xF0"), Utf8("\xF0"), false), 0);
}

TEST(StringSearch, InStrBTable) {
  std::string longText(200, 'a');
  longText.replace(150, 5, "bcdef");
  struct Case {
    const char *what;
    int32_t start;
    std::string text, find;
    int32_t expected;
  } cases[] = {
      {"exact bytes", 1, "Hello", "ll", 3},
      {"case matters", 1, "Hello", "LL", 0},
      {"from start", 4, "abcabc", "abc", 4},
      {"long pattern through Boyer-Moore", 1, longText, "bcdef", 151},
      {"long pattern from later start", 100, longText, "bcdef", 151},
      {"long pattern absent", 1, longText, "bcdeg", 0},
      {"4-byte pattern", 1, longText, "bcde", 151},
      {"high bytes", 1, "a\xFF\xFE\x80", "\xFE\x80", 3},
  };
  for (const Case &c : cases)
    EXPECT_EQ(LangInStrB(c.start, Tagged(c.text, kEncodingUnknown), Ascii(c.find)), c.expected)
        << c.what;
  EXPECT_EQ(LangInStrB(7, Ascii("abc"), string()), 7);
  EXPECT_EQ(LangInStrB(1, string(), Ascii("a")), 0);
}

TEST(StringSearch, BoyerMooreAgreesWithThePlainScan) {
  std::mt19937 random(7);
  for (int round = 0; round < 300; ++round) {
    // A small alphabet (high bytes included) makes partial matches frequent.
    std::string text(100 + random() % 200, 'a'), pattern(5 + random() % 6, 'a');
    for (char &c : text)
      c = static_cast<char>(0xFD + random() % 4);
    for (char &c : pattern)
      c = static_cast<char>(0xFD + random() % 4);
    if (round % 3 == 0)
      text.replace(random() % (text.size() - pattern.size()), pattern.size(), pattern);
    EXPECT_EQ(bmsearch(reinterpret_cast<const unsigned char *>(pattern.data()),
                       static_cast<int32_t>(pattern.size()),
                       reinterpret_cast<const unsigned char *>(text.data()),
                       static_cast<int32_t>(text.size())),
              PlainSearch(pattern, text))
        << "round " << round;
  }
}

TEST(StringCompare, StrCompTable) {
  struct Case {
    const char *what;
    string a, b;
    int32_t mode, expected;
  } cases[] = {
      {"bytes: a after B", Ascii("a"), Ascii("B"), 0, 1},
      {"bytes: longer after prefix", Ascii("abc"), Ascii("ab"), 0, 1},
      {"bytes: unsigned", Tagged("\xFF", kEncodingUnknown), Ascii("a"), 0, 1},
      {"nil first", string(), Ascii("a"), 1, -1},
      {"nil last", Ascii("a"), string(), 1, 1},
      {"two nils", string(), string(), 1, 0},
      {"UTF-8 keeps case", Utf8("a"), Utf8("A"), 1, 1},
      {"UTF-16 keeps case", Utf16(u"a"), Utf16(u"A"), 1, 1},
      {"UTF-16 shorter first", Utf16(u"ab"), Utf16(u"abc"), 1, -1},
      {"mode 1 counts bytes past a zero", Tagged(std::string("a\0b", 3), 0),
       Tagged(std::string("a\0c", 3), 0), 1, -1},
      {"mode 2 reads as mode 1", Tagged(std::string("a\0b", 3), 0),
       Tagged(std::string("a\0c", 3), 0), 2, -1},
      {"mode 7 equal texts", Ascii("same"), Ascii("same"), 7, 0},
  };
  AlertRecorder alerts;
  for (const Case &c : cases)
    EXPECT_EQ(StringStrCompare(c.a.Storage(), c.b.Storage(), c.mode), c.expected) << c.what;
  EXPECT_EQ(alerts.count(), 0u);
}

TEST(StringCompare, RuntimeStringCompareIgnoresCaseInEveryEncoding) {
  EXPECT_EQ(RuntimeStringCompare(Ascii("Hello").Storage(), Ascii("hELLO").Storage()), 0);
  EXPECT_EQ(RuntimeStringCompare(Utf8("Hello").Storage(), Utf8("hELLO").Storage()), 0);
  EXPECT_EQ(RuntimeStringCompare(Utf16(u"Hello").Storage(), Utf16(u"hELLO").Storage()), 0);
  EXPECT_EQ(RuntimeStringCompare(Utf8("\xC3\xA9").Storage(), Utf8("\xC3\x89").Storage()), 0);
  EXPECT_EQ(RuntimeStringCompare(nullptr, Ascii("a").Storage()), -1);
  EXPECT_EQ(RuntimeStringCompare(Ascii("a").Storage(), nullptr), 1);
  EXPECT_EQ(RuntimeStringCompare(Ascii("abc").Storage(), Ascii("ABD").Storage()), -1);
}

TEST(StringCompare, ByteFallbackFoldsMacRomanOnlyInMacRomanText) {
  // Ċ (C4 8A) and Ā (C4 80) differ; as untagged bytes they meet in no common
  // encoding and are compared byte by byte with ASCII folding.
  string a = Tagged("\xC4\x8A", kEncodingUnknown), b = Tagged("\xC4\x80", kEncodingUnknown);
  EXPECT_NE(RuntimeStringCompare(a.Storage(), b.Storage()), 0);
  EXPECT_EQ(RuntimeStringCompare(Tagged("ab", kEncodingUnknown).Storage(), Ascii("AB").Storage()),
            0);
  // Mac Roman é (0x8E) and É (0x83) are one letter in Mac Roman text.
  EXPECT_EQ(RuntimeStringCompare(Tagged("\x8E", kEncodingMacRoman).Storage(),
                                 Tagged("\x83", kEncodingMacRoman).Storage()),
            0);
}

TEST(StringCompare, UnicodeCharCompare) {
  EXPECT_EQ(UnicodeCharCompare('a', 'A', true), 0);
  EXPECT_EQ(UnicodeCharCompare('a', 'A', false), 1);
  EXPECT_EQ(UnicodeCharCompare(0xE9, 0xC9, true), 0);
  EXPECT_EQ(UnicodeCharCompare(1, 0xFFFF, false), -1);
}
