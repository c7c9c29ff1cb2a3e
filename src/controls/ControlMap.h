// A control's view of its window's control map: the window object, the map,
// the keys controls are entered under, and the walk over the controls inside
// a control.
#pragma once
#include "controls/RuntimeControl.h"
#include "foundation/String.h"
#include "runtime/loop/WindowInterface.h"
#include "windows/ControlWalk.h"

// The window object the control belongs to, or nil.
inline RuntimeView *WindowOf(RuntimeControl *c) {
  return c ? reinterpret_cast<RuntimeView *>(c->view) : nullptr;
}
// The window's control map, or nil.
StringMap<RuntimeObject *> *ControlMapOf(RuntimeControl *c);
// True once the window's native window has closed: its pane tree is gone and
// the map no longer holds references to the controls left in it.
bool WindowHasClosed(RuntimeView *view);
// Name for a single control, Name$Index for a member of a control array.
string ControlMapKey(const string &name, int32_t index);

// Calls fn(other) for every control of c's window, in map order, whose pane
// lies anywhere inside c's pane, over a ControlWalk (fn may run language
// code). Nothing without a pane or a window.
template <typename F>
void ForEachContainedControl(RuntimeControl *c, F fn);

// Implementation detail of ForEachContainedControl.
bool PaneContains(SubPane *outer, SubPane *inner);
RuntimeControl *ControlInMap(RuntimeObject *object);

template <typename F>
void ForEachContainedControl(RuntimeControl *c, F fn) {
  if (!c->pane || !ControlMapOf(c))
    return;
  ControlWalk walk(WindowOf(c));
  for (RuntimeObject *object : walk) {
    RuntimeControl *other = ControlInMap(object);
    if (other && other != c && other->pane && c->pane && PaneContains(c->pane, other->pane))
      fn(other);
  }
}
