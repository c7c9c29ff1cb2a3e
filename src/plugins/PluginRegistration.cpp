#include "plugins/PluginRegistration.h"

#include <new>

#include "database/PluginDataSources.h"
#include "foundation/ByteStrings.h"
#include "plugins/PluginClasses.h"
#include "plugins/PluginLoader.h"

namespace {

constexpr int32_t kOldControlForm = 1;
constexpr int32_t kOldControlWidth = 100;
constexpr int32_t kOldControlHeight = 100;

// The plug-in whose main is running, when its version is above the given one.
LoadedPlugin *PluginAbove(int32_t version) {
  return loadingPlugin && loadingPlugin->version > version ? loadingPlugin : nullptr;
}

// The export-table function an old-form record names; nil when the plug-in
// gave no table or the index is negative.
ZANTproc ExportedFunction(const LoadedPlugin *plugin, int32_t index) {
  if (!plugin || !plugin->exports || index < 0)
    return nullptr;
  return plugin->exports[index].function;
}

void AddMethod(LoadedPlugin *plugin, ZANTmethodDefinition *definition) {
  auto *method = new LoadedMethod; // kept for the process
  method->plugin = plugin;
  method->definition = definition;
  method->next = gLoadedMethods;
  gLoadedMethods = method;
}

// The new form of an old control record: a zeroed 92-byte record of version 4
// whose properties use the runtime's accessors on their data offsets and
// whose methods take their functions from the export table. Methods whose
// function cannot be found are left out.
PluginControlRecord *ConvertOldControl(const LoadedPlugin *plugin,
                                       const PluginOldControlRecord &old) {
  auto *record = new PluginControlRecord{}; // kept for the process
  record->version = 4;
  record->name = old.name;
  record->dataSize = old.dataSize;
  record->flags = old.flags;
  record->reserved16[0] = old.reserved16[0];
  record->reserved16[1] = old.reserved16[1];
  record->reserved24[0] = kOldControlWidth;
  record->reserved24[1] = kOldControlHeight;
  if (old.properties && old.propertyCount > 0) {
    record->properties = new ZANTproperty[size_t(old.propertyCount)]();
    for (int32_t i = 0; i < old.propertyCount; ++i) {
      const PluginOldControlProperty &from = old.properties[i];
      ZANTproperty &to = record->properties[i];
      to.reserved0 = from.reserved0;
      to.name = from.name;
      to.type = from.type;
      to.flags = from.flags;
      to.getter = ZANTnoImplementation;
      to.setter = ZANTnoImplementation;
      to.dataOffset = from.dataOffset;
    }
    record->propertyCount = old.propertyCount;
  }
  if (old.methods && old.methodCount > 0) {
    record->methods = new ZANTmethodDefinition[size_t(old.methodCount)]();
    for (int32_t i = 0; i < old.methodCount; ++i) {
      const ZANTproc function = ExportedFunction(plugin, old.methods[i].exportIndex);
      if (function)
        record->methods[record->methodCount++] = {function, nullptr, old.methods[i].declaration};
    }
  }
  record->events = old.events;
  record->eventCount = old.eventCount;
  record->behaviour = old.behaviour;
  return record;
}

} // namespace

RuntimeObject *pluginConnectDatabase(const string &engine, void *data, int32_t length) {
  for (LoadedDataSource *source = gLoadedDataSources; source; source = source->next)
    if (source->name.Compare(engine) == 0)
      return source->connect ? source->connect(data, length) : nullptr;
  return nullptr;
}

