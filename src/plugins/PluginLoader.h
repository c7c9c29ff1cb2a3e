// Plug-ins travel inside the application image as "QVPl" resources: a length
// byte, the library's file name, then the library's bytes. At start-up each
// is written under its name into one private folder, opened with the dynamic
// linker, and its ZANTPluginMain is called with a resolver for the runtime's
// entry points. At exit a shutdown task closes the libraries, newest first,
// and removes their files and the folder.
#pragma once
#include <cstdint>
#include <string>

#include "foundation/AssertionAlert.h"
#include "foundation/ShutdownTasks.h"
#include "foundation/SimpleVector.h"
#include "foundation/String.h"
#include "plugins/PluginRecords.h"

class ResourceManager;

struct LoadedPlugin {
  LoadedPlugin();

  LoadedPlugin *next;  // the next older plug-in
  ZANTexport *exports; // from RegisterPluginExports; nil until then
  uint8_t usesSockets;
  int32_t version; // 1 until the plug-in registers its own
  string path;     // of the library's file
  void *library;   // what dlopen answered
  int32_t reserved[4];
};

// Every plug-in whose entry function was found, newest first.
extern LoadedPlugin *gLoadedPlugins;
// The plug-in whose main (or whose class building) is running, else nil.
extern LoadedPlugin *loadingPlugin;

inline constexpr char kPluginLoaderAlertSource[] = "../Common/plugin";
inline constexpr AlertSite kPluginInstallAlert{kPluginLoaderAlertSource, 148, "0"};
inline constexpr char kPluginInstallMessage[] =
    "The application cannot continue because a needed file cannot be installed. ";

// Why loading failed.
inline constexpr char kPluginFolderReason[] = "Failed to construct a temporary path.";
inline constexpr char kPluginDamagedReason[] = "The plug-in resource is damaged.";
inline constexpr char kPluginNameReason[] = "The plug-in's file name is not allowed.";
inline constexpr char kPluginWriteReason[] = "Failed to write the plug-in file.";

// Loads every plug-in of the image, then builds the plug-in classes.
void LoadPlugins();
// Loads every plug-in of the image. On failure it removes whatever it had
// written or opened, then shows the alert with the reason and ends the
// process with status 1.
void InstallPluginLibraries();
// The loading steps over a resource table: true when every plug-in loaded.
// On failure everything written or opened so far is closed and removed before
// it returns, and reason tells why.
bool InstallPluginLibrariesFrom(const ResourceManager &resources, std::string &reason);
// Turns the registered plug-in classes into language classes.
void BuildPluginClasses();

// Closes the loaded libraries, removes their files and folder and forgets
// what they registered: for tests that load plug-ins more than once.
void RunPluginShutDown();
// The private folder of this run's plug-in files; empty while none was made.
std::string PluginFolderPath();

// The exit task of the loaded plug-ins.
class PluginShutDownTask final : public runShutdownTask {
public:
  PluginShutDownTask() : runShutdownTask("") {}
  ~PluginShutDownTask() override;
};

// An exit task that holds file paths for a design environment; it releases
// them and removes no file.
class IDEPluginShutDownTask final : public runShutdownTask {
public:
  IDEPluginShutDownTask() : runShutdownTask("") {}
  ~IDEPluginShutDownTask() override = default;
  void Add(const string &path) { mPaths.push_back(path); }

private:
  SimpleVector<string> mPaths;
};

extern "C" {
// The address of the runtime entry point of that name (letter case ignored),
// or nil.
void *PluginEntryPointResolver(const char *name);
void *ResolverPPC(const char *name);
}
