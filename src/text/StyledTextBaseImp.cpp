#include "text/StyledTextBaseImp.h"

#include "foundation/AssertionAlert.h"
#include "language/StringSlices.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ValueEntryPoints.h"
#include "text/StyledTextObjects.h"

namespace {

constexpr char kSource[] = "StyledTextBaseImp";
constexpr AlertSite kAttributeAlert{kSource, 0, "0"};
constexpr AlertSite kRunAlert{kSource, 0, "sr"};
constexpr AlertSite kNewRunAlert{kSource, 0, "newSrd"};
constexpr AlertSite kAlignmentAlert{kSource, 0, "begin == end"};

StyleRunData *Run(const InternalStyleRunData &entry) { return AsStyleRun(entry.run); }

void KeepString(stringStorage *&slot, stringStorage *value) {
  RuntimeLockString(value);
  RuntimeUnlockString(slot);
  slot = value;
}

void SetAttribute(StyleRunData *run, StyleRunAttribute attribute,
                  const StyledTextBaseImp::Value &value) {
  switch (attribute) {
  case StyleRunAttribute::kBold:
    run->bold = value.number ? 1 : 0;
    break;
  case StyleRunAttribute::kItalic:
    run->italic = value.number ? 1 : 0;
    break;
  case StyleRunAttribute::kUnderline:
    run->underline = value.number ? 1 : 0;
    break;
  case StyleRunAttribute::kTextColor:
    run->textColor = value.number;
    break;
  case StyleRunAttribute::kFont:
    KeepString(run->font, value.text.Storage());
    break;
  case StyleRunAttribute::kSize:
    run->size = value.number;
    break;
  default:
    ShowAlert(kAttributeAlert);
    break;
  }
}

bool HasAttribute(const StyleRunData *run, StyleRunAttribute attribute,
                  const StyledTextBaseImp::Value &value) {
  switch (attribute) {
  case StyleRunAttribute::kBold:
    return run->bold == (value.number ? 1 : 0);
  case StyleRunAttribute::kItalic:
    return run->italic == (value.number ? 1 : 0);
  case StyleRunAttribute::kUnderline:
    return run->underline == (value.number ? 1 : 0);
  case StyleRunAttribute::kTextColor:
    return run->textColor == value.number;
  case StyleRunAttribute::kFont:
    return string::Borrow(run->font).EqualsIgnoringCase(value.text);
  case StyleRunAttribute::kSize:
    return run->size == value.number;
  default:
    return false;
  }
}

// Replaces the run's text with the characters from `from`, count long.
void KeepCharacters(StyleRunData *run, int32_t from, int32_t count) {
  stringStorage *part = StringDBCSMid3(run->text, from + 1, count);
  RuntimeUnlockString(run->text);
  run->text = part;
}

} // namespace

StyledTextBaseImp::StyledTextBaseImp() { EnsureOneRun(); }

StyledTextBaseImp::~StyledTextBaseImp() {
  for (int32_t i = mRuns.count() - 1; i >= 0; --i)
    RuntimeUnlockObject(At(i).run);
}

void StyledTextBaseImp::EnsureOneRun() {
  if (mRuns.count())
    return;
  InternalStyleRunData entry;
  entry.run = CreateInstance(StyleRunClass());
  if (!entry.run) {
    ShowAlert(kNewRunAlert);
    return;
  }
  mRuns.push_back(entry);
}

void StyledTextBaseImp::RecomputeStarts(int32_t from, int32_t start) {
  for (int32_t i = from; i < mRuns.count(); ++i) {
    At(i).start = start;
    start += At(i).length;
  }
}

