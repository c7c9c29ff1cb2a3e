#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "foundation/TextEncodings.h"
#include "support/GuardedBytes.h"

namespace {

#include "foundation/UnicodeCaseTable.inc"

const unsigned char *Bytes(const std::string &s) {
  return reinterpret_cast<const unsigned char *>(s.data());
}

using UTF8CaseFunction = void (*)(const unsigned char *, unsigned long, unsigned char **,
                                  unsigned long *);

std::string Mapped(UTF8CaseFunction mapCase, const std::string &text) {
  unsigned char *out = nullptr;
  unsigned long outLength = 0;
  mapCase(Bytes(text), text.size(), &out, &outLength);
  std::string result(reinterpret_cast<char *>(out), outLength);
  delete[] out;
  return result;
}

using UCS2CaseFunction = unsigned short *(*)(const unsigned short *, unsigned long);

std::u16string Mapped(UCS2CaseFunction mapCase, const std::u16string &text) {
  std::unique_ptr<unsigned short[]> out(
      mapCase(reinterpret_cast<const unsigned short *>(text.data()), text.size() * 2));
  return std::u16string(reinterpret_cast<char16_t *>(out.get()), text.size());
}

int CompareUTF8(const std::string &a, const std::string &b, bool ignoreCase) {
  return UTF8StringCompare(Bytes(a), a.size(), Bytes(b), b.size(), ignoreCase);
}

int CompareUCS2(const std::u16string &a, const std::u16string &b, bool ignoreCase) {
  return UCS2StringCompare(reinterpret_cast<const unsigned short *>(a.data()), a.size() * 2,
                           reinterpret_cast<const unsigned short *>(b.data()), b.size() * 2,
                           ignoreCase);
}

} // namespace

TEST(UnicodeCaseTable, HoldsTheFoldingPairsInOrderAndEveryPairMapsBack) {
  ASSERT_EQ(kCaseFoldPairCount, 724);
  for (int i = 0; i < kCaseFoldPairCount; ++i) {
    if (i > 0) {
      EXPECT_LT(kCaseFoldFrom[i - 1], kCaseFoldFrom[i]) << i;
    }
    unsigned long from = kCaseFoldFrom[i], to = kCaseFoldTo[i];
    EXPECT_EQ(UnicodeCharToLower(from), to) << std::hex << from;
    // Upper-casing the folded form lands on a code that folds back to it.
    EXPECT_EQ(UnicodeCharToLower(UnicodeCharToUpper(to)), to) << std::hex << to;
  }
}

TEST(UnicodeCase, MapsSingleCodePoints) {
  struct Case {
    unsigned long c, upper, lower;
  } cases[] = {
      {'a', 'A', 'a'},
      {'Z', 'Z', 'z'},
      {'1', '1', '1'},
      {0xE9, 0xC9, 0xE9},
      {0xC9, 0xC9, 0xE9},
      {0x3C3, 0x3A3, 0x3C3},
      // mu and iota upper-case to their capitals, not to the micro sign and
      // the iota subscript that fold to them as well
      {0x3BC, 0x39C, 0x3BC},
      {0x3B9, 0x399, 0x3B9},
      // codes that only fold: no upper-case mapping of their own
      {0xB5, 0xB5, 0x3BC},
      {0x17F, 0x17F, 0x73},
      {0x3C2, 0x3C2, 0x3C3},
      {0x345, 0x345, 0x3B9},
      {0x3F2, 0x3F2, 0x3C3},
      // several capitals fold alike: the smallest is the upper case
      {'k', 'K', 'k'},
      {0x212A, 0x212A, 'k'},
      {0xE5, 0xC5, 0xE5},
      {0x3C9, 0x3A9, 0x3C9},
      {0x1C6, 0x1C4, 0x1C6},
      {0x1C5, 0x1C5, 0x1C6},
      // dotted and dotless i stay as they are
      {0x130, 0x130, 0x130},
      {0x131, 0x131, 0x131},
      {0xFF41, 0xFF21, 0xFF41},
      {0x24D0, 0x24B6, 0x24D0},
      {0x2170, 0x2160, 0x2170},
      // outside the table's plane
      {0x10428, 0x10428, 0x10428},
      {0x10400, 0x10400, 0x10400},
      {0x1FFFFF, 0x1FFFFF, 0x1FFFFF},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(UnicodeCharToUpper(c.c), c.upper) << "upper of U+" << std::hex << c.c;
    EXPECT_EQ(UnicodeCharToLower(c.c), c.lower) << "lower of U+" << std::hex << c.c;
  }
}

