#include "runtime/objects/ClassRegistry.h"

#include "foundation/AssertionAlert.h"
#include "foundation/StringMap.h"
#include "runtime/exports/ExportTable.h"
#include "runtime/objects/ObjectDefinitionConverter.h"

namespace {

StringMap<ObjectDefinition *> *gIntrinsicClassMap = nullptr;
StringMap<ObjectDefinition *> *gIntrinsicModuleMap = nullptr;

void AddExport(const char *exportName, void *code) {
  if (exportName && code)
    AddRelocEntry(exportName, code);
}

// Makes the definition's method code and property accessors reachable by
// their export names, which is what compiled code imports.
void RegisterExportNames(const ObjectDefinition *defn) {
  for (const ObjectMethod *m = defn->methods; m; m = m->next)
    for (const MethodImplementation &impl : m->method.implementation)
      AddExport(impl.exportName, impl.code);
  for (const InstanceVariable *p = defn->properties; p; p = p->next) {
    AddExport(p->getterExportName, p->getter);
    AddExport(p->setterExportName, p->setter);
  }
}

ObjectDefinition *Lookup(const StringMap<ObjectDefinition *> *map, const string &name) {
  ObjectDefinition *defn = nullptr;
  if (map)
    map->GetEntry(name, &defn);
  return defn;
}

} // namespace

void addIntrinsicClass(ObjectDefinition *defn) {
  if (!RUNTIME_CHECK(defn))
    return;
  if (!gIntrinsicClassMap)
    gIntrinsicClassMap = new StringMap<ObjectDefinition *>(256);
  gIntrinsicClassMap->AddEntry(defn->className, defn);
  RegisterExportNames(defn);
}

void AddIntrinsicModule(ObjectDefinition *defn) {
  if (!RUNTIME_CHECK(defn))
    return;
  // A module is a namespace of functions: no instances, no superclass, no
  // events or interfaces. Each broken rule is shown and registration goes on.
  RUNTIME_CHECK_SHOWING(defn->objectSize == 0, "0 == defn->objectSize");
  RUNTIME_CHECK_SHOWING(!defn->super, "NULL == defn->super");
  RUNTIME_CHECK_SHOWING(!defn->constructor, "NULL == defn->constructor");
  RUNTIME_CHECK_SHOWING(!defn->destructor, "NULL == defn->destructor");
  RUNTIME_CHECK_SHOWING(!defn->hooks, "NULL == defn->hooks");
  RUNTIME_CHECK_SHOWING(!defn->hookInstances, "NULL == defn->hookInstances");
  RUNTIME_CHECK_SHOWING(!defn->menuHandlers, "NULL == defn->menuHandlers");
  RUNTIME_CHECK_SHOWING(!defn->interfaces, "NULL == defn->interfaces");
  if (!gIntrinsicModuleMap)
    gIntrinsicModuleMap = new StringMap<ObjectDefinition *>(256);
  RUNTIME_CHECK_SHOWING(!gIntrinsicModuleMap->HasEntry(defn->className),
                        "not gIntrinsicModuleMap->HasEntry(defn->className)");
  gIntrinsicModuleMap->AddEntry(defn->className, defn);
  RegisterExportNames(defn);
}

ObjectDefinition *getIntrinsicClass(const string &name) { return Lookup(gIntrinsicClassMap, name); }

ObjectDefinition *getIntrinsicModule(const string &name) {
  return Lookup(gIntrinsicModuleMap, name);
}

void DisposeIntrinsicClassMap() {
  delete gIntrinsicClassMap;
  gIntrinsicClassMap = nullptr;
}

void DisposeIntrinsicModuleMap() {
  delete gIntrinsicModuleMap;
  gIntrinsicModuleMap = nullptr;
}

bool supportsInterface(RuntimeObject *object, ObjectDefinition *interfaceDefn) {
  return RuntimeObjectIsa(object, LookupObjectDefinition(interfaceDefn)) != 0;
}

namespace {

// The method name inside a link name: what follows the first ".", up to the
// first "%".
string MethodNameOfLinkName(stringStorage *linkName) {
  string link = string::Borrow(linkName);
  const char *text = link.CString();
  int length = link.Length();
  int start = 0;
  for (int i = 0; i < length; ++i)
    if (text[i] == '.') {
      start = i + 1;
      break;
    }
  int end = length;
  for (int i = start; i < length; ++i)
    if (text[i] == '%') {
      end = i;
      break;
    }
  return mid(link, start, end - start);
}

} // namespace

void *interfaceMethodProc(RuntimeObject *object, ObjectDefinition *interfaceDefn,
                          const string &methodName) {
  if (!object || !object->classPtr)
    return nullptr;
  RuntimeClass *iface = interfaceDefn ? LookupObjectDefinition(interfaceDefn) : nullptr;
  if (!iface)
    return nullptr;
  const RuntimeClass *cls = object->classPtr;
  const InterfaceEntry *entry = nullptr;
  for (int32_t i = 0; i < cls->interfaceCount; ++i)
    if (cls->interfaces[i].interfaceClass == iface)
      entry = &cls->interfaces[i]; // the last match counts
  if (!entry || !entry->vtable)
    return nullptr;
  for (int32_t k = 0; k < entry->methodCount; ++k)
    if (MethodNameOfLinkName(entry->vtable[k].linkName).Compare(methodName) == 0)
      return entry->vtable[k].code;
  return nullptr;
}
