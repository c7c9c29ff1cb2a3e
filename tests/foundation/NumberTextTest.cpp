#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "foundation/NumberText.h"
#include "foundation/TextEncodings.h"
#include "support/GermanLocale.h"

namespace {

std::string Text(const string &s) { return std::string(s.CString(), s.Length()); }

using NumberTextUnderGermanLocale = GermanLocaleTest;

} // namespace

TEST(NumberText, ParsesLeadingDecimalIntegers) {
  struct Case {
    const char *text;
    long value;
  } cases[] = {{"  -12x", -12},
               {"+", 0},
               {"+7", 7},
               {"", 0},
               {"abc", 0},
               {"\t5", 0},
               {"2147483647", 2147483647L},
               {"2147483648", -2147483647L - 1},
               {"- 3", 0}};
  for (const Case &c : cases)
    EXPECT_EQ(uatol(c.text), c.value) << '"' << c.text << '"';
  EXPECT_EQ(uatol("1234", 2), 12);
  EXPECT_EQ(uatol("  -1234", 5), -12); // spaces and sign are not limited
  EXPECT_EQ(uatol("99", 0), 0);
}

TEST(NumberText, PrintsDecimalAndHexadecimal) {
  struct Case {
    string text;
    const char *expected;
  } cases[] = {
      {ultoa(-5), "-5"},
      {ultoa(2147483647L), "2147483647"},
      {ultohexa(255), "000000FF"},
      {ultohexa(0xDEADBEEF), "DEADBEEF"},
      {udtoa(-0.0, true), "0.000000e+00"},
      {udtoa(-0.0, false), "0"},
      {udtoa(1234.5, false), "1234.5"},
      {udtoa(1234.5, true), "1.234500e+03"},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(Text(c.text), c.expected);
    EXPECT_EQ(c.text.Encoding(), kEncodingASCII);
  }
}

TEST_F(NumberTextUnderGermanLocale, NumbersUseThePointWhateverTheLocale) {
  EXPECT_EQ(Text(udtoa(1234.5, false)), "1234.5");
  EXPECT_EQ(Text(udtoa(0.25, true)), "2.500000e-01");
  EXPECT_DOUBLE_EQ(uatod("1234.5"), 1234.5);
  EXPECT_DOUBLE_EQ(uatod("1234,5"), 1234.0);
  // The caller's locale is untouched afterwards.
  EXPECT_STREQ(std::localeconv()->decimal_point, ",");
}

TEST(NumberText, FourCharCodesRoundTripInHostOrder) {
  string code = FourCharCodeToString(0x54455854);
  EXPECT_EQ(Text(code), "TXET");
  EXPECT_EQ(code.Encoding(), kEncodingMacRoman);
  EXPECT_EQ(StringToFourCharCode(code), 0x54455854ul);
  EXPECT_EQ(StringToFourCharCode(string("TXET")), 0x54455854ul);
  EXPECT_EQ(StringToFourCharCode(string("abc")), 0x3F3F3F3Ful);
  EXPECT_EQ(StringToFourCharCode(string("abcde")), 0x3F3F3F3Ful);
  EXPECT_EQ(StringToFourCharCode(string()), 0x3F3F3F3Ful);
}

TEST(NumberText, FixedByteForms) {
  EXPECT_EQ(Text(WriteShortAsBits(0x1234)), "\x34\x12");
  EXPECT_EQ(Text(WriteLongAsBits(0x01020304)), "\x01\x02\x03\x04");
  EXPECT_EQ(Text(WriteShortAsBits(0)), std::string(2, '\0'));
  const unsigned char shortBytes[] = {0x34, 0x12};
  const unsigned char longBytes[] = {0xFE, 0x02, 0x03, 0x04};
  EXPECT_EQ(ReadShortAsBits(shortBytes), 0x1234);
  EXPECT_EQ(ReadLongAsBits(longBytes), 0xFE020304ul);
}
