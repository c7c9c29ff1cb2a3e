// The variable-length form of a 32-bit signed integer that byte streams write
// and read, one to five bytes:
//  - first byte: bit 7 set when another byte follows, bit 6 set for a
//    negative value, bits 0-5 the low six bits of the magnitude;
//  - each following byte: bit 7 set when another follows, bits 0-6 the next
//    seven bits of the magnitude.
// The most negative value is written as the magnitude 0x80000000 without the
// negative bit, and that magnitude always reads back as it.
#pragma once
#include <cstdint>

inline constexpr int kMaxEncodedIntegerBytes = 5;

// Writes the fewest bytes that hold the value; answers how many (1 to 5).
int EncodeInteger(int32_t value, uint8_t out[kMaxEncodedIntegerBytes]);

// Reassembles an encoded integer from its bytes, fed one at a time.
class EncodedIntegerDecoder {
public:
  enum class Step {
    NeedMore, // feed the next byte
    Done,     // Value() holds the integer
    Malformed // a fifth byte still announced another; no integer is that long
  };

  Step Feed(uint8_t byte);
  int32_t Value() const;

private:
  uint32_t mMagnitude = 0;
  int mBytes = 0;
  bool mNegative = false;
};
