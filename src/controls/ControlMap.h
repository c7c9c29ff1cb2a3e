// A control's view of its window's control map: the window object, the map,
// the keys controls are entered under, and walks over the controls in map
// order.
#pragma once
#include <vector>

#include "controls/RuntimeControl.h"
#include "foundation/String.h"
#include "runtime/loop/WindowInterface.h"

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

// The controls of the window in map order, each held for as long as the walk
// lives: handlers run during the walk may take controls out of the map.
class HeldControls {
public:
  explicit HeldControls(RuntimeView *view);
  ~HeldControls();
  HeldControls(const HeldControls &) = delete;
  HeldControls &operator=(const HeldControls &) = delete;
  const std::vector<RuntimeControl *> &controls() const { return mControls; }

private:
  std::vector<RuntimeControl *> mControls;
};

// Calls fn(other) for every control of c's window, in map order, whose pane
// lies anywhere inside c's pane. Nothing without a pane or a window. fn must
// not run language code: the map is walked as it stands.
template <typename F>
void ForEachContainedControl(RuntimeControl *c, F fn);

// Implementation detail of ForEachContainedControl.
bool PaneContains(SubPane *outer, SubPane *inner);
RuntimeControl *ControlInMap(RuntimeObject *object);

template <typename F>
void ForEachContainedControl(RuntimeControl *c, F fn) {
  StringMap<RuntimeObject *> *map = ControlMapOf(c);
  if (!c->pane || !map)
    return;
  StringMapIterator<RuntimeObject *> *it = map->NewIterator();
  RuntimeObject *object = nullptr;
  while (it->Next(&object)) {
    RuntimeControl *other = ControlInMap(object);
    if (other && other != c && other->pane && PaneContains(c->pane, other->pane))
      fn(other);
  }
  delete it;
}
