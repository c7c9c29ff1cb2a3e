#include "language/StringReplace.h"

#include <cstring>

#include "foundation/SimpleVector.h"
#include "foundation/TextEncodings.h"
#include "language/StringSearch.h"

namespace {

// One occurrence: its byte offset and the bytes it covers.
struct Occurrence {
  int32_t offset = 0;
  int32_t length = 0;
};

using Occurrences = SimpleVector<Occurrence>;

// The next occurrence at or after byte offset from, ignoring case; find is in
// the text's encoding.
bool NextIgnoringCase(const string &text, const string &find, int32_t from, Occurrence &found) {
  const bool utf16 = IsUTF16Family(text.Encoding());
  int32_t matched = 0;
  int32_t at = InStr(utf16 ? from / 2 : from, text, find, true, &matched);
  if (at < 0)
    return false;
  found.offset = utf16 ? at * 2 : at;
  found.length = matched;
  return true;
}

bool NextExact(const string &text, const string &find, int32_t from, Occurrence &found) {
  int32_t at = InStrB(from, text, find);
  if (at < 0)
    return false;
  found.offset = at;
  found.length = find.Length();
  return true;
}

using FindNext = bool (*)(const string &, const string &, int32_t, Occurrence &);

// Collects occurrences from left to right, each search starting after the
// previous occurrence; at most one when all is false.
void Collect(const string &text, const string &find, FindNext next, bool all, Occurrences &found) {
  int32_t from = 0;
  Occurrence occurrence;
  while (from < text.Length() && next(text, find, from, occurrence)) {
    found.push_back(occurrence);
    // An occurrence covers at least one character; stepping by one keeps a
    // zero-width match from repeating forever.
    const int32_t step = IsUTF16Family(text.Encoding()) ? 2 : 1;
    from = occurrence.offset + (occurrence.length > step ? occurrence.length : step);
    if (!all)
      break;
  }
}

// The text with every collected occurrence replaced, each byte copied once,
// tagged encoding.
string Rebuild(const string &text, const Occurrences &found, const string &with,
               uint32_t encoding) {
  if (found.count() == 0)
    return text;
  int64_t length = text.Length();
  for (const Occurrence &o : found)
    length += int64_t{with.Length()} - o.length;
  if (length <= 0 || length > INT32_MAX)
    return string();
  string result;
  result.AllocateBuffer(static_cast<int>(length));
  if (result.IsEmpty())
    return result;
  char *out = result.MutableChar(0);
  const char *in = text.CString();
  int32_t copied = 0;
  for (const Occurrence &o : found) {
    std::memcpy(out, in + copied, static_cast<size_t>(o.offset - copied));
    out += o.offset - copied;
    std::memcpy(out, with.CString(), static_cast<size_t>(with.Length()));
    out += with.Length();
    copied = o.offset + o.length;
  }
  std::memcpy(out, in + copied, static_cast<size_t>(text.Length() - copied));
  result.SetEncoding(encoding);
  return result;
}

// Text and replacement in one encoding, as joining them would give: the
// common encoding when both can be had in it, else the text's own when the
// replacement converts to it, else both as they are, the result untagged.
// Answers the result's tag; text and with are replaced by their converted
// forms.
uint32_t MeetReplacement(string &text, string &with) {
  if (with.IsEmpty() || with.Encoding() == text.Encoding())
    return text.Encoding();
  string t = text, w = with;
  const uint32_t common = ConvertToSameEncoding(&t, &w);
  if (common != kEncodingUnknown) {
    text = t;
    with = w;
    return common;
  }
  string converted = ConvertEncoding(with, text.Encoding());
  if (converted.IsEmpty())
    return kEncodingUnknown;
  with = converted;
  return text.Encoding();
}

string ReplaceIgnoringCase(const string &text, const string &find, const string &with, bool all) {
  if (text.IsEmpty() || find.IsEmpty())
    return text;
  // A find text that cannot be had in the text's encoding is never found.
  if (ConvertEncoding(find, text.Encoding()).IsEmpty())
    return text;
  string t = text, w = with;
  const uint32_t encoding = MeetReplacement(t, w);
  string convertedFind = ConvertEncoding(find, t.Encoding());
  if (convertedFind.IsEmpty())
    return text;
  Occurrences found;
  Collect(t, convertedFind, NextIgnoringCase, all, found);
  if (found.count() == 0)
    return text;
  return Rebuild(t, found, w, encoding);
}

string ReplaceExact(const string &text, const string &find, const string &with, bool all) {
  if (text.IsEmpty() || find.IsEmpty())
    return text;
  Occurrences found;
  Collect(text, find, NextExact, all, found);
  return Rebuild(text, found, with, text.Encoding());
}

} // namespace

string replace(const string &text, const string &find, const string &with) {
  return ReplaceIgnoringCase(text, find, with, false);
}

string replaceAll(const string &text, const string &find, const string &with) {
  return ReplaceIgnoringCase(text, find, with, true);
}

string replaceB(const string &text, const string &find, const string &with) {
  return ReplaceExact(text, find, with, false);
}

string replaceAllB(const string &text, const string &find, const string &with) {
  return ReplaceExact(text, find, with, true);
}
