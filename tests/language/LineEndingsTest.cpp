#include <gtest/gtest.h>

#include "TextFixtures.h"
#include "language/LineEndings.h"

TEST(LineEndings, ReplaceLineEndingsTable) {
  struct Case {
    const char *what;
    string text, ending;
    std::string expected;
  } cases[] = {
      {"mixed to CR LF", Ascii("a\r\nb\rc\n"), Ascii("\r\n"), "a\r\nb\r\nc\r\n"},
      {"CR CR LF is two endings", Ascii("a\r\r\nb"), Ascii("\n"), "a\n\nb"},
      {"none", Ascii("abc"), Ascii("\r"), "abc"},
      {"removed", Ascii("a\nb\r\n"), string(), "ab"},
      {"UTF-8 text", Utf8("\xC3\xA9\r\n"), Ascii("\r"), "\xC3\xA9\r"},
      {"UTF-16 by units", Utf16(u"a\r\nb\rc"), Ascii("\n"), Text(Utf16(u"a\nb\nc"))},
      {"UTF-16 ending in units", Utf16(u"a\nb"), Utf16(u"\r\n"), Text(Utf16(u"a\r\nb"))},
      // 0x0D0A as one unit is no line ending.
      {"UTF-16 unit that holds CR LF bytes", Utf16(u"\u0A0D"), Ascii("\n"), Text(Utf16(u"\u0A0D"))},
      // The ending meets the text in their common encoding.
      {"UTF-8 ending in ASCII text", Ascii("a\nb"), Utf8("\xC2\xB6\n"), "a\xC2\xB6\nb"},
      {"UTF-8 ending in UTF-16 text", Utf16(u"a\r\nb"), Utf8("\xC2\xB6"),
       "a\xC2\xB6"
       "b"},
      {"UTF-8 ending in Latin-1 text", Tagged("\xE9\r", 0x0201), Utf8("\xE2\x82\xAC"),
       "\xC3\xA9\xE2\x82\xAC"},
  };
  for (const Case &c : cases)
    EXPECT_EQ(Text(ReplaceLineEndings(c.text, c.ending)), c.expected) << c.what;
  EXPECT_EQ(ReplaceLineEndings(Utf8("a\n"), Ascii("\r")).Encoding(), kEncodingUTF8);
  EXPECT_EQ(ReplaceLineEndings(Utf16(u"a\n"), Ascii("\r")).Encoding(), kEncodingUTF16);
  EXPECT_EQ(ReplaceLineEndings(Ascii("a\n"), Utf8("\xC2\xB6")).Encoding(), kEncodingUTF8);
  EXPECT_EQ(RuntimeReplaceLineEndings(Ascii("\n\n").Storage(), nullptr), nullptr);
  EXPECT_EQ(RuntimeReplaceLineEndings(nullptr, Ascii("\n").Storage()), nullptr);
}

TEST(LineEndings, EndOfLineObject) {
  RuntimeObject *eol = RuntimeGetEndOfLineObject();
  ASSERT_NE(eol, nullptr);
  string lf = Owned(RuntimeEndOfLine());
  EXPECT_EQ(Text(lf), "\n");
  EXPECT_EQ(lf.Encoding(), kEncodingASCII);
  EXPECT_EQ(RuntimeEndOfLineCompare(eol, Ascii("\n").Storage()), 0);
  EXPECT_NE(RuntimeEndOfLineCompare(eol, Ascii("\r\n").Storage()), 0);
  EXPECT_EQ(Text(Owned(RuntimeEndOfLineAdd(eol, Ascii("x").Storage()))), "\nx");
  EXPECT_EQ(Text(Owned(RuntimeEndOfLineAddRight(eol, Ascii("x").Storage()))), "x\n");
  string windows = Owned(getWin32EndOfLine(eol, 0));
  EXPECT_EQ(Text(windows), "\r\n");
  EXPECT_EQ(Owned(getWin32EndOfLine(eol, 0)).Storage(), windows.Storage());
  EXPECT_EQ(Text(Owned(getMacEndOfLine(eol, 0))), "\r");
  EXPECT_EQ(Text(Owned(getUNIXEndOfLine(eol, 0))), "\n");
  RuntimeUnlockObject(eol);

  ObjectDefinition *defn = EndOfLineClass();
  EXPECT_EQ(Text(defn->className), "EndOfLine");
  std::vector<std::string> methods;
  for (ObjectMethod *m = defn->methods; m; m = m->next)
    methods.push_back(Text(m->name));
  EXPECT_EQ(methods, (std::vector<std::string>{"Operator_Convert", "Operator_Add",
                                               "Operator_AddRight", "Operator_Compare"}));
}
