// The image's 'DBAS' resources: an engine name and connection data, opened
// through connectDatabase.
#include <cstring>

#include "database/DatabaseInterface.h"
#include "runtime/image/ResourceManager.h"

namespace {
constexpr uint32_t kDatabaseResourceType = FourCharCode("DBAS");

// A length in the machine's byte order at the offset, when it and the bytes
// it counts lie within the resource.
bool ReadCounted(const ResourceEntry &entry, uint32_t offset, uint32_t &length) {
  if (entry.length < 4 || offset > entry.length - 4) return false;
  int32_t value;
  std::memcpy(&value, entry.data + offset, 4);
  if (value < 0 || uint32_t(value) > entry.length - offset - 4) return false;
  length = uint32_t(value);
  return true;
}
} // namespace

RuntimeObject *ResourceManagerElf::GetDatabase(int16_t id) {
  ResourceEntry entry = GetResource(kDatabaseResourceType, id);
  uint32_t nameLength, dataLength;
  if (!entry.data || !ReadCounted(entry, 0, nameLength) ||
      !ReadCounted(entry, 4 + nameLength, dataLength))
    return nullptr;
  string name;
  name.ConstructFromBuffer(reinterpret_cast<const char *>(entry.data) + 4, int(nameLength));
  void *data = const_cast<uint8_t *>(entry.data) + 8 + nameLength;
  return connectDatabase(name.Storage(), data, int32_t(dataLength));
}

extern "C" RuntimeObject *RuntimeGetDatabaseFromResource(int32_t resourceId) {
  return gResourceManager.GetDatabase(int16_t(resourceId));
}
