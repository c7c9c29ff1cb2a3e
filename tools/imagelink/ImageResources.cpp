#include "ImageResources.h"

#include "LinkError.h"
#include "LittleEndian.h"
#include "WholeFile.h"

namespace imagelink {

ResourceFile parseResourceArgument(const std::string &argument) {
  const size_t first = argument.find(':');
  const size_t second = first == std::string::npos ? first : argument.find(':', first + 1);
  if (first != 4 || second == std::string::npos || second == first + 1 ||
      second + 1 >= argument.size())
    throw LinkError("resource '" + argument + "' must be TYPE:ID:file with a four-character type");
  const std::string idText = argument.substr(first + 1, second - first - 1);
  if (idText.find_first_not_of("0123456789") != std::string::npos || idText.size() > 5 ||
      std::stoul(idText) > 65535)
    throw LinkError("resource '" + argument + "' has an id that is not 0 to 65535");
  return {argument.substr(0, 4), uint16_t(std::stoul(idText)), argument.substr(second + 1)};
}

std::vector<uint8_t> resourcesSection(const std::vector<ResourceFile> &resources) {
  std::vector<uint8_t> out;
  for (const ResourceFile &resource : resources) {
    const std::vector<uint8_t> data = readWholeFile(resource.path, "cannot read the resource");
    // The type is a little-endian integer whose big-endian reading spells the
    // code: 'WAVE' is stored as the bytes E V A W.
    for (int i = 3; i >= 0; --i)
      out.push_back(uint8_t(resource.type[i]));
    appendLE16(out, resource.id);
    appendLE32(out, 0); // not read by the loader
    appendLE32(out, data.size());
    out.insert(out.end(), data.begin(), data.end());
  }
  return out;
}

} // namespace imagelink
