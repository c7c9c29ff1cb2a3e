// The runtime's text value: a pointer to shared, reference-counted storage of
// bytes with a length and an encoding tag. The storage record is handed to
// compiled code and plug-ins as it is, so its layout is fixed.
#pragma once
#include <cstddef>
#include <cstdint>

#include "ImageFormat.h"
#include "foundation/AssertionAlert.h"

// The alerts of refused uses of a string.
inline constexpr char kStringAlertSource[] = "../Universal/string";
inline constexpr AlertSite kStringWStringAlert{kStringAlertSource, 611, "0"};
inline constexpr AlertSite kStringMutableCharAlert{kStringAlertSource, 732,
                                                   "not (pos < 0 || pos >= Length())"};
inline constexpr AlertSite kStringMutableCharOfEmptyAlert{kStringAlertSource, 741, "not pos"};

// Reference-counted text. The buffer holds a length byte (the length, or 0xFF
// when above 255), the bytes and a zero terminator, so it reads both as a
// length-prefixed and as a zero-terminated string; every byte after the text
// is zero. No storage of length 0 exists: the empty string is a null pointer.
// The runtime makes record and buffer as one block, the buffer right after
// the record, as the image's string constants lie.
struct stringStorage {
  int32_t mRefCount;
  char *mBuffer;
  int32_t mBufferSize; // bytes allocated for mBuffer
  int32_t mLength;     // text bytes, always 1 or more
  uint32_t mEncoding;  // encoding tag (TextEncodings.h)

  // Each accepts a null storage, which stands for the empty string.
  static void AddReference(stringStorage *s) {
    if (s)
      ++s->mRefCount;
  }
  // Drops one reference; frees buffer and record at zero. Answers the count
  // that is left (0 for null or freed storage).
  static int32_t RemoveReference(stringStorage *s) {
    if (!s)
      return 0;
    if (--s->mRefCount > 0)
      return s->mRefCount;
    Free(s);
    return 0;
  }
  // Frees the memory of a storage whose count reached zero.
  static void Free(stringStorage *s);
  static int32_t Length(const stringStorage *s);
  static const char *CString(const stringStorage *s);          // text, or ""
  static const unsigned char *PString(const stringStorage *s); // length byte first
};
// The image format's string storage, which the compiled-code kit's matches too.
static_assert(sizeof(stringStorage) == IMAGE_STRING_STORAGE_SIZE);
static_assert(offsetof(stringStorage, mRefCount) == IMAGE_STRING_REFERENCE_COUNT_OFFSET);
static_assert(offsetof(stringStorage, mBuffer) == IMAGE_STRING_BUFFER_OFFSET);
static_assert(offsetof(stringStorage, mBufferSize) == IMAGE_STRING_BUFFER_SIZE_OFFSET);
static_assert(offsetof(stringStorage, mLength) == IMAGE_STRING_LENGTH_OFFSET);
static_assert(offsetof(stringStorage, mEncoding) == IMAGE_STRING_ENCODING_OFFSET);

// The views of the empty string: 256 zero bytes (length-prefixed) and one
// zero wide character.
extern const unsigned char kNullPString[256];
extern const wchar_t kNullWString[1];

class string {
public:
  string() : mStorage(nullptr) {}
  string(const char *text); // a copy of the zero-terminated bytes, tagged ASCII
  string(const string &other) : mStorage(other.mStorage) { stringStorage::AddReference(mStorage); }
  string(string &&other) noexcept : mStorage(other.mStorage) { other.mStorage = nullptr; }
  ~string() { stringStorage::RemoveReference(mStorage); }
  string &operator=(const string &other);
  string &operator=(string &&other) noexcept;

  // Wrapping storage that arrives from compiled code: Borrow adds a reference
  // of its own, Adopt takes over the reference the caller holds.
  static string Borrow(stringStorage *s);
  static string Adopt(stringStorage *s);

  // The storage with one extra reference for compiled code (null when empty).
  stringStorage *ExtractStringStorage() const;
  // The storage without a reference; valid while this string holds it.
  stringStorage *Storage() const { return mStorage; }

  int Length() const { return mStorage ? mStorage->mLength : 0; }
  bool IsEmpty() const { return mStorage == nullptr; }
  uint32_t Encoding() const; // kEncodingASCII for the empty string
  // Retags the text; a shared storage is first replaced by a private copy.
  void SetEncoding(uint32_t encoding);

  // Fresh storage of len bytes (left unset), tagged kEncodingUnknown; len of
  // 0 or less, or a failed buffer allocation, leaves the string empty.
  void AllocateBuffer(int len);
  // Copies len bytes (a null src leaves them unset); tagged kEncodingUnknown.
  void ConstructFromBuffer(const char *src, int len);
  // The same, tagged with the encoding.
  void ConstructFromBuffer(const char *src, int len, uint32_t encoding);
  void ConstructFromBuffer(stringStorage *src);
  // The low 16 bits of n wide characters in host order, tagged UTF-16.
  void ConstructFromWString(const wchar_t *src, int n);

  // Views, valid while the string holds its storage.
  const char *CString() const;
  const unsigned char *PString() const;
  const wchar_t *WString() const; // UTF-16 text only; alerts otherwise
  operator char *() const;
  operator unsigned char *() const;
  operator wchar_t *() const;

  // The same storage with one more reference; no conversion is made.
  string GetUTF8String() const;
  string GetUTF16String() const;
  bool ContainsOnlyASCII() const;

  // Writable byte pos; a shared storage is first made private.
  char *MutableChar(int pos);

  string &operator+=(const char *s);
  string &operator+=(const string &s);
  // Appends length bytes, zero bytes included, keeping the tag; the empty
  // string takes them tagged kEncodingUnknown, as += of a C string does. In
  // place when this string alone holds a buffer with room, else into new
  // storage with room for the appends that usually follow.
  void AppendBytes(const char *bytes, int length);

  // -1, 0 or 1. Compare ignores case; text tagged with different known
  // encodings is first brought to a common one.
  int Compare(const string &other) const;
  int CompareWithCase(const string &other) const;
  int CompareWithCase(const char *other) const;
  // Compare(other) == 0, answered sooner where the bytes alone decide.
  bool EqualsIgnoringCase(const string &other) const;

private:
  explicit string(stringStorage *adopted) : mStorage(adopted) {}
  void Replace(stringStorage *s);

  stringStorage *mStorage;
};
static_assert(sizeof(string) == sizeof(stringStorage *));

string operator+(const string &a, const string &b);
string operator+(const string &a, char c);

// Byte slices; results keep the source's tag and share its storage when they
// cover all of it. Offsets are 0-based.
string left(string s, int n);
string right(const string &s, int n);
string mid(const string &s, int start);
string mid(const string &s, int start, int len);

// Remove spaces and tabs only.
string ltrim(string s);
string rtrim(string s);
string trim(string s);

// A one-character string of the code point in that encoding.
string UnicodeChar(unsigned long codePoint, uint32_t encoding);

// Start-up and exit calls; there is one thread, so they do nothing.
void InitializeStringCriticalSection();
void deleteStringCriticalSection();
