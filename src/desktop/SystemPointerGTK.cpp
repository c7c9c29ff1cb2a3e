// The System module's pointer and screen-pixel answers, read from GDK's
// default root window.
#include <gdk/gdk.h>

#include "desktop/SystemClass.h"

namespace {

struct Pointer {
  gint x = 0, y = 0;
  GdkModifierType mask = GdkModifierType(0);
};

Pointer ReadPointer() {
  Pointer p;
  if (GdkWindow *root = gdk_display_get_default() ? gdk_get_default_root_window() : nullptr)
    gdk_window_get_pointer(root, &p.x, &p.y, &p.mask);
  return p;
}

} // namespace

extern "C" {

int32_t getMouseX() { return ReadPointer().x; }
int32_t getMouseY() { return ReadPointer().y; }
int32_t getMouseDown() { return (ReadPointer().mask & GDK_BUTTON1_MASK) ? 1 : 0; }

// A point off the screen has no pixel to copy: it answers 0 (black) instead
// of whatever the pixbuf's buffer held.
uint32_t systemPixel(RuntimeObject *, int32_t x, int32_t y) {
  GdkWindow *root = gdk_display_get_default() ? gdk_get_default_root_window() : nullptr;
  if (!root || x < 0 || y < 0 || x >= gdk_screen_width() || y >= gdk_screen_height())
    return 0;
  GdkPixbuf *pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, 1, 1);
  if (!pixbuf)
    return 0;
  uint32_t colour = 0;
  if (gdk_pixbuf_get_from_drawable(pixbuf, root, nullptr, x, y, 0, 0, 1, 1)) {
    if (const guchar *p = gdk_pixbuf_get_pixels(pixbuf))
      colour = (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
  }
  g_object_unref(pixbuf);
  return colour;
}

} // extern "C"
