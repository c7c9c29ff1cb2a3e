#include "runtime/objects/ObjectDefinitionConverter.h"

#include <cstring>

#include "foundation/AssertionAlert.h"
#include "foundation/IntMap.h"
#include "foundation/Memory.h"

namespace {

// Raised by RebuildAllVTables so that every definition builds its interface
// code tables again at its next conversion. Definitions start at 0.
int32_t sMethodTableGeneration = 1;

IntMap<RuntimeClass *> &ConversionCache() {
  static IntMap<RuntimeClass *> cache;
  return cache;
}

// The way back, from a converted class to its definition.
IntMap<ObjectDefinition *> &ClassOrigins() {
  static IntMap<ObjectDefinition *> origins;
  return origins;
}

int32_t CacheKey(const void *address) {
  return static_cast<int32_t>(reinterpret_cast<uintptr_t>(address));
}

// The definition the class was converted from; nil for a class that compiled
// code built itself.
ObjectDefinition *DefinitionOfClass(const RuntimeClass *cls) {
  ObjectDefinition *defn = nullptr;
  ClassOrigins().GetEntry(CacheKey(cls), &defn);
  return defn;
}

template <typename Item>
int32_t CountItems(const Item *item) {
  int32_t n = 0;
  for (; item; item = item->next)
    ++n;
  return n;
}

bool IsNumbered(const InstanceVariable *ivar) {
  return ivar->propertyKind != kUnnumberedPropertyKind;
}

// The method item of the class chain (nearest first) one of whose two
// implementations has this code, and the definition that holds it.
const ObjectMethod *FindImplementingMethod(const ObjectDefinition *defn, const void *code,
                                           const ObjectDefinition **holder) {
  for (; defn; defn = defn->super)
    for (const ObjectMethod *m = defn->methods; m; m = m->next)
      if (m->method.implementation[0].code == code || m->method.implementation[1].code == code) {
        *holder = defn;
        return m;
      }
  return nullptr;
}

void FillEvents(ObjectDefinition *defn, RuntimeClass *out) {
  for (ObjectHook *hook = defn->hooks; hook; hook = hook->next)
    if (hook->eventIndex >= 0 && hook->eventIndex < out->eventCount)
      out->events[hook->eventIndex].name = hook->name.ExtractStringStorage();
  // A handler goes to every declaration of its event's name in every ancestor.
  for (ObjectHookInstance *item = defn->hookInstances; item; item = item->next)
    for (ObjectDefinition *ancestor = defn->super; ancestor; ancestor = ancestor->super)
      for (ObjectHook *hook = ancestor->hooks; hook; hook = hook->next)
        if (hook->name.Compare(item->name) == 0 && hook->eventIndex >= 0 &&
            hook->eventIndex < out->eventCount) {
          item->eventIndex = hook->eventIndex;
          out->events[hook->eventIndex].vector = item->code;
        }
}

void FillInterfaces(ObjectDefinition *defn, RuntimeClass *out, int32_t itableCtr) {
  for (ObjectDefinitionInterface *entry = defn->interfaces; entry; entry = entry->next) {
    if (!RUNTIME_CHECK(itableCtr < out->interfaceCount))
      return;
    InterfaceEntry &itable = out->interfaces[itableCtr++];
    int32_t n = entry->codeTableLength > 1 ? entry->codeTableLength - 1 : 0;
    itable.interfaceClass = LookupObjectDefinition(entry->interface);
    itable.methodCount = n;
    itable.vtable = RuntimeNewVtable(n);
    for (int32_t k = 1; k <= n && itable.vtable; ++k) {
      void *code = entry->codeTable[k];
      MethodEntry &slot = itable.vtable[k - 1];
      slot.code = code;
      const ObjectDefinition *holder = nullptr;
      const ObjectMethod *method = code ? FindImplementingMethod(defn, code, &holder) : nullptr;
      slot.linkName = method ? method->BuildLinkName(holder).ExtractStringStorage() : nullptr;
    }
  }
}

void FillStaticMethods(ObjectDefinition *defn, RuntimeClass *out, int32_t i) {
  for (ObjectMethod *item = defn->methods; item; item = item->next) {
    RUNTIME_CHECK_SHOWING(!(item->userFlags & systemPropertyVirtual),
                          "0 == (item->userFlags & systemPropertyVirtual)");
    const MethodImplementation *impl = item->method.implementation;
    if (impl[0].code && i < out->staticMethodCount)
      out->staticMethods[i++] = {impl[0].code, item->BuildLinkName(defn).ExtractStringStorage()};
    if (impl[1].code && i < out->staticMethodCount)
      out->staticMethods[i++] = {impl[1].code, nullptr};
  }
}

void FillProperties(ObjectDefinition *defn, RuntimeClass *out, int32_t propertyCtr) {
  for (InstanceVariable *ivar = defn->properties; ivar; ivar = ivar->next) {
    if (!IsNumbered(ivar))
      continue;
    if (!RUNTIME_CHECK(propertyCtr < out->propertyCount))
      return;
    RUNTIME_CHECK(propertyCtr == ivar->mPropertyTableIndex);
    string name = ivar->name + string("%");
    if (ivar->type)
      name += ivar->type->BuildLinkNameTypeCode();
    out->properties[propertyCtr++] = {name.ExtractStringStorage(), ivar->param, ivar->getter,
                                      ivar->setter};
  }
}

RuntimeClass *ConvertDefinition(ObjectDefinition *defn) {
  RuntimeClass *base = nullptr;
  if (defn->super) {
    RuntimeClass *super = LookupObjectDefinition(defn->super);
    RUNTIME_CHECK(super);
    base = super;
  }
  defn->RebuildVTable();
  defn->CalculatePropertyTableIndexes();

  int32_t interfaceCount = (base ? base->interfaceCount : 0) + CountItems(defn->interfaces);
  int32_t eventCount = base ? base->eventCount : 0;
  for (ObjectHook *hook = defn->hooks; hook; hook = hook->next)
    hook->eventIndex = eventCount++;
  int32_t staticMethodCount = base ? base->staticMethodCount : 0;
  for (ObjectMethod *item = defn->methods; item; item = item->next) {
    RUNTIME_CHECK_SHOWING(!(item->userFlags & systemPropertyVirtual),
                          "0 == (item->userFlags & systemPropertyVirtual)");
    staticMethodCount += (item->method.implementation[0].code ? 1 : 0) +
                         (item->method.implementation[1].code ? 1 : 0);
  }
  int32_t propertyCount = base ? base->propertyCount : 0;
  for (InstanceVariable *item = defn->properties; item; item = item->next)
    if (IsNumbered(item)) {
      RUNTIME_CHECK(item->mPropertyTableIndex == propertyCount);
      ++propertyCount;
    }
  RUNTIME_CHECK(propertyCount == defn->mPropertyTableSize);

  RuntimeClass *out = RuntimeNewClass(base, defn->methodCodeCount, interfaceCount, eventCount,
                                      staticMethodCount, propertyCount);
  if (!RUNTIME_CHECK(out))
    return nullptr;
  out->name = defn->className.ExtractStringStorage();
  out->constructor = defn->constructor;
  out->destructor = defn->destructor;
  out->instanceSize = defn->objectSize;
  out->isAnInterface = defn->isInterface ? 1 : 0;
  for (int32_t j = 0; j < defn->methodCodeCount && defn->methodCodeTable; ++j)
    out->methods[j].code = defn->methodCodeTable[j];

  FillEvents(defn, out);
  FillInterfaces(defn, out, base ? base->interfaceCount : 0);
  FillStaticMethods(defn, out, base ? base->staticMethodCount : 0);
  FillProperties(defn, out, base ? base->propertyCount : 0);
  return out;
}

} // namespace

