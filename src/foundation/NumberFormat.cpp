#include "foundation/NumberFormat.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "foundation/ByteStrings.h"
#include "foundation/CLocaleScopePosix.h"
#include "foundation/TextEncodings.h"

namespace {

enum class Notation { Fixed, Scientific };

// The printf text of x: "%.nf" in fixed notation, "%.(n-1)e" in scientific
// (a negative precision means printf's default of six), then tidied: a
// two-digit positive exponent loses its leading zero, and a negative value
// that rounds to zero loses its sign.
std::string NumberText(double x, Notation notation, long precision) {
  if (x == 0)
    x = 0; // -0 prints as 0
  const char *pattern = notation == Notation::Fixed ? "%.*f" : "%.*e";
  int printfPrecision = static_cast<int>(notation == Notation::Fixed ? precision : precision - 1);
  std::string text;
  {
    CLocaleScope cLocale;
    // One pass into a stack buffer holds the usual number; only longer text
    // (large values, many decimals) is printed again at its size.
    char printed[64];
    int length = std::snprintf(printed, sizeof printed, pattern, printfPrecision, x);
    if (length < static_cast<int>(sizeof printed)) {
      text.assign(printed, static_cast<size_t>(length));
    } else {
      text.resize(static_cast<size_t>(length) + 1);
      std::snprintf(text.data(), text.size(), pattern, printfPrecision, x);
      text.resize(static_cast<size_t>(length));
    }
  }
  if (notation == Notation::Scientific) {
    size_t exponent = text.find("e+0");
    if (exponent != std::string::npos)
      text.erase(exponent + 2, 1);
  }
  size_t firstNonSpace = text.find_first_not_of(' ');
  text.erase(0, firstNonSpace == std::string::npos ? text.size() : firstNonSpace);
  if (text.size() > 1 && text[0] == '-' && text.find_first_not_of("0.", 1) == std::string::npos)
    text.erase(0, 1);
  return text;
}

string TaggedText(const char *bytes, size_t length, uint32_t encoding) {
  string result;
  result.ConstructFromBuffer(bytes, static_cast<int>(length), encoding);
  return result;
}

// A format pattern as bytes, walked with backslash escapes in mind: the
// character after a backslash (a whole UTF-8 character in UTF-8 text) is
// literal and never a pattern character.
struct Pattern {
  const char *bytes;
  size_t length;
  bool utf8;

  // Offset just past the character escaped by the backslash at offset.
  size_t EscapeEnd(size_t backslash) const {
    size_t next = backslash + 1;
    if (next >= length)
      return length;
    if (!utf8)
      return next + 1;
    const unsigned char *cursor = reinterpret_cast<const unsigned char *>(bytes) + next;
    AdvanceUTF8(&cursor, reinterpret_cast<const unsigned char *>(bytes) + length, 1);
    return static_cast<size_t>(reinterpret_cast<const char *>(cursor) - bytes);
  }

  // Offset of the count-th unescaped ";" (1-based), or length.
  size_t SectionSeparator(int count, size_t from = 0) const {
    for (size_t i = from; i < length; ++i) {
      if (bytes[i] == '\\')
        i = EscapeEnd(i) - 1;
      else if (bytes[i] == ';' && --count == 0)
        return i;
    }
    return length;
  }
};

struct Section {
  size_t begin, end;
};

// The text a section prints: the usual short number on the stack, anything
// longer in a std::string.
class PrintedText {
public:
  PrintedText() = default;
  PrintedText(const PrintedText &) = delete;
  PrintedText &operator=(const PrintedText &) = delete;

  PrintedText &operator+=(char c) {
    if (mLength < sizeof mShort)
      mShort[mLength++] = c;
    else
      Spill(&c, 1);
    return *this;
  }
  PrintedText &operator+=(const char *text) { return Append(text, std::strlen(text)); }
  PrintedText &operator+=(const std::string &text) { return Append(text.data(), text.size()); }
  PrintedText &Append(const char *bytes, size_t length) {
    if (mLength + length <= sizeof mShort) {
      std::memcpy(mShort + mLength, bytes, length);
      mLength += length;
    } else {
      Spill(bytes, length);
    }
    return *this;
  }

  const char *Data() const { return mLength <= sizeof mShort ? mShort : mLong.data(); }
  size_t Size() const { return mLength; }

private:
  void Spill(const char *bytes, size_t length) {
    if (mLong.empty())
      mLong.assign(mShort, mLength);
    mLong.append(bytes, length);
    mLength = mLong.size();
  }

