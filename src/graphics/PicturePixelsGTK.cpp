// Pixels of an offscreen image read back through one GdkPixbuf.
#include <gdk/gdk.h>

#include "graphics/Drawable.h"
#include "graphics/PicturePixels.h"

bool ReadDrawablePixels(Drawable *image, int32_t width, int32_t height, uint32_t *out) {
  if (!image || width <= 0 || height <= 0)
    return false;
  drawableDescription d{};
  image->lockDescription(&d);
  GdkDrawable *pixmap = d.kind == kPixmapDrawableKind ? static_cast<GdkDrawable *>(d.handle)
                                                      : nullptr;
  GdkPixbuf *pixels = nullptr;
  if (pixmap && width <= d.width && height <= d.height)
    pixels = gdk_pixbuf_get_from_drawable(nullptr, pixmap, gdk_drawable_get_colormap(pixmap), 0,
                                          0, 0, 0, width, height);
  image->unlockDescription();
  if (!pixels)
    return false;
  int stride = gdk_pixbuf_get_rowstride(pixels), step = gdk_pixbuf_get_n_channels(pixels);
  const guchar *base = gdk_pixbuf_get_pixels(pixels);
  for (int32_t y = 0; y < height; ++y) {
    const guchar *p = base + y * stride;
    for (int32_t x = 0; x < width; ++x, p += step)
      *out++ = (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
  }
  g_object_unref(pixels);
  return true;
}
