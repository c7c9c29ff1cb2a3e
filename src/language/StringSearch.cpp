#include "language/StringSearch.h"

#include "foundation/TextEncodings.h"
#include "language/BoyerMoore.h"
#include "language/CharTables.h"

namespace {

// Patterns longer than this, with more candidates than kBoyerMooreCandidates
// left, go through the Boyer-Moore search.
constexpr int32_t kBoyerMoorePattern = 4;
constexpr int32_t kBoyerMooreCandidates = 80;

const unsigned char *Bytes(const string &s) {
  return reinterpret_cast<const unsigned char *>(s.CString());
}

int32_t SearchUTF16(int32_t s, const string &text, const string &find, int32_t *matchedBytes) {
  const auto *t = reinterpret_cast<const uint16_t *>(text.CString());
  const auto *f = reinterpret_cast<const uint16_t *>(find.CString());
  const int32_t textUnits = text.Length() / 2, findUnits = find.Length() / 2;
  // A find without a whole unit (a lone byte) matches nothing.
  if (findUnits == 0)
    return 0;
  for (int32_t at = s; at <= textUnits - findUnits; ++at) {
    int32_t k = 0;
    while (k < findUnits && UnicodeCharCompare(t[at + k], f[k], true) == 0)
      ++k;
    if (k == findUnits) {
      if (matchedBytes)
        *matchedBytes = findUnits * 2;
      return at + 1;
    }
  }
  return 0;
}

// Compares find with the text at p, code point by code point after
// upper-casing; answers the text bytes matched, or -1. The text may end
// before find does (case mapping can change widths): no match then.
int32_t MatchUTF8At(const unsigned char *p, const unsigned char *textEnd, const unsigned char *f,
                    const unsigned char *findEnd) {
  const unsigned char *start = p;
  while (f < findEnd) {
    if (p >= textEnd)
      return -1;
    unsigned long a = UTF8DecodeAndAdvance(&p, textEnd);
    unsigned long b = UTF8DecodeAndAdvance(&f, findEnd);
    if (UnicodeCharToUpper(a) != UnicodeCharToUpper(b))
      return -1;
  }
  return static_cast<int32_t>(p - start);
}

int32_t SearchUTF8(int32_t s, const string &text, const string &find, bool bytePositions,
                   int32_t *matchedBytes) {
  const unsigned char *begin = Bytes(text), *end = begin + text.Length();
  const unsigned char *f = Bytes(find), *findEnd = f + find.Length();
  const unsigned char *p = begin;
  int32_t index = 0; // code points before p
  if (bytePositions)
    p = begin + s;
  else {
    while (index < s && p < end) {
      AdvanceUTF8(&p, end, 1);
      ++index;
    }
  }
  while (p < end && end - p >= find.Length()) {
    int32_t matched = MatchUTF8At(p, end, f, findEnd);
    if (matched >= 0) {
      if (matchedBytes)
        *matchedBytes = matched;
      return bytePositions ? static_cast<int32_t>(p - begin) + 1 : index + 1;
    }
    AdvanceUTF8(&p, end, 1);
    ++index;
  }
  return 0;
}

int32_t SearchBytesIgnoringCase(int32_t s, const string &text, const string &find,
                                int32_t *matchedBytes) {
  const CharTables &tables = CharTables::Current();
  const unsigned char *t = Bytes(text), *f = Bytes(find);
  const int32_t m = find.Length();
  for (int32_t at = s; at <= text.Length() - m; ++at) {
    int32_t k = 0;
    while (k < m && tables.upper[t[at + k]] == tables.upper[f[k]])
      ++k;
    if (k == m) {
      if (matchedBytes)
        *matchedBytes = m;
      return at + 1;
    }
  }
  return 0;
}

} // namespace

int32_t InStrHelper(int32_t start, const string &text, const string &find, bool bytePositions,
                    int32_t *matchedBytes) {
  if (text.IsEmpty())
    return 0;
  string t = text, f = find;
  // Text and find that cannot be brought to one encoding are searched as bytes.
  bool asBytes = false;
  if (!f.IsEmpty() && f.Encoding() != t.Encoding())
    asBytes = ConvertToSameEncoding(&t, &f) == kEncodingUnknown;
  if (f.IsEmpty()) {
    if (matchedBytes)
      *matchedBytes = 0;
    return start;
  }
  const int32_t s = start < 1 ? 0 : start - 1;
  if (s >= t.Length() || int64_t{t.Length()} - s - f.Length() < 0)
    return 0;
  const uint32_t encoding = asBytes ? kEncodingUnknown : t.Encoding();
  if (IsUTF16Family(encoding))
    return SearchUTF16(s, t, f, matchedBytes);
  if (encoding == kEncodingUTF8)
    return SearchUTF8(s, t, f, bytePositions, matchedBytes);
  return SearchBytesIgnoringCase(s, t, f, matchedBytes);
}

int32_t InStrBHelper(int32_t start, const string &text, const string &find) {
  if (text.IsEmpty())
    return 0;
  if (find.IsEmpty())
    return start;
  const int32_t s = start < 1 ? 0 : start - 1;
  const int32_t L = text.Length();
  if (s >= L)
    return 0;
  const int32_t R = L - s, m = find.Length(), n = R - m;
  if (n < 0)
    return 0;
  const unsigned char *t = Bytes(text) + s, *f = Bytes(find);
  if (m > kBoyerMoorePattern && n > kBoyerMooreCandidates) {
    int32_t k = bmsearch(f, m, t, R);
    return k < R ? s + k + 1 : 0;
  }
  const unsigned char first = f[0];
  for (int32_t at = 0; at <= n; ++at) {
    if (t[at] != first)
      continue;
    int32_t k = 1;
    while (k < m && t[at + k] == f[k])
      ++k;
    if (k == m)
      return s + at + 1;
  }
  return 0;
}

int32_t InStr(int32_t start, const string &text, const string &find, bool bytePositions,
              int32_t *matchedBytes) {
  return InStrHelper(start + 1, text, find, bytePositions, matchedBytes) - 1;
}

int32_t InStrB(int32_t start, const string &text, const string &find) {
  return InStrBHelper(start + 1, text, find) - 1;
}

extern "C" int32_t StringInStr(int32_t start, stringStorage *text, stringStorage *find) {
  return InStrHelper(start, string::Borrow(text), string::Borrow(find), false);
}

extern "C" int32_t StringDBCSInStr(int32_t start, stringStorage *text, stringStorage *find) {
  return StringInStr(start, text, find);
}

extern "C" int32_t StringInStrB(int32_t start, stringStorage *text, stringStorage *find) {
  return InStrBHelper(start, string::Borrow(text), string::Borrow(find));
}

extern "C" int32_t StringExtendsInStr(stringStorage *text, int32_t start, stringStorage *find) {
  return StringInStr(start, text, find);
}

extern "C" int32_t StringExtendsInStrB(stringStorage *text, int32_t start, stringStorage *find) {
  return StringInStrB(start, text, find);
}
