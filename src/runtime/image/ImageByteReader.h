// Reads the little-endian records of an application image section with every
// read checked against the section's end, so a damaged image is refused
// instead of being read past its bounds.
#pragma once
#include <cstdint>
#include <cstring>

class ImageByteReader {
public:
  ImageByteReader(const uint8_t *bytes, uint32_t size) : mBytes(bytes), mSize(size) {}

  bool AtEnd() const { return mPosition >= mSize; }
  uint32_t Position() const { return mPosition; }
  uint32_t Remaining() const { return mSize - mPosition; }

  bool ReadByte(uint8_t &value) {
    if (Remaining() < 1)
      return false;
    value = mBytes[mPosition++];
    return true;
  }

  bool ReadInt32(int32_t &value) {
    if (Remaining() < 4)
      return false;
    std::memcpy(&value, mBytes + mPosition, 4);
    mPosition += 4;
    return true;
  }

  bool ReadUInt32(uint32_t &value) {
    int32_t raw;
    if (!ReadInt32(raw))
      return false;
    value = uint32_t(raw);
    return true;
  }

  bool ReadUInt16(uint16_t &value) {
    if (Remaining() < 2)
      return false;
    std::memcpy(&value, mBytes + mPosition, 2);
    mPosition += 2;
    return true;
  }

  // Points at the next count bytes and steps over them.
  bool ReadBytes(uint32_t count, const uint8_t *&bytes) {
    if (Remaining() < count)
      return false;
    bytes = mBytes + mPosition;
    mPosition += count;
    return true;
  }

  // A length byte followed by that many bytes.
  bool ReadCountedBytes(const uint8_t *&bytes, uint8_t &length) {
    return ReadByte(length) && ReadBytes(length, bytes);
  }

private:
  const uint8_t *mBytes;
  uint32_t mSize;
  uint32_t mPosition = 0;
};
