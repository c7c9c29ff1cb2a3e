#include "foundation/String.h"

#include <climits>
#include <cstring>

#include "foundation/ByteStrings.h"
#include "foundation/Memory.h"
#include "foundation/TextEncodings.h"

const unsigned char kNullPString[256] = {};
const wchar_t kNullWString[1] = {0};

namespace {
char sEmptyText[1] = {0};
unsigned char sEmptyPString[1] = {0};
// Target of MutableChar where no string byte can be handed out.
char sScratchByte;

// Leaves room for the length byte and two zeros within the int fields.
constexpr int64_t kLongestText = INT32_MAX - 3;

// Fills in a fresh block as storage of length bytes (left unset) in a buffer
// of bufferSize bytes, count 1, tagged unknown. Everything after the text is
// zero.
inline stringStorage *InitializeStorage(char *block, int32_t length, int32_t bufferSize,
                                        uint32_t encoding) {
  auto *s = reinterpret_cast<stringStorage *>(block);
  char *buffer = reinterpret_cast<char *>(s + 1);
  s->mRefCount = 1;
  s->mBuffer = buffer;
  s->mBufferSize = bufferSize;
  s->mLength = length;
  s->mEncoding = encoding;
  buffer[0] = static_cast<char>(length > 255 ? 255 : length);
  char *tail = buffer + 1 + length;
  int32_t tailSize = bufferSize - 1 - length;
  if (tailSize <= 2) { // the usual one zero, or two after wide text
    tail[0] = 0;
    tail[tailSize - 1] = 0;
  } else {
    std::memset(tail, 0, static_cast<size_t>(tailSize));
  }
  return s;
}

// New storage of length bytes (left unset) in a buffer of bufferSize bytes
// (at least length + 2), count 1, tagged unknown, record and buffer in one
// block. Null when the length is not positive or too long, or the block
// cannot be had.
stringStorage *NewStorage(int64_t length, int64_t bufferSize) {
  if (length <= 0 || bufferSize > kLongestText + 3)
    return nullptr;
  int64_t blockSize = int64_t{sizeof(stringStorage)} + bufferSize;
  if (blockSize > LONG_MAX)
    return nullptr;
  char *block = OSalloclenQuick(static_cast<long>(blockSize), kMemFullReturnNull);
  if (!block)
    return nullptr;
  return InitializeStorage(block, static_cast<int32_t>(length), static_cast<int32_t>(bufferSize),
                           kEncodingUnknown);
}

// The same with a buffer of exactly length + 2 bytes and the given tag; a
// small block, the usual case, is taken straight from its free list.
inline stringStorage *NewTextStorage(int64_t length, uint32_t encoding = kEncodingUnknown) {
  constexpr int64_t kLongestSmallText = kLargestSmallBlock - int64_t{sizeof(stringStorage)} - 2;
  if (length > 0 && length <= kLongestSmallText) {
    auto small = static_cast<int32_t>(length);
    if (char *block = OSalloclenQuick(long{sizeof(stringStorage)} + small + 2, kMemFullReturnNull))
      return InitializeStorage(block, small, small + 2, encoding);
    return nullptr;
  }
  stringStorage *s = NewStorage(length, length + 2);
  if (s)
    s->mEncoding = encoding;
  return s;
}

stringStorage *CopyOfBytes(const char *bytes, int length, uint32_t encoding) {
  stringStorage *s = NewTextStorage(length, encoding);
  if (s)
    std::memcpy(s->mBuffer + 1, bytes, static_cast<size_t>(length));
  return s;
}

stringStorage *Joined(const string &a, const char *b, int bLength, uint32_t encoding) {
  stringStorage *s = NewTextStorage(int64_t{a.Length()} + bLength, encoding);
  if (s) {
    std::memcpy(s->mBuffer + 1, a.CString(), static_cast<size_t>(a.Length()));
    std::memcpy(s->mBuffer + 1 + a.Length(), b, static_cast<size_t>(bLength));
  }
  return s;
}

// A private copy of the whole buffer (the wide form's second zero included),
// tagged unknown: its bytes are about to change.
stringStorage *PrivateCopy(const stringStorage *source) {
  stringStorage *s = NewStorage(source->mLength, source->mBufferSize);
  if (s)
    std::memcpy(s->mBuffer, source->mBuffer, static_cast<size_t>(source->mBufferSize));
  return s;
}

string Slice(const string &s, int start, int length) {
  return string::Adopt(CopyOfBytes(s.CString() + start, length, s.Encoding()));
}

// The encoding two strings are compared in: the strings are replaced by
// converted copies when their tags differ.
uint32_t BringToComparableEncoding(string &a, string &b) {
  uint32_t aTag = a.Encoding(), bTag = b.Encoding();
  if (aTag == bTag)
    return aTag;
  if (aTag == kEncodingUnknown || bTag == kEncodingUnknown)
    return kEncodingUnknown;
  return ConvertToSameEncoding(&a, &b);
}
} // namespace