void StyledTextBaseImp::SpanLookup(int32_t start, int32_t length, int32_t &first,
                                   int32_t &last) {
  first = 0;
  last = -1;
  if (start < 0 || length < 0)
    return;
  const int32_t end = start + length;
  bool haveFirst = false, haveLast = false;
  for (int32_t i = 0; i < mRuns.count(); ++i) {
    const InternalStyleRunData &e = At(i);
    if (e.start <= start && start <= e.start + e.length) {
      first = i; // a start on a boundary belongs to the later entry
      haveFirst = true;
    }
    if (!haveLast && e.start <= end && end <= e.start + e.length) {
      last = i;
      haveLast = true;
    }
    if (haveFirst && haveLast)
      break;
  }
  if (!haveFirst)
    first = 0;
  if (!haveLast)
    last = mRuns.count();
}

void StyledTextBaseImp::SetVoidRange(int32_t a, int32_t b, const Value &value,
                                     StyleRunAttribute attribute) {
  if (attribute > StyleRunAttribute::kSize) {
    ShowAlert(kAttributeAlert);
    return;
  }
  EnsureOneRun();
  int32_t first, last;
  SpanLookup(a, b, first, last);
  int32_t done = 0;
  for (int32_t i = first; i <= last;) {
    if (i >= mRuns.count()) {
      // The range reaches past the text: the rest becomes a run without
      // text of its own.
      if (done == b || !mRuns.count())
        break;
      const InternalStyleRunData &tail = At(mRuns.count() - 1);
      InternalStyleRunData extra;
      extra.run = CreateInstance(StyleRunClass());
      if (!extra.run) {
        ShowAlert(kNewRunAlert);
        break;
      }
      SetAttribute(Run(extra), attribute, value);
      extra.start = tail.start + tail.length;
      extra.length = b - done;
      extra.alignment = tail.alignment;
      mRuns.push_back(extra);
      break;
    }
    InternalStyleRunData entry = At(i);
    const int32_t s = entry.start, n = entry.length, e = s + n;
    StyleRunData *run = Run(entry);
    if (HasAttribute(run, attribute, value)) {
      done += s < a ? e - a : n;
      ++i;
      continue;
    }
    const int32_t leftLength = s < a ? a - s : 0;
    const int32_t rightLength = a + b < e ? e - (a + b) : 0;
    const int32_t middle = n - leftLength - rightLength;
    RuntimeObject *left = nullptr, *right = nullptr;
    if (leftLength && !(left = CopyStyleRun(run, RunTextPart::kFirst, leftLength)))
      ShowAlert(AlertSite{kSource, 0, "leftSrd"});
    if (rightLength && !(right = CopyStyleRun(run, RunTextPart::kLast, rightLength)))
      ShowAlert(AlertSite{kSource, 0, "rightSrd"});
    if (leftLength || rightLength)
      KeepCharacters(run, leftLength, middle);
    SetAttribute(run, attribute, value);
    At(i).start = s + leftLength;
    At(i).length = middle;
    if (left) {
      mRuns.insert(InternalStyleRunData{left, s, leftLength, entry.alignment}, i);
      ++i;
      ++last;
    }
    if (right) {
      mRuns.insert(InternalStyleRunData{right, a + b, rightLength, entry.alignment}, i + 1);
      ++i;
      ++last;
    }
    done += middle;
    ++i;
  }
}

void StyledTextBaseImp::CatRuns() {
  for (int32_t i = 1; i < mRuns.count();) {
    InternalStyleRunData &before = At(i - 1);
    if (before.length == 0) {
      RuntimeUnlockObject(before.run);
      mRuns.deleteIdx(i - 1);
      continue;
    }
    InternalStyleRunData &after = At(i);
    if (SameStyleRunAttributes(Run(before), Run(after))) {
      StyleRunData *into = Run(before);
      stringStorage *joined = RuntimeAddString(into->text, Run(after)->text);
      RuntimeUnlockString(into->text);
      into->text = joined;
      before.length += after.length;
      RuntimeUnlockObject(after.run);
      mRuns.deleteIdx(i);
      continue;
    }
    ++i;
  }
}

