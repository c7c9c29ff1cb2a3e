#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "foundation/Memory.h"
#include "foundation/String.h"
#include "foundation/TextEncodings.h"
#include "support/AlertRecorder.h"

namespace {

string Bytes(const std::string &bytes, uint32_t encoding) {
  string s;
  s.ConstructFromBuffer(bytes.data(), static_cast<int>(bytes.size()));
  s.SetEncoding(encoding);
  return s;
}

std::string Text(const string &s) { return std::string(s.CString(), s.Length()); }

int Sign(int v) { return (v > 0) - (v < 0); }

} // namespace

TEST(String, SlicesShareWholeRangesAndGiveNullWhenEmpty) {
  string s("abcdef");
  enum Result { kEmpty, kSame, kCopy };
  struct Case {
    const char *what;
    string result;
    Result expected;
    const char *text;
  } cases[] = {
      {"left 0", left(s, 0), kEmpty, ""},
      {"left -1", left(s, -1), kEmpty, ""},
      {"right -1", right(s, -1), kEmpty, ""},
      {"mid from length", mid(s, 6), kEmpty, ""},
      {"mid 0 bytes from 2", mid(s, 2, 0), kEmpty, ""},
      {"left length", left(s, 6), kSame, "abcdef"},
      {"right length+5", right(s, 11), kSame, "abcdef"},
      {"mid from 0", mid(s, 0), kSame, "abcdef"},
      {"mid from -3", mid(s, -3), kSame, "abcdef"},
      {"mid length from 0", mid(s, 0, 6), kSame, "abcdef"},
      {"mid length+1 from 0", mid(s, 0, 7), kCopy, "abcdef"},
      {"mid 4 from -2", mid(s, -2, 4), kCopy, "ab"},
      {"left 2", left(s, 2), kCopy, "ab"},
      {"right 2", right(s, 2), kCopy, "ef"},
      {"mid from 4", mid(s, 4), kCopy, "ef"},
      {"mid 10 from 3", mid(s, 3, 10), kCopy, "def"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Text(c.result), c.text);
    if (c.expected == kEmpty)
      EXPECT_EQ(c.result.Storage(), nullptr);
    else if (c.expected == kSame)
      EXPECT_EQ(c.result.Storage(), s.Storage());
    else
      EXPECT_NE(c.result.Storage(), s.Storage());
  }
}

TEST(String, SlicesKeepTheSourceTag) {
  string s = Bytes("h\xC3\xA9llo", kEncodingUTF8);
  EXPECT_EQ(left(s, 3).Encoding(), kEncodingUTF8);
  EXPECT_EQ(right(s, 2).Encoding(), kEncodingUTF8);
  EXPECT_EQ(mid(s, 1, 2).Encoding(), kEncodingUTF8);
}

TEST(String, StorageLayoutReadsAsPascalAndCText) {
  string longText(std::string(300, 'x').c_str());
  stringStorage *s = longText.Storage();
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->mLength, 300);
  EXPECT_EQ(s->mBufferSize, 302);
  EXPECT_EQ(static_cast<unsigned char>(s->mBuffer[0]), 0xFF);
  EXPECT_EQ(s->mBuffer[301], 0);
  EXPECT_EQ(s->mEncoding, kEncodingASCII);
  EXPECT_EQ(s->mRefCount, 1);

  string shortText("hello");
  EXPECT_EQ(shortText.PString()[0], 5);
  EXPECT_STREQ(shortText.CString(), "hello");

  string empty("");
  EXPECT_EQ(empty.Storage(), nullptr);
  EXPECT_STREQ(empty.CString(), "");
  EXPECT_EQ(empty.PString(), kNullPString);
  EXPECT_EQ(stringStorage::Length(nullptr), 0);
  EXPECT_EQ(stringStorage::RemoveReference(nullptr), 0);
}

TEST(String, AllocateBufferMakesUnknownTaggedTerminatedStorage) {
  string s("old");
  s.AllocateBuffer(4);
  ASSERT_NE(s.Storage(), nullptr);
  EXPECT_EQ(s.Length(), 4);
  EXPECT_EQ(s.Storage()->mBufferSize, 6);
  EXPECT_EQ(s.Encoding(), kEncodingUnknown);
  EXPECT_EQ(s.PString()[0], 4);
  EXPECT_EQ(s.CString()[4], 0);

  s.AllocateBuffer(0);
  EXPECT_TRUE(s.IsEmpty());
  s.AllocateBuffer(-3);
  EXPECT_TRUE(s.IsEmpty());
}

