#include "language/TextEscapes.h"

#include <cstring>
#include <string>

#include "foundation/TextEncodings.h"
#include "language/StringToNumber.h"

int32_t gLanguage = 0;

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

// The escape letter of a control byte, or 0.
char EscapeLetter(unsigned char byte) {
  static const char kLetters[] = "abtnvfr"; // 0x07 to 0x0D
  return byte >= 0x07 && byte <= 0x0D ? kLetters[byte - 0x07] : 0;
}

bool EscapesItself(unsigned char byte) {
  return byte == '"' || byte == '\'' || byte == '?' || byte == '\\';
}

// The byte a backslash and letter stand for; a letter that is no escape
// stands for itself.
char UnescapedLetter(char letter) {
  switch (letter) {
  case 'a':
    return 0x07;
  case 'b':
    return 0x08;
  case 'f':
    return 0x0C;
  case 'n':
    return 0x0A;
  case 'r':
    return 0x0D;
  case 't':
    return 0x09;
  case 'v':
    return 0x0B;
  default:
    return letter;
  }
}

// One pass over escaped text: measures it when out is null, otherwise also
// writes it. An escape cut off by the end of the text uses the bytes that
// are there and reads nothing beyond.
int DecodeEscapes(const char *in, int length, char *out) {
  int written = 0;
  for (int i = 0; i < length; ++written) {
    char byte = in[i++];
    if (byte == '\\' && i < length) {
      char letter = in[i++];
      if (letter == 'x') {
        int digits = length - i < 2 ? length - i : 2;
        byte = static_cast<char>(HexVal(in + i, digits, nullptr));
        i += digits;
      } else {
        byte = UnescapedLetter(letter);
      }
    }
    if (out)
      out[written] = byte;
  }
  return written;
}

string Tagged(const char *bytes, int length, uint32_t encoding) {
  string s;
  s.ConstructFromBuffer(bytes, length);
  if (!s.IsEmpty())
    s.SetEncoding(encoding);
  return s;
}

} // namespace

void StripAmpersand(string *text, uint32_t *mnemonic) {
  if (mnemonic)
    *mnemonic = 0;
  if (!text || text->IsEmpty())
    return;
  const uint32_t tag = text->Encoding();
  const bool utf16 = IsUTF16Family(tag);
  const int unit = utf16 ? 2 : 1;
  const int length = text->Length() - text->Length() % unit;
  const auto *in = reinterpret_cast<const unsigned char *>(text->CString());
  auto unitAt = [&](int at) -> uint32_t {
    if (!utf16)
      return in[at];
    uint16_t value;
    std::memcpy(&value, in + at, 2);
    return value;
  };
  std::string kept;
  int at = 0;
  while (at < length) {
    if (unitAt(at) != '&') {
      kept.append(reinterpret_cast<const char *>(in + at), unit);
      at += unit;
      continue;
    }
    at += unit; // the marker goes
    if (at >= length)
      break;
    const uint32_t next = unitAt(at);
    if (next != '&' && next != 0 && mnemonic)
      *mnemonic =
          tag == kEncodingUTF8 ? static_cast<uint32_t>(UTF8Decode(in + at, in + length)) : next;
    // The character after the marker stays and is not looked at again.
    int step = unit;
    if (tag == kEncodingUTF8) {
      const unsigned char *p = in + at;
      AdvanceUTF8(&p, in + length, 1);
      step = static_cast<int>(p - (in + at));
    }
    kept.append(reinterpret_cast<const char *>(in + at), step);
    at += step;
  }
  // A last byte of odd-length UTF-16 text is kept as it is.
  kept.append(reinterpret_cast<const char *>(in + length), text->Length() - length);
  *text = Tagged(kept.data(), static_cast<int>(kept.size()), tag);
}

string StripAmpersand(const string &text, uint32_t *mnemonic) {
  string copy = text;
  StripAmpersand(&copy, mnemonic);
  return copy;
}

string EncodeBackslashEscape(const string &text) {
  if (text.IsEmpty())
    return text;
  const auto *in = reinterpret_cast<const unsigned char *>(text.CString());
  int length = 0;
  for (int i = 0; i < text.Length(); ++i) {
    unsigned char byte = in[i];
    length += EscapeLetter(byte) || EscapesItself(byte) ? 2 : byte >= 0x20 && byte <= 0x7E ? 1 : 4;
  }
  string result;
  result.AllocateBuffer(length);
  if (result.IsEmpty())
    return result;
  char *out = result.MutableChar(0);
  for (int i = 0; i < text.Length(); ++i) {
    unsigned char byte = in[i];
    if (char letter = EscapeLetter(byte)) {
      *out++ = '\\';
      *out++ = letter;
    } else if (EscapesItself(byte)) {
      *out++ = '\\';
      *out++ = static_cast<char>(byte);
    } else if (byte >= 0x20 && byte <= 0x7E) {
      *out++ = static_cast<char>(byte);
    } else {
      *out++ = '\\';
      *out++ = 'x';
      *out++ = kHexDigits[byte >> 4];
      *out++ = kHexDigits[byte & 0xF];
    }
  }
  result.SetEncoding(kEncodingASCII);
  return result;
}

string DecodeBackslashEscape(const string &text) {
  if (text.IsEmpty())
    return text;
  string result;
  result.AllocateBuffer(DecodeEscapes(text.CString(), text.Length(), nullptr));
  if (result.IsEmpty())
    return result;
  DecodeEscapes(text.CString(), text.Length(), result.MutableChar(0));
  result.SetEncoding(kEncodingUTF8);
  return result;
}

string ConvertToFontScript(const string &text) {
  const uint32_t target = gLanguage == 13 ? 0x0A01 : gLanguage == 21 ? 0x0423 : 0x0500;
  string converted = ConvertEncoding(text, target);
  return converted.IsEmpty() ? text : converted;
}
