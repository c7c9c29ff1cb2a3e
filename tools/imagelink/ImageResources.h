#pragma once
// The resources section: records of type (four-character code), id and data.
#include <cstdint>
#include <string>
#include <vector>

namespace imagelink {

struct ResourceFile {
  std::string type; // exactly four characters, e.g. "WAVE"
  uint16_t id = 0;
  std::string path;
};

// Parses "TYPE:ID:path".
ResourceFile parseResourceArgument(const std::string &argument);

std::vector<uint8_t> resourcesSection(const std::vector<ResourceFile> &resources);

} // namespace imagelink