  char mShort[64];
  size_t mLength = 0;
  std::string mLong;
};

// Positive numbers take the first section, negative ones the second (or all
// after the first ";"), zero and NaN the third; a missing section falls back
// to the first, or for negatives to the whole pattern.
Section ChooseSection(const Pattern &pattern, double x) {
  size_t first = pattern.SectionSeparator(1);
  size_t second = first < pattern.length ? pattern.SectionSeparator(1, first + 1) : pattern.length;
  if (x > 0)
    return {0, first};
  if (x < 0)
    return first < pattern.length ? Section{first + 1, second} : Section{0, pattern.length};
  if (second < pattern.length)
    return {second + 1, pattern.length};
  return {0, first};
}

struct SectionLayout {
  int integerPlaces = 0;
  int fractionPlaces = 0;
  bool percent = false;
  bool thousands = false;
  bool exponent = false;
  size_t exponentAt = 0; // offset of the E or e that introduces the exponent
};

bool IsPlaceholder(char c) { return c == '#' || c == '0'; }

// An E or e counts as the exponent only after a digit placeholder, so that
// letters in literal-looking text ("zero") print nothing, as other letters do.
SectionLayout ScanSection(const Pattern &pattern, Section section) {
  SectionLayout layout;
  bool afterPoint = false;
  bool sawPlaceholder = false;
  for (size_t i = section.begin; i < section.end; ++i) {
    char c = pattern.bytes[i];
    if (c == '\\') {
      i = pattern.EscapeEnd(i) - 1;
    } else if (IsPlaceholder(c)) {
      sawPlaceholder = true;
      if (!layout.exponent)
        ++(afterPoint ? layout.fractionPlaces : layout.integerPlaces);
    } else if (c == '.') {
      afterPoint = true;
    } else if (c == ',') {
      layout.thousands = true;
    } else if (c == '%') {
      layout.percent = true;
    } else if ((c == 'E' || c == 'e') && sawPlaceholder && !layout.exponent) {
      layout.exponent = true;
      layout.exponentAt = i;
    }
  }
  return layout;
}

// Removes the zeros that fraction placeholders would print anyway: before the
// exponent in scientific text, at the end of fixed text (the point stays).
void DropTrailingZeros(std::string &text, long &ePos) {
  if (ePos >= 0) {
    while (ePos > 0 && text[static_cast<size_t>(ePos) - 1] == '0')
      text.erase(static_cast<size_t>(--ePos), 1);
  } else {
    size_t last = text.find_last_not_of('0');
    text.erase(last == std::string::npos ? 0 : last + 1);
  }
}

class SectionPrinter {
public:
  SectionPrinter(const Pattern &pattern, Section section, const SectionLayout &layout,
                 const std::string &text, long ePos, int sign)
      : mPattern(pattern), mSection(section), mLayout(layout), mText(text), mEPos(ePos),
        mSign(sign) {
    size_t dot = text.find('.');
    mDotPos = dot == std::string::npos ? ePos : static_cast<long>(dot);
  }

  const PrintedText &Print() {
    for (size_t i = mSection.begin; i < mSection.end; ++i) {
      char c = mPattern.bytes[i];
      if (IsPlaceholder(c))
        PrintPlaceholder(c);
      else if (c == '.')
        PrintPoint();
      else if ((c == 'E' || c == 'e') && mLayout.exponent && i == mLayout.exponentAt)
        i = PrintExponent(c, i);
      else if (c == '+')
        mOut += mSign < 0 ? "-" : (mSign > 0 ? "+" : "");
      else if (c == '-')
        mOut += mSign < 0 ? "-" : "";
      else if (c == '%' || c == '(' || c == ')')
        mOut += c;
      else if (c == '\\') {
        size_t end = mPattern.EscapeEnd(i);
        mOut.Append(mPattern.bytes + i + 1, end - i - 1);
        i = end - 1;
      }
    }
    return mOut;
  }

private:
  bool HasDigitAt(long pos) const { return pos >= 0 && pos < mEPos; }

  void PrintPlaceholder(char placeholder) {
    if (mExponentPrinted) {
      ++mK;
      return;
    }
    if (mAfterPoint)
      PrintFractionPlace(placeholder);
    else
      PrintIntegerPlace(placeholder);
    ++mK;
  }

  // A separator belongs before an integer place whose distance to the point
  // is a multiple of three, once something has been printed to its left.
  bool SeparatorBefore() const {
    return mLayout.thousands && mPrintedIntegerDigit && (mLayout.integerPlaces - mK) % 3 == 0;
  }

  void PrintIntegerPlace(char placeholder) {
    long excess = mDotPos - mLayout.integerPlaces;
    if (mK == 0 && excess > 0) {
      // The digits that have no place of their own all print at the first one.
      for (long pos = 0; pos <= excess && pos < static_cast<long>(mText.size()); ++pos) {
        if (mLayout.thousands && pos > 0 && (mDotPos - pos) % 3 == 0)
          mOut += ',';
        mOut += mText[static_cast<size_t>(pos)];
      }
      mPrintedIntegerDigit = true;
      return;
    }
    long pos = mDotPos + mK - mLayout.integerPlaces;
    if (HasDigitAt(pos)) {
      if (SeparatorBefore())
        mOut += ',';
      mOut += mText[static_cast<size_t>(pos)];
      mPrintedIntegerDigit = true;
    } else if (placeholder == '0') {
      if (SeparatorBefore())
        mOut += ',';
      mOut += '0';
      mPrintedIntegerDigit = true;
    }
  }

