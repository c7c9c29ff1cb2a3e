// Reads XPM picture files (the C-source form: quoted strings holding the
// size, the colour table and the pixel rows) into RGB pixels. The system's
// picture loaders no longer read XPM, so the folder items read it here.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct XPMImage {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> rgb; // width * height * 3 bytes, rows top-down
};

// False for anything that is not a whole, sane XPM image: sizes beyond the
// limits, an unknown colour, a key or row that does not match the header.
bool DecodeXPM(const std::string &text, XPMImage &image);
