#include "desktop/URLLaunching.h"

#include "foundation/ProcessSpawnPosix.h"
#include "foundation/String.h"
#include "language/StringFields.h"
#include "runtime/application/CommonRuntimeFunctions.h"

namespace {

// Without a registry of the preferred browser, these are tried in order.
const char *const kBrowsers[] = {"galeon", "konqueror", "mozilla"};

} // namespace

void LaunchURL(const string &url) {
  for (const char *browser : kBrowsers) {
    std::string path = FindExecutableOnPath(browser);
    if (path.empty())
      continue;
    // The URL is one argument of its own: no shell ever reads it.
    const char *argv[] = {path.c_str(), url.CString(), nullptr};
    SpawnDetached(argv);
    return;
  }
}

int32_t AppendFileExtension(string &name, const string &extensions, const string &extension,
                            long maximumLength) {
  if (extension.Compare(string("")) == 0)
    return 0;
  string dotted = string(".") + extension;
  string separator(";");
  int32_t count = countFields(extensions, separator);
  for (int32_t i = 1; i <= count; ++i) {
    string known = nthField(extensions, separator, i);
    if (known.IsEmpty())
      continue;
    string suffix = string(".") + known;
    if (name.Length() >= suffix.Length() && right(name, suffix.Length()).Compare(suffix) == 0)
      return 0;
  }
  // An old extension goes; a name that only begins with "." has none.
  const char *bytes = name.CString();
  for (int i = name.Length() - 1; i >= 1; --i)
    if (bytes[i] == '.') {
      name = left(name, i);
      break;
    }
  long room = maximumLength - dotted.Length();
  if (name.Length() >= room)
    name = left(name, static_cast<int>(room < 0 ? 0 : room));
  name = name + dotted;
  return 1;
}

void shutdownInternetConfig() {}