extern "C" {

void RegisterPluginVersion(int32_t version) {
  if (loadingPlugin)
    loadingPlugin->version = version;
}

void RegisterPluginExports(ZANTexport *exports) {
  if (loadingPlugin)
    loadingPlugin->exports = exports;
}

void PluginRegisterClass(PluginClassRecord *record) {
  LoadedPlugin *plugin = PluginAbove(2);
  if (!plugin || !record || !record->name || pluginObjectType(record->name))
    return;
  auto *loaded = new LoadedClass; // kept for the process
  loaded->plugin = plugin;
  loaded->record = record;
  ObjectDefinition &defn = loaded->defn;
  defn.className = string(record->name);
  defn.consoleSafe = 1;
  defn.newAllowed = 1;
  defn.constructor = reinterpret_cast<ObjectProc>(record->initializer);
  defn.destructor = reinterpret_cast<ObjectProc>(record->finalizer);
  loaded->next = gLoadedClasses;
  gLoadedClasses = loaded;
  gLoadedClassMap.AddEntry(defn.className, loaded);
}

void PluginRegisterClassExtension(PluginClassRecord *record) {
  if (!loadingPlugin || !record || !record->name)
    return;
  if (ustrcmpi(record->name, "SystemClass") == 0)
    record->name = kSystemClassName;
  ObjectDefinition *defn = FindPluginClassDefinition(record->name);
  if (loadingPlugin->version <= 2)
    return;
  if (defn)
    BuildClassExtensionMembers(loadingPlugin, defn, record);
  auto *extension = new LoadedClassExtension; // kept for the process
  extension->plugin = loadingPlugin;
  extension->record = record;
  extension->next = gLoadedClassExtensions;
  gLoadedClassExtensions = extension;
}

void PluginRegisterInterface(PluginInterfaceRecord *record) {
  if (!PluginAbove(3) || !record)
    return;
  auto *copy = new (std::nothrow) PluginClassRecord{}; // kept for the process
  if (!copy) {
    ShowAlert(kClassRecordAlert);
    return;
  }
  copy->version = record->version;
  copy->name = record->name;
  copy->methods = record->methods;
  copy->methodCount = record->methodCount;
  PluginRegisterClass(copy);
  if (gLoadedClasses && gLoadedClasses->record == copy) {
    gLoadedClasses->defn.isInterface = 1;
    gLoadedClasses->defn.newAllowed = 0;
  } else {
    delete copy;
  }
}

void PluginRegisterModule(PluginModuleRecord *record) {
  LoadedPlugin *plugin = PluginAbove(3);
  if (!plugin || !record || !record->name)
    return;
  auto *module = new LoadedModule; // kept for the process
  module->plugin = plugin;
  module->record = record;
  ObjectDefinition &defn = module->defn;
  defn.className = string(record->name);
  defn.consoleSafe = 1;
  defn.objectSize = 0;
  if (record->methods)
    for (int32_t i = 0; i < record->methodCount; ++i)
      BuildClassMethod(plugin, &defn, &record->methods[i]);
  module->next = gLoadedModules;
  gLoadedModules = module;
  gLoadedModuleMap.AddEntry(defn.className, module);
}

void PluginRegisterMethod(void *record) {
  LoadedPlugin *plugin = loadingPlugin;
  if (!plugin || !record)
    return;
  if (plugin->version == 1) {
    const auto *exported = static_cast<PluginExportedMethodRecord *>(record);
    const ZANTproc function = ExportedFunction(plugin, exported->exportIndex);
    if (!function)
      return;
    AddMethod(plugin, new ZANTmethodDefinition{function, nullptr, exported->declaration});
  } else if (plugin->version >= 3) {
    AddMethod(plugin, static_cast<ZANTmethodDefinition *>(record));
  }
}

void PluginRegisterControl(void *record) {
  LoadedPlugin *plugin = loadingPlugin;
  if (!plugin || !record)
    return;
  const int32_t form = *static_cast<int32_t *>(record);
  if (form == kOldControlForm) {
    auto *old = static_cast<PluginOldControlRecord *>(record);
    PluginControlRecord *converted = ConvertOldControl(plugin, *old);
    BuildPluginControl(plugin, converted);
    old->dataOffset = converted->dataOffset;
  } else if (form >= 3) {
    BuildPluginControl(plugin, static_cast<PluginControlRecord *>(record));
  }
}

void RegisterDataSource(const char *name, PluginConnectFunction connect) {
  if (!loadingPlugin || !name)
    return;
  auto *source = new LoadedDataSource; // kept for the process
  source->plugin = loadingPlugin;
  source->name = string(name);
  source->connect = connect;
  source->next = gLoadedDataSources;
  gLoadedDataSources = source;
}

void RegisterDataSourceInterface() {}

void DesignAddDataSource() {}

} // extern "C"

RuntimeObject *ConnectPluginDataSource(const string &name, void *data, int32_t length) {
  return pluginConnectDatabase(name, data, length);
}
