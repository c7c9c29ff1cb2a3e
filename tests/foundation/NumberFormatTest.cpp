#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "foundation/NumberFormat.h"
#include "foundation/TextEncodings.h"
#include "support/GermanLocale.h"

namespace {

std::string Text(const string &s) {
  return std::string(s.CString(), static_cast<size_t>(s.Length()));
}

std::string Formatted(double value, const char *format) {
  return Text(FormatNumber(value, string(format)));
}

struct FormatCase {
  double value;
  const char *format;
  const char *expected;
};

const FormatCase kFormatCases[] = {
    // digits and thousands separators
    {1234.5, "#,##0.00", "1,234.50"},
    {1234567, "#,##0", "1,234,567"},
    {12345, "#,##0", "12,345"},
    {123, "#,##0", "123"},
    {5, "0,000", "0,005"},
    {5, "#,##0", "5"},
    {1234, "$#,##0", "1,234"},
    {1234, "0000000", "0001234"},
    // signs and sections
    {-5, "#", "5"},
    {-5, "-#", "-5"},
    {-5, "#;(#)", "(5)"},
    {5, "+#", "+5"},
    {0, "+0", "0"},
    {-5, "#;-#;zero", "-5"},
    {0, "#;-#;zero", ""},
    {0, "#;-#;\\z\\e\\r\\o", "zero"},
    {0, "0.0;(0.0)", "0.0"},
    {-2, "0\\;x;(0)", "(2)"},
    // fractions and points
    {5, "#.##", "5."},
    {1.5, "0.00", "1.50"},
    {0.5, "#.#", "0.5"},
    {2.26, "0.0", "2.3"},
    {0.256, "#%", "26%"},
    // scientific notation
    {123456, "Scientific", "1.234560E+5"},
    {123456, "sCIENTIFIC", "1.234560E+5"},
    {0.0001234, "0.00e+", "1.23e-04"},
    {0.0001234, "0.00e-", "1.23e-04"},
    {123456, "0.00e-", "1.23e5"},
    {123456, "0.00e", "1.23e+5"},
    // characters that are not pattern characters print nothing
    {42, "abc #", "42"},
    {0, "", ""},
};

} // namespace

TEST(NumberFormat, FormatsByPattern) {
  for (const FormatCase &c : kFormatCases)
    EXPECT_EQ(Formatted(c.value, c.format), c.expected) << c.value << " with " << c.format;
}

// Texts longer than the printer's short buffer (large values, long literal
// runs) come out whole: against the printf digits with separators put in.
TEST(NumberFormat, LongTextsComeOutWhole) {
  char digits[400];
  std::snprintf(digits, sizeof digits, "%.2f", 1e70);
  std::string integer(digits, std::strchr(digits, '.'));
  std::string grouped;
  for (size_t i = 0; i < integer.size(); ++i) {
    if (i > 0 && (integer.size() - i) % 3 == 0)
      grouped += ',';
    grouped += integer[i];
  }
  EXPECT_EQ(Formatted(1e70, "#,##0.00"), grouped + std::strchr(digits, '.'));
  EXPECT_EQ(Formatted(-1e70, "-#"), "-" + integer);

  std::string pattern = "#", literal;
  for (int i = 0; i < 40; ++i) {
    pattern += "\\" + std::string(1, char('a' + i % 26)) + "+";
    literal += std::string(1, char('a' + i % 26)) + "+";
  }
  EXPECT_EQ(Formatted(5, pattern.c_str()), "5" + literal);
}

TEST(NumberFormat, ResultCarriesThePatternsTag) {
  string pattern("#.0");
  pattern.SetEncoding(kEncodingUTF8);
  EXPECT_EQ(FormatNumber(2, pattern).Encoding(), kEncodingUTF8);
  EXPECT_EQ(FormatNumber(2, string()).Encoding(), kEncodingASCII);
}

TEST(NumberFormat, BackslashEscapesAWholeUTF8Character) {
  string pattern("\\\xE2\x82\xAC#");
  pattern.SetEncoding(kEncodingUTF8);
  EXPECT_EQ(Text(FormatNumber(7, pattern)), "\xE2\x82\xAC"
                                            "7");
}

TEST(NumberFormat, NonFiniteValuesPrintThroughThePlaceholders) {
  EXPECT_EQ(Formatted(std::numeric_limits<double>::infinity(), "###"), "inf");
  EXPECT_EQ(Formatted(-std::numeric_limits<double>::infinity(), "-###"), "-inf");
  EXPECT_EQ(Formatted(std::numeric_limits<double>::infinity(), "0.00e+"), "inf.00+");
}

