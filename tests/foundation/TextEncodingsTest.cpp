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
  // A conversion to another target replaces the remembered result.
  string wide = ConvertEncoding(utf8, kEncodingUTF16);
  EXPECT_EQ(Text(wide), std::string("p\0l\0a\0i\0n\0", 10));
  EXPECT_EQ(wide.Encoding(), kEncodingUTF16);
  string again = ConvertEncoding(utf8, kEncodingMacRoman);
  EXPECT_NE(again.Storage(), roman.Storage());
  EXPECT_EQ(Text(again), "plain");
}

TEST(ConvertEncoding, AnswersTheStringItselfWhenNothingIsToDo) {
  string utf8 = Tagged("x\xC3\xA9", kEncodingUTF8);
  EXPECT_EQ(ConvertEncoding(utf8, kEncodingUTF8).Storage(), utf8.Storage());
  EXPECT_EQ(ConvertEncoding(utf8, kEncodingUnknown).Storage(), utf8.Storage());
  EXPECT_TRUE(ConvertEncoding(string(), kEncodingMacRoman).IsEmpty());
  EXPECT_EQ(ConvertToSystemEncoding(utf8).Storage(), utf8.Storage());
}

namespace {

// Each character's bytes in UTF-8, UTF-16, Latin-1, Mac Roman, Windows-1252,
// Shift-JIS and ASCII; null where the encoding has no such character.
constexpr int kTableEncodings = 7;
constexpr uint32_t kEncodingLatin1 = 0x0201;
constexpr uint32_t kTableTags[kTableEncodings] = {
    kEncodingUTF8,          kEncodingUTF16,    kEncodingLatin1, kEncodingMacRoman,
    kEncodingWindowsLatin1, kEncodingShiftJIS, kEncodingASCII};

struct CharacterForms {
  const char *name;
  const char *bytes[kTableEncodings];
  int lengths[kTableEncodings];
};

const CharacterForms kCharacters[] = {
    {"A", {"A", "A\0", "A", "A", "A", "A", "A"}, {1, 2, 1, 1, 1, 1, 1}},
    {"backslash", {"\\", "\\\0", "\\", "\\", "\\", "\\", "\\"}, {1, 2, 1, 1, 1, 1, 1}},
    {"e acute",
     {"\xC3\xA9", "\xE9\0", "\xE9", "\x8E", "\xE9", nullptr, nullptr},
     {2, 2, 1, 1, 1, 0, 0}},
    {"euro",
     {"\xE2\x82\xAC", "\xAC\x20", nullptr, "\xDB", "\x80", nullptr, nullptr},
     {3, 2, 0, 1, 1, 0, 0}},
    {"sun",
     {"\xE6\x97\xA5", "\xE5\x65", nullptr, nullptr, nullptr, "\x93\xFA", nullptr},
     {3, 2, 0, 0, 0, 2, 0}},
    {"half-width a",
     {"\xEF\xBD\xB1", "\x71\xFF", nullptr, nullptr, nullptr, "\xB1", nullptr},
     {3, 2, 0, 0, 0, 1, 0}},
    {"grinning face",
     {"\xF0\x9F\x98\x80", "\x3D\xD8\x00\xDE", nullptr, nullptr, nullptr, nullptr, nullptr},
     {4, 4, 0, 0, 0, 0, 0}},
};

std::string Form(const CharacterForms &c, int encoding) {
  return c.bytes[encoding] ? std::string(c.bytes[encoding], size_t(c.lengths[encoding]))
                           : std::string();
}

string TaggedBytes(const std::string &bytes, uint32_t encoding) {
  string s;
  s.ConstructFromBuffer(bytes.data(), int(bytes.size()), encoding);
  return s;
}

} // namespace

