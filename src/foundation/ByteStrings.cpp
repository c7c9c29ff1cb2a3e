#include "foundation/ByteStrings.h"

#include <cstring>
#include <emmintrin.h>

#include "foundation/Memory.h"

// Mac Roman capitals: ASCII letters, the accented lower-case vowels, ñ, ç,
// æ, ø, œ, ÿ and dotless i. Every other byte maps to itself.
const unsigned char kMacRomanUpperCase[256] = {
    0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F,
    0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0x1A, 0x1B, 0x1C, 0x1D, 0x1E, 0x1F,
    0x20, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28, 0x29, 0x2A, 0x2B, 0x2C, 0x2D, 0x2E, 0x2F,
    0x30, 0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3A, 0x3B, 0x3C, 0x3D, 0x3E, 0x3F,
    0x40, 0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4A, 0x4B, 0x4C, 0x4D, 0x4E, 0x4F,
    0x50, 0x51, 0x52, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5A, 0x5B, 0x5C, 0x5D, 0x5E, 0x5F,
    0x60, 0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4A, 0x4B, 0x4C, 0x4D, 0x4E, 0x4F,
    0x50, 0x51, 0x52, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5A, 0x7B, 0x7C, 0x7D, 0x7E, 0x7F,
    0x80, 0x81, 0x82, 0x83, 0x84, 0x85, 0x86, 0xE7, 0xCB, 0xE5, 0x80, 0xCC, 0x81, 0x82, 0x83, 0xE9,
    0xE6, 0xE8, 0xEA, 0xED, 0xEB, 0xEC, 0x84, 0xEE, 0xF1, 0xEF, 0x85, 0xCD, 0xF2, 0xF4, 0xF3, 0x86,
    0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7, 0xA8, 0xA9, 0xAA, 0xAB, 0xAC, 0xAD, 0xAE, 0xAF,
    0xB0, 0xB1, 0xB2, 0xB3, 0xB4, 0xB5, 0xB6, 0xB7, 0xB8, 0xB9, 0xBA, 0xBB, 0xBC, 0xBD, 0xAE, 0xAF,
    0xC0, 0xC1, 0xC2, 0xC3, 0xC4, 0xC5, 0xC6, 0xC7, 0xC8, 0xC9, 0xCA, 0xCB, 0xCC, 0xCD, 0xCE, 0xCE,
    0xD0, 0xD1, 0xD2, 0xD3, 0xD4, 0xD5, 0xD6, 0xD7, 0xD9, 0xD9, 0xDA, 0xDB, 0xDC, 0xDD, 0xDE, 0xDF,
    0xE0, 0xE1, 0xE2, 0xE3, 0xE4, 0xE5, 0xE6, 0xE7, 0xE8, 0xE9, 0xEA, 0xEB, 0xEC, 0xED, 0xEE, 0xEF,
    0xF0, 0xF1, 0xF2, 0xF3, 0xF4, 0x49, 0xF6, 0xF7, 0xF8, 0xF9, 0xFA, 0xFB, 0xFC, 0xFD, 0xFE, 0xFF,
};

namespace {
inline int Sign(int difference) { return (difference > 0) - (difference < 0); }

// The one comparison loop behind all four compare functions: bytes pass
// through fold (identity or the case table); runs with a common prefix put
// the shorter first.
template <typename Fold>
int CompareRuns(const unsigned char *a, int aLength, const unsigned char *b, int bLength,
                Fold fold) {
  int common = aLength < bLength ? aLength : bLength;
  for (int i = 0; i < common; ++i) {
    int difference = fold(a[i]) - fold(b[i]);
    if (difference)
      return Sign(difference);
  }
  return Sign(aLength - bLength);
}

template <typename Fold>
int CompareTexts(const char *a, const char *b, Fold fold) {
  if (!a || !b)
    return (a != nullptr) - (b != nullptr);
  auto *x = reinterpret_cast<const unsigned char *>(a);
  auto *y = reinterpret_cast<const unsigned char *>(b);
  for (;; ++x, ++y) {
    int difference = fold(*x) - fold(*y);
    if (difference)
      return Sign(difference);
    if (!*x)
      return 0;
  }
}

inline int Raw(unsigned char c) { return c; }
inline int Folded(unsigned char c) { return kMacRomanUpperCase[c]; }
inline int FoldedASCII(unsigned char c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; }

inline const unsigned char *Bytes(const char *p) {
  return reinterpret_cast<const unsigned char *>(p);
}
} // namespace