TEST(UnicodeCase, MapsUTF8Text) {
  EXPECT_EQ(Mapped(UTF8ToUpper, "stra\xC3\x9F"
                                "e \xCE\xBC\xCE\xB9"),
            "STRA\xC3\x9F"
            "E \xCE\x9C\xCE\x99");
  EXPECT_EQ(Mapped(UTF8ToLower, "\xC3\x89T\xC3\x89 \xE2\x84\xAA"), "\xC3\xA9t\xC3\xA9 k");
  EXPECT_EQ(Mapped(UTF8ToUpper, ""), "");
  EXPECT_EQ(Mapped(UTF8ToUpper, "\xF0\x90\x90\xA8"), "\xF0\x90\x90\xA8");
}

TEST(UnicodeCase, TitleCaseStartsAWordAfterSpaceOrControlOnly) {
  struct Case {
    std::string text, title;
  } cases[] = {{"hello world", "Hello World"},
               {"hello-world", "Hello-world"},
               {"HELLO\tWORLD", "Hello\tWorld"},
               {"\xC3\xA9t\xC3\xA9 \xC3\xA9T\xC3\xA9", "\xC3\x89t\xC3\xA9 \xC3\x89t\xC3\xA9"},
               {"  x", "  X"}};
  for (const Case &c : cases)
    EXPECT_EQ(Mapped(UTF8Capitalize, c.text), c.title) << c.text;
}

TEST(UnicodeCase, UTF8MappingMeasuresWithoutOutputAndIgnoresTwoNulls) {
  std::string kelvins = "\xE2\x84\xAA\xE2\x84\xAA";
  unsigned long outLength = 99;
  UTF8ToLower(Bytes(kelvins), kelvins.size(), nullptr, &outLength);
  EXPECT_EQ(outLength, 2u);
  UTF8ToLower(Bytes(kelvins), kelvins.size(), nullptr, nullptr);
}

TEST(UnicodeCase, UTF8MappingStaysWithinTruncatedText) {
  GuardedBytes text("ab\xCE");
  unsigned char *out = nullptr;
  unsigned long outLength = 0;
  UTF8ToUpper(text.begin(), text.size(), &out, &outLength);
  EXPECT_EQ(std::string(reinterpret_cast<char *>(out), outLength), "AB\xCE");
  delete[] out;
  EXPECT_FALSE(UTF8IsCaseless(text.begin(), text.size()));
  EXPECT_EQ(UTF8StringCompare(text.begin(), text.size(), text.begin(), text.size(), true), 0);
}