TEST(String, LengthsBeyondTheStorageFieldsGiveTheEmptyString) {
  long before = gTotalAllocLen;
  string s("old");
  s.AllocateBuffer(INT32_MAX); // the buffer size would not fit its field
  EXPECT_TRUE(s.IsEmpty());
  string wide;
  wide.ConstructFromWString(nullptr, 0x40000000); // 2n wraps in 32 bits
  EXPECT_TRUE(wide.IsEmpty());
  EXPECT_EQ(gTotalAllocLen, before);
}

TEST(String, ConstructFromBufferMayCopyFromItsOwnBytes) {
  string s("abcdef");
  string other = s; // shared, so the copy must not disturb it
  s.ConstructFromBuffer(s.CString() + 2, 3);
  EXPECT_EQ(Text(s), "cde");
  EXPECT_EQ(s.Encoding(), kEncodingUnknown);
  EXPECT_EQ(Text(other), "abcdef");

  string alone("abcdef");
  alone.ConstructFromBuffer(alone.CString() + 1, 4); // sole holder: old storage freed after
  EXPECT_EQ(Text(alone), "bcde");

  string copy;
  copy.ConstructFromBuffer(other.Storage());
  EXPECT_EQ(Text(copy), "abcdef");
  EXPECT_NE(copy.Storage(), other.Storage());
}

TEST(String, WideStringsHoldLowSixteenBitsAndTwoZeros) {
  const wchar_t wide[] = {L'A', 0x1E9, 0x12345};
  string s;
  s.ConstructFromWString(wide, 3);
  ASSERT_EQ(s.Length(), 6);
  EXPECT_EQ(s.Storage()->mBufferSize, 9);
  EXPECT_EQ(s.Encoding(), kEncodingUTF16);
  const unsigned char expected[] = {'A', 0, 0xE9, 0x01, 0x45, 0x23, 0, 0};
  EXPECT_EQ(std::memcmp(s.CString(), expected, sizeof expected), 0);
  EXPECT_EQ(static_cast<const void *>(s.WString()), s.CString());

  string none;
  none.ConstructFromWString(wide, 0);
  EXPECT_TRUE(none.IsEmpty());
  EXPECT_EQ(none.WString(), kNullWString);
}

TEST(String, WStringOfNarrowTextAlerts) {
  AlertRecorder alerts;
  string s("abc");
  EXPECT_EQ(s.WString(), kNullWString);
  ASSERT_EQ(alerts.count(), 1u);
  EXPECT_TRUE(ShownAt(alerts.alerts()[0], kStringWStringAlert));
}

TEST(String, ReferencesAreCountedAndReleased) {
  long before = gTotalAllocLen;
  {
    string a("shared text");
    string b = a;
    EXPECT_EQ(a.Storage()->mRefCount, 2);
    stringStorage *extracted = a.ExtractStringStorage();
    EXPECT_EQ(extracted->mRefCount, 3);
    EXPECT_EQ(stringStorage::RemoveReference(extracted), 2);
    b = b; // self-assignment changes nothing
    EXPECT_EQ(a.Storage()->mRefCount, 2);
    string c = a + b + "!" + left(a, 3) + mid(a, 2, 4);
    c += "tail";
    c += string("more");
    EXPECT_EQ(Text(c), "shared textshared text!shaaredtailmore");
    string borrowed = string::Borrow(c.Storage());
    EXPECT_EQ(c.Storage()->mRefCount, 2);
    string utf8 = c.GetUTF8String();
    EXPECT_EQ(utf8.Storage(), c.Storage());
  }
  EXPECT_EQ(gTotalAllocLen, before);
}

TEST(String, JoiningWithTheEmptyStringSharesTheOtherSide) {
  string text("abc"), empty;
  EXPECT_EQ((text + empty).Storage(), text.Storage());
  EXPECT_EQ((empty + text).Storage(), text.Storage());
  string appended = empty;
  appended += text;
  EXPECT_EQ(appended.Storage(), text.Storage());
  appended += empty;
  EXPECT_EQ(appended.Storage(), text.Storage());
}