int ustrlen(const char *str) {
  if (!str) {
    ShowAlert(kUstrlenNullAlert);
    return 0;
  }
  return static_cast<int>(std::strlen(str));
}

void ustrcpy(char *dst, const char *src) { std::strcpy(dst, src); }

void ustrcat(char **dst, const char *src) { std::strcat(*dst, src); }

void pstrcpy(unsigned char *dst, const unsigned char *src) { std::memmove(dst, src, src[0] + 1u); }

char *OSstrdup(const char *src) {
  size_t size = std::strlen(src) + 1;
  char *copy = OSalloc(static_cast<long>(size), kMemFullQuit);
  std::memcpy(copy, src, size);
  return copy;
}

int ustrcmpi(const char *a, const char *b) { return CompareTexts(a, b, Folded); }

int ustrcmpi(const char *a, int aLength, const char *b, int bLength) {
  return CompareRuns(Bytes(a), aLength, Bytes(b), bLength, Folded);
}

namespace {
// Bits of the sixteen byte pairs that are equal once ASCII letters are folded:
// equal bytes, or bytes that differ only in the case bit and are letters.
inline unsigned EqualFoldedASCII(__m128i x, __m128i y) {
  const __m128i caseBit = _mm_set1_epi8(0x20);
  __m128i difference = _mm_xor_si128(x, y);
  // (x | 0x20) - 'a' below 26, as unsigned bytes: x is a letter.
  __m128i offset = _mm_sub_epi8(_mm_or_si128(x, caseBit), _mm_set1_epi8('a'));
  __m128i letter = _mm_cmpeq_epi8(_mm_min_epu8(offset, _mm_set1_epi8(25)), offset);
  __m128i caseOnly = _mm_and_si128(_mm_cmpeq_epi8(difference, caseBit), letter);
  __m128i same = _mm_or_si128(_mm_cmpeq_epi8(difference, _mm_setzero_si128()), caseOnly);
  return unsigned(_mm_movemask_epi8(same));
}

// Sixteen bytes from p may be read when they lie in p's page; bytes past the
// run are then masked off, never used.
inline bool SixteenBytesInPage(const char *p) {
  return (reinterpret_cast<uintptr_t>(p) & 4095) <= 4096 - 16;
}

// The compiler's own unaligned load rather than the header's wrapper: the
// wrapper is a function of its own, which the address sanitizer instruments
// even where it is inlined into an exempt caller.
inline __attribute__((always_inline)) __m128i Load16(const char *p) {
  return reinterpret_cast<__m128i>(__builtin_ia32_loaddqu(p));
}

// The sign of the folded bytes at the first differing position of a block.
inline int FirstDifference(const char *a, const char *b, unsigned differing) {
  int at = __builtin_ctz(differing);
  return Sign(FoldedASCII(Bytes(a)[at]) - FoldedASCII(Bytes(b)[at]));
}
} // namespace

// Sixteen bytes at a time; the last block, short of sixteen, is read whole
// when that stays within the page (which the address sanitizer cannot tell
// from an overrun, hence the exemption), else byte by byte.
__attribute__((no_sanitize_address)) int ustrcmpiASCII(const char *a, int aLength, const char *b,
                                                       int bLength) {
  int common = aLength < bLength ? aLength : bLength;
  const char *aEnd = a + common;
  for (; aEnd - a >= 16; a += 16, b += 16)
    if (unsigned differing = EqualFoldedASCII(Load16(a), Load16(b)) ^ 0xFFFF)
      return FirstDifference(a, b, differing);
  int rest = int(aEnd - a);
  if (rest > 0) {
    if (!SixteenBytesInPage(a) || !SixteenBytesInPage(b))
      return CompareRuns(Bytes(a), aLength - (common - rest), Bytes(b), bLength - (common - rest),
                         FoldedASCII);
    if (unsigned differing = (EqualFoldedASCII(Load16(a), Load16(b)) ^ 0xFFFF) & ((1u << rest) - 1))
      return FirstDifference(a, b, differing);
  }
  return Sign(aLength - bLength);
}