template <typename T, typename Read, typename Same>
T StyledTextBaseImp::ReadSpan(int32_t start, int32_t length, bool *mixed, T empty, T whenMixed,
                              Read read, Same same) {
  EnsureOneRun();
  CatRuns();
  int32_t first, last;
  SpanLookup(start, length, first, last);
  if (mixed)
    *mixed = true;
  if (last >= mRuns.count())
    last = mRuns.count() - 1; // never past the last run
  T result = empty;
  for (int32_t i = first; i <= last; ++i) {
    T value = read(Run(At(i)));
    if (i == first)
      result = value;
    else if (!same(value, result))
      return whenMixed;
  }
  if (mixed)
    *mixed = false;
  return result;
}

bool StyledTextBaseImp::GetBoolRange(int32_t start, int32_t length, bool *mixed,
                                     StyleRunAttribute attribute) {
  if (attribute > StyleRunAttribute::kUnderline) {
    ShowAlert(kAttributeAlert, "Trying to get a boolean range on a non-boolean attribute");
    return false;
  }
  return ReadSpan<bool>(
      start, length, mixed, false, true,
      [&](const StyleRunData *run) {
        return (attribute == StyleRunAttribute::kBold     ? run->bold
                : attribute == StyleRunAttribute::kItalic ? run->italic
                                                          : run->underline) != 0;
      },
      [](bool x, bool y) { return x == y; });
}

int32_t StyledTextBaseImp::GetUInt32Range(int32_t start, int32_t length, bool *mixed,
                                          StyleRunAttribute attribute) {
  if (attribute != StyleRunAttribute::kTextColor && attribute != StyleRunAttribute::kSize) {
    ShowAlert(kAttributeAlert, "Trying to get a UInt32 range on a non-UInt32 attribute");
    return 0;
  }
  return ReadSpan<int32_t>(
      start, length, mixed, 0, -1,
      [&](const StyleRunData *run) {
        return attribute == StyleRunAttribute::kSize ? run->size : run->textColor;
      },
      [](int32_t x, int32_t y) { return x == y; });
}

string StyledTextBaseImp::GetStringRange(int32_t start, int32_t length, bool *mixed,
                                         StyleRunAttribute attribute) {
  if (attribute != StyleRunAttribute::kFont && attribute != StyleRunAttribute::kText) {
    ShowAlert(kAttributeAlert, "Trying to get a string range on a non-string attribute");
    return string("");
  }
  return ReadSpan<string>(
      start, length, mixed, string(""), string(""),
      [&](const StyleRunData *run) {
        return string::Borrow(attribute == StyleRunAttribute::kFont ? run->font : run->text);
      },
      [](const string &x, const string &y) { return x.EqualsIgnoringCase(y); });
}

#define BOOL_RANGE(setter, getter, attribute)                                                      \
  void StyledTextBaseImp::setter(int32_t start, int32_t length, bool on) {                         \
    SetVoidRange(start, length, Value{on ? 1 : 0, string()}, attribute);                           \
  }                                                                                                \
  bool StyledTextBaseImp::getter(int32_t start, int32_t length, bool *mixed) {                     \
    return GetBoolRange(start, length, mixed, attribute);                                          \
  }

BOOL_RANGE(SetBoldRange, GetBoldRange, StyleRunAttribute::kBold)
BOOL_RANGE(SetItalicRange, GetItalicRange, StyleRunAttribute::kItalic)
BOOL_RANGE(SetUnderlineRange, GetUnderlineRange, StyleRunAttribute::kUnderline)

