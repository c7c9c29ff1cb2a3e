#include "runtime/image/LoaderX86.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "foundation/ShutdownTasks.h"
#include "foundation/String.h"
#include "runtime/exceptions/Unwinder.h"
#include "runtime/image/ExecutableMemoryPosix.h"
#include "runtime/image/ImageFile.h"
#include "runtime/image/ImageResources.h"
#include "runtime/image/ImageSymbols.h"
#include "runtime/image/ImportTable.h"

namespace {

// What stays of a loaded image for the rest of the process: nothing is freed,
// since the code, its data and the resource manager point into it.
struct LoadedImage {
  ImageFileSections *file = nullptr;
  uint8_t *code = nullptr;
  uint32_t codeSize = 0;
  ImageSymbols symbols;
};
LoadedImage sImage;

bool Refuse(const char *path, const std::string &problem) {
  std::fprintf(stderr, "The application image of %s cannot be loaded: %s.\n", path,
               problem.c_str());
  return false;
}

} // namespace

bool LoadImage(const char *path) {
  auto file = std::make_unique<ImageFileSections>();
  std::string problem;
  ImageSource source = ReadImageFile(path, *file, problem);
  if (source == ImageSource::kDamaged || source == ImageSource::kUnreadable)
    return Refuse(path, problem);
  if (file->code.empty())
    return Refuse(path,
                  source == ImageSource::kLooseFiles
                      ? "the file carries no image and the current directory holds no code.dat"
                      : "the image holds no code");
  const uint32_t codeSize = uint32_t(file->code.size());
  auto *code = static_cast<uint8_t *>(AllocateExecutableMemory(codeSize));
  if (!code)
    return Refuse(path, "no executable memory for its code");
  std::memcpy(code, file->code.data(), codeSize);

  sImage.file = file.get();
  sImage.code = code;
  sImage.codeSize = codeSize;
  // The unwinder looks for the image's handler records only inside its code.
  SetImageCodeRange(code, codeSize);
  LoadedSections sections{code, codeSize, file->data.data(), uint32_t(file->data.size())};
  const bool resourcesRegistered =
      sImage.symbols.Load(file->symbols.data(), uint32_t(file->symbols.size()), codeSize,
                          problem) &&
      ApplyImportTable(file->imports.data(), uint32_t(file->imports.size()), sections, problem) &&
      LoadResourceTable(file->resources.data(), uint32_t(file->resources.size()),
                        file->resourcesFilePosition, problem);
  if (!resourcesRegistered ||
      !ApplyOptionsTable(file->options.data(), uint32_t(file->options.size()), problem)) {
    sImage = LoadedImage{};
    SetImageCodeRange(nullptr, 0);
    ReleaseExecutableMemory(code, codeSize);
    // Registered resources point into the resource section, so it stays.
    if (resourcesRegistered)
      static_cast<void>(file.release());
    return Refuse(path, problem);
  }
  static_cast<void>(file.release()); // kept for the process through sImage.file
  return true;
}

int LoadProgram(const char *path) {
  if (!LoadImage(path))
    return kImageLoadFailedStatus;
  reinterpret_cast<void (*)()>(sImage.code)();
  return runShutdownAll();
}

void *GetX86CodeSectionBaseAddress() { return sImage.code; }

void *GetX86DataSectionBaseAddress() { return sImage.file ? sImage.file->data.data() : nullptr; }

bool ResolveX86LoaderSymbol(const void *address, string *name, int32_t *distance) {
  auto byte = static_cast<const uint8_t *>(address);
  if (!sImage.code || byte < sImage.code || byte >= sImage.code + sImage.codeSize ||
      sImage.symbols.IsEmpty())
    return false;
  uint32_t offset = uint32_t(byte - sImage.code);
  uint32_t into = sImage.codeSize;
  const char *found = sImage.symbols.Find(offset, into);
  if (name)
    *name = found ? string(found) : string();
  if (distance)
    *distance = int32_t(into);
  return true;
}
