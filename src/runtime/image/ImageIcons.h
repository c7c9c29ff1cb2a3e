// The application's window icons, carried in the image's options.
#pragma once
#include <cstdint>
#include <vector>

struct ImageIcon {
  uint8_t width;
  uint8_t height;
  const uint8_t *pixels; // rows top to bottom, each pixel red, green, blue, alpha
};

// Makes the icons, in the order given, the default icon list of all windows.
// An empty list leaves the default as it is.
void InstallDefaultIcons(const std::vector<ImageIcon> &icons);
