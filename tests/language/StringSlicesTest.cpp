#include <gtest/gtest.h>

#include "TextFixtures.h"
#include "language/StringCase.h"
#include "language/StringSlices.h"

namespace {

const std::string kE = "\xC3\xA9"; // é

} // namespace

TEST(StringSlices, LengthsByEncoding) {
  EXPECT_EQ(StringDBCSLen(Utf8("h" + kE + "llo").Storage()), 5);
  EXPECT_EQ(StringLen(Utf8("h" + kE + "llo").Storage()), 6);
  EXPECT_EQ(StringDBCSLen(Utf16(u"hello").Storage()), 5);
  EXPECT_EQ(StringDBCSLen(Tagged("h\xC3\xA9", kEncodingUnknown).Storage()), 3);
  EXPECT_EQ(StringDBCSLen(nullptr), 0);
  EXPECT_EQ(StringLen(nullptr), 0);
}

TEST(StringSlices, PartsTable) {
  using Two = stringStorage *(*)(stringStorage *, int32_t);
  string abc = Ascii("abcdef"), u8 = Utf8("a" + kE + "b" + kE), u16 = Utf16(u"abcdef");
  struct Case {
    const char *what;
    Two fn;
    string text;
    int32_t n;
    std::string expected;
  } cases[] = {
      {"Left 0", StringDBCSLeft, abc, 0, ""},
      {"Left -3", StringDBCSLeft, abc, -3, ""},
      {"LeftB 3", StringLeft, abc, 3, "abc"},
      {"RightB 2", StringRight, abc, 2, "ef"},
      {"MidB 3", StringMid2, abc, 3, "cdef"},
      {"Mid 0", StringDBCSMid2, abc, 0, "abcdef"},
      {"Mid past end", StringDBCSMid2, Ascii("abc"), 4, ""},
      {"UTF-8 Left 2", StringDBCSLeft, u8, 2, "a" + kE},
      {"UTF-8 Right 1 keeps the character", StringDBCSRight, Utf8("a" + kE), 1, kE},
      {"UTF-8 Right huge", StringDBCSRight, u8, 1000, "a" + kE + "b" + kE},
      {"UTF-8 Mid 3", StringDBCSMid2, u8, 3, "b" + kE},
      {"UTF-8 Mid past end", StringDBCSMid2, u8, 5, ""},
      {"UTF-8 Mid INT32_MIN", StringDBCSMid2, u8, INT32_MIN, "a" + kE + "b" + kE},
      {"UTF-16 Left 2", StringDBCSLeft, u16, 2, Text(Utf16(u"ab"))},
      {"UTF-16 Left huge n", StringDBCSLeft, u16, 0x40000000, Text(u16)},
      {"UTF-16 Left INT32_MAX", StringDBCSLeft, u16, INT32_MAX, Text(u16)},
      {"UTF-16 Right 2", StringDBCSRight, u16, 2, Text(Utf16(u"ef"))},
      {"UTF-16 Right huge n", StringDBCSRight, u16, 0x40000000, Text(u16)},
      {"UTF-16 Mid 2", StringDBCSMid2, u16, 2, Text(Utf16(u"bcdef"))},
      {"UTF-16 Mid huge start", StringDBCSMid2, u16, 0x40000001, ""},
      {"UTF-16 Mid INT32_MIN", StringDBCSMid2, u16, INT32_MIN, Text(u16)},
      {"UTF-16 odd length Left", StringDBCSLeft, Tagged("abc", kEncodingUTF16), 2, "abc"},
  };
  for (const Case &c : cases)
    EXPECT_EQ(Text(Owned(c.fn(c.text.Storage(), c.n))), c.expected) << c.what;
}

