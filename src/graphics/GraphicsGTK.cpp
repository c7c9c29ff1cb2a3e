// The drawing context's operations on GDK and Pango: primitives on the pane's
// GDK drawable, colours, clipping, pixels, and text laid out by Pango.
#include <gtk/gtk.h>

#include <cstddef>

#include "foundation/AssertionAlert.h"
#include "graphics/Graphics.h"
#include "graphics/ShapeServices.h"
#include "language/RuntimeArray.h"
#include "windows/GTKHelper.h"
#include "windows/SubPane.h"
#include "windows/Window.h"

namespace {

constexpr const char *kSource = "../Common/Linux/GraphicsLinux";

void Alert(int line, const char *condition) {
  DisplayRuntimeErrorAlert(kAssertionCode, kAssertionNumber, kSource, line, condition, nullptr);
}

// Pango units to whole pixels, halves away from zero.
int32_t PangoToPixels(int32_t v) { return v >= 0 ? (v + 512) / 1024 : (v - 512) / 1024; }

void NormalizeRect(QV::Rect *r) {
  if (r->left > r->right)
    std::swap(r->left, r->right);
  if (r->top > r->bottom)
    std::swap(r->top, r->bottom);
}

// A colour allocated in the drawable's colormap and set as the GDK context's
// foreground; drawables without a colormap take GDK's RGB match.
void SetGCForeground(GdkGC *gc, GdkDrawable *d, const QV::RGBColor &c) {
  GdkColor color{0, c.red, c.green, c.blue};
  if (GdkColormap *map = gdk_drawable_get_colormap(d)) {
    gdk_colormap_alloc_color(map, &color, FALSE, TRUE);
    gdk_gc_set_foreground(gc, &color);
  } else {
    gdk_gc_set_rgb_fg_color(gc, &color);
  }
}

// The pane's widget window is not its window's content window.
bool HasOwnGdkWindow(SubPane *p, Window *w) {
  return p != w && p->GetWidget() && p->GetWidget()->window &&
         p->GetWidget()->window != w->GetGtkWindow()->window;
}

// The point (x, y) of the context as an empty rectangle on its drawable:
// below a window's menu bar, and relative to a pane's own GDK window.
QV::Rect DrawingPoint(Graphics *g, int32_t x, int32_t y) {
  QV::Rect at{static_cast<int16_t>(y), static_cast<int16_t>(x), static_cast<int16_t>(y),
              static_cast<int16_t>(x)};
  return GTKHelper::TranslateRect(g, at);
}

// A widget whose style renders stock icons for panes without a widget.
GtkWidget *IconStyleWidget() {
  static GtkWidget *helper = nullptr;
  if (!helper) {
    helper = gtk_window_new(GTK_WINDOW_POPUP);
    gtk_widget_ensure_style(helper);
  }
  return helper;
}

} // namespace

GdkDrawable *Graphics::GetGdkDrawable() { return mPane ? mPane->GetGdkDrawable() : nullptr; }

GdkGC *Graphics::GetGC() {
  if (mGC || !mPane)
    return mGC;
  GdkDrawable *d = mPane->GetGdkDrawable();
  if (!d)
    return nullptr;
  mGC = mPane->GetGC();
  if (mGC)
    SetGCForeground(mGC, d, mForeColor);
  return mGC;
}

void Graphics::ReleaseGC() {
  if (!mGC)
    return;
  mGC = nullptr;
  if (mPane)
    mPane->ReleaseGC();
}

void Graphics::RGBForeColor(const QV::RGBColor *color) {
  mForeColor = *color;
  GdkDrawable *d = GetGdkDrawable();
  if (!d)
    return;
  if (GdkGC *gc = GetGC())
    SetGCForeground(gc, d, mForeColor);
}

void Graphics::FillRect(const QV::Rect *r) {
  GdkDrawable *d = GetGdkDrawable();
  GdkGC *gc = d ? GetGC() : nullptr;
  if (!gc)
    return;
  QV::Rect t = GTKHelper::TranslateRect(this, *r);
  NormalizeRect(&t);
  gdk_draw_rectangle(d, gc, TRUE, t.left, t.top, t.right - t.left, t.bottom - t.top);
}

