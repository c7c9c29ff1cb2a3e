#pragma once
// Links the objects compiled from tests/tools/data and reads back what the
// linker wrote, independently of the linker's own code.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "ImageLinker.h"
#include "LinkError.h"

namespace linkertest {

inline std::string fixturePath(const std::string &name) {
  return std::string(LINKER_FIXTURES_DIR) + "/" + name + ".c.o";
}

inline imagelink::LinkedImage
linkFixtures(const std::vector<std::string> &names,
             const std::string &entry = imagelink::kDefaultEntryName) {
  std::vector<imagelink::ElfObject> objects;
  for (const std::string &name : names)
    objects.push_back(imagelink::ElfObject::read(fixturePath(name)));
  return imagelink::linkObjects(objects, entry);
}

// The message of the LinkError that linking throws, or "" when it links.
inline std::string linkFailure(const std::vector<std::string> &names) {
  try {
    linkFixtures(names);
  } catch (const imagelink::LinkError &error) {
    return error.what();
  }
  return "";
}

inline uint32_t le32(const std::vector<uint8_t> &bytes, size_t at) {
  return bytes.at(at) | bytes.at(at + 1) << 8 | bytes.at(at + 2) << 16 |
         uint32_t(bytes.at(at + 3)) << 24;
}

struct FixupRecord {
  uint8_t tag = 0;
  uint8_t mode = 0;
  uint32_t site = 0; // first site for imports
  std::string name;
  std::string library;
};

inline std::string shortName(const std::vector<uint8_t> &stream, size_t &at) {
  const size_t length = stream.at(at++);
  std::string name(stream.begin() + at, stream.begin() + at + length);
  at += length;
  if (stream.at(at++) != 0)
    throw std::runtime_error("import name without its zero byte");
  return name;
}

inline std::vector<FixupRecord> parseFixups(const std::vector<uint8_t> &stream) {
  std::vector<FixupRecord> records;
  for (size_t at = 0; at < stream.size();) {
    FixupRecord record;
    record.tag = stream[at++];
    if (record.tag == 1)
      record.mode = stream.at(at++);
    if (record.tag >= 1 && record.tag <= 5) {
      record.site = le32(stream, at);
      at += 4;
    }
    if (record.tag == 1 || record.tag == 4)
      record.name = shortName(stream, at);
    if (record.tag == 4)
      record.library = shortName(stream, at);
    records.push_back(record);
  }
  return records;
}

inline std::vector<uint32_t> chainedSites(const std::vector<uint8_t> &code, uint32_t first) {
  std::vector<uint32_t> sites;
  for (uint32_t site = first; site != 0 && sites.size() <= code.size(); site = le32(code, site))
    sites.push_back(site);
  return sites;
}

inline std::map<std::string, uint32_t> parseSymbols(const std::vector<uint8_t> &section) {
  std::map<std::string, uint32_t> symbols;
  const uint32_t count = le32(section, 0);
  const size_t names = 4 + 8 * count;
  for (uint32_t i = 0; i < count; ++i) {
    const char *name =
        reinterpret_cast<const char *>(section.data() + names + le32(section, 4 + 8 * i + 4));
    symbols[name] = le32(section, 4 + 8 * i);
  }
  return symbols;
}

} // namespace linkertest
