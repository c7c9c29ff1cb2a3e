#include "runtime/loop/WindowInterface.h"

#include "runtime/loop/RunLoop.h"

namespace {
WindowHooks sWindowHooks{};
} // namespace

void InstallWindowHooks(const WindowHooks *hooks) { sWindowHooks = hooks ? *hooks : WindowHooks{}; }
const WindowHooks &GetWindowHooks() { return sWindowHooks; }

extern "C" {

void RuntimeShowWindow(RuntimeView *window) {
  if (!window)
    return;
  window->visible = 1;
  if (RuntimeViewWindow *native = window->nativeWindow) {
    if (sWindowHooks.ShowWindow)
      sWindowHooks.ShowWindow(native);
    if (sWindowHooks.SelectWindow)
      sWindowHooks.SelectWindow(native);
  }
}

void RuntimeHideWindow(RuntimeView *window) {
  if (!window)
    return;
  window->visible = 0;
  if (window->nativeWindow && sWindowHooks.HideWindow)
    sWindowHooks.HideWindow(window->nativeWindow);
}

void RuntimeCloseWindow(RuntimeView *window) {
  if (window && window->nativeWindow && sWindowHooks.CloseWindow)
    sWindowHooks.CloseWindow(window->nativeWindow);
}

void RuntimeShowModal(RuntimeView *window) {
  if (!window || !window->nativeWindow)
    return;
  // Closing the window may drop every other reference to the object.
  RuntimeLockObject(&window->header);
  if (sWindowHooks.ShowWindow)
    sWindowHooks.ShowWindow(window->nativeWindow);
  if (sWindowHooks.SelectWindow)
    sWindowHooks.SelectWindow(window->nativeWindow);
  // Closing clears the native window; hiding makes it answer not visible.
  while (window->nativeWindow && sWindowHooks.IsVisible &&
         sWindowHooks.IsVisible(window->nativeWindow))
    ModalEvents();
  RuntimeUnlockObject(&window->header);
}

} // extern "C"
