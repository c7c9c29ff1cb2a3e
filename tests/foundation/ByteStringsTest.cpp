#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include <cstring>

#include "foundation/ByteStrings.h"
#include "foundation/Memory.h"
#include "support/AlertRecorder.h"

TEST(ByteStrings, UpperCaseTableChangesExactlyTheMacRomanLowerCaseLetters) {
  int changed = 0;
  for (int c = 0; c < 256; ++c)
    changed += utoupper(static_cast<unsigned char>(c)) != c;
  EXPECT_EQ(changed, 56);
  struct Case {
    unsigned char lower, upper;
  } cases[] = {{'a', 'A'},   {'z', 'Z'},   {0x87, 0xE7}, {0x8A, 0x80}, {0x8E, 0x83},
               {0x96, 0x84}, {0x9F, 0x86}, {0xBE, 0xAE}, {0xBF, 0xAF}, {0xCF, 0xCE},
               {0xD8, 0xD9}, {0xF5, 0x49}, {'A', 'A'},   {'{', '{'},   {0xE7, 0xE7}};
  for (const Case &c : cases)
    EXPECT_EQ(utoupper(c.lower), c.upper) << std::hex << int(c.lower);
}

TEST(ByteStrings, TextComparisons) {
  struct Case {
    const char *a, *b;
    int caseless, exact;
  } cases[] = {
      {"abc", "ABC", 0, 1},     {"\x8E", "\x83", 0, 1}, // é and É in Mac Roman
      {"ab", "abc", -1, -1},    {"abc", "ab", 1, 1},    {"", "", 0, 0},
      {"abd", "abc", 1, 1},     {"\xE9", "a", 1, 1}, // unsigned bytes
      {nullptr, nullptr, 0, 0}, {nullptr, "a", -1, -1}, {"a", nullptr, 1, 1},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << (c.a ? c.a : "null") << " vs " << (c.b ? c.b : "null"));
    EXPECT_EQ(ustrcmpi(c.a, c.b), c.caseless);
    EXPECT_EQ(ustrcmp(c.a, c.b), c.exact);
  }
}

TEST(ByteStrings, RunComparisonsPutTheShorterPrefixFirst) {
  struct Case {
    const char *a;
    int aLength;
    const char *b;
    int bLength;
    int caseless, exact, caselessASCII;
  } cases[] = {
      {"ab", 2, "abc", 3, -1, -1, -1},
      {"ABC", 3, "abc", 3, 0, -1, 0},
      {"abX", 2, "abY", 2, 0, 0, 0}, // only the counted bytes matter
      {"a\0b", 3, "a\0c", 3, -1, -1, -1},
      {"\xC4\x8A", 2, "\xC4\x80", 2, 0, 1, 1}, // U+010A, U+0100 in UTF-8
      {"\x8E", 1, "\x83", 1, 0, 1, 1},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message()
                 << std::string(c.a, c.aLength) << " vs " << std::string(c.b, c.bLength));
    EXPECT_EQ(ustrcmpi(c.a, c.aLength, c.b, c.bLength), c.caseless);
    EXPECT_EQ(ustrcmp(c.a, c.aLength, c.b, c.bLength), c.exact);
    EXPECT_EQ(ustrcmpiASCII(c.a, c.aLength, c.b, c.bLength), c.caselessASCII);
  }
}

// The ASCII-folding compare takes sixteen bytes at a time: every length up
// to three blocks, with one differing byte at every position (a case
// change, a byte above 0x7F, a zero), answers as a plain byte loop would.
TEST(ByteStrings, BlockwiseASCIIFoldAnswersAsTheByteLoop) {
  auto fold = [](unsigned char c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : int(c); };
  auto reference = [&](const std::string &a, const std::string &b) {
    size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i)
      if (int d = fold(static_cast<unsigned char>(a[i])) - fold(static_cast<unsigned char>(b[i])))
        return d < 0 ? -1 : 1;
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
  };
  const std::string base = "The Quick brown fox: jumps over 0123456789 lazy dogs!";
  const char replacements[] = {'A', 'z', '\0', '\x80', '\xE9', '{', '@', '`'};
  for (size_t length = 0; length <= 48; ++length) {
    std::string a = base.substr(0, length);
    std::string upper = a;
    for (char &c : upper)
      c = char(fold(static_cast<unsigned char>(c)));
    ASSERT_EQ(ustrcmpiASCII(a.data(), int(length), upper.data(), int(length)), 0) << length;
    for (size_t at = 0; at < length; ++at)
      for (char replacement : replacements) {
        std::string b = upper;
        b[at] = replacement;
        ASSERT_EQ(ustrcmpiASCII(a.data(), int(length), b.data(), int(length)), reference(a, b))
            << "length " << length << ", byte " << at << " = " << int(replacement);
        ASSERT_EQ(ustrcmpiASCII(b.data(), int(length), a.data(), int(length)), reference(b, a));
      }
    std::string longer = upper + "x";
    EXPECT_EQ(ustrcmpiASCII(a.data(), int(length), longer.data(), int(length + 1)), -1);
  }
}