TEST(ConvertEncoding, ConvertsEveryPairOfTheTableExactly) {
  for (const CharacterForms &c : kCharacters)
    for (int from = 0; from < kTableEncodings; ++from) {
      if (!c.bytes[from])
        continue;
      // Alone and between ASCII letters.
      for (const std::string &around : {std::string(), std::string("x")}) {
        const std::string x =
            around.empty() || kTableTags[from] != kEncodingUTF16 ? around : std::string("x\0", 2);
        const string source = TaggedBytes(x + Form(c, from) + x, kTableTags[from]);
        for (int to = 0; to < kTableEncodings; ++to) {
          if (to == from)
            continue;
          const string converted = ConvertEncoding(source, kTableTags[to]);
          if (!c.bytes[to]) {
            EXPECT_TRUE(converted.IsEmpty()) << c.name << " " << from << " -> " << to;
            continue;
          }
          std::string expected = Form(c, to);
          if (!around.empty()) {
            const std::string x = kTableTags[to] == kEncodingUTF16 ? std::string("x\0", 2) : "x";
            expected = x + expected + x;
          }
          EXPECT_EQ(Text(converted), expected) << c.name << " " << from << " -> " << to;
          EXPECT_EQ(converted.Encoding(), kTableTags[to]);
          // And back again to the same bytes.
          EXPECT_EQ(Text(ConvertEncoding(converted, kTableTags[from])), Text(source))
              << c.name << " " << to << " -> " << from;
        }
      }
    }
}

TEST(ConvertEncoding, InvalidSourceBytesAndUnknownTagsGiveTheEmptyText) {
  struct Case {
    std::string bytes;
    uint32_t from, to;
  } cases[] = {
      {"caf\xC3", kEncodingUTF8, kEncodingUTF16},                  // cut short
      {"\xC0\xAF", kEncodingUTF8, kEncodingLatin1},                // overlong
      {"\xED\xA0\x80", kEncodingUTF8, kEncodingUTF16},             // encoded surrogate
      {std::string("\x00\xD8", 2), kEncodingUTF16, kEncodingUTF8}, // lone surrogate
      {"a\x81", kEncodingShiftJIS, kEncodingUTF8},                 // lead byte alone
      {"\x81", kEncodingWindowsLatin1, kEncodingUTF8},             // unassigned
      {"\x80", kEncodingASCII, kEncodingUTF16},                    // not ASCII
      {"\xE9", kEncodingUnknown, kEncodingUTF8},                   // no encoding known
      {"\xE9", 0x0006, kEncodingUTF8},                             // no converter (Mac Greek)
      {"ab", kEncodingUTF8, kEncodingUnicodeV2},                   // no converter
  };
  for (const Case &c : cases)
    EXPECT_TRUE(ConvertEncoding(TaggedBytes(c.bytes, c.from), c.to).IsEmpty())
        << std::hex << c.from << " -> " << c.to;
  // Untagged ASCII, and text tagged ASCII, still relabel.
  EXPECT_EQ(Text(ConvertEncoding(TaggedBytes("ab", kEncodingUnknown), kEncodingLatin1)), "ab");
  EXPECT_EQ(Text(ConvertEncoding(Tagged("\xC3\xA9", kEncodingASCII), kEncodingUTF8)), "\xC3\xA9");
}

TEST(ConvertEncoding, ASCIITextOfEncodingsWithOtherSignsThereIsConverted) {
  // Johab has the won sign at 0x5C and DOS Arabic the Arabic percent sign at
  // 0x25: relabelling would change the text.
  EXPECT_EQ(Text(ConvertEncoding(Tagged("a\\b", 0x0510), kEncodingUTF8)), "a\xE2\x82\xA9"
                                                                          "b");
  EXPECT_EQ(Text(ConvertEncoding(Tagged("5%", kEncodingUTF8), 0x0419)), "");
  EXPECT_EQ(Text(ConvertEncoding(Tagged("5", kEncodingUTF8), 0x0419)), "5");
}

TEST(ConvertEncoding, LongTextConvertsWhole) {
  std::string bytes;
  for (int i = 0; i < 20000; ++i)
    bytes += "\xE6\x97\xA5z";
  const string converted = ConvertEncoding(TaggedBytes(bytes, kEncodingUTF8), kEncodingShiftJIS);
  ASSERT_EQ(converted.Length(), 60000);
  EXPECT_EQ(Text(ConvertEncoding(converted, kEncodingUTF8)), bytes);
}

