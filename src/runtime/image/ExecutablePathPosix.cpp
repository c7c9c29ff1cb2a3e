#include "runtime/image/ExecutablePathPosix.h"

#include <climits>
#include <unistd.h>

std::string CurrentExecutablePath(const char *argv0) {
  char path[PATH_MAX];
  ssize_t length = readlink("/proc/self/exe", path, sizeof path);
  if (length > 0 && size_t(length) < sizeof path)
    return std::string(path, size_t(length));
  return argv0 ? argv0 : "";
}
