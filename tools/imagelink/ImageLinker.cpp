#include "ImageLinker.h"

#include <elf.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <utility>

#include "FixupStream.h"
#include "HandlerRecords.h"
#include "LinkError.h"
#include "LittleEndian.h"

namespace imagelink {

namespace {

// Sections the kit writes: string constants laid out as ready-made string
// storage, and notes for the linker that never reach the image.
constexpr const char *kStringConstantsSection = ".kit.strings";
constexpr const char *kHandlerNotesSection = ".kit.handlers";
constexpr const char *kLibraryNotesSection = ".kit.libraries";

constexpr uint32_t kStringStorageSize = IMAGE_STRING_STORAGE_SIZE;

enum class Place { Ignored, Code, Data, StringConstants, Notes };

struct Placement {
  Place place = Place::Ignored;
  uint32_t offset = 0;
};

// Where a relocation points once everything is laid out.
struct Target {
  enum Kind { Code, Data, StringConstant, Absolute, RuntimeImport, LibraryImport } kind;
  uint32_t value = 0; // code or data offset, or the absolute value
  std::string name;
  std::string library;
};

struct Definition {
  size_t object;
  const ElfSymbol *symbol;
};

// Section symbols have no name of their own: they stand for their section.
std::string symbolName(const ElfObject &object, const ElfSymbol &symbol) {
  if (!symbol.name.empty() || symbol.sectionIndex >= object.sections.size())
    return symbol.name;
  return object.sections[symbol.sectionIndex].name;
}

bool startsWith(const std::string &s, const char *prefix) { return s.rfind(prefix, 0) == 0; }

bool isConstructorSection(const std::string &name) {
  for (const char *table :
       {".init_array", ".fini_array", ".preinit_array", ".ctors", ".dtors", ".init", ".fini"})
    if (name == table || startsWith(name, (std::string(table) + ".").c_str()))
      return true;
  return false;
}

Place classify(const ElfObject &object, const ElfSection &section) {
  if (isConstructorSection(section.name))
    throw LinkError(object.path + ": section " + section.name +
                    " holds static constructors or destructors, which an image cannot run");
  if (section.name == kStringConstantsSection)
    return Place::StringConstants;
  if (section.name == kHandlerNotesSection || section.name == kLibraryNotesSection)
    return Place::Notes;
  if (!(section.flags & SHF_ALLOC) || section.type == SHT_NOTE || section.type == SHT_GROUP)
    return Place::Ignored;
  // Unwind tables are for other unwinders; the runtime scans code instead.
  if (section.name == ".eh_frame")
    return Place::Ignored;
  if (section.flags & SHF_TLS)
    throw LinkError(object.path + ": thread-local section " + section.name +
                    " cannot be carried by an image");
  return (section.flags & SHF_EXECINSTR) ? Place::Code : Place::Data;
}

uint32_t alignUp(uint32_t value, uint32_t alignment) {
  return alignment > 1 ? (value + alignment - 1) / alignment * alignment : value;
}

void padTo(std::vector<uint8_t> &bytes, uint32_t alignment, uint8_t filler) {
  bytes.resize(alignUp(bytes.size(), alignment), filler);
}

// Zeroed sections and common symbols take no room in their objects, so only
// their declared sizes bound them: one that would not fit a 32-bit image (or
// would wrap the size of this 32-bit program's buffers) is refused.
constexpr uint64_t kLargestImageSection = 0x40000000;

void appendZeros(std::vector<uint8_t> &bytes, uint32_t count, const std::string &what) {
  if (bytes.size() + uint64_t(count) > kLargestImageSection)
    throw LinkError(what + " makes the image larger than " +
                    std::to_string(kLargestImageSection >> 20) + " MiB");
  bytes.resize(bytes.size() + count, 0);
}

std::string hex(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%x", value);
  return text;
}

class ObjectLinker {
public:
  ObjectLinker(const std::vector<ElfObject> &objects, const std::string &entryName)
      : mObjects(objects), mEntryName(entryName) {}

