// Plain registers standing in for the run loop's own until it lands; weak,
// so that the run loop's definitions take their place.
#include "windows/RunLoopRegisters.h"

#include <gtk/gtk.h>

#include "windows/SubPane.h"

namespace {
SubPane *sFocusPane = nullptr;
SubPane *sCapturePane = nullptr;
} // namespace

__attribute__((weak)) SubPane *GetFocusPane() { return sFocusPane; }

__attribute__((weak)) void SetFocusPane(SubPane *p) {
  if (p == sFocusPane)
    return;
  SubPane *old = sFocusPane;
  sFocusPane = p;
  if (old)
    old->LostFocus();
  if (p && sFocusPane == p)
    p->GainedFocus();
}

__attribute__((weak)) SubPane *GetCaptureMouse() { return sCapturePane; }
__attribute__((weak)) void CaptureMouse(SubPane *p) { sCapturePane = p; }
__attribute__((weak)) void ReleaseMouse() { sCapturePane = nullptr; }
__attribute__((weak)) int32_t GetForeLayer() { return 0; }
__attribute__((weak)) void ModalEvents() { gtk_main_iteration_do(TRUE); }
__attribute__((weak)) bool IsAppShuttingDown() { return false; }
__attribute__((weak)) void UpdateMouseCursor() {}
__attribute__((weak)) bool ApplicationMouseCursor(MouseCursor **) { return false; }