TEST(ConvertEncoding, RememberedConversionIsNeverAnsweredForAnotherText) {
  // The released source's block is the first the allocator hands out again;
  // the cache must not take the new text for the old one.
  string first = ConvertEncoding(Tagged("abc", kEncodingUTF8), kEncodingMacRoman);
  string second = ConvertEncoding(Tagged("xyz", kEncodingUTF8), kEncodingMacRoman);
  EXPECT_EQ(Text(first), "abc");
  EXPECT_EQ(Text(second), "xyz");
}

TEST(ConvertToSameEncoding, LeavesASCIIAloneAndConvertsTheRest) {
  struct Case {
    const char *a;
    uint32_t aTag;
    const char *b;
    uint32_t bTag;
    uint32_t common;
    uint32_t aTagAfter, bTagAfter;
    const char *aAfter, *bAfter;
  } cases[] = {
      {"", kEncodingASCII, "", kEncodingASCII, kEncodingASCII, kEncodingASCII, kEncodingASCII, "",
       ""},
      {"", kEncodingASCII, "x", kEncodingShiftJIS, kEncodingShiftJIS, kEncodingASCII,
       kEncodingShiftJIS, "", "x"},
      {"x", kEncodingUnknown, "y", kEncodingUTF8, kEncodingUnknown, kEncodingUnknown, kEncodingUTF8,
       "x", "y"},
      {"x", kEncodingASCII, "y", kEncodingUTF8, kEncodingUTF8, kEncodingASCII, kEncodingUTF8, "x",
       "y"},
      // Mac Roman with an accent meets UTF-8 as UTF-8
      {"caf\x8E", kEncodingMacRoman, "y", kEncodingUTF8, kEncodingUTF8, kEncodingUTF8,
       kEncodingUTF8, "caf\xC3\xA9", "y"},
      {"cafe", kEncodingMacRoman, "\xC3\xA9", kEncodingUTF8, kEncodingUTF8, kEncodingUTF8,
       kEncodingUTF8, "cafe", "\xC3\xA9"},
      // two byte encodings meet in UTF-8
      {"\x8E", kEncodingMacRoman, "\x80", kEncodingWindowsLatin1, kEncodingUTF8, kEncodingUTF8,
       kEncodingUTF8, "\xC3\xA9", "\xE2\x82\xAC"},
      // the first converts, the second cannot: the first keeps its conversion
      {"abc", kEncodingMacRoman, "\x81", kEncodingWindowsLatin1, kEncodingUnknown, kEncodingUTF8,
       kEncodingWindowsLatin1, "abc", "\x81"},
  };
  for (const Case &c : cases) {
    string a = Tagged(c.a, c.aTag), b = Tagged(c.b, c.bTag);
    EXPECT_EQ(ConvertToSameEncoding(&a, &b), c.common) << c.a << " / " << c.b;
    if (!a.IsEmpty()) {
      EXPECT_EQ(a.Encoding(), c.aTagAfter) << c.a;
    }
    if (!b.IsEmpty()) {
      EXPECT_EQ(b.Encoding(), c.bTagAfter) << c.b;
    }
    EXPECT_EQ(Text(a), c.aAfter);
    EXPECT_EQ(Text(b), c.bAfter);
  }
}

TEST(ConvertToSameEncoding, BytesMeetUTF16AsUTF16) {
  string wide;
  wide.ConstructFromWString(L"ab", 2);
  string roman = Tagged("\x8E", kEncodingMacRoman);
  EXPECT_EQ(ConvertToSameEncoding(&roman, &wide), kEncodingUTF16);
  EXPECT_EQ(Text(roman), std::string("\xE9\0", 2));
  EXPECT_EQ(roman.Encoding(), kEncodingUTF16);
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