  LinkedImage link() {
    classifySections();
    collectDefinitions();
    collectLibraryNotes();
    layOutCode();
    layOutData();
    for (size_t i = 0; i < mObjects.size(); ++i)
      relocate(i);
    LinkedImage image;
    std::vector<CodeFunction> functions = codeFunctions();
    fillHandlerSlots(mCode, handlerNotes(), functions);
    const std::vector<uint32_t> patched = mFixups.patchedSites();
    for (size_t i = 1; i < patched.size(); ++i)
      if (patched[i] - patched[i - 1] < 4)
        throw LinkError("relocations overlap at code " + hex(patched[i - 1]) + " and " +
                        hex(patched[i]) + ": the loader would patch those bytes twice");
    checkHandlerScans(mCode, functions, patched);
    image.imports = mFixups.write(mCode);
    image.symbols = symbolsSection(functions);
    image.code = std::move(mCode);
    image.data = std::move(mData);
    return image;
  }

private:
  const std::vector<ElfObject> &mObjects;
  std::string mEntryName;
  std::vector<std::vector<Placement>> mPlacements; // [object][section]
  std::map<std::string, Definition> mGlobals;
  std::map<std::string, std::string> mLibraryOf;                // symbol -> shared library
  std::map<std::pair<size_t, size_t>, uint32_t> mCommonOffsets; // (object, symbol) -> data offset
  std::set<uint32_t> mStringConstants;                          // data offsets of string constants
  std::vector<uint8_t> mCode;
  std::vector<uint8_t> mData;
  FixupStream mFixups;

  const Placement &placementOf(size_t object, uint32_t section) const {
    if (section >= mPlacements[object].size())
      throw LinkError(mObjects[object].path + ": symbol in a section that does not exist");
    return mPlacements[object][section];
  }

  void classifySections() {
    for (const ElfObject &object : mObjects) {
      std::vector<Placement> places;
      for (const ElfSection &section : object.sections)
        places.push_back({classify(object, section), 0});
      mPlacements.push_back(std::move(places));
    }
  }

  void collectDefinitions() {
    for (size_t o = 0; o < mObjects.size(); ++o) {
      for (const ElfSymbol &symbol : mObjects[o].symbols) {
        if (symbol.binding == STB_LOCAL || symbol.sectionIndex == SHN_UNDEF || symbol.name.empty())
          continue;
        auto [it, added] = mGlobals.try_emplace(symbol.name, Definition{o, &symbol});
        if (added)
          continue;
        bool oldWeak = it->second.symbol->binding == STB_WEAK;
        if (symbol.binding == STB_WEAK)
          continue;
        if (!oldWeak)
          throw LinkError("'" + symbol.name + "' is defined in both " +
                          mObjects[it->second.object].path + " and " + mObjects[o].path);
        it->second = Definition{o, &symbol};
      }
    }
  }

  // The kit's KIT_LIBRARY_FUNCTION notes: pairs of zero-terminated names,
  // function then library.
  void collectLibraryNotes() {
    for (const ElfObject &object : mObjects) {
      for (const ElfSection &section : object.sections) {
        if (section.name != kLibraryNotesSection)
          continue;
        std::vector<std::string> names;
        std::string current;
        for (uint8_t byte : section.bytes) {
          if (byte)
            current.push_back(char(byte));
          else
            names.push_back(std::exchange(current, {}));
        }
        if (!current.empty() || names.size() % 2)
          throw LinkError(object.path + ": malformed shared-library import notes");
        for (size_t i = 0; i < names.size(); i += 2) {
          auto [it, added] = mLibraryOf.try_emplace(names[i], names[i + 1]);
          if (!added && it->second != names[i + 1])
            throw LinkError("'" + names[i] + "' is imported from both " + it->second + " and " +
                            names[i + 1]);
        }
      }
    }
  }

  void layOutCode() {
    auto entry = mGlobals.find(mEntryName);
    if (entry == mGlobals.end() || entry->second.symbol->sectionIndex >= SHN_LORESERVE ||
        placementOf(entry->second.object, entry->second.symbol->sectionIndex).place != Place::Code)
      throw LinkError("the entry function '" + mEntryName + "' is not defined in the code");
    const Definition &entryDefinition = entry->second;
    const uint32_t entrySection = entryDefinition.symbol->sectionIndex;
    // The entry's own section goes first; when the entry does not begin it
    // (objects built without -ffunction-sections), a jump at offset 0 leads there.
    if (entryDefinition.symbol->value != 0)
      mCode.assign(5, 0);
    placeCode(entryDefinition.object, entrySection);
    for (size_t o = 0; o < mObjects.size(); ++o)
      for (size_t s = 0; s < mObjects[o].sections.size(); ++s)
        if (mPlacements[o][s].place == Place::Code &&
            !(o == entryDefinition.object && s == entrySection))
          placeCode(o, s);
    if (entryDefinition.symbol->value != 0) {
      uint32_t target =
          mPlacements[entryDefinition.object][entrySection].offset + entryDefinition.symbol->value;
      mCode[0] = 0xE9;
      writeLE32(&mCode[1], target - 5);
    }
  }

