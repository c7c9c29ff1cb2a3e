#pragma once
// Writes an image's six sections behind a copy of the runtime executable with
// the trailer, or as the loose files the loader reads from a folder.
#include <cstdint>
#include <string>
#include <vector>

#include "ImageFormat.h"

namespace imagelink {

// One member per section, named as IMAGE_SECTIONS names them.
struct ImageSections {
  std::vector<uint8_t> code, data, imports, symbols, resources, options;
};

// The bytes appended behind the executable: each section with its size, the
// back distance and the trailer text.
std::vector<uint8_t> trailerForm(const ImageSections &sections);

// Copies the runtime to output (made executable) and appends the image.
void writeAppendedImage(const ImageSections &sections, const std::string &runtimePath,
                        const std::string &outputPath);

// One file per section, named as IMAGE_SECTIONS names it.
void writeLooseImage(const ImageSections &sections, const std::string &folder);

} // namespace imagelink
