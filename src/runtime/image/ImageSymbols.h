// The image's optional symbol table: which function of the image's code an
// address lies in (for the remote debugger's stack listing).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// A count N, N entries of {code offset, name offset}, then the names, each
// zero-terminated; name offsets count from the first byte after the entries.
class ImageSymbols {
public:
  // Checks and takes the section, which must outlive this object. An empty
  // section gives an empty table.
  bool Load(const uint8_t *section, uint32_t size, uint32_t codeSize, std::string &problem);

  bool IsEmpty() const { return mSymbols.empty(); }

  // The symbol at or below the code offset, the one with the greatest such
  // offset; nil when there is none.
  const char *Find(uint32_t codeOffset, uint32_t &distance) const;

private:
  struct Symbol {
    uint32_t codeOffset;
    const char *name;
  };
  std::vector<Symbol> mSymbols;
};
