#include <algorithm>

#include <gtk/gtk.h>

#include "controls/ControlClasses.h"
#include "controls/ControlEventFiring.h"
#include "controls/ScrollerClass.h"
#include "graphics/Graphics.h"
#include "windows/GTKHelper.h"

void ScrollerDelegate::ScrollerValueChanged(Scroller *, int32_t, int32_t) {}
void ScrollerDelegate::ScrollerGotFocus(Scroller *) {}
void ScrollerDelegate::ScrollerLostFocus(Scroller *) {}

namespace {

// The integer the pane hands out for one of the range's doubles.
int32_t Truncated(gdouble v) { return static_cast<int32_t>(v); }

bool NarrowerThanTall(const QV::Rect &b) { return b.right - b.left < b.bottom - b.top; }

} // namespace

Scroller::Scroller(bool vertical, ScrollerDelegate *delegate, ContainerPane *container,
                   int32_t tabPanelIndex, const QV::Rect &bounds, bool liveScroll, bool slider)
    : ContainerPane(container, tabPanelIndex, bounds), mSlider(slider), mDelegate(delegate),
      mVertical(vertical) {
  GtkWidget *w;
  if (slider) {
    w = vertical ? gtk_vscale_new(nullptr) : gtk_hscale_new(nullptr);
    gtk_scale_set_draw_value(GTK_SCALE(w), FALSE);
  } else {
    w = vertical ? gtk_vscrollbar_new(nullptr) : gtk_hscrollbar_new(nullptr);
  }
  SetWidget(w);
  gtk_range_set_update_policy(GTK_RANGE(w),
                              liveScroll ? GTK_UPDATE_CONTINUOUS : GTK_UPDATE_DISCONTINUOUS);
  GTKHelper::SetupWidget(this, true);
  gtk_range_set_range(GTK_RANGE(w), 0, 100);
  gtk_range_set_increments(GTK_RANGE(w), 1, 20);
  GObject *o = G_OBJECT(w);
  g_signal_connect(o, "value-changed", G_CALLBACK(ValueChangedCallBack), this);
  g_signal_connect(o, "grab-focus", G_CALLBACK(GTKHelper::GenericFocusCallBack),
                   static_cast<SubPane *>(this));
  g_signal_connect(o, "button-press-event", G_CALLBACK(GTKHelper::GenericButtonPressedCallBack),
                   static_cast<SubPane *>(this));
  g_signal_connect(o, "button-release-event", G_CALLBACK(GTKHelper::GenericButtonReleasedCallBack),
                   static_cast<SubPane *>(this));
}

Scroller *NewHorizontalScroller(ScrollerDelegate *delegate, ContainerPane *container,
                                int32_t tabPanelIndex, const QV::Rect &bounds, bool liveScroll,
                                bool slider) {
  return new Scroller(false, delegate, container, tabPanelIndex, bounds, liveScroll, slider);
}

Scroller *NewVerticalScroller(ScrollerDelegate *delegate, ContainerPane *container,
                              int32_t tabPanelIndex, const QV::Rect &bounds, bool liveScroll,
                              bool slider) {
  return new Scroller(true, delegate, container, tabPanelIndex, bounds, liveScroll, slider);
}

Scroller *newScroller(ScrollerDelegate *delegate, ContainerPane *container, int32_t tabPanelIndex,
                      const QV::Rect &bounds, bool liveScroll) {
  return new Scroller(NarrowerThanTall(bounds), delegate, container, tabPanelIndex, bounds,
                      liveScroll, false);
}

Scroller *newSlider(ScrollerDelegate *delegate, ContainerPane *container, int32_t tabPanelIndex,
                    const QV::Rect &bounds, bool liveScroll) {
  return new Scroller(NarrowerThanTall(bounds), delegate, container, tabPanelIndex, bounds,
                      liveScroll, true);
}

GtkAdjustment *Scroller::Adjustment() const {
  return gtk_range_get_adjustment(GTK_RANGE(GetWidget()));
}

int32_t Scroller::GetValue() { return Truncated(gtk_range_get_value(GTK_RANGE(GetWidget()))); }

// GTK+ defers a "value-changed" raised inside another one until that one
// ends; the value counts as reported at once, so a change made inside a
// report is not reported after it.
void Scroller::SetValue(int32_t value) {
  gtk_range_set_value(GTK_RANGE(GetWidget()), value);
  UpdatePosition();
}

int32_t Scroller::GetMinimum() {
  return mPendingMinimum ? mMinimum : Truncated(Adjustment()->lower);
}

int32_t Scroller::GetMaximum() {
  return mPendingMaximum ? mMaximum : Truncated(Adjustment()->upper);
}

