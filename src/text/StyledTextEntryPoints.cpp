#include "text/StyledTextEntryPoints.h"

#include <vector>

#include "foundation/AssertionAlert.h"
#include "foundation/TextEncodings.h"
#include "language/LineEndings.h"
#include "language/StringSlices.h"
#include "runtime/exceptions/RuntimeExceptions.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ValueEntryPoints.h"
#include "text/StyledTextDelegate.h"
#include "text/StyledTextObjects.h"

namespace {

constexpr char kSource[] = "QVStyledText";
constexpr AlertSite kObjectAlert{kSource, 0, "std"};
constexpr AlertSite kBodyAlert{kSource, 0, "std->mImp"};

// The object's body, or nil after the alert.
StyledTextDelegate *BodyOf(RuntimeObject *st) {
  if (!st) {
    ShowAlert(kObjectAlert);
    return nullptr;
  }
  StyledTextDelegate *body = AsStyledText(st)->body;
  if (!body)
    ShowAlert(kBodyAlert);
  return body;
}

string TextOf(StyledTextDelegate *body) {
  string text;
  int32_t count = body->StyleRunCount();
  for (int32_t i = 0; i < count; ++i) {
    RuntimeObject *run = body->GetStyleRun(i);
    if (!run) {
      ShowAlert(AlertSite{kSource, 0, "data"});
      continue;
    }
    text = text + string::Borrow(AsStyleRun(run)->text);
    RuntimeUnlockObject(run);
  }
  return text;
}

struct Span {
  int32_t start, end;
};

// The paragraphs of the text with every line ending made one CR: the
// stretches between runs of line endings, in characters. A line ending at
// the very start makes an empty first paragraph; one at the end makes none.
std::vector<Span> ParagraphsOf(StyledTextDelegate *body) {
  std::vector<Span> paragraphs;
  string text = TextOf(body);
  string cr = string::Adopt(getMacEndOfLine(nullptr, 0));
  if (!RUNTIME_CHECK_SHOWING(cr.Length() > 0, "eol and eol->CString()"))
    return paragraphs;
  string normal = string::Adopt(RuntimeReplaceLineEndings(text.Storage(), cr.Storage()));
  const bool utf8 = normal.Encoding() == kEncodingUTF8;
  const char *bytes = normal.CString();
  int32_t position = 0, start = 0;
  bool inBreak = false;
  for (int i = 0; i < normal.Length(); ++i) {
    auto byte = static_cast<unsigned char>(bytes[i]);
    if (utf8 && (byte & 0xC0) == 0x80)
      continue; // not the first byte of a character
    if (byte == '\r') {
      if (!inBreak)
        paragraphs.push_back(Span{start, position});
      inBreak = true;
    } else if (inBreak) {
      inBreak = false;
      start = position;
    }
    ++position;
  }
  if (position > 0 && !inBreak)
    paragraphs.push_back(Span{start, position});
  return paragraphs;
}

stringStorage *Give(const string &text) { return text.ExtractStringStorage(); }

} // namespace

