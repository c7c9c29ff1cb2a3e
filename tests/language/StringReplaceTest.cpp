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
  // An ASCII find cannot be had in UTF-16: never found.
  EXPECT_EQ(replaceAll(text, Ascii("x"), Ascii("y")).Storage(), text.Storage());
}
