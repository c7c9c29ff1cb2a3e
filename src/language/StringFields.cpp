#include "language/StringFields.h"

#include "foundation/TextEncodings.h"
#include "language/CharTables.h"
#include "language/RuntimeArray.h"
#include "language/StringReplace.h"
#include "language/StringSearch.h"
#include "runtime/objects/ValueEntryPoints.h"

namespace {

// Whether no character of the delimiter has another case, so that the exact
// byte search finds what the caseless one would.
bool HasNoCasedCharacter(const string &delimiter, uint32_t encoding) {
  const auto *p = reinterpret_cast<const unsigned char *>(delimiter.CString());
  const unsigned char *end = p + delimiter.Length();
  if (encoding == kEncodingUTF8) {
    while (p < end) {
      const unsigned long c = UTF8DecodeAndAdvance(&p, end);
      if (UnicodeCharToUpper(c) != c || UnicodeCharToLower(c) != c)
        return false;
    }
    return true;
  }
  for (; p < end; ++p)
    if (CharToUpper(*p) != CharToLower(*p))
      return false;
  return true;
}

// Finds the occurrences of a delimiter in one text, left to right.
class DelimiterSearch {
public:
  DelimiterSearch(const string &text, const string &delimiter) : mText(text) {
    mDelimiter = ConvertEncoding(delimiter, text.Encoding());
    mUtf16 = IsUTF16Family(text.Encoding());
    mExact = !mUtf16 && HasNoCasedCharacter(mDelimiter, text.Encoding());
  }
  // The next occurrence at or after byte offset from; false when none, or
  // when the delimiter cannot be had in the text's encoding.
  bool Next(int32_t from, int32_t *offset, int32_t *length) const {
    if (mDelimiter.IsEmpty() || from >= mText.Length())
      return false;
    if (mExact) {
      const int32_t at = InStrB(from, mText, mDelimiter);
      *offset = at;
      *length = mDelimiter.Length();
      return at >= 0;
    }
    int32_t matched = 0;
    const int32_t at = InStr(mUtf16 ? from / 2 : from, mText, mDelimiter, true, &matched);
    if (at < 0)
      return false;
    *offset = mUtf16 ? at * 2 : at;
    const int32_t step = mUtf16 ? 2 : 1;
    *length = matched > step ? matched : step;
    return true;
  }

private:
  const string &mText;
  string mDelimiter;
  bool mUtf16 = false;
  bool mExact = false;
};

// Calls field(start, end) for each field's byte range; stops early when it
// answers false.
template <typename Field>
void VisitFields(const string &text, const string &delimiter, Field field) {
  DelimiterSearch search(text, delimiter);
  int32_t start = 0, offset = 0, length = 0;
  while (search.Next(start, &offset, &length)) {
    if (!field(start, offset))
      return;
    start = offset + length;
  }
  field(start, text.Length());
}

string Slice(const string &text, int32_t start, int32_t end) {
  return mid(text, start, end - start);
}

// One field per character: code points of UTF-8, units of UTF-16, bytes.
template <typename Add>
void SplitCharacters(const string &text, Add add) {
  const uint32_t encoding = text.Encoding();
  const auto *begin = reinterpret_cast<const unsigned char *>(text.CString());
  const unsigned char *end = begin + text.Length();
  for (const unsigned char *p = begin; p < end;) {
    const unsigned char *start = p;
    if (encoding == kEncodingUTF8)
      AdvanceUTF8(&p, end, 1);
    else
      p += IsUTF16Family(encoding) ? 2 : 1;
    if (p > end)
      p = end;
    add(Slice(text, int32_t(start - begin), int32_t(p - begin)));
  }
}

template <typename Add>
void EachField(const string &text, const string &delimiter, Add add) {
  if (text.IsEmpty())
    return;
  if (delimiter.IsEmpty()) {
    SplitCharacters(text, add);
    return;
  }
  VisitFields(text, delimiter, [&](int32_t start, int32_t end) {
    add(Slice(text, start, end));
    return true;
  });
}

} // namespace

int32_t countFields(const string &text, const string &delimiter) {
  if (text.IsEmpty())
    return 0;
  if (delimiter.IsEmpty())
    return 1;
  int32_t count = 0;
  VisitFields(text, delimiter, [&](int32_t, int32_t) {
    ++count;
    return true;
  });
  return count;
}

