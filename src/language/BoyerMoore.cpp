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
  // Unsigned: the text is shorter than 2^31 bytes and a step adds at most m,
  // so i never wraps.
  uint32_t i = static_cast<uint32_t>(m - 1);
  int32_t j = m - 1;
  const uint32_t n = static_cast<uint32_t>(textLength);
  while (j >= 0) {
    while (text[i] != pattern[j]) {
      uint32_t skip = static_cast<uint32_t>(sSkip[text[i]]);
      uint32_t rest = static_cast<uint32_t>(m - j);
      i += skip > rest ? skip : rest;
      if (i >= n)
        return textLength;
      j = m - 1;
    }
    --i;
    --j;
  }
  return static_cast<int32_t>(i + 1);
}
