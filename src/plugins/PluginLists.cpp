#include "plugins/PluginLists.h"

#include "plugins/PluginDeclarationParser.h"
#include "runtime/exports/PluginRoutineLookup.h"
#include "runtime/objects/PluginClassLookup.h"

LoadedClass *gLoadedClasses = nullptr;
LoadedControl *gLoadedControls = nullptr;
LoadedMethod *gLoadedMethods = nullptr;
LoadedClassExtension *gLoadedClassExtensions = nullptr;
LoadedModule *gLoadedModules = nullptr;
LoadedDataSource *gLoadedDataSources = nullptr;

StringMap<LoadedClass *> gLoadedClassMap(256);
StringMap<LoadedControl *> gLoadedControlMap(256);
StringMap<LoadedModule *> gLoadedModuleMap(256);

// The records stay allocated: the object model keeps the definitions in its
// list of all definitions, and run-time classes made from them stay cached.
void ForgetPluginRegistrations() {
  gLoadedClasses = nullptr;
  gLoadedControls = nullptr;
  gLoadedMethods = nullptr;
  gLoadedClassExtensions = nullptr;
  gLoadedModules = nullptr;
  gLoadedDataSources = nullptr;
  gLoadedClassMap.Initialize(256);
  gLoadedControlMap.Initialize(256);
  gLoadedModuleMap.Initialize(256);
}

ObjectDefinition *FindPluginClass(const string &name) {
  LoadedClass *loaded = nullptr;
  return gLoadedClassMap.GetEntry(name, &loaded) ? &loaded->defn : nullptr;
}

ObjectDefinition *FindPluginControlClass(const string &name) {
  LoadedControl *loaded = nullptr;
  return gLoadedControlMap.GetEntry(name, &loaded) ? &loaded->defn : nullptr;
}

// A global method's declaration is parsed on its first lookup; one that does
// not parse never matches.
const PropertyMethod *FindPluginGlobalMethod(const string &name) {
  for (LoadedMethod *m = gLoadedMethods; m; m = m->next) {
    if (m->parsed == 0)
      m->parsed = ParsePluginMethod(m->plugin, m->name, m->method, *m->definition) ? 1 : -1;
    if (m->parsed == 1 && m->name.Compare(name) == 0)
      return &m->method;
  }
  return nullptr;
}
