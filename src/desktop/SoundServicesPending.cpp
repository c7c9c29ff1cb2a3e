// Stand-ins until the sound subsystem exists: no support, no Sound.
#include "desktop/SoundServices.h"

__attribute__((weak)) bool HasSoundSupport() { return false; }
__attribute__((weak)) RuntimeObject *NewSoundForFile(const string &, uint32_t) { return nullptr; }