extern "C" RuntimeClass *LookupObjectDefinition(ObjectDefinition *defn) {
  if (!RUNTIME_CHECK(defn))
    return nullptr;
  RuntimeClass *cls = nullptr;
  if (ConversionCache().GetEntry(CacheKey(defn), &cls))
    return cls;
  cls = ConvertDefinition(defn);
  ConversionCache().AddEntry(CacheKey(defn), cls);
  if (cls)
    ClassOrigins().AddEntry(CacheKey(cls), defn);
  return cls;
}

bool ObjectDefinition::RebuildVTable() {
  if (isInterface || methodTableGeneration == sMethodTableGeneration)
    return true;
  methodTableGeneration = sMethodTableGeneration;
  for (ObjectDefinitionInterface *entry = interfaces; entry; entry = entry->next) {
    OSfreelen(reinterpret_cast<char *>(entry->codeTable),
              long(sizeof(void *)) * entry->codeTableLength);
    ObjectMethod *interfaceMethods = entry->interface ? entry->interface->methods : nullptr;
    int32_t n = CountItems(interfaceMethods);
    long bytes = long(sizeof(void *)) * (n + 1);
    entry->codeTable = reinterpret_cast<void **>(OSalloclen(bytes, kMemFullQuit));
    entry->codeTableLength = n + 1;
    // Slots stay nil where the build stops at a missing method.
    std::memset(entry->codeTable, 0, bytes);
    int32_t k = 1;
    for (ObjectMethod *wanted = interfaceMethods; wanted; wanted = wanted->next, ++k) {
      const ObjectMethod *found = nullptr;
      for (ObjectDefinition *d = this; d && !found; d = d->super)
        for (ObjectMethod *m = d->methods; m && !found; m = m->next)
          if (m->name.Compare(wanted->name) == 0)
            found = m;
      if (!found) {
        DisplayRuntimeErrorAlert(kAssertionCode, 2, __FILE__, __LINE__, nullptr, nullptr);
        return false;
      }
      entry->codeTable[k] = found->method.implementation[0].code;
    }
  }
  if (!staticTables && super && super->methodTableGeneration != sMethodTableGeneration)
    super->RebuildVTable();
  return true;
}

