// How compiled windows bind the event code they hold for their controls:
// per-object handlers, and the exchange that runs such a handler with the
// window as self and the control as me.
#include "controls/ControlAlerts.h"
#include "controls/ControlClasses.h"
#include "controls/ControlEntryPoints.h"
#include "runtime/objects/ObjectDefinitionConverter.h"

extern "C" {

void RuntimeInstallInstanceEventHandler(RuntimeObject *target, stringStorage *eventName,
                                        void *handler) {
  if (!target) {
    ShowAlert(kEventTargetAlert);
    return;
  }
  if (!target->classPtr) {
    ShowAlert(kEventTargetClassAlert);
    return;
  }
  EventEntry *table = MakePrivateEventTable(target);
  if (!table)
    return;
  string wanted = string::Borrow(eventName);
  // From the last entry: a subclass's event hides an ancestor's of that name.
  for (int32_t ctr = target->classPtr->eventCount - 1; ctr >= 0; --ctr) {
    if (string::Borrow(table[ctr].name).Compare(wanted) != 0)
      continue;
    if (table[ctr].vector)
      ShowAlert(kEventVectorAlert);
    table[ctr].vector = handler;
    return;
  }
}

void RuntimeExchangeSelfAndMe(RuntimeObject **selfVar, RuntimeObject **meVar) {
  if (!selfVar) {
    ShowAlert(kSelfVarAlert);
    return;
  }
  if (!meVar) {
    ShowAlert(kMeVarAlert);
    return;
  }
  // me takes over self's reference; self gets one of its own on the window.
  RuntimeObject *self = *selfVar;
  *meVar = self;
  if (AsControl(self)) {
    *selfVar = controlWindowGetter(self, 0);
    return;
  }
  RuntimeClass *paneChild = LookupObjectDefinition(PaneChildInterface());
  if (self && paneChild && RuntimeObjectIsa(self, paneChild)) {
    MethodEntry *vtable = RuntimeLookupInterfaceVtable(self, paneChild);
    if (!vtable || !vtable[kPaneChildGetWindowMethodIndex].code) {
      ShowAlert(kPaneChildVtableAlert);
      return;
    }
    using WindowMethod = RuntimeObject *(*)(RuntimeObject *);
    *selfVar = reinterpret_cast<WindowMethod>(vtable[kPaneChildGetWindowMethodIndex].code)(self);
    return;
  }
  ShowAlert(kNotAControlAlert, "Non-control object has a window event implementation");
}

void RuntimeExchangeSelfAndMeClass(RuntimeObject **selfVar, RuntimeObject **meVar,
                                   RuntimeClass *cls) {
  if (!selfVar) {
    ShowAlert(kSelfVarAlert);
    return;
  }
  if (!meVar) {
    ShowAlert(kMeVarAlert);
    return;
  }
  RuntimeObject *self = *selfVar;
  *meVar = self;
  // Up the chain of containers; each parent comes with a reference, which
  // the one that matches keeps for self.
  RuntimeObject *current = self;
  bool held = false;
  while (IsObjectOfClass(current, RectControlClass())) {
    RuntimeObject *parent = ControlParentGetter(current, 0);
    if (held)
      RuntimeUnlockObject(current);
    current = parent;
    held = true;
    if (parent && RuntimeObjectIsa(parent, cls)) {
      *selfVar = parent;
      return;
    }
  }
  if (held)
    RuntimeUnlockObject(current);
  string name = cls ? string::Borrow(cls->name) : string();
  string message = string("couldn't find ") + name + string(" in container chain");
  ShowAlert(kContainerChainAlert, message.CString());
  *selfVar = nullptr;
}

} // extern "C"
