#include <gtest/gtest.h>

#include "TextFixtures.h"
#include "language/StringReplace.h"

TEST(StringReplace, ReplaceFamilyTable) {
  using Fn = string (*)(const string &, const string &, const string &);
  struct Case {
    const char *what;
    Fn fn;
    string text, find, with;
    const char *expected;
  } cases[] = {
      {"first, ignoring case", replace, Ascii("Hello hello"), Ascii("HELLO"), Ascii("bye"),
       "bye hello"},
      {"all, ignoring case", replaceAll, Ascii("Hello hello"), Ascii("HELLO"), Ascii("bye"),
       "bye bye"},
      {"B keeps case", replaceB, Ascii("Hello hello"), Ascii("HELLO"), Ascii("bye"), "Hello hello"},
      {"B exact", replaceB, Ascii("Hello hello"), Ascii("hello"), Ascii("bye"), "Hello bye"},
      {"all B", replaceAllB, Ascii("a-b-c"), Ascii("-"), Ascii("+="), "a+=b+=c"},
      {"no overlaps", replaceAll, Ascii("aaaa"), Ascii("aa"), Ascii("b"), "bb"},
      {"no overlaps B", replaceAllB, Ascii("aaaaa"), Ascii("aa"), Ascii("b"), "bba"},
      {"empty find", replaceAll, Ascii("abc"), string(), Ascii("x"), "abc"},
      {"not found", replace, Ascii("abc"), Ascii("z"), Ascii("x"), "abc"},
      {"UTF-8 text, ASCII find", replaceAll, Utf8("\xC3\xA9tat"), Ascii("T"), Ascii("d"),
       "\xC3\xA9"
       "dad"},
      {"UTF-8 accented, case", replaceAll, Utf8("\xC3\xA9t\xC3\x89"), Utf8("\xC3\x89"), Ascii("e"),
       "ete"},
  };
  for (const Case &c : cases)
    EXPECT_EQ(Text(c.fn(c.text, c.find, c.with)), c.expected) << c.what;
}

TEST(StringReplace, ResultsKeepTagAndShareOrEmpty) {
  string text = Utf8("abc");
  EXPECT_EQ(replaceAll(text, Ascii("z"), Ascii("y")).Storage(), text.Storage());
  EXPECT_EQ(replaceAll(text, Ascii("B"), Ascii("x")).Encoding(), kEncodingUTF8);
  EXPECT_TRUE(replaceAllB(Ascii("aaa"), Ascii("a"), string()).IsEmpty());
  EXPECT_TRUE(replaceAll(Ascii("abab"), Ascii("AB"), string()).IsEmpty());
}

TEST(StringReplace, Utf16CutsAtTheUnitFound) {
  string text = Utf16(u"aXbx");
  EXPECT_EQ(Text(replaceAll(text, Utf16(u"x"), Utf16(u"--"))), Text(Utf16(u"a--b--")));
  EXPECT_EQ(Text(replace(text, Utf16(u"B"), Utf16(u""))), Text(Utf16(u"aXx")));
  EXPECT_EQ(replaceAll(text, Utf16(u"x"), string()).Encoding(), kEncodingUTF16);
  // A find of another encoding is converted to UTF-16; the replacement
  // meets the text as joining them would: ASCII as UTF-16, UTF-8 as UTF-8.
  const string wide = replaceAll(text, Ascii("x"), Ascii("y"));
  EXPECT_EQ(Text(wide), Text(Utf16(u"ayby")));
  EXPECT_EQ(wide.Encoding(), kEncodingUTF16);
  const string utf8 = replaceAll(text, Ascii("x"), Utf8("\xC3\xA9"));
  EXPECT_EQ(Text(utf8), "a\xC3\xA9"
                        "b\xC3\xA9");
  EXPECT_EQ(utf8.Encoding(), kEncodingUTF8);
}

TEST(StringReplace, ReplacementMeetsTheTextInTheirCommonEncoding) {
  constexpr uint32_t kLatin1 = 0x0201;
  struct Case {
    const char *what;
    string text, find, with;
    std::string expected;
    uint32_t encoding;
  } cases[] = {
      {"ASCII text, UTF-8 replacement", Ascii("Price: X"), Ascii("X"), Utf8("5 \xE2\x82\xAC"),
       "Price: 5 \xE2\x82\xAC", kEncodingUTF8},
      {"Latin-1 text, UTF-8 replacement", Tagged("caf\xE9 X", kLatin1), Ascii("x"),
       Utf8("\xE2\x82\xAC"), "caf\xC3\xA9 \xE2\x82\xAC", kEncodingUTF8},
      {"UTF-8 text, Latin-1 replacement", Utf8("\xC3\xA9-"), Ascii("-"), Tagged("\xE9", kLatin1),
       "\xC3\xA9\xC3\xA9", kEncodingUTF8},
      {"ASCII text, Mac Roman replacement", Ascii("a-b"), Ascii("-"),
       Tagged("\x8E", kEncodingMacRoman),
       "a\x8E"
       "b",
       kEncodingMacRoman},
      // Nothing to meet in: both kept as they are, the result untagged.
      {"untagged text", Tagged("\xE9-", kEncodingUnknown), Ascii("-"), Utf8("\xC3\xA9"),
       "\xE9\xC3\xA9", kEncodingUnknown},
  };
  for (const Case &c : cases) {
    const string result = replaceAll(c.text, c.find, c.with);
    EXPECT_EQ(Text(result), c.expected) << c.what;
    EXPECT_EQ(result.Encoding(), c.encoding) << c.what;
    EXPECT_EQ(Text(replace(c.text, c.find, c.with)), c.expected) << c.what;
  }
  // Not found: the text itself, whatever the replacement.
  const string text = Ascii("abc");
  EXPECT_EQ(replace(text, Ascii("z"), Utf8("\xC3\xA9")).Storage(), text.Storage());
}
