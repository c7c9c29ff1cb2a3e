#include "language/StringCompare.h"

#include "foundation/ByteStrings.h"
#include "foundation/TextEncodings.h"

namespace {

const unsigned char *Bytes(const string &s) {
  return reinterpret_cast<const unsigned char *>(s.CString());
}

const unsigned short *Units(const string &s) {
  return reinterpret_cast<const unsigned short *>(s.CString());
}

// Nil sorts first; the same storage is equal. Answers false when that
// settles it.
bool NeedsComparing(stringStorage *a, stringStorage *b, int32_t &result) {
  if (a == b)
    result = 0;
  else if (!a)
    result = -1;
  else if (!b)
    result = 1;
  else
    return true;
  return false;
}

// Text in one known byte encoding other than UTF-8, either side holding a
// byte beyond ASCII.
bool IsByteEncodingBeyondASCII(uint32_t common, const string &a, const string &b) {
  if (common == kEncodingUTF8 || common == kEncodingUnknown || IsUTF16Family(common))
    return false;
  return !a.ContainsOnlyASCII() || !b.ContainsOnlyASCII();
}

} // namespace

extern "C" int32_t StringStrCompare(stringStorage *aStorage, stringStorage *bStorage,
                                    int32_t mode) {
  int32_t result;
  if (!NeedsComparing(aStorage, bStorage, result))
    return result;
  string a = string::Borrow(aStorage), b = string::Borrow(bStorage);
  if (mode != 0) {
    uint32_t common = ConvertToSameEncoding(&a, &b);
    if (common == kEncodingUTF8)
      return UTF8StringCompare(Bytes(a), a.Length(), Bytes(b), b.Length(), false);
    if (IsUTF16Family(common))
      return UCS2StringCompare(Units(a), a.Length(), Units(b), b.Length(), false);
  }
  // Every other mode reads as 1: for text that is not Unicode both compare
  // the counted bytes.
  return ustrcmp(a.CString(), a.Length(), b.CString(), b.Length());
}

extern "C" int32_t RuntimeStringCompare(stringStorage *aStorage, stringStorage *bStorage) {
  int32_t result;
  if (!NeedsComparing(aStorage, bStorage, result))
    return result;
  string a = string::Borrow(aStorage), b = string::Borrow(bStorage);
  uint32_t common = ConvertToSameEncoding(&a, &b);
  // Letters beyond ASCII fold by their characters in every encoding, as
  // they do in Unicode text.
  if (IsByteEncodingBeyondASCII(common, a, b)) {
    string ua = ConvertEncoding(a, kEncodingUTF8), ub = ConvertEncoding(b, kEncodingUTF8);
    if (!ua.IsEmpty() && !ub.IsEmpty()) {
      a = ua;
      b = ub;
      common = kEncodingUTF8;
    }
  }
  if (common == kEncodingUTF8)
    return UTF8StringCompare(Bytes(a), a.Length(), Bytes(b), b.Length(), true);
  if (IsUTF16Family(common))
    return UCS2StringCompare(Units(a), a.Length(), Units(b), b.Length(), true);
  // The Mac Roman table folds letters only in Mac Roman text; in any other
  // encoding its upper bytes are other letters or parts of characters.
  if (common == kEncodingMacRoman)
    return ustrcmpi(a.CString(), a.Length(), b.CString(), b.Length());
  return ustrcmpiASCII(a.CString(), a.Length(), b.CString(), b.Length());
}