// ---- storage ----

void stringStorage::Free(stringStorage *s) {
  if (s->mBuffer == reinterpret_cast<char *>(s + 1)) {
    OSfreelenQuick(reinterpret_cast<char *>(s), long{sizeof(stringStorage)} + s->mBufferSize);
    return;
  }
  // A record whose buffer lies elsewhere was not made by NewStorage.
  OSfreelen(s->mBuffer, s->mBufferSize);
  OSfreelen(reinterpret_cast<char *>(s), sizeof(stringStorage));
}

int32_t stringStorage::Length(const stringStorage *s) { return s ? s->mLength : 0; }

const char *stringStorage::CString(const stringStorage *s) {
  return s ? s->mBuffer + 1 : sEmptyText;
}

const unsigned char *stringStorage::PString(const stringStorage *s) {
  return s ? reinterpret_cast<const unsigned char *>(s->mBuffer) : sEmptyPString;
}

// ---- lifetime ----

string::string(const char *text) : mStorage(nullptr) {
  if (text)
    mStorage = CopyOfBytes(text, static_cast<int>(std::strlen(text)), kEncodingASCII);
}

string &string::operator=(const string &other) {
  stringStorage::AddReference(other.mStorage);
  Replace(other.mStorage);
  return *this;
}

string &string::operator=(string &&other) noexcept {
  if (this != &other) {
    Replace(other.mStorage);
    other.mStorage = nullptr;
  }
  return *this;
}

void string::Replace(stringStorage *s) {
  stringStorage *old = mStorage;
  mStorage = s;
  stringStorage::RemoveReference(old);
}

string string::Borrow(stringStorage *s) {
  stringStorage::AddReference(s);
  return string(s);
}

string string::Adopt(stringStorage *s) { return string(s); }

stringStorage *string::ExtractStringStorage() const {
  stringStorage::AddReference(mStorage);
  return mStorage;
}

uint32_t string::Encoding() const { return mStorage ? mStorage->mEncoding : kEncodingASCII; }

void string::SetEncoding(uint32_t encoding) {
  if (!mStorage || mStorage->mEncoding == encoding)
    return;
  if (mStorage->mRefCount > 1) {
    stringStorage *copy = PrivateCopy(mStorage);
    if (!copy)
      return;
    Replace(copy);
  }
  mStorage->mEncoding = encoding;
}

// ---- construction ----

void string::AllocateBuffer(int len) { Replace(NewTextStorage(len)); }

void string::ConstructFromBuffer(const char *src, int len) {
  ConstructFromBuffer(src, len, kEncodingUnknown);
}

void string::ConstructFromBuffer(const char *src, int len, uint32_t encoding) {
  // The new storage is filled before the old one goes, so src may point into
  // this string's own bytes.
  stringStorage *s = NewTextStorage(len, encoding);
  if (s && src)
    std::memcpy(s->mBuffer + 1, src, static_cast<size_t>(len));
  Replace(s);
}

void string::ConstructFromBuffer(stringStorage *src) {
  ConstructFromBuffer(stringStorage::CString(src), stringStorage::Length(src));
}

void string::ConstructFromWString(const wchar_t *src, int n) {
  // Two zero bytes end wide text, hence one more byte of buffer.
  stringStorage *s = n > 0 ? NewStorage(2 * int64_t{n}, 2 * int64_t{n} + 3) : nullptr;
  if (s) {
    if (src)
      for (int i = 0; i < n; ++i) {
        uint16_t unit = static_cast<uint16_t>(src[i]);
        std::memcpy(s->mBuffer + 1 + 2 * i, &unit, 2);
      }
    s->mEncoding = kEncodingUTF16;
  }
  Replace(s);
}

// ---- views ----

const char *string::CString() const { return stringStorage::CString(mStorage); }

const unsigned char *string::PString() const {
  return mStorage ? reinterpret_cast<const unsigned char *>(mStorage->mBuffer) : kNullPString;
}

const wchar_t *string::WString() const {
  if (!mStorage)
    return kNullWString;
  if (mStorage->mEncoding != kEncodingUTF16) {
    ShowAlert(kStringWStringAlert);
    return kNullWString;
  }
  return reinterpret_cast<const wchar_t *>(mStorage->mBuffer + 1);
}

string::operator char *() const { return const_cast<char *>(CString()); }

string::operator unsigned char *() const { return const_cast<unsigned char *>(PString()); }

