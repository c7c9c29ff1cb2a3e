#include "runtime/image/ImportTable.h"

#include <dlfcn.h>

#include <cstring>
#include <utility>
#include <vector>

#include "foundation/AssertionAlert.h"
#include "foundation/ByteStrings.h"
#include "foundation/String.h"
#include "runtime/exceptions/Unwinder.h"
#include "runtime/exports/ExportTable.h"
#include "runtime/image/ImageByteReader.h"
#include "runtime/image/UnboundImportTraps.h"

static_assert(sizeof(void *) == 4, "image sites hold 32-bit addresses");

namespace {

// Shared libraries opened for imports, newest first, kept for the process. A
// library that failed to open stays listed without a handle so that later
// imports from it do not try again.
struct SharedLibrary {
  std::string name;
  void *mLibraryHandle;
};
std::vector<SharedLibrary> sSharedLibraries;

SharedLibrary &OpenSharedLibrary(const char *name) {
  for (SharedLibrary &library : sSharedLibraries)
    if (ustrcmpi(library.name.c_str(), name) == 0)
      return library;
  void *handle = dlopen(name, RTLD_LAZY);
  if (!handle && !std::strstr(name, ".so"))
    handle = dlopen((std::string(name) + ".so").c_str(), RTLD_LAZY);
  sSharedLibraries.insert(sSharedLibraries.begin(), SharedLibrary{name, handle});
  if (!handle)
    ShowAlert({__FILE__, __LINE__, "lib->mLibraryHandle"},
              (std::string("Missing shared library ") + name).c_str());
  return sSharedLibraries.front();
}

class FixupWalker {
public:
  FixupWalker(const LoadedSections &sections, std::string &problem)
      : mSections(sections), mProblem(problem), mPatched(sections.codeSize, false) {}

  bool Fail(const std::string &what) {
    mProblem = what;
    return false;
  }

  // Claims the 4 bytes at the site: they must lie inside the code and no
  // earlier fix-up may have touched them. This also bounds every chain and
  // catches chains that loop.
  bool ClaimSite(int32_t site) {
    if (site < 0 || uint32_t(site) > mSections.codeSize || mSections.codeSize - uint32_t(site) < 4)
      return Fail("fix-up site " + std::to_string(site) + " lies outside the code");
    for (int i = 0; i < 4; ++i)
      if (mPatched[size_t(site + i)])
        return Fail("fix-up site " + std::to_string(site) + " is patched twice");
    for (int i = 0; i < 4; ++i)
      mPatched[size_t(site + i)] = true;
    return true;
  }

  uint8_t *At(int32_t site) const { return mSections.code + site; }

  int32_t Load(int32_t site) const {
    int32_t value;
    std::memcpy(&value, At(site), 4);
    return value;
  }

  void Store(int32_t site, uint32_t value) const { std::memcpy(At(site), &value, 4); }

  // Walks a chain of sites, storing the target's address: absolute, or as
  // the displacement of a call whose operand ends 4 bytes after the site.
  bool BindChain(int32_t firstSite, const void *target, bool relative) {
    for (int32_t site = firstSite; site != 0;) {
      if (!ClaimSite(site))
        return false;
      int32_t next = Load(site);
      uint32_t address = reinterpret_cast<uint32_t>(target);
      if (relative)
        address -= reinterpret_cast<uint32_t>(At(site)) + 4;
      Store(site, address);
      site = next;
    }
    return true;
  }

  // Adds a section's base address to the offset held at the site.
  bool AddBase(int32_t site, const uint8_t *base) {
    if (!ClaimSite(site))
      return false;
    Store(site, uint32_t(Load(site)) + reinterpret_cast<uint32_t>(base));
    return true;
  }

