// The application's change detection compares texts byte for byte, and a
// received text that is not UTF-8 is ignored: the two checks on their own.
#include <gtest/gtest.h>

#include <string>

#include "foundation/String.h"
#include "foundation/TextEncodings.h"

extern "C" {
int32_t SameBytes(stringStorage *a, stringStorage *b);
int32_t IsValidUTF8(stringStorage *text);
}

namespace {

string Text(const std::string &bytes, uint32_t encoding = kEncodingUTF8) {
  string s;
  s.ConstructFromBuffer(bytes.data(), int(bytes.size()));
  if (!s.IsEmpty())
    s.SetEncoding(encoding);
  return s;
}

TEST(TavrinTextBytes, AChangeOfLetterCaseIsAChangeAndTheEncodingTagIsNot) {
  string lower = Text("hello"), upper = Text("HELLO"), same = Text("hello", kEncodingUnknown);
  EXPECT_FALSE(SameBytes(lower.Storage(), upper.Storage()));
  EXPECT_TRUE(SameBytes(lower.Storage(), same.Storage()));
  EXPECT_FALSE(SameBytes(lower.Storage(), Text("hell").Storage()));
  // Nil is the empty text.
  EXPECT_TRUE(SameBytes(nullptr, string().Storage()));
  EXPECT_FALSE(SameBytes(nullptr, lower.Storage()));
}

TEST(TavrinTextBytes, OnlyWellFormedUTF8IsAccepted) {
  struct Case {
    const char *what;
    std::string bytes;
    bool valid;
  } cases[] = {
      {"empty", "", true},
      {"ASCII", "plain text\n", true},
      {"two-byte", "h\xC3\xA9llo", true},
      {"three-byte", "\xE2\x82\xAC", true},
      {"four-byte, highest", "\xF4\x8F\xBF\xBF", true},
      {"a zero byte", std::string("a\0b", 3), true},
      {"Latin-1 byte", "h\xE9llo", false},
      {"lone continuation", "\x80", false},
      {"cut short at the end", "ab\xE2\x82", false},
      {"overlong slash", "\xC0\xAF", false},
      {"overlong three-byte", "\xE0\x80\xAF", false},
      {"surrogate", "\xED\xA0\x80", false},
      {"above U+10FFFF", "\xF4\x90\x80\x80", false},
      {"continuation missing", "\xC3(", false},
  };
  for (const Case &c : cases)
    EXPECT_EQ(IsValidUTF8(Text(c.bytes, kEncodingUnknown).Storage()) != 0, c.valid) << c.what;
}

} // namespace