TEST(String, JoiningChoosesTheTag) {
  string ascii("abc");
  string utf8 = Bytes("d\xC3\xA9", kEncodingUTF8);
  string macRoman = Bytes("\x8E", kEncodingMacRoman);
  struct Case {
    const char *what;
    string result;
    uint32_t encoding;
    std::string bytes;
  } cases[] = {
      {"ascii + utf8", ascii + utf8, kEncodingUTF8, "abcd\xC3\xA9"},
      {"utf8 + utf8", utf8 + utf8, kEncodingUTF8,
       "d\xC3\xA9"
       "d\xC3\xA9"},
      {"macroman + utf8", macRoman + utf8, kEncodingUTF8,
       "\xC3\xA9"
       "d\xC3\xA9"},
      // Windows-1252 has no 0x81: nothing to meet in, both byte runs kept.
      {"invalid windows + macroman", Bytes("\x81", 0x0500) + macRoman, kEncodingUnknown,
       "\x81\x8E"},
      {"ascii + 'x'", ascii + 'x', kEncodingASCII, "abcx"},
      {"utf8 + 'x'", utf8 + 'x', kEncodingUTF8, "d\xC3\xA9x"},
      {"empty + 'x'", string() + 'x', kEncodingASCII, "x"},
      {"ascii + 0xE9", ascii + '\xE9', kEncodingUnknown, "abc\xE9"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.result.Encoding(), c.encoding);
    EXPECT_EQ(Text(c.result), c.bytes);
  }
}

TEST(String, AppendingInPlaceChoosesTheTag) {
  string s = Bytes("d\xC3\xA9", kEncodingUTF8);
  s += "xy";
  EXPECT_EQ(Text(s), "d\xC3\xA9xy");
  EXPECT_EQ(s.Encoding(), kEncodingUTF8);

  string empty;
  empty += "xy";
  EXPECT_EQ(empty.Encoding(), kEncodingUnknown);
  empty += "";
  empty += static_cast<const char *>(nullptr);
  EXPECT_EQ(Text(empty), "xy");

  string ascii("ab");
  ascii += Bytes("\xC3\xA9", kEncodingUTF8); // different tags: joined as with +
  EXPECT_EQ(ascii.Encoding(), kEncodingUTF8);
  EXPECT_EQ(Text(ascii), "ab\xC3\xA9");
}

// Appends grow a string alone in its storage in place and copy shared
// storage first. Against the bytes a plain concatenation gives, for pieces
// of every kind (mixed case, bytes of 0x80 and above, embedded zeros) under
// every kind of tag, through growth well past the first buffer and past 255
// bytes (where the length byte saturates).
TEST(String, AppendsMatchAPlainConcatenationAndLeaveSharedCopiesAlone) {
  const std::string pieces[] = {"MiXeD", "\xC3\xA9\x8E\xFF", std::string("a\0b\0", 4), "z",
                                std::string(40, 'q')};
  for (uint32_t encoding :
       {kEncodingASCII, kEncodingUTF8, kEncodingMacRoman, kEncodingUTF16, kEncodingUnknown}) {
    SCOPED_TRACE(encoding);
    string text = Bytes("start", encoding);
    std::string expected = "start";
    for (int round = 0; round < 12; ++round)
      for (const std::string &piece : pieces) {
        string before = text; // shared: must not see the append
        std::string beforeBytes = expected;
        if (round % 2)
          text.AppendBytes(piece.data(), int(piece.size()));
        else
          text += Bytes(piece, encoding);
        expected += piece;
        EXPECT_EQ(Text(before), beforeBytes);
        ASSERT_EQ(Text(text), expected);
        stringStorage *s = text.Storage();
        EXPECT_EQ(s->mEncoding, encoding);
        EXPECT_EQ(s->mRefCount, 1);
        EXPECT_EQ(s->mBuffer[0], char(expected.size() > 255 ? 255 : expected.size()));
        // Everything after the text is zero, so wide text ends in two zeros.
        ASSERT_GE(s->mBufferSize, s->mLength + 3);
        for (int i = 1 + s->mLength; i < s->mBufferSize; ++i)
          ASSERT_EQ(s->mBuffer[i], 0) << "byte " << i;
        before = string(); // the next append finds the storage alone again
      }
  }
}

TEST(String, AppendingToItselfAndToNothing) {
  string text("abc");
  text += text;
  text.AppendBytes(text.CString(), text.Length()); // in place, from its own bytes
  EXPECT_EQ(Text(text), "abcabcabcabc");
  text.AppendBytes("ignored", 0);
  text.AppendBytes("ignored", -1);
  EXPECT_EQ(text.Length(), 12);

  string empty;
  empty.AppendBytes(std::string("\0x", 2).data(), 2);
  EXPECT_EQ(Text(empty), std::string("\0x", 2));
  EXPECT_EQ(empty.Encoding(), kEncodingUnknown);
}

