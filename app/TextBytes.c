#include "TextBytes.h"

int32_t ByteLength(stringStorage *text) { return text ? text->length : 0; }

int32_t SameBytes(stringStorage *a, stringStorage *b) {
  int32_t i, n = ByteLength(a);
  if (n != ByteLength(b))
    return 0;
  for (i = 0; i < n; ++i)
    if (a->buffer[1 + i] != b->buffer[1 + i])
      return 0;
  return 1;
}

int32_t IsValidUTF8(stringStorage *text) {
  int32_t i = 0, n = ByteLength(text);
  while (i < n) {
    const unsigned char *s = text->buffer + 1 + i;
    unsigned char c = s[0];
    int32_t extra, k;
    uint32_t code, minimum;
    if (c < 0x80) {
      ++i;
      continue;
    }
    if (c >= 0xC2 && c <= 0xDF)
      extra = 1, code = c & 0x1F, minimum = 0x80;
    else if (c >= 0xE0 && c <= 0xEF)
      extra = 2, code = c & 0x0F, minimum = 0x800;
    else if (c >= 0xF0 && c <= 0xF4)
      extra = 3, code = c & 0x07, minimum = 0x10000;
    else
      return 0;
    if (n - i <= extra)
      return 0;
    for (k = 1; k <= extra; ++k) {
      if ((s[k] & 0xC0) != 0x80)
        return 0;
      code = (code << 6) | (s[k] & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
      return 0;
    i += 1 + extra;
  }
  return 1;
}
