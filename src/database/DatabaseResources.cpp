// The resource manager's databases: a 'DBAS' resource names an engine and
// carries its connection data.
#include <cstring>

#include "database/DatabaseConnections.h"
#include "runtime/image/ResourceManager.h"

namespace {

int32_t ReadInt32(const uint8_t *at) {
  int32_t value;
  std::memcpy(&value, at, sizeof value); // the machine's byte order
  return value;
}

} // namespace

// Layout: int32 n, n bytes of engine name, int32 m, m bytes of connection
// data. The lengths come from the image and are checked against the
// resource's own length, in 64 bits so that no sum can wrap.
RuntimeObject *ResourceManagerElf::GetDatabase(int16_t id) {
  const ResourceEntry entry = GetResource(FourCharCode("DBAS"), id);
  if (!entry.data || entry.length < 8)
    return nullptr;
  const int64_t length = entry.length;
  const int64_t nameLength = ReadInt32(entry.data);
  if (nameLength < 0 || 8 + nameLength > length)
    return nullptr;
  const int64_t dataLength = ReadInt32(entry.data + 4 + nameLength);
  if (dataLength < 0 || 8 + nameLength + dataLength > length)
    return nullptr;
  string engine;
  engine.ConstructFromBuffer(reinterpret_cast<const char *>(entry.data + 4), int(nameLength));
  return connectDatabase(engine, entry.data + 8 + nameLength, int32_t(dataLength));
}