  void PrintFractionPlace(char placeholder) {
    long pos = mDotPos + mK + 1;
    if (HasDigitAt(pos))
      mOut += mText[static_cast<size_t>(pos)];
    else if (placeholder == '0')
      mOut += '0';
  }

  void PrintPoint() {
    if (mAfterPoint)
      return;
    mAfterPoint = true;
    mOut += '.';
    mK = 0;
  }

  // Prints the letter and the text's exponent; a "+" or "-" right after the
  // letter in the pattern chooses how the sign shows and is consumed.
  size_t PrintExponent(char letter, size_t at) {
    mOut += letter;
    std::string exponent = mText.substr(static_cast<size_t>(mEPos) + 1);
    bool hasSign = !exponent.empty() && (exponent[0] == '+' || exponent[0] == '-');
    char next = at + 1 < mSection.end ? mPattern.bytes[at + 1] : '\0';
    if (next == '+') {
      if (!hasSign)
        mOut += '+';
      mOut += exponent;
      ++at;
    } else if (next == '-') {
      mOut += exponent.c_str() + (hasSign && exponent[0] == '+' ? 1 : 0);
      ++at;
    } else {
      mOut += exponent;
    }
    mExponentPrinted = true;
    return at;
  }

  const Pattern &mPattern;
  Section mSection;
  const SectionLayout &mLayout;
  const std::string &mText;
  long mEPos;
  long mDotPos;
  int mSign; // -1, 0 (zero and NaN) or 1
  long mK = 0;
  bool mAfterPoint = false;
  bool mPrintedIntegerDigit = false;
  bool mExponentPrinted = false;
  PrintedText mOut;
};

const char kScientificPattern[] = "-#.000000E+";

} // namespace

string FormatNumber(double value, const string &format) {
  Pattern pattern{format.CString(), static_cast<size_t>(format.Length()),
                  format.Encoding() == kEncodingUTF8};
  if (pattern.length == sizeof "Scientific" - 1 && ustrcmpi(pattern.bytes, "Scientific") == 0)
    pattern = {kScientificPattern, sizeof kScientificPattern - 1, false};

  Section section = ChooseSection(pattern, value);
  int sign = value < 0 ? -1 : (value > 0 ? 1 : 0);
  if (sign < 0)
    value = -value; // the sign prints only where the section has "+" or "-"

  SectionLayout layout = ScanSection(pattern, section);
  if (layout.percent)
    value *= 100;
  std::string text = layout.exponent
                         ? NumberText(value, Notation::Scientific, layout.fractionPlaces + 1)
                         : NumberText(value, Notation::Fixed, layout.fractionPlaces);
  size_t e = text.find('e');
  long ePos = e == std::string::npos ? -1 : static_cast<long>(e);
  if (layout.fractionPlaces > 0)
    DropTrailingZeros(text, ePos);
  if (ePos < 0) {
    ePos = static_cast<long>(text.size());
    layout.exponent = false;
  }

  SectionPrinter printer(pattern, section, layout, text, ePos, sign);
  const PrintedText &printed = printer.Print();
  return TaggedText(printed.Data(), printed.Size(), format.Encoding());
}

// More digits than a double's exact decimal expansion has (at most 767
// significant digits, 1074 after the point) add only zeros; the count is bounded
// so that the text's length and printf's int precision stay small.
constexpr unsigned long kMostDigitsOfADouble = 1100;

string doubleStr(double value, long mode, unsigned long digits) {
  if (value == 0)
    value = 0;
  digits = std::min(digits, kMostDigitsOfADouble);
  double magnitude = std::fabs(value);
  bool fixed = mode == kDoubleStrFixed ||
               (mode == kDoubleStrAutomatic &&
                (magnitude == 0 || (magnitude >= 0.00001 && magnitude <= 1000000)));
  long precision = static_cast<long>(digits);
  if (fixed && std::isfinite(magnitude)) {
    // Significant digits spent on the integer part are not decimals.
    for (double v = magnitude; v >= 1; v /= 10)
      --precision;
  }
  std::string text = NumberText(value, fixed ? Notation::Fixed : Notation::Scientific, precision);
  if (fixed && precision != 0 && text.find('.') != std::string::npos) {
    size_t last = text.find_last_not_of('0');
    text.erase(last + 1);
    if (!text.empty() && text.back() == '.')
      text.pop_back();
  }
  return TaggedText(text.data(), text.size(), kEncodingASCII);
}

void GetDigitSeparators(string *thousands, string *decimal, string *date, string *time) {
  if (thousands)
    *thousands = string(",");
  if (decimal)
    *decimal = string(".");
  if (date)
    *date = string("/");
  if (time)
    *time = string(":");
}
