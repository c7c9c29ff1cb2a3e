// The calls through which a plug-in's main hands the runtime its records.
// Each reads the version of the plug-in whose main is running and ignores
// what that version does not admit; calls made while no plug-in's main runs
// are ignored.
#pragma once
#include <cstdint>

#include "foundation/String.h"
#include "plugins/PluginLists.h"
#include "plugins/PluginRecords.h"

// The text a SystemClass extension's record is renamed to.
inline constexpr char kSystemClassName[] = "_SystemClass";

// The first data source registered under the engine name (letter case
// ignored), newest first, connected with the data: its Database object, or
// nil when no source has the name.
RuntimeObject *pluginConnectDatabase(const string &engine, void *data, int32_t length);

extern "C" {
void RegisterPluginVersion(int32_t version);
void RegisterPluginExports(ZANTexport *exports);
void PluginRegisterClass(PluginClassRecord *record);
void PluginRegisterClassExtension(PluginClassRecord *record);
void PluginRegisterInterface(PluginInterfaceRecord *record);
void PluginRegisterModule(PluginModuleRecord *record);
// A PluginExportedMethodRecord at version 1, a ZANTmethodDefinition from 3.
void PluginRegisterMethod(void *record);
// A PluginOldControlRecord (first word 1) or a PluginControlRecord (3 or more).
void PluginRegisterControl(void *record);
void RegisterDataSource(const char *name, PluginConnectFunction connect);
void RegisterDataSourceInterface();
void DesignAddDataSource();
}