void Graphics::FrameRect(const QV::Rect *r) {
  GdkDrawable *d = GetGdkDrawable();
  GdkGC *gc = d ? GetGC() : nullptr;
  if (!gc)
    return;
  QV::Rect t = GTKHelper::TranslateRect(this, *r);
  NormalizeRect(&t);
  if (t.right <= t.left || t.bottom <= t.top)
    return;
  gdk_draw_rectangle(d, gc, FALSE, t.left, t.top, t.right - t.left - 1, t.bottom - t.top - 1);
}

void Graphics::FillOval(const QV::Rect *r) {
  GdkDrawable *d = GetGdkDrawable();
  GdkGC *gc = d ? GetGC() : nullptr;
  if (!gc)
    return;
  QV::Rect t = GTKHelper::TranslateRect(this, *r);
  NormalizeRect(&t);
  gdk_draw_arc(d, gc, TRUE, t.left, t.top, t.right - t.left, t.bottom - t.top, 0, 360 * 64);
  gdk_draw_arc(d, gc, FALSE, t.left, t.top, t.right - t.left, t.bottom - t.top, 0, 360 * 64);
}

void Graphics::FrameOval(const QV::Rect *r) {
  GdkDrawable *d = GetGdkDrawable();
  GdkGC *gc = d ? GetGC() : nullptr;
  if (!gc)
    return;
  QV::Rect t = GTKHelper::TranslateRect(this, *r);
  NormalizeRect(&t);
  gdk_draw_arc(d, gc, FALSE, t.left, t.top, t.right - t.left, t.bottom - t.top, 0, 360 * 64);
}

void Graphics::FillRoundRect(const QV::Rect *r, int32_t cornerWidth, int32_t cornerHeight) {
  if (!GetGdkDrawable())
    return;
  QV::Rect t = GTKHelper::TranslateRect(this, *r);
  NormalizeRect(&t);
  PlotRoundRect(this, t, cornerWidth, cornerHeight, true);
}

void Graphics::FrameRoundRect(const QV::Rect *r, int32_t cornerWidth, int32_t cornerHeight) {
  if (!GetGdkDrawable())
    return;
  QV::Rect t = GTKHelper::TranslateRect(this, *r);
  NormalizeRect(&t);
  PlotRoundRect(this, t, cornerWidth, cornerHeight, false);
}

void Graphics::EraseRect(const QV::Rect *r) {
  GdkDrawable *d = GetGdkDrawable();
  if (!d)
    return;
  QV::RGBColor saved = mForeColor;
  Window *w = mPane->isSubPane() ? static_cast<SubPane *>(mPane)->GetWindow() : nullptr;
  if (mPane->isSubPane() && w && !w->HasBackgroundColour()) {
    QV::Rect t = GTKHelper::TranslateRect(this, *r);
    NormalizeRect(&t);
    if (GDK_IS_WINDOW(d))
      gdk_window_clear_area(GDK_WINDOW(d), t.left, t.top, t.right - t.left, t.bottom - t.top);
    return;
  }
  QV::RGBColor fill = w ? QV::RGBColorFromColorValue(w->BackgroundColour())
                        : QV::RGBColor{65535, 65535, 65535};
  RGBForeColor(&fill);
  FillRect(r);
  RGBForeColor(&saved);
}

void Graphics::LineTo(int32_t x, int32_t y) {
  GdkDrawable *d = GetGdkDrawable();
  GdkGC *gc = d ? GetGC() : nullptr;
  if (gc) {
    QV::Rect from{static_cast<int16_t>(mPenY), static_cast<int16_t>(mPenX),
                  static_cast<int16_t>(mPenY), static_cast<int16_t>(mPenX)};
    QV::Rect to{static_cast<int16_t>(y), static_cast<int16_t>(x), static_cast<int16_t>(y),
                static_cast<int16_t>(x)};
    from = GTKHelper::TranslateRect(this, from);
    to = GTKHelper::TranslateRect(this, to);
    gdk_draw_line(d, gc, from.left, from.top, to.left, to.top);
  }
  MoveTo(x, y);
}

