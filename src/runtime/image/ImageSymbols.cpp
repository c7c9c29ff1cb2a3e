#include "runtime/image/ImageSymbols.h"

#include <cstring>

#include "runtime/image/ImageByteReader.h"

bool ImageSymbols::Load(const uint8_t *section, uint32_t size, uint32_t codeSize,
                        std::string &problem) {
  mSymbols.clear();
  if (size == 0)
    return true;
  ImageByteReader reader(section, size);
  uint32_t count;
  const uint8_t *entries;
  if (!reader.ReadUInt32(count) || count > reader.Remaining() / 8 ||
      !reader.ReadBytes(count * 8, entries)) {
    problem = "the symbol table's entries run past its section";
    return false;
  }
  const uint8_t *names = entries + count * 8;
  uint32_t namesSize = reader.Remaining();
  ImageByteReader entryReader(entries, count * 8);
  for (uint32_t i = 0; i < count; ++i) {
    uint32_t codeOffset = 0, nameOffset = 0;
    entryReader.ReadUInt32(codeOffset);
    entryReader.ReadUInt32(nameOffset);
    if (nameOffset >= namesSize || !std::memchr(names + nameOffset, 0, namesSize - nameOffset)) {
      problem = "symbol " + std::to_string(i) + " has no name inside the symbol table";
      return false;
    }
    if (codeOffset >= codeSize) {
      problem = "symbol " + std::to_string(i) + " lies outside the code";
      return false;
    }
    mSymbols.push_back(Symbol{codeOffset, reinterpret_cast<const char *>(names + nameOffset)});
  }
  return true;
}

const char *ImageSymbols::Find(uint32_t codeOffset, uint32_t &distance) const {
  const Symbol *best = nullptr;
  for (const Symbol &symbol : mSymbols)
    if (symbol.codeOffset <= codeOffset && (!best || symbol.codeOffset >= best->codeOffset))
      best = &symbol;
  if (!best)
    return nullptr;
  distance = codeOffset - best->codeOffset;
  return best->name;
}
