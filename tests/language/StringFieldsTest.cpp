#include <gtest/gtest.h>

#include "LanguageFixtures.h"
#include "TextFixtures.h"
#include "language/RuntimeArray.h"
#include "language/StringFields.h"
#include "language/StringSearch.h"

namespace {

struct FieldCase {
  const char *text;
  const char *delimiter;
  int32_t count;
  int32_t n;
  const char *nth;
};

TEST(Fields, CountAndNthFieldByTable) {
  const FieldCase cases[] = {
      {"", ",", 0, 1, ""},
      {"abc", "", 1, 1, ""},
      {"a,b,,c,", ",", 5, 3, ""},
      {"a,b,,c", ",", 4, 4, "c"},
      {"a,b", ",", 2, 3, ""},
      {"abc", ",", 1, 1, "abc"},
      {"aXbxc", "x", 3, 3, "c"},
      {"a--b--c", "--", 3, 2, "b"},
      {"a,b", ",", 2, 0, ""},
      {"aKbkc", "K", 3, 3, "c"},
      // The Kelvin sign has a lower-case mapping, so it is searched ignoring
      // case; as upper case it is itself, and k does not match it.
      {"k\xE2\x84\xAA"
       "x",
       "\xE2\x84\xAA", 2, 2, "x"},
  };
  for (const FieldCase &c : cases) {
    const string text = Utf8(c.text), delimiter = Utf8(c.delimiter);
    EXPECT_EQ(countFields(text, delimiter), c.count) << c.text << " / " << c.delimiter;
    EXPECT_EQ(Text(nthField(text, delimiter, c.n)), c.nth) << c.text << " / " << c.n;
  }
}

TEST(Fields, DelimitersOfOtherEncodingsAreConvertedToTheText) {
  const string text = Utf16(u"a,b");
  EXPECT_EQ(countFields(text, Ascii(",")), 2);
  EXPECT_EQ(countFields(text, Utf16(u",")), 2);
  EXPECT_EQ(Text(nthField(text, Utf8(","), 2)), std::string("b\0", 2));
  // Latin-1 text split at a UTF-8 e acute.
  const string latin1 = Tagged("caf\xE9\xC9t\xE9", 0x0201);
  EXPECT_EQ(countFields(latin1, Utf8("\xC3\xA9")), 3);
}

// A delimiter of UTF-16 text that holds no whole unit (LeftB of UTF-16 text,
// or DefineEncoding of ChrB(59) as UTF-16) is never found: the functions
// return rather than finding it at every unit.
class OneByteUTF16Delimiter : public LanguageTest {
protected:
  const string mText = Utf16(u"a;b;c");
  const string mDelimiter = Tagged(";", kEncodingUTF16);
};

TEST_F(OneByteUTF16Delimiter, IsNeverFound) {
  EXPECT_EQ(countFields(mText, mDelimiter), 1);
  EXPECT_EQ(Text(nthField(mText, mDelimiter, 1)), Text(mText));
  EXPECT_EQ(Text(nthField(mText, mDelimiter, 2)), "");
  RuntimeArray *array = StringSplit(mText.Storage(), mDelimiter.Storage());
  ASSERT_NE(array, nullptr);
  EXPECT_EQ(RuntimeUBound(array), 0);
  RuntimeUnlockArray(array);
  EXPECT_EQ(
      Text(Owned(StringReplaceAll(mText.Storage(), mDelimiter.Storage(), Utf16(u"-").Storage()))),
      Text(mText));
  EXPECT_EQ(
      Text(Owned(StringReplace(mText.Storage(), mDelimiter.Storage(), Utf16(u"-").Storage()))),
      Text(mText));
  EXPECT_EQ(StringInStr(1, mText.Storage(), mDelimiter.Storage()), 0);
  // A whole unit followed by a lone byte is still found by its unit.
  EXPECT_EQ(countFields(mText, Tagged(std::string(";\0x", 3), kEncodingUTF16)), 3);
}

class Splitting : public LanguageTest {
protected:
  std::vector<std::string> Split(const string &text, const string &delimiter) {
    RuntimeArray *array = StringSplit(text.Storage(), delimiter.Storage());
    std::vector<std::string> fields;
    for (int32_t i = 0; i <= RuntimeUBound(array); ++i)
      fields.push_back(TakeText(RuntimeDirectReadStringArray(array, i)));
    RuntimeUnlockArray(array);
    return fields;
  }
};

TEST_F(Splitting, SplitKeepsEmptyFieldsAndCutsPerCharacterWithoutDelimiter) {
  using Fields = std::vector<std::string>;
  EXPECT_EQ(Split(Ascii("a,b,"), Ascii(",")), (Fields{"a", "b", ""}));
  EXPECT_EQ(Split(Ascii("aXbxc"), Ascii("x")), (Fields{"a", "b", "c"}));
  EXPECT_EQ(Split(Utf8("h\xC3\xA9llo"), string()), (Fields{"h", "\xC3\xA9", "l", "l", "o"}));
  RuntimeArray *none = StringSplit(nullptr, string(",").Storage());
  ASSERT_NE(none, nullptr);
  EXPECT_EQ(RuntimeUBound(none), -1);
  RuntimeUnlockArray(none);

  SimpleVector<string> appended;
  split(Ascii("1 2"), Ascii(" "), appended);
  split(Ascii("3"), Ascii(" "), appended);
  EXPECT_EQ(appended.count(), 3);
}

TEST_F(Splitting, JoinPutsTheSeparatorBetweenElements) {
  RuntimeArray *array = StringSplit(string("a b c").Storage(), string(" ").Storage());
  EXPECT_EQ(TakeText(StringJoin(array, string("-").Storage())), "a-b-c");
  RuntimeUnlockArray(array);
  RuntimeArray *empty = CreateArray(1, kStringElements, -1);
  EXPECT_EQ(StringJoin(empty, string("-").Storage()), nullptr);
  RuntimeUnlockArray(empty);
  EXPECT_EQ(StringJoin(nullptr, nullptr), nullptr);
}

TEST(Fields, KeyValuePairsSkipFieldsWithoutSeparator) {
  string *keys = nullptr, *values = nullptr;
  ASSERT_EQ(ExtractKeyValuePairs(Ascii("a=1;b=2;c"), Ascii("="), Ascii(";"), &keys, &values), 2);
  EXPECT_EQ(Text(keys[0]), "a");
  EXPECT_EQ(Text(values[1]), "2");
  delete[] keys;
  delete[] values;
  ASSERT_EQ(ExtractKeyValuePairs(Ascii("a=1"), Ascii("="), Ascii(";"), &keys, &values), 1)
      << "one field is one candidate pair";
  EXPECT_EQ(Text(keys[0]), "a");
  delete[] keys;
  delete[] values;
  EXPECT_EQ(ExtractKeyValuePairs(Ascii("abc"), Ascii("="), Ascii(";"), &keys, &values), 0);
  EXPECT_EQ(keys, nullptr);
}

TEST(Fields, ReplaceEntryPointsHandOutOneReference) {
  const string text = Ascii("Hello hello");
  // The result carries exactly the one reference the caller takes over.
  auto handedOut = [](stringStorage *result, const char *expected) {
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->mRefCount, 1) << expected;
    EXPECT_EQ(TakeText(result), expected);
  };
  handedOut(StringReplace(text.Storage(), string("HELLO").Storage(), string("bye").Storage()),
            "bye hello");
  handedOut(StringReplaceAll(text.Storage(), string("HELLO").Storage(), string("bye").Storage()),
            "bye bye");
  handedOut(
      StringReplaceAllB(string("aaaa").Storage(), string("aa").Storage(), string("b").Storage()),
      "bb");
  // Nothing replaced: the text itself, with one reference more for the caller.
  stringStorage *same =
      StringReplaceB(text.Storage(), string("HELLO").Storage(), string("bye").Storage());
  EXPECT_EQ(same, text.Storage());
  EXPECT_EQ(text.Storage()->mRefCount, 2);
  RuntimeUnlockString(same);
  EXPECT_EQ(text.Storage()->mRefCount, 1);
}

} // namespace
