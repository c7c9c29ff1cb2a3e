#include <gtest/gtest.h>

#include <string>

#include "foundation/TextEncodings.h"
#include "support/GuardedBytes.h"

namespace {

const unsigned char *Bytes(const std::string &s) {
  return reinterpret_cast<const unsigned char *>(s.data());
}

std::string Encoded(unsigned long codePoint) {
  unsigned char out[5];
  int n = UTF8Encode(codePoint, out);
  return std::string(reinterpret_cast<char *>(out), n);
}

} // namespace

TEST(UTF8Encode, LengthsAtEveryBoundaryAndNothingAboveTheLargestValue) {
  struct Case {
    unsigned long codePoint;
    int length;
  } cases[] = {{0x00, 1},   {0x7F, 1},    {0x80, 2},     {0x7FF, 2},    {0x800, 3},
               {0xFFFF, 3}, {0x10000, 4}, {0x1FFFFF, 4}, {0x200000, 0}, {0xFFFFFFFF, 0}};
  for (const Case &c : cases) {
    unsigned char out[5] = {0xAA, 0xAA, 0xAA, 0xAA, 0xAA};
    EXPECT_EQ(UTF8Encode(c.codePoint, out), c.length) << std::hex << c.codePoint;
    EXPECT_EQ(out[c.length], 0) << "zero byte after U+" << std::hex << c.codePoint;
  }
}

TEST(UTF8Encode, WritesStandardBytesSurrogatesIncluded) {
  EXPECT_EQ(Encoded(0xE9), "\xC3\xA9");
  EXPECT_EQ(Encoded(0x20AC), "\xE2\x82\xAC");
  EXPECT_EQ(Encoded(0xD800), "\xED\xA0\x80");
  EXPECT_EQ(Encoded(0x1F600), "\xF0\x9F\x98\x80");
  EXPECT_EQ(Encoded(0x1FFFFF), "\xF7\xBF\xBF\xBF");
}

TEST(UTF8Decode, InvertsEncodeAcrossTheWholeRange) {
  for (unsigned long c = 0; c <= 0x1FFFFF; c += (c < 0x1000 ? 1 : 0x3FF)) {
    std::string bytes = Encoded(c);
    const unsigned char *p = Bytes(bytes);
    EXPECT_EQ(UTF8Decode(p, p + bytes.size()), c);
    EXPECT_EQ(UTF8DecodeAndAdvance(&p, Bytes(bytes) + bytes.size()), c);
    EXPECT_EQ(p, Bytes(bytes) + bytes.size()) << std::hex << c;
  }
}

TEST(UTF8Decode, LeadByteAloneDecidesTheLength) {
  // A stray continuation byte or an invalid lead counts as a four-byte lead;
  // the bytes after it are taken as they come.
  std::string stray = "\x80\x41\x42\x43";
  EXPECT_EQ(UTF8Decode(Bytes(stray), Bytes(stray) + 4), (0x01ul << 12) | (0x02 << 6) | 0x03);
  std::string invalidLead = "\xFF\x80\x80\x80";
  EXPECT_EQ(UTF8Decode(Bytes(invalidLead), Bytes(invalidLead) + 4), 0x07ul << 18);
}

TEST(UTF8Decode, StaysWithinItsBoundsOnTruncatedSequences) {
  // Each sequence is cut short at the end of a readable page; a read past the
  // end would fault. What is decoded holds the bits of the bytes present.
  struct Case {
    std::string bytes;
    int lead;
    unsigned long codePoint;
  } cases[] = {{"\xE2\x82", 0, (0x2ul << 6) | 0x02},
               {"\xE2", 0, 0x2},
               {"\xC3", 0, 0x3},
               {"\xF0\x9F\x98", 0, (0x1Ful << 6) | 0x18},
               {"a\xF4", 1, 0x4}};
  for (const Case &c : cases) {
    GuardedBytes text(c.bytes);
    const unsigned char *p = text.begin() + c.lead;
    EXPECT_EQ(UTF8Decode(p, text.end()), c.codePoint) << c.bytes.size();
    EXPECT_EQ(UTF8DecodeAndAdvance(&p, text.end()), c.codePoint);
    EXPECT_EQ(p, text.end());
  }
}