void Graphics::DrawPolygon(RuntimeArray *points, bool fill) {
  int32_t upper = RuntimeUBound(points);
  if (upper < 1)
    return;
  int32_t count = upper / 2;
  PolygonPoint *list = g_new(PolygonPoint, count);
  for (int32_t i = 0; i < count; ++i)
    list[i] = {RuntimeDirectReadIntArray(points, 2 * i + 1),
               RuntimeDirectReadIntArray(points, 2 * i + 2)};
  DrawPolygon(list, count, fill);
  g_free(list);
}

static_assert(sizeof(PolygonPoint) == sizeof(GdkPoint) &&
                  offsetof(PolygonPoint, y) == offsetof(GdkPoint, y),
              "polygon points go to GDK as they are");

void Graphics::DrawPolygon(const PolygonPoint *points, int32_t count, bool fill) {
  if (count < 1)
    return;
  GdkDrawable *d = GetGdkDrawable();
  GdkGC *gc = d ? GetGC() : nullptr;
  if (!gc)
    return;
  int32_t dx = 0, dy = 0;
  if (mPane->isSubPane()) {
    auto *p = static_cast<SubPane *>(mPane);
    if (Window *w = p->GetWindow(); w && !HasOwnGdkWindow(p, w)) {
      int32_t menuBar = w->HasMenuBar() ? GTKHelper::GetMenuBarHeight(w) : 0;
      if (p != w) {
        dx = p->Bounds().left;
        dy = p->Bounds().top;
      }
      dy += menuBar;
    }
  }
  // GDK takes the points as they are; it only reads them.
  auto *list = reinterpret_cast<GdkPoint *>(const_cast<PolygonPoint *>(points));
  GdkPoint *moved = nullptr;
  if (dx != 0 || dy != 0) {
    moved = g_new(GdkPoint, count);
    for (int32_t i = 0; i < count; ++i)
      moved[i] = {points[i].x + dx, points[i].y + dy};
    list = moved;
  }
  gdk_draw_polygon(d, gc, fill, list, count);
  if (fill)
    gdk_draw_polygon(d, gc, FALSE, list, count);
  g_free(moved);
}

void Graphics::setPixel(int32_t x, int32_t y, const QV::RGBColor &color) {
  QV::RGBColor saved = mForeColor;
  RGBForeColor(&color);
  GdkDrawable *d = GetGdkDrawable();
  if (GdkGC *gc = d ? GetGC() : nullptr) {
    QV::Rect at = DrawingPoint(this, x, y);
    gdk_draw_point(d, gc, at.left, at.top);
  }
  RGBForeColor(&saved);
}

void Graphics::getPixel(int32_t x, int32_t y, QV::RGBColor *color) {
  *color = QV::RGBColor{0, 0, 0};
  GdkDrawable *d = GetGdkDrawable();
  if (!d)
    return;
  QV::Rect at = DrawingPoint(this, x, y);
  gint width = 0, height = 0;
  gdk_drawable_get_size(d, &width, &height);
  if (at.left < 0 || at.top < 0 || at.left >= width || at.top >= height)
    return;
  GdkPixbuf *pixel = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, 1, 1);
  if (gdk_pixbuf_get_from_drawable(pixel, d, gdk_drawable_get_colormap(d), at.left, at.top, 0, 0,
                                   1, 1)) {
    const guchar *p = gdk_pixbuf_get_pixels(pixel);
    *color = QV::RGBColor{static_cast<uint16_t>(p[0] * 257), static_cast<uint16_t>(p[1] * 257),
                          static_cast<uint16_t>(p[2] * 257)};
  }
  g_object_unref(pixel);
}