  void placeCode(size_t object, size_t section) {
    const ElfSection &s = mObjects[object].sections[section];
    padTo(mCode, s.alignment, 0xCC);
    mPlacements[object][section].offset = mCode.size();
    if (s.type == SHT_NOBITS)
      appendZeros(mCode, s.size, mObjects[object].path + ": " + s.name);
    else
      mCode.insert(mCode.end(), s.bytes.begin(), s.bytes.end());
  }

  // String constants first, each at a 4-byte boundary, then initialised data,
  // then zeroed data and common symbols.
  void layOutData() {
    for (size_t o = 0; o < mObjects.size(); ++o)
      for (size_t s = 0; s < mObjects[o].sections.size(); ++s)
        if (mPlacements[o][s].place == Place::StringConstants)
          placeStringConstants(o, s);
    for (bool zeroed : {false, true})
      for (size_t o = 0; o < mObjects.size(); ++o)
        for (size_t s = 0; s < mObjects[o].sections.size(); ++s) {
          const ElfSection &section = mObjects[o].sections[s];
          if (mPlacements[o][s].place != Place::Data || (section.type == SHT_NOBITS) != zeroed)
            continue;
          padTo(mData, section.alignment, 0);
          mPlacements[o][s].offset = mData.size();
          if (zeroed)
            appendZeros(mData, section.size, mObjects[o].path + ": " + section.name);
          else
            mData.insert(mData.end(), section.bytes.begin(), section.bytes.end());
        }
    for (size_t o = 0; o < mObjects.size(); ++o)
      for (size_t i = 0; i < mObjects[o].symbols.size(); ++i) {
        const ElfSymbol &symbol = mObjects[o].symbols[i];
        if (symbol.sectionIndex != SHN_COMMON)
          continue;
        auto global = mGlobals.find(symbol.name);
        if (global != mGlobals.end() && global->second.symbol != &symbol)
          continue;
        padTo(mData, std::max<uint32_t>(symbol.value, 1), 0);
        mCommonOffsets[{o, i}] = mData.size();
        appendZeros(mData, symbol.size, mObjects[o].path + ": common symbol '" + symbol.name + "'");
      }
  }

  // Checks each constant's storage fields and buffer, so that every
  // reference the loader relocates lands on a well-formed constant.
  void placeStringConstants(size_t object, size_t section) {
    const ElfSection &s = mObjects[object].sections[section];
    const std::string where = mObjects[object].path + ": string constant in " + s.name;
    padTo(mData, IMAGE_STRING_ALIGNMENT, 0);
    const uint32_t base = mData.size();
    mPlacements[object][section].offset = base;
    mData.insert(mData.end(), s.bytes.begin(), s.bytes.end());
    const uint8_t *bytes = s.bytes.data();
    for (uint32_t at = 0; at < s.bytes.size(); at = alignUp(at, IMAGE_STRING_ALIGNMENT)) {
      // The compiler may align constants beyond 4 bytes; a zero word cannot
      // begin a constant (its count is 1), so it is padding.
      if (at + 4 <= s.bytes.size() && readLE32(bytes + at) == 0) {
        at += 4;
        continue;
      }
      if (at + kStringStorageSize > s.bytes.size())
        throw LinkError(where + " is truncated");
      const uint8_t *storage = bytes + at;
      uint32_t count = readLE32(storage + IMAGE_STRING_REFERENCE_COUNT_OFFSET);
      uint32_t buffer = readLE32(storage + IMAGE_STRING_BUFFER_OFFSET);
      uint32_t bufferSize = readLE32(storage + IMAGE_STRING_BUFFER_SIZE_OFFSET);
      uint32_t length = readLE32(storage + IMAGE_STRING_LENGTH_OFFSET);
      uint32_t encoding = readLE32(storage + IMAGE_STRING_ENCODING_OFFSET);
      if (count != 1 || buffer != 0 || length == 0 || bufferSize != uint64_t(length) + 2 ||
          (encoding != IMAGE_ENCODING_ASCII && encoding != IMAGE_ENCODING_UTF8))
        throw LinkError(where + " at " + hex(at) + " is not a ready-made string storage");
      const uint32_t text = at + kStringStorageSize;
      if (uint64_t(text) + bufferSize > s.bytes.size())
        throw LinkError(where + " is truncated");
      if (bytes[text] != std::min<uint32_t>(length, 255) || bytes[text + length + 1] != 0)
        throw LinkError(where + " at " + hex(at) + " has a wrong length byte or terminator");
      if (encoding == IMAGE_ENCODING_ASCII)
        for (uint32_t i = 1; i <= length; ++i)
          if (bytes[text + i] & 0x80)
            throw LinkError(where + " at " + hex(at) +
                            " is tagged ASCII but holds non-ASCII bytes");
      mStringConstants.insert(base + at);
      at = text + bufferSize;
    }
  }

