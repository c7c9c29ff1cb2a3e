#include "runtime/image/ResourceManager.h"

#include <cstring>

#include "foundation/TextEncodings.h"
#include "runtime/image/ImageByteReader.h"

ResourceManagerElf gResourceManager;

int32_t VersionInfo::Integer(int32_t index) const {
  return index >= 0 && index < 6 ? integers[index] : -1;
}

string VersionInfo::Text(int32_t index) const {
  return index >= 0 && index < 3 ? strings[index] : string();
}

void ResourceManager::Add(uint32_t type, int16_t id, const uint8_t *data, uint32_t length,
                          uint32_t fileOffset) {
  mEntries.push_back(ResourceEntry{type, id, data, length, fileOffset});
}

int32_t ResourceManager::GetCount() const { return mEntries.count(); }

ResourceEntry ResourceManager::GetResource(uint32_t type, int16_t id) const {
  for (const ResourceEntry &entry : mEntries)
    if (entry.type == type && entry.id == id)
      return entry;
  return ResourceEntry{};
}

ResourceEntry ResourceManager::GetResourceByIndex(int32_t index) const {
  if (index < 0 || index >= GetCount()) {
    ShowAlert(kResourceIndexAlert);
    return ResourceEntry{};
  }
  return mEntries.begin()[index];
}

string ResourceManager::GetText(int16_t id) {
  ResourceEntry entry = GetResource(kTextResourceType, id);
  string text;
  if (!entry.data)
    return text;
  text.ConstructFromBuffer(reinterpret_cast<const char *>(entry.data), int(entry.length));
  text.SetEncoding(GetSystemEncoding());
  return text;
}

RuntimeObject *ResourceManagerElf::GetMovie(int16_t) { return nullptr; }

namespace {

// Six int32 values, then three strings of a length byte and that many bytes.
bool ReadVersionRecord(const ResourceEntry &entry, VersionInfo &info) {
  ImageByteReader reader(entry.data, entry.length);
  int32_t stored[6];
  for (int32_t &value : stored)
    if (!reader.ReadInt32(value))
      return false;
  // Stored as major, minor, bug, non-release, stage, region; read by index
  // with stage before non-release.
  const int kStoredForIndex[6] = {0, 1, 2, 4, 3, 5};
  for (int i = 0; i < 6; ++i)
    info.integers[i] = stored[kStoredForIndex[i]];
  for (string &text : info.strings) {
    const uint8_t *bytes;
    uint8_t length;
    if (!reader.ReadCountedBytes(bytes, length))
      return false;
    text.ConstructFromBuffer(reinterpret_cast<const char *>(bytes), length);
    text.SetEncoding(kEncodingUTF8);
  }
  return true;
}

} // namespace

const VersionInfo *ResourceManagerElf::GetVersionInfo() {
  if (mVersionInfo)
    return mVersionInfo;
  ResourceEntry entry = GetResource(kVersionResourceType, 0);
  if (!entry.data)
    return nullptr;
  auto *info = new VersionInfo{};
  if (!ReadVersionRecord(entry, *info)) {
    delete info;
    return nullptr;
  }
  mVersionInfo = info;
  return mVersionInfo;
}
