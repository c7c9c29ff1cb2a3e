#include "controls/ShapePanes.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdlib>

#include "controls/ControlClasses.h"
#include "controls/ControlEventFiring.h"
#include "controls/ShapeControlClasses.h"
#include "graphics/Graphics.h"

// The look fields follow the SubPane fields; the accessors address them by
// byte offset as they do the object's fields.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
int32_t ShapePaneOffset(ShapeField field) {
  switch (field) {
  case ShapeField::kRectFill:
    return offsetof(EditRect, fillColor);
  case ShapeField::kRectTopLeft:
    return offsetof(EditRect, topLeftColor);
  case ShapeField::kRectBottomRight:
    return offsetof(EditRect, bottomRightColor);
  case ShapeField::kRectBorder:
    return offsetof(EditRect, borderWidth);
  case ShapeField::kOvalFill:
    return offsetof(EditOval, fillColor);
  case ShapeField::kOvalBorderColor:
    return offsetof(EditOval, borderColor);
  case ShapeField::kOvalBorder:
    return offsetof(EditOval, borderWidth);
  case ShapeField::kRoundFill:
    return offsetof(EditRoundRect, fillColor);
  case ShapeField::kRoundBorderColor:
    return offsetof(EditRoundRect, borderColor);
  case ShapeField::kRoundBorder:
    return offsetof(EditRoundRect, borderWidth);
  case ShapeField::kRoundOvalWidth:
    return offsetof(EditRoundRect, ovalWidth);
  case ShapeField::kRoundOvalHeight:
    return offsetof(EditRoundRect, ovalHeight);
  case ShapeField::kLineColor:
    return offsetof(EditLine, lineColor);
  case ShapeField::kLinePen:
    return offsetof(EditLine, penWidth);
  }
  return 0;
}
#pragma GCC diagnostic pop

QV::RGBColor ShapeColor(int32_t rgb) {
  auto channel = [&](int shift) { return static_cast<uint16_t>(((rgb >> shift) & 0xFF) * 257); };
  return QV::RGBColor{channel(16), channel(8), channel(0)};
}

namespace {

// Keeps the context's colour and pen across a shape's drawing.
class SavedColour {
public:
  explicit SavedColour(Graphics *g) : mG(g), mColour(g->GetForeColor()) {}
  ~SavedColour() {
    mG->RGBForeColor(&mColour);
    mG->PenNormal();
  }
  void Use(int32_t rgb) {
    const QV::RGBColor c = ShapeColor(rgb);
    mG->RGBForeColor(&c);
  }

private:
  Graphics *mG;
  QV::RGBColor mColour;
};

RuntimeControl *ControlOf(RuntimeObject *object) { return object ? AsControl(object) : nullptr; }

} // namespace

ShapePane::ShapePane(ShapeKind kind, ContainerPane *container, int32_t tabPanelIndex,
                     const QV::Rect &bounds)
    : SubPane(container, tabPanelIndex, bounds, true), mKind(kind) {}

bool ShapePane::HandleMouseDownIfTaken(int32_t x, int32_t y) {
  return FirePaneMouseDown(this, mObject, ShapeEventHook(mKind, ShapeEvent::kMouseDown), x, y);
}

void ShapePane::HandleMouseDrag(int32_t x, int32_t y) {
  FirePaneMouseEvent(this, mObject, ShapeEventHook(mKind, ShapeEvent::kMouseDrag), x, y);
}

void ShapePane::HandleMouseUp(int32_t x, int32_t y) {
  FirePaneMouseEvent(this, mObject, ShapeEventHook(mKind, ShapeEvent::kMouseUp), x, y);
}

void ShapePane::Close() {
  if (RuntimeControl *control = ControlOf(mObject); control && control->pane == this)
    control->pane = nullptr;
  SubPane::Close();
}

bool ClosedShapePane::HandleClick(int32_t x, int32_t y, int32_t) {
  return IsEnabled() && HandleMouseDownIfTaken(x, y);
}

