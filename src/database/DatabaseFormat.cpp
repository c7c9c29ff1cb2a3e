#include "database/DatabaseFormat.h"

#include "database/DatabaseEngine.h"

namespace dbformat {

// clang-format off
const uint8_t macLexoMap[256] = {
    0x00,0x01,0x02,0x03,0x04,0x05,0x06,0x07,0x08,0x09,0x0A,0x0B,0x0C,0x0D,0x0E,0x0F,
    0x10,0x11,0x12,0x13,0x14,0x15,0x16,0x17,0x18,0x19,0x1A,0x1B,0x1C,0x1D,0x1E,0x1F,
    0x20,0x22,0x23,0x28,0x29,0x2A,0x2B,0x2C,0x2F,0x30,0x31,0x32,0x33,0x34,0x35,0x36,
    0x37,0x38,0x39,0x3A,0x3B,0x3C,0x3D,0x3E,0x3F,0x40,0x41,0x42,0x43,0x44,0x45,0x46,
    0x47,0x48,0x58,0x5A,0x5E,0x60,0x6A,0x6E,0x70,0x72,0x7D,0x7F,0x81,0x83,0x85,0x89,
    0x99,0x9B,0x9D,0x9F,0xA2,0xA4,0xAE,0xB0,0xB2,0xB4,0xB8,0xBA,0xBB,0xBC,0xBD,0xBE,
    0xBF,0x4F,0x59,0x5C,0x5F,0x65,0x6B,0x6F,0x71,0x77,0x7E,0x80,0x82,0x84,0x87,0x90,
    0x9A,0x9C,0x9E,0xA0,0xA3,0xA9,0xAF,0xB1,0xB3,0xB5,0xB9,0xC0,0xC1,0xC2,0xC3,0xC4,
    0x4C,0x4E,0x5B,0x61,0x86,0x8D,0xA8,0x50,0x51,0x52,0x53,0x54,0x55,0x5D,0x66,0x67,
    0x68,0x69,0x79,0x7A,0x7B,0x7C,0x88,0x91,0x92,0x93,0x94,0x95,0xAA,0xAB,0xAC,0xAD,
    0xC5,0xC6,0xC7,0xC8,0xC9,0xCA,0xCB,0xA1,0xCC,0xCD,0xCE,0xCF,0xD0,0xD1,0x56,0x8F,
    0xD2,0xD3,0xD4,0xD5,0xD6,0xD7,0xD8,0xD9,0xDA,0xDB,0xDC,0xDD,0xDE,0xDF,0x57,0x96,
    0xE0,0xE1,0xE2,0xE3,0xE4,0xE5,0xE6,0x24,0x25,0xE7,0x21,0x4A,0x4D,0x8E,0x97,0x98,
    0xE8,0xE9,0x26,0x27,0x2D,0x2E,0xEA,0xEB,0xB6,0xB7,0xEC,0xED,0xEE,0xEF,0x6C,0x6D,
    0xF0,0xF1,0xF2,0xF3,0xF4,0x4B,0x63,0x49,0x64,0x62,0x73,0x75,0x76,0x74,0x8A,0x8C,
    0xF5,0x8B,0xA5,0xA7,0xA6,0x78,0xF6,0xF7,0xF8,0xF9,0xFA,0xFB,0xFC,0xFD,0xFE,0xFF,
};
// clang-format on

bool SameName(const char *a, int aLength, const char *b, int bLength) {
  if (aLength != bLength) return false;
  for (int i = 0; i < aLength; i++) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = char(x - 32);
    if (y >= 'a' && y <= 'z') y = char(y - 32);
    if (x != y) return false;
  }
  return true;
}

int CompareKeys(const uint8_t *a, int aLength, const uint8_t *b, int bLength) {
  int common = aLength < bLength ? aLength : bLength;
  int order = common ? std::memcmp(a, b, size_t(common)) : 0;
  if (order) return order < 0 ? -1 : 1;
  return aLength == bLength ? 0 : (aLength < bLength ? -1 : 1);
}

int FieldValueSize(uint8_t type, const uint8_t *value, int available) {
  int size;
  switch (type) {
  case kColumnSmallInt: size = 2; break;
  case kColumnInteger:
  case kColumnFloat:
  case kColumnLongText:
  case kColumnLongBinary: size = 4; break;
  case kColumnDouble: size = 8; break;
  case kColumnDate:
  case kColumnTime: size = 6; break;
  case kColumnBoolean: size = 1; break;
  case kColumnText:
  case kColumnBinary: {
    if (available < 4) return -1;
    uint32_t n = Load32(value);
    if (n > uint32_t(available - 4)) return -1;
    return int(4 + n);
  }
  default: return -1;
  }
  return size <= available ? size : -1;
}

namespace {
// Calls visit(column, field) for each field; false when a field is damaged or
// visit answers false.
template <typename Visit>
bool WalkFields(const uint8_t *record, int length, Visit visit) {
  int at = kRowFixed;
  while (at < length) {
    if (length - at < 2) return false;
    FieldRef field;
    field.type = record[at + 1];
    field.value = record + at + 2;
    field.size = FieldValueSize(field.type, field.value, length - at - 2);
    if (field.size < 0) return false;
    if (!visit(record[at], field)) return true;
    at += 2 + field.size;
  }
  return true;
}
} // namespace