TEST(UTF8Decode, EmptyRangeReadsNothing) {
  GuardedBytes text("");
  const unsigned char *p = text.begin();
  EXPECT_EQ(UTF8Decode(p, text.end()), 0u);
  EXPECT_EQ(UTF8DecodeAndAdvance(&p, text.end()), 0u);
  EXPECT_EQ(p, text.begin());
}

TEST(UTF8DecodeCharacter, TellsWellFormedCharactersFromStrayBytes) {
  struct Case {
    std::string bytes;
    bool wellFormed;
    unsigned long c;
    size_t length;
  } cases[] = {
      {"a", true, 'a', 1},
      {"\xC3\xA9", true, 0xE9, 2},
      {"\xE2\x82\xAC", true, 0x20AC, 3},
      {"\xF0\x9F\x98\x80", true, 0x1F600, 4},
      {"\xC3", false, kUTF8StrayByteBase | 0xC3, 1},         // cut short
      {"\xE9 o", false, kUTF8StrayByteBase | 0xE9, 1},       // no continuation
      {"\xC0\x80", false, kUTF8StrayByteBase | 0xC0, 1},     // overlong
      {"\xE0\x9F\xBF", false, kUTF8StrayByteBase | 0xE0, 1}, // overlong
      {"\xED\xA0\x80", false, kUTF8StrayByteBase | 0xED, 1}, // surrogate
      {"\xA9", false, kUTF8StrayByteBase | 0xA9, 1},         // continuation alone
      {"\xFF", false, kUTF8StrayByteBase | 0xFF, 1},
  };
  for (const Case &c : cases) {
    GuardedBytes text(c.bytes);
    const unsigned char *p = text.begin();
    unsigned long decoded = 0;
    EXPECT_EQ(UTF8DecodeCharacter(&p, text.end(), &decoded), c.wellFormed) << c.bytes;
    EXPECT_EQ(decoded, c.c) << c.bytes;
    EXPECT_EQ(size_t(p - text.begin()), c.length) << c.bytes;
  }
}

TEST(UTF8Walking, AdvanceAndBackupStepOverWholeCharactersAndStopAtTheEnds) {
  std::string text = "a\xC3\xA9\xE2\x82\xAC"; // a, e acute, euro sign: 3 characters
  const unsigned char *begin = Bytes(text);
  const unsigned char *end = begin + text.size();

  const unsigned char *p = begin;
  AdvanceUTF8(&p, end, 2);
  EXPECT_EQ(p, begin + 3);
  AdvanceUTF8(&p, end, 5);
  EXPECT_EQ(p, end);
  AdvanceUTF8(&p, end, 1);
  EXPECT_EQ(p, end);

  BackupUTF8(&p, begin, 1);
  EXPECT_EQ(p, begin + 3);
  BackupUTF8(&p, begin, 5);
  EXPECT_EQ(p, begin);
  BackupUTF8(&p, begin, 1);
  EXPECT_EQ(p, begin);
}

TEST(UTF8Walking, AdvanceNeverReadsPastTheEnd) {
  // A lead byte whose continuation bytes would lie past the end.
  GuardedBytes text("ab\xE2\x82");
  const unsigned char *p = text.begin();
  AdvanceUTF8(&p, text.end(), 10);
  EXPECT_EQ(p, text.end());
}

TEST(VectorStuff, FindsAnyByteWithTheHighBitSet) {
  struct Case {
    std::string bytes;
    bool lowOnly;
  } cases[] = {{"", true},      {"plain text\t\n", true},
               {"\x7F", true},  {"caf\xC3\xA9", false},
               {"\x80", false}, {std::string(300, 'x') + "\xFF", false}};
  for (const Case &c : cases)
    EXPECT_EQ(
        VectorStuff()->ContainsOnlyLowBytes(Bytes(c.bytes), static_cast<long>(c.bytes.size())),
        c.lowOnly)
        << c.bytes;
  EXPECT_EQ(VectorStuff(), VectorStuff());
}