string nthField(const string &text, const string &delimiter, int32_t n) {
  if (text.IsEmpty() || n < 1 || delimiter.IsEmpty())
    return string();
  string found;
  int32_t index = 0;
  VisitFields(text, delimiter, [&](int32_t start, int32_t end) {
    if (++index != n)
      return true;
    found = Slice(text, start, end);
    return false;
  });
  return found;
}

void split(const string &text, const string &delimiter, SimpleVector<string> &fields) {
  EachField(text, delimiter, [&](const string &field) { fields.push_back(field); });
}

void SplitHelper(const string &text, const string &delimiter,
                 SimpleVector<stringStorage *> &fields) {
  for (stringStorage *field : fields)
    RuntimeUnlockString(field);
  fields.resize(0);
  EachField(text, delimiter,
            [&](const string &field) { fields.push_back(field.ExtractStringStorage()); });
}

int32_t ExtractKeyValuePairs(const string &text, const string &keyValueSeparator,
                             const string &pairSeparator, string **keys, string **values) {
  const int32_t candidates = countFields(text, pairSeparator);
  *keys = *values = nullptr;
  if (candidates < 1)
    return 0;
  *keys = new string[size_t(candidates)];
  *values = new string[size_t(candidates)];
  int32_t pairs = 0;
  for (int32_t i = 1; i <= candidates; ++i) {
    const string field = nthField(text, pairSeparator, i);
    if (countFields(field, keyValueSeparator) < 2)
      continue;
    (*keys)[pairs] = nthField(field, keyValueSeparator, 1);
    (*values)[pairs] = nthField(field, keyValueSeparator, 2);
    ++pairs;
  }
  if (pairs == 0) {
    delete[] * keys;
    delete[] * values;
    *keys = *values = nullptr;
  }
  return pairs;
}

namespace {

using Replacer = string (*)(const string &, const string &, const string &);

stringStorage *ReplaceEntry(Replacer replacer, stringStorage *text, stringStorage *find,
                            stringStorage *with) {
  return replacer(string::Borrow(text), string::Borrow(find), string::Borrow(with))
      .ExtractStringStorage();
}

} // namespace

extern "C" stringStorage *StringReplace(stringStorage *text, stringStorage *find,
                                        stringStorage *with) {
  return ReplaceEntry(replace, text, find, with);
}

extern "C" stringStorage *StringReplaceAll(stringStorage *text, stringStorage *find,
                                           stringStorage *with) {
  return ReplaceEntry(replaceAll, text, find, with);
}

extern "C" stringStorage *StringReplaceB(stringStorage *text, stringStorage *find,
                                         stringStorage *with) {
  return ReplaceEntry(replaceB, text, find, with);
}

extern "C" stringStorage *StringReplaceAllB(stringStorage *text, stringStorage *find,
                                            stringStorage *with) {
  return ReplaceEntry(replaceAllB, text, find, with);
}

extern "C" int32_t StringCountFields(stringStorage *text, stringStorage *delimiter) {
  return countFields(string::Borrow(text), string::Borrow(delimiter));
}

extern "C" stringStorage *StringNthField(stringStorage *text, stringStorage *delimiter, int32_t n) {
  return nthField(string::Borrow(text), string::Borrow(delimiter), n).ExtractStringStorage();
}

extern "C" RuntimeArray *StringSplit(stringStorage *text, stringStorage *delimiter) {
  SimpleVector<stringStorage *> fields;
  SplitHelper(string::Borrow(text), string::Borrow(delimiter), fields);
  RuntimeArray *array = CreateArray(1, kStringElements, fields.count() - 1);
  if (array) {
    auto set =
        ArraySlotFunction<void (*)(RuntimeArray *, stringStorage *, int32_t)>(array, kArraySet);
    for (int32_t i = 0; i < fields.count(); ++i)
      set(array, fields.begin()[i], i);
  }
  for (stringStorage *field : fields)
    RuntimeUnlockString(field);
  return array;
}

extern "C" stringStorage *StringJoin(RuntimeArray *fields, stringStorage *separator) {
  if (!fields)
    return nullptr;
  const string between = string::Borrow(separator);
  const int32_t bound = RuntimeUBound(fields);
  auto get = ArraySlotFunction<stringStorage *(*)(RuntimeArray *, int32_t)>(fields, kArrayGet);
  string joined;
  for (int32_t i = 0; i <= bound; ++i) {
    joined += string::Adopt(get(fields, i));
    if (i < bound)
      joined += between;
  }
  return joined.ExtractStringStorage();
}
