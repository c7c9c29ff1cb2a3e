// The style runs of an edit pane: stretches of characters that share bold,
// italic, underline, font, size and colour, derived from the buffer's tags
// and cached in the pane until a change marks them stale.
#include "foundation/AssertionAlert.h"
#include "foundation/TextEncodings.h"
#include "runtime/exceptions/RuntimeExceptions.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ValueEntryPoints.h"
#include "text/EditControlGTK.h"
#include "text/StyledTextObjects.h"
#include "windows/GTKHelper.h"

namespace {

constexpr AlertSite kRangeAlert{"../Common/Linux/EditControlGTK", 0, "td"};

} // namespace

namespace {

void Empty(SimpleVector<StyleRunData *> &cache) {
  for (StyleRunData *run : cache)
    RuntimeUnlockObject(&run->header);
  while (cache.count())
    cache.deleteIdx(cache.count() - 1);
}

} // namespace

void EditControlGTK::ReleaseStyleRuns() { Empty(mStyleRuns); }

string EditControlGTK::GetTextRange(int32_t start, int32_t length) {
  string text;
  if (!HasStyles())
    return text;
  GtkTextIter s, e;
  GetTextIterFromRange(start, length, &s, &e);
  gchar *bytes = gtk_text_buffer_get_text(mBuffer, &s, &e, FALSE);
  if (bytes && *bytes)
    text.ConstructFromBuffer(bytes, static_cast<int>(strlen(bytes)), kEncodingUTF8);
  g_free(bytes);
  return text;
}

void EditControlGTK::ReplaceText(int32_t start, int32_t length, const string &text) {
  if (!HasStyles())
    return;
  MarkStale();
  GtkTextIter s, e;
  GetTextIterFromRange(start, length, &s, &e);
  gtk_text_buffer_delete(mBuffer, &s, &e);
  string utf8 = GTKHelper::ToUTF8(text);
  gtk_text_buffer_get_iter_at_offset(mBuffer, &s, start);
  gtk_text_buffer_insert(mBuffer, &s, utf8.CString(), utf8.Length());
}

void EditControlGTK::BuildStyleRuns(SimpleVector<StyleRunData *> &cache) {
  if (!mStyleRunsStale)
    return;
  Empty(cache);
  RuntimeObject *current = CreateInstance(StyleRunClass());
  if (!current)
    return;
  // The characters between two tag toggles share their attributes, so each
  // stretch is read once; stretches equal to the run before join it.
  const int32_t n = GetTextLength();
  GtkTextIter at;
  if (mBuffer)
    gtk_text_buffer_get_start_iter(mBuffer, &at);
  for (int32_t from = 0; from < n;) {
    int32_t to = n;
    if (HasStyles()) {
      gtk_text_iter_forward_to_tag_toggle(&at, nullptr);
      to = gtk_text_iter_get_offset(&at);
      if (to <= from)
        to = n;
    }
    RuntimeObject *stretch = CreateInstance(StyleRunClass());
    if (!stretch)
      break;
    StyleRunData *s = AsStyleRun(stretch);
    const int32_t length = to - from;
    s->bold = GetBoldRange(from, length, nullptr);
    s->italic = GetItalicRange(from, length, nullptr);
    s->underline = GetUnderlineRange(from, length, nullptr);
    s->font = GetFontRange(from, length, nullptr).ExtractStringStorage();
    s->size = GetSizeRange(from, length, nullptr);
    s->textColor = GetColorRange(from, length, nullptr);
    s->text = GetTextRange(from, length).ExtractStringStorage();
    StyleRunData *run = AsStyleRun(current);
    if (from == 0) {
      RuntimeUnlockObject(current);
      current = stretch;
    } else if (SameStyleRunAttributes(run, s)) {
      stringStorage *joined = RuntimeAddString(run->text, s->text);
      RuntimeUnlockString(run->text);
      run->text = joined;
      RuntimeUnlockObject(stretch);
    } else {
      cache.push_back(run);
      current = stretch;
    }
    from = to;
  }
  cache.push_back(AsStyleRun(current));
  mStyleRunsStale = 0;
}

int32_t EditControlGTK::RunOffset(int32_t index) {
  int32_t offset = 0;
  for (int32_t i = 0; i < index && i < mStyleRuns.count(); ++i)
    offset += CharactersIn(mStyleRuns.begin()[i]->text);
  return offset;
}

int32_t EditControlGTK::StyleRunCount() {
  BuildStyleRuns(mStyleRuns);
  return mStyleRuns.count();
}

RuntimeObject *EditControlGTK::GetStyleRun(int32_t index) {
  BuildStyleRuns(mStyleRuns);
  if (index < 0 || index >= mStyleRuns.count())
    return nullptr;
  RuntimeObject *run = &mStyleRuns.begin()[index]->header;
  RuntimeLockObject(run);
  return run;
}

void EditControlGTK::InsertRunAt(const StyleRunData *run, int32_t offset) {
  string text = string::Borrow(run->text);
  ReplaceText(offset, 0, text);
  const int32_t length = CharactersIn(run->text);
  SetBoldRange(offset, length, run->bold);
  SetItalicRange(offset, length, run->italic);
  SetUnderlineRange(offset, length, run->underline);
  SetFontRange(offset, length, string::Borrow(run->font));
  SetSizeRange(offset, length, run->size);
  SetColorRange(offset, length, run->textColor);
}

void EditControlGTK::InsertStyleRun(RuntimeObject *run, int32_t index) {
  if (!run)
    return RaiseNilObjectException();
  BuildStyleRuns(mStyleRuns);
  if (index < 0)
    return;
  int32_t offset = RunOffset(index);
  MarkStale();
  InsertRunAt(AsStyleRun(run), offset);
}

void EditControlGTK::AppendStyleRun(RuntimeObject *run) {
  if (!run)
    return RaiseNilObjectException();
  MarkStale();
  InsertRunAt(AsStyleRun(run), GetTextLength());
}

void EditControlGTK::RemoveStyleRun(int32_t index) {
  BuildStyleRuns(mStyleRuns);
  if (index < 0 || index >= mStyleRuns.count())
    return;
  int32_t offset = RunOffset(index);
  int32_t length = CharactersIn(mStyleRuns.begin()[index]->text);
  MarkStale();
  ReplaceText(offset, length, string(""));
}

RuntimeObject *EditControlGTK::MakeTextRangeForStyle(int32_t index) {
  BuildStyleRuns(mStyleRuns);
  if (index < 0 || index >= mStyleRuns.count())
    return nullptr;
  RuntimeObject *range =
      NewTextRange(RunOffset(index), CharactersIn(mStyleRuns.begin()[index]->text));
  if (!range)
    ShowAlert(kRangeAlert);
  return range;
}
