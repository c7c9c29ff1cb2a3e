// What the run loop needs of panes, and the keyboard-focus and mouse-capture
// registers that panes use. Panes belong to the windows area, which the
// runtime does not include: it fills PaneHooks at start-up
// (the installer in UpperAreaHooks). Until then every hook does
// nothing, so no pane ever reports a drag or focus change.
#pragma once
#include <gdk/gdk.h>

#include <cstdint>

class SubPane; // defined by the windows area; only pointed at here

struct PaneHooks {
  void (*LostFocus)(SubPane *pane);
  void (*GainedFocus)(SubPane *pane);
  void (*FocusIdle)(SubPane *pane); // once per run-loop step for the focus pane
  // The pointer position (horizontal, vertical) in the coordinates of the
  // pane's window, as GetSubPaneWindow answers it.
  void (*HandleMouseDrag)(SubPane *pane, int32_t h, int32_t v);
  // The GDK window whose coordinates drags are reported in; nil when the
  // pane has none (its drag is then not reported).
  GdkWindow *(*GetSubPaneWindow)(SubPane *pane);
  // Keeps the pane alive across a call that may close it; every Protect is
  // paired with one UnprotectCausesDeath, which answers true when the pane
  // was closed meanwhile (it is gone then and must not be touched).
  void (*Protect)(SubPane *pane);
  bool (*UnprotectCausesDeath)(SubPane *pane);
};

// Copies the hooks; a nil member does nothing (UnprotectCausesDeath answers
// false, GetSubPaneWindow nil). Nil restores the do-nothing hooks.
void InstallPaneHooks(const PaneHooks *hooks);
const PaneHooks &GetPaneHooks();

// Keyboard focus. Setting the pane that has the focus does nothing;
// otherwise the old pane loses it first and the new pane gains it only if
// the old one's LostFocus did not move the focus elsewhere.
void SetFocusPane(SubPane *pane);
SubPane *GetFocusPane();

// Mouse capture: while a pane holds it, every run-loop step reports the
// pointer position to it and the loop does not block.
SubPane *CaptureMouse(SubPane *pane);
void ReleaseMouse();
SubPane *GetCaptureMouse();

// Reads the pointer position in a window's coordinates; answers false when
// it cannot. Replaceable so that tests can move a pretend pointer; nil
// restores the GDK reader.
using PointerPositionReader = bool (*)(GdkWindow *window, int32_t *h, int32_t *v);
void SetPointerPositionReader(PointerPositionReader reader);
bool ReadPointerPosition(GdkWindow *window, int32_t *h, int32_t *v);

// The front-layer value, stored for the windows area.
void SetForeLayer(int32_t layer);
int32_t GetForeLayer();
