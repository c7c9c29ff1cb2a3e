#pragma once
// The image's fix-up stream (its imports section): imports of runtime entry
// points and of shared-library functions, each one record per name with its
// sites chained through the code, and one record per code, data or
// string-constant address that the loader relocates.
#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "ImageFormat.h"

namespace imagelink {

class FixupStream {
public:
  // A call operand (relative) or an address operand (absolute) naming a
  // runtime entry point.
  void addRuntimeImport(const std::string &name, bool relative, uint32_t site);
  // A call operand naming a function of a shared library.
  void addLibraryImport(const std::string &symbol, const std::string &library, uint32_t site);
  // A code, data or string-constant address at the site.
  void addAddress(ImageImportTag tag, uint32_t site);

  // Every code offset whose four bytes the loader rewrites.
  std::vector<uint32_t> patchedSites() const;

  // Writes the chains into the code and returns the stream's bytes.
  std::vector<uint8_t> write(std::vector<uint8_t> &code) const;

private:
  struct Chain {
    size_t order; // records follow the order in which names first appear
    std::vector<uint32_t> sites;
  };
  std::map<std::tuple<std::string, bool>, Chain> mRuntimeImports;
  std::map<std::tuple<std::string, std::string>, Chain> mLibraryImports;
  std::vector<std::pair<ImageImportTag, uint32_t>> mAddresses;
};

} // namespace imagelink