TEST(UnicodeCase, BytesOutsideWellFormedCharactersPassThroughOneByOne) {
  // Latin-1 text tagged UTF-8: no following character is swallowed or lost.
  struct Case {
    std::string text, upper, lower, title;
  } cases[] = {
      {"caf\xE9 ok", "CAF\xE9 OK", "caf\xE9 ok", "Caf\xE9 Ok"},
      {"\xC3", "\xC3", "\xC3", "\xC3"},
      {"\xC3(a", "\xC3(A", "\xC3(a", "\xC3(a"},
      {"\xE2\x82 z\xC3\xA9", "\xE2\x82 Z\xC3\x89", "\xE2\x82 z\xC3\xA9", "\xE2\x82 Z\xC3\xA9"},
      {"\xC0\x81x", "\xC0\x81X", "\xC0\x81x", "\xC0\x81x"}, // overlong
      {"\xED\xA0\x80q", "\xED\xA0\x80Q", "\xED\xA0\x80q", "\xED\xA0\x80q"},
      {"\x80\x80\x80\x80\x80" "a", "\x80\x80\x80\x80\x80" "A", "\x80\x80\x80\x80\x80" "a",
       "\x80\x80\x80\x80\x80" "a"},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(Mapped(UTF8ToUpper, c.text), c.upper) << c.text;
    EXPECT_EQ(Mapped(UTF8ToLower, c.text), c.lower) << c.text;
    EXPECT_EQ(Mapped(UTF8Capitalize, c.text), c.title) << c.text;
  }
  // A stray byte is a character of its own when comparing, too: the letters
  // after it still fold.
  EXPECT_EQ(CompareUTF8("caf\xE9 ok", "CAF\xE9 OK", true), 0);
  EXPECT_NE(CompareUTF8("\xE9", "\xC3\xA9", true), 0);
  EXPECT_NE(CompareUTF8("\xE9\x20\x6F", "\xE9\x81\xAF", true), 0);
}

TEST(UnicodeCase, CaselessTextHasNoCodeInTheTable) {
  struct Case {
    std::string text;
    bool caseless;
  } cases[] = {{"", true},     {"123 !?", true},    {"\xE4\xB8\xAD", true},
               {"12a", false}, {"\xC2\xB5", false}, {"\xCE\xBC", false}};
  for (const Case &c : cases)
    EXPECT_EQ(UTF8IsCaseless(Bytes(c.text), c.text.size()), c.caseless) << c.text;
}

TEST(UnicodeCase, ComparesUTF8ByCodePoints) {
  struct Case {
    std::string a, b;
    bool ignoreCase;
    int order;
  } cases[] = {
      {"abc", "ABC", true, 0},
      {"abc", "ABC", false, 1},
      {"ab", "abc", true, -1},
      {"abc", "ab", false, 1},
      {"", "", false, 0},
      {"\xC3\xA9", "f", false, 1}, // by code point, not by first byte
      {"\xCE\xBC", "\xCE\x9C", true, 0},
      {"\xCE\xB9", "\xCE\x99", true, 0},
      {"\xC3\xA9", "\xC3\x89", true, 0},
      {"\xC3\xA9", "\xC3\x89", false, 1},
      {"\xC3\xA9x", "\xC3\xA9y", true, -1},
  };
  for (const Case &c : cases)
    EXPECT_EQ(CompareUTF8(c.a, c.b, c.ignoreCase), c.order)
        << c.a << " / " << c.b << (c.ignoreCase ? " ignoring case" : "");
}

TEST(UnicodeCase, MapsAndComparesUCS2Units) {
  EXPECT_EQ(Mapped(UCS2ToUpper, u"stra\u00DFe \u03BC"), u"STRA\u00DFE \u039C");
  EXPECT_EQ(Mapped(UCS2ToLower, u"\u00C9T\u00C9 \u212A"), u"\u00E9t\u00E9 k");
  EXPECT_EQ(Mapped(UCS2Capitalize, u"hello wORLD-x"), u"Hello World-x");

  // An odd byte count maps the whole units only.
  const char16_t text[] = u"abc";
  std::unique_ptr<unsigned short[]> upper(
      UCS2ToUpper(reinterpret_cast<const unsigned short *>(text), 5));
  EXPECT_EQ(upper[0], 'A');
  EXPECT_EQ(upper[1], 'B');

  EXPECT_EQ(CompareUCS2(u"abc", u"ABC", true), 0);
  EXPECT_EQ(CompareUCS2(u"abc", u"ABC", false), 1);
  EXPECT_EQ(CompareUCS2(u"ab", u"abc", false), -1);
  EXPECT_EQ(CompareUCS2(u"\u03BC", u"\u039C", true), 0);
  EXPECT_EQ(CompareUCS2(u"b", u"ab", true), 1);
}
