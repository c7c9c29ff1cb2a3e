#include "language/BoyerMoore.h"

namespace {
int32_t sSkip[256];
} // namespace

void initskip(const unsigned char *pattern, int32_t length) {
  for (int32_t &entry : sSkip)
    entry = length;
  for (int32_t j = 0; j < length; ++j)
    sSkip[pattern[j]] = length - 1 - j;
}

int32_t bmsearch(const unsigned char *pattern, int32_t patternLength, const unsigned char *text,
                 int32_t textLength) {
  const int32_t m = patternLength;
  if (m <= 0 || m > textLength)
    return textLength;
  initskip(pattern, m);
  // end is the text position under the pattern's last byte. Unsigned: the
  // text is shorter than 2^31 bytes and a step adds at most m, so it never
  // wraps.
  const uint32_t n = static_cast<uint32_t>(textLength);
  const unsigned char last = pattern[m - 1];
  uint32_t end = static_cast<uint32_t>(m - 1);
  while (end < n) {
    // Only the last pattern byte has a skip of 0: skip until it lines up.
    while (text[end] != last) {
      end += static_cast<uint32_t>(sSkip[text[end]]);
      if (end >= n)
        return textLength;
    }
    // Compare the rest from right to left.
    int32_t j = m - 2;
    uint32_t i = end - 1;
    while (j >= 0 && text[i] == pattern[j]) {
      --i;
      --j;
    }
    if (j < 0)
      return static_cast<int32_t>(end - static_cast<uint32_t>(m - 1));
    // Shift by the mismatched byte's skip, at least past this alignment.
    const uint32_t skip = static_cast<uint32_t>(sSkip[text[i]]);
    const uint32_t rest = static_cast<uint32_t>(m - j);
    end = i + (skip > rest ? skip : rest);
  }
  return textLength;
}
