// The screens as GDK sees them: one, the default screen, all of it free for
// windows (panels and docks are not subtracted).
#include <gdk/gdk.h>

#include "windows/DesktopServices.h"

int32_t ScreenCount() { return 1; }

bool GetScreenRect(int32_t i, ScreenRect *screen) {
  if (i != 0 || !gdk_display_get_default())
    return false;
  int32_t w = gdk_screen_width(), h = gdk_screen_height();
  *screen = ScreenRect{0, 0, w, h, 0, 0, w, h};
  return true;
}

bool GetScreenDepth(int32_t *depth) {
  if (!gdk_display_get_default())
    return false;
  GdkWindow *root = gdk_get_default_root_window();
  *depth = root ? gdk_drawable_get_depth(root) : 24;
  return true;
}