string::operator wchar_t *() const {
  return mStorage ? reinterpret_cast<wchar_t *>(mStorage->mBuffer + 1)
                  : const_cast<wchar_t *>(kNullWString);
}

string string::GetUTF8String() const { return *this; }

string string::GetUTF16String() const { return *this; }

bool string::ContainsOnlyASCII() const {
  if (!mStorage)
    return true;
  if (IsUTF16Family(mStorage->mEncoding))
    return false;
  return VectorStuff()->ContainsOnlyLowBytes(
      reinterpret_cast<const unsigned char *>(mStorage->mBuffer + 1), mStorage->mLength);
}

// ---- editing ----

char *string::MutableChar(int pos) {
  if (!mStorage) {
    if (pos)
      ShowAlert(kStringMutableCharOfEmptyAlert);
    return &sScratchByte;
  }
  if (pos < 0 || pos >= Length()) {
    ShowAlert(kStringMutableCharAlert);
    return &sScratchByte;
  }
  if (mStorage->mRefCount > 1) {
    stringStorage *copy = PrivateCopy(mStorage);
    if (!copy)
      return &sScratchByte;
    Replace(copy);
  }
  return mStorage->mBuffer + 1 + pos;
}

void string::AppendBytes(const char *bytes, int length) {
  if (length <= 0)
    return;
  if (!mStorage) {
    Replace(CopyOfBytes(bytes, length, kEncodingUnknown));
    return;
  }
  int64_t newLength = int64_t{mStorage->mLength} + length;
  // Room for the text and two zeros, so that wide text stays ended too.
  if (mStorage->mRefCount == 1 && mStorage->mBuffer == reinterpret_cast<char *>(mStorage + 1) &&
      newLength + 3 <= mStorage->mBufferSize) {
    char *buffer = mStorage->mBuffer;
    std::memcpy(buffer + 1 + mStorage->mLength, bytes, static_cast<size_t>(length));
    mStorage->mLength = static_cast<int32_t>(newLength);
    buffer[0] = static_cast<char>(newLength > 255 ? 255 : newLength);
    return;
  }
  int64_t room = newLength < kLongestText / 2 ? 2 * newLength + 3 : kLongestText + 3;
  stringStorage *s = NewStorage(newLength, room);
  if (!s)
    s = NewTextStorage(newLength, mStorage->mEncoding);
  if (!s) {
    Replace(nullptr);
    return;
  }
  std::memcpy(s->mBuffer + 1, mStorage->mBuffer + 1, static_cast<size_t>(mStorage->mLength));
  std::memcpy(s->mBuffer + 1 + mStorage->mLength, bytes, static_cast<size_t>(length));
  s->mEncoding = mStorage->mEncoding;
  Replace(s);
}

string &string::operator+=(const char *s) {
  if (s)
    AppendBytes(s, static_cast<int>(std::strlen(s)));
  return *this;
}

string &string::operator+=(const string &s) {
  if (s.IsEmpty())
    return *this;
  if (IsEmpty())
    return *this = s;
  if (Encoding() != s.Encoding())
    return *this = *this + s;
  AppendBytes(s.CString(), s.Length());
  return *this;
}

string operator+(const string &a, const string &b) {
  if (b.IsEmpty())
    return a;
  if (a.IsEmpty())
    return b;
  if (a.Encoding() == b.Encoding())
    return string::Adopt(Joined(a, b.CString(), b.Length(), a.Encoding()));
  string x = a, y = b;
  uint32_t encoding = ConvertToSameEncoding(&x, &y);
  return string::Adopt(Joined(x, y.CString(), y.Length(), encoding));
}

string operator+(const string &a, char c) {
  uint32_t encoding = kEncodingUnknown;
  if (static_cast<unsigned char>(c) < 0x80)
    encoding = a.IsEmpty() ? kEncodingASCII : CommonEncoding(a.Encoding(), kEncodingASCII, false);
  return string::Adopt(Joined(a, &c, 1, encoding));
}

// ---- slices ----

string left(string s, int n) {
  if (n >= s.Length())
    return s;
  if (n <= 0)
    return string();
  return Slice(s, 0, n);
}

string right(const string &s, int n) {
  if (n >= s.Length())
    return s;
  if (n <= 0)
    return string();
  return Slice(s, s.Length() - n, n);
}

string mid(const string &s, int start) {
  if (start <= 0)
    return s;
  if (start >= s.Length())
    return string();
  return Slice(s, start, s.Length() - start);
}

string mid(const string &s, int start, int len) {
  if (start < 0) {
    len += start;
    start = 0;
  }
  if (start >= s.Length() || len <= 0)
    return string();
  if (start == 0 && len == s.Length())
    return s;
  int available = s.Length() - start;
  return Slice(s, start, len < available ? len : available);
}

