// A random sweep of mixed-tag text through the string functions: texts in
// the encodings programs meet (ASCII literals, UTF-8 and untagged bytes from
// sockets and files, UTF-16 from MemoryBlocks, single-byte and Shift-JIS
// text), some of them not well-formed in their tag, with finds, delimiters
// and replacements of other tags. Every function must return (no hang, no
// crash) and keep every character it does not replace.
//
// TEXT_SWEEP_INPUTS sets the number of inputs (2,000 by default; the long run
// uses 100,000), TEXT_SWEEP_SEED the seed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "LanguageFixtures.h"
#include "TextFixtures.h"
#include "foundation/TextEncodings.h"
#include "language/LineEndings.h"
#include "language/RuntimeArray.h"
#include "language/StringCase.h"
#include "language/StringCompare.h"
#include "language/StringFields.h"
#include "language/StringSearch.h"
#include "language/StringSlices.h"
#include "language/Variant.h"

namespace {

constexpr uint32_t kLatin1 = 0x0201;
constexpr uint32_t kWindowsLatin1 = 0x0500;
constexpr uint32_t kShiftJIS = 0x0A01;

const uint32_t kEncodings[] = {kEncodingASCII,    kEncodingUTF8,  kEncodingUTF16, kLatin1,
                               kEncodingMacRoman, kWindowsLatin1, kShiftJIS,      kEncodingUnknown};

// Letters with and without case, blanks, line endings and delimiters, and
// characters that only some encodings hold.
const char32_t kAlphabet[] = {U'a',  U'A',  U'b',  U'K',   U' ',   U'\t',  U'\r',
                              U'\n', U';',  U',',  0xE9,   0xC9,   0xFF,   0x20AC,
                              0x436, 0x416, 0x3B9, 0x65E5, 0xFF71, 0x1F600};

std::string Utf8Of(const std::u32string &word) {
  std::string bytes;
  for (char32_t c : word) {
    unsigned char out[5];
    bytes.append(reinterpret_cast<char *>(out), size_t(UTF8Encode(c, out)));
  }
  return bytes;
}

// A word spelled in an encoding (untagged text gets the UTF-8 bytes).
string Spell(const std::u32string &word, uint32_t encoding) {
  const string utf8 = Utf8(Utf8Of(word));
  if (encoding == kEncodingUnknown)
    return Tagged(Utf8Of(word), kEncodingUnknown);
  if (word.empty() || encoding == kEncodingUTF8)
    return word.empty() ? string() : utf8;
  return ConvertEncoding(utf8, encoding);
}

// The text in UTF-8, the form in which texts of different tags are checked
// against each other; untagged text as it is.
std::string AsUtf8(const string &s) {
  if (s.IsEmpty() || s.Encoding() == kEncodingUTF8 || s.Encoding() == kEncodingUnknown)
    return Text(s);
  const string converted = ConvertEncoding(s, kEncodingUTF8);
  EXPECT_FALSE(converted.IsEmpty()) << "tag " << std::hex << s.Encoding();
  return Text(converted);
}

int32_t Compare(const string &a, const string &b) {
  return RuntimeStringCompare(a.Storage(), b.Storage());
}

class TextSweep : public LanguageTest {
protected:
  TextSweep() {
    const char *inputs = std::getenv("TEXT_SWEEP_INPUTS");
    const char *seed = std::getenv("TEXT_SWEEP_SEED");
    mInputs = inputs ? std::atol(inputs) : 2000;
    mRandom.seed(seed ? uint32_t(std::atol(seed)) : 2026u);
    // Which letters each encoding holds.
    for (uint32_t encoding : kEncodings) {
      std::vector<char32_t> held;
      for (char32_t c : kAlphabet)
        if (encoding == kEncodingUnknown || !Spell(std::u32string(1, c), encoding).IsEmpty())
          held.push_back(c);
      mHeld.push_back(held);
    }
  }

  uint32_t Pick(size_t n) { return uint32_t(mRandom() % n); }

  // A random word of up to length letters that the encoding at index holds.
  std::u32string Word(size_t encodingIndex, int length) {
    std::u32string word;
    const std::vector<char32_t> &held = mHeld[encodingIndex];
    for (int n = int(Pick(size_t(length) + 1)); n > 0; --n)
      word += held[Pick(held.size())];
    return word;
  }

  // Bytes that need not be well-formed in their tag.
  string Noise(uint32_t encoding) {
    std::string bytes;
    for (int n = int(Pick(9)); n > 0; --n)
      bytes += char(Pick(4) == 0 ? Pick(256) : "a;\n\xC3\xE9\x82\xD8\x00"[Pick(8)]);
    return bytes.empty() ? string() : Tagged(bytes, encoding);
  }

