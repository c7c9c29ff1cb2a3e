// What the files tests share: a scratch folder that is removed afterwards,
// files written into it, a start path for the application paths, and
// environment variables set for one test.
#pragma once
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "files/ApplicationPaths.h"
#include "foundation/FolderItemImp.h"
#include "runtime/startup/ProgramArguments.h"

class ScratchTree {
public:
  ScratchTree() {
    char pattern[] = "/tmp/filestestXXXXXX";
    mRoot = mkdtemp(pattern);
  }
  ~ScratchTree() {
    std::error_code ignored;
    std::filesystem::permissions(mRoot, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(mRoot, ignored);
  }
  ScratchTree(const ScratchTree &) = delete;
  ScratchTree &operator=(const ScratchTree &) = delete;

  // The absolute path of a name inside the tree ("" for the tree itself).
  std::string Path(const std::string &name = "") const {
    return name.empty() ? mRoot : mRoot + "/" + name;
  }
  std::string Write(const std::string &name, const std::string &bytes) const {
    std::ofstream(Path(name), std::ios::binary) << bytes;
    return Path(name);
  }
  std::string Folder(const std::string &name) const {
    std::filesystem::create_directories(Path(name));
    return Path(name);
  }
  static std::string Read(const std::string &path) {
    std::ostringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    return bytes.str();
  }

private:
  std::string mRoot;
};

// Runs with argv[0] set to the start path and the application paths
// forgotten, so that they are worked out again from it.
class StartPath {
public:
  explicit StartPath(const char *path) : mSaved(gArgv) {
    mArgv[0] = const_cast<char *>(path);
    gArgv = mArgv;
    ResetApplicationPathCaches();
  }
  ~StartPath() {
    gArgv = mSaved;
    ResetApplicationPathCaches();
  }

private:
  char **mSaved;
  char *mArgv[2] = {nullptr, nullptr};
};

// An environment variable set (or, with nil, unset) for the scope.
class ScopedEnv {
public:
  ScopedEnv(const char *name, const char *value) : mName(name) {
    const char *old = std::getenv(name);
    mHad = old != nullptr;
    if (mHad)
      mOld = old;
    value ? setenv(name, value, 1) : unsetenv(name);
    tzset();
  }
  ~ScopedEnv() {
    mHad ? setenv(mName.c_str(), mOld.c_str(), 1) : unsetenv(mName.c_str());
    tzset();
  }

private:
  std::string mName, mOld;
  bool mHad;
};

// A new string of the bytes (one reference), as compiled code passes them.
inline stringStorage *TextOfBytes(const std::string &bytes) {
  string s;
  s.ConstructFromBuffer(bytes.data(), int(bytes.size()));
  return s.ExtractStringStorage();
}

// The bytes of a string handed out with one reference, which is dropped.
inline std::string TakeBytes(stringStorage *s) {
  std::string bytes(stringStorage::CString(s), size_t(stringStorage::Length(s)));
  stringStorage::RemoveReference(s);
  return bytes;
}

inline std::string PathOf(FolderItemImp *item) {
  return item ? std::string(item->GetAbsolutePath().CString()) : std::string("(nil)");
}

// Answers the item's path and deletes it.
inline std::string TakePath(FolderItemImp *item) {
  std::string path = PathOf(item);
  delete item;
  return path;
}
