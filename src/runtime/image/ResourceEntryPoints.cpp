// The resource getters that compiled code calls by name. Each answers a new
// reference for the caller, or nil when the image has no such resource.
#include <cstdint>

#include "runtime/image/ResourceManager.h"

extern "C" stringStorage *RuntimeGetTextFileFromResourceManager(int32_t id) {
  return gResourceManager.GetText(int16_t(id)).ExtractStringStorage();
}
