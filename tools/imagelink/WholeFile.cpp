#include "WholeFile.h"

#include <fstream>
#include <iterator>

#include "LinkError.h"

namespace imagelink {

std::vector<uint8_t> readWholeFile(const std::string &path, const std::string &whatFailed) {
  std::ifstream in(path, std::ios::binary);
  if (!in)
    throw LinkError(path + ": " + whatFailed);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
}

} // namespace imagelink
