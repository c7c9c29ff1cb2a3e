#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/SplitString.h"
#include "foundation/TextEncodings.h"
#include "support/AlertRecorder.h"

namespace {

std::vector<std::string> Split(const char *text, unsigned long separator,
                               SimpleVector<string> &pieces) {
  string s(text);
  s.SetEncoding(kEncodingUTF8);
  SplitString(s, separator, pieces);
  std::vector<std::string> result;
  for (const string &piece : pieces) {
    result.emplace_back(piece.CString(), piece.Length());
    if (!piece.IsEmpty()) {
      EXPECT_EQ(piece.Encoding(), kEncodingUTF8) << result.back();
    }
  }
  return result;
}

std::vector<std::string> Split(const char *text, unsigned long separator) {
  SimpleVector<string> pieces;
  return Split(text, separator, pieces);
}

using Pieces = std::vector<std::string>;

} // namespace

TEST(SplitString, CutsAtEverySeparatorButAddsNoEmptyLastPiece) {
  struct Case {
    const char *text;
    unsigned long separator;
    Pieces pieces;
  } cases[] = {
      {"a,b", ',', {"a", "b"}},
      {"a,,b", ',', {"a", "", "b"}},
      {"a,b,", ',', {"a", "b"}},
      {",a", ',', {"", "a"}},
      {",", ',', {""}},
      {"abc", ',', {"abc"}},
      {"", ',', {}},
      {"\xC3\xA9,\xC3\xBC", ',', {"\xC3\xA9", "\xC3\xBC"}},
      // the separator is a code point: e acute, not its bytes
      {"a\xC3\xA9"
       "b\xC3\xA9",
       0xE9,
       {"a", "b"}},
      {"\xC3\xA9", 0xC3, {"\xC3\xA9"}},
  };
  for (const Case &c : cases)
    EXPECT_EQ(Split(c.text, c.separator), c.pieces) << c.text;
}

TEST(SplitString, EmptiesThePiecesFirst) {
  SimpleVector<string> pieces;
  pieces.push_back(string("old"));
  EXPECT_EQ(Split("x y", ' ', pieces), (Pieces{"x", "y"}));
  EXPECT_EQ(pieces.count(), 2);
}

TEST(SplitString, SeparatorAbove255IsReportedAndTheSplitGoesOn) {
  AlertRecorder alerts;
  EXPECT_EQ(Split("a\xE2\x82\xAC"
                  "b",
                  0x20AC),
            (Pieces{"a", "b"}));
  ASSERT_EQ(alerts.count(), 1u);
  EXPECT_TRUE(ShownAt(alerts.alerts()[0], kSplitSeparatorAlert));
}

TEST(SplitString, TruncatedLastCharacterStaysInItsPiece) {
  EXPECT_EQ(Split("a,b\xE2\x82", ','), (Pieces{"a", "b\xE2\x82"}));
}
