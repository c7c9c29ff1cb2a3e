#include "controls/ToggleActionPart.h"

#include "controls/DataBindingServices.h"
#include "foundation/String.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ObjectDefinition.h"

ObjectDefinition *BuildToggleActionClass(ObjectDefinition &defn, const char *name,
                                         PropertyMethod (&methods)[2], ObjectProc destructor) {
  if (!defn.className.IsEmpty())
    return &defn;
  defn.className = string(name);
  defn.objectSize = sizeof(ToggleActionObject);
  defn.destructor = destructor;
  defn.staticTables = 1;
  for (PropertyMethod &m : methods)
    m.params[0].type = ActionNotificationReceiverClass()->AsType();
  defn.methods = FillMethods(methods, 2);
  defn.addInterface(ActionSourceClass());
  return &defn;
}

RuntimeObject *NewToggleActionPart(ObjectDefinition *cls, RuntimeObject *owner,
                                   stringStorage *name) {
  const string part = string::Borrow(name);
  int32_t checked;
  if (part.Compare(string("getCheckedAction")) == 0)
    checked = 1;
  else if (part.Compare(string("getUncheckedAction")) == 0)
    checked = 0;
  else
    return nullptr;
  RuntimeObject *object = owner ? CreateInstance(cls) : nullptr;
  if (!object)
    return nullptr;
  auto *p = reinterpret_cast<ToggleActionObject *>(object);
  RuntimeLockObject(owner);
  p->owner = owner;
  p->checked = checked;
  return object;
}

void ReleaseToggleActionOwner(RuntimeObject *part) {
  auto *p = reinterpret_cast<ToggleActionObject *>(part);
  RuntimeObject *owner = p->owner;
  p->owner = nullptr;
  RuntimeUnlockObject(owner);
}
