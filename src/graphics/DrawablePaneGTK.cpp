#include "graphics/DrawablePaneGTK.h"

#include <algorithm>

#include "foundation/AssertionAlert.h"
#include "graphics/BitmapDecoder.h"
#include "graphics/Graphics.h"
#include "windows/GTKHelper.h"

namespace {

// A pixmap of the screen's depth with the screen's colormap, or nil when the
// size is empty or the X server refuses it.
GdkPixmap *NewPixmap(int32_t width, int32_t height) {
  if (width <= 0 || height <= 0)
    return nullptr;
  int depth = GTKHelper::GetBestSupportedDepth();
  if (depth <= 0)
    return nullptr;
  gdk_error_trap_push();
  GdkPixmap *pixmap = gdk_pixmap_new(gdk_get_default_root_window(), width, height, depth);
  gdk_flush();
  if (gdk_error_trap_pop() != 0 && pixmap) {
    g_object_unref(pixmap);
    return nullptr;
  }
  if (pixmap && !gdk_drawable_get_colormap(pixmap)) {
    GdkColormap *system = gdk_screen_get_system_colormap(gdk_screen_get_default());
    if (gdk_colormap_get_visual(system)->depth == depth)
      gdk_drawable_set_colormap(pixmap, system);
  }
  return pixmap;
}

// The rectangle of a pixmap as RGBA, every pixel opaque; nil when the
// rectangle does not lie within it.
GdkPixbuf *ReadRGBA(GdkPixmap *pixmap, int x, int y, int width, int height) {
  GdkPixbuf *rgb = gdk_pixbuf_get_from_drawable(nullptr, pixmap, gdk_drawable_get_colormap(pixmap),
                                                x, y, 0, 0, width, height);
  if (!rgb)
    return nullptr;
  GdkPixbuf *rgba = gdk_pixbuf_add_alpha(rgb, FALSE, 0, 0, 0);
  g_object_unref(rgb);
  return rgba;
}

GdkPixbuf *ScaledTo(GdkPixbuf *source, int width, int height) {
  if (gdk_pixbuf_get_width(source) == width && gdk_pixbuf_get_height(source) == height)
    return source;
  GdkPixbuf *scaled = gdk_pixbuf_scale_simple(source, width, height, GDK_INTERP_NEAREST);
  g_object_unref(source);
  return scaled;
}

} // namespace

DrawablePane::DrawablePane(const QV::Rect &bounds, int32_t depth, unsigned char)
    : Pane(bounds), mPixmapWidth(bounds.right - bounds.left),
      mPixmapHeight(bounds.bottom - bounds.top) {
  mDepth = depth;
  mPixmap = NewPixmap(mPixmapWidth, mPixmapHeight);
  if (!mPixmap)
    return;
  mGC = gdk_gc_new(mPixmap);
  GdkColor white{0, 65535, 65535, 65535};
  if (GdkColormap *map = gdk_drawable_get_colormap(mPixmap)) {
    gdk_colormap_alloc_color(map, &white, FALSE, TRUE);
    gdk_gc_set_foreground(mGC, &white);
  } else {
    gdk_gc_set_rgb_fg_color(mGC, &white);
  }
  gdk_draw_rectangle(mPixmap, mGC, TRUE, 0, 0, mPixmapWidth, mPixmapHeight);
}

DrawablePane::~DrawablePane() {
  if (mPixmap)
    g_object_unref(mPixmap);
  if (mGC)
    g_object_unref(mGC);
}

void DrawablePane::lockDescription(drawableDescription *d) {
  Drawable::lockDescription(d);
  d->kind = kPixmapDrawableKind;
  d->handle = mPixmap;
}

void DrawablePane::Closing() { Pane::AboutToYield(); }
bool DrawablePane::GetPixelSurface(PixelSurface *) { return false; }
void DrawablePane::UnlockPixelSurface() {}

void DrawablePane::getSize(int32_t *width, int32_t *height) {
  *width = mPixmapWidth;
  *height = mPixmapHeight;
}

void DrawablePane::DrawPrimitive(Graphics *g, const QV::Rect *destination,
                                 unsigned char transparent) {
  QV::Rect source;
  QV::SetRect(&source, 0, 0, mPixmapWidth, mPixmapHeight);
  DrawPiece(g, source, *destination, transparent);
}

