#pragma once
// Reading and writing the little-endian integers of ELF objects and of the
// image format, at any alignment.
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace imagelink {

inline uint32_t readLE32(const uint8_t *p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
inline uint16_t readLE16(const uint8_t *p) { return uint16_t(p[0] | p[1] << 8); }

inline void writeLE32(uint8_t *p, uint32_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
  p[2] = uint8_t(v >> 16);
  p[3] = uint8_t(v >> 24);
}
inline void writeLE16(uint8_t *p, uint16_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
}

inline void appendLE32(std::vector<uint8_t> &out, uint32_t v) {
  uint8_t b[4];
  writeLE32(b, v);
  out.insert(out.end(), b, b + 4);
}
inline void appendLE16(std::vector<uint8_t> &out, uint16_t v) {
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}
inline void appendBytes(std::vector<uint8_t> &out, std::string_view bytes) {
  out.insert(out.end(), bytes.begin(), bytes.end());
}

} // namespace imagelink
