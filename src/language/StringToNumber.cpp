#include "language/StringToNumber.h"

#include <clocale>
#include <string>

#include "foundation/NumberText.h"
#include "foundation/TextEncodings.h"
#include "language/StringReplace.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsExponentLetter(char c) { return c == 'e' || c == 'E' || c == 'd' || c == 'D'; }
bool IsLineBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// The length of the decimal number at the start of text that Val reads:
// blanks, a sign, digits, a point and digits, and an exponent only when
// digits follow it. Hexadecimal, infinity and not-a-number forms are not
// numbers here.
size_t DecimalPrefixLength(const char *text) {
  const char *p = text;
  while (*p == ' ' || (*p >= '\t' && *p <= '\r'))
    ++p;
  if (*p == '+' || *p == '-')
    ++p;
  const char *digits = p;
  while (IsDigit(*p))
    ++p;
  bool anyDigit = p != digits;
  if (*p == '.') {
    const char *fraction = ++p;
    while (IsDigit(*p))
      ++p;
    anyDigit = anyDigit || p != fraction;
  }
  if (!anyDigit)
    return 0;
  if (*p == 'e' || *p == 'E') {
    const char *q = p + 1;
    if (*q == '+' || *q == '-')
      ++q;
    if (IsDigit(*q)) {
      while (IsDigit(*q))
        ++q;
      p = q;
    }
  }
  return static_cast<size_t>(p - text);
}

double ReadDecimal(const char *text) {
  size_t length = DecimalPrefixLength(text);
  if (length == 0)
    return 0;
  return uatod(std::string(text, length).c_str());
}

using RadixDigit = int (*)(char c); // the digit's value, or -1

int HexDigit(char c) {
  if (IsDigit(c))
    return c - '0';
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  return -1;
}
int OctDigit(char c) { return c >= '0' && c <= '7' ? c - '0' : -1; }
int BinDigit(char c) { return c == '0' || c == '1' ? c - '0' : -1; }

int32_t RadixVal(const char *bytes, int32_t count, uint8_t *flag, uint32_t base, RadixDigit digit) {
  if (flag)
    *flag = 0;
  uint32_t value = 0;
  for (int32_t i = 0; i < count; ++i) {
    int d = digit(bytes[i]);
    if (d < 0) {
      if (flag)
        *flag = 1;
      continue;
    }
    value = value * base + static_cast<uint32_t>(d);
  }
  return static_cast<int32_t>(value);
}

// Text whose tag lies in the Unicode family or is unknown is read as UTF-8;
// false when it cannot be had as UTF-8.
bool AsReadableText(const string &text, string &readable) {
  uint32_t tag = text.Encoding();
  if ((tag & 0x100) != 0 && tag != kEncodingUTF8) {
    readable = ConvertEncoding(text, kEncodingUTF8);
    return !readable.IsEmpty();
  }
  readable = text;
  return true;
}

} // namespace

bool IsWellFormedNumber(const char *p) {
  while (IsLineBlank(*p))
    ++p;
  if (*p == 0)
    return false;
  if (*p == '+' || *p == '-') {
    if (*++p == 0)
      return false;
  } else if (*p == '.') {
    if (*++p == 0)
      return false;
    goto fraction;
  } else if (!IsDigit(*p)) {
    return false;
  }
  // Integer part: digits and commas in any order.
  for (;; ++p) {
    if (*p == 0)
      return true;
    if (IsDigit(*p) || *p == ',')
      continue;
    if (*p == '.') {
      ++p;
      goto fraction;
    }
    if (IsExponentLetter(*p)) {
      ++p;
      goto exponent;
    }
    return false;
  }
fraction:
  for (;; ++p) {
    if (*p == 0)
      return true;
    if (IsDigit(*p))
      continue;
    if (IsExponentLetter(*p)) {
      // From the fraction part something must follow the letter.
      if (*++p == 0)
        return false;
      goto exponent;
    }
    return false;
  }
exponent:
  if (*p == '+' || *p == '-')
    ++p;
  for (; *p; ++p)
    if (!IsDigit(*p) && !IsLineBlank(*p))
      return false;
  return true;
}

int32_t HexVal(const char *bytes, int32_t count, uint8_t *flag) {
  return RadixVal(bytes, count, flag, 16, HexDigit);
}

int32_t OctVal(const char *bytes, int32_t count, uint8_t *flag) {
  return RadixVal(bytes, count, flag, 8, OctDigit);
}

int32_t BinVal(const char *bytes, int32_t count, uint8_t *flag) {
  return RadixVal(bytes, count, flag, 2, BinDigit);
}

double StringValHelper(const string &text, uint8_t *flag) {
  string readable;
  if (text.IsEmpty() || !AsReadableText(text, readable)) {
    if (flag)
      *flag = 1;
    return 0;
  }
  const char *bytes = readable.CString();
  const int32_t length = readable.Length();
  if (length > 1 && bytes[0] == '&') {
    switch (bytes[1]) {
    case 'b':
    case 'B':
      return BinVal(bytes + 2, length - 2, flag);
    case 'h':
    case 'H':
      return HexVal(bytes + 2, length - 2, flag);
    case 'o':
    case 'O':
      return OctVal(bytes + 2, length - 2, flag);
    default:
      if (flag)
        *flag = 1;
      return 0;
    }
  }
  double value = ReadDecimal(bytes);
  if (flag)
    *flag = IsWellFormedNumber(bytes) ? 0 : 1;
  return value;
}

extern "C" double StringVal(stringStorage *text) {
  return StringValHelper(string::Borrow(text), nullptr);
}

extern "C" double runCDbl(stringStorage *text) {
  string readable;
  if (!text || !AsReadableText(string::Borrow(text), readable))
    return 0;
  const lconv *conventions = std::localeconv();
  const char *thousands = conventions->thousands_sep;
  const char *point = conventions->decimal_point;
  string thousandsText(*thousands ? thousands : ",");
  string pointText(*point ? point : ".");
  // The locale's separators are in the locale's own encoding.
  thousandsText.SetEncoding(kEncodingUTF8);
  pointText.SetEncoding(kEncodingUTF8);
  string plain = replaceAll(readable, thousandsText, string());
  plain = replaceAll(plain, pointText, string("."));
  return StringValHelper(plain, nullptr);
}