extern "C" {

// Bold, Italic and Underline over a range: a Boolean getter and setter each.
#define STYLE_ENTRY_POINTS(getter, setter, readRange, setRange)                                    \
  int32_t getter(RuntimeObject *st, int32_t start, int32_t length) {                               \
    StyledTextDelegate *body = BodyOf(st);                                                         \
    return body && body->readRange(start, length, nullptr) ? 1 : 0;                                \
  }                                                                                                \
  void setter(RuntimeObject *st, int32_t start, int32_t length, int32_t value) {                   \
    if (StyledTextDelegate *body = BodyOf(st))                                                     \
      body->setRange(start, length, value != 0);                                                   \
  }

STYLE_ENTRY_POINTS(StyledTextGetBold, StyledTextSetBold, GetBoldRange, SetBoldRange)
STYLE_ENTRY_POINTS(StyledTextGetItalic, StyledTextSetItalic, GetItalicRange, SetItalicRange)
STYLE_ENTRY_POINTS(StyledTextGetUnderline, StyledTextSetUnderline, GetUnderlineRange,
                   SetUnderlineRange)

stringStorage *StyledTextGetFont(RuntimeObject *st, int32_t start, int32_t length) {
  StyledTextDelegate *body = BodyOf(st);
  return body ? Give(body->GetFontRange(start, length, nullptr)) : nullptr;
}
void StyledTextSetFont(RuntimeObject *st, int32_t start, int32_t length, stringStorage *name) {
  if (StyledTextDelegate *body = BodyOf(st))
    body->SetFontRange(start, length, string::Borrow(name));
}
int32_t StyledTextGetSize(RuntimeObject *st, int32_t start, int32_t length) {
  StyledTextDelegate *body = BodyOf(st);
  return body ? body->GetSizeRange(start, length, nullptr) : 0;
}
void StyledTextSetSize(RuntimeObject *st, int32_t start, int32_t length, int32_t size) {
  if (StyledTextDelegate *body = BodyOf(st))
    body->SetSizeRange(start, length, size);
}
int32_t StyledTextGetColor(RuntimeObject *st, int32_t start, int32_t length) {
  StyledTextDelegate *body = BodyOf(st);
  return body ? body->GetColorRange(start, length, nullptr) : 0;
}
void StyledTextSetColor(RuntimeObject *st, int32_t start, int32_t length, int32_t color) {
  if (StyledTextDelegate *body = BodyOf(st))
    body->SetColorRange(start, length, color);
}

int32_t StyledTextRunCountGetter(RuntimeObject *st) {
  StyledTextDelegate *body = BodyOf(st);
  return body ? body->StyleRunCount() : 0;
}

RuntimeObject *StyledTextRunGetter(RuntimeObject *st, int32_t index) {
  StyledTextDelegate *body = BodyOf(st);
  return body ? body->GetStyleRun(index) : nullptr;
}

RuntimeObject *TextRangeGetter(RuntimeObject *st, int32_t index) {
  StyledTextDelegate *body = BodyOf(st);
  return body ? body->MakeTextRangeForStyle(index) : nullptr;
}

void InsertStyledTextRun(RuntimeObject *st, RuntimeObject *run, int32_t index) {
  StyledTextDelegate *body = BodyOf(st);
  if (!body)
    return;
  if (!run)
    return RaiseNilObjectException();
  body->InsertStyleRun(run, index);
}

void AppendStyledTextRun(RuntimeObject *st, RuntimeObject *run) {
  StyledTextDelegate *body = BodyOf(st);
  if (!body)
    return;
  if (!run)
    return RaiseNilObjectException();
  body->AppendStyleRun(run);
}

void RemoveStyledTextRun(RuntimeObject *st, int32_t index) {
  if (StyledTextDelegate *body = BodyOf(st))
    body->RemoveStyleRun(index);
}

stringStorage *StyledTextGetter(RuntimeObject *st, int32_t) {
  StyledTextDelegate *body = BodyOf(st);
  return body ? Give(TextOf(body)) : nullptr;
}

// The text replaces every run with one plain run that holds all of it.
void StyledTextSetter(RuntimeObject *st, int32_t, stringStorage *text) {
  StyledTextDelegate *body = BodyOf(st);
  if (!body)
    return;
  for (int32_t n = body->StyleRunCount(); n > 0; --n)
    body->RemoveStyleRun(0);
  RuntimeObject *first = CreateInstance(StyleRunClass());
  if (!RUNTIME_CHECK_SHOWING(first, "first"))
    return;
  AsStyleRun(first)->text = RuntimeLockString(text);
  body->AppendStyleRun(first);
  RuntimeUnlockObject(first);
}

int32_t StyledTextParagraphCountGetter(RuntimeObject *st) {
  StyledTextDelegate *body = BodyOf(st);
  return body ? static_cast<int32_t>(ParagraphsOf(body).size()) : 0;
}

// An index outside the paragraphs gives the last one; an empty text none.
RuntimeObject *StyledTextParagraphGetter(RuntimeObject *st, int32_t index) {
  StyledTextDelegate *body = BodyOf(st);
  if (!body)
    return nullptr;
  std::vector<Span> paragraphs = ParagraphsOf(body);
  if (paragraphs.empty())
    return nullptr;
  if (index < 0 || index >= static_cast<int32_t>(paragraphs.size()))
    index = static_cast<int32_t>(paragraphs.size()) - 1;
  RuntimeObject *object = CreateInstance(ParagraphClass());
  if (!object)
    return nullptr;
  auto *paragraph = reinterpret_cast<ParagraphObject *>(object);
  const Span &span = paragraphs[static_cast<size_t>(index)];
  paragraph->range.startPos = span.start;
  paragraph->range.endPos = span.end;
  paragraph->range.length = span.end - span.start;
  paragraph->alignment = body->GetAlignmentRange(span.start, span.end - span.start);
  return object;
}

void StyledTextSetAlignment(RuntimeObject *st, int32_t index, int32_t style) {
  RuntimeObject *object = StyledTextParagraphGetter(st, index);
  if (!object)
    return;
  const auto *paragraph = reinterpret_cast<ParagraphObject *>(object);
  if (StyledTextDelegate *body = AsStyledText(st)->body)
    body->SetAlignmentRange(paragraph->range.startPos, paragraph->range.length, style);
  RuntimeUnlockObject(object);
}

void StyleRunQVConstructor(RuntimeObject *run, stringStorage *v) {
  if (!RUNTIME_CHECK_SHOWING(run, "srd"))
    return;
  StyleRunData *data = AsStyleRun(run);
  RuntimeLockString(v);
  RuntimeUnlockString(data->text);
  data->text = v;
}

void styledPrinterDrawBlock(RuntimeObject *, int32_t, int32_t, int32_t) {}
void styledPrinterWidthSetter(RuntimeObject *, int32_t, int32_t) {}
// Nothing is ever printed, so there is never more to print.
int32_t styledPrinterEOF(RuntimeObject *, int32_t) { return 1; }
void StyledTextDestructor(RuntimeObject *) {}

} // extern "C"
