#include <gtk/gtk.h>

#include "controls/BevelButton.h"
#include "graphics/Graphics.h"
#include "language/RuntimeArray.h"
#include "runtime/application/KaleidoscopeColor.h"
#include "runtime/loop/PaneInterface.h"
#include "windows/GTKHelper.h"

void BevelButtonDelegate::BevelChangeCursor(BevelButton *, int32_t, int32_t) {}
void BevelButtonDelegate::BevelButtonClicked(BevelButton *) {}
void BevelButtonDelegate::BevelButtonDown(BevelButton *) {}
void BevelButtonDelegate::BevelMouseDrag(BevelButton *, int32_t, int32_t) {}
void BevelButtonDelegate::BevelMouseOver(BevelButton *, int32_t, int32_t) {}
bool BevelButtonDelegate::BevelUpdate(BevelButton *) { return false; }

BevelButton::BevelButton(BevelButtonDelegate *delegate, const FontStructure &font,
                         SubPane *parent, int32_t tabPanelIndex, const QV::Rect &bounds,
                         const string &title, BevelButtonType type)
    : SubPane(parent, tabPanelIndex, bounds, true), mBevelDelegate(delegate), mTitle(title),
      mType(type) {
  SetWidget(gtk_fixed_new());
  GTKHelper::SetupWidget(this, true);
  g_signal_connect(GetWidget(), "expose-event", G_CALLBACK(GTKHelper::GenericPaintCallBack),
                   static_cast<SubPane *>(this));
  setFont(font);
  ReassignParent(parent);
}

void BevelButton::EstablishDrawingSurface() {}
void BevelButton::ResetDrawingSurface() {}

void BevelButton::InvalidateIfShowing() {
  if (IsShowing())
    InvalidatePane(true);
}

bool BevelButton::Inside(int32_t x, int32_t y) const {
  QV::Rect r = Bounds();
  return QV::PtInRect(QV::Point{y, x}, &r);
}

void BevelButton::setTitle(const string &title) {
  mTitle = title;
  InvalidatePane(true);
}

void BevelButton::setFont(const FontStructure &font) {
  SetFontName(font.name);
  SetFontSize(font.size);
  SetStyle(font.Style());
  InvalidateIfShowing();
}

void BevelButton::setValue(int32_t value) {
  if (value != mValue) {
    mValue = value;
  } else if (value == 1) {
    if (mSortDirection == 1 || mSortDirection == -1)
      mSortDirection = -mSortDirection;
  } else {
    return;
  }
  InvalidateIfShowing();
}

void BevelButton::Redraw(Graphics *g) {
  g->SelectGraphics();
  QV::Rect visible;
  if (!GetVisibleUpdateBounds(&visible) || visible.right <= visible.left ||
      visible.bottom <= visible.top)
    return;
  DrawGTKThemedHeaders(g);
  DrawSortArrow(g);
}

void BevelButton::DrawIntoOffscreen(Graphics *g) { Redraw(g); }

// Pressed or on: sunk; under the mouse: lit; otherwise plain.
void BevelButton::DrawGTKThemedHeaders(Graphics *g) {
  GtkWidget *widget = GetWidget();
  GdkDrawable *drawable = g->GetGdkDrawable();
  if (!widget || !widget->window || !drawable)
    return;
  GtkStateType state = GTK_STATE_NORMAL;
  GtkShadowType shadow = GTK_SHADOW_OUT;
  if (mValue || mPressed) {
    state = GTK_STATE_ACTIVE;
    shadow = GTK_SHADOW_IN;
  } else if (mHover) {
    state = GTK_STATE_PRELIGHT;
  }
  QV::Rect r = GTKHelper::TranslateRect(g, Bounds());
  GdkRectangle area{r.left, r.top, Width(), Height()};
  gtk_paint_box(widget->style, drawable, state, shadow, &area, widget, nullptr, area.x, area.y,
                area.width, area.height);
  DrawContent(g);
}