void Graphics::ClipRect(const QV::Rect &r) {
  if (!mPane || !mPane->isSubPane())
    return;
  GdkGC *gc = GetGC();
  if (!gc)
    return;
  QV::Rect t = GTKHelper::TranslateRect(this, r);
  GdkRectangle clip{t.left, t.top, t.right - t.left, t.bottom - t.top};
  gdk_gc_set_clip_rectangle(gc, &clip);
}

void Graphics::SelectFont() {
  if (!mPane || (mFontDescriptionValid && mFontDescription))
    return;
  FontStructure font;
  font.name = mFontName;
  font.size = static_cast<int16_t>(mTextSize);
  font.bold = (mTextFace & kBoldFace) ? 1 : 0;
  font.italic = (mTextFace & kItalicFace) ? 1 : 0;
  font.underline = (mTextFace & kUnderlineFace) ? 1 : 0;
  if (mFontDescription)
    pango_font_description_free(mFontDescription);
  mFontDescription = GTKHelper::GetPangoFontDescription(&font);
  mFontDescriptionValid = true;
}

// Text reaches Pango as UTF-8, converted by its tag with bad bytes replaced,
// so that text of any encoding draws; the underline spans the converted text.
PangoLayout *Graphics::NewLayout(const string &text, int32_t *utf8Length) {
  if (!mPane)
    return nullptr;
  PangoContext *context = gdk_pango_context_get();
  PangoLayout *layout = pango_layout_new(context);
  g_object_unref(context);
  SelectFont();
  pango_layout_set_font_description(layout, mFontDescription);
  string utf8 = GTKHelper::ToUTF8(text);
  pango_layout_set_text(layout, utf8.CString(), utf8.Length());
  if (utf8Length)
    *utf8Length = utf8.Length();
  if (mTextFace & kUnderlineFace) {
    PangoAttrList *list = pango_attr_list_new();
    PangoAttribute *underline = pango_attr_underline_new(PANGO_UNDERLINE_SINGLE);
    underline->start_index = 0;
    underline->end_index = static_cast<guint>(utf8.Length());
    pango_attr_list_insert(list, underline);
    pango_layout_set_attributes(layout, list);
    pango_attr_list_unref(list);
  }
  return layout;
}

void Graphics::DrawString(const string &text, int32_t x, int32_t y, const QV::Rect *) {
  GdkDrawable *d = GetGdkDrawable();
  GdkGC *gc = d ? GetGC() : nullptr;
  if (!gc)
    return;
  QV::Rect at = DrawingPoint(this, x, y);
  PangoLayout *layout = NewLayout(text, nullptr);
  PangoLayoutIter *iter = pango_layout_get_iter(layout);
  int32_t baseline = PangoToPixels(pango_layout_iter_get_baseline(iter));
  pango_layout_iter_free(iter);
  gdk_draw_layout(d, gc, at.left, at.top - baseline, layout);
  g_object_unref(layout);
}

void Graphics::DrawWrapText(const string &text, const QV::Rect &box, int32_t alignment) {
  GdkDrawable *d = GetGdkDrawable();
  GdkGC *gc = d ? GetGC() : nullptr;
  if (!gc)
    return;
  QV::Rect t = GTKHelper::TranslateRect(this, box);
  PangoLayout *layout = NewLayout(text, nullptr);
  if (alignment == 1)
    pango_layout_set_alignment(layout, PANGO_ALIGN_CENTER);
  else if (alignment == 2)
    pango_layout_set_alignment(layout, PANGO_ALIGN_RIGHT);
  pango_layout_set_width(layout, (t.right - t.left) * PANGO_SCALE);
  pango_layout_set_wrap(layout, PANGO_WRAP_WORD);
  gdk_draw_layout(d, gc, t.left, t.top, layout);
  g_object_unref(layout);
}

int32_t Graphics::StringWidth(const string &text) {
  PangoLayout *layout = NewLayout(text, nullptr);
  if (!layout)
    return 0;
  int width = 0, height = 0;
  pango_layout_get_pixel_size(layout, &width, &height);
  g_object_unref(layout);
  return width;
}

