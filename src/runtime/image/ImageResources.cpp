#include "runtime/image/ImageResources.h"

#include <vector>

#include "foundation/AssertionAlert.h"
#include "runtime/image/ImageByteReader.h"
#include "runtime/image/ImageIcons.h"
#include "runtime/image/ResourceManager.h"

namespace {

struct ResourceRecord {
  uint32_t type;
  uint16_t id;
  const uint8_t *data;
  uint32_t length;
  uint32_t position; // of the data, within the section
};

bool ReadResourceRecord(ImageByteReader &reader, ResourceRecord &record) {
  const uint8_t *unread;
  return reader.ReadUInt32(record.type) && reader.ReadUInt16(record.id) &&
         reader.ReadBytes(4, unread) && reader.ReadUInt32(record.length) &&
         (record.position = reader.Position(), reader.ReadBytes(record.length, record.data));
}

// A version record: six int32 values and three counted strings.
bool ReadVersionRecord(ImageByteReader &reader, const uint8_t *&record, uint32_t &length) {
  uint32_t start = reader.Position();
  const uint8_t *bytes;
  uint8_t stringLength;
  if (!reader.ReadBytes(24, record))
    return false;
  for (int i = 0; i < 3; ++i)
    if (!reader.ReadCountedBytes(bytes, stringLength))
      return false;
  length = reader.Position() - start;
  return true;
}

struct Options {
  std::vector<ImageIcon> iconsNewestFirst;
  int unknownTags = 0;
  const uint8_t *version = nullptr;
  uint32_t versionLength = 0;
};

bool ReadOptions(const uint8_t *section, uint32_t size, Options &options, std::string &problem) {
  ImageByteReader reader(section, size);
  while (!reader.AtEnd()) {
    uint32_t recordStart = reader.Position();
    uint8_t tag;
    reader.ReadByte(tag);
    bool complete = true;
    if (tag == kOptionIcon) {
      ImageIcon icon{};
      complete = reader.ReadByte(icon.width) && reader.ReadByte(icon.height) &&
                 reader.ReadBytes(uint32_t(icon.width) * icon.height * 4, icon.pixels);
      if (complete && (icon.width == 0 || icon.height == 0)) {
        problem = "the icon option at " + std::to_string(recordStart) + " has no pixels";
        return false;
      }
      options.iconsNewestFirst.insert(options.iconsNewestFirst.begin(), icon);
    } else if (tag == kOptionVersion) {
      complete = ReadVersionRecord(reader, options.version, options.versionLength);
    } else {
      ++options.unknownTags;
    }
    if (!complete) {
      problem = "the option record at " + std::to_string(recordStart) + " is cut short";
      return false;
    }
  }
  return true;
}

} // namespace

bool LoadResourceTable(const uint8_t *section, uint32_t size, uint32_t filePosition,
                       std::string &problem) {
  std::vector<ResourceRecord> records;
  ImageByteReader reader(section, size);
  while (!reader.AtEnd()) {
    ResourceRecord record;
    uint32_t recordStart = reader.Position();
    if (!ReadResourceRecord(reader, record)) {
      problem = "the resource record at " + std::to_string(recordStart) + " is cut short";
      return false;
    }
    records.push_back(record);
  }
  for (const ResourceRecord &record : records)
    gResourceManager.Add(record.type, int16_t(record.id), record.data, record.length,
                         filePosition + record.position);
  return true;
}

bool ApplyOptionsTable(const uint8_t *section, uint32_t size, std::string &problem) {
  Options options;
  if (!ReadOptions(section, size, options, problem))
    return false;
  for (int i = 0; i < options.unknownTags; ++i)
    ShowAlert({__FILE__, __LINE__, "0"});
  if (options.version)
    gResourceManager.Add(kVersionResourceType, 0, options.version, options.versionLength, 0);
  InstallDefaultIcons(options.iconsNewestFirst);
  return true;
}
