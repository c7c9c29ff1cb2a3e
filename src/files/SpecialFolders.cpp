#include "files/SpecialFolders.h"

#include <errno.h>
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <random>
#include <string>

#include "files/FolderItemClass.h"
#include "files/FolderItemImpUnix.h"

namespace {

RuntimeObject *FolderItemAt(const char *path) {
  return NewFolderItemWithImp(new FolderItemImpUnix(string(path)));
}

// The home folder's first child of the names that exists and is a folder,
// or nil.
FolderItemImp *ExistingChildFolder(RuntimeObject *home, std::initializer_list<const char *> names) {
  for (const char *name : names) {
    std::unique_ptr<FolderItemImp> child(FolderItemImpOf(home)->GetChildByName(string(name), 0));
    if (child && child->Exists() && child->IsDirectory())
      return child.release();
  }
  return nullptr;
}

// The child folder when there is one; otherwise the home folder itself, or
// nil when withoutChild is false.
RuntimeObject *HomeChild(std::initializer_list<const char *> names, bool homeWithoutChild) {
  RuntimeObject *home = GetHomeFolder();
  if (!home)
    return nullptr;
  if (FolderItemImp *child = ExistingChildFolder(home, names)) {
    RuntimeUnlockObject(home);
    return NewFolderItemWithImp(child);
  }
  if (homeWithoutChild)
    return home;
  RuntimeUnlockObject(home);
  return nullptr;
}

// "/tmp/" and seven letters or digits that name no file yet.
std::string FreshTemporaryPath() {
  static const char kCharacters[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  static std::mt19937 generator{std::random_device{}()};
  std::uniform_int_distribution<size_t> pick(0, sizeof kCharacters - 2);
  for (;;) {
    std::string path = "/tmp/";
    for (int i = 0; i < 7; ++i)
      path += kCharacters[pick(generator)];
    struct stat info;
    if (lstat(path.c_str(), &info) != 0 && errno == ENOENT)
      return path;
  }
}

} // namespace

RuntimeObject *GetHomeFolder() {
  const char *home = std::getenv("HOME");
  return home ? FolderItemAt(home) : nullptr;
}

extern "C" {

RuntimeObject *getDesktopFolder() { return HomeChild({"Desktop", ".gnome-desktop"}, true); }
RuntimeObject *getTrashFolder() { return HomeChild({".Trash"}, false); }
RuntimeObject *GetDocumentsFolder() { return HomeChild({"Documents"}, true); }
RuntimeObject *getPreferencesFolder() { return GetHomeFolder(); }
RuntimeObject *getApplicationSupportFolder() { return GetHomeFolder(); }
RuntimeObject *getSystemFolder() { return FolderItemAt("/usr/"); }
RuntimeObject *getTemporaryItemsFolder() { return FolderItemAt("/tmp/"); }
RuntimeObject *getVolume(int32_t index) { return index == 0 ? FolderItemAt("/") : nullptr; }
int32_t getVolumeCount() { return 1; }

RuntimeObject *getTemporaryFolderItem() {
  // A name no file has yet; the file is not made, so the name is only a
  // suggestion another process may take first.
  return FolderItemAt(FreshTemporaryPath().c_str());
}

RuntimeObject *getAppleMenuFolder() { return nullptr; }
RuntimeObject *getControlPanelsFolder() { return nullptr; }
RuntimeObject *getExtensionsFolder() { return nullptr; }
RuntimeObject *getStartupItemsFolder() { return nullptr; }
RuntimeObject *getShutdownItemsFolder() { return nullptr; }
RuntimeObject *getFontsFolder() { return nullptr; }

} // extern "C"
