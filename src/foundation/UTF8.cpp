// UTF-8 walking, encoding and decoding. The walking and the plain decoders
// take bytes as they come, so text of another encoding mis-tagged as UTF-8
// walks and decodes without harm, only with odd code points;
// UTF8DecodeCharacter tells well-formed sequences from stray bytes. Every
// read stays inside the bounds the caller gives.
#include "foundation/TextEncodings.h"

namespace {

bool IsContinuationByte(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The sequence length the lead byte announces, and the payload bits it
// carries itself.
struct LeadByte {
  int length;
  unsigned long payload;
};

LeadByte ReadLeadByte(unsigned char lead) {
  if (lead < 0x80)
    return {1, lead};
  if ((lead & 0xE0) == 0xC0)
    return {2, lead & 0x1Ful};
  if ((lead & 0xF0) == 0xE0)
    return {3, lead & 0x0Ful};
  // Four-byte leads, and everything else that cannot start a shorter
  // sequence (stray continuation bytes, 0xF8 to 0xFF).
  return {4, lead & 0x07ul};
}

// Decodes the sequence at p; answers the code point and how many bytes of it
// lie before end. A sequence cut short by end keeps the bits it has.
unsigned long DecodeWithin(const unsigned char *p, const unsigned char *end, int &consumed) {
  if (p >= end) {
    consumed = 0;
    return 0;
  }
  LeadByte lead = ReadLeadByte(*p);
  unsigned long codePoint = lead.payload;
  int available = static_cast<int>(end - p);
  consumed = lead.length < available ? lead.length : available;
  for (int i = 1; i < consumed; ++i)
    codePoint = (codePoint << 6) | (p[i] & 0x3Ful);
  return codePoint;
}

} // namespace

void AdvanceUTF8(const unsigned char **cursor, const unsigned char *end, long count) {
  const unsigned char *p = *cursor;
  for (; count > 0 && p < end; --count) {
    ++p;
    while (p < end && IsContinuationByte(*p))
      ++p;
  }
  *cursor = p;
}

void BackupUTF8(const unsigned char **cursor, const unsigned char *begin, long count) {
  const unsigned char *p = *cursor;
  for (; count > 0 && p > begin; --count) {
    --p;
    while (p > begin && IsContinuationByte(*p))
      --p;
  }
  *cursor = p;
}

int UTF8Encode(unsigned long codePoint, unsigned char *out) {
  int length;
  if (codePoint < 0x80) {
    out[0] = static_cast<unsigned char>(codePoint);
    length = 1;
  } else if (codePoint < 0x800) {
    out[0] = static_cast<unsigned char>(0xC0 | (codePoint >> 6));
    length = 2;
  } else if (codePoint <= 0xFFFF) {
    out[0] = static_cast<unsigned char>(0xE0 | (codePoint >> 12));
    length = 3;
  } else if (codePoint <= 0x1FFFFF) {
    out[0] = static_cast<unsigned char>(0xF0 | (codePoint >> 18));
    length = 4;
  } else {
    length = 0;
  }
  for (int i = 1; i < length; ++i)
    out[i] = static_cast<unsigned char>(0x80 | ((codePoint >> (6 * (length - 1 - i))) & 0x3F));
  out[length] = 0;
  return length;
}

unsigned long UTF8Decode(const unsigned char *p, const unsigned char *end) {
  int consumed;
  return DecodeWithin(p, end, consumed);
}

unsigned long UTF8DecodeAndAdvance(const unsigned char **p, const unsigned char *end) {
  int consumed;
  unsigned long codePoint = DecodeWithin(*p, end, consumed);
  *p += consumed;
  return codePoint;
}

bool UTF8DecodeCharacter(const unsigned char **p, const unsigned char *end, unsigned long *c) {
  const unsigned char *q = *p;
  const unsigned char lead = *q;
  int length = 0;
  unsigned long least = 0; // the smallest code point of that length
  if (lead < 0x80) {
    *c = lead;
    *p = q + 1;
    return true;
  }
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    least = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3;
    least = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF7) {
    length = 4;
    least = 0x10000;
  }
  if (length > 0 && end - q >= length) {
    unsigned long codePoint = ReadLeadByte(lead).payload;
    int i = 1;
    for (; i < length && IsContinuationByte(q[i]); ++i)
      codePoint = (codePoint << 6) | (q[i] & 0x3Ful);
    const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
    if (i == length && codePoint >= least && !surrogate) {
      *c = codePoint;
      *p = q + length;
      return true;
    }
  }
  *c = kUTF8StrayByteBase | lead;
  *p = q + 1;
  return false;
}
