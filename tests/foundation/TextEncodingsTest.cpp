#include <gtest/gtest.h>

#include <string>

#include "foundation/String.h"
#include "foundation/TextEncodings.h"
#include "support/AlertRecorder.h"

namespace {

string Tagged(const char *bytes, uint32_t encoding) {
  string s(bytes);
  s.SetEncoding(encoding);
  return s;
}

std::string Text(const string &s) { return std::string(s.CString(), s.Length()); }

constexpr uint32_t kEncodingWindowsLatin1 = 0x0500;
constexpr uint32_t kEncodingShiftJIS = 0x0A01;
constexpr uint32_t kEncodingUnicodeV2 = 0x0103; // a UTF-16 family member besides UTF-16

} // namespace

TEST(TextEncodings, AttributesSplitUTF8AndTakeOtherTagsAsTheirOwnBase) {
  uint32_t base = 1, variant = 1, format = 1;
  EXPECT_EQ(GetEncodingAttributes(kEncodingUTF8, base, variant, format), kEncodingUTF8);
  EXPECT_EQ(base, 0x100u);
  EXPECT_EQ(variant, 0u);
  EXPECT_EQ(format, 2u);
  EXPECT_EQ(GetEncodingAttributes(kEncodingShiftJIS, base, variant, format), kEncodingShiftJIS);
  EXPECT_EQ(base, kEncodingShiftJIS);
  EXPECT_EQ(variant, 0u);
  EXPECT_EQ(format, 0u);
}

TEST(TextEncodings, CommonEncodingOfPairs) {
  struct Case {
    uint32_t a, b;
    bool allowUnicode;
    uint32_t common;
  } cases[] = {
      {kEncodingMacRoman, kEncodingMacRoman, false, kEncodingMacRoman},
      {kEncodingASCII, kEncodingMacRoman, false, kEncodingMacRoman},
      {kEncodingMacRoman, kEncodingASCII, false, kEncodingMacRoman},
      {kEncodingASCII, kEncodingUTF8, false, kEncodingUTF8},
      {kEncodingUTF8, kEncodingASCII, false, kEncodingUTF8},
      {kEncodingMacRoman, kEncodingUTF8, false, kEncodingUnknown},
      {kEncodingMacRoman, kEncodingUTF8, true, kEncodingUTF8},
      {kEncodingASCII, kEncodingUTF16, false, kEncodingUnknown},
      {kEncodingASCII, kEncodingUTF16, true, kEncodingUTF16},
      {kEncodingUTF16, kEncodingUTF8, true, kEncodingUTF8},
      {kEncodingUTF16, kEncodingMacRoman, true, kEncodingUTF16},
      {kEncodingMacRoman, kEncodingWindowsLatin1, true, kEncodingUTF8},
      {kEncodingASCII, kEncodingUnicodeV2, true, kEncodingUTF8},
      {kEncodingASCII, kEncodingUnknown, false, kEncodingUnknown},
  };
  for (const Case &c : cases)
    EXPECT_EQ(CommonEncoding(c.a, c.b, c.allowUnicode), c.common)
        << std::hex << c.a << " / " << c.b << (c.allowUnicode ? " with Unicode" : "");
}

TEST(ConvertEncoding, RelabelsASCIITextAndRemembersTheLastConversion) {
  string utf8 = Tagged("plain", kEncodingUTF8);
  string roman = ConvertEncoding(utf8, kEncodingMacRoman);
  EXPECT_EQ(Text(roman), "plain");
  EXPECT_EQ(roman.Encoding(), kEncodingMacRoman);
  EXPECT_NE(roman.Storage(), utf8.Storage());
  EXPECT_EQ(utf8.Encoding(), kEncodingUTF8);

  EXPECT_EQ(ConvertEncoding(utf8, kEncodingMacRoman).Storage(), roman.Storage());
  EXPECT_TRUE(ConvertEncoding(utf8, kEncodingUTF16).IsEmpty());
  // The failure replaced the remembered result: a new copy, equal text.
  string again = ConvertEncoding(utf8, kEncodingMacRoman);
  EXPECT_EQ(Text(again), "plain");
}

TEST(ConvertEncoding, AnswersTheStringItselfWhenNothingIsToDo) {
  string utf8 = Tagged("x\xC3\xA9", kEncodingUTF8);
  EXPECT_EQ(ConvertEncoding(utf8, kEncodingUTF8).Storage(), utf8.Storage());
  EXPECT_EQ(ConvertEncoding(utf8, kEncodingUnknown).Storage(), utf8.Storage());
  EXPECT_TRUE(ConvertEncoding(string(), kEncodingMacRoman).IsEmpty());
  EXPECT_EQ(ConvertToSystemEncoding(utf8).Storage(), utf8.Storage());
}