void ObjectDefinition::CalculatePropertyTableIndexes() {
  if (super)
    super->CalculatePropertyTableIndexes();
  mPropertyTableSize = super ? super->mPropertyTableSize : 0;
  for (InstanceVariable *ivar = properties; ivar; ivar = ivar->next)
    if (IsNumbered(ivar))
      ivar->mPropertyTableIndex = mPropertyTableSize++;
}

bool RebuildAllVTables() {
  for (ObjectDefinition *d = GetObjectDefinitionListHead(); d; d = d->nextDefinition) {
    int32_t number = 1;
    for (ObjectMethod *m = d->methods; m; m = m->next) {
      int32_t &methodNumber = m->method.implementation[0].reserved[4];
      if (d->isInterface) {
        methodNumber = number++;
        m->userFlags |= systemPropertyVirtual;
      } else {
        methodNumber = 0;
        m->userFlags &= ~systemPropertyVirtual;
      }
    }
  }
  ++sMethodTableGeneration;
  bool allBuilt = true;
  for (ObjectDefinition *d = GetObjectDefinitionListHead(); d; d = d->nextDefinition)
    if (!d->RebuildVTable() && allBuilt)
      allBuilt = RUNTIME_CHECK(0);
  return allBuilt;
}

void *FindObjectCode(RuntimeObject *object, const ObjectHook *hook) {
  if (!object || !hook || !object->eventTable || !object->classPtr)
    return nullptr;
  int32_t eventCount = object->classPtr->eventCount;
  if (eventCount <= 0 || hook->eventIndex < 0 || hook->eventIndex >= eventCount)
    return nullptr;
  return object->eventTable[hook->eventIndex].vector;
}

// The rule: the nearest class of the object's chain that was converted from a
// definition decides (classes built by compiled code carry no handler items
// and are passed over); its own handler items are searched first, then those
// of its superclasses, and the first whose event name is the hook's wins.
extern "C" ObjectHookInstance *FindObjectCodeInstance(RuntimeObject *object,
                                                      const ObjectHook *hook) {
  if (!RUNTIME_CHECK(hook) || !object)
    return nullptr;
  for (const RuntimeClass *cls = object->classPtr; cls; cls = cls->base)
    if (const ObjectDefinition *defn = DefinitionOfClass(cls))
      return defn->FindHookInstance(hook->name);
  return nullptr;
}
