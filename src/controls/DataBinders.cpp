#include "controls/DataBinders.h"

#include <iterator>

#include "controls/ControlClasses.h"
#include "controls/ControlEntryPoints.h"
#include "controls/DataBindingServices.h"
#include "runtime/objects/ClassRegistry.h"
#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/ValueEntryPoints.h"

namespace {

BinderObject *AsBinder(RuntimeObject *object) { return reinterpret_cast<BinderObject *>(object); }

template <typename F> F Lookup(RuntimeObject *object, ObjectDefinition *iface, const char *name) {
  return InterfaceMethodAs<F>(object, iface, name);
}

using ObjectMethod1 = void (*)(RuntimeObject *, RuntimeObject *);

bool IsDataBinder(RuntimeObject *object) {
  return IsObjectOfClass(object, EnablingBinderClass()) ||
         IsObjectOfClass(object, StringBinderClass());
}

// The binder leaves its old source, takes the new pair and joins the new
// source's receivers; the caller reloads.
void BindData(RuntimeObject *binder, RuntimeObject *source, RuntimeObject *dest) {
  BinderObject *b = AsBinder(binder);
  RuntimeLockObject(binder); // the old source's list may hold its last reference
  if (auto remove = Lookup<ObjectMethod1>(b->source, DataNotifierClass(),
                                          "removeDataNotificationReceiver"))
    remove(b->source, binder);
  b->source = source;
  RuntimeLockUnlockObjects(dest, b->dest);
  b->dest = dest;
  if (auto add = Lookup<ObjectMethod1>(source, DataNotifierClass(), "addDataNotificationReceiver"))
    add(source, binder);
  RuntimeUnlockObject(binder);
}

void BinderDestructor(RuntimeObject *object) {
  BinderObject *b = AsBinder(object);
  RuntimeUnlockObject(b->dest);
  b->dest = nullptr;
  b->source = nullptr;
}

#define CODE(function) reinterpret_cast<void *>(function), #function

MethodParameter BindParameters[] = {{"source", nullptr, 0, {}, 0, {}, 0, {}},
                                    {"dest", nullptr, 0, {}, 0, {}, 0, {}}};

PropertyMethod BindRow(void *code, const char *name) {
  return PropertyMethod{"bind", nullptr, BindParameters, 2, {{code, name, {}}, {}}, 0, 0, 0};
}

PropertyMethod ReloadRow(void *code, const char *name) {
  return PropertyMethod{"DataChanged", nullptr, nullptr, 0, {{code, name, {}}, {}}, 0, 0, 0};
}

// A binder class: no superclass, the two references, its methods and the
// interfaces it implements.
ObjectDefinition *Binder(ObjectDefinition &defn, const char *name, PropertyMethod *rows,
                         int count, bool receivesData) {
  if (!defn.className.IsEmpty())
    return &defn;
  defn.className = string(name);
  defn.objectSize = sizeof(BinderObject);
  defn.staticTables = 1;
  defn.destructor = BinderDestructor;
  BindParameters[0].type = BindParameters[1].type = ObjectClass()->AsType();
  defn.methods = FillMethods(rows, count);
  defn.addInterface(BindingInterfaceClass());
  if (receivesData)
    defn.addInterface(DataNotificationReceiverClass());
  return &defn;
}

} // namespace

void *InterfaceMethod(RuntimeObject *object, ObjectDefinition *iface, const char *name) {
  if (!object || !supportsInterface(object, iface))
    return nullptr;
  return interfaceMethodProc(object, iface, string(name));
}

// Binders and edit fields keep their source without a reference.
void ForgetDyingSource(RuntimeObject *receiver, const void *list) {
  RuntimeObject **source = nullptr;
  if (IsDataBinder(receiver))
    source = &AsBinder(receiver)->source;
  else if (IsEditField(receiver))
    source = GetEditBindingHooks().boundSourceSlot(receiver);
  if (!source || !*source || !(*source)->classPtr)
    return;
  auto *start = reinterpret_cast<const char *>(*source);
  auto *at = static_cast<const char *>(list);
  if (at >= start && at < start + (*source)->classPtr->instanceSize)
    *source = nullptr;
}

ObjectDefinition *EnablingBinderClass() {
  static ObjectDefinition defn;
  PropertyMethod rows[] = {BindRow(CODE(enablingBinderBind)),
                           ReloadRow(CODE(enablingBinderReload))};
  return Binder(defn, "enablingBinder", rows, std::size(rows), true);
}