TEST(ConvertEncoding, TextBeyondASCIICannotBeRelabelled) {
  string plain = Tagged("abc", kEncodingUTF8);
  ASSERT_FALSE(ConvertEncoding(plain, kEncodingMacRoman).IsEmpty());
  EXPECT_TRUE(ConvertEncoding(Tagged("caf\xC3\xA9", kEncodingUTF8), kEncodingMacRoman).IsEmpty());
  EXPECT_TRUE(ConvertEncoding(Tagged("caf\x8E", kEncodingMacRoman), kEncodingUTF8).IsEmpty());
  // UTF-16 units are never plain bytes, and relabelling cannot make them.
  string wide;
  wide.ConstructFromWString(L"ab", 2);
  EXPECT_TRUE(ConvertEncoding(wide, kEncodingUTF8).IsEmpty());
  EXPECT_TRUE(ConvertEncoding(plain, kEncodingUnicodeV2).IsEmpty());
  // Text tagged ASCII is taken at its tag.
  EXPECT_EQ(Text(ConvertEncoding(Tagged("\xC3\xA9", kEncodingASCII), kEncodingUTF8)), "\xC3\xA9");
}

TEST(ConvertEncoding, RememberedConversionIsNeverAnsweredForAnotherText) {
  // The released source's block is the first the allocator hands out again;
  // the cache must not take the new text for the old one.
  string first = ConvertEncoding(Tagged("abc", kEncodingUTF8), kEncodingMacRoman);
  string second = ConvertEncoding(Tagged("xyz", kEncodingUTF8), kEncodingMacRoman);
  EXPECT_EQ(Text(first), "abc");
  EXPECT_EQ(Text(second), "xyz");
}

TEST(ConvertToSameEncoding, LeavesASCIIAloneAndConvertsOnlyWhatItCan) {
  struct Case {
    const char *a;
    uint32_t aTag;
    const char *b;
    uint32_t bTag;
    uint32_t common;
    uint32_t aTagAfter, bTagAfter;
  } cases[] = {
      {"", kEncodingASCII, "", kEncodingASCII, kEncodingASCII, kEncodingASCII, kEncodingASCII},
      {"", kEncodingASCII, "x", kEncodingShiftJIS, kEncodingShiftJIS, kEncodingASCII,
       kEncodingShiftJIS},
      {"x", kEncodingUnknown, "y", kEncodingUTF8, kEncodingUnknown, kEncodingUnknown,
       kEncodingUTF8},
      {"x", kEncodingASCII, "y", kEncodingUTF8, kEncodingUTF8, kEncodingASCII, kEncodingUTF8},
      // Mac Roman with an accent cannot become UTF-8; neither string changes
      {"caf\x8E", kEncodingMacRoman, "y", kEncodingUTF8, kEncodingUnknown, kEncodingMacRoman,
       kEncodingUTF8},
      // plain Mac Roman is relabelled to meet UTF-8
      {"cafe", kEncodingMacRoman, "\xC3\xA9", kEncodingUTF8, kEncodingUTF8, kEncodingUTF8,
       kEncodingUTF8},
      // the first converts, the second cannot: the first keeps its conversion
      {"abc", kEncodingMacRoman, "\x8E", kEncodingWindowsLatin1, kEncodingUnknown, kEncodingUTF8,
       kEncodingWindowsLatin1},
  };
  for (const Case &c : cases) {
    string a = Tagged(c.a, c.aTag), b = Tagged(c.b, c.bTag);
    std::string aText = c.a, bText = c.b;
    EXPECT_EQ(ConvertToSameEncoding(&a, &b), c.common) << c.a << " / " << c.b;
    if (!a.IsEmpty()) {
      EXPECT_EQ(a.Encoding(), c.aTagAfter) << c.a;
    }
    if (!b.IsEmpty()) {
      EXPECT_EQ(b.Encoding(), c.bTagAfter) << c.b;
    }
    EXPECT_EQ(Text(a), aText);
    EXPECT_EQ(Text(b), bText);
  }
}

TEST(ConvertToSameEncoding, UTF16MeetsOnlyUTF16) {
  string wide;
  wide.ConstructFromWString(L"ab", 2);
  string roman = Tagged("ab", kEncodingMacRoman);
  string original = roman;
  // Bytes cannot become UTF-16 by relabelling: no common encoding, and the
  // argument keeps its storage.
  EXPECT_EQ(ConvertToSameEncoding(&roman, &wide), kEncodingUnknown);
  EXPECT_EQ(roman.Storage(), original.Storage());
}

TEST(ConvertToSameEncoding, MissingStringIsReportedAndNothingConverted) {
  AlertRecorder alerts;
  string s = Tagged("x", kEncodingUTF8);
  EXPECT_EQ(ConvertToSameEncoding(&s, nullptr), kEncodingUnknown);
  EXPECT_EQ(ConvertToSameEncoding(nullptr, &s), kEncodingUnknown);
  ASSERT_EQ(alerts.count(), 2u);
  EXPECT_TRUE(ShownAt(alerts.alerts()[0], kSameEncodingNullAlert));
}

TEST(TextEncodings, NoFontHasAKnownEncoding) {
  EXPECT_EQ(GetEncodingFromFont(string("Sans")), kEncodingUnknown);
  // Once a named font has been asked for, the empty name answers unknown too.
  EXPECT_EQ(GetEncodingFromFont(string()), kEncodingUnknown);
  EXPECT_EQ(GetSystemEncoding(), kEncodingUnknown);
}
