// Stand-ins for the desktop services until that area lands: no drag is ever
// in progress and the one screen is GDK's default screen, all of it
// available. Weak, so the desktop area's definitions win.
#include "windows/DesktopServices.h"

#include <gdk/gdk.h>

namespace GTKDragHelper {
__attribute__((weak)) RuntimeObject *GetCurrentDragObject() { return nullptr; }
__attribute__((weak)) bool IsDragInProgress() { return false; }
__attribute__((weak)) void StopDragProgress() {}
__attribute__((weak)) void UpdateDragProgress() {}
__attribute__((weak)) void RegisterPaneForTextDrop(SubPane *) {}
__attribute__((weak)) void RegisterPaneForFileDrop(SubPane *) {}
} // namespace GTKDragHelper

__attribute__((weak)) DragDropIndicator::~DragDropIndicator() { Destroy(); }
__attribute__((weak)) void DragDropIndicator::Destroy() {}

__attribute__((weak)) int32_t ScreenCount() { return 1; }

__attribute__((weak)) bool GetScreenRect(int32_t i, ScreenRect *screen) {
  if (i != 0 || !gdk_display_get_default())
    return false;
  int32_t w = gdk_screen_width(), h = gdk_screen_height();
  *screen = ScreenRect{0, 0, w, h, 0, 0, w, h};
  return true;
}

__attribute__((weak)) bool GetScreenDepth(int32_t *depth) {
  if (!gdk_display_get_default())
    return false;
  GdkWindow *root = gdk_get_default_root_window();
  *depth = root ? gdk_drawable_get_depth(root) : 24;
  return true;
}
