// The Clipboard class's Picture property: the picture buffer drawn into a
// new offscreen image, and a picture's pixels read into the buffer.
#include <cstring>
#include <vector>

#include <gtk/gtk.h>

#include "desktop/ClipboardClass.h"
#include "desktop/ClipboardPictureBuffer.h"
#include "graphics/DrawablePaneGTK.h"
#include "graphics/PictureObject.h"
#include "graphics/PictureServices.h"

RuntimeObject *clipboardPictureGetter(RuntimeObject *, int32_t) {
  RequestClipboardPicture();
  const uint8_t *buffer = ClipboardPictureBuffer();
  if (!buffer)
    return nullptr;
  ClipboardPictureHeader header;
  std::memcpy(&header, buffer, sizeof header);
  if (header.width > 32767 || header.height > 32767)
    return nullptr;
  QV::Rect bounds;
  QV::SetRect(&bounds, 0, 0, static_cast<int16_t>(header.width),
              static_cast<int16_t>(header.height));
  auto *pane = new DrawablePane(bounds, 24, 0);
  if (!pane->GetPixmap() || !pane->GetGC()) {
    pane->removeReference();
    return nullptr;
  }
  gdk_draw_rgb_image(pane->GetPixmap(), pane->GetGC(), 0, 0, header.width, header.height,
                     GDK_RGB_DITHER_MAX, const_cast<guchar *>(buffer + kPictureHeaderSize),
                     header.rowStride);
  return NewPictureFromDrawable(pane);
}

void clipboardPictureSetter(RuntimeObject *, int32_t, RuntimeObject *picture) {
  Drawable *image = picture ? reinterpret_cast<PictureObject *>(picture)->image : nullptr;
  if (!image)
    return;
  drawableDescription d{};
  image->lockDescription(&d);
  GdkPixbuf *pixels = nullptr;
  if (d.kind == kPixmapDrawableKind && d.handle && d.width > 0 && d.height > 0) {
    auto *pixmap = static_cast<GdkDrawable *>(d.handle);
    pixels = gdk_pixbuf_get_from_drawable(nullptr, pixmap, gdk_drawable_get_colormap(pixmap), 0,
                                          0, 0, 0, d.width, d.height);
  }
  image->unlockDescription();
  if (!pixels)
    return;
  // A pixbuf's last row may stop after its pixels, short of the row stride:
  // the rows are copied into whole strides first.
  int width = gdk_pixbuf_get_width(pixels), height = gdk_pixbuf_get_height(pixels);
  int stride = gdk_pixbuf_get_rowstride(pixels);
  std::vector<uint8_t> rows(size_t(stride) * height);
  for (int y = 0; y < height; ++y)
    std::memcpy(&rows[size_t(y) * stride], gdk_pixbuf_get_pixels(pixels) + size_t(y) * stride,
                size_t(width) * 3);
  g_object_unref(pixels);
  OfferClipboardPicture(width, height, stride, rows.data());
}
