// Unicode case mapping of single code points, UTF-8 and UTF-16 text, and the
// code-point comparisons built on it. The mapping is the simple case folding
// of the generated table, used in both directions through two lookup maps.
#include "foundation/IntMap.h"
#include "foundation/TextEncodings.h"

namespace {

#include "foundation/UnicodeCaseTable.inc"

// Each map answers a table index: upper-casing looks a code up among the
// folded forms, lower-casing among the codes that fold.
struct CaseMaps {
  IntMap<unsigned short> byFoldedCode;
  IntMap<unsigned short> byFoldingCode;

  CaseMaps() {
    // Walking down with replacement leaves the smallest index for a key that
    // occurs several times.
    for (int i = kCaseFoldPairCount - 1; i >= 0; --i) {
      byFoldedCode.AddEntry(kCaseFoldTo[i], static_cast<unsigned short>(i));
      byFoldingCode.AddEntry(kCaseFoldFrom[i], static_cast<unsigned short>(i));
    }
    // Among several codes that fold to the same letter, upper-casing picks
    // the capital letter, not a sign or mark that folds the same way (the
    // micro sign for mu, the iota subscript for iota).
    for (int i = kCaseFoldPairCount - 1; i >= 0; --i)
      if (kCaseFoldFromIsCapital[i])
        byFoldedCode.AddEntry(kCaseFoldTo[i], static_cast<unsigned short>(i));
  }
};

CaseMaps &Maps() {
  static CaseMaps maps;
  return maps;
}

bool HasCaseMapping(unsigned long c) {
  unsigned short index;
  return c <= 0xFFFF && (Maps().byFoldedCode.GetEntry(static_cast<int>(c), &index) ||
                         Maps().byFoldingCode.GetEntry(static_cast<int>(c), &index));
}

enum class CaseMode { Upper, Lower, Title };

// Title case upper-cases a character that starts the text or follows a space
// or control character.
bool StartsWord(bool first, unsigned long previous) { return first || previous <= 32; }

unsigned long MapCase(unsigned long c, CaseMode mode, bool startsWord) {
  bool upper = mode == CaseMode::Upper || (mode == CaseMode::Title && startsWord);
  return upper ? UnicodeCharToUpper(c) : UnicodeCharToLower(c);
}

void MapUTF8(const unsigned char *text, unsigned long length, unsigned char **out,
             unsigned long *outLength, CaseMode mode) {
  if (!out && !outLength)
    return;
  // A mapped character never takes more than 4 bytes and a zero, and a new
  // one is only started while the output has not passed length bytes.
  unsigned char *result = new unsigned char[length + 5];
  result[0] = 0;
  const unsigned char *p = text;
  const unsigned char *end = text + length;
  unsigned long written = 0;
  unsigned long previous = 0;
  for (bool first = true; p < end; first = false) {
    const unsigned char *start = p;
    unsigned long c;
    if (!UTF8DecodeCharacter(&p, end, &c)) {
      // A byte that is not part of a well-formed character is kept as it is.
      if (written > length)
        break;
      result[written++] = *start;
      result[written] = 0;
      previous = *start;
      continue;
    }
    previous = MapCase(c, mode, StartsWord(first, previous));
    if (written > length)
      break;
    written += UTF8Encode(previous, result + written);
  }
  if (outLength)
    *outLength = written;
  if (out)
    *out = result;
  else
    delete[] result;
}

unsigned short *MapUCS2(const unsigned short *units, unsigned long byteCount, CaseMode mode) {
  unsigned short *result = new unsigned short[byteCount];
  unsigned long count = byteCount / 2;
  for (unsigned long i = 0; i < count; ++i) {
    bool startsWord = StartsWord(i == 0, i ? units[i - 1] : 0);
    result[i] = static_cast<unsigned short>(MapCase(units[i], mode, startsWord));
  }
  return result;
}

int CompareLengths(unsigned long a, unsigned long b) { return a < b ? -1 : (a > b ? 1 : 0); }

} // namespace

unsigned long UnicodeCharToUpper(unsigned long c) {
  unsigned short index;
  if (c <= 0xFFFF && Maps().byFoldedCode.GetEntry(static_cast<int>(c), &index))
    return kCaseFoldFrom[index];
  return c;
}

unsigned long UnicodeCharToLower(unsigned long c) {
  unsigned short index;
  if (c <= 0xFFFF && Maps().byFoldingCode.GetEntry(static_cast<int>(c), &index))
    return kCaseFoldTo[index];
  return c;
}

int UnicodeCharCompare(unsigned long a, unsigned long b, bool ignoreCase) {
  if (a == b)
    return 0;
  if (ignoreCase) {
    a = UnicodeCharToUpper(a);
    b = UnicodeCharToUpper(b);
  }
  return a < b ? -1 : (a > b ? 1 : 0);
}

void UTF8ToUpper(const unsigned char *text, unsigned long length, unsigned char **out,
                 unsigned long *outLength) {
  MapUTF8(text, length, out, outLength, CaseMode::Upper);
}

void UTF8ToLower(const unsigned char *text, unsigned long length, unsigned char **out,
                 unsigned long *outLength) {
  MapUTF8(text, length, out, outLength, CaseMode::Lower);
}

void UTF8Capitalize(const unsigned char *text, unsigned long length, unsigned char **out,
                    unsigned long *outLength) {
  MapUTF8(text, length, out, outLength, CaseMode::Title);
}

bool UTF8IsCaseless(const unsigned char *text, unsigned long length) {
  const unsigned char *end = text + length;
  unsigned long c;
  while (text < end)
    if (UTF8DecodeCharacter(&text, end, &c) && HasCaseMapping(c))
      return false;
  return true;
}

int UTF8StringCompare(const unsigned char *a, unsigned long aLength, const unsigned char *b,
                      unsigned long bLength, bool ignoreCase) {
  const unsigned char *aEnd = a + aLength;
  const unsigned char *bEnd = b + bLength;
  while (a < aEnd && b < bEnd) {
    unsigned long ca, cb;
    UTF8DecodeCharacter(&a, aEnd, &ca);
    UTF8DecodeCharacter(&b, bEnd, &cb);
    if (int order = UnicodeCharCompare(ca, cb, ignoreCase))
      return order;
  }
  return CompareLengths(aLength, bLength);
}

int UCS2StringCompare(const unsigned short *a, unsigned long aBytes, const unsigned short *b,
                      unsigned long bBytes, bool ignoreCase) {
  unsigned long units = (aBytes < bBytes ? aBytes : bBytes) / 2;
  for (unsigned long i = 0; i < units; ++i)
    if (int order = UnicodeCharCompare(a[i], b[i], ignoreCase))
      return order;
  return CompareLengths(aBytes, bBytes);
}

unsigned short *UCS2ToUpper(const unsigned short *units, unsigned long byteCount) {
  return MapUCS2(units, byteCount, CaseMode::Upper);
}

unsigned short *UCS2ToLower(const unsigned short *units, unsigned long byteCount) {
  return MapUCS2(units, byteCount, CaseMode::Lower);
}

unsigned short *UCS2Capitalize(const unsigned short *units, unsigned long byteCount) {
  return MapUCS2(units, byteCount, CaseMode::Title);
}