// The block-wise hash against h * 31 + folded byte, for every length around
// the block size, with a byte changed to each kind (letters, a byte above
// 0x7F, a zero), and with runs placed at the start and the end of a page,
// where the last block cannot be read whole.
TEST(ByteStrings, BlockwiseHashAnswersAsTheByteLoop) {
  auto reference = [](const unsigned char *p, int length) {
    uint32_t h = 0;
    for (int i = 0; i < length; ++i)
      h = h * 31 + uint32_t(static_cast<signed char>(utoupper(p[i])));
    return h;
  };
  const std::string base = "The Quick brown fox: jumps over 0123456789 lazy dogs!";
  const char replacements[] = {'A', 'z', '\0', '\x80', '\x8A', '\xE9', '{', '`'};
  // Two pages, so a run can end just past a page start or right at a page end.
  std::vector<unsigned char> pages(3 * 4096);
  unsigned char *page = pages.data() + (4096 - reinterpret_cast<uintptr_t>(pages.data()) % 4096);
  for (size_t length = 0; length <= 48; ++length)
    for (size_t at = 0; at <= length; ++at)
      for (char replacement : replacements) {
        std::string run = base.substr(0, length);
        if (at < length)
          run[at] = replacement;
        for (unsigned char *p : {page + 4096 - length, page + 4096 + 3, page + 4096})
          std::memcpy(p, run.data(), length);
        for (unsigned char *p : {page + 4096 - length, page + 4096 + 3, page + 4096})
          ASSERT_EQ(FoldedHash31(reinterpret_cast<const char *>(p), int(length)),
                    reference(p, int(length)))
              << "length " << length << ", byte " << at << " = " << int(replacement)
              << ", page offset " << (p - page) % 4096;
      }
}

// Two pages, so that a run can end right at a page end (where the last block
// cannot be read whole) or start just past a page start.
struct TwoPages {
  std::vector<char> bytes = std::vector<char>(3 * 4096);
  char *page = bytes.data() + (4096 - reinterpret_cast<uintptr_t>(bytes.data()) % 4096);
  // Places for a run of length bytes: ending at the page end, starting past
  // the page start, starting at the page start.
  std::vector<char *> Places(size_t length) {
    return {page + 4096 - length, page + 4096 + 3, page + 4096};
  }
};

// The block-wise byte match against memcmp: every length around the block
// size, one byte changed at every position (to another byte of each kind:
// a case change, a byte above 0x7F, a zero), at every place in the page.
TEST(ByteStrings, SameBytesAnswersAsMemcmp) {
  const std::string base = "The Quick brown fox: jumps over 0123456789 lazy dogs!";
  const char replacements[] = {'t', '\x80', '\0', '\xFF'};
  TwoPages a, b;
  for (size_t length = 0; length <= 48; ++length)
    for (size_t at = 0; at <= length; ++at)
      for (char replacement : replacements) {
        std::string run = base.substr(0, length), other = run;
        if (at < length)
          other[at] = replacement;
        // The places overlap, so each is filled and tried in turn; b's run
        // lies at a different place from a's.
        std::vector<char *> aPlaces = a.Places(length), bPlaces = b.Places(length);
        for (size_t i = 0; i < aPlaces.size(); ++i) {
          char *x = aPlaces[i], *y = bPlaces[(i + 1) % bPlaces.size()];
          std::memcpy(x, run.data(), length);
          std::memcpy(y, other.data(), length);
          ASSERT_EQ(SameBytes(x, y, int(length)), run == other)
              << "length " << length << ", byte " << at << " = " << int(replacement);
        }
      }
}