TEST(StringSlices, ThreeArgumentMidTable) {
  using Three = stringStorage *(*)(stringStorage *, int32_t, int32_t);
  string abc = Ascii("abcdef"), u8 = Utf8("a" + kE + "b" + kE), u16 = Utf16(u"abcdef");
  struct Case {
    const char *what;
    Three fn;
    string text;
    int32_t start, length;
    std::string expected;
  } cases[] = {
      {"Mid 0,3", StringDBCSMid3, abc, 0, 3, "ab"},
      {"Mid -1,3", StringDBCSMid3, abc, -1, 3, "a"},
      {"Mid 2,0", StringDBCSMid3, abc, 2, 0, ""},
      {"MidB 0,3", StringMid3, abc, 0, 3, "ab"},
      {"MidB 5,100", StringMid3, abc, 5, 100, "ef"},
      {"MidB INT32_MIN start", StringMid3, abc, INT32_MIN, INT32_MAX, ""},
      {"MidB huge length", StringMid3, abc, 2, INT32_MAX, "bcdef"},
      {"UTF-8 Mid 2,2", StringDBCSMid3, u8, 2, 2, kE + "b"},
      {"UTF-8 Mid 4,9", StringDBCSMid3, u8, 4, 9, kE},
      {"UTF-8 Mid past end", StringDBCSMid3, u8, 9, 1, ""},
      {"UTF-16 Mid 2,2", StringDBCSMid3, u16, 2, 2, Text(Utf16(u"bc"))},
      {"UTF-16 Mid huge length", StringDBCSMid3, u16, 2, 0x40000000, Text(Utf16(u"bcdef"))},
      {"UTF-16 Mid huge start", StringDBCSMid3, u16, 0x40000000, 2, ""},
      {"UTF-16 Mid INT32_MIN start", StringDBCSMid3, u16, INT32_MIN, INT32_MAX, ""},
  };
  for (const Case &c : cases)
    EXPECT_EQ(Text(Owned(c.fn(c.text.Storage(), c.start, c.length))), c.expected) << c.what;
}

TEST(StringSlices, WholePartsShareStorageAndKeepTags) {
  string five = Ascii("hello");
  string all = Owned(StringLeft(five.Storage(), 100));
  EXPECT_EQ(all.Storage(), five.Storage());
  EXPECT_EQ(Owned(StringDBCSMid2(five.Storage(), 1)).Storage(), five.Storage());
  EXPECT_EQ(Owned(StringDBCSRight(Utf8("ab").Storage(), 9)).Encoding(), kEncodingUTF8);
  EXPECT_EQ(Owned(StringDBCSLeft(Utf16(u"abc").Storage(), 1)).Encoding(), kEncodingUTF16);
  EXPECT_EQ(Owned(StringLeft(five.Storage(), 0)).Storage(), nullptr);
}

TEST(StringSlices, CharacterCodes) {
  EXPECT_EQ(StringDBCSAsc(Utf8(kE).Storage()), 233);
  EXPECT_EQ(StringAsc(Utf8(kE).Storage()), 195);
  EXPECT_EQ(StringDBCSAsc(nullptr), 0);
  EXPECT_EQ(StringAsc(nullptr), 0);
  EXPECT_EQ(StringDBCSAsc(Utf16(u"\u20AC").Storage()), 0x20AC);
  // A byte that starts no whole character is its own code.
  EXPECT_EQ(StringDBCSAsc(Utf8("\xE2\x82").Storage()), 0xE2);
  EXPECT_EQ(StringDBCSAsc(Utf8("\xC3").Storage()), 0xC3);
  EXPECT_EQ(StringDBCSAsc(Utf8("\xE9 ok").Storage()), 0xE9);
  EXPECT_EQ(StringDBCSAsc(Utf8("\xF0\x9F\x98\x80").Storage()), 0x1F600);

  struct Case {
    int32_t n;
    bool byteForm;
    std::string bytes;
    uint32_t tag;
  } cases[] = {
      {65, false, "A", kEncodingASCII},
      {200, false, "\xC8", kEncodingUnknown},
      {9786, false, "\x26\x3A", kEncodingUnknown},
      {-1, false, "\xFF", kEncodingUnknown},
      {-1, true, "\xFF", kEncodingUnknown},
      {0x141, true, "A", kEncodingUnknown},
      {0, true, std::string(1, '\0'), kEncodingASCII},
  };
  for (const Case &c : cases) {
    string s = Owned(c.byteForm ? StringChr(c.n) : StringDBCSChr(c.n));
    EXPECT_EQ(Text(s), c.bytes) << c.n;
    EXPECT_EQ(s.Encoding(), c.tag) << c.n;
  }
}