void StyledTextBaseImp::SetFontRange(int32_t start, int32_t length, const string &font) {
  SetVoidRange(start, length, Value{0, font}, StyleRunAttribute::kFont);
}
void StyledTextBaseImp::SetSizeRange(int32_t start, int32_t length, int32_t size) {
  SetVoidRange(start, length, Value{size, string()}, StyleRunAttribute::kSize);
}
void StyledTextBaseImp::SetColorRange(int32_t start, int32_t length, int32_t rrggbb) {
  SetVoidRange(start, length, Value{rrggbb, string()}, StyleRunAttribute::kTextColor);
}
string StyledTextBaseImp::GetFontRange(int32_t start, int32_t length, bool *mixed) {
  return GetStringRange(start, length, mixed, StyleRunAttribute::kFont);
}
int32_t StyledTextBaseImp::GetSizeRange(int32_t start, int32_t length, bool *mixed) {
  return GetUInt32Range(start, length, mixed, StyleRunAttribute::kSize);
}
int32_t StyledTextBaseImp::GetColorRange(int32_t start, int32_t length, bool *mixed) {
  return GetUInt32Range(start, length, mixed, StyleRunAttribute::kTextColor);
}

int32_t StyledTextBaseImp::StyleRunCount() {
  CatRuns();
  return mRuns.count();
}

// Indexes outside the runs answer nil and change nothing.
RuntimeObject *StyledTextBaseImp::GetStyleRun(int32_t index) {
  CatRuns();
  if (index < 0 || index >= mRuns.count())
    return nullptr;
  return CopyStyleRun(Run(At(index)));
}

void StyledTextBaseImp::InsertStyleRun(RuntimeObject *run, int32_t index) {
  if (!run) {
    ShowAlert(kRunAlert);
    return;
  }
  if (index < 0)
    return;
  if (index >= mRuns.count()) {
    AppendStyleRun(run);
    return;
  }
  RuntimeObject *copy = CopyStyleRun(AsStyleRun(run));
  if (!copy) {
    ShowAlert(kNewRunAlert);
    return;
  }
  InternalStyleRunData entry{copy, At(index).start, CharactersIn(AsStyleRun(copy)->text), 0};
  mRuns.insert(entry, index);
  RecomputeStarts(index, entry.start);
}

void StyledTextBaseImp::AppendStyleRun(RuntimeObject *run) {
  if (!run) {
    ShowAlert(kRunAlert);
    return;
  }
  RuntimeObject *copy = CopyStyleRun(AsStyleRun(run));
  if (!copy) {
    ShowAlert(kNewRunAlert);
    return;
  }
  int32_t start = 0;
  if (mRuns.count()) {
    const InternalStyleRunData &tail = At(mRuns.count() - 1);
    start = tail.start + tail.length;
  }
  mRuns.push_back(InternalStyleRunData{copy, start, CharactersIn(AsStyleRun(copy)->text), 0});
}

void StyledTextBaseImp::RemoveStyleRun(int32_t index) {
  if (index < 0 || index >= mRuns.count())
    return;
  int32_t start = At(index).start;
  RuntimeUnlockObject(At(index).run);
  mRuns.deleteIdx(index);
  RecomputeStarts(index, start);
}

RuntimeObject *StyledTextBaseImp::MakeTextRangeForStyle(int32_t index) {
  if (index < 0 || index >= mRuns.count())
    return nullptr;
  RuntimeObject *range = NewTextRange(At(index).start, At(index).length);
  if (!range)
    ShowAlert(AlertSite{kSource, 0, "td"});
  return range;
}

int32_t StyledTextBaseImp::GetAlignmentRange(int32_t start, int32_t length) {
  EnsureOneRun();
  CatRuns();
  int32_t first, last;
  SpanLookup(start, length, first, last);
  if (first != last)
    ShowAlert(kAlignmentAlert, "Trying to get the alignment over a span of style runs.");
  return first < mRuns.count() ? At(first).alignment : 0;
}

void StyledTextBaseImp::SetAlignmentRange(int32_t start, int32_t length, int32_t alignment) {
  EnsureOneRun();
  CatRuns();
  int32_t first, last;
  SpanLookup(start, length, first, last);
  if (first != last)
    ShowAlert(kAlignmentAlert, "Trying to get the alignment over a span of style runs.");
  if (first < mRuns.count())
    At(first).alignment = alignment;
}