ObjectDefinition *ActionBinderClass() {
  static ObjectDefinition defn;
  PropertyMethod rows[] = {BindRow(CODE(actionBinderBind))};
  return Binder(defn, "actionBinder", rows, std::size(rows), false);
}

ObjectDefinition *StringBinderClass() {
  static ObjectDefinition defn;
  PropertyMethod rows[] = {BindRow(CODE(stringBinderBind)), ReloadRow(CODE(stringBinderReload))};
  return Binder(defn, "stringBinder", rows, std::size(rows), true);
}

ObjectDefinition *ListBinderClass() {
  static ObjectDefinition defn;
  PropertyMethod rows[] = {BindRow(CODE(listBinderBind))};
  return Binder(defn, "listBinder", rows, std::size(rows), false);
}

extern "C" {

void enablingBinderBind(RuntimeObject *binder, RuntimeObject *source, RuntimeObject *dest) {
  if (!binder)
    return;
  BindData(binder, source, dest);
  enablingBinderReload(binder);
}

// Only a control has an Enabled to write; any other dest is left alone.
void enablingBinderReload(RuntimeObject *binder) {
  BinderObject *b = AsBinder(binder);
  using GetBoolean = int32_t (*)(RuntimeObject *);
  int32_t value = 0;
  if (auto get = Lookup<GetBoolean>(b->source, BooleanProviderClass(), "getBoolean"))
    value = get(b->source) != 0;
  if (IsObjectOfClass(b->dest, RectControlClass()))
    controlEnabledSetter(b->dest, 0, value);
}

void actionBinderBind(RuntimeObject *, RuntimeObject *source, RuntimeObject *dest) {
  if (auto add = Lookup<ObjectMethod1>(source, ActionSourceClass(), "addActionNotificationReceiver"))
    add(source, dest);
}

void stringBinderBind(RuntimeObject *binder, RuntimeObject *source, RuntimeObject *dest) {
  if (!binder)
    return;
  BindData(binder, source, dest);
  stringBinderReload(binder);
}

void stringBinderReload(RuntimeObject *binder) {
  BinderObject *b = AsBinder(binder);
  RuntimeObject *source = b->source;
  RuntimeObject *dest = b->dest;
  RuntimeLockObject(dest); // a setString may let the binder go
  using GetString = stringStorage *(*)(RuntimeObject *);
  using GetBoolean = int32_t (*)(RuntimeObject *);
  using SetString = void (*)(RuntimeObject *, stringStorage *);
  stringStorage *text = nullptr;
  if (auto get = Lookup<GetString>(source, StringProviderClass(), "getString"))
    text = get(source);
  int32_t available = 1;
  if (auto has = Lookup<GetBoolean>(source, DataAvailableProviderClass(), "dataAvailable"))
    available = has(source) != 0;
  if (auto set = Lookup<SetString>(dest, StringInterfaceClass(), "setString")) {
    set(dest, text);
    if (IsEditField(dest))
      GetEditBindingHooks().bindValue(dest, source);
  }
  if (AsControl(dest))
    controlEnabledSetter(dest, 0, available);
  RuntimeUnlockString(text);
  RuntimeUnlockObject(dest);
}

void listBinderBind(RuntimeObject *, RuntimeObject *source, RuntimeObject *dest) {
  if (auto bind = Lookup<ObjectMethod1>(dest, ListInterfaceClass(), "BindList"))
    bind(dest, source);
}

} // extern "C"

void CreateDataBindClasses() {
  ObjectDefinition *(*const builders[])() = {
      StringProviderClass,
      BooleanProviderClass,
      StringInterfaceClass,
      ListInterfaceClass,
      DataAvailableProviderClass,
      DataNotifierClass,
      DataNotificationReceiverClass,
      ListSelectionNotifierClass,
      ListSelectionNotificationReceiverClass,
      ListDataProviderClass,
      ListDataNotifierClass,
      ListDataNotificationReceiverClass,
      TupleInterfaceClass,
      ActionSourceClass,
      ActionNotificationReceiverClass,
      BindingInterfaceClass,
      EnablingBinderClass,
      ActionBinderClass,
      StringBinderClass,
      ListBinderClass,
      BindingPartInterfaceClass,
  };
  for (auto builder : builders)
    addIntrinsicClass(builder());
}