namespace {
inline bool IsBlank(char c) { return c == ' ' || c == '\t'; }
} // namespace

string ltrim(string s) {
  int start = 0;
  while (start < s.Length() && IsBlank(s.CString()[start]))
    ++start;
  return mid(s, start);
}

string rtrim(string s) {
  int end = s.Length();
  while (end > 0 && IsBlank(s.CString()[end - 1]))
    --end;
  return left(s, end);
}

string trim(string s) { return ltrim(rtrim(s)); }

string UnicodeChar(unsigned long codePoint, uint32_t encoding) {
  if (encoding == kEncodingUTF16) {
    uint16_t unit = static_cast<uint16_t>(codePoint);
    return string::Adopt(CopyOfBytes(reinterpret_cast<const char *>(&unit), 2, kEncodingUTF16));
  }
  unsigned char bytes[5];
  int length = UTF8Encode(codePoint, bytes);
  string utf8 = string::Adopt(CopyOfBytes(reinterpret_cast<char *>(bytes), length, kEncodingUTF8));
  return encoding == kEncodingUTF8 ? utf8 : ConvertEncoding(utf8, encoding);
}

// ---- comparison ----

namespace {
// Case-insensitive order of two byte runs of one encoding. The Mac Roman case
// table folds letters only in Mac Roman text; in any other encoding its upper
// bytes are other letters or parts of characters, so only ASCII letters fold.
int CompareIgnoringCase(const string &a, const string &b, uint32_t encoding) {
  if (encoding == kEncodingMacRoman)
    return ustrcmpi(a.CString(), a.Length(), b.CString(), b.Length());
  return ustrcmpiASCII(a.CString(), a.Length(), b.CString(), b.Length());
}

// True, with the encoding to compare in, when both texts compare as the
// bytes they hold: tagged alike, either untagged, or both plain ASCII in
// byte encodings (which relabelling to a common encoding leaves as they are).
bool ComparableAsTheyStand(const string &a, const string &b, uint32_t *encoding) {
  uint32_t aTag = a.Encoding(), bTag = b.Encoding();
  if (aTag == bTag) {
    *encoding = aTag;
    return true;
  }
  if (aTag == kEncodingUnknown || bTag == kEncodingUnknown) {
    *encoding = kEncodingUnknown;
    return true;
  }
  if (IsUTF16Family(aTag) || IsUTF16Family(bTag) || !a.ContainsOnlyASCII() ||
      !b.ContainsOnlyASCII())
    return false;
  *encoding = kEncodingASCII;
  return true;
}
} // namespace

int string::Compare(const string &other) const {
  if (mStorage == other.mStorage)
    return 0;
  // The common case first: two texts tagged alike, compared where they lie.
  if (mStorage && other.mStorage && mStorage->mEncoding == other.mStorage->mEncoding &&
      mStorage->mEncoding != kEncodingMacRoman)
    return ustrcmpiASCII(mStorage->mBuffer + 1, mStorage->mLength, other.mStorage->mBuffer + 1,
                         other.mStorage->mLength);
  uint32_t encoding;
  if (ComparableAsTheyStand(*this, other, &encoding))
    return CompareIgnoringCase(*this, other, encoding);
  string a = *this, b = other;
  encoding = BringToComparableEncoding(a, b);
  return CompareIgnoringCase(a, b, encoding);
}

// Texts tagged alike match when their bytes are the same, the usual case of
// a lookup; outside Mac Roman they cannot match at different lengths, as
// only ASCII letters fold. Everything else takes the full compare.
bool string::EqualsIgnoringCase(const string &other) const {
  if (mStorage == other.mStorage)
    return true;
  if (mStorage && other.mStorage && mStorage->mEncoding == other.mStorage->mEncoding) {
    int length = mStorage->mLength;
    if (length == other.mStorage->mLength &&
        SameBytes(mStorage->mBuffer + 1, other.mStorage->mBuffer + 1, length))
      return true;
    if (length != other.mStorage->mLength && mStorage->mEncoding != kEncodingMacRoman)
      return false;
  }
  return Compare(other) == 0;
}

int string::CompareWithCase(const string &other) const {
  if (mStorage == other.mStorage)
    return 0;
  uint32_t encoding;
  if (ComparableAsTheyStand(*this, other, &encoding))
    return ustrcmp(CString(), Length(), other.CString(), other.Length());
  string a = *this, b = other;
  BringToComparableEncoding(a, b);
  return ustrcmp(a.CString(), a.Length(), b.CString(), b.Length());
}

int string::CompareWithCase(const char *other) const { return ustrcmp(CString(), other); }

void InitializeStringCriticalSection() {}

void deleteStringCriticalSection() {}