void EditRect::Redraw(Graphics *g) {
  if (!IsVisible())
    return;
  SavedColour saved(g);
  const QV::Rect &r = Bounds();
  const int32_t b = std::abs(static_cast<int32_t>(borderWidth));
  QV::Rect inside = r;
  QV::InsetRect(&inside, b, b);
  saved.Use(fillColor);
  g->FillRect(&inside);
  if (b == 0)
    return;
  saved.Use(topLeftColor);
  for (int32_t i = 0; i < b; ++i) {
    g->MoveTo(r.left + i, r.bottom - i - 1);
    g->LineTo(r.left + i, r.top + i);
    g->LineTo(r.right - i - 1, r.top + i);
  }
  saved.Use(bottomRightColor);
  for (int32_t i = 0; i < b; ++i) {
    g->MoveTo(r.left + i + 1, r.bottom - i - 1);
    g->LineTo(r.right - i - 1, r.bottom - i - 1);
    g->LineTo(r.right - i - 1, r.top + i + 1);
  }
}

void EditOval::Redraw(Graphics *g) {
  if (!IsVisible())
    return;
  SavedColour saved(g);
  const QV::Rect &r = Bounds();
  saved.Use(fillColor);
  g->FillOval(&r);
  if (borderWidth == 0)
    return;
  const int32_t b = std::abs(static_cast<int32_t>(borderWidth));
  saved.Use(borderColor);
  g->PenSize(b, b);
  g->FrameOval(&r);
}

void EditRoundRect::Redraw(Graphics *g) {
  if (!IsVisible())
    return;
  SavedColour saved(g);
  const QV::Rect &r = Bounds();
  saved.Use(fillColor);
  g->FillRoundRect(&r, ovalWidth, ovalHeight);
  if (borderWidth == 0)
    return;
  const int32_t b = std::abs(static_cast<int32_t>(borderWidth));
  saved.Use(borderColor);
  g->PenSize(b, b);
  g->FrameRoundRect(&r, ovalWidth, ovalHeight);
}

bool EditLine::OnLine(int32_t x, int32_t y) const {
  const double dx = static_cast<double>(x2) - x1, dy = static_cast<double>(y2) - y1;
  if (dx == 0 && dy == 0)
    return true;
  const double cross = (static_cast<double>(y) - y1) * dx - (static_cast<double>(x) - x1) * dy;
  return std::trunc(cross * cross / (dx * dx + dy * dy)) < 36;
}

bool EditLine::HandleClick(int32_t x, int32_t y, int32_t) {
  return OnLine(x, y) && HandleMouseDownIfTaken(x, y);
}

void EditLine::InvalidatePane(bool erase) {
  const int32_t w = penWidth;
  InvalidatePaneRect(std::min(x1, x2) - w, std::min(y1, y2) - w, std::max(x1, x2) + w,
                     std::max(y1, y2) + w, erase);
}

void EditLine::Redraw(Graphics *g) {
  if (!IsVisible())
    return;
  SavedColour saved(g);
  const int32_t w = penWidth;
  g->PenSize(w, w);
  if (lineColor != 0)
    saved.Use(lineColor);
  PlaceWidget();
  int32_t ax = x1, ay = y1, bx = x2, by = y2;
  if (ax > bx) {
    std::swap(ax, bx);
    std::swap(ay, by);
  }
  // The context's lines include their end point, so a thin line ends at
  // the second point itself.
  if (w < 2) {
    g->MoveTo(ax, ay);
    g->LineTo(bx, by);
    return;
  }
  auto square = [&](int32_t x, int32_t y) {
    QV::Rect r;
    QV::SetRect(&r, x, y, x + w, y + w);
    g->FillRect(&r);
  };
  if (ax == bx) {
    for (int32_t y = std::min(ay, by); y <= std::max(ay, by); ++y)
      square(ax, y);
  } else if (ay == by) {
    for (int32_t x = ax; x <= bx; ++x)
      square(x, ay);
  } else {
    const double step = static_cast<double>(bx - ax) / std::abs(by - ay);
    const int32_t s = by > ay ? 1 : -1;
    double x = ax;
    for (int32_t y = ay; x <= bx; x += step, y += s)
      square(static_cast<int32_t>(x), y);
  }
}
