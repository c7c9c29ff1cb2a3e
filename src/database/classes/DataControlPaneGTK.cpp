// The DataControl's navigation bar on a GTK+ drawing area: the buttons are
// painted as GTK+ boxes with the stock navigation icons scaled into them,
// the caption box and text are drawn through the pane's graphics.
#include <algorithm>
#include <iterator>

#include <gtk/gtk.h>

#include "database/classes/DataControlClass.h"
#include "database/classes/DataControlPane.h"
#include "graphics/Graphics.h"
#include "runtime/loop/PaneInterface.h"
#include "windows/GTKHelper.h"
#include "windows/Window.h"

namespace {

// The four icons, rendered once for the whole program; nil where the theme
// has none.
struct NavIcons {
  GdkPixbuf *icons[4] = {};
  int32_t width = 0, height = 0;
};

const NavIcons &Icons(GtkWidget *widget) {
  static NavIcons icons;
  static bool rendered = false;
  if (!rendered) {
    rendered = true;
    const char *names[] = {"gtk-goto-first", "gtk-go-back", "gtk-go-forward", "gtk-goto-last"};
    for (size_t i = 0; i < std::size(names); ++i)
      icons.icons[i] = gtk_widget_render_icon(widget, names[i], GTK_ICON_SIZE_MENU, nullptr);
    if (icons.icons[0]) {
      icons.width = gdk_pixbuf_get_width(icons.icons[0]);
      icons.height = gdk_pixbuf_get_height(icons.icons[0]);
    }
  }
  return icons;
}

} // namespace

int32_t CalculateButtonWidth(int32_t width, int32_t height) {
  int32_t side = height;
  if (width < 5 * height)
    side = width / 5;
  return std::max(0, std::min(side, 35));
}

QV::Rect NavButtonRect(const QV::Rect &b, int32_t button) {
  const int32_t w = CalculateButtonWidth(b.right - b.left, b.bottom - b.top);
  int32_t left = b.left;
  switch (button) {
  case kNavFirst: left = b.left; break;
  case kNavPrevious: left = b.left + w; break;
  case kNavNext: left = b.right - 2 * w; break;
  case kNavLast: left = b.right - w; break;
  default: return QV::Rect{b.top, b.left, b.top, b.left};
  }
  return QV::Rect{b.top, int16_t(left), b.bottom, int16_t(left + w)};
}

int32_t NavButtonState(int32_t button, int32_t pressed, int32_t hover, bool enabled, bool back, bool forward) {
  if (button == pressed)
    return GTK_STATE_ACTIVE;
  const bool flag = button == kNavFirst || button == kNavPrevious ? back : forward;
  if (enabled && flag)
    return button == hover ? GTK_STATE_PRELIGHT : GTK_STATE_NORMAL;
  return GTK_STATE_INSENSITIVE;
}

int32_t CaptionStart(const QV::Rect &b, int32_t w, int32_t alignment, int32_t textWidth) {
  const int32_t e = b.left + 2 * w + 5;
  int32_t x = e;
  if (alignment == 1)
    x = (b.right - 2 * w - e - textWidth - 5) / 2 + e;
  else if (alignment == 2)
    x = b.right - 2 * w - textWidth - 5;
  return std::max(x, e);
}

QV::RGBColor CaptionColor(int32_t color, bool dimmed) {
  uint32_t c[3] = {uint32_t(color >> 16 & 0xFF) * 257, uint32_t(color >> 8 & 0xFF) * 257,
                   uint32_t(color & 0xFF) * 257};
  if (dimmed)
    for (uint32_t &v : c)
      v = (v + 0x18000) / 4;
  return QV::RGBColor{uint16_t(c[0]), uint16_t(c[1]), uint16_t(c[2])};
}

DataControl::DataControl(DataControlDelegate *delegate, ContainerPane *parent, int32_t index,
                         const QV::Rect &bounds)
    : SubPane(parent, index, bounds, true), mDelegate(delegate) {
  SetWidget(gtk_drawing_area_new());
  GTKHelper::SetupWidget(this, true);
  g_signal_connect(GetWidget(), "expose-event", G_CALLBACK(GTKHelper::GenericPaintCallBack),
                   static_cast<SubPane *>(this));
}

