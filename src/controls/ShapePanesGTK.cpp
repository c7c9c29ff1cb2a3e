#include <algorithm>

#include <gtk/gtk.h>

#include "controls/ShapePanes.h"
#include "windows/GTKHelper.h"
#include "windows/Window.h"

namespace {

// A widget that only paints: its exposes reach the pane's Redraw.
void SetUpDrawn(SubPane *pane) {
  GTKHelper::SetupWidget(pane, true);
  g_signal_connect(pane->GetWidget(), "expose-event", G_CALLBACK(GTKHelper::GenericPaintCallBack),
                   pane);
}

} // namespace

EditRect::EditRect(ContainerPane *container, int32_t tabPanelIndex, const QV::Rect &bounds)
    : ClosedShapePane(ShapeKind::kRectangle, container, tabPanelIndex, bounds) {
  SetWidget(gtk_drawing_area_new());
  SetUpDrawn(this);
}

EditOval::EditOval(ContainerPane *container, int32_t tabPanelIndex, const QV::Rect &bounds)
    : ClosedShapePane(ShapeKind::kOval, container, tabPanelIndex, bounds) {
  SetWidget(gtk_drawing_area_new());
  SetUpDrawn(this);
}

EditRoundRect::EditRoundRect(ContainerPane *container, int32_t tabPanelIndex,
                             const QV::Rect &bounds)
    : ClosedShapePane(ShapeKind::kRoundRect, container, tabPanelIndex, bounds) {
  SetWidget(gtk_drawing_area_new());
  SetUpDrawn(this);
}

EditLine::EditLine(ContainerPane *container, int32_t tabPanelIndex, const QV::Rect &bounds)
    : ShapePane(ShapeKind::kLine, container, tabPanelIndex, bounds) {
  SetWidget(gtk_fixed_new());
  SetUpDrawn(this);
}

void EditLine::PlaceWidget() {
  const int32_t w = penWidth;
  const QV::Rect &b = Bounds();
  QV::Rect r;
  QV::SetRect(&r, b.left - w / 2, b.top - w / 2, b.right + w, b.bottom + w);
  Window *window = GetWindow();
  if (QV::EqualRect(&r, &mPlaced) || !window)
    return;
  mPlaced = r;
  gtk_fixed_move(GTK_FIXED(window->GetFixed()), GetWidget(), r.left, r.top);
  gtk_widget_set_size_request(GetWidget(), std::max(0, r.right - r.left),
                              std::max(0, r.bottom - r.top));
}

void EditLine::MovePane(const QV::Rect &r, bool redraw) {
  SubPane::MovePane(r, redraw);
  PlaceWidget();
}