  Target resolve(size_t object, uint32_t symbolIndex) const {
    const ElfObject &o = mObjects[object];
    const ElfSymbol *symbol = &o.symbols[symbolIndex];
    size_t definingObject = object;
    size_t definingIndex = symbolIndex;
    if (symbol->binding != STB_LOCAL && !symbol->name.empty()) {
      auto global = mGlobals.find(symbol->name);
      if (global != mGlobals.end()) {
        definingObject = global->second.object;
        symbol = global->second.symbol;
        definingIndex = symbol - mObjects[definingObject].symbols.data();
      }
    }
    if (symbol->sectionIndex == SHN_UNDEF) {
      auto library = mLibraryOf.find(symbol->name);
      if (library != mLibraryOf.end())
        return {Target::LibraryImport, 0, symbol->name, library->second};
      return {Target::RuntimeImport, 0, symbol->name, {}};
    }
    if (symbol->sectionIndex == SHN_ABS)
      return {Target::Absolute, symbol->value, symbol->name, {}};
    if (symbol->sectionIndex == SHN_COMMON)
      return {Target::Data, mCommonOffsets.at({definingObject, definingIndex}), symbol->name, {}};
    const Placement &placement = placementOf(definingObject, symbol->sectionIndex);
    const std::string name = symbolName(mObjects[definingObject], *symbol);
    switch (placement.place) {
    case Place::Code:
      return {Target::Code, placement.offset + symbol->value, name, {}};
    case Place::Data:
      return {Target::Data, placement.offset + symbol->value, name, {}};
    case Place::StringConstants:
      return {Target::StringConstant, placement.offset + symbol->value, name, {}};
    default:
      throw LinkError(mObjects[definingObject].path + ": code refers to '" + name +
                      "', which lies in a section the image does not carry");
    }
  }

  void relocate(size_t object) {
    const ElfObject &o = mObjects[object];
    for (const auto &[sectionIndex, relocations] : o.relocations) {
      const Place place = mPlacements[object][sectionIndex].place;
      if (place == Place::Ignored || place == Place::Notes || relocations.empty())
        continue;
      const std::string &sectionName = o.sections[sectionIndex].name;
      if (place != Place::Code) {
        const ElfRelocation &first = relocations.front();
        throw LinkError(
            o.path + ": " + sectionName + " stores an address (of '" +
            symbolName(o, o.symbols[first.symbolIndex]) + "', at offset " + hex(first.offset) +
            "); an image's data cannot hold addresses, so build such tables at run time");
      }
      for (const ElfRelocation &relocation : relocations)
        relocateCodeSite(object, mPlacements[object][sectionIndex].offset + relocation.offset,
                         relocation, sectionName);
    }
  }

