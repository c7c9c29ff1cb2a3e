// Resource getters whose subsystems are not built yet: each answers nil, as
// for a missing resource, until its subsystem supplies the real one.
#include "runtime/image/ResourceManager.h"

RuntimeObject *ResourceManagerElf::GetPicture(int16_t) { return nullptr; }
RuntimeObject *ResourceManagerElf::GetSound(int16_t) { return nullptr; }
