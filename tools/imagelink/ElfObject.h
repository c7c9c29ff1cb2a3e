#pragma once
// One i386 ELF relocatable object (what `gcc -m32 -c` writes), read whole and
// checked so that every offset the linker later follows lies inside it.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace imagelink {

struct ElfSection {
  std::string name;
  uint32_t type = 0;
  uint32_t flags = 0;
  uint32_t size = 0;
  uint32_t alignment = 1;
  std::vector<uint8_t> bytes; // empty for SHT_NOBITS
};

struct ElfSymbol {
  std::string name;
  uint32_t value = 0;
  uint32_t size = 0;
  uint8_t binding = 0;
  uint8_t type = 0;
  uint16_t sectionIndex = 0; // SHN_UNDEF, SHN_COMMON, SHN_ABS or a section
};

struct ElfRelocation {
  uint32_t offset = 0; // within the section it patches
  uint32_t type = 0;
  uint32_t symbolIndex = 0;
};

struct ElfObject {
  std::string path;
  std::vector<ElfSection> sections;
  std::vector<ElfSymbol> symbols;
  // Relocations by the index of the section they patch, in file order.
  std::map<uint32_t, std::vector<ElfRelocation>> relocations;

  static ElfObject read(const std::string &path);
  static ElfObject parse(const std::string &path, const std::vector<uint8_t> &file);
};

} // namespace imagelink
