#include "runtime/objects/ClassLookup.h"

#include "foundation/AssertionAlert.h"
#include "foundation/StringMap.h"
#include "runtime/objects/ClassRegistry.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/objects/PluginClassLookup.h"

namespace {

// Classes found by name so far; names that were not found are not kept.
StringMap<RuntimeClass *> &LookupCache() {
  static StringMap<RuntimeClass *> cache(256);
  return cache;
}

} // namespace

namespace {

ObjectDefinition *StandIn(const char *name) {
  static StringMap<ObjectDefinition *> standIns(16);
  ObjectDefinition *defn = nullptr;
  if (!standIns.GetEntry(string(name), &defn)) {
    defn = new ObjectDefinition; // kept for the process, as built-in definitions are
    defn->className = string(name);
    standIns.AddEntry(string(name), defn);
  }
  return defn;
}

} // namespace

PropertyType *ForeignClassType(ObjectDefinition *(*builder)(), const char *name) {
  ObjectDefinition *defn = builder ? builder() : FindDefinitionByName(string(name));
  return (defn ? defn : StandIn(name))->AsType();
}

ObjectDefinition *FindDefinitionByName(const string &name) {
  if (ObjectDefinition *defn = getIntrinsicClass(name))
    return defn;
  if (ObjectDefinition *defn = FindPluginClass(name))
    return defn;
  return FindPluginControlClass(name);
}

extern "C" RuntimeClass *RuntimeLookupClass(stringStorage *nameStorage) {
  string name = string::Borrow(nameStorage);
  RuntimeClass *cls = nullptr;
  if (LookupCache().GetEntry(name, &cls))
    return cls;
  ObjectDefinition *defn = FindDefinitionByName(name);
  if (!defn)
    return nullptr;
  cls = LookupObjectDefinition(defn);
  LookupCache().AddEntry(name, cls);
  return cls;
}

extern "C" RuntimeObject *CreateInstance(ObjectDefinition *defn) {
  RUNTIME_CHECK(defn);
  return RuntimeNewObject(LookupObjectDefinition(defn));
}