namespace {
constexpr uint32_t Power31(int n) { return n ? 31u * Power31(n - 1) : 1u; }

// 31 to the powers 0 to 16, wrapping as the hash does.
constexpr uint32_t kPowersOf31[17] = {
    Power31(0),  Power31(1),  Power31(2),  Power31(3),  Power31(4),  Power31(5),
    Power31(6),  Power31(7),  Power31(8),  Power31(9),  Power31(10), Power31(11),
    Power31(12), Power31(13), Power31(14), Power31(15), Power31(16)};

// Sixteen zeros then sixteen ones: read from offset k, it keeps the last k
// bytes of a block.
alignas(16) constexpr unsigned char kLastBytesMask[32] = {
    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

uint32_t FoldedHashByBytes(uint32_t h, const unsigned char *bytes, int length) {
  for (int i = 0; i < length; ++i)
    h = h * 31 + static_cast<uint32_t>(static_cast<signed char>(kMacRomanUpperCase[bytes[i]]));
  return h;
}

// The sum of each byte times 31 to the power of the bytes after it in the
// block, for a block of ASCII bytes; its ASCII letters are first folded to
// capitals, which is what the Mac Roman table does to them. Leading zero
// bytes add nothing, so a block ending in a shorter run gives that run's sum.
inline uint32_t FoldedASCIIBlockHash(__m128i block) {
  __m128i offset = _mm_sub_epi8(block, _mm_set1_epi8('a'));
  __m128i lower = _mm_cmpeq_epi8(_mm_min_epu8(offset, _mm_set1_epi8(25)), offset);
  __m128i folded = _mm_sub_epi8(block, _mm_and_si128(lower, _mm_set1_epi8(0x20)));
  // Pairs of 16-bit products summed: 31^3 b0 + 31^2 b1, 31 b2 + b3, ...
  const __m128i weights = _mm_set_epi16(1, 31, 961, 29791, 1, 31, 961, 29791);
  __m128i low = _mm_madd_epi16(_mm_unpacklo_epi8(folded, _mm_setzero_si128()), weights);
  __m128i high = _mm_madd_epi16(_mm_unpackhi_epi8(folded, _mm_setzero_si128()), weights);
  // The sums of four bytes each, first block of four in lane 0.
  __m128 l = _mm_castsi128_ps(low), hi = _mm_castsi128_ps(high);
  __m128i quads = _mm_add_epi32(_mm_castps_si128(_mm_shuffle_ps(l, hi, _MM_SHUFFLE(2, 0, 2, 0))),
                                _mm_castps_si128(_mm_shuffle_ps(l, hi, _MM_SHUFFLE(3, 1, 3, 1))));
  // Lanes 0 and 2 times 31^12 and 31^4, lanes 1 and 3 times 31^8 and 1;
  // only the low 32 bits of each product count.
  __m128i even = _mm_mul_epu32(quads, _mm_set_epi32(0, int(Power31(4)), 0, int(Power31(12))));
  __m128i odd = _mm_mul_epu32(_mm_srli_epi64(quads, 32), _mm_set_epi32(0, 1, 0, int(Power31(8))));
  __m128i sums = _mm_add_epi32(even, odd);
  return uint32_t(_mm_cvtsi128_si32(sums)) +
         uint32_t(_mm_cvtsi128_si32(_mm_shuffle_epi32(sums, _MM_SHUFFLE(1, 0, 3, 2))));
}
} // namespace

// Sixteen ASCII bytes a step; a block with a byte above 0x7F goes through the
// table byte by byte. A last block short of sixteen is read as the sixteen
// bytes that end the run, when they lie in one page, with the bytes before
// the run masked off.
__attribute__((no_sanitize_address)) uint32_t FoldedHash31(const char *bytes, int length) {
  const unsigned char *p = Bytes(bytes);
  uint32_t h = 0;
  for (; length >= 16; p += 16, length -= 16) {
    __m128i block = Load16(reinterpret_cast<const char *>(p));
    if (_mm_movemask_epi8(block))
      h = FoldedHashByBytes(h, p, 16);
    else
      h = h * kPowersOf31[16] + FoldedASCIIBlockHash(block);
  }
  if (length <= 4) // a short tail costs less byte by byte than as a block
    return FoldedHashByBytes(h, p, length);
  const char *blockStart = reinterpret_cast<const char *>(p) + length - 16;
  if ((reinterpret_cast<uintptr_t>(blockStart) & 4095) > 4096 - 16)
    return FoldedHashByBytes(h, p, length);
  __m128i block = _mm_and_si128(
      Load16(blockStart), Load16(reinterpret_cast<const char *>(kLastBytesMask + length)));
  if (_mm_movemask_epi8(block))
    return FoldedHashByBytes(h, p, length);
  return h * kPowersOf31[length] + FoldedASCIIBlockHash(block);
}

// Sixteen bytes a step; the last block, short of sixteen, is read whole when
// that stays within the page, with the bytes past the run masked off.
__attribute__((no_sanitize_address)) int FindLineBreak(const char *bytes, int length) {
  const __m128i carriageReturn = _mm_set1_epi8(0x0D), lineFeed = _mm_set1_epi8(0x0A);
  auto breaks = [&](const char *p) {
    __m128i block = Load16(p);
    return unsigned(_mm_movemask_epi8(
        _mm_or_si128(_mm_cmpeq_epi8(block, carriageReturn), _mm_cmpeq_epi8(block, lineFeed))));
  };
  int at = 0;
  for (; length - at >= 16; at += 16)
    if (unsigned found = breaks(bytes + at))
      return at + __builtin_ctz(found);
  int rest = length - at;
  if (rest <= 0)
    return length;
  if (SixteenBytesInPage(bytes + at)) {
    unsigned found = breaks(bytes + at) & ((1u << rest) - 1);
    return found ? at + __builtin_ctz(found) : length;
  }
  for (; at < length; ++at)
    if (bytes[at] == 0x0D || bytes[at] == 0x0A)
      return at;
  return length;
}

// Sixteen bytes a step, the last block read whole when it stays within the
// page of each run, as in the compares above.
__attribute__((no_sanitize_address)) bool SameBytes(const char *a, const char *b, int length) {
  for (; length >= 16; a += 16, b += 16, length -= 16)
    if (_mm_movemask_epi8(_mm_cmpeq_epi8(Load16(a), Load16(b))) != 0xFFFF)
      return false;
  if (length <= 0)
    return true;
  if (SixteenBytesInPage(a) && SixteenBytesInPage(b)) {
    unsigned differing = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(Load16(a), Load16(b)))) ^ 0xFFFF;
    return (differing & ((1u << length) - 1)) == 0;
  }
  return std::memcmp(a, b, static_cast<size_t>(length)) == 0;
}

