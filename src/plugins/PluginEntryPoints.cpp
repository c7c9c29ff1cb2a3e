#include "plugins/PluginEntryPoints.h"

#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "foundation/StringMap.h"
#include "plugins/PluginLists.h"
#include "runtime/exports/ExportTable.h"

namespace {

StringMap<void *> *pluginEntryTable = nullptr;
bool sBuilt = false;

StringMap<void *> &Table() {
  if (!pluginEntryTable) {
    pluginEntryTable = new StringMap<void *>(256);
    std::atexit([] {
      delete pluginEntryTable;
      pluginEntryTable = nullptr;
    });
  }
  return *pluginEntryTable;
}

void *Address(ZANTproc function) { return reinterpret_cast<void *>(function); }

// The export table keeps the name pointer, so the name is kept for the process.
void ExportUnderKey(const string &key, ZANTproc function) {
  if (!function)
    return;
  char *name = static_cast<char *>(std::malloc(size_t(key.Length()) + 1));
  if (!name)
    return;
  std::memcpy(name, key.CString(), size_t(key.Length()) + 1);
  AddRelocEntry(name, Address(function));
}

void BuildTable() {
  for (LoadedClass *c = gLoadedClasses; c; c = c->next) {
    const string name(c->record->name);
    AddPluginPropertyEntryPoints(name, c->record->properties, c->record->propertyCount);
    AddPluginMethodEntryPoints(name, c->record->methods, c->record->methodCount);
  }
  for (LoadedControl *c = gLoadedControls; c; c = c->next) {
    const string name(c->record->name);
    AddPluginPropertyEntryPoints(name, c->record->properties, c->record->propertyCount);
    AddPluginMethodEntryPoints(name, c->record->methods, c->record->methodCount);
  }
  for (LoadedMethod *m = gLoadedMethods; m; m = m->next)
    Table().AddEntry(string(m->definition->declaration), Address(m->definition->function));
  for (LoadedClassExtension *e = gLoadedClassExtensions; e; e = e->next) {
    const string name(e->record->name);
    AddPluginPropertyEntryPoints(name, e->record->properties, e->record->propertyCount);
    AddPluginMethodEntryPoints(name, e->record->methods, e->record->methodCount);
  }
  for (LoadedModule *m = gLoadedModules; m; m = m->next)
    AddPluginMethodEntryPoints(string(m->record->name), m->record->methods,
                               m->record->methodCount);
}

} // namespace

void AddPluginPropertyEntryPoints(const string &name, ZANTproperty *properties,
                                  int32_t propertyCount) {
  if (!properties) {
    if (propertyCount != 0)
      ShowAlert(kPropertiesAlert);
    return;
  }
  for (int32_t i = 0; i < propertyCount; ++i) {
    const ZANTproperty &property = properties[i];
    const string prefix = name + string(".") + string(property.name);
    if (property.getter != ZANTnoImplementation) {
      const string key = prefix + string(".Get");
      Table().AddEntry(key, Address(property.getter));
      ExportUnderKey(key, property.getter);
    }
    if (property.setter != ZANTnoImplementation) {
      const string key = prefix + string(".Set");
      Table().AddEntry(key, Address(property.setter));
      ExportUnderKey(key, property.setter);
    }
  }
}

void AddPluginMethodEntryPoints(const string &name, ZANTmethodDefinition *methods,
                                int32_t methodCount) {
  if (!methods) {
    if (methodCount != 0)
      ShowAlert(kMethodsAlert);
    return;
  }
  for (int32_t i = 0; i < methodCount; ++i) {
    const ZANTmethodDefinition &method = methods[i];
    const string key = name + string(".") + string(method.declaration);
    if (method.function == ZANTnoImplementation)
      ShowAlert(kNoImplementationAlert);
    Table().AddEntry(key, Address(method.function));
    if (method.setter != ZANTnoImplementation)
      Table().AddEntry(key + string(".Set"), Address(method.setter));
  }
}

void ResetPluginEntryTable() {
  if (pluginEntryTable)
    pluginEntryTable->Initialize(256);
  sBuilt = false;
}

extern "C" {

void **RuntimeAllocatePluginEntrypointsTable(int32_t count) {
  if (count <= 0 || size_t(count) > std::numeric_limits<int32_t>::max() / sizeof(void *))
    return nullptr;
  return static_cast<void **>(std::calloc(size_t(count), sizeof(void *)));
}

void *RuntimeLookupPluginEntrypoint(stringStorage *key) {
  if (!sBuilt) {
    sBuilt = true;
    BuildTable();
  }
  const string name = string::Borrow(key);
  void *address = nullptr;
  if (!Table().GetEntry(name, &address) || !address) {
    const std::string message = std::string("can't find plugin method ") + name.CString();
    ShowAlert(kMissingEntryPointAlert, message.c_str());
    return nullptr;
  }
  return address;
}

} // extern "C"
