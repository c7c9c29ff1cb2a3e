// The pixels of another program's window, read from the X server.
#pragma once
#include <gtk/gtk.h>

#include <cstdint>
#include <string>

// The pixels of another program's window, as 0xRRGGBB.
class WindowPixels {
public:
  explicit WindowPixels(const std::string &xid) {
    GdkWindow *window = gdk_window_foreign_new(std::stoul(xid));
    if (!window)
      return;
    gint width = 0, height = 0;
    gdk_drawable_get_size(window, &width, &height);
    mPixels = gdk_pixbuf_get_from_drawable(nullptr, window,
                                           gdk_screen_get_system_colormap(gdk_screen_get_default()),
                                           0, 0, 0, 0, width, height);
    g_object_unref(window);
  }
  ~WindowPixels() {
    if (mPixels)
      g_object_unref(mPixels);
  }
  uint32_t At(int x, int y) const {
    if (!mPixels || x < 0 || y < 0 || x >= gdk_pixbuf_get_width(mPixels) ||
        y >= gdk_pixbuf_get_height(mPixels))
      return 0xDEAD;
    const guchar *c = gdk_pixbuf_get_pixels(mPixels) + y * gdk_pixbuf_get_rowstride(mPixels) +
                      x * gdk_pixbuf_get_n_channels(mPixels);
    return (c[0] << 16) | (c[1] << 8) | c[2];
  }

private:
  GdkPixbuf *mPixels = nullptr;
};