  void relocateCodeSite(size_t object, uint32_t site, const ElfRelocation &relocation,
                        const std::string &sectionName) {
    const std::string where = mObjects[object].path + ": " + sectionName + " at " + hex(site);
    const int32_t addend = int32_t(readLE32(&mCode[site]));
    const Target target = resolve(object, relocation.symbolIndex);
    auto store = [&](uint32_t value) { writeLE32(&mCode[site], value); };
    switch (relocation.type) {
    case R_386_32:
      switch (target.kind) {
      case Target::Code:
        store(target.value + addend);
        mFixups.addAddress(kFixupCodeAddress, site);
        return;
      case Target::Data:
        store(target.value + addend);
        mFixups.addAddress(kFixupDataAddress, site);
        return;
      case Target::StringConstant:
        if (!mStringConstants.count(target.value + addend))
          throw LinkError(where + ": refers inside string constant storage (unknown addend " +
                          std::to_string(addend) + ")");
        store(target.value + addend);
        mFixups.addAddress(kFixupStringConstant, site);
        return;
      case Target::Absolute:
        store(target.value + addend);
        return;
      case Target::RuntimeImport:
        if (addend != 0)
          throw LinkError(where + ": unknown addend " + std::to_string(addend) +
                          " on the address of '" + target.name + "'");
        mFixups.addRuntimeImport(target.name, false, site);
        return;
      case Target::LibraryImport:
        throw LinkError(where + ": takes the address of '" + target.name + "' from " +
                        target.library + "; shared-library functions can only be called");
      }
      break;
    case R_386_PC32:
    case R_386_PLT32:
      switch (target.kind) {
      case Target::Code:
        store(target.value + addend - site);
        return;
      case Target::RuntimeImport:
      case Target::LibraryImport:
        // The loader writes address - (site + 4): only a call operand ending
        // 4 bytes after the site can be imported.
        if (addend != -4)
          throw LinkError(where + ": unknown addend " + std::to_string(addend) + " on a call of '" +
                          target.name + "'");
        if (target.kind == Target::RuntimeImport)
          mFixups.addRuntimeImport(target.name, true, site);
        else
          mFixups.addLibraryImport(target.name, target.library, site);
        return;
      default:
        throw LinkError(where + ": a PC-relative reference to '" + target.name +
                        "', which is not code, cannot be carried");
      }
    default:
      break;
    }
    throw LinkError(where + ": unknown relocation type " + std::to_string(relocation.type) +
                    " (against '" + target.name + "')");
  }

  std::vector<HandlerSlotNote> handlerNotes() const {
    std::vector<HandlerSlotNote> notes;
    for (size_t o = 0; o < mObjects.size(); ++o) {
      const ElfObject &object = mObjects[o];
      for (size_t s = 0; s < object.sections.size(); ++s) {
        if (object.sections[s].name != kHandlerNotesSection)
          continue;
        const std::vector<uint8_t> &bytes = object.sections[s].bytes;
        auto relocations = object.relocations.find(s);
        if (relocations == object.relocations.end())
          continue;
        for (const ElfRelocation &relocation : relocations->second) {
          Target target = resolve(o, relocation.symbolIndex);
          if (relocation.type != R_386_32 || target.kind != Target::Code ||
              uint64_t(relocation.offset) + 4 > bytes.size())
            throw LinkError(object.path + ": malformed handler-record note");
          const uint8_t *text = bytes.data() + relocation.offset + 4;
          const void *end = std::memchr(text, 0, bytes.size() - relocation.offset - 4);
          if (!end)
            throw LinkError(object.path + ": unterminated handler-record note");
          notes.push_back(
              {target.value + readLE32(bytes.data() + relocation.offset),
               std::string(reinterpret_cast<const char *>(text), static_cast<const char *>(end))});
        }
      }
    }
    return notes;
  }

  std::vector<CodeFunction> codeFunctions() const {
    std::vector<CodeFunction> functions;
    for (size_t o = 0; o < mObjects.size(); ++o)
      for (const ElfSymbol &symbol : mObjects[o].symbols) {
        if (symbol.type != STT_FUNC || symbol.sectionIndex == SHN_UNDEF ||
            symbol.sectionIndex >= SHN_LORESERVE)
          continue;
        const Placement &placement = placementOf(o, symbol.sectionIndex);
        if (placement.place != Place::Code)
          continue;
        if (symbol.binding != STB_LOCAL) {
          auto global = mGlobals.find(symbol.name);
          if (global == mGlobals.end() || global->second.symbol != &symbol)
            continue;
        }
        functions.push_back({symbol.name, placement.offset + symbol.value, symbol.size});
      }
    std::sort(functions.begin(), functions.end(),
              [](auto &a, auto &b) { return a.start < b.start; });
    return functions;
  }

  // Count, {code offset, name offset} entries in ascending code offset, then
  // the zero-terminated names.
  static std::vector<uint8_t> symbolsSection(const std::vector<CodeFunction> &functions) {
    std::vector<uint8_t> out, names;
    appendLE32(out, functions.size());
    for (const CodeFunction &function : functions) {
      appendLE32(out, function.start);
      appendLE32(out, names.size());
      appendBytes(names, function.name);
      names.push_back(0);
    }
    out.insert(out.end(), names.begin(), names.end());
    return out;
  }
};

} // namespace

LinkedImage linkObjects(const std::vector<ElfObject> &objects, const std::string &entryName) {
  return ObjectLinker(objects, entryName).link();
}

} // namespace imagelink
