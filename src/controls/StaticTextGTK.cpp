#include "controls/StaticTextGTK.h"

#include "controls/DataControlLookup.h"
#include "controls/StaticTextClass.h"
#include "graphics/Graphics.h"
#include "language/TextEscapes.h"
#include "runtime/loop/PaneInterface.h"
#include "runtime/loop/WindowInterface.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/startup/BuiltinClassBuilders.h"
#include "windows/ControlServices.h"
#include "windows/GTKHelper.h"

namespace {

template <typename Handler> Handler EventOf(StaticTextObject *c, StaticTextEvent event) {
  return reinterpret_cast<Handler>(FindObjectCode(&c->control.header, StaticTextEventHook(event)));
}

bool SameFont(const FontStructure &a, const FontStructure &b) {
  return a.name.CompareWithCase(b.name) == 0 && a.bold == b.bold && a.italic == b.italic &&
         a.underline == b.underline && a.size == b.size;
}

} // namespace

std::vector<CaptionLine> SplitCaptionLines(const string &text) {
  std::vector<CaptionLine> lines;
  const char *s = text.CString();
  const int32_t n = text.Length();
  int32_t start = 0, pitch = 0, i = 0;
  while (i < n) {
    const int32_t p = i;
    if (s[p] != '\r' && s[p] != '\n') {
      ++i;
      continue;
    }
    i = p + 1;
    if (s[p] == '\r' && i < n && s[i] == '\n')
      ++i;
    if (p > start)
      lines.push_back(CaptionLine{start, p - start, pitch});
    ++pitch;
    start = i;
  }
  if (start < n)
    lines.push_back(CaptionLine{start, n - start, pitch});
  return lines;
}

QV::RGBColor DimmedColour(const QV::RGBColor &c) {
  auto dim = [](uint16_t v) { return static_cast<uint16_t>((v + 98304) / 4); };
  return QV::RGBColor{dim(c.red), dim(c.green), dim(c.blue)};
}

StaticText::StaticText(ContainerPane *parent, int32_t tabPanelIndex, const QV::Rect &bounds)
    : SubPane(parent, tabPanelIndex, bounds, true), mDataSource("") {
  mFont.size = 12;
  SetWidget(gtk_label_new(""));
  GTKHelper::SetupWidget(this, true);
  gtk_misc_set_alignment(GTK_MISC(GetWidget()), 0.0f, 0.5f);
}

StaticText::~StaticText() { RemoveBinding(); }

// A closing label leaves its data control, and its object forgets it.
void StaticText::Close() {
  RemoveBinding();
  if (mControl && mControl->control.pane == this)
    mControl->control.pane = nullptr;
  SubPane::Close();
}

void StaticText::ForgetControl() {
  RemoveBinding();
  mControl = nullptr;
}

void StaticText::SetCaption(const string &caption) {
  if (mCaption.CompareWithCase(caption) == 0 && mCaption.Length() == caption.Length())
    return;
  mCaption = caption;
  GTKHelper::SetCaption(GetWidget(), mCaption, &mFont);
}

void StaticText::SetAlignment(int16_t alignment) {
  mAlignment = alignment;
  if (alignment < 0 || alignment > 2)
    return;
  gtk_misc_set_alignment(GTK_MISC(GetWidget()), alignment * 0.5f, mMultiline ? 0.0f : 0.5f);
}

void StaticText::SetMultiline(bool on) {
  mMultiline = on;
  gtk_label_set_line_wrap(GTK_LABEL(GetWidget()), on);
  SetAlignment(mAlignment);
}

void StaticText::SetFont(const FontStructure *font) {
  if (SameFont(mFont, *font))
    return;
  mFont = *font;
  GTKHelper::SetupFont(GetWidget(), &mFont);
}

void StaticText::SetTextColor(uint32_t colour) {
  if (colour == mTextColour)
    return;
  mTextColour = colour;
  QV::RGBColor c = QV::RGBColorFromColorValue(colour);
  GdkColor gdk{0, c.red, c.green, c.blue};
  gtk_widget_modify_fg(GetWidget(), GTK_STATE_NORMAL, &gdk);
}

bool StaticText::GetBaseline(int32_t &y) {
  Graphics *g = getGraphics();
  g->TextFont(mFont.name);
  g->TextSize(mFont.size);
  g->TextFace(mFont.Style());
  y = g->FontAscent() + (Height() - g->FontHeight()) / 2;
  g->Release();
  return true;
}