int ustrcmp(const char *a, const char *b) { return CompareTexts(a, b, Raw); }

int ustrcmp(const char *a, int aLength, const char *b, int bLength) {
  return CompareRuns(Bytes(a), aLength, Bytes(b), bLength, Raw);
}

int umemzero(void *dst, int n) { return umemset(dst, 0, n); }

int umemset(void *dst, int byte, int n) {
  if (n > 0)
    std::memset(dst, byte, static_cast<size_t>(n));
  return n;
}

void umemcpy(void *dst, const void *src, int n) {
  if (n > 0)
    std::memmove(dst, src, static_cast<size_t>(n));
}

void umemmove(void *dst, const void *src, int n) {
  if (n <= 0)
    return;
  // Through a temporary block, so any overlap is harmless.
  char *temporary = OSalloclen(n, kMemFullQuit);
  std::memcpy(temporary, src, static_cast<size_t>(n));
  std::memcpy(dst, temporary, static_cast<size_t>(n));
  OSfreelen(temporary, n);
}

int umemcmp(const char *text, const char *pattern, int patternLength, int textLength) {
  if (patternLength <= 0 || textLength < patternLength)
    return -1;
  // Every start is tried, so patterns with a repeating prefix (aab in aaab)
  // are found too.
  const void *found =
      memmem(text, static_cast<size_t>(textLength), pattern, static_cast<size_t>(patternLength));
  return found ? static_cast<int>(static_cast<const char *>(found) - text) : -1;
}

int uwstrlen(const wchar_t *str) {
  int n = 0;
  while (str[n])
    ++n;
  return n;
}

int ANSICharToWideChar(const char *src, char **dst) {
  char *out = *dst;
  for (; *src; ++src) {
    *out++ = *src;
    *out++ = 0;
  }
  return 0;
}
