#include "foundation/EncodedInteger.h"

namespace {
constexpr uint8_t kMoreBit = 0x80;
constexpr uint8_t kNegativeBit = 0x40;
constexpr uint32_t kMostNegativeMagnitude = 0x80000000u;
} // namespace

int EncodeInteger(int32_t value, uint8_t out[kMaxEncodedIntegerBytes]) {
  bool negative = value < 0 && static_cast<uint32_t>(value) != kMostNegativeMagnitude;
  uint32_t magnitude = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
  uint8_t first = static_cast<uint8_t>(magnitude & 0x3F);
  if (negative)
    first |= kNegativeBit;
  magnitude >>= 6;
  int count = 0;
  out[count++] = first;
  while (magnitude != 0) {
    out[count - 1] |= kMoreBit;
    out[count++] = static_cast<uint8_t>(magnitude & 0x7F);
    magnitude >>= 7;
  }
  return count;
}

EncodedIntegerDecoder::Step EncodedIntegerDecoder::Feed(uint8_t byte) {
  if (mBytes == 0) {
    mNegative = (byte & kNegativeBit) != 0;
    mMagnitude = byte & 0x3F;
  } else {
    // Groups land at bits 6, 13, 20 and 27; bits above 31 fall away.
    mMagnitude |= static_cast<uint32_t>(byte & 0x7F) << (6 + 7 * (mBytes - 1));
  }
  ++mBytes;
  if (!(byte & kMoreBit))
    return Step::Done;
  return mBytes < kMaxEncodedIntegerBytes ? Step::NeedMore : Step::Malformed;
}

int32_t EncodedIntegerDecoder::Value() const {
  if (mMagnitude == kMostNegativeMagnitude)
    return INT32_MIN;
  return static_cast<int32_t>(mNegative ? 0u - mMagnitude : mMagnitude);
}