TEST(String, ConstructFromBufferTagsWhenAsked) {
  string s;
  s.ConstructFromBuffer("\xC3\xA9", 2, kEncodingUTF8);
  EXPECT_EQ(Text(s), "\xC3\xA9");
  EXPECT_EQ(s.Encoding(), kEncodingUTF8);
  s.ConstructFromBuffer("x", 0, kEncodingUTF8);
  EXPECT_TRUE(s.IsEmpty());
}

TEST(String, CompareIgnoresCaseAndOrdersPrefixesFirst) {
  struct Case {
    string a, b;
    int compare, withCase;
  } cases[] = {
      {"abc", "ABC", 0, 1},
      {"ab", "abc", -1, -1},
      {"abc", "ab", 1, 1},
      {"", "", 0, 0},
      {"", "a", -1, -1},
      {"abd", "ABC", 1, 1},
      // Mac Roman text still folds its accented letters (é and É).
      {Bytes("\x8E", kEncodingMacRoman), Bytes("\x83", kEncodingMacRoman), 0, 1},
      // UTF-8 text folds ASCII letters only: U+010A and U+0100 differ
      // (C4 8A and C4 80 would be equal through the Mac Roman table).
      {Bytes("\xC4\x8A", kEncodingUTF8), Bytes("\xC4\x80", kEncodingUTF8), 1, 1},
      {Bytes("Stra\xC3\x9F"
             "e",
             kEncodingUTF8),
       Bytes("STRA\xC3\x9F"
             "E",
             kEncodingUTF8),
       0, 1},
      // An ASCII side meets UTF-8 in UTF-8.
      {"xyz\xC4\x8A", Bytes("XYZ\xC4\x80", kEncodingUTF8), 1, 1},
      // Text tagged ASCII, or untagged, that carries bytes of 0x80 and above
      // folds only ASCII letters: these are different characters.
      {"\xC4\x8A", "\xC4\x80", 1, 1},
      {Bytes("\x8E", kEncodingUnknown), Bytes("\x83", kEncodingUnknown), 1, 1},
      {Bytes("ab\x8E", kEncodingUnknown), "AB\x8E", 0, 1},
      // Different tags, plain ASCII bytes on both sides: no conversion.
      {Bytes("Name", kEncodingMacRoman), Bytes("NAME", kEncodingUTF8), 0, 1},
      // Embedded zero bytes count like any other byte.
      {Bytes(std::string("a\0b", 3), kEncodingUTF8), Bytes(std::string("A\0B", 3), kEncodingUTF8),
       0, 1},
      {Bytes(std::string("a\0b", 3), kEncodingUTF8), Bytes(std::string("a\0c", 3), kEncodingUTF8),
       -1, -1},
      // UTF-16 against UTF-8 goes through the conversion to a common encoding:
      // the bytes ab are the one unit U+6261.
      {Bytes(std::string("a\0b\0", 4), kEncodingUTF16), Bytes("AB", kEncodingUTF8), 0, 1},
      {Bytes("ab", kEncodingUTF16), Bytes("ab", kEncodingUTF8), 1, 1},
      {Bytes(std::string("a\0b\0", 4), kEncodingUTF16),
       Bytes(std::string("A\0b\0", 4), kEncodingUTF16), 0, 1},
      // Same tag, different lengths.
      {Bytes("\x8E", kEncodingMacRoman), Bytes("\x83x", kEncodingMacRoman), -1, 1},
      // Longer than one sixteen-byte block: a difference past the first
      // block, and equal bytes, equal cases and zeros there.
      {"ControlName1234567", "ControlName1234568", -1, -1},
      {"ControlName1234567", "CONTROLNAME1234567", 0, 1},
      {Bytes(std::string("0123456789abcdef\0\xC4\x8A", 19), kEncodingUTF8),
       Bytes(std::string("0123456789ABCDEF\0\xC4\x80", 19), kEncodingUTF8), 1, 1},
      {Bytes(std::string("0123456789abcdef\0\xC4\x8A", 19), kEncodingUnknown),
       Bytes(std::string("0123456789abcdef\0\xC4\x8A", 19), kEncodingUnknown), 0, 0},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(Text(c.a) + " vs " + Text(c.b));
    EXPECT_EQ(Sign(c.a.Compare(c.b)), c.compare);
    EXPECT_EQ(Sign(c.a.CompareWithCase(c.b)), c.withCase);
    EXPECT_EQ(c.a.EqualsIgnoringCase(c.b), c.compare == 0);
    EXPECT_EQ(c.b.EqualsIgnoringCase(c.a), c.compare == 0);
  }
  EXPECT_EQ(string("abc").CompareWithCase("abc"), 0);
  EXPECT_EQ(string("abc").CompareWithCase("abd"), -1);
}