void Scroller::SetMaximum(int32_t maximum) {
  const int32_t minimum = mPendingMinimum ? mMinimum : Truncated(Adjustment()->lower);
  if (maximum > minimum) {
    ApplyRange(minimum, maximum);
    return;
  }
  mPendingMaximum = 1;
  mMaximum = maximum;
  HoldBack();
}

void Scroller::SetMinimum(int32_t minimum) {
  const int32_t maximum = mPendingMaximum ? mMaximum : Truncated(Adjustment()->upper);
  if (minimum < maximum) {
    ApplyRange(minimum, maximum);
    return;
  }
  mPendingMinimum = 1;
  mMinimum = minimum;
  HoldBack();
}

// GTK+ may move the value into the new range, which is reported as any
// other change. A control its program disabled stays disabled; a list box's
// scroller has no control and follows its range alone.
void Scroller::ApplyRange(int32_t minimum, int32_t maximum) {
  mPendingMinimum = mPendingMaximum = 0;
  gtk_range_set_range(GTK_RANGE(GetWidget()), minimum, maximum);
  UpdatePosition();
  const RuntimeControl *control = mObject ? AsControl(mObject) : nullptr;
  if (!control || control->enabled)
    EnablePane(true, true);
}

void Scroller::HoldBack() { EnablePane(false, true); }

int32_t Scroller::GetLineStep() { return Truncated(Adjustment()->step_increment); }

int32_t Scroller::GetPageStep() { return Truncated(Adjustment()->page_increment); }

void Scroller::SetLineStep(int32_t step) {
  gtk_range_set_increments(GTK_RANGE(GetWidget()), step, GetPageStep());
}

void Scroller::SetPageStep(int32_t step) {
  gtk_range_set_increments(GTK_RANGE(GetWidget()), GetLineStep(), step);
}

void Scroller::ValueChangedCallBack(GtkRange *, Scroller *pane) { pane->UpdatePosition(); }

// The value counts as reported before the delegate hears of it, so a change
// the delegate makes meanwhile is measured against the new value.
void Scroller::UpdatePosition() {
  const int32_t value = GetValue();
  if (value == mLastValue)
    return;
  const int32_t old = mLastValue;
  mLastValue = value;
  if (mDelegate)
    mDelegate->ScrollerValueChanged(this, old, value);
}

void Scroller::GainedFocus() {
  if (mDelegate && !IsClosing())
    mDelegate->ScrollerGotFocus(this);
}

void Scroller::LostFocus() {
  if (mDelegate && !IsClosing())
    mDelegate->ScrollerLostFocus(this);
}

bool Scroller::HandleClick(int32_t x, int32_t y, int32_t modifiers) {
  if (mObject && IsEnabled() &&
      FirePaneMouseDown(this, mObject, ScrollerEventHook(mSlider, ScrollerEvent::kMouseDown), x, y))
    return true;
  return SubPane::HandleClick(x, y, modifiers);
}

void Scroller::HandleMouseDrag(int32_t x, int32_t y) {
  FirePaneMouseEvent(this, mObject, ScrollerEventHook(mSlider, ScrollerEvent::kMouseDrag), x, y);
}

void Scroller::HandleMouseUp(int32_t x, int32_t y) {
  FirePaneMouseEvent(this, mObject, ScrollerEventHook(mSlider, ScrollerEvent::kMouseUp), x, y);
}

bool Scroller::HandleMouseWheel(int32_t, int32_t, int32_t) { return true; }

void Scroller::Close() {
  if (mObject) {
    RuntimeControl *control = AsControl(mObject);
    if (control && control->pane == this)
      control->pane = nullptr;
  }
  ContainerPane::Close();
}

void Scroller::DrawIntoOffscreen(Graphics *g) {
  if (mSlider)
    DrawSlider(g);
  else
    DrawScrollBar(g);
  SubPane::DrawIntoOffscreen(g);
}

namespace {

// A box or arrow of the range's theme in the offscreen drawable, given in
// along and across coordinates, and where the pane lies in them: its start
// along and across and its size each way.
struct BarPainter {
  GtkWidget *widget;
  GdkDrawable *drawable;
  bool vertical;
  GtkStateType track, rest;
  int32_t alongStart, acrossStart, alongSize, acrossSize;

