// Reading an application image: the sections appended behind the executable
// and found by the trailer at the file's end, or, during development, loose
// section files in the current directory.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "ImageFormat.h"

// One member per section, named as IMAGE_SECTIONS names them.
struct ImageFileSections {
  std::vector<uint8_t> code, data, imports, symbols, resources, options;
  // Where the resource bytes lie in the file they were read from.
  uint32_t resourcesFilePosition = 0;
};

enum class ImageSource {
  kTrailer,    // the file ends in the trailer
  kLooseFiles, // it does not; the sections came from the current directory
  kDamaged,    // it ends in the trailer but the sections do not fit the file
  kUnreadable, // the file cannot be opened or read
};

// Reads the image appended to the file at path (ImageFormat.h gives the
// layout); when the file does not end in the trailer, reads the loose files instead (a missing one
// is an empty section). Every size is checked against the file, and the sections must end exactly
// where the back distance says. On kDamaged and kUnreadable, problem says what was wrong.
ImageSource ReadImageFile(const char *path, ImageFileSections &sections, std::string &problem);

// The loose files, read from the current directory.
void ReadLooseImageFiles(ImageFileSections &sections);