  long mInputs = 0;
  std::mt19937 mRandom;
  std::vector<std::vector<char32_t>> mHeld;
};

// Whatever the input, every function returns; case maps keep the text equal
// ignoring case, and slicing keeps every byte.
void CheckEveryFunctionReturns(const string &text, const string &find, const string &with) {
  stringStorage *t = text.Storage(), *f = find.Storage(), *w = with.Storage();
  // Case maps keep every character. (Lower and title case need not compare
  // equal: the simple folding lower-cases a final sigma to a sigma whose
  // capital the final sigma does not have.)
  const string upper = Owned(StringUCase(t));
  ASSERT_EQ(Compare(upper, text), 0) << Text(text) << " / " << Text(upper);
  for (auto map : {StringUCase, StringLCase, StringTitleCase}) {
    const string mapped = Owned(map(t));
    ASSERT_EQ(StringDBCSLen(mapped.Storage()), StringDBCSLen(t))
        << Text(text) << " / " << Text(mapped);
    if (text.Encoding() != kEncodingUTF8)
      ASSERT_EQ(mapped.Length(), text.Length());
  }
  Owned(runTrim(t));
  const int32_t characters = StringDBCSLen(t);
  for (int32_t n = 0; n <= characters + 1; ++n) {
    const string left = Owned(StringDBCSLeft(t, n)), rest = Owned(StringDBCSMid2(t, n + 1));
    ASSERT_EQ(Text(left) + Text(rest), Text(text)) << n;
  }
  StringDBCSAsc(t);
  StringInStr(1, t, f);
  StringInStrB(1, t, f);
  Owned(StringReplace(t, f, w));
  Owned(StringReplaceAll(t, f, w));
  Owned(StringReplaceAllB(t, f, w));
  const int32_t count = StringCountFields(t, f);
  Owned(StringNthField(t, f, count));
  RuntimeArray *fields = StringSplit(t, f);
  if (!find.IsEmpty() && !text.IsEmpty())
    ASSERT_EQ(RuntimeUBound(fields) + 1, count);
  Owned(StringJoin(fields, f));
  RuntimeUnlockArray(fields);
  ReplaceLineEndings(text, with);
  RuntimeStringCompare(t, f);
  StringStrCompare(t, f, 1);
  TextHash(text);
  const string joined = text + find;
  ASSERT_EQ(joined.IsEmpty(), text.IsEmpty() && find.IsEmpty());
}

TEST_F(TextSweep, MixedTagTextIsNeverLostHungOnOrCorrupted) {
  const size_t encodings = std::size(kEncodings);
  for (long input = 0; input < mInputs; ++input) {
    SCOPED_TRACE("input " + std::to_string(input));
    const size_t textIndex = Pick(encodings), otherIndex = Pick(encodings);
    const uint32_t textTag = kEncodings[textIndex], otherTag = kEncodings[otherIndex];

    // One in eight inputs is noise: no invariant but returning.
    if (Pick(8) == 0) {
      CheckEveryFunctionReturns(Noise(textTag), Noise(otherTag),
                                Noise(kEncodings[Pick(encodings)]));
      if (HasFatalFailure())
        return;
      continue;
    }

    const std::u32string word = Word(textIndex, 12);
    const string text = Spell(word, textTag);
    // A find cut from the word, spelled in the other encoding when it holds
    // it; a replacement of that encoding.
    const size_t at = word.empty() ? 0 : Pick(word.size());
    std::u32string piece = word.substr(at, 1 + Pick(3));
    string find = Spell(piece, otherTag);
    if (find.IsEmpty() && !piece.empty()) {
      piece = word.substr(at, 1);
      find = Spell(piece, textTag);
    }
    const std::u32string replacement = Word(otherIndex, 4);
    const string with = Spell(replacement, otherTag);
    CheckEveryFunctionReturns(text, find, with);
    if (HasFatalFailure())
      return;
    if (textTag == kEncodingUnknown || otherTag == kEncodingUnknown || text.IsEmpty())
      continue;

    // Conversion keeps every character, both ways.
    const std::string utf8 = Utf8Of(word);
    ASSERT_EQ(AsUtf8(text), utf8);
    ASSERT_EQ(Text(ConvertEncoding(Utf8(utf8), textTag)), Text(text));

    // Joining keeps both sides.
    ASSERT_EQ(AsUtf8(text + with), utf8 + Utf8Of(replacement));

    // A text spelled again, in any encoding that holds it and with the case
    // of its letters changed, compares equal and hashes alike.
    std::u32string respelled = word;
    for (char32_t &c : respelled)
      if (Pick(2))
        c = char32_t(Pick(2) ? UnicodeCharToUpper(c) : UnicodeCharToLower(c));
    const string again = Spell(respelled, otherTag);
    if (!again.IsEmpty()) {
      ASSERT_EQ(Compare(text, again), 0) << Text(text) << " / " << Text(again);
      ASSERT_EQ(TextHash(text), TextHash(again)) << Text(text) << " / " << Text(again);
    }

    if (find.IsEmpty())
      continue;
    // The find is in the text: found, and replacing it by itself (in the
    // replacement's encoding) loses nothing.
    ASSERT_GT(StringInStr(1, text.Storage(), find.Storage()), 0);
    const string same = Spell(piece, otherTag);
    if (!same.IsEmpty()) {
      const string replaced =
          Owned(StringReplaceAll(text.Storage(), find.Storage(), same.Storage()));
      ASSERT_EQ(Compare(replaced, text), 0) << Text(text) << " / " << Text(replaced);
    }
    // A replacement of another encoding arrives whole.
    if (!with.IsEmpty()) {
      const string replaced = Owned(StringReplace(text.Storage(), find.Storage(), with.Storage()));
      ASSERT_NE(AsUtf8(replaced).find(Utf8Of(replacement)), std::string::npos)
          << Text(text) << " / " << Text(replaced);
    }
    // Fields joined again by their delimiter give the text back, ignoring
    // case (the delimiter found may differ in case from the one joined).
    RuntimeArray *fields = StringSplit(text.Storage(), find.Storage());
    const string joined = Owned(StringJoin(fields, find.Storage()));
    RuntimeUnlockArray(fields);
    ASSERT_EQ(Compare(joined, text), 0) << Text(text) << " / " << Text(joined);
  }
  EXPECT_TRUE(Raised().empty());
}

} // namespace
