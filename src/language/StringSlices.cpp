#include "language/StringSlices.h"

#include <cstring>
#include <string_view>

#include "foundation/TextEncodings.h"

namespace {

int32_t Clamp(int64_t value) {
  return value > INT32_MAX   ? INT32_MAX
         : value < INT32_MIN ? INT32_MIN
                             : static_cast<int32_t>(value);
}

const unsigned char *Bytes(const string &s) {
  return reinterpret_cast<const unsigned char *>(s.CString());
}

bool IsUTF8(const string &s) { return s.Encoding() == kEncodingUTF8; }
bool IsUTF16(const string &s) { return !s.IsEmpty() && IsUTF16Family(s.Encoding()); }

// The byte offset reached by walking count code points from offset.
int32_t WalkUTF8(const string &text, int32_t offset, int64_t count) {
  const unsigned char *begin = Bytes(text), *end = begin + text.Length();
  const unsigned char *p = begin + offset;
  while (count-- > 0 && p < end)
    AdvanceUTF8(&p, end, 1);
  return static_cast<int32_t>(p - begin);
}

string Text(stringStorage *s) { return string::Borrow(s); }
stringStorage *Give(const string &s) { return s.ExtractStringStorage(); }

// The low byte of n, or the two low bytes most significant first; only a
// single byte for an n of 0 to 127 is ASCII.
string OneOrTwoBytes(int32_t n, bool twoBytes) {
  char bytes[2] = {static_cast<char>((n >> 8) & 0xFF), static_cast<char>(n & 0xFF)};
  string s;
  s.ConstructFromBuffer(twoBytes ? bytes : bytes + 1, twoBytes ? 2 : 1);
  s.SetEncoding(!twoBytes && n >= 0 && n <= 127 ? kEncodingASCII : kEncodingUnknown);
  return s;
}

} // namespace

string LeftBytes(const string &text, int64_t n) { return left(text, Clamp(n)); }

string RightBytes(const string &text, int64_t n) { return right(text, Clamp(n)); }

string MidBytes(const string &text, int64_t start) { return mid(text, Clamp(start - 1)); }

string MidBytes(const string &text, int64_t start, int64_t length) {
  if (start < 1) {
    length += start - 1;
    start = 1;
  }
  return mid(text, Clamp(start - 1), Clamp(length));
}

extern "C" int32_t StringLen(stringStorage *text) { return stringStorage::Length(text); }

extern "C" stringStorage *StringLeft(stringStorage *text, int32_t n) {
  return Give(LeftBytes(Text(text), n));
}

extern "C" stringStorage *StringRight(stringStorage *text, int32_t n) {
  return Give(RightBytes(Text(text), n));
}

extern "C" stringStorage *StringMid2(stringStorage *text, int32_t start) {
  return Give(MidBytes(Text(text), start));
}

extern "C" stringStorage *StringMid3(stringStorage *text, int32_t start, int32_t length) {
  return Give(MidBytes(Text(text), start, length));
}

extern "C" int32_t StringAsc(stringStorage *text) {
  return text ? static_cast<unsigned char>(text->mBuffer[1]) : 0;
}

extern "C" stringStorage *StringChr(int32_t n) { return Give(OneOrTwoBytes(n, false)); }

extern "C" int32_t StringDBCSLen(stringStorage *storage) {
  string text = Text(storage);
  if (IsUTF16(text))
    return text.Length() / 2;
  if (!IsUTF8(text))
    return text.Length();
  int32_t count = 0;
  for (unsigned char byte : std::string_view(text.CString(), text.Length()))
    count += (byte & 0xC0) != 0x80;
  return count;
}

extern "C" stringStorage *StringDBCSLeft(stringStorage *storage, int32_t n) {
  string text = Text(storage);
  if (text.IsEmpty() || n <= 0)
    return nullptr;
  if (IsUTF16(text))
    return Give(LeftBytes(text, 2 * int64_t{n}));
  if (IsUTF8(text))
    return Give(LeftBytes(text, WalkUTF8(text, 0, n)));
  return Give(LeftBytes(text, n));
}

extern "C" stringStorage *StringDBCSRight(stringStorage *storage, int32_t n) {
  string text = Text(storage);
  if (text.IsEmpty() || n <= 0)
    return nullptr;
  if (IsUTF16(text))
    return Give(RightBytes(text, 2 * int64_t{n}));
  if (IsUTF8(text)) {
    const unsigned char *begin = Bytes(text), *p = begin + text.Length();
    BackupUTF8(&p, begin, n);
    return Give(RightBytes(text, Bytes(text) + text.Length() - p));
  }
  return Give(RightBytes(text, n));
}

extern "C" stringStorage *StringDBCSMid2(stringStorage *storage, int32_t start) {
  string text = Text(storage);
  if (IsUTF16(text))
    return Give(MidBytes(text, 2 * int64_t{start} - 1));
  if (IsUTF8(text))
    return Give(MidBytes(text, int64_t{WalkUTF8(text, 0, int64_t{start} - 1)} + 1));
  return Give(MidBytes(text, start));
}

extern "C" stringStorage *StringDBCSMid3(stringStorage *storage, int32_t start32,
                                         int32_t length32) {
  string text = Text(storage);
  if (text.IsEmpty() || length32 <= 0)
    return nullptr;
  int64_t start = start32, length = length32;
  if (start < 1) {
    length += start - 1;
    start = 1;
  }
  if (length <= 0)
    return nullptr;
  if (IsUTF16(text))
    return Give(MidBytes(text, 2 * start - 1, 2 * length));
  if (IsUTF8(text)) {
    int32_t first = WalkUTF8(text, 0, start - 1);
    int32_t last = WalkUTF8(text, first, length);
    return Give(MidBytes(text, int64_t{first} + 1, last - first));
  }
  return Give(MidBytes(text, start, length));
}

extern "C" int32_t StringDBCSAsc(stringStorage *storage) {
  string text = Text(storage);
  if (text.IsEmpty())
    return 0;
  if (IsUTF8(text)) {
    // A byte that starts no well-formed character is its own code.
    const unsigned char *p = Bytes(text);
    unsigned long c;
    if (!UTF8DecodeCharacter(&p, p + text.Length(), &c))
      return Bytes(text)[0];
    return static_cast<int32_t>(c);
  }
  if (IsUTF16(text) && text.Length() >= 2) {
    uint16_t unit;
    std::memcpy(&unit, text.CString(), sizeof unit);
    return unit;
  }
  return Bytes(text)[0];
}

extern "C" stringStorage *StringDBCSChr(int32_t n) { return Give(OneOrTwoBytes(n, n >= 256)); }
