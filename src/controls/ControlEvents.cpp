// The events of controls and the window layer's view of a control object.
#include <iterator>

#include "controls/RuntimeControl.h"
#include "runtime/objects/ClassTables.h"
#include "windows/ControlServices.h"

// The Control class's own events, in slot order.
ObjectHookTemplate ControlHooks[] = {
    {0, "CreatePane", "", "", nullptr, 0},
    {0, "Open", "", "", nullptr, 0},
    {0, "Close", "", "", nullptr, 0},
};

// The mouse and drop events that controls share, in slot order.
ObjectHookTemplate ComponentHooks[] = {
    {0, "MouseMove", "X As Integer, Y As Integer", "", nullptr, 0},
    {0, "MouseEnter", "", "", nullptr, 0},
    {0, "MouseExit", "", "", nullptr, 0},
    {0, "DropObject", "obj As DragItem", "", nullptr, 0},
};

const ObjectHook *ControlEventHook(ControlEvent event) {
  auto i = static_cast<size_t>(event);
  return i < std::size(ControlHooks) ? ControlHooks[i].hook
                                     : ComponentHooks[i - std::size(ControlHooks)].hook;
}

ControlFields FieldsOfControl(RuntimeObject *object) {
  auto *c = reinterpret_cast<RuntimeControl *>(object);
  return ControlFields{
      &c->pane,          &c->visible, &c->enabled,     &c->autoDeactivate,      &c->mouseInside,
      &c->lockLeft,      &c->lockTop, &c->lockRight,   &c->lockBottom,          &c->bounds,
      &c->tabPanelIndex, &c->view,    &c->balloonHelp, &c->disabledBalloonHelp, &c->helpTag,
      &c->mMenuHandlers, &c->name,    &c->index,       &c->container};
}