  GdkRectangle Area(int32_t along, int32_t across, int32_t length, int32_t thickness) const {
    return vertical ? GdkRectangle{across, along, thickness, length}
                    : GdkRectangle{along, across, length, thickness};
  }
  void Box(GtkStateType state, GtkShadowType shadow, const char *detail,
           const GdkRectangle &r) const {
    gtk_paint_box(widget->style, drawable, state, shadow, nullptr, widget, detail, r.x, r.y,
                  r.width, r.height);
  }
  void Arrow(GtkArrowType type, const GdkRectangle &r) const {
    gtk_paint_arrow(widget->style, drawable, rest, GTK_SHADOW_OUT, nullptr, widget,
                    vertical ? "vscrollbar" : "hscrollbar", type, TRUE, r.x, r.y, r.width,
                    r.height);
  }
};

// The painter for the pane, or none when the drawable cannot take the theme
// (the theme paints only into drawables of its own depth).
bool PainterFor(Scroller *pane, Graphics *g, BarPainter *painter) {
  GdkDrawable *drawable = g->GetGdkDrawable();
  GtkWidget *widget = pane->GetWidget();
  if (!drawable || !widget || widget->style->depth != gdk_drawable_get_depth(drawable))
    return false;
  const bool enabled = pane->IsEnabled();
  const bool vertical = pane->IsVertical();
  const QV::Rect r = GTKHelper::TranslateRect(g, pane->Bounds());
  *painter = BarPainter{widget,
                        drawable,
                        vertical,
                        enabled ? GTK_STATE_ACTIVE : GTK_STATE_INSENSITIVE,
                        enabled ? GTK_STATE_NORMAL : GTK_STATE_INSENSITIVE,
                        vertical ? r.top : r.left,
                        vertical ? r.left : r.top,
                        vertical ? pane->Height() : pane->Width(),
                        vertical ? pane->Width() : pane->Height()};
  return true;
}

} // namespace

void Scroller::DrawScrollBar(Graphics *g) {
  BarPainter p;
  if (!PainterFor(this, g, &p))
    return;
  const int32_t alongSize = p.alongSize, acrossSize = p.acrossSize;
  const int32_t start = p.alongStart;
  const int32_t end = start + alongSize;
  const int32_t thick = std::min(acrossSize, 16);
  const int32_t across = p.acrossStart + (acrossSize - thick) / 2;
  const int32_t button = std::min(alongSize / 2, 14);
  const char *detail = mVertical ? "vscrollbar" : "hscrollbar";

  p.Box(p.track, GTK_SHADOW_IN, "through", p.Area(start, across, alongSize, thick));
  const GdkRectangle first = p.Area(start + 1, across + 1, button, thick - 2);
  const GdkRectangle last = p.Area(end - 1 - button, across + 1, button, thick - 2);
  p.Box(p.rest, GTK_SHADOW_OUT, detail, first);
  p.Arrow(mVertical ? GTK_ARROW_UP : GTK_ARROW_LEFT, first);
  p.Box(p.rest, GTK_SHADOW_OUT, detail, last);
  p.Arrow(mVertical ? GTK_ARROW_DOWN : GTK_ARROW_RIGHT, last);

  const int32_t s = start + button + 1;
  const int32_t a = end - button - s - 1;
  if (a <= 0)
    return;
  const int32_t length = std::min(a, 7);
  int32_t at = s;
  const int32_t maximum = GetMaximum();
  if (a >= 7 && maximum != 0) {
    const double ratio = static_cast<double>(GetValue()) / maximum;
    at = s + static_cast<int32_t>(ratio * a);
    if (ratio >= 0.5)
      at -= 3;
    at = std::min(std::max(at, s), s + a - length);
  }
  p.Box(p.rest, GTK_SHADOW_OUT, detail, p.Area(at, across + 1, length, thick - 2));
}

void Scroller::DrawSlider(Graphics *g) {
  BarPainter p;
  if (!PainterFor(this, g, &p))
    return;
  const int32_t alongSize = p.alongSize, acrossSize = p.acrossSize;
  const int32_t thick = std::min(acrossSize - 4, 16);
  if (thick <= 2 || alongSize <= 4)
    return;
  // The track is centred in the bounds less their 2-pixel margin.
  const int32_t start = p.alongStart + 2;
  const int32_t across = p.acrossStart + 2 + (acrossSize - 4 - thick) / 2;
  const int32_t length = alongSize - 4;
  p.Box(p.track, GTK_SHADOW_IN, "through", p.Area(start, across, length, thick));

  const int32_t knobStart = start + 1;
  int32_t travel = start + length - knobStart - 3;
  if (travel < 0)
    travel = length - 2;
  int32_t at = knobStart, knob = travel;
  if (travel > 30) {
    knob = 31;
    const int32_t minimum = GetMinimum(), maximum = GetMaximum();
    if (maximum != minimum)
      at += static_cast<int32_t>(static_cast<double>(GetValue() - minimum) / (maximum - minimum) *
                                 (travel - 31));
  }
  const GdkRectangle k = p.Area(at, across + 1, knob, thick - 2);
  gtk_paint_slider(p.widget->style, p.drawable, p.rest, GTK_SHADOW_OUT, nullptr, p.widget, "slider",
                   k.x, k.y, k.width, k.height,
                   mVertical ? GTK_ORIENTATION_VERTICAL : GTK_ORIENTATION_HORIZONTAL);
}
