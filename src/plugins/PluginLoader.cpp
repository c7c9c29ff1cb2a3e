#include "plugins/PluginLoader.h"

#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "foundation/TextEncodings.h"
#include "plugins/PluginLists.h"
#include "runtime/exports/ExportTable.h"
#include "runtime/image/ResourceManager.h"
#include "runtime/startup/RuntimeStartup.h"

LoadedPlugin *gLoadedPlugins = nullptr;
LoadedPlugin *loadingPlugin = nullptr;

namespace {

constexpr uint32_t kPluginResourceType = FourCharCode("QVPl");
constexpr int kMaxNameLength = 127;

using PluginMain = void (*)(void *(*resolver)(const char *));

// What this run wrote: the private folder and the files in it.
std::string sFolder;
std::vector<std::string> sFiles;
PluginShutDownTask *sShutDownTask = nullptr;

std::string TemporaryRoot() {
  const char *root = std::getenv("TMPDIR");
  return root && root[0] == '/' ? root : "/tmp";
}

bool MakeFolder() {
  if (!sFolder.empty())
    return true;
  std::string pattern = TemporaryRoot() + "/plugins-XXXXXX";
  if (!mkdtemp(pattern.data()))
    return false;
  sFolder = pattern;
  return true;
}

// A name that stays one file inside the folder.
bool IsSafeName(const char *name, int length) {
  if (std::memchr(name, '/', size_t(length)) || std::memchr(name, 0, size_t(length)))
    return false;
  const std::string text(name, size_t(length));
  return text != "." && text != "..";
}

// Writes every byte to a new file, never through an existing file or link.
bool WriteNewFile(const std::string &path, const uint8_t *bytes, size_t length) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0700);
  if (fd < 0)
    return false;
  sFiles.push_back(path);
  size_t written = 0;
  while (written < length) {
    const ssize_t n = write(fd, bytes + written, length - written);
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0)
      break;
    written += size_t(n);
  }
  const bool closed = close(fd) == 0;
  return written == length && closed;
}

std::string DynamicLinkerError() {
  const char *error = dlerror();
  return error ? error : "";
}

// Closes the loaded plug-ins newest first and removes every file written and
// the folder.
void CloseAndRemoveAll() {
  while (LoadedPlugin *plugin = gLoadedPlugins) {
    gLoadedPlugins = plugin->next;
    if (plugin->library)
      dlclose(plugin->library);
  }
  loadingPlugin = nullptr;
  for (const std::string &file : sFiles)
    unlink(file.c_str());
  sFiles.clear();
  if (!sFolder.empty())
    rmdir(sFolder.c_str());
  sFolder.clear();
}

// Loads one plug-in resource; false with the reason when it cannot.
bool LoadOne(const ResourceEntry &resource, std::string &reason) {
  if (resource.length < 1 || !resource.data) {
    reason = kPluginDamagedReason;
    return false;
  }
  const int nameLength = int8_t(resource.data[0]);
  if (nameLength < 1 || nameLength > kMaxNameLength ||
      uint32_t(nameLength) + 1 >= resource.length) {
    reason = kPluginDamagedReason;
    return false;
  }
  const char *name = reinterpret_cast<const char *>(resource.data + 1);
  if (!IsSafeName(name, nameLength)) {
    reason = kPluginNameReason;
    return false;
  }
  if (!MakeFolder()) {
    reason = kPluginFolderReason;
    return false;
  }
  const std::string path = sFolder + "/" + std::string(name, size_t(nameLength));
  const uint8_t *library = resource.data + 1 + nameLength;
  if (!WriteNewFile(path, library, resource.length - 1 - uint32_t(nameLength))) {
    reason = kPluginWriteReason;
    return false;
  }
  dlerror();
  void *handle = dlopen(path.c_str(), RTLD_LAZY);
  if (!handle) {
    reason = DynamicLinkerError();
    return false;
  }
  auto main = reinterpret_cast<PluginMain>(dlsym(handle, "ZANTPluginMain"));
  if (!main) {
    reason = DynamicLinkerError();
    dlclose(handle);
    return false;
  }
  auto *plugin = new LoadedPlugin; // kept for the process
  plugin->version = 1;
  plugin->library = handle;
  plugin->path = string(path.c_str());
  main(PluginEntryPointResolver);
  loadingPlugin = nullptr;
  return true;
}

} // namespace

LoadedPlugin::LoadedPlugin()
    : next(gLoadedPlugins), exports(nullptr), usesSockets(0), version(0), path(),
      library(nullptr), reserved{} {
  gLoadedPlugins = this;
  loadingPlugin = this;
}

PluginShutDownTask::~PluginShutDownTask() {
  if (sShutDownTask == this)
    sShutDownTask = nullptr;
  CloseAndRemoveAll();
}

bool InstallPluginLibrariesFrom(const ResourceManager &resources, std::string &reason) {
  bool tried = false;
  const int32_t count = resources.GetCount();
  for (int32_t i = 0; i < count; ++i) {
    const ResourceEntry resource = resources.GetResourceByIndex(i);
    if (resource.type != kPluginResourceType)
      continue;
    tried = true;
    if (!LoadOne(resource, reason)) {
      CloseAndRemoveAll();
      return false;
    }
  }
  if (tried && !sShutDownTask)
    sShutDownTask = new PluginShutDownTask; // owned by the shutdown list
  return true;
}

void InstallPluginLibraries() {
  std::string reason;
  if (InstallPluginLibrariesFrom(gResourceManager, reason))
    return;
  // Everything is removed already, so that ending the process from the alert
  // leaves nothing behind either.
  const std::string message = kPluginInstallMessage + reason + "\n";
  ShowAlert(kPluginInstallAlert, message.c_str());
  std::exit(1);
}

void LoadPlugins() {
  InstallPluginLibraries();
  BuildPluginClasses();
}

void RunPluginShutDown() {
  delete sShutDownTask;
  CloseAndRemoveAll();
  ForgetPluginRegistrations();
}

std::string PluginFolderPath() { return sFolder; }

extern "C" {

void *PluginEntryPointResolver(const char *name) {
  const RelocEntry *entry = resolveRelocEntry(name ? name : "");
  return entry ? entry->address : nullptr;
}

void *ResolverPPC(const char *name) { return PluginEntryPointResolver(name); }

} // extern "C"
