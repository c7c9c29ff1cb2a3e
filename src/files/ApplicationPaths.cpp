#include "files/ApplicationPaths.h"

#include <unistd.h>

#include <cstring>
#include <memory>
#include <string>

#include "files/FolderItemImpUnix.h"
#include "foundation/ProcessSpawnPosix.h"
#include "foundation/SplitString.h"
#include "foundation/TextEncodings.h"
#include "runtime/image/ExecutablePathPosix.h"
#include "runtime/startup/ProgramArguments.h"

namespace {

constexpr size_t kPathBufferSize = 4096;

struct PathCache {
  bool filled = false;
  string path;
};
PathCache sFileCache, sFolderCache;

string ASCIIText(const std::string &text) {
  string s;
  s.ConstructFromBuffer(text.data(), int(text.size()));
  s.SetEncoding(kEncodingASCII);
  return s;
}

// Both forms of an absolute start path: the path itself, or everything
// before its last "/" that is not the final byte.
string FromAbsolute(const std::string &start, bool folder) {
  if (!folder)
    return ASCIIText(start);
  std::string trimmed = start;
  if (trimmed.size() > 1 && trimmed.back() == '/')
    trimmed.pop_back();
  const size_t slash = trimmed.rfind('/');
  return ASCIIText(slash == std::string::npos ? std::string() : trimmed.substr(0, slash));
}

// Walks the start path's components from the working directory; the folder
// leaves the last one out. Empty when the working directory cannot be read
// or a component is missing on the way.
string FromWorkingDirectory(const char *start, bool folder) {
  char cwd[kPathBufferSize];
  if (!getcwd(cwd, sizeof cwd))
    return ASCIIText("");
  SimpleVector<string> components;
  SplitString(string(start), '/', components);
  const int32_t walked = components.count() - (folder ? 1 : 0);
  std::unique_ptr<FolderItemImp> item(new FolderItemImpUnix(string(cwd)));
  for (int32_t i = 0; i < walked && item; ++i)
    if (!components[i].IsEmpty())
      item.reset(item->GetChildByName(components[i], 0));
  // GetChildByName gives nil below a missing folder; the folder walked last
  // must exist as well.
  if (!item || (folder && !item->IsDirectory()))
    return ASCIIText("");
  string path = item->GetAbsolutePath();
  path.SetEncoding(kEncodingASCII);
  return path;
}

string WorkOut(bool folder) {
  const char *start = gArgv && gArgv[0] ? gArgv[0] : "";
  if (start[0] == '/')
    return FromAbsolute(start, folder);
  if (!std::strchr(start, '/')) {
    // Found on the search path: the running file itself, else the search.
    std::string executable = CurrentExecutablePath(start);
    if (executable.empty() || executable[0] != '/')
      executable = FindExecutableOnPath(start);
    return executable.empty() ? ASCIIText("") : FromAbsolute(executable, folder);
  }
  return FromWorkingDirectory(start, folder);
}

} // namespace

string GetApplicationPath(bool folder) {
  PathCache &cache = folder ? sFolderCache : sFileCache;
  if (!cache.filled) {
    string path = WorkOut(folder);
    if (path.Length() >= int(kPathBufferSize))
      path = ASCIIText("");
    cache.path = path;
    cache.filled = true;
  }
  return cache.path;
}

string StripTrailingSlash(const string &path) {
  const int length = path.Length();
  if (length > 0 && path.CString()[length - 1] == '/')
    return left(path, length - 1);
  return path;
}

void ResetApplicationPathCaches() {
  sFileCache = PathCache{};
  sFolderCache = PathCache{};
}
