// The image's resources, registered by the loader and fetched by
// four-character type and 16-bit id. Entries point into the loaded resource
// section (nothing is copied) and remember where their data lies in the
// executable, so that sounds can be played straight from the file.
#pragma once
#include <cstdint>

#include "foundation/AssertionAlert.h"
#include "foundation/SimpleVector.h"
#include "foundation/String.h"

struct RuntimeObject;

// A four-character code as the integer whose big-endian reading spells it.
constexpr uint32_t FourCharCode(const char (&code)[5]) {
  return uint32_t(uint8_t(code[0])) << 24 | uint32_t(uint8_t(code[1])) << 16 |
         uint32_t(uint8_t(code[2])) << 8 | uint32_t(uint8_t(code[3]));
}

constexpr uint32_t kVersionResourceType = FourCharCode("VERS");
constexpr uint32_t kTextResourceType = FourCharCode("TEXT");

// GetResourceByIndex with an index outside the entries.
inline constexpr AlertSite kResourceIndexAlert{"ResourceManagerCommon", 92, "index < GetCount()"};

struct ResourceEntry {
  uint32_t type;
  int16_t id;
  const uint8_t *data;
  uint32_t length;
  uint32_t fileOffset; // 0 for the version record
};

// The application's version, read from its 'VERS' resource: the integers in
// the order the Application class reads them by index (major, minor, bug,
// stage, non-release, region) and the strings ShortVersion, LongVersion and
// PackageInfo, tagged UTF-8.
struct VersionInfo {
  int32_t integers[6];
  string strings[3];

  // -1 for an index outside 0 to 5.
  int32_t Integer(int32_t index) const;
  // The empty string for an index outside 0 to 2.
  string Text(int32_t index) const;
};

class ResourceManager {
public:
  ResourceManager() = default;
  virtual ~ResourceManager() = default;
  ResourceManager(const ResourceManager &) = delete;
  ResourceManager &operator=(const ResourceManager &) = delete;

  void Add(uint32_t type, int16_t id, const uint8_t *data, uint32_t length, uint32_t fileOffset);
  int32_t GetCount() const;
  // The first entry registered with that type and id, or an entry of zeros.
  ResourceEntry GetResource(uint32_t type, int16_t id) const;
  // An index not below the count shows the alert and answers an entry of zeros.
  ResourceEntry GetResourceByIndex(int32_t index) const;

  virtual RuntimeObject *GetDatabase(int16_t id) = 0;
  virtual RuntimeObject *GetPicture(int16_t id) = 0;
  // A 'TEXT' resource's bytes tagged with the system encoding; the empty
  // string when there is none (the language's nil string).
  virtual string GetText(int16_t id);
  virtual RuntimeObject *GetCursor(int16_t id) = 0;
  virtual RuntimeObject *GetMovie(int16_t id) = 0;
  virtual RuntimeObject *GetSound(int16_t id) = 0;

private:
  SimpleVector<ResourceEntry> mEntries;
};

class ResourceManagerElf : public ResourceManager {
public:
  RuntimeObject *GetDatabase(int16_t id) override;
  RuntimeObject *GetPicture(int16_t id) override;
  RuntimeObject *GetCursor(int16_t id) override;
  RuntimeObject *GetMovie(int16_t id) override;
  RuntimeObject *GetSound(int16_t id) override;

  // Read from the 'VERS' resource on the first call that finds one, then
  // kept; nil without one. A record too short for what it declares counts
  // as none.
  const VersionInfo *GetVersionInfo();

private:
  VersionInfo *mVersionInfo = nullptr;
};

extern ResourceManagerElf gResourceManager;
