// What the push button, check box and radio button share between their
// language objects and their panes: the five events their classes declare,
// a router that forgets the object's pane when the pane closes and fires the
// mouse and focus events, the making of the pane, and the class record.
//
// Object is the control's instance record: its RuntimeControl first and an
// owned `Router *router`. Delegate is the pane's delegate, whose mouse and
// focus reports are named after the pane class (CheckBoxMouseDown, ...).
#pragma once
#include <cstddef>
#include <cstdint>

#include "controls/ControlClasses.h"
#include "controls/ControlEventFiring.h"
#include "controls/RuntimeControl.h"
#include "runtime/objects/ClassTables.h"
#include "runtime/objects/ObjectDefinition.h"
#include "windows/Pane.h"
#include "windows/PaneDelegate.h"
#include "windows/SubPane.h"

enum ButtonEvent {
  kButtonAction,
  kButtonMouseDown,
  kButtonMouseUp,
  kButtonGotFocus,
  kButtonLostFocus
};

// The event rows of one class, in slot order; one table per object type,
// because building the class writes its event declarations into the rows.
template <typename Object>
ObjectHookTemplate *ButtonHooks() {
  static ObjectHookTemplate hooks[] = {
      {0, "Action", "", "", nullptr, 0},
      {0, "MouseDown", "X As Integer, Y As Integer", "Boolean", nullptr, 0},
      {0, "MouseUp", "X As Integer, Y As Integer", "Boolean", nullptr, 0},
      {0, "GotFocus", "", "", nullptr, 0},
      {0, "LostFocus", "", "", nullptr, 0},
  };
  return hooks;
}
constexpr int kButtonEventCount = 5;

template <typename Object>
const ObjectHook *ButtonHook(ButtonEvent event) {
  return ButtonHooks<Object>()[event].hook;
}

// The router's part that does not depend on the pane's reports of a change.
// The object is not counted: it owns the router.
template <typename Object, typename Delegate>
class ButtonRouter : public Delegate, public PaneDeathNotificationReceiver {
public:
  explicit ButtonRouter(Object *object) : mObject(object) {
    Pane::AddPaneDeathNotificationReceiver(this);
  }
  void PaneImpendingDeath(Pane *p) override {
    if (mObject->control.pane == p)
      mObject->control.pane = nullptr;
  }

protected:
  RuntimeObject *Self() const { return &mObject->control.header; }
  void Fire(ButtonEvent event) const { FireEvent(Self(), ButtonHook<Object>(event)); }
  bool FireMouse(ButtonEvent event, int32_t x, int32_t y) const {
    return FireMouseEvent(Self(), ButtonHook<Object>(event), x, y);
  }
  void FireFocus(ButtonEvent event, SubPane *pane) const {
    FireFocusEvent(Self(), pane, ButtonHook<Object>(event));
  }

  Object *mObject;
};

// Declares and defines, inside a router class, the delegate's four mouse and
// focus reports for a pane class named PaneClass: each fires the event of the
// same name on the object.
#define BUTTON_ROUTER_MOUSE_AND_FOCUS(PaneClass)                                                   \
  bool PaneClass##MouseDown(PaneClass *, int32_t x, int32_t y) override {                          \
    return FireMouse(kButtonMouseDown, x, y);                                                      \
  }                                                                                                \
  bool PaneClass##MouseUp(PaneClass *, int32_t x, int32_t y) override {                            \
    return FireMouse(kButtonMouseUp, x, y);                                                        \
  }                                                                                                \
  void PaneClass##GotFocus(PaneClass *pane) override { FireFocus(kButtonGotFocus, pane); }         \
  void PaneClass##LostFocus(PaneClass *pane) override { FireFocus(kButtonLostFocus, pane); }

// The object's pane: its router made on first use, the pane made by
// make(router), remembered by the object and moved into the control the
// object was placed in, if that control has its pane already.
template <typename Router, typename Object, typename Make>
auto MakeButtonPane(Object *object, Make make) {
  if (!object->router)
    object->router = new Router(object);
  auto *pane = make(object->router);
  object->control.pane = pane;
  if (RuntimeControl *parent = object->control.initialParent; parent && parent->pane)
    pane->ReassignParent(parent->pane);
  return pane;
}

// Fills the class record of a button class below RectControl: its name,
// size, destructor, "CreatePane" handler, properties, methods and the five
// events. Interfaces are the caller's to add.
template <typename Object, size_t Properties, size_t Methods>
void DefineButtonClass(ObjectDefinition &defn, const char *name, int32_t size,
                       void (*destructor)(RuntimeObject *), void (*createPane)(RuntimeObject *),
                       ObjectInstanceTemplate (&properties)[Properties],
                       PropertyMethod (&methods)[Methods]) {
  DefineControlClass(defn, name, RectControlClass(), size, destructor, createPane);
  defn.properties = FillInstances(properties, static_cast<int>(Properties));
  defn.methods = FillMethods(methods, static_cast<int>(Methods));
  FillHooks(&defn, ButtonHooks<Object>(), kButtonEventCount);
}
