#include "runtime/objects/RuntimeClass.h"

#include <cstring>

#include "foundation/AssertionAlert.h"
#include "foundation/Memory.h"
#include "runtime/exceptions/RuntimeExceptions.h"
#include "runtime/objects/RuntimeObject.h"

namespace {

// Copies as many entries of a base table as the new table holds.
template <typename Entry>
void CopyBaseEntries(Entry *to, int32_t toCount, const Entry *from, int32_t fromCount) {
  int32_t n = fromCount < toCount ? fromCount : toCount;
  if (n > 0)
    std::memcpy(to, from, sizeof(Entry) * n);
}

int32_t NonNegative(int32_t count) { return count > 0 ? count : 0; }

} // namespace

extern "C" RuntimeClass *RuntimeNewClass(RuntimeClass *base, int32_t methodCount,
                                         int32_t interfaceCount, int32_t eventCount,
                                         int32_t staticMethodCount, int32_t propertyCount) {
  methodCount = NonNegative(methodCount);
  interfaceCount = NonNegative(interfaceCount);
  eventCount = NonNegative(eventCount);
  staticMethodCount = NonNegative(staticMethodCount);
  propertyCount = NonNegative(propertyCount);
  size_t size = sizeof(RuntimeClass) + sizeof(InterfaceEntry) * interfaceCount +
                sizeof(MethodEntry) * methodCount + sizeof(EventEntry) * eventCount +
                sizeof(StaticMethodEntry) * staticMethodCount +
                sizeof(PropertyEntry) * propertyCount;
  auto *out = reinterpret_cast<RuntimeClass *>(OSalloc(long(size), kMemFullReturnNull));
  if (!out) {
    RaiseNilObjectException();
    return nullptr;
  }
  std::memset(out, 0, size);
  out->methodCount = methodCount;
  out->interfaceCount = interfaceCount;
  out->eventCount = eventCount;
  out->staticMethodCount = staticMethodCount;
  out->propertyCount = propertyCount;
  out->methods = reinterpret_cast<MethodEntry *>(out->interfaces + interfaceCount);
  out->events = reinterpret_cast<EventEntry *>(out->methods + methodCount);
  out->staticMethods = reinterpret_cast<StaticMethodEntry *>(out->events + eventCount);
  out->properties = reinterpret_cast<PropertyEntry *>(out->staticMethods + staticMethodCount);

  if (base) {
    // A derived table is never shorter than its base's; when it is, only the
    // first entries of the base fit.
    RUNTIME_CHECK(out->methodCount >= base->methodCount);
    RUNTIME_CHECK(out->interfaceCount >= base->interfaceCount);
    RUNTIME_CHECK(out->eventCount >= base->eventCount);
    RUNTIME_CHECK(out->staticMethodCount >= base->staticMethodCount);
    RUNTIME_CHECK(out->propertyCount >= base->propertyCount);
    CopyBaseEntries(out->methods, out->methodCount, base->methods, base->methodCount);
    CopyBaseEntries(out->interfaces, out->interfaceCount, base->interfaces, base->interfaceCount);
    CopyBaseEntries(out->events, out->eventCount, base->events, base->eventCount);
    CopyBaseEntries(out->staticMethods, out->staticMethodCount, base->staticMethods,
                    base->staticMethodCount);
    CopyBaseEntries(out->properties, out->propertyCount, base->properties, base->propertyCount);
  }
  out->base = base;
  out->reserved = nullptr;
  return out;
}

extern "C" MethodEntry *RuntimeNewVtable(int32_t count) {
  if (count <= 0)
    return nullptr;
  size_t size = sizeof(MethodEntry) * size_t(count);
  auto *table = reinterpret_cast<MethodEntry *>(OSalloc(long(size), kMemFullReturnNull));
  if (!table) {
    RaiseNilObjectException();
    return nullptr;
  }
  // Zeroed, so that a slot the caller leaves unfilled is a nil entry rather
  // than garbage.
  std::memset(table, 0, size);
  return table;
}

namespace {

const InterfaceEntry *FindInterfaceEntry(const RuntimeClass *cls, const RuntimeClass *iface) {
  // Base classes need not be searched: their entries were copied in.
  for (int32_t i = 0; i < cls->interfaceCount; ++i)
    if (cls->interfaces[i].interfaceClass == iface)
      return &cls->interfaces[i];
  return nullptr;
}

} // namespace

extern "C" int32_t RuntimeObjectIsa(RuntimeObject *object, RuntimeClass *cls) {
  if (!object)
    return 0;
  if (!cls)
    return 1;
  RuntimeClass *own = object->classPtr;
  if (!own)
    return 0;
  if (cls->isAnInterface && FindInterfaceEntry(own, cls))
    return 1;
  for (RuntimeClass *c = own; c; c = c->base)
    if (c == cls)
      return 1;
  return 0;
}

extern "C" RuntimeObject *RuntimeCheckCast(RuntimeObject *object, RuntimeClass *cls) {
  if (!object)
    return nullptr;
  if (!RuntimeObjectIsa(object, cls)) {
    RaiseIllegalCastException();
    return nullptr;
  }
  // Compiled code owns the result, also when no class was given.
  RuntimeLockObject(object);
  return object;
}

extern "C" RuntimeClass *RuntimeClassOf(RuntimeObject *object) {
  return object ? object->classPtr : nullptr;
}

extern "C" MethodEntry *RuntimeLookupInterfaceVtable(RuntimeObject *object,
                                                     RuntimeClass *interfaceClass) {
  if (!object || !interfaceClass) {
    RaiseNilObjectException();
    return nullptr;
  }
  if (interfaceClass->isAnInterface && object->classPtr)
    if (const InterfaceEntry *entry = FindInterfaceEntry(object->classPtr, interfaceClass))
      return entry->vtable;
  RaiseIllegalCastException();
  return nullptr;
}
