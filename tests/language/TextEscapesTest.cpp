#include <gtest/gtest.h>

#include <cstring>

#include "TextFixtures.h"
#include "language/NumberToString.h"
#include "language/TextEscapes.h"
#include "runtime/objects/SimplePropertyTypes.h"

TEST(TextEscapes, StripAmpersandTable) {
  struct Case {
    string label;
    std::string stripped;
    uint32_t mnemonic;
  } cases[] = {
      {Ascii("Save &As"), "Save As", 'A'},
      {Ascii("Fish && Chips"), "Fish & Chips", 0},
      {Ascii("End&"), "End", 0},
      {Ascii("&a&b"), "ab", 'b'},
      {Utf8("&\xC3\xA9"
            "a"),
       "\xC3\xA9"
       "a",
       233},
      {Utf16(u"O&k"), Text(Utf16(u"Ok")), 'k'},
      {Ascii("&&&x"), "&x", 'x'},
  };
  for (const Case &c : cases) {
    uint32_t mnemonic = 99;
    string copy = StripAmpersand(c.label, &mnemonic);
    EXPECT_EQ(Text(copy), c.stripped) << Text(c.label);
    EXPECT_EQ(mnemonic, c.mnemonic) << Text(c.label);
    EXPECT_EQ(copy.Encoding(), c.label.Encoding());
  }
  string inPlace = Ascii("&Go");
  StripAmpersand(&inPlace, nullptr);
  EXPECT_EQ(Text(inPlace), "Go");
  uint32_t mnemonic = 7;
  string nil;
  StripAmpersand(&nil, &mnemonic);
  EXPECT_EQ(mnemonic, 0u);
  EXPECT_TRUE(nil.IsEmpty());
}

TEST(TextEscapes, EncodeAndDecodeEveryByte) {
  EXPECT_EQ(Text(EncodeBackslashEscape(Tagged("A\n\"\xFF", kEncodingUnknown))), "A\\n\\\"\\xFF");
  std::string all;
  for (int b = 0; b < 256; ++b)
    all.push_back(static_cast<char>(b));
  string encoded = EncodeBackslashEscape(Tagged(all, kEncodingUnknown));
  EXPECT_EQ(encoded.Encoding(), kEncodingASCII);
  for (unsigned char c : Text(encoded))
    EXPECT_TRUE(c >= 0x20 && c <= 0x7E);
  string decoded = DecodeBackslashEscape(encoded);
  EXPECT_EQ(Text(decoded), all);
  EXPECT_EQ(decoded.Encoding(), kEncodingUTF8);
  EXPECT_TRUE(EncodeBackslashEscape(string()).IsEmpty());
  EXPECT_TRUE(DecodeBackslashEscape(string()).IsEmpty());
}

TEST(TextEscapes, EscapesCutOffByTheEndReadNothingBeyond) {
  EXPECT_EQ(Text(DecodeBackslashEscape(Ascii("ab\\"))), "ab\\");
  EXPECT_EQ(Text(DecodeBackslashEscape(Ascii("\\x"))), std::string(1, '\0'));
  EXPECT_EQ(Text(DecodeBackslashEscape(Ascii("\\xF"))), "\x0F");
  EXPECT_EQ(Text(DecodeBackslashEscape(Ascii("\\q\\t"))), "q\t");
}

TEST(TextEscapes, FontScriptKeepsWhatItCannotConvert) {
  string accented = ConvertToFontScript(Utf8("caf\xC3\xA9"));
  EXPECT_EQ(Text(accented), "caf\xE9");
  EXPECT_EQ(accented.Encoding(), 0x0500u);
  string sun = Utf8("\xE6\x97\xA5");
  EXPECT_EQ(ConvertToFontScript(sun).Storage(), sun.Storage());
  string plain = ConvertToFontScript(Ascii("cafe"));
  EXPECT_EQ(plain.Encoding(), 0x0500u);
  EXPECT_EQ(gLanguage, 0);
}

TEST(NumberToString, StrFormatAndSingleText) {
  EXPECT_EQ(Text(Owned(StringStr(0.5))), "0.5");
  EXPECT_EQ(Text(Owned(StringStr(123456))), "123456");
  EXPECT_EQ(Text(Owned(StringStr(1234567))), "1.234567e+6");
  EXPECT_EQ(Text(Owned(StringFormat(1234.5, Ascii("#,##0.00").Storage()))), "1,234.50");
  // The Single property type reads text as Val does.
  intptr_t bits = 0;
  EXPECT_EQ(singleType.textToValue(Ascii("&h10").Storage(), &bits), 1);
  float value;
  std::memcpy(&value, &bits, sizeof value);
  EXPECT_EQ(value, 16.0f);
}