DataControl::~DataControl() {
  if (mDatabase)
    DropRecordSet();
  RuntimeUnlockObject(mDatabase);
  mDatabase = nullptr;
}

void DataControl::Close() {
  if (mObject) {
    DataControlClearBoundList(mObject);
    if (mObject->control.pane == this)
      mObject->control.pane = nullptr;
    mObject = nullptr;
  }
  mDelegate = nullptr;
  SubPane::Close();
}

int32_t DataControl::Baseline(Graphics *g) {
  g->TextFont(&mFont);
  return g->FontAscent() + (Height() - g->FontHeight()) / 2;
}

bool DataControl::GetBaseline() { return true; }

void DataControl::Activate() { SubPane::Activate(); }
void DataControl::Deactivate() { SubPane::Deactivate(); }
void DataControl::MovePane(const QV::Rect &r, bool redraw) { SubPane::MovePane(r, redraw); }

void DataControl::EnablePane(bool enable, bool redraw) {
  if (IsEnabled() == enable)
    return;
  SubPane::EnablePane(enable, redraw);
  if (redraw)
    InvalidatePane(false);
}

bool DataControl::UpdateBounds(QV::Rect *r) {
  *r = Bounds();
  return true;
}

bool DataControl::SetTextColor(int32_t color) {
  if (color == mTextColor)
    return false;
  mTextColor = color;
  return true;
}

void DataControl::InvalidateHalf(bool back) {
  const QV::Rect a = NavButtonRect(Bounds(), back ? kNavFirst : kNavNext);
  const QV::Rect b = NavButtonRect(Bounds(), back ? kNavPrevious : kNavLast);
  InvalidatePaneRect(std::min(a.left, b.left), a.top, std::max(a.right, b.right), a.bottom, false);
}

void DataControl::DrawNavigationalButton(Graphics *g, const QV::Rect &rect, int32_t button, int32_t state) {
  if (!g->GetPane() || !g->GetPane()->isSubPane())
    return;
  GdkDrawable *drawable = g->GetGdkDrawable();
  GtkWidget *w = GetWidget();
  if (!drawable || !w || !w->style)
    return;
  const QV::Rect r = GTKHelper::TranslateRect(g, rect);
  const int32_t width = r.right - r.left, height = r.bottom - r.top;
  GdkRectangle clip{r.left, r.top, width, height};
  gtk_paint_box(w->style, drawable, GtkStateType(state), GTK_SHADOW_OUT, &clip, w, nullptr, r.left, r.top,
                width, height);
  const NavIcons &icons = Icons(w);
  GdkPixbuf *icon = button >= kNavFirst && button <= kNavLast ? icons.icons[button - 1] : nullptr;
  const int32_t insetWidth = width - 6, insetHeight = height - 6;
  // A button too small for an inset, or a theme without the icon, gets
  // the box alone.
  if (!icon || insetWidth <= 0 || insetHeight <= 0 || icons.width <= 0 || icons.height <= 0)
    return;
  GdkPixbuf *scaled = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, insetWidth, insetHeight);
  if (!scaled)
    return;
  gdk_pixbuf_fill(scaled, 0);
  gdk_pixbuf_scale(icon, scaled, 0, 0, insetWidth, insetHeight, 0, 0, double(insetWidth) / icons.width,
                   double(insetHeight) / icons.height, GDK_INTERP_BILINEAR);
  gdk_pixbuf_render_to_drawable(scaled, drawable, w->style->black_gc, 0, 0, r.left + 3, r.top + 3,
                                insetWidth, insetHeight, GDK_RGB_DITHER_NONE, 0, 0);
  g_object_unref(scaled);
}

