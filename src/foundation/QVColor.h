// Colours of 16 bits per channel, and their conversion to and from the
// language's 0xRRGGBB colour integers (each 8-bit channel c stands for c * 257,
// so 0xFF becomes 0xFFFF and back).
#pragma once
#include <cstddef>
#include <cstdint>

namespace QV {

struct RGBColor {
  uint16_t red;
  uint16_t green;
  uint16_t blue;
};
static_assert(sizeof(RGBColor) == 6);
static_assert(offsetof(RGBColor, red) == 0 && offsetof(RGBColor, green) == 2 &&
              offsetof(RGBColor, blue) == 4);

constexpr uint16_t kColorChannelScale = 257;

constexpr RGBColor RGBColorFromColorValue(uint32_t rrggbb) {
  return RGBColor{static_cast<uint16_t>(((rrggbb >> 16) & 0xFF) * kColorChannelScale),
                  static_cast<uint16_t>(((rrggbb >> 8) & 0xFF) * kColorChannelScale),
                  static_cast<uint16_t>((rrggbb & 0xFF) * kColorChannelScale)};
}

constexpr uint32_t ColorValueFromRGBColor(const RGBColor &color) {
  return (uint32_t(color.red / kColorChannelScale) << 16) |
         (uint32_t(color.green / kColorChannelScale) << 8) |
         uint32_t(color.blue / kColorChannelScale);
}

} // namespace QV
