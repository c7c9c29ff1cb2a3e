// What the plug-ins registered while their mains ran, each list newest
// first, and the name maps of classes, controls and modules. The
// registration calls fill them; class building, the class lookups and the
// entry-point table read them. Everything here is kept until exit.
#pragma once
#include <cstdint>

#include "foundation/String.h"
#include "foundation/StringMap.h"
#include "plugins/PluginRecords.h"
#include "runtime/objects/ClassTables.h"
#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/RuntimeObject.h"

struct LoadedPlugin;

struct LoadedClass {
  LoadedClass *next = nullptr;
  ObjectDefinition defn;
  LoadedPlugin *plugin = nullptr;
  PluginClassRecord *record = nullptr;
  uint8_t building = 0; // set while its superclass chain is being built
};

struct LoadedControl {
  LoadedControl *next = nullptr;
  ObjectDefinition defn;
  LoadedControl *self = this; // right after the definition
  PluginControlRecord *record = nullptr;
  PluginControlBehaviour *behaviour = nullptr;
  LoadedPlugin *plugin = nullptr;
};

struct LoadedModule {
  LoadedModule *next = nullptr;
  ObjectDefinition defn;
  LoadedPlugin *plugin = nullptr;
  PluginModuleRecord *record = nullptr;
};

// A global method. Its template is filled from the declaration on the
// first lookup by name.
struct LoadedMethod {
  LoadedMethod *next = nullptr;
  int32_t parsed = 0; // 0 not yet, 1 parsed, -1 the declaration was refused
  PropertyMethod method{};
  string name;
  LoadedPlugin *plugin = nullptr;
  ZANTmethodDefinition *definition = nullptr;
};

struct LoadedClassExtension {
  LoadedClassExtension *next = nullptr;
  LoadedPlugin *plugin = nullptr;
  PluginClassRecord *record = nullptr; // its name reads "_SystemClass" for SystemClass
};

// A database source: the connect function takes the connection data and its
// length and answers a Database object.
using PluginConnectFunction = RuntimeObject *(*)(void *data, int32_t length);

struct LoadedDataSource {
  LoadedDataSource *next = nullptr;
  LoadedPlugin *plugin = nullptr;
  string name;
  PluginConnectFunction connect = nullptr;
};

extern LoadedClass *gLoadedClasses;
extern LoadedControl *gLoadedControls;
extern LoadedMethod *gLoadedMethods;
extern LoadedClassExtension *gLoadedClassExtensions;
extern LoadedModule *gLoadedModules;
extern LoadedDataSource *gLoadedDataSources;

// Keys ignore letter case.
extern StringMap<LoadedClass *> gLoadedClassMap;
extern StringMap<LoadedControl *> gLoadedControlMap;
extern StringMap<LoadedModule *> gLoadedModuleMap;

// Forgets every registration (the records belong to libraries about to be
// closed) and frees what the runtime made for them.
void ForgetPluginRegistrations();
