// The properties whose change reaches the controls inside a control:
// Visible, Enabled, position, tab-panel index, and the parent relation.
#include "controls/ControlAlerts.h"
#include "controls/ControlClasses.h"
#include "controls/ControlEntryPoints.h"
#include "controls/ControlMap.h"
#include "runtime/exceptions/ExceptionClasses.h"
#include "windows/SubPane.h"

namespace {

constexpr int32_t kEnableAction = 5, kDisableAction = 6, kShowAction = 7, kHideAction = 8;

RuntimeControl *Fields(RuntimeObject *object) { return reinterpret_cast<RuntimeControl *>(object); }

// Sends the pane the action for the new state, then every contained pane the
// same, except that one whose own flag is False always gets the off action:
// a container never turns on what its child turned off itself.
void Cascade(RuntimeControl *c, bool on, uint8_t RuntimeControl::*flag, int32_t onAction,
             int32_t offAction) {
  if (!c->pane)
    return;
  c->pane->HandleAction(on ? onAction : offAction);
  ForEachContainedControl(c, [&](RuntimeControl *other) {
    other->pane->HandleAction(other->*flag && on ? onAction : offAction);
  });
}

SubPane *WindowPaneOf(RuntimeControl *c) { return c->pane ? SubPane::GetSubPaneWindow(c->pane) : nullptr; }

} // namespace

void RuntimeControl::SetTabPanelIndex(int32_t newIndex) {
  tabPanelIndex = newIndex;
  if (!pane)
    return;
  if (!view) {
    ShowAlert(kTabPanelIndexWindowAlert);
    return;
  }
  ForEachContainedControl(this, [&](RuntimeControl *other) { other->SetTabPanelIndex(newIndex); });
}

extern "C" {

void ControlVisibleSetter(RuntimeObject *o, int32_t, int32_t value) {
  if (!o)
    return;
  RuntimeControl *c = Fields(o);
  c->visible = value ? 1 : 0;
  Cascade(c, c->visible, &RuntimeControl::visible, kShowAction, kHideAction);
}

void controlEnabledSetter(RuntimeObject *o, int32_t, int32_t value) {
  if (!o)
    return;
  RuntimeControl *c = Fields(o);
  c->enabled = value ? 1 : 0;
  Cascade(c, c->enabled, &RuntimeControl::enabled, kEnableAction, kDisableAction);
}

void ctlPosSetter(RuntimeObject *o, int32_t which, int32_t value) {
  if (!o)
    return;
  RuntimeControl *c = Fields(o);
  QV::Rect old = c->bounds;
  QV::Rect &b = c->bounds;
  int16_t dh = 0, dv = 0;
  switch (which) {
  case 0:
    dh = static_cast<int16_t>(value - old.left);
    break;
  case 1:
    dv = static_cast<int16_t>(value - old.top);
    break;
  case 2:
    b.right = static_cast<int16_t>(b.left + (value < 0 ? 0 : value));
    break;
  case 3:
    b.bottom = static_cast<int16_t>(b.top + (value < 0 ? 0 : value));
    break;
  default:
    return;
  }
  QV::OffsetRect(&b, dh, dv);
  // Contained controls keep their place inside the container; their panes
  // follow when the container's pane moves.
  if (dh || dv)
    ForEachContainedControl(c, [&](RuntimeControl *other) { QV::OffsetRect(&other->bounds, dh, dv); });
  if (c->pane && !QV::EqualRect(&old, &b))
    c->pane->MovePane(b, true);
}

void ControlTabPanelIndexSetter(RuntimeObject *o, int32_t, int32_t value) {
  if (!o)
    return;
  RuntimeControl *c = Fields(o);
  c->SetTabPanelIndex(value);
  if (c->pane)
    c->pane->SetTabPanelIndex(value);
}

RuntimeObject *ControlParentGetter(RuntimeObject *o, int32_t) {
  RuntimeControl *c = o ? Fields(o) : nullptr;
  StringMap<RuntimeObject *> *map = ControlMapOf(c);
  if (!c || !c->pane || !map)
    return nullptr;
  RuntimeObject *parent = nullptr;
  StringMapIterator<RuntimeObject *> *it = map->NewIterator();
  RuntimeObject *object = nullptr;
  while (!parent && it->Next(&object)) {
    RuntimeControl *other = AsControl(object);
    if (other && other != c && other->pane && other->pane->Contains(c->pane, false))
      parent = object;
  }
  delete it;
  RuntimeLockObject(parent);
  return parent;
}

void ControlParentSetter(RuntimeObject *o, int32_t, RuntimeObject *newParent) {
  RuntimeControl *c = o ? Fields(o) : nullptr;
  if (!c || !c->pane)
    return;
  RuntimeControl *parent = AsControl(newParent);
  if (parent && parent->pane) {
    // A control inside itself would make the pane tree a cycle that every
    // later walk of it follows for ever.
    if (WindowPaneOf(parent) != WindowPaneOf(c) || parent->pane == c->pane ||
        c->pane->Contains(parent->pane, true)) {
      RaiseExceptionClass(InvalidParentExceptionClass());
      return;
    }
    c->pane->ReassignParent(parent->pane);
    if (c->enabled)
      c->pane->HandleAction(parent->enabled ? kEnableAction : kDisableAction);
    if (c->visible)
      c->pane->HandleAction(parent->visible ? kShowAction : kHideAction);
    return;
  }
  SubPane *windowPane = WindowPaneOf(c);
  if (!windowPane || c->pane->GetEmbedder() == windowPane)
    return;
  c->pane->ReassignParent(windowPane);
  if (c->enabled)
    c->pane->HandleAction(kEnableAction);
  if (c->visible)
    c->pane->HandleAction(kShowAction);
}

void ControlInitialParentSetter(RuntimeObject *o, int32_t, stringStorage *name) {
  RuntimeControl *c = o ? Fields(o) : nullptr;
  StringMap<RuntimeObject *> *map = ControlMapOf(c);
  if (!c || !name || !map)
    return;
  string wanted = string::Borrow(name);
  StringMapIterator<RuntimeObject *> *it = map->NewIterator();
  RuntimeObject *object = nullptr;
  while (it->Next(&object)) {
    RuntimeControl *other = AsControl(object);
    if (other && string::Borrow(other->name).Compare(wanted) == 0) {
      c->initialParent = other;
      break;
    }
  }
  delete it;
}

} // extern "C"
