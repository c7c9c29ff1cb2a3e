// Full-screen mode of window objects: the window takes the bounds of the
// screen that holds most of it, and gets its own bounds back when it leaves.
#include "foundation/AssertionAlert.h"
#include "windows/MenuServices.h"
#include "windows/RuntimeWindow.h"
#include "windows/WindowClass.h"

namespace {

void EnterFullScreen(RuntimeView *window, RuntimeViewWindow *w) {
  ScreenRect screen{};
  if (!GetSourceScreen(GetBestScreenNumForRect(&window->bounds), &screen))
    return; // without a screen the window keeps its bounds and its mode
  window->fullScreen = 1;
  window->savedBounds = window->bounds;
  w->MoveWindow(screen.left, screen.top, true);
  w->SizeWindow(screen.width, screen.height, true);
}

void LeaveFullScreen(RuntimeView *window, RuntimeViewWindow *w) {
  window->fullScreen = 0;
  window->bounds = window->savedBounds;
  const QV::Rect &r = window->bounds;
  w->SizeWindow(r.right - r.left, r.bottom - r.top, true);
  w->MoveWindow(r.left, r.top, true);
}

} // namespace

extern "C" void windowFullScreenSetter(RuntimeObject *object, int32_t, int32_t on) {
  if (!object) {
    ShowAlert(AlertSite{"../Common/ClassLib/RuntimeWindow", 1371, "view"});
    return;
  }
  auto *window = reinterpret_cast<RuntimeView *>(object);
  RuntimeViewWindow *w = window->nativeWindow;
  if (!w) {
    window->pendingFullScreen = on != 0; // applied when the native window is made
    return;
  }
  if ((on != 0) == (window->fullScreen != 0))
    return;
  if (on)
    EnterFullScreen(window, w);
  else
    LeaveFullScreen(window, w);
}
