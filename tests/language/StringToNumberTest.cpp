#include <gtest/gtest.h>

#include <clocale>
#include <cmath>

#include "TextFixtures.h"
#include "language/StringToNumber.h"
#include "support/GermanLocale.h"

TEST(StringToNumber, ValueAndFlagTogether) {
  struct Case {
    const char *text;
    double value;
    int flag;
  } cases[] = {
      {"12", 12, 0},    {" 12", 12, 0},        {"  12abc", 12, 1},    {"+5", 5, 0},
      {"-.5", -0.5, 0}, {"5.", 5, 0},          {"1,234.5", 1, 0},     {"1,234", 1, 0},
      {"1e5", 1e5, 0},  {"1e", 1, 0},          {"1.5e+", 1.5, 0},     {"1e5 ", 1e5, 0},
      {"1e 5", 1, 0},   {"1d3", 1, 0},         {"12 ", 12, 1},        {"1.5 ", 1.5, 1},
      {".", 0, 1},      {"-", 0, 1},           {"1.5e", 1.5, 1},      {"1.2.3", 1.2, 1},
      {",5", 0, 1},     {"abc", 0, 1},         {"&hFF", 255, 0},      {"&Hff", 255, 0},
      {"&o17", 15, 0},  {"&b101", 5, 0},       {"&x12", 0, 1},        {"&", 0, 1},
      {"&h1G", 1, 1},   {"&hFFFFFFFF", -1, 0}, {"&h100000001", 1, 0}, {"0x1A", 0, 1},
      {"inf", 0, 1},    {"nan", 0, 1},         {"-infinity", 0, 1},
  };
  for (const Case &c : cases) {
    uint8_t flag = 9;
    EXPECT_EQ(StringValHelper(Ascii(c.text), &flag), c.value) << c.text;
    EXPECT_EQ(flag, c.flag) << c.text;
  }
  uint8_t flag = 0;
  EXPECT_EQ(StringValHelper(string(), &flag), 0);
  EXPECT_EQ(flag, 1);
}

TEST(StringToNumber, TagsThatAreNotReadAsUtf8) {
  uint8_t flag = 0;
  // UTF-16 text is read as its UTF-8 form.
  EXPECT_EQ(StringValHelper(Utf16(u"42"), &flag), 42);
  EXPECT_EQ(flag, 0);
  EXPECT_EQ(StringValHelper(Tagged(std::string("4\0\0\xD8", 4), kEncodingUTF16), &flag), 0);
  EXPECT_EQ(flag, 1);
  EXPECT_EQ(StringValHelper(Tagged("4\x80", kEncodingUnknown), &flag), 0);
  EXPECT_EQ(flag, 1);
  EXPECT_EQ(StringValHelper(Tagged("42", kEncodingUnknown), &flag), 42);
  EXPECT_EQ(flag, 0);
  EXPECT_EQ(StringVal(Utf8("3.25").Storage()), 3.25);
  EXPECT_EQ(StringVal(nullptr), 0);
}

TEST(StringToNumber, RadixParsers) {
  uint8_t flag = 9;
  EXPECT_EQ(HexVal("1G", 2, &flag), 1);
  EXPECT_EQ(flag, 1);
  EXPECT_EQ(HexVal("ff", 2, &flag), 255);
  EXPECT_EQ(flag, 0);
  EXPECT_EQ(OctVal("778", 3, &flag), 63);
  EXPECT_EQ(flag, 1);
  EXPECT_EQ(BinVal("1111", 4, nullptr), 15);
  EXPECT_EQ(HexVal("80000000", 8, nullptr), INT32_MIN);
  EXPECT_EQ(BinVal("100000000000000000000000000000001", 33, nullptr), 1); // wraps
}

using StringToNumberGerman = GermanLocaleTest;

TEST_F(StringToNumberGerman, ValReadsPointCDblReadsTheLocale) {
  EXPECT_EQ(StringVal(Ascii("1.5").Storage()), 1.5);
  EXPECT_EQ(StringVal(Ascii("1,5").Storage()), 1);
  EXPECT_EQ(runCDbl(Ascii("1,5").Storage()), 1.5);
  EXPECT_EQ(runCDbl(Ascii("1.234,5").Storage()), 1234.5);
  EXPECT_EQ(runCDbl(nullptr), 0);
}

TEST(StringToNumber, CDblInThePointLocale) {
  EXPECT_EQ(runCDbl(Ascii("1,234.5").Storage()), 1234.5);
  EXPECT_EQ(runCDbl(Utf16(u"1").Storage()), 1);
}
