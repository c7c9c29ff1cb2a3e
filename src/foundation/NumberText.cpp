#include "foundation/NumberText.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "foundation/CLocaleScopePosix.h"
#include "foundation/TextEncodings.h"

namespace {

string BytesTagged(const char *bytes, int length, uint32_t encoding) {
  string result;
  result.ConstructFromBuffer(bytes, length, encoding);
  return result;
}

template <typename... Values>
string Printed(const char *format, Values... values) {
  char text[64];
  int length;
  {
    CLocaleScope cLocale;
    length = std::snprintf(text, sizeof text, format, values...);
  }
  if (length >= static_cast<int>(sizeof text))
    length = sizeof text - 1;
  return BytesTagged(text, length, kEncodingASCII);
}

// Digits are read while moreDigits(offset) holds; sign and spaces are not
// limited by it. The value wraps like 32-bit arithmetic.
template <typename Limit>
long ParseDecimal(const char *text, Limit moreDigits) {
  int offset = 0;
  while (text[offset] == ' ')
    ++offset;
  bool negative = false;
  if (text[offset] == '-' || text[offset] == '+')
    negative = text[offset++] == '-';
  unsigned long value = 0;
  for (; moreDigits(offset) && text[offset] >= '0' && text[offset] <= '9'; ++offset)
    value = value * 10 + static_cast<unsigned long>(text[offset] - '0');
  return static_cast<long>(negative ? 0 - value : value);
}
} // namespace

long uatol(const char *text) {
  return ParseDecimal(text, [](int) { return true; });
}

long uatol(const char *text, int length) {
  return ParseDecimal(text, [length](int offset) { return offset < length; });
}

double uatod(const char *text) {
  CLocaleScope cLocale;
  return std::strtod(text, nullptr);
}

string ultoa(long value) { return Printed("%ld", value); }

string udtoa(double value, bool scientific) {
  if (value == 0)
    value = 0; // -0 prints as 0
  return Printed(scientific ? "%e" : "%g", value);
}

string ultohexa(unsigned long value) { return Printed("%08lX", value); }

string FourCharCodeToString(unsigned long code) {
  uint32_t bytes = static_cast<uint32_t>(code);
  return BytesTagged(reinterpret_cast<const char *>(&bytes), 4, kEncodingMacRoman);
}

unsigned long StringToFourCharCode(const string &text) {
  string macRoman = ConvertEncoding(text, kEncodingMacRoman);
  if (macRoman.Length() != 4)
    return 0x3F3F3F3F; // '????'
  uint32_t code;
  std::memcpy(&code, macRoman.CString(), 4);
  return code;
}

string WriteShortAsBits(unsigned short value) {
  const char bytes[2] = {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
  return BytesTagged(bytes, 2, kEncodingASCII);
}

string WriteLongAsBits(unsigned long value) {
  const char bytes[4] = {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
                         static_cast<char>(value >> 8), static_cast<char>(value)};
  return BytesTagged(bytes, 4, kEncodingASCII);
}

unsigned short ReadShortAsBits(const unsigned char *bytes) {
  return static_cast<unsigned short>(bytes[0] + 256 * bytes[1]);
}

unsigned long ReadLongAsBits(const unsigned char *bytes) {
  return (static_cast<unsigned long>(bytes[0]) << 24) |
         (static_cast<unsigned long>(bytes[1]) << 16) |
         (static_cast<unsigned long>(bytes[2]) << 8) | bytes[3];
}