void BevelButton::DrawContent(Graphics *g) {
  QV::RGBColor saved = g->GetForeColor();
  QV::RGBColor colour{0xFFFF, 0xFFFF, 0xFFFF};
  if (!mPressed)
    KaleidoscopeColor(kTextColor, &colour, nullptr);
  g->RGBForeColor(&colour);
  g->TextFont(FontName());
  g->TextSize(FontSize());
  g->TextFace(Style());
  const QV::Rect &b = Bounds();
  const int32_t w = g->StringWidth(mTitle);
  const int32_t y = b.top + (g->FontAscent() + Height()) / 2 - 1;
  if (w < Width() - 10)
    g->DrawString(mTitle, b.left + (Width() - w) / 2, y);
  else
    g->DrawConstrainedString(mTitle, b.left + 5, y, Width() - 10, string("..."), nullptr);
  g->RGBForeColor(&saved);
}

// A triangle 10 wide and 5 high, 5 pixels inside the right edge: apex up
// for an ascending sort, down for a descending one.
void BevelButton::DrawSortArrow(Graphics *g) {
  if (!mValue || !mSortDirection)
    return;
  g->TextFont(FontName());
  g->TextSize(FontSize());
  g->TextFace(Style());
  if (g->StringWidth(mTitle) / 2 >= Width() / 2 - 15)
    return;
  const int32_t right = Width() - 5, left = right - 10;
  const int32_t top = (Height() - 5) / 2, bottom = top + 5;
  const int32_t apex = mSortDirection == 1 ? top : bottom;
  const int32_t base = mSortDirection == 1 ? bottom : top;
  RuntimeArray *points = CreateArray(1, kIntegerElements, -1);
  if (!points)
    return;
  for (int32_t v : {0, left, base, right, base, (left + right) / 2, apex})
    RuntimeIntArrayAppend(points, v); // element 0 is not a coordinate
  g->DrawPolygon(points, true);
  RuntimeUnlockArray(points);
}

void BevelButton::Update() {
  if (mBevelDelegate && mBevelDelegate->BevelUpdate(this))
    return;
  SubPane::Update();
}

bool BevelButton::HandleClick(int32_t x, int32_t y, int32_t) {
  if (!IsEnabled() || !Inside(x, y))
    return false;
  mPressed = 1;
  Update();
  if (mBevelDelegate)
    mBevelDelegate->BevelButtonDown(this);
  CaptureMouse(this);
  return true;
}

void BevelButton::HandleMouseDrag(int32_t x, int32_t y) {
  const uint8_t inside = Inside(x, y);
  if (inside != mPressed) {
    mPressed = inside;
    Update();
  }
  if (mBevelDelegate)
    mBevelDelegate->BevelMouseDrag(this, x, y);
}

void BevelButton::HandleMouseUp(int32_t, int32_t) {
  if (!mPressed)
    return;
  mPressed = 0;
  Update();
  if (mBevelDelegate)
    mBevelDelegate->BevelButtonClicked(this);
}

void BevelButton::HandleMouseMove(int32_t x, int32_t y) {
  if (!IsEnabled() || !mBevelDelegate)
    return;
  mBevelDelegate->BevelChangeCursor(this, x + Bounds().left, y + Bounds().top);
  mBevelDelegate->BevelMouseOver(this, x + Bounds().left, y + Bounds().top);
}

void BevelButton::HandleMouseEnter() {
  if (!IsEnabled())
    return;
  mHover = 1;
  InvalidatePane(true);
}

void BevelButton::HandleMouseExit() {
  if (!IsEnabled())
    return;
  mHover = 0;
  InvalidatePane(true);
}

void BevelButton::HandleAction(int32_t action) {
  if (action != 2000 || !mBevelDelegate) {
    SubPane::HandleAction(action);
    return;
  }
  Protect();
  mBevelDelegate->BevelButtonClicked(this);
  UnprotectCausesDeath();
}

void BevelButton::EnablePane(bool enable, bool redraw) {
  if (enable == IsEnabled())
    return;
  SubPane::EnablePane(enable, redraw);
  if (IsShowing())
    SubPane::Update();
}
