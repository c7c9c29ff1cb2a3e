// Encoding tags of joined and compared text, and conversion between them:
// relabelling where the bytes stay the same, transcoding everywhere else.
#include "foundation/TextEncodings.h"

#include <initializer_list>

#include "foundation/String.h"
#include "foundation/TextConversion.h"

namespace {

bool IsASCIIOrUTF8(uint32_t encoding) {
  return encoding == kEncodingASCII || encoding == kEncodingUTF8;
}

// Pure-ASCII text means the same in both encodings, so a new tag is all it
// needs. Text tagged ASCII is taken at its tag, whatever its bytes.
bool IsRelabelling(const string &s, uint32_t target) {
  return EncodingKeepsASCII(s.Encoding()) && EncodingKeepsASCII(target) &&
         (s.Encoding() == kEncodingASCII || s.ContainsOnlyASCII());
}

// The last conversion. Holding the source keeps its storage alive, so the
// storage's identity cannot be taken over by another text while it is cached.
struct ConversionCache {
  string source;
  string result;
};

ConversionCache &LastConversion() {
  static ConversionCache cache;
  return cache;
}

} // namespace

bool EncodingHasMultiByteCharacters(uint32_t encoding) {
  switch (encoding) {
  case 1:     // Mac Japanese
  case 2:     // Mac Chinese Traditional
  case 3:     // Mac Korean
  case 25:    // Mac Chinese Simplified
  case 0x420: // DOS Japanese
  case 0x421: // DOS Chinese Simplified
  case 0x422: // DOS Korean
  case 0x423: // DOS Chinese Traditional
  case 0x510: // Windows Korean Johab
  case 0x820: // ISO-2022-JP
  case 0x920: // EUC-JP
  case 0xA01: // Shift-JIS
    return true;
  default:
    return false;
  }
}

uint32_t GetEncodingAttributes(uint32_t encoding, uint32_t &base, uint32_t &variant,
                               uint32_t &format) {
  variant = 0;
  if (encoding == kEncodingUTF8) {
    base = 0x100;
    format = 2;
  } else {
    base = encoding;
    format = 0;
  }
  return encoding;
}

uint32_t CommonEncoding(uint32_t a, uint32_t b, bool allowUnicode) {
  if (a == b)
    return a;
  if (IsASCIIOrUTF8(a) && IsASCIIOrUTF8(b))
    return kEncodingUTF8;
  // ASCII text is valid in every byte encoding.
  if (a == kEncodingASCII && !IsUTF16Family(b))
    return b;
  if (b == kEncodingASCII && !IsUTF16Family(a))
    return a;
  if (!allowUnicode)
    return kEncodingUnknown;
  if (a == kEncodingUTF16 || b == kEncodingUTF16)
    return (a == kEncodingUTF8 || b == kEncodingUTF8) ? kEncodingUTF8 : kEncodingUTF16;
  return kEncodingUTF8;
}

string ConvertEncoding(const string &s, uint32_t target) {
  if (target == kEncodingUnknown || s.IsEmpty() || s.Encoding() == target)
    return s;

  ConversionCache &cache = LastConversion();
  if (cache.source.Storage() == s.Storage() && !cache.result.IsEmpty() &&
      cache.result.Encoding() == target)
    return cache.result;
  cache.source = s;

  string result;
  if (IsRelabelling(s, target)) {
    result.ConstructFromBuffer(s.Storage());
    result.SetEncoding(target);
  } else if (s.Encoding() != kEncodingUnknown) {
    result = TranscodeText(s, target);
  }
  cache.result = result;
  return result;
}

uint32_t ConvertToSameEncoding(string *s1, string *s2) {
  if (!s1 || !s2) {
    ShowAlert(kSameEncodingNullAlert);
    // Nothing can be converted through a missing string.
    return kEncodingUnknown;
  }
  if (s1->IsEmpty())
    return s2->Encoding();
  if (s2->IsEmpty())
    return s1->Encoding();

  uint32_t e1 = s1->Encoding(), e2 = s2->Encoding();
  if (e1 == e2)
    return e1;
  if (e1 == kEncodingUnknown || e2 == kEncodingUnknown)
    return kEncodingUnknown;
  // ASCII text is already valid in the wider encoding: nothing to convert.
  uint32_t common = CommonEncoding(e1, e2, false);
  if (common != kEncodingUnknown)
    return common;

  bool eitherUTF8 = e1 == kEncodingUTF8 || e2 == kEncodingUTF8;
  bool eitherUTF16 = IsUTF16Family(e1) || IsUTF16Family(e2);
  uint32_t target = (eitherUTF16 && !eitherUTF8) ? kEncodingUTF16 : kEncodingUTF8;

  for (string *s : {s1, s2}) {
    if (s->Encoding() == target)
      continue;
    string converted = ConvertEncoding(*s, target);
    if (converted.IsEmpty())
      return kEncodingUnknown;
    *s = converted;
  }
  return target;
}

uint32_t GetEncodingFromFont(const string &fontName) {
  // No font's encoding is known here. The empty name answers what was last
  // answered, which starts as ASCII.
  static uint32_t sLastFontEncoding = kEncodingASCII;
  if (fontName.IsEmpty())
    return sLastFontEncoding;
  sLastFontEncoding = kEncodingUnknown;
  return sLastFontEncoding;
}

uint32_t GetSystemEncoding() {
  static uint32_t sSystemEncoding = kEncodingUnknown;
  if (sSystemEncoding == kEncodingUnknown)
    sSystemEncoding = GetEncodingFromFont(string("System"));
  return sSystemEncoding;
}

string ConvertToSystemEncoding(const string &s) { return s; }
