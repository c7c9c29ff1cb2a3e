#include "foundation/ByteOrder.h"

#include <cstring>

namespace {
// Copies a value's bytes in reverse order through memcpy, so that neither side
// needs to be aligned.
template <typename T>
T Reversed(T value) {
  swapBytes(&value, sizeof value);
  return value;
}
} // namespace

void swapBytes(void *bytes, int n) {
  unsigned char *low = static_cast<unsigned char *>(bytes);
  unsigned char *high = low + n - 1;
  for (; low < high; ++low, --high) {
    unsigned char keep = *low;
    *low = *high;
    *high = keep;
  }
}

uint32_t uhtonl(uint32_t value) { return __builtin_bswap32(value); }
uint16_t uhtons(uint16_t value) { return __builtin_bswap16(value); }
double uhtond(double value) { return Reversed(value); }
uint32_t SwapEndianLong(uint32_t value) { return uhtonl(value); }
uint16_t SwapEndianShort(uint16_t value) { return uhtons(value); }
double SwapEndianDouble(double value) { return uhtond(value); }

void nstoreshort(void *address, uint16_t value) {
  value = uhtons(value);
  std::memcpy(address, &value, sizeof value);
}

void nstorelong(void *address, uint32_t value) {
  value = uhtonl(value);
  std::memcpy(address, &value, sizeof value);
}

uint16_t nloadshort(const void *address) {
  uint16_t value;
  std::memcpy(&value, address, sizeof value);
  return uhtons(value);
}

uint32_t nloadlong(const void *address) {
  uint32_t value;
  std::memcpy(&value, address, sizeof value);
  return uhtonl(value);
}

void nloadshort(uint16_t &destination, const void *address) { destination = nloadshort(address); }
void nloadlong(uint32_t &destination, const void *address) { destination = nloadlong(address); }

void nstorebytes(void *dst, const void *src, int n) {
  unsigned char *to = static_cast<unsigned char *>(dst);
  const unsigned char *from = static_cast<const unsigned char *>(src);
  for (int i = 0; i < n; ++i)
    to[i] = from[n - 1 - i];
}

void hstoredouble8(void *address, double value) { std::memcpy(address, &value, sizeof value); }

double hloaddouble8(const void *address) {
  double value;
  std::memcpy(&value, address, sizeof value);
  return Reversed(value);
}
