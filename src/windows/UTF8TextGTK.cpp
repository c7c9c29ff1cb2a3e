// Text as GTK+ and Pango take it: valid UTF-8 without zero bytes, converted
// from whatever the string's encoding tag says. Every widget label, title,
// tooltip and drawn string goes through here.
#include <glib.h>
#include <string>

#include "foundation/String.h"
#include "foundation/TextConversion.h"
#include "foundation/TextEncodings.h"
#include "windows/GTKHelper.h"

namespace {

constexpr char kReplacement[] = "\xEF\xBF\xBD";

// Appends the bytes with every sequence that is not UTF-8, and every zero
// byte, replaced by U+FFFD.
void AppendRepaired(std::string &out, const char *p, const char *stop) {
  const gchar *end = nullptr;
  while (p < stop) {
    if (g_utf8_validate(p, stop - p, &end)) {
      out.append(p, stop);
      return;
    }
    out.append(p, end);
    p = end;
    if (p < stop) {
      gunichar c = g_utf8_get_char_validated(p, stop - p);
      if (*p == 0 || c == static_cast<gunichar>(-1) || c == static_cast<gunichar>(-2)) {
        out += kReplacement;
        ++p;
      }
    }
  }
}

// Text whose bytes are taken as UTF-8 as they stand.
bool ReadAsUTF8(uint32_t encoding) {
  return encoding == kEncodingUTF8 || encoding == kEncodingASCII || encoding == kEncodingUnknown;
}

// Text that does not convert whole (a byte sequence its encoding does not
// allow, or a tag no converter knows): each character that converts on its
// own is kept, an ASCII byte of an encoding that keeps ASCII stays itself,
// and each other unit becomes U+FFFD, so the rest of the text still shows.
void AppendCharacterByCharacter(std::string &out, const string &text) {
  const uint32_t encoding = text.Encoding();
  const int unit = IsUTF16Family(encoding) ? 2 : 1;
  const bool keepsASCII = EncodingKeepsASCII(encoding);
  const char *bytes = text.CString();
  const int length = text.Length();
  for (int at = 0; at < length;) {
    int taken = 0;
    for (int n = unit; !taken && n <= 4 && at + n <= length; n += unit) {
      string piece;
      piece.ConstructFromBuffer(bytes + at, n, encoding);
      string converted = TranscodeText(piece, kEncodingUTF8);
      if (!converted.IsEmpty()) {
        AppendRepaired(out, converted.CString(), converted.CString() + converted.Length());
        taken = n;
      }
    }
    if (!taken) {
      const auto byte = static_cast<unsigned char>(bytes[at]);
      if (keepsASCII && byte && byte < 0x80)
        out += static_cast<char>(byte);
      else
        out += kReplacement;
      taken = unit;
    }
    at += taken;
  }
}

} // namespace

string GTKHelper::ToUTF8(const string &text) {
  if (text.IsEmpty())
    return string("");
  std::string out;
  if (ReadAsUTF8(text.Encoding())) {
    // With a length given, a zero byte fails the check as well.
    if (g_utf8_validate(text.CString(), text.Length(), nullptr))
      return text;
    AppendRepaired(out, text.CString(), text.CString() + text.Length());
  } else {
    string converted = TranscodeText(text, kEncodingUTF8);
    if (!converted.IsEmpty())
      AppendRepaired(out, converted.CString(), converted.CString() + converted.Length());
    else
      AppendCharacterByCharacter(out, text);
  }
  string result;
  result.ConstructFromBuffer(out.data(), static_cast<int>(out.size()), kEncodingUTF8);
  return result;
}