// The piece goes through client-side pixbufs: read back, scaled (nearest
// neighbour) when the sizes differ, given alpha from the mask or from pure
// white, and drawn with its alpha.
void DrawablePane::PrimitiveDrawPiece(Graphics *g, const QV::Rect &source,
                                      const QV::Rect &destination, bool,
                                      unsigned char transparent) {
  int sw = source.right - source.left, sh = source.bottom - source.top;
  int dw = destination.right - destination.left, dh = destination.bottom - destination.top;
  if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0 || !mGC || !mPixmap)
    return;
  GdkDrawable *target = g->GetGdkDrawable();
  if (!target)
    return;
  if (source.left < 0 || source.top < 0 || source.right > mPixmapWidth ||
      source.bottom > mPixmapHeight)
    return;
  QV::Rect to = GTKHelper::TranslateRect(g, destination);

  GdkPixbuf *pixels = ReadRGBA(mPixmap, source.left, source.top, sw, sh);
  if (!pixels)
    return;
  pixels = ScaledTo(pixels, dw, dh);
  auto *mask = dynamic_cast<DrawablePane *>(mMask);
  GdkPixbuf *maskPixels = nullptr;
  if (mask && mask->mPixmap && source.right <= mask->mPixmapWidth &&
      source.bottom <= mask->mPixmapHeight)
    maskPixels = ReadRGBA(mask->mPixmap, source.left, source.top, sw, sh);
  if (maskPixels)
    maskPixels = ScaledTo(maskPixels, dw, dh);
  if (pixels && (maskPixels || transparent)) {
    int stride = gdk_pixbuf_get_rowstride(pixels);
    int maskStride = maskPixels ? gdk_pixbuf_get_rowstride(maskPixels) : 0;
    guchar *base = gdk_pixbuf_get_pixels(pixels);
    const guchar *maskBase = maskPixels ? gdk_pixbuf_get_pixels(maskPixels) : nullptr;
    for (int y = 0; y < dh; ++y)
      for (int x = 0; x < dw; ++x) {
        guchar *p = base + y * stride + x * 4;
        if (maskBase) {
          const guchar *m = maskBase + y * maskStride + x * 4;
          p[3] = static_cast<guchar>(255 - (m[0] + m[1] + m[2]) / 3);
        } else if (p[0] == 255 && p[1] == 255 && p[2] == 255) {
          p[3] = 0;
        }
      }
  }
  if (pixels)
    gdk_draw_pixbuf(target, g->GetGC(), pixels, 0, 0, to.left, to.top, dw, dh,
                    GDK_RGB_DITHER_NONE, 0, 0);
  if (maskPixels)
    g_object_unref(maskPixels);
  if (pixels)
    g_object_unref(pixels);
}

Graphics *DrawablePane::getGraphics() { return new Graphics(this); }
int32_t DrawablePane::getGeneration() { return mGeneration; }
void DrawablePane::EstablishDrawingSurface() {}
void DrawablePane::ResetDrawingSurface() {}
GdkGC *DrawablePane::GetGC() { return mGC; }
void DrawablePane::ReleaseGC() {}
// Every drawing into the image fetches its pixmap here: each fetch counts
// as a change, so that whoever showed the image can tell it is out of date.
GdkDrawable *DrawablePane::GetGdkDrawable() {
  ++mGeneration;
  return mPixmap;
}

DrawablePane *GetBitmapFromMemory(const char *data, unsigned long length) {
  if (!data)
    return nullptr;
  DecodedBitmap bitmap;
  if (!DecodeBitmap(reinterpret_cast<const uint8_t *>(data), length, &bitmap))
    return nullptr;
  QV::Rect bounds;
  QV::SetRect(&bounds, 0, 0, bitmap.width, bitmap.height);
  auto *pane = new DrawablePane(bounds, 24, 0);
  if (!pane->GetPixmap()) {
    pane->removeReference();
    return nullptr;
  }
  gdk_draw_rgb_image(pane->GetPixmap(), pane->GetGC(), 0, 0, bitmap.width, bitmap.height,
                     GDK_RGB_DITHER_MAX, bitmap.rgb.data(), bitmap.width * 3);
  return pane;
}

Drawable *GetPictureFromMemory(char **, long) { return nullptr; }

bool RotateDrawablePane(DrawablePane *source, DrawablePane *destination, double, long) {
  if (!source || !destination || source == destination)
    DisplayRuntimeErrorAlert(kAssertionCode, kAssertionNumber, "../Common/Graphics2D/Rotate", 40,
                             "srcDP and dstDP and srcDP != dstDP", nullptr);
  return true;
}
