#include "runtime/loop/PaneInterface.h"

namespace {

PaneHooks sPaneHooks{};
SubPane *sFocusPane = nullptr;
SubPane *sCapturePane = nullptr;
int32_t sForeLayer = 0;

bool ReadPointerFromGdk(GdkWindow *window, int32_t *h, int32_t *v) {
  if (!window)
    return false;
  gint x = 0, y = 0;
  gdk_window_get_pointer(window, &x, &y, nullptr);
  *h = x;
  *v = y;
  return true;
}

PointerPositionReader sPointerReader = ReadPointerFromGdk;

} // namespace

void InstallPaneHooks(const PaneHooks *hooks) { sPaneHooks = hooks ? *hooks : PaneHooks{}; }
const PaneHooks &GetPaneHooks() { return sPaneHooks; }

void SetFocusPane(SubPane *pane) {
  if (pane == sFocusPane)
    return;
  SubPane *old = sFocusPane;
  sFocusPane = nullptr;
  if (old && sPaneHooks.LostFocus)
    sPaneHooks.LostFocus(old);
  // The old pane's LostFocus may have put the focus elsewhere; that wins.
  if (!sFocusPane && pane) {
    sFocusPane = pane;
    if (sPaneHooks.GainedFocus)
      sPaneHooks.GainedFocus(pane);
  }
}

SubPane *GetFocusPane() { return sFocusPane; }

SubPane *CaptureMouse(SubPane *pane) {
  sCapturePane = pane;
  return pane;
}

void ReleaseMouse() { sCapturePane = nullptr; }
SubPane *GetCaptureMouse() { return sCapturePane; }

void SetPointerPositionReader(PointerPositionReader reader) {
  sPointerReader = reader ? reader : ReadPointerFromGdk;
}

bool ReadPointerPosition(GdkWindow *window, int32_t *h, int32_t *v) {
  return sPointerReader(window, h, v);
}

void SetForeLayer(int32_t layer) { sForeLayer = layer; }
int32_t GetForeLayer() { return sForeLayer; }