  // Turns the data offset at the site into the address of the string
  // constant there, and points a constant whose buffer field is 0 at the
  // buffer that follows its fields.
  bool BindStringConstant(int32_t site) {
    if (!ClaimSite(site))
      return false;
    int32_t offset = Load(site);
    uint32_t dataSize = mSections.dataSize;
    const std::string constant = "string constant at data offset " + std::to_string(offset);
    if (offset < 0 || uint32_t(offset) > dataSize ||
        dataSize - uint32_t(offset) < sizeof(stringStorage))
      return Fail(constant + " lies outside the data");
    // The data section starts 4-byte aligned; the fields are read in place.
    if (offset % IMAGE_STRING_ALIGNMENT != 0)
      return Fail(constant + " does not lie on a 4-byte boundary");
    auto *storage = reinterpret_cast<stringStorage *>(mSections.data + offset);
    // The constant lives as long as the process: releases must never bring
    // its count to 0, which would free memory inside the data section.
    if (storage->mRefCount <= 0)
      return Fail(constant + " has a reference count of " + std::to_string(storage->mRefCount));
    if (!storage->mBuffer) {
      uint32_t room = dataSize - uint32_t(offset) - sizeof(stringStorage);
      if (storage->mBufferSize < 0 || uint32_t(storage->mBufferSize) > room)
        return Fail(constant + " has no room for its buffer");
      // The buffer holds a length byte, the text and a 0 byte; string
      // operations trust the length, so it must not reach past the buffer,
      // and C-string reads stop at the 0 byte.
      if (storage->mLength < 0 || storage->mLength > storage->mBufferSize - 2)
        return Fail(constant + " is longer than its buffer");
      auto *buffer = reinterpret_cast<char *>(storage + 1);
      if (buffer[1 + storage->mLength] != 0)
        return Fail(constant + " lacks the zero byte after its text");
      storage->mBuffer = buffer;
    }
    Store(site, reinterpret_cast<uint32_t>(storage));
    return true;
  }

  bool BindOrTrap(int32_t firstSite, const void *target, const char *name, bool relative) {
    if (!target)
      target = MakeUnboundImportTrap(name);
    return BindChain(firstSite, target, relative);
  }

  // The flags of the bytes patched so far, handed over once the walk ends.
  std::vector<bool> TakePatched() { return std::move(mPatched); }

private:
  const LoadedSections &mSections;
  std::string &mProblem;
  std::vector<bool> mPatched; // one flag per code byte
};

// A length byte, that many bytes and a terminating 0 byte.
bool ReadName(ImageByteReader &reader, std::string &name) {
  const uint8_t *bytes;
  uint8_t length, terminator;
  if (!reader.ReadCountedBytes(bytes, length) || !reader.ReadByte(terminator))
    return false;
  name.assign(reinterpret_cast<const char *>(bytes), length);
  return true;
}

} // namespace

bool ApplyImportTable(const uint8_t *stream, uint32_t size, const LoadedSections &sections,
                      std::string &problem) {
  FixupWalker walker(sections, problem);
  ImageByteReader reader(stream, size);
  while (!reader.AtEnd()) {
    uint32_t recordStart = reader.Position();
    auto cutShort = [&] {
      return walker.Fail("fix-up record at " + std::to_string(recordStart) + " is cut short");
    };
    uint8_t tag;
    reader.ReadByte(tag);
    switch (tag) {
    case kImportRuntimeFunction: {
      uint8_t mode;
      int32_t firstSite;
      std::string name;
      if (!reader.ReadByte(mode) || !reader.ReadInt32(firstSite) || !ReadName(reader, name))
        return cutShort();
      const RelocEntry *entry = FindFirstRelocEntry(name.c_str());
      if (!entry)
        ShowAlert({__FILE__, __LINE__, "foundFunction"},
                  ("Function '" + name + "' was not exported").c_str());
      if (!walker.BindOrTrap(firstSite, entry ? entry->address : nullptr, name.c_str(),
                             mode == kImportRelativeSites))
        return false;
      break;
    }
    case kFixupDataAddress:
    case kFixupCodeAddress:
    case kFixupStringConstant: {
      int32_t site;
      if (!reader.ReadInt32(site))
        return cutShort();
      bool applied = tag == kFixupStringConstant ? walker.BindStringConstant(site)
                     : tag == kFixupDataAddress  ? walker.AddBase(site, sections.data)
                                                 : walker.AddBase(site, sections.code);
      if (!applied)
        return false;
      break;
    }
    case kImportLibraryFunction: {
      int32_t firstSite;
      std::string symbol, libraryName;
      if (!reader.ReadInt32(firstSite) || !ReadName(reader, symbol) ||
          !ReadName(reader, libraryName))
        return cutShort();
      SharedLibrary &library = OpenSharedLibrary(libraryName.c_str());
      void *function = nullptr;
      if (library.mLibraryHandle) {
        function = dlsym(library.mLibraryHandle, symbol.c_str());
        if (!function)
          ShowAlert({__FILE__, __LINE__, "functionEntry"},
                    ("Could not resolve function '" + symbol + "' in " + libraryName).c_str());
      }
      if (!walker.BindOrTrap(firstSite, function, symbol.c_str(), true))
        return false;
      break;
    }
    default:
      break; // tag 0 and unknown tags are a single byte
    }
  }
  SetImagePatchedBytes(walker.TakePatched());
  return true;
}
