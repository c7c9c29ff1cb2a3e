#include <initializer_list>

#include <dlfcn.h>

#include "desktop/SoundLibrary.h"

namespace {

bool sTried = false;
bool sSupported = false;
bool sSimulateMissing = false;
SoundLibrary sLibrary{};

template <typename F>
bool Find(void *lib, F &slot, const char *name) {
  slot = reinterpret_cast<F>(dlsym(lib, name));
  return slot != nullptr;
}

void Load() {
  sTried = true;
  // The versioned name first: the runtime package of the distributions ships
  // only that one.
  void *lib = nullptr;
  for (const char *name : {"libsndfile.so.1", "libsndfile.so", "/usr/local/lib/libsndfile.so",
                           "/usr/lib/libsndfile.so"})
    if ((lib = dlopen(name, RTLD_LAZY)) != nullptr)
      break;
  if (!lib)
    return;
  bool all = Find(lib, sLibrary.openFd, "sf_open_fd");
  all = Find(lib, sLibrary.close, "sf_close") && all;
  all = Find(lib, sLibrary.command, "sf_command") && all;
  all = Find(lib, sLibrary.seek, "sf_seek") && all;
  all = Find(lib, sLibrary.readFloat, "sf_read_float") && all;
  all = Find(lib, sLibrary.readShort, "sf_read_short") && all;
  sSupported = all;
}

} // namespace

const SoundLibrary *GetSoundLibrary() {
  if (sSimulateMissing)
    return nullptr;
  if (!sTried)
    Load();
  return sSupported ? &sLibrary : nullptr;
}

void SimulateMissingSoundLibrary(bool missing) { sSimulateMissing = missing; }
