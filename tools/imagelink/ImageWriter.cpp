#include "ImageWriter.h"

#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "LinkError.h"
#include "LittleEndian.h"
#include "WholeFile.h"

namespace imagelink {

namespace {

void writeFile(const std::string &path, const std::vector<uint8_t> &head,
               const std::vector<uint8_t> &tail) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char *>(head.data()), head.size());
  out.write(reinterpret_cast<const char *>(tail.data()), tail.size());
  out.close();
  if (!out)
    throw LinkError(path + ": cannot be written");
}

} // namespace

std::vector<uint8_t> trailerForm(const ImageSections &s) {
  std::vector<uint8_t> out;
#define APPEND_SECTION(Name, member, description, looseFile)                                       \
  appendLE32(out, s.member.size());                                                                \
  out.insert(out.end(), s.member.begin(), s.member.end());
  IMAGE_SECTIONS(APPEND_SECTION)
#undef APPEND_SECTION
  appendLE32(out, out.size()); // back distance: from the first size to this field
  appendBytes(out, IMAGE_TRAILER_TEXT);
  return out;
}

void writeAppendedImage(const ImageSections &sections, const std::string &runtimePath,
                        const std::string &outputPath) {
  const std::vector<uint8_t> runtime = readWholeFile(runtimePath, "cannot read the runtime");
  const std::filesystem::path output(outputPath);
  if (output.has_parent_path())
    std::filesystem::create_directories(output.parent_path());
  // Written beside and renamed into place: a build never finds half an image.
  const std::string partial = outputPath + ".partial";
  writeFile(partial, runtime, trailerForm(sections));
  ::chmod(partial.c_str(), 0755);
  std::filesystem::rename(partial, output);
}

void writeLooseImage(const ImageSections &s, const std::string &folder) {
  std::filesystem::create_directories(folder);
#define WRITE_LOOSE_FILE(Name, member, description, looseFile)                                     \
  writeFile((std::filesystem::path(folder) / looseFile).string(), s.member, {});
  IMAGE_SECTIONS(WRITE_LOOSE_FILE)
#undef WRITE_LOOSE_FILE
}

} // namespace imagelink
