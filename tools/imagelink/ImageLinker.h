#pragma once
// Links i386 ELF relocatable objects into the code, data, imports and symbols
// sections of an application image: the entry function at code offset 0,
// calls within the code resolved, every other address turned into a fix-up
// record, handler records completed and checked against the unwinder's scan.
#include <cstdint>
#include <string>
#include <vector>

#include "ElfObject.h"

namespace imagelink {

struct LinkedImage {
  std::vector<uint8_t> code;
  std::vector<uint8_t> data;
  std::vector<uint8_t> imports; // the fix-up stream
  std::vector<uint8_t> symbols;
};

inline constexpr const char *kDefaultEntryName = "ImageEntry";

// Throws LinkError for anything the image format cannot carry.
LinkedImage linkObjects(const std::vector<ElfObject> &objects,
                        const std::string &entryName = kDefaultEntryName);

} // namespace imagelink
