#include <algorithm>

#include <gtk/gtk.h>

#include "controls/ControlEventFiring.h"
#include "controls/ProgressBarClass.h"
#include "graphics/Graphics.h"
#include "windows/GTKHelper.h"

namespace {

RuntimeObject *ObjectOf(ProgressBar *bar) {
  return bar->Object() ? &bar->Object()->control.header : nullptr;
}

} // namespace

int32_t ProgressFillWidth(int32_t value, int32_t maximum, int32_t width) {
  if (maximum <= 0 || width <= 0)
    return 0;
  const int64_t fill = static_cast<int64_t>(value) * width / maximum;
  return static_cast<int32_t>(std::clamp<int64_t>(fill, 0, width));
}

ProgressBar::ProgressBar(ContainerPane *container, int32_t tabPanelIndex, const QV::Rect &bounds,
                         int32_t value, int32_t maximum)
    : SubPane(container, tabPanelIndex, bounds, true), mMaximum(maximum), mValue(value) {
  SetWidget(gtk_progress_bar_new());
  GTKHelper::SetupWidget(this, true);
  if (mMaximum > 0)
    SetValue(value);
  else
    Pulse();
}

void ProgressBar::Pulse() {
  GtkProgressBar *bar = GTK_PROGRESS_BAR(GetWidget());
  gtk_progress_bar_set_pulse_step(bar, 0.1);
  gtk_progress_bar_pulse(bar);
}

void ProgressBar::SetValue(int32_t value) {
  mValue = value;
  if (mMaximum <= 0)
    return;
  const double fraction = std::clamp(static_cast<double>(value) / mMaximum, 0.0, 1.0);
  gtk_progress_bar_set_fraction(GTK_PROGRESS_BAR(GetWidget()), fraction);
}

void ProgressBar::SetMaximum(int32_t maximum) {
  mMaximum = maximum;
  if (maximum > 0)
    SetValue(mValue);
  else
    Pulse();
}

bool ProgressBar::HandleClick(int32_t x, int32_t y, int32_t) {
  return FirePaneMouseDown(this, ObjectOf(this), ProgressBarEventHook(ProgressBarEvent::kMouseDown),
                           x, y);
}

void ProgressBar::HandleMouseDrag(int32_t x, int32_t y) {
  FirePaneMouseEvent(this, ObjectOf(this), ProgressBarEventHook(ProgressBarEvent::kMouseDrag), x,
                     y);
}

void ProgressBar::HandleMouseUp(int32_t x, int32_t y) {
  FirePaneMouseEvent(this, ObjectOf(this), ProgressBarEventHook(ProgressBarEvent::kMouseUp), x, y);
}

void ProgressBar::Close() {
  if (mObject && mObject->control.pane == this)
    mObject->control.pane = nullptr;
  SubPane::Close();
}

// In the pulsing mode (a maximum of 0 or less) only the trough is drawn.
void ProgressBar::DrawIntoOffscreen(Graphics *g) {
  GdkDrawable *drawable = g->GetGdkDrawable();
  GtkWidget *w = GetWidget();
  if (drawable && w && w->style->depth == gdk_drawable_get_depth(drawable)) {
    const QV::Rect r = GTKHelper::TranslateRect(g, Bounds());
    gtk_paint_box(w->style, drawable, GTK_STATE_NORMAL, GTK_SHADOW_IN, nullptr, w, "through",
                  r.left, r.top, Width(), Height());
    const int32_t fill = ProgressFillWidth(mValue, mMaximum, Width() - 4);
    if (fill > 0)
      gtk_paint_box(w->style, drawable, GTK_STATE_PRELIGHT, GTK_SHADOW_OUT, nullptr, w, "bar",
                    r.left + 2, r.top + 2, fill, Height() - 4);
  }
  SubPane::DrawIntoOffscreen(g);
}
