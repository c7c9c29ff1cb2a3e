#include "ElfObject.h"

#include <elf.h>

#include <cstring>

#include "LinkError.h"
#include "WholeFile.h"

namespace imagelink {

namespace {

// More than a page of alignment is no compiler's doing; it would only bloat
// the image.
constexpr uint32_t kLargestAlignment = 4096;

struct FileView {
  const std::string &path;
  const std::vector<uint8_t> &bytes;

  // Copies a record out of the file after checking that it lies inside it.
  template <typename T>
  T record(uint64_t offset) const {
    if (offset + sizeof(T) > bytes.size())
      fail("is truncated");
    T value;
    std::memcpy(&value, bytes.data() + offset, sizeof(T));
    return value;
  }
  std::vector<uint8_t> range(uint64_t offset, uint64_t size) const {
    if (offset + size > bytes.size())
      fail("has a section beyond its end");
    return {bytes.begin() + offset, bytes.begin() + offset + size};
  }
  [[noreturn]] void fail(const std::string &why) const {
    throw LinkError(path + ": object file " + why);
  }
};

std::string stringAt(const FileView &file, const std::vector<uint8_t> &table, uint32_t offset) {
  if (offset >= table.size())
    file.fail("names a string outside its string table");
  const char *begin = reinterpret_cast<const char *>(table.data()) + offset;
  const void *end = std::memchr(begin, 0, table.size() - offset);
  if (!end)
    file.fail("has an unterminated string table");
  return std::string(begin, static_cast<const char *>(end));
}

bool isAlignment(uint32_t alignment) {
  return alignment && !(alignment & (alignment - 1)) && alignment <= kLargestAlignment;
}

// What a symbol defines must lie inside its section (the handler checks walk
// each function's bytes), and a common symbol's value is its alignment.
void checkSymbolBounds(const FileView &file, const std::vector<ElfSection> &sections,
                       const ElfSymbol &symbol) {
  if (symbol.sectionIndex == SHN_COMMON) {
    if (symbol.value && !isAlignment(symbol.value))
      file.fail("aligns common symbol '" + symbol.name + "' to " + std::to_string(symbol.value) +
                " bytes");
    return;
  }
  if (symbol.sectionIndex == SHN_UNDEF || symbol.sectionIndex >= SHN_LORESERVE ||
      symbol.sectionIndex >= sections.size())
    return;
  const ElfSection &section = sections[symbol.sectionIndex];
  if (uint64_t(symbol.value) + symbol.size > section.size)
    file.fail("places symbol '" + symbol.name + "' beyond the end of " + section.name);
}

} // namespace

ElfObject ElfObject::read(const std::string &path) {
  return parse(path, readWholeFile(path, "cannot be read"));
}

ElfObject ElfObject::parse(const std::string &path, const std::vector<uint8_t> &bytes) {
  FileView file{path, bytes};
  auto header = file.record<Elf32_Ehdr>(0);
  if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0)
    file.fail("is not ELF");
  if (header.e_ident[EI_CLASS] != ELFCLASS32 || header.e_ident[EI_DATA] != ELFDATA2LSB ||
      header.e_machine != EM_386)
    file.fail("is not 32-bit little-endian i386 (compile with gcc -m32)");
  if (header.e_type != ET_REL)
    file.fail("is not a relocatable object (compile with -c)");
  if (header.e_shentsize != sizeof(Elf32_Shdr))
    file.fail("has unexpected section headers");

  ElfObject object;
  object.path = path;
  std::vector<Elf32_Shdr> headers;
  for (unsigned i = 0; i < header.e_shnum; ++i)
    headers.push_back(file.record<Elf32_Shdr>(header.e_shoff + uint64_t(i) * sizeof(Elf32_Shdr)));
  if (header.e_shstrndx >= headers.size())
    file.fail("has no section-name table");
  const Elf32_Shdr &namesHeader = headers[header.e_shstrndx];
  std::vector<uint8_t> sectionNames = file.range(namesHeader.sh_offset, namesHeader.sh_size);

  for (const Elf32_Shdr &h : headers) {
    ElfSection section;
    section.name = stringAt(file, sectionNames, h.sh_name);
    section.type = h.sh_type;
    section.flags = h.sh_flags;
    section.size = h.sh_size;
    section.alignment = h.sh_addralign ? h.sh_addralign : 1;
    if (!isAlignment(section.alignment))
      file.fail("aligns " + section.name + " to " + std::to_string(section.alignment) + " bytes");
    if (h.sh_type != SHT_NOBITS && h.sh_type != SHT_NULL)
      section.bytes = file.range(h.sh_offset, h.sh_size);
    object.sections.push_back(std::move(section));
  }

  for (size_t i = 0; i < headers.size(); ++i) {
    const Elf32_Shdr &h = headers[i];
    if (h.sh_type == SHT_SYMTAB) {
      if (h.sh_link >= headers.size())
        file.fail("has a symbol table without names");
      const std::vector<uint8_t> &names = object.sections[h.sh_link].bytes;
      const std::vector<uint8_t> &table = object.sections[i].bytes;
      for (size_t at = 0; at + sizeof(Elf32_Sym) <= table.size(); at += sizeof(Elf32_Sym)) {
        Elf32_Sym raw;
        std::memcpy(&raw, table.data() + at, sizeof raw);
        ElfSymbol symbol;
        symbol.name = stringAt(file, names, raw.st_name);
        symbol.value = raw.st_value;
        symbol.size = raw.st_size;
        symbol.binding = ELF32_ST_BIND(raw.st_info);
        symbol.type = ELF32_ST_TYPE(raw.st_info);
        symbol.sectionIndex = raw.st_shndx;
        checkSymbolBounds(file, object.sections, symbol);
        object.symbols.push_back(std::move(symbol));
      }
    } else if (h.sh_type == SHT_RELA) {
      file.fail("carries RELA relocations, which i386 objects never use");
    }
  }

  for (size_t i = 0; i < headers.size(); ++i) {
    const Elf32_Shdr &h = headers[i];
    if (h.sh_type != SHT_REL)
      continue;
    if (h.sh_info >= headers.size())
      file.fail("relocates a section that does not exist");
    auto &list = object.relocations[h.sh_info];
    const std::vector<uint8_t> &table = object.sections[i].bytes;
    for (size_t at = 0; at + sizeof(Elf32_Rel) <= table.size(); at += sizeof(Elf32_Rel)) {
      Elf32_Rel raw;
      std::memcpy(&raw, table.data() + at, sizeof raw);
      ElfRelocation relocation{raw.r_offset, ELF32_R_TYPE(raw.r_info), ELF32_R_SYM(raw.r_info)};
      if (relocation.symbolIndex >= object.symbols.size())
        file.fail("relocates against a missing symbol");
      // A zeroed section has no bytes in the file, but the linker lays out
      // its full size: relocations must lie within that.
      const ElfSection &target = object.sections[h.sh_info];
      const uint64_t targetSize = target.type == SHT_NOBITS ? target.size : target.bytes.size();
      if (uint64_t(relocation.offset) + 4 > targetSize)
        file.fail("relocates beyond the end of " + target.name);
      list.push_back(relocation);
    }
  }
  return object;
}

} // namespace imagelink
