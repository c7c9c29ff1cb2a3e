// Text conversion through iconv. Each tag of the Encodings table that the C
// library has a converter for is named here; converters are opened once per
// pair of tags and kept.
#include "foundation/TextConversion.h"

#include <cerrno>
#include <climits>
#include <iconv.h>

#include "foundation/Memory.h"
#include "foundation/String.h"
#include "foundation/TextEncodings.h"

namespace {

struct Charset {
  uint32_t encoding;
  const char *name;
};

// UTF-16 text is kept in host order, which on i386 is little-endian, and
// without a byte-order mark. Shift-JIS is read as Windows reads it (0x5C a
// backslash, 0x7E a tilde), as is DOS Japanese.
constexpr Charset kCharsets[] = {
    {kEncodingUTF8, "UTF-8"},
    {kEncodingUTF16, "UTF-16LE"},
    {kEncodingASCII, "ASCII"},
    {0, "MACINTOSH"},
    {2, "BIG5"},
    {3, "EUC-KR"},
    {7, "MAC-CYRILLIC"},
    {25, "EUC-CN"},
    {29, "MAC-CENTRALEUROPE"},
    {37, "MAC-IS"},
    {0x201, "ISO-8859-1"},
    {0x202, "ISO-8859-2"},
    {0x203, "ISO-8859-3"},
    {0x204, "ISO-8859-4"},
    {0x205, "ISO-8859-5"},
    {0x206, "ISO-8859-6"},
    {0x207, "ISO-8859-7"},
    {0x208, "ISO-8859-8"},
    {0x209, "ISO-8859-9"},
    {0x20A, "ISO-8859-10"},
    {0x20D, "ISO-8859-13"},
    {0x20E, "ISO-8859-14"},
    {0x20F, "ISO-8859-15"},
    {0x400, "IBM437"},
    {0x405, "CP737"},
    {0x406, "CP775"},
    {0x410, "IBM850"},
    {0x411, "IBM851"},
    {0x412, "IBM852"},
    {0x413, "IBM855"},
    {0x414, "IBM857"},
    {0x415, "IBM860"},
    {0x416, "IBM861"},
    {0x417, "IBM862"},
    {0x418, "IBM863"},
    {0x419, "IBM864"},
    {0x41A, "IBM865"},
    {0x41B, "IBM866"},
    {0x41C, "IBM869"},
    {0x41D, "CP874"},
    {0x420, "CP932"},
    {0x421, "CP936"},
    {0x422, "CP949"},
    {0x423, "CP950"},
    {0x500, "CP1252"},
    {0x501, "CP1250"},
    {0x502, "CP1251"},
    {0x503, "CP1253"},
    {0x504, "CP1254"},
    {0x505, "CP1255"},
    {0x506, "CP1256"},
    {0x507, "CP1257"},
    {0x508, "CP1258"},
    {0x510, "JOHAB"},
    {0x820, "ISO-2022-JP"},
    {0x920, "EUC-JP"},
    {0xA01, "CP932"},
    {0xA02, "KOI8-R"},
};

const char *CharsetName(uint32_t encoding) {
  for (const Charset &c : kCharsets)
    if (c.encoding == encoding)
      return c.name;
  return nullptr;
}

// Open converters, most recently used first; the oldest is closed when a new
// pair needs its place.
struct OpenConverter {
  uint32_t from = 0, to = 0;
  iconv_t cd = reinterpret_cast<iconv_t>(-1);
};

class ConverterCache {
public:
  ~ConverterCache() {
    for (OpenConverter &c : mOpen)
      if (c.cd != kNone)
        iconv_close(c.cd);
  }
  // The converter for the pair, reset to its initial state, or kNone.
  iconv_t Get(uint32_t from, uint32_t to) {
    for (int i = 0; i < kSlots; ++i) {
      if (mOpen[i].cd == kNone || mOpen[i].from != from || mOpen[i].to != to)
        continue;
      MoveToFront(i);
      iconv(mOpen[0].cd, nullptr, nullptr, nullptr, nullptr);
      return mOpen[0].cd;
    }
    const char *fromName = CharsetName(from), *toName = CharsetName(to);
    if (!fromName || !toName)
      return kNone;
    iconv_t cd = iconv_open(toName, fromName);
    if (cd == kNone)
      return kNone;
    if (mOpen[kSlots - 1].cd != kNone)
      iconv_close(mOpen[kSlots - 1].cd);
    mOpen[kSlots - 1] = {from, to, cd};
    MoveToFront(kSlots - 1);
    return cd;
  }

  static inline const iconv_t kNone = reinterpret_cast<iconv_t>(-1);

private:
  static constexpr int kSlots = 64;
  void MoveToFront(int i) {
    OpenConverter c = mOpen[i];
    for (; i > 0; --i)
      mOpen[i] = mOpen[i - 1];
    mOpen[0] = c;
  }
  OpenConverter mOpen[kSlots];
};

ConverterCache &Converters() {
  static ConverterCache cache;
  return cache;
}

// Runs the converter over the whole input into out (capacity bytes); answers
// the bytes written, -1 when the input is invalid, incomplete or holds a
// character the target lacks, -2 when out is too small.
long Run(iconv_t cd, const char *in, size_t inLength, char *out, size_t capacity) {
  char *inPtr = const_cast<char *>(in);
  char *outPtr = out;
  size_t inLeft = inLength, outLeft = capacity;
  size_t status = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  if (status == static_cast<size_t>(-1))
    return errno == E2BIG ? -2 : -1;
  // A converter that counts irreversible conversions has substituted
  // something: that is a character the target cannot hold.
  if (status != 0)
    return -1;
  // Stateful targets end in their initial shift state.
  if (iconv(cd, nullptr, nullptr, &outPtr, &outLeft) == static_cast<size_t>(-1))
    return errno == E2BIG ? -2 : -1;
  return outPtr - out;
}

} // namespace

bool EncodingKeepsASCII(uint32_t encoding) {
  // DOS Arabic puts the Arabic percent sign at 0x25, Johab the won sign at
  // 0x5C.
  return !IsUTF16Family(encoding) && encoding != 0x419 && encoding != 0x510;
}

string TranscodeText(const string &s, uint32_t target) {
  if (s.IsEmpty())
    return string();
  iconv_t cd = Converters().Get(s.Encoding(), target);
  if (cd == ConverterCache::kNone)
    return string();
  const size_t inLength = static_cast<size_t>(s.Length());
  // Four output bytes per input byte hold every pair of the table; a stateful
  // target that needs more gets more room on the next try. A buffer that
  // cannot be had fails the conversion rather than the process.
  for (uint64_t capacity = uint64_t{inLength} * 4 + 16; capacity <= INT32_MAX; capacity *= 4) {
    char *out = OSalloc(static_cast<long>(capacity), kMemFullReturnNull);
    if (!out)
      return string();
    long written = Run(cd, s.CString(), inLength, out, static_cast<size_t>(capacity));
    if (written == -2) {
      OSfree(out);
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
      continue;
    }
    string result;
    if (written > 0)
      result.ConstructFromBuffer(out, static_cast<int>(written), target);
    OSfree(out);
    return result;
  }
  return string();
}