TEST(NumberFormat, DoubleStrKeepsSignificantDigits) {
  struct Case {
    double value;
    long mode;
    unsigned long digits;
    const char *expected;
  } cases[] = {
      {123.456, kDoubleStrFixed, 5, "123.46"},
      {100, kDoubleStrFixed, 3, "100"},
      {-0.0001, kDoubleStrFixed, 2, "0"},
      {0.5, kDoubleStrFixed, 3, "0.5"},
      {1234.5, kDoubleStrFixed, 2, "1234.5"}, // negative precision: six decimals, trimmed
      {2000000, kDoubleStrAutomatic, 7, "2.000000e+6"},
      {0.00001, kDoubleStrAutomatic, 7, "0.00001"},
      {0.00001, kDoubleStrAutomatic, 3, "0"}, // decimals, not significant digits
      {1000000, kDoubleStrAutomatic, 7, "1000000"},
      {0.000001, kDoubleStrAutomatic, 3, "1.00e-06"},
      {-0.0, kDoubleStrAutomatic, 6, "0"},
      {123456, kDoubleStrScientific, 3, "1.23e+5"},
      {1e100, kDoubleStrScientific, 2, "1.0e+100"},
  };
  for (const auto &c : cases)
    EXPECT_EQ(Text(doubleStr(c.value, c.mode, c.digits)), c.expected)
        << c.value << " mode " << c.mode << " digits " << c.digits;
  EXPECT_EQ(doubleStr(1.5, kDoubleStrFixed, 3).Encoding(), kEncodingASCII);
}

TEST(NumberFormat, DoubleStrOfInfinityInFixedModeFinishes) {
  EXPECT_EQ(Text(doubleStr(std::numeric_limits<double>::infinity(), kDoubleStrFixed, 7)), "inf");
  EXPECT_EQ(Text(doubleStr(-std::numeric_limits<double>::infinity(), kDoubleStrFixed, 7)), "-inf");
}

// A huge digit count used to overflow printf's int precision (0x80000000 in
// scientific mode) or end the process on a length error (about 6e8 digits).
// Digits beyond a double's exact expansion add nothing in fixed mode and only
// zeros in scientific mode, so the count is bounded there.
TEST(NumberFormat, DoubleStrWithAHugeDigitCountStaysExactAndBounded) {
  const std::string exact = Text(doubleStr(0.1, kDoubleStrFixed, 1100));
  EXPECT_EQ(exact.substr(0, 21), "0.1000000000000000055");
  EXPECT_EQ(exact.back(), '5'); // 0.1's expansion ends in ...625
  for (unsigned long digits : {600000000ul, 0x80000000ul, 0xFFFFFFFFul}) {
    EXPECT_EQ(Text(doubleStr(0.1, kDoubleStrFixed, digits)), exact) << digits;
    std::string scientific = Text(doubleStr(-2.5, kDoubleStrScientific, digits));
    EXPECT_EQ(scientific.substr(0, 5), "-2.50") << digits;
    EXPECT_EQ(scientific.substr(scientific.size() - 3), "e+0") << digits;
    EXPECT_LT(scientific.size(), 1200u) << digits;
  }
}

TEST(NumberFormat, DigitSeparatorsAreFixed) {
  string thousands, decimal, date, time;
  GetDigitSeparators(&thousands, &decimal, &date, &time);
  EXPECT_EQ(Text(thousands) + Text(decimal) + Text(date) + Text(time), ",./:");
  EXPECT_EQ(decimal.Encoding(), kEncodingASCII);
  GetDigitSeparators(nullptr, &decimal, nullptr, nullptr);
  EXPECT_EQ(Text(decimal), ".");
}

using NumberFormatInGermanLocale = GermanLocaleTest;

TEST_F(NumberFormatInGermanLocale, PointAndCommaKeepTheirMeaning) {
  EXPECT_EQ(Formatted(1234.5, "#,##0.00"), "1,234.50");
  EXPECT_EQ(Formatted(123456, "Scientific"), "1.234560E+5");
  EXPECT_EQ(Text(doubleStr(123.456, kDoubleStrFixed, 5)), "123.46");
  EXPECT_EQ(Text(doubleStr(2000000, kDoubleStrAutomatic, 7)), "2.000000e+6");
}
