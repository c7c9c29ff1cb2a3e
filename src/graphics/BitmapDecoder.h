// Windows BMP files held in memory, decoded to packed RGB rows (top row
// first). Every read is checked against the length; a file that is cut
// short, compressed, of a depth other than 4, 8, 24 or 32 bits, sized
// outside 1 to 32767 pixels a side or over 64 Mi pixels in all is refused.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

struct DecodedBitmap {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> rgb; // width * height * 3 bytes, red, green, blue
};

// False when the data cannot be decoded. A header size other than 12 or 40
// shows the alert first.
bool DecodeBitmap(const uint8_t *data, size_t length, DecodedBitmap *out);
