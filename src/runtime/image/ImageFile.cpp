#include "runtime/image/ImageFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

struct FileCloser {
  void operator()(FILE *file) const { std::fclose(file); }
};
using File = std::unique_ptr<FILE, FileCloser>;

bool ReadExactly(FILE *file, void *bytes, size_t count) {
  return count == 0 || std::fread(bytes, 1, count, file) == count;
}

std::vector<uint8_t> ReadWholeFile(const char *name) {
  std::vector<uint8_t> bytes;
  File file(std::fopen(name, "rbe"));
  if (!file)
    return bytes;
  uint8_t buffer[65536];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
    bytes.insert(bytes.end(), buffer, buffer + got);
  return bytes;
}

// Reads the sections between item 1 and the back distance, never past the
// region's end.
class SectionReader {
public:
  SectionReader(FILE *file, uint64_t start, uint64_t end)
      : mFile(file), mPosition(start), mEnd(end) {}

  bool Read(const char *what, std::vector<uint8_t> &section, std::string &problem) {
    uint32_t size;
    if (mEnd - mPosition < 4 || !ReadExactly(mFile, &size, 4)) {
      problem = std::string("the image ends before the size of its ") + what;
      return false;
    }
    mPosition += 4;
    if (size > mEnd - mPosition) {
      problem = std::string("the ") + what + " section's size (" + std::to_string(size) +
                " bytes) runs past the image";
      return false;
    }
    section.resize(size);
    if (!ReadExactly(mFile, section.data(), size)) {
      problem = std::string("the ") + what + " section cannot be read";
      return false;
    }
    mPosition += size;
    return true;
  }

  uint64_t Position() const { return mPosition; }

private:
  FILE *mFile;
  uint64_t mPosition;
  uint64_t mEnd;
};

} // namespace

void ReadLooseImageFiles(ImageFileSections &sections) {
#define READ_LOOSE_FILE(Name, member, description, looseFile)                                      \
  sections.member = ReadWholeFile(looseFile);
  IMAGE_SECTIONS(READ_LOOSE_FILE)
#undef READ_LOOSE_FILE
  sections.resourcesFilePosition = 0;
}

ImageSource ReadImageFile(const char *path, ImageFileSections &sections, std::string &problem) {
  File file(std::fopen(path, "rbe"));
  if (!file) {
    problem = std::string("cannot open ") + path + ": " + std::strerror(errno);
    return ImageSource::kUnreadable;
  }
  constexpr uint64_t kTailLength = IMAGE_BACK_DISTANCE_SIZE + IMAGE_TRAILER_LENGTH;
  char tail[kTailLength];
  uint32_t backDistance = 0;
  if (fseeko(file.get(), 0, SEEK_END) != 0) {
    problem = std::string("cannot read ") + path;
    return ImageSource::kUnreadable;
  }
  auto fileSize = uint64_t(ftello(file.get()));
  bool hasTrailer =
      fileSize >= kTailLength && fseeko(file.get(), off_t(fileSize - kTailLength), SEEK_SET) == 0 &&
      ReadExactly(file.get(), tail, kTailLength) &&
      std::memcmp(tail + IMAGE_BACK_DISTANCE_SIZE, IMAGE_TRAILER_TEXT, IMAGE_TRAILER_LENGTH) == 0;
  if (!hasTrailer) {
    file.reset();
    ReadLooseImageFiles(sections);
    return ImageSource::kLooseFiles;
  }
  std::memcpy(&backDistance, tail, IMAGE_BACK_DISTANCE_SIZE);
  uint64_t end = fileSize - kTailLength;
  if (backDistance > end) {
    problem = "the image's back distance (" + std::to_string(backDistance) +
              " bytes) reaches before the start of the file";
    return ImageSource::kDamaged;
  }
  uint64_t start = end - backDistance;
  if (fseeko(file.get(), off_t(start), SEEK_SET) != 0) {
    problem = std::string("cannot read ") + path;
    return ImageSource::kUnreadable;
  }
  SectionReader reader(file.get(), start, end);
  // The resource manager keeps where the resources lie: behind their size.
#define READ_SECTION(Name, member, description, looseFile)                                         \
  if (kImageSection##Name == kImageSectionResources)                                               \
    sections.resourcesFilePosition = uint32_t(reader.Position() + 4);                              \
  if (!reader.Read(description, sections.member, problem))                                         \
    return ImageSource::kDamaged;
  IMAGE_SECTIONS(READ_SECTION)
#undef READ_SECTION
  if (reader.Position() != end) {
    problem = "the image's sections end " + std::to_string(end - reader.Position()) +
              " bytes before its back distance";
    return ImageSource::kDamaged;
  }
  return ImageSource::kTrailer;
}
