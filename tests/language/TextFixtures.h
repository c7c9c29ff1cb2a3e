// Building tagged texts from bytes and reading them back, for the language
// library's tests.
#pragma once
#include <cstdint>
#include <string>

#include "foundation/String.h"
#include "foundation/TextEncodings.h"

inline string Tagged(const std::string &bytes, uint32_t encoding) {
  string s;
  s.ConstructFromBuffer(bytes.data(), static_cast<int>(bytes.size()));
  s.SetEncoding(encoding);
  return s;
}

inline string Utf8(const std::string &bytes) { return Tagged(bytes, kEncodingUTF8); }
inline string Ascii(const std::string &bytes) { return Tagged(bytes, kEncodingASCII); }

// UTF-16 text in host order from ASCII characters.
inline string Utf16(const std::u16string &units) {
  return Tagged(std::string(reinterpret_cast<const char *>(units.data()), units.size() * 2),
                kEncodingUTF16);
}

inline std::string Text(const string &s) { return std::string(s.CString(), s.Length()); }

// Takes over a storage a function returned with one reference.
inline string Owned(stringStorage *s) { return string::Adopt(s); }