bool FindField(const uint8_t *record, int length, int column, FieldRef &field) {
  field = FieldRef();
  if (length < kRowFixed) return false;
  return WalkFields(record, length, [&](int c, const FieldRef &f) {
    if (c != column) return true;
    field = f;
    return false;
  });
}

bool ValidRow(const uint8_t *record, int length) {
  return length >= kRowFixed && WalkFields(record, length, [](int, const FieldRef &) { return true; });
}

bool AppendKeyForm(KeyBuffer &key, const FieldRef &field) {
  if (key.length + field.size + 1 > kMaximumKeyLength) return false;
  uint8_t *out = key.bytes + key.length;
  switch (field.type) {
  case kColumnSmallInt:
    out[0] = field.value[0] ^ 0x80;
    out[1] = field.value[1];
    key.length += 2;
    return true;
  case kColumnInteger:
  case kColumnLongText:
  case kColumnLongBinary:
    std::memcpy(out, field.value, 4);
    out[0] ^= 0x80;
    key.length += 4;
    return true;
  case kColumnFloat:
  case kColumnDouble: {
    int n = field.type == kColumnFloat ? 4 : 8;
    std::memcpy(out, field.value, size_t(n));
    if (out[0] & 0x80) {
      for (int i = 0; i < n; i++) out[i] = uint8_t(~out[i]);
    } else {
      out[0] ^= 0x80;
    }
    key.length += n;
    return true;
  }
  case kColumnText:
  case kColumnBinary: {
    int n = int(Load32(field.value));
    const uint8_t *text = field.value + 4;
    for (int i = 0; i < n; i++) out[i] = macLexoMap[text[i]];
    out[n] = 0;
    key.length += n + 1;
    return true;
  }
  case kColumnDate:
  case kColumnTime:
    std::memcpy(out, field.value, 6);
    key.length += 6;
    return true;
  case kColumnBoolean:
    out[0] = field.value[0];
    key.length += 1;
    return true;
  default: return false;
  }
}

bool RecordKey(uint32_t blockType, const uint8_t *record, int length, const uint8_t *keyColumns,
               int keyCount, KeyBuffer &key) {
  key.length = 0;
  switch (blockType) {
  case kIndexBlock:
    if (length < kIndexRecordFixed) return false;
    key.length = length - kIndexRecordFixed;
    std::memcpy(key.bytes, record + kIndexRecordFixed, size_t(key.length));
    return true;
  case kContentsBlock: {
    if (length < kContentsRecordFixed) return false;
    uint32_t n = Load32(record + 14);
    if (n != uint32_t(length - kContentsRecordFixed)) return false;
    key.bytes[0] = 1;
    key.bytes[1] = 1;
    for (uint32_t i = 0; i < n; i++) key.bytes[2 + i] = macLexoMap[record[kContentsRecordFixed + i]];
    key.bytes[2 + n] = 0;
    key.length = int(n) + 3;
    return true;
  }
  case kTableBlock:
    if (length < kRowFixed) return false;
    if (keyCount == 0) {
      for (int i = 0; i < 4; i++) key.bytes[i] = record[9 - i];
      key.length = 4;
      return true;
    }
    for (int i = 0; i < keyCount; i++) {
      FieldRef field;
      if (key.length + 1 > kMaximumKeyLength) return false;
      if (!FindField(record, length, keyColumns[i], field)) return false;
      if (field.type == 0) {
        key.bytes[key.length++] = 0;
        continue;
      }
      key.bytes[key.length++] = 1;
      if (!AppendKeyForm(key, field)) return false;
    }
    return true;
  default: return false;
  }
}

namespace {
// Splits text[0, length) at sep into integers: an optional sign and one or
// more digits each, and nothing else. Answers the count, or -1.
int SplitIntegers(const char *text, int length, char sep, int16_t *out, int most) {
  int count = 0, at = 0;
  while (true) {
    if (count == most) return -1;
    int sign = 1, digits = 0;
    long value = 0;
    if (at < length && (text[at] == '-' || text[at] == '+')) sign = text[at++] == '-' ? -1 : 1;
    while (at < length && text[at] >= '0' && text[at] <= '9') {
      if (value < 100000) value = value * 10 + (text[at] - '0');
      at++;
      digits++;
    }
    if (!digits) return -1;
    out[count++] = int16_t(sign * value);
    if (at == length) return count;
    if (text[at] != sep) return -1;
    at++;
  }
}

void Trim(const char *&text, int &length) {
  while (length && (*text == ' ' || *text == '\t')) text++, length--;
  while (length && (text[length - 1] == ' ' || text[length - 1] == '\t')) length--;
}
} // namespace

bool ParseDateText(const char *text, int length, int16_t out[3]) {
  Trim(text, length);
  int end = 0;
  while (end < length && text[end] != ' ') end++;
  return SplitIntegers(text, end, '-', out, 3) == 3;
}

bool ParseTimeText(const char *text, int length, int16_t out[3]) {
  Trim(text, length);
  int space = 0;
  while (space < length && text[space] != ' ') space++;
  if (space < length) {
    text += space + 1;
    length -= space + 1;
    Trim(text, length);
  }
  out[2] = 0;
  int n = SplitIntegers(text, length, ':', out, 3);
  return n == 2 || n == 3;
}

} // namespace dbformat