void DataControl::Redraw(Graphics *g) {
  if (!IsShowing())
    return;
  g->TextFont(&mFont);
  g->TextFace(mFont.getMacStyle());
  EstablishDrawingSurface();
  const QV::Rect b = Bounds();
  const int32_t w = ButtonWidth();
  for (int32_t button : {kNavFirst, kNavPrevious, kNavLast, kNavNext})
    DrawNavigationalButton(g, NavButtonRect(b, button), button,
                           NavButtonState(button, mPressed, mHover, IsEnabled(), mBack, mForward));
  QV::Rect box{b.top, int16_t(b.left + 2 * w - 2), b.bottom, int16_t(b.right - 2 * w + 2)};
  const QV::RGBColor frame{4883, 4883, 4883}, white{65535, 65535, 65535};
  g->RGBForeColor(&frame);
  g->FrameRect(&box);
  QV::Rect inside{int16_t(box.top + 1), int16_t(box.left + 1), int16_t(box.bottom - 1), int16_t(box.right - 1)};
  g->RGBForeColor(&white);
  g->FillRect(&inside);
  const QV::RGBColor text = CaptionColor(mTextColor, !IsEnabled() || !IsActive());
  g->RGBForeColor(&text);
  const string caption(mCaption.c_str());
  const int32_t e = b.left + 2 * w + 5;
  const int32_t x = CaptionStart(b, w, mAlignment, g->StringWidth(caption));
  const int32_t room = b.right - 2 * w - e - 5;
  if (room > 0)
    g->DrawConstrainedString(caption, x, b.top + Baseline(g), room - (x - e), string("..."), &inside);
}

int32_t DataControl::ButtonAt(int32_t x, int32_t y) const {
  const QV::Point p{y, x};
  for (int32_t button : {kNavFirst, kNavPrevious, kNavNext, kNavLast}) {
    QV::Rect r = NavButtonRect(Bounds(), button);
    const bool flag = button == kNavFirst || button == kNavPrevious ? mBack : mForward;
    if (flag && QV::PtInRect(p, &r))
      return button;
  }
  return kNavNone;
}

bool DataControl::HandleClick(int32_t x, int32_t y, int32_t) {
  mPressed = kNavNone;
  if (IsEnabled()) {
    if (int32_t button = ButtonAt(x, y)) {
      mPressed = button;
      CaptureMouse(this);
      QV::Rect r = NavButtonRect(Bounds(), button);
      InvalidatePaneRect(&r, false);
    }
  }
  return true;
}

void DataControl::HandleMouseMove(int32_t x, int32_t y) {
  const int32_t button = IsEnabled() ? ButtonAt(x + Bounds().left, y + Bounds().top) : kNavNone;
  if (button == mHover)
    return;
  if (mHover) {
    QV::Rect old = NavButtonRect(Bounds(), mHover);
    InvalidatePaneRect(&old, false);
  }
  mHover = button;
  if (button) {
    QV::Rect r = NavButtonRect(Bounds(), button);
    InvalidatePaneRect(&r, false);
  }
}

void DataControl::HandleMouseUp(int32_t x, int32_t y) {
  const int32_t pressed = mPressed;
  if (!pressed)
    return;
  QV::Rect r = NavButtonRect(Bounds(), pressed);
  const QV::Point p{y, x};
  if (QV::PtInRect(p, &r) && mObject) {
    Protect();
    DataControlObject *object = mObject;
    RuntimeLockObject(&object->control.header);
    bool handled = false;
    if (mDelegate) {
      switch (pressed) {
      case kNavFirst: handled = mDelegate->DataControlMoveFirst(object); break;
      case kNavPrevious: handled = mDelegate->DataControlMovePrev(object); break;
      case kNavNext: handled = mDelegate->DataControlMoveNext(object); break;
      case kNavLast: handled = mDelegate->DataControlMoveLast(object); break;
      }
    }
    if (!handled && mObject == object) {
      switch (pressed) {
      case kNavFirst: MoveFirst(); break;
      case kNavPrevious: MovePrevious(); break;
      case kNavNext: MoveNext(); break;
      case kNavLast: MoveLast(); break;
      }
    }
    RuntimeUnlockObject(&object->control.header);
    if (UnprotectCausesDeath())
      return;
  }
  mPressed = kNavNone;
  InvalidatePaneRect(&r, false);
}

void DataControl::HandleMouseExit() {
  if (!mHover)
    return;
  QV::Rect r = NavButtonRect(Bounds(), mHover);
  mHover = kNavNone;
  InvalidatePaneRect(&r, false);
}