TEST(String, ComparisonLeavesItsArgumentsAlone) {
  string utf8 = Bytes("abc", kEncodingUTF8);
  string macRoman = Bytes("ABC", kEncodingMacRoman);
  EXPECT_EQ(utf8.Compare(macRoman), 0);
  EXPECT_EQ(utf8.Encoding(), kEncodingUTF8);
  EXPECT_EQ(macRoman.Encoding(), kEncodingMacRoman);
}

TEST(String, TrimRemovesOnlySpacesAndTabs) {
  EXPECT_EQ(Text(trim(" \tx \t")), "x");
  EXPECT_EQ(Text(ltrim(" \tx ")), "x ");
  EXPECT_EQ(Text(rtrim(" x\t")), " x");
  EXPECT_TRUE(trim(" \t ").IsEmpty());
  string lineFeeds("\nx\n");
  EXPECT_EQ(trim(lineFeeds).Storage(), lineFeeds.Storage());
}

TEST(String, MutableCharCopiesSharedStorageFirst) {
  string a = Bytes("abc", kEncodingUTF8);
  string b = a;
  *a.MutableChar(1) = 'X';
  EXPECT_EQ(Text(a), "aXc");
  EXPECT_EQ(Text(b), "abc");
  EXPECT_EQ(a.Encoding(), kEncodingUnknown);
  EXPECT_EQ(b.Encoding(), kEncodingUTF8);

  stringStorage *own = a.Storage();
  *a.MutableChar(0) = 'Y'; // sole holder: written in place
  EXPECT_EQ(a.Storage(), own);
  EXPECT_EQ(Text(a), "YXc");
}

TEST(String, MutableCharOutsideTheTextAlertsAndWritesNothing) {
  AlertRecorder alerts;
  string a("abc"), empty;
  EXPECT_NE(empty.MutableChar(0), nullptr);
  EXPECT_EQ(alerts.count(), 0u);
  *a.MutableChar(3) = 'Z';
  *a.MutableChar(-1) = 'Z';
  *empty.MutableChar(2) = 'Z';
  EXPECT_EQ(Text(a), "abc");
  EXPECT_TRUE(empty.IsEmpty());
  ASSERT_EQ(alerts.count(), 3u);
  EXPECT_TRUE(ShownAt(alerts.alerts()[0], kStringMutableCharAlert));
  EXPECT_TRUE(ShownAt(alerts.alerts()[1], kStringMutableCharAlert));
  EXPECT_TRUE(ShownAt(alerts.alerts()[2], kStringMutableCharOfEmptyAlert));
}

TEST(String, ContainsOnlyASCII) {
  EXPECT_TRUE(string().ContainsOnlyASCII());
  EXPECT_TRUE(string("plain").ContainsOnlyASCII());
  EXPECT_FALSE(Bytes("caf\xC3\xA9", kEncodingUTF8).ContainsOnlyASCII());
  EXPECT_FALSE(Bytes("ab", kEncodingUTF16).ContainsOnlyASCII());
  EXPECT_FALSE(Bytes("ab", 0x01FF).ContainsOnlyASCII());
  EXPECT_TRUE(Bytes("ab", 0x0200).ContainsOnlyASCII());
}

TEST(String, UnicodeCharEncodesOneCharacter) {
  string utf8 = UnicodeChar(0xE9, kEncodingUTF8);
  EXPECT_EQ(Text(utf8), "\xC3\xA9");
  EXPECT_EQ(utf8.Encoding(), kEncodingUTF8);
  string utf16 = UnicodeChar(0xE9, kEncodingUTF16);
  EXPECT_EQ(Text(utf16), std::string("\xE9\x00", 2));
  EXPECT_EQ(utf16.Encoding(), kEncodingUTF16);
  string ascii = UnicodeChar('A', kEncodingMacRoman);
  EXPECT_EQ(Text(ascii), "A");
  EXPECT_EQ(ascii.Encoding(), kEncodingMacRoman);
  EXPECT_EQ(Text(UnicodeChar(0xE9, kEncodingMacRoman)), "\x8E");
  EXPECT_TRUE(UnicodeChar(0x65E5, kEncodingMacRoman).IsEmpty()); // not in Mac Roman
}

TEST(String, SetEncodingNeverRetagsSharedStorage) {
  string a = Bytes("abc", kEncodingASCII);
  string b = a;
  a.SetEncoding(kEncodingUTF8);
  EXPECT_EQ(a.Encoding(), kEncodingUTF8);
  EXPECT_EQ(b.Encoding(), kEncodingASCII);
  EXPECT_EQ(Text(a), "abc");
}
