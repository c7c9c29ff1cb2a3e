#include "text/InputMask.h"

#include <string>

#include "foundation/NumberFormat.h"
#include "foundation/TextEncodings.h"
#include "language/StringCase.h"

namespace {

std::string BytesOf(const string &s) {
  string utf8 = ConvertEncoding(s, kEncodingUTF8);
  return std::string(utf8.CString(), static_cast<size_t>(utf8.Length()));
}

// The length in bytes of the UTF-8 character at p, never past the end.
size_t CharLength(const std::string &s, size_t p) {
  auto lead = static_cast<unsigned char>(s[p]);
  size_t n = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  return p + n <= s.size() ? n : s.size() - p;
}

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool IsLetter(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

enum class CaseMode { kNone, kLower, kUpper };

std::string ChangeCase(const std::string &ch, CaseMode mode) {
  if (mode == CaseMode::kNone)
    return ch;
  string one;
  one.ConstructFromBuffer(ch.data(), static_cast<int>(ch.size()), kEncodingUTF8);
  string changed = string::Adopt(mode == CaseMode::kUpper ? StringUCase(one.Storage())
                                                          : StringLCase(one.Storage()));
  return BytesOf(changed);
}

string UTF8(const std::string &bytes) {
  string s;
  s.ConstructFromBuffer(bytes.data(), static_cast<int>(bytes.size()), kEncodingUTF8);
  return s;
}

// The separator a mask character stands for, or nil.
const std::string *Separator(char m, const std::string separators[4]) {
  switch (m) {
  case ',':
    return &separators[0];
  case '.':
    return &separators[1];
  case '/':
    return &separators[2];
  case ':':
    return &separators[3];
  default:
    return nullptr;
  }
}

} // namespace

MaskCheck CheckInputMask(const string &textIn, const string &maskIn) {
  const std::string text = BytesOf(textIn), mask = BytesOf(maskIn);
  string thousands, decimal, date, time;
  GetDigitSeparators(&thousands, &decimal, &date, &time);
  const std::string separators[4] = {BytesOf(thousands), BytesOf(decimal), BytesOf(date),
                                     BytesOf(time)};
  MaskCheck result;
  std::string accepted;
  size_t t = 0, m = 0;
  CaseMode mode = CaseMode::kNone;
  while (t < text.size()) {
    bool ok = false, taken = true;
    const std::string typed = text.substr(t, CharLength(text, t));
    std::string ch = ChangeCase(typed, mode);
    if (m >= mask.size()) { // more text than the mask allows
      result.accepted = false;
      break;
    }
    auto first = static_cast<unsigned char>(ch[0]);
    const char maskChar = mask[m];
    auto literal = [&](const std::string &expected) {
      ok = typed == expected;
      ch = expected;
    };
    switch (maskChar) {
    case '#':
      ok = IsDigit(first);
      break;
    case '9':
    case 'a':
      ok = true;
      taken = maskChar == '9' ? IsDigit(first) : IsDigit(first) || IsLetter(first);
      break;
    case 'A':
      ok = IsDigit(first) || IsLetter(first);
      break;
    case '?':
      ok = IsLetter(first);
      break;
    case '&':
    case 'C':
      ok = true;
      taken = !IsControl(first);
      break;
    case '<':
    case '>':
      ok = true;
      taken = false;
      mode = maskChar == '<' ? CaseMode::kLower : CaseMode::kUpper;
      break;
    case '\\':
      m += 1;
      if (m < mask.size())
        literal(mask.substr(m, CharLength(mask, m)));
      break;
    case '~':
      result.reservedCharacter = true;
      break;
    default:
      if (const std::string *separator = Separator(maskChar, separators))
        literal(*separator);
      else
        literal(mask.substr(m, CharLength(mask, m)));
      break;
    }
    if (!ok) {
      result.accepted = false;
      break;
    }
    m += CharLength(mask, m);
    if (taken) {
      accepted += ch;
      t += typed.size();
    }
  }
  result.text = UTF8(accepted);
  if (!result.accepted) {
    result.suffix = UTF8("");
    return result;
  }
  std::string suffix;
  while (m < mask.size()) {
    const char maskChar = mask[m];
    if (const std::string *separator = Separator(maskChar, separators)) {
      suffix += *separator;
    } else if (maskChar == '\\') {
      if (m + 1 >= mask.size())
        break;
      m += 1;
      suffix += mask.substr(m, CharLength(mask, m));
    } else if (std::string("#&9<>?ACa~").find(maskChar) != std::string::npos) {
      break;
    } else {
      suffix += mask.substr(m, CharLength(mask, m));
    }
    m += CharLength(mask, m);
  }
  result.suffix = UTF8(suffix);
  return result;
}
