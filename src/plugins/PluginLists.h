// What the plug-ins registered while their mains ran, each list newest
// first. The registration calls fill them; the entry-point table reads them.
#pragma once
#include "foundation/String.h"
#include "plugins/PluginRecords.h"

struct LoadedPlugin;

struct LoadedClass {
  LoadedClass *next;
  LoadedPlugin *plugin;
  PluginClassRecord *record;
};

struct LoadedControl {
  LoadedControl *next;
  LoadedPlugin *plugin;
  PluginControlRecord *record;
};

struct LoadedMethod {
  LoadedMethod *next;
  LoadedPlugin *plugin;
  ZANTmethodDefinition *method;
};

struct LoadedClassExtension {
  LoadedClassExtension *next;
  LoadedPlugin *plugin;
  PluginClassRecord *record; // its name reads "_SystemClass" for SystemClass
};

struct LoadedModule {
  LoadedModule *next;
  LoadedPlugin *plugin;
  PluginModuleRecord *record;
};

extern LoadedClass *gLoadedClasses;
extern LoadedControl *gLoadedControls;
extern LoadedMethod *gLoadedMethods;
extern LoadedClassExtension *gLoadedClassExtensions;
extern LoadedModule *gLoadedModules;