int32_t Graphics::GetWrapHeight(const string &text, int32_t width) {
  PangoLayout *layout = NewLayout(text, nullptr);
  if (!layout)
    return 0;
  pango_layout_set_width(layout, width * PANGO_SCALE);
  pango_layout_set_wrap(layout, PANGO_WRAP_WORD);
  int w = 0, height = 0;
  pango_layout_get_pixel_size(layout, &w, &height);
  g_object_unref(layout);
  return height;
}

// The current font's ascent and descent in whole pixels; false (and zeros)
// without a pane or when Pango cannot load the font.
bool Graphics::FontMetrics(int32_t *ascent, int32_t *descent) {
  *ascent = *descent = 0;
  if (!mPane)
    return false;
  SelectFont();
  PangoContext *context = gdk_pango_context_get();
  pango_context_set_font_description(context, mFontDescription);
  PangoFont *font = pango_context_load_font(context, mFontDescription);
  if (!font) {
    Alert(1500, "pangoFont");
    g_object_unref(context);
    return false;
  }
  PangoFontMetrics *metrics = pango_font_get_metrics(font, pango_language_get_default());
  *ascent = PangoToPixels(pango_font_metrics_get_ascent(metrics));
  *descent = PangoToPixels(pango_font_metrics_get_descent(metrics));
  pango_font_metrics_unref(metrics);
  g_object_unref(font);
  g_object_unref(context);
  return true;
}

int32_t Graphics::FontAscent() {
  int32_t ascent, descent;
  FontMetrics(&ascent, &descent);
  return ascent;
}

int32_t Graphics::FontDescent() {
  int32_t ascent, descent;
  FontMetrics(&ascent, &descent);
  return descent;
}

int32_t Graphics::FontHeight() {
  int32_t ascent, descent;
  FontMetrics(&ascent, &descent);
  return ascent + descent;
}

// Pango's line height beyond the font's ascent and descent.
int32_t Graphics::FontLeading() {
  int32_t ascent, descent;
  if (!FontMetrics(&ascent, &descent))
    return 0;
  PangoLayout *layout = NewLayout(string("Ag"), nullptr);
  int width = 0, height = 0;
  pango_layout_get_pixel_size(layout, &width, &height);
  g_object_unref(layout);
  int32_t leading = height - ascent - descent;
  return leading > 0 ? leading : 0;
}

void Graphics::DrawStandardIcon(int32_t type, int32_t x, int32_t y, long width, long height) {
  static const char *const kStock[3] = {GTK_STOCK_DIALOG_ERROR, GTK_STOCK_DIALOG_INFO,
                                        GTK_STOCK_DIALOG_WARNING};
  static GdkPixbuf *icons[3] = {};
  if (type < 0 || type > 2 || width <= 0 || height <= 0)
    return;
  GdkDrawable *d = GetGdkDrawable();
  GdkGC *gc = d ? GetGC() : nullptr;
  if (!gc)
    return;
  if (!icons[type]) {
    GtkWidget *widget = nullptr;
    if (mPane->isSubPane())
      widget = static_cast<SubPane *>(mPane)->GetWidget();
    if (!widget)
      widget = IconStyleWidget();
    icons[type] = gtk_widget_render_icon(widget, kStock[type], GTK_ICON_SIZE_DIALOG, nullptr);
    if (!icons[type])
      return;
  }
  GdkPixbuf *scaled =
      gdk_pixbuf_scale_simple(icons[type], static_cast<int>(width), static_cast<int>(height),
                              GDK_INTERP_BILINEAR);
  if (!scaled)
    return;
  // Placed like every other primitive, below a window's menu bar.
  QV::Rect at = DrawingPoint(this, x, y);
  gdk_draw_pixbuf(d, gc, scaled, 0, 0, at.left, at.top, static_cast<int>(width),
                  static_cast<int>(height), GDK_RGB_DITHER_NONE, 0, 0);
  g_object_unref(scaled);
}