void StaticText::Redraw(Graphics *g) {
  if (!IsShowing())
    return;
  g->TextFont(mFont.name);
  g->TextSize(mFont.size);
  g->TextFace(mFont.Style());
  const string s = StripAmpersand(mCaption, nullptr);
  int32_t baseline = 0;
  GetBaseline(baseline);
  const int32_t y = Bounds().top + baseline;
  QV::RGBColor saved = g->GetForeColor();
  QV::RGBColor colour = QV::RGBColorFromColorValue(mTextColour);
  if (!IsEnabled() || !IsActive())
    colour = DimmedColour(colour);
  g->RGBForeColor(&colour);
  const QV::Rect &b = Bounds();
  if (mMultiline) {
    g->DrawWrapText(s, b, mAlignment);
  } else {
    const int32_t pitch = g->FontHeight() + g->FontLeading();
    for (const CaptionLine &line : SplitCaptionLines(s)) {
      string t = mid(s, line.start, line.length);
      const int32_t w = g->StringWidth(t);
      int32_t x = b.left;
      if (mAlignment == 1)
        x = b.left + (b.right - b.left - w) / 2;
      else if (mAlignment == 2)
        x = b.right - w;
      g->DrawString(t, x, y + line.pitch * pitch);
    }
  }
  g->RGBForeColor(&saved);
}

bool StaticText::HandleClick(int32_t x, int32_t y, int32_t) {
  if (!mControl || !IsEnabled())
    return false;
  using Handler = int32_t (*)(RuntimeObject *, int32_t, int32_t);
  auto mouseDown = EventOf<Handler>(mControl, StaticTextEvent::kMouseDown);
  if (!mouseDown) {
    mControl->mouseTracking = 0;
    return false;
  }
  StaticTextObject *control = mControl;
  Protect();
  const bool tracking =
      mouseDown(&control->control.header, x - Bounds().left, y - Bounds().top) != 0;
  if (UnprotectCausesDeath())
    return true;
  if (!mControl)
    return false;
  mControl->mouseTracking = tracking;
  if (!tracking)
    return false;
  CaptureMouse(this);
  return true;
}

void StaticText::HandleMouseDrag(int32_t x, int32_t y) {
  if (!mControl || !mControl->mouseTracking)
    return;
  using Handler = void (*)(RuntimeObject *, int32_t, int32_t);
  auto drag = EventOf<Handler>(mControl, StaticTextEvent::kMouseDrag);
  if (!drag)
    return;
  Lock();
  drag(&mControl->control.header, x - Bounds().left, y - Bounds().top);
  if (!Unlock())
    FlushPort();
}

void StaticText::HandleMouseUp(int32_t x, int32_t y) {
  if (!mControl || !mControl->mouseTracking)
    return;
  using Handler = void (*)(RuntimeObject *, int32_t, int32_t);
  if (auto up = EventOf<Handler>(mControl, StaticTextEvent::kMouseUp))
    up(&mControl->control.header, x - Bounds().left, y - Bounds().top);
}

void StaticText::HandleAcceleratorKeyEvent() {
  if (!mControl || !IsEnabled())
    return;
  using Handler = void (*)(RuntimeObject *);
  if (auto key = EventOf<Handler>(mControl, StaticTextEvent::kAcceleratorKey))
    key(&mControl->control.header);
}

void StaticText::Activate() {}
void StaticText::Deactivate() {}

bool StaticText::UpdateBounds(QV::Rect *r) {
  *r = Bounds();
  return true;
}

void StaticText::ResizePane(const QV::Rect &r) { SubPane::ResizePane(r); }

void StaticText::InitializeBinding() {
  if (mDataSource.Compare(string("")) == 0) {
    RemoveBinding();
    return;
  }
  if (!mControl)
    return;
  // Only a data control keeps a list of bound controls.
  RuntimeObject *object = FindBindableDataControl(mControl->control.view, mDataSource);
  if (!object)
    return;
  RemoveBinding();
  mBoundDataControl = object;
  RuntimeDataControl::AddBindControl(object, &mControl->control.header, kDataAwareStaticText);
  DataControlRepopulateData(object);
}

void StaticText::RemoveBinding() {
  if (!mBoundDataControl)
    return;
  if (mControl)
    RuntimeDataControl::DelBindControl(mBoundDataControl, &mControl->control.header,
                                       kDataAwareStaticText);
  mBoundDataControl = nullptr;
}