TEST(StringCase, CaseMapsByEncoding) {
  EXPECT_EQ(Text(Owned(StringTitleCase(Utf8("hello WORLD").Storage()))), "Hello World");
  EXPECT_EQ(Text(Owned(StringUCase(Utf8("h" + kE).Storage()))), "H\xC3\x89");
  EXPECT_EQ(Text(Owned(StringLCase(Ascii("ABc").Storage()))), "abc");
  string upper16 = Owned(StringUCase(Utf16(u"abc").Storage()));
  EXPECT_EQ(Text(upper16), Text(Utf16(u"ABC")));
  EXPECT_EQ(upper16.Encoding(), kEncodingUTF16);
  // Odd-length UTF-16: the units map, the last byte stays.
  EXPECT_EQ(Text(Owned(StringUCase(Tagged(std::string("a\0b", 3), kEncodingUTF16).Storage()))),
            std::string("A\0b", 3));
  // Bytes above 0x7F go through the tables as unsigned values.
  EXPECT_EQ(Text(Owned(StringUCase(Tagged("\xFF"
                                          "a",
                                          kEncodingUnknown)
                                       .Storage()))),
            "\xFF"
            "A");
  EXPECT_EQ(StringUCase(nullptr), nullptr);
}

TEST(StringCase, TitleCaseStartsWordsInEveryEncoding) {
  struct Case {
    string text;
    std::string title;
    uint32_t encoding;
  } cases[] = {
      {Ascii("hello wORLD-x\tyes"), "Hello World-x\tYes", kEncodingASCII},
      {Tagged("abc def", kEncodingMacRoman), "Abc Def", kEncodingMacRoman},
      {Tagged("caf\xE9 ok", 0x0201), "Caf\xE9 Ok", 0x0201},
      {Tagged(" x", kEncodingUnknown), " X", kEncodingUnknown},
  };
  for (const Case &c : cases) {
    const string title = Owned(StringTitleCase(c.text.Storage()));
    EXPECT_EQ(Text(title), c.title) << Text(c.text);
    EXPECT_EQ(title.Encoding(), c.encoding) << Text(c.text);
  }
}

TEST(StringCase, DoubleByteCharactersAreNotMappedByteByByte) {
  // Shift-JIS zhe is 84 77: its second byte is a 'w' that must not change.
  const string text = Tagged("\x84\x77w \x84\x77W", 0x0A01);
  EXPECT_EQ(Text(Owned(StringUCase(text.Storage()))), "\x84\x77W \x84\x77W");
  EXPECT_EQ(Text(Owned(StringLCase(text.Storage()))), "\x84\x77w \x84\x77w");
  EXPECT_EQ(Text(Owned(StringTitleCase(Tagged("ab \x84\x77W", 0x0A01).Storage()))), "Ab \x84\x77w");
  EXPECT_EQ(Owned(StringUCase(text.Storage())).Encoding(), 0x0A01u);
}

TEST(StringCase, MisTaggedBytesKeepEveryCharacter) {
  // Latin-1 bytes tagged UTF-8: the stray byte stays, nothing after it is lost.
  const string text = Utf8("caf\xE9 ok");
  EXPECT_EQ(Text(Owned(StringUCase(text.Storage()))), "CAF\xE9 OK");
  EXPECT_EQ(Text(Owned(StringLCase(Utf8("CAF\xC9 OK\xC3").Storage()))), "caf\xC9 ok\xC3");
  EXPECT_EQ(Text(Owned(StringTitleCase(text.Storage()))), "Caf\xE9 Ok");
}

TEST(StringCase, TrimTable) {
  using Fn = stringStorage *(*)(stringStorage *);
  struct Case {
    const char *what;
    Fn fn;
    string text;
    std::string expected;
  } cases[] = {
      {"blanks only", runTrim, Ascii(" \t a b\r\n"), "a b\r\n"},
      {"all blanks", runTrim, Ascii("   "), ""},
      {"left", runLTrim, Ascii("  a "), "a "},
      {"right", runRTrim, Ascii("  a "), "  a"},
      {"UTF-16 leading unit", runTrim, Utf16(u" ab\t"), Text(Utf16(u"ab"))},
      {"UTF-16 odd length keeps last byte", runRTrim,
       Tagged(std::string(" \0 \0x", 5), kEncodingUTF16), std::string(" \0 \0x", 5)},
      {"UTF-16 odd length leading", runLTrim, Tagged(std::string(" \0x", 3), kEncodingUTF16), "x"},
  };
  for (const Case &c : cases)
    EXPECT_EQ(Text(Owned(c.fn(c.text.Storage()))), c.expected) << c.what;
  string plain = Ascii("ab");
  EXPECT_EQ(Owned(runTrim(plain.Storage())).Storage(), plain.Storage());
  EXPECT_EQ(Owned(runTrim(Utf16(u" ").Storage())).Storage(), nullptr);
}
