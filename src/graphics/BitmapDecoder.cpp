#include "graphics/BitmapDecoder.h"

#include <cstring>
#include <exception>

#include "foundation/AssertionAlert.h"

namespace {

constexpr int32_t kMaxSide = 32767;
// The most pixels a file may hold: 192 MB once decoded, which a 32-bit
// process can still find room for.
constexpr uint64_t kMaxPixels = uint64_t(1) << 26;
constexpr int kPaletteSize = 256;

struct Reader {
  const uint8_t *data;
  size_t length;

  bool Has(uint64_t offset, uint64_t size) const { return offset + size <= length; }
  uint32_t U16(size_t at) const { return data[at] | (data[at + 1] << 8); }
  uint32_t U32(size_t at) const {
    return data[at] | (data[at + 1] << 8) | (data[at + 2] << 16) | (uint32_t(data[at + 3]) << 24);
  }
};

struct Colour {
  uint8_t red, green, blue;
};

} // namespace

bool DecodeBitmap(const uint8_t *data, size_t length, DecodedBitmap *out) {
  Reader in{data, length};
  if (!data || !in.Has(0, 18))
    return false;
  uint32_t headerSize = in.U32(14);
  int32_t width, height;
  uint32_t depth;
  if (headerSize == 12) {
    if (!in.Has(0, 26))
      return false;
    width = static_cast<int16_t>(in.U16(18));
    height = static_cast<int16_t>(in.U16(20));
    depth = in.U16(24);
  } else if (headerSize == 40) {
    if (!in.Has(0, 54))
      return false;
    width = static_cast<int32_t>(in.U32(18));
    height = static_cast<int32_t>(in.U32(22));
    depth = in.U16(28);
    if (in.U32(30) != 0)
      return false; // compressed (run-length or bit fields)
  } else {
    DisplayRuntimeErrorAlert(kAssertionCode, kAssertionNumber, "../Common/Linux/DrawableLinux",
                             512, "0", nullptr);
    return false;
  }
  // A negative height stores the rows top-down.
  bool topDown = height < 0;
  if (topDown)
    height = height == INT32_MIN ? 0 : -height;
  if (width < 1 || width > kMaxSide || height < 1 || height > kMaxSide ||
      uint64_t(width) * uint64_t(height) > kMaxPixels)
    return false;
  if (depth != 4 && depth != 8 && depth != 24 && depth != 32)
    return false;

  uint64_t pixelOffset = in.U32(10);
  uint64_t rowBytes;
  switch (depth) {
  case 4:
    rowBytes = (uint64_t(width) + 1) / 2;
    break;
  case 8:
    rowBytes = width;
    break;
  case 24:
    rowBytes = uint64_t(width) * 3;
    break;
  default:
    rowBytes = uint64_t(width) * 4;
    break;
  }
  rowBytes = (rowBytes + 3) & ~uint64_t(3);
  if (!in.Has(pixelOffset, rowBytes * height))
    return false;

  // The palette runs from the end of the header to the pixel data; at most
  // 256 entries are kept, and indexes past the ones present read black.
  Colour palette[kPaletteSize];
  std::memset(palette, 0, sizeof palette);
  if (depth < 24) {
    uint64_t start = 14 + uint64_t(headerSize);
    uint64_t entrySize = headerSize == 40 ? 4 : 3;
    uint64_t end = pixelOffset < length ? pixelOffset : length;
    uint64_t count = end > start ? (end - start) / entrySize : 0;
    if (count > kPaletteSize)
      count = kPaletteSize;
    for (uint64_t i = 0; i < count; ++i) {
      const uint8_t *e = data + start + i * entrySize;
      palette[i] = Colour{e[2], e[1], e[0]};
    }
  }

  // No exception may leave for the C frames of the callers: memory that
  // cannot be had refuses the file like any other fault.
  try {
    out->rgb.assign(size_t(width) * size_t(height) * 3, 0);
  } catch (const std::exception &) {
    out->rgb = std::vector<uint8_t>();
    return false;
  }
  out->width = width;
  out->height = height;
  for (int32_t row = 0; row < height; ++row) {
    const uint8_t *src = data + pixelOffset + rowBytes * row;
    int32_t targetRow = topDown ? row : height - 1 - row;
    uint8_t *dst = out->rgb.data() + size_t(targetRow) * width * 3;
    for (int32_t x = 0; x < width; ++x, dst += 3) {
      Colour c;
      switch (depth) {
      case 4: {
        uint8_t byte = src[x / 2];
        c = palette[(x & 1) ? (byte & 0x0F) : (byte >> 4)];
        break;
      }
      case 8:
        c = palette[src[x]];
        break;
      case 24:
        c = Colour{src[x * 3 + 2], src[x * 3 + 1], src[x * 3]};
        break;
      default:
        c = Colour{src[x * 4 + 2], src[x * 4 + 1], src[x * 4]};
        break;
      }
      dst[0] = c.red;
      dst[1] = c.green;
      dst[2] = c.blue;
    }
  }
  return true;
}