// The block-wise line-break search against a byte loop: a CR or an LF at
// every position of every length, with bytes around it that are neither
// (zeros, bytes above 0x7F, 0x8D and 0x8A, whose low bits match), and runs
// at every place in the page.
TEST(ByteStrings, FindLineBreakAnswersAsTheByteLoop) {
  const std::string base =
      std::string("ab\0\x8D\x8A\xFF\x1D\x1A", 8) + "0123456789abcdefghijklmnopqrstuvwxyz0123456";
  TwoPages pages;
  for (size_t length = 0; length <= 48; ++length)
    for (size_t at = 0; at <= length; ++at)
      for (char lineBreak : {'\r', '\n'}) {
        std::string run = base.substr(0, length);
        if (at < length)
          run[at] = lineBreak;
        size_t expected = run.find_first_of("\r\n");
        for (char *p : pages.Places(length)) {
          std::memcpy(p, run.data(), length);
          ASSERT_EQ(FindLineBreak(p, int(length)),
                    int(expected == std::string::npos ? length : expected))
              << "length " << length << ", break at " << at;
        }
      }
}

TEST(ByteStrings, UmemcmpFindsEveryOccurrence) {
  struct Case {
    const char *text, *pattern;
    int found;
  } cases[] = {
      {"aaab", "aab", 1},    {"abababc", "ababc", 2}, {"hello", "llo", 2},  {"hello", "he", 0},
      {"hello", "hello", 0}, {"hello", "xyz", -1},    {"hel", "hello", -1}, {"hello", "", -1},
  };
  for (const Case &c : cases)
    EXPECT_EQ(umemcmp(c.text, c.pattern, static_cast<int>(std::strlen(c.pattern)),
                      static_cast<int>(std::strlen(c.text))),
              c.found)
        << c.pattern << " in " << c.text;
  const char binary[] = {'x', 0, 'y', 0, 'z'};
  const char pattern[] = {0, 'z'};
  EXPECT_EQ(umemcmp(binary, pattern, 2, 5), 3);
}

TEST(ByteStrings, UwstrlenCountsEveryElement) {
  EXPECT_EQ(uwstrlen(L""), 0);
  EXPECT_EQ(uwstrlen(L"a"), 1);
  EXPECT_EQ(uwstrlen(L"abc"), 3); // the zero sits at an odd index
  EXPECT_EQ(uwstrlen(L"abcd"), 4);
}

TEST(ByteStrings, UstrlenOfNullAlertsAndCountsZero) {
  AlertRecorder alerts;
  EXPECT_EQ(ustrlen("four"), 4);
  EXPECT_EQ(ustrlen(nullptr), 0);
  ASSERT_EQ(alerts.count(), 1u);
  EXPECT_TRUE(ShownAt(alerts.alerts()[0], kUstrlenNullAlert));
}

TEST(ByteStrings, CopiesAndFills) {
  char buffer[16] = "ab";
  char *end = buffer;
  ustrcat(&end, "cd");
  EXPECT_STREQ(buffer, "abcd");
  ustrcpy(buffer, "xyz");
  EXPECT_STREQ(buffer, "xyz");

  unsigned char pascal[8] = {};
  const unsigned char source[] = {3, 'a', 'b', 'c', 'X'};
  pstrcpy(pascal, source);
  EXPECT_EQ(std::memcmp(pascal, source, 4), 0);
  EXPECT_EQ(pascal[4], 0);

  char *copy = OSstrdup("dup");
  EXPECT_STREQ(copy, "dup");
  OSfree(copy);

  char fill[6] = "abcde";
  EXPECT_EQ(umemset(fill, 'x', 3), 3);
  EXPECT_STREQ(fill, "xxxde");
  EXPECT_EQ(umemzero(fill, -1), -1);
  EXPECT_STREQ(fill, "xxxde");
  EXPECT_EQ(umemzero(fill + 4, 1), 1);
  EXPECT_STREQ(fill, "xxxd");
}

TEST(ByteStrings, OverlappingMovesKeepTheirBytes) {
  char forward[] = "abcdefgh";
  umemcpy(forward + 2, forward, 5);
  EXPECT_STREQ(forward, "ababcdeh");
  char backward[] = "abcdefgh";
  umemmove(backward, backward + 3, 5);
  EXPECT_STREQ(backward, "defghfgh");
  long before = gTotalAllocLen;
  char large[400];
  std::memset(large, 'q', sizeof large);
  umemmove(large + 1, large, 300);
  EXPECT_EQ(gTotalAllocLen, before); // the temporary block went back
  umemcpy(forward, "zz", 0);
  EXPECT_STREQ(forward, "ababcdeh");
}

TEST(ByteStrings, WideningWritesTwoBytesPerCharacterAndNoTerminator) {
  char out[8];
  std::memset(out, '#', sizeof out);
  char *cursor = out;
  EXPECT_EQ(ANSICharToWideChar("ab\xE9", &cursor), 0);
  const char expected[] = {'a', 0, 'b', 0, '\xE9', 0, '#', '#'};
  EXPECT_EQ(std::memcmp(out, expected, sizeof out), 0);
}
