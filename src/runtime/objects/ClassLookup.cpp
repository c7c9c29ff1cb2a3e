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
