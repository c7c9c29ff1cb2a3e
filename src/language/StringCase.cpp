#include "language/StringCase.h"

#include <cstring>
#include <memory>

#include "foundation/TextEncodings.h"
#include "language/CharTables.h"

namespace {

enum class Case { Upper, Lower, Title };

using UTF8Mapper = void (*)(const unsigned char *, unsigned long, unsigned char **,
                            unsigned long *);
using UTF16Mapper = unsigned short *(*)(const unsigned short *, unsigned long);

const unsigned char *Bytes(const string &s) {
  return reinterpret_cast<const unsigned char *>(s.CString());
}

string FromBytes(const void *bytes, int length, uint32_t encoding) {
  string s;
  s.ConstructFromBuffer(static_cast<const char *>(bytes), length);
  if (!s.IsEmpty())
    s.SetEncoding(encoding);
  return s;
}

string MapUTF8(const string &text, UTF8Mapper map) {
  unsigned char *mapped = nullptr;
  unsigned long length = 0;
  map(Bytes(text), static_cast<unsigned long>(text.Length()), &mapped, &length);
  string result = FromBytes(mapped, static_cast<int>(length), kEncodingUTF8);
  delete[] mapped;
  return result;
}

// The units are mapped; a last byte of odd-length text is kept as it is.
string MapUTF16(const string &text, UTF16Mapper map) {
  string result = FromBytes(text.CString(), text.Length(), text.Encoding());
  const int units = text.Length() / 2;
  if (units == 0 || result.IsEmpty())
    return result;
  std::unique_ptr<unsigned short[]> aligned(new unsigned short[units]);
  std::memcpy(aligned.get(), text.CString(), static_cast<size_t>(units) * 2);
  unsigned short *mapped = map(aligned.get(), static_cast<unsigned long>(units) * 2);
  std::memcpy(result.MutableChar(0), mapped, static_cast<size_t>(units) * 2);
  delete[] mapped;
  return result;
}

string MapBytes(const string &text, const unsigned char (&table)[256]) {
  string result = FromBytes(text.CString(), text.Length(), text.Encoding());
  if (result.IsEmpty())
    return result;
  char *out = result.MutableChar(0);
  for (int i = 0; i < text.Length(); ++i)
    out[i] = static_cast<char>(table[Bytes(text)[i]]);
  return result;
}

// Title case of byte text: a byte that starts the text or follows a space or
// control byte is upper-cased, every other byte lower-cased.
string TitleBytes(const string &text, const CharTables &tables) {
  string result = FromBytes(text.CString(), text.Length(), text.Encoding());
  if (result.IsEmpty())
    return result;
  char *out = result.MutableChar(0);
  const unsigned char *in = Bytes(text);
  for (int i = 0; i < text.Length(); ++i)
    out[i] =
        static_cast<char>(i == 0 || in[i - 1] <= 32 ? tables.upper[in[i]] : tables.lower[in[i]]);
  return result;
}

// Text whose characters may span several bytes is mapped as its UTF-8 form,
// ASCII letters only, as the byte tables map it, and converted back; text
// that cannot be converted is returned as it is.
string MapMultiByte(const string &text, Case mode) {
  const string utf8 = ConvertEncoding(text, kEncodingUTF8);
  if (utf8.IsEmpty())
    return text;
  string mapped = FromBytes(utf8.CString(), utf8.Length(), kEncodingUTF8);
  if (mapped.IsEmpty())
    return text;
  char *out = mapped.MutableChar(0);
  const unsigned char *in = Bytes(utf8);
  for (int i = 0; i < utf8.Length(); ++i) {
    const unsigned char c = in[i];
    const bool upper = mode == Case::Upper || (mode == Case::Title && (i == 0 || in[i - 1] <= 32));
    if (upper && c >= 'a' && c <= 'z')
      out[i] = static_cast<char>(c - 'a' + 'A');
    else if (!upper && c >= 'A' && c <= 'Z')
      out[i] = static_cast<char>(c - 'A' + 'a');
  }
  const string back = ConvertEncoding(mapped, text.Encoding());
  return back.IsEmpty() ? text : back;
}

string MapCase(const string &text, Case mode) {
  if (text.IsEmpty())
    return text;
  const uint32_t tag = text.Encoding();
  if (EncodingHasMultiByteCharacters(tag))
    return MapMultiByte(text, mode);
  if (tag == kEncodingUTF8)
    return MapUTF8(text, mode == Case::Upper   ? UTF8ToUpper
                         : mode == Case::Lower ? UTF8ToLower
                                               : UTF8Capitalize);
  if (IsUTF16Family(tag))
    return MapUTF16(text, mode == Case::Upper   ? UCS2ToUpper
                          : mode == Case::Lower ? UCS2ToLower
                                                : UCS2Capitalize);
  const CharTables &tables = CharTables::Current();
  if (mode == Case::Title)
    return TitleBytes(text, tables);
  return MapBytes(text, mode == Case::Upper ? tables.upper : tables.lower);
}

bool IsBlankUnit(const string &text, int unit) {
  uint16_t value;
  std::memcpy(&value, text.CString() + 2 * unit, sizeof value);
  return value == 0x20 || value == 0x09;
}

} // namespace

string UppercaseText(const string &text) { return MapCase(text, Case::Upper); }
string LowercaseText(const string &text) { return MapCase(text, Case::Lower); }
string TitlecaseText(const string &text) { return MapCase(text, Case::Title); }

string TrimText(const string &text, bool leading, bool trailing) {
  if (text.IsEmpty())
    return text;
  int first = 0, end = text.Length(); // the byte range kept
  if (IsUTF16Family(text.Encoding())) {
    // A last byte of odd-length text is no unit and no blank: it ends the
    // trailing trim.
    int units = text.Length() / 2, firstUnit = 0, endUnit = units;
    if (leading)
      while (firstUnit < units && IsBlankUnit(text, firstUnit))
        ++firstUnit;
    if (trailing && text.Length() % 2 == 0)
      while (endUnit > firstUnit && IsBlankUnit(text, endUnit - 1))
        --endUnit;
    first = firstUnit * 2;
    if (endUnit < units || text.Length() % 2 == 0)
      end = endUnit * 2;
  } else {
    if (leading)
      while (first < end && IsCharBlank(Bytes(text)[first]))
        ++first;
    if (trailing)
      while (end > first && IsCharBlank(Bytes(text)[end - 1]))
        --end;
  }
  return mid(text, first, end - first);
}

extern "C" stringStorage *StringUCase(stringStorage *text) {
  return UppercaseText(string::Borrow(text)).ExtractStringStorage();
}

extern "C" stringStorage *StringLCase(stringStorage *text) {
  return LowercaseText(string::Borrow(text)).ExtractStringStorage();
}

extern "C" stringStorage *StringTitleCase(stringStorage *text) {
  return TitlecaseText(string::Borrow(text)).ExtractStringStorage();
}

extern "C" stringStorage *runTrim(stringStorage *text) {
  return TrimText(string::Borrow(text), true, true).ExtractStringStorage();
}

extern "C" stringStorage *runLTrim(stringStorage *text) {
  return TrimText(string::Borrow(text), true, false).ExtractStringStorage();
}

extern "C" stringStorage *runRTrim(stringStorage *text) {
  return TrimText(string::Borrow(text), false, true).ExtractStringStorage();
}
