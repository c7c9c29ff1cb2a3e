// The typed accessors of MemoryBlock. Values are copied with memcpy, so
// offsets need no alignment; multi-byte values are reversed when the block's
// byte order is not the host's.
#include <algorithm>
#include <cstring>
#include <type_traits>

#include "foundation/TextEncodings.h"
#include "language/MemoryBlock.h"
#include "runtime/exceptions/RuntimeExceptions.h"

namespace {

constexpr bool kHostIsLittleEndian = __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__;

bool NeedsSwap(const MemoryBlockObject *block) {
  return (block->littleEndian != 0) != kHostIsLittleEndian;
}

// The value with its bytes in reverse order.
template <typename T>
T Swapped(T value) {
  if constexpr (sizeof(T) == 1) {
    return value;
  } else {
    using Bits = std::conditional_t<sizeof(T) == 2, uint16_t,
                                    std::conditional_t<sizeof(T) == 4, uint32_t, uint64_t>>;
    Bits bits;
    std::memcpy(&bits, &value, sizeof(T));
    if constexpr (sizeof(T) == 2)
      bits = __builtin_bswap16(bits);
    else if constexpr (sizeof(T) == 4)
      bits = __builtin_bswap32(bits);
    else
      bits = __builtin_bswap64(bits);
    std::memcpy(&value, &bits, sizeof(T));
    return value;
  }
}

// MemoryBlockAdmits for the fixed widths, in 32-bit arithmetic: a sized
// block holds at least one byte, so size - width cannot wrap.
template <int32_t width>
bool Admits(const MemoryBlockObject *self, int32_t offset) {
  if (!self || !self->data)
    return false;
  return self->size <= 0 || (offset >= 0 && offset <= self->size - width);
}

// The value at offset in the block's byte order, or 0 outside the block.
template <typename T>
T Read(const MemoryBlockObject *self, int32_t offset) {
  if (!Admits<sizeof(T)>(self, offset))
    return T{};
  T value;
  std::memcpy(&value, self->data + offset, sizeof(T));
  return NeedsSwap(self) ? Swapped(value) : value;
}

// Writes when the range lies inside the block; otherwise raises.
bool MayWrite(const MemoryBlockObject *self, int32_t offset, int64_t width) {
  if (MemoryBlockAdmits(self, offset, width))
    return true;
  RaiseOutOfBoundsException();
  return false;
}

template <typename T>
void Write(MemoryBlockObject *self, int32_t offset, T value) {
  if (!Admits<sizeof(T)>(self, offset)) {
    RaiseOutOfBoundsException();
    return;
  }
  if (NeedsSwap(self))
    value = Swapped(value);
  std::memcpy(self->data + offset, &value, sizeof(T));
}

// The bytes from offset that lie inside the block, at most limit of them; an
// unsized block yields limit.
int64_t BytesInside(const MemoryBlockObject *self, int32_t offset, int64_t limit) {
  if (!self || !self->data || (offset < 0 && self->size > 0))
    return 0;
  if (self->size <= 0)
    return limit;
  return std::max<int64_t>(0, std::min<int64_t>(limit, int64_t{self->size} - offset));
}

string Bytes(const char *bytes, int64_t length, uint32_t encoding) {
  string s;
  if (length > 0) {
    s.ConstructFromBuffer(bytes, static_cast<int>(length));
    if (!s.IsEmpty())
      s.SetEncoding(encoding);
  }
  return s;
}

} // namespace

bool MemoryBlockAdmits(const MemoryBlockObject *self, int32_t offset, int64_t width) {
  if (!self || !self->data)
    return false;
  if (self->size <= 0)
    return true;
  return offset >= 0 && offset + width <= self->size;
}

extern "C" {

int32_t memoryGetLong(MemoryBlockObject *self, int32_t offset) {
  return Read<int32_t>(self, offset);
}
void memorySetLong(MemoryBlockObject *self, int32_t offset, int32_t value) {
  Write(self, offset, value);
}

MemoryBlockObject *memoryGetPtr(MemoryBlockObject *self, int32_t offset) {
  uint32_t address = Read<uint32_t>(self, offset);
  return address ? PtrToMemoryBlock(reinterpret_cast<void *>(address)) : nullptr;
}
void memorySetPtr(MemoryBlockObject *self, int32_t offset, MemoryBlockObject *value) {
  Write(self, offset,
        static_cast<uint32_t>(reinterpret_cast<uintptr_t>(value ? value->data : nullptr)));
}

int32_t memoryGetShort(MemoryBlockObject *self, int32_t offset) {
  return Read<int16_t>(self, offset);
}
int32_t memoryGetUShort(MemoryBlockObject *self, int32_t offset) {
  return Read<uint16_t>(self, offset);
}
void memorySetShort(MemoryBlockObject *self, int32_t offset, int32_t value) {
  Write(self, offset, static_cast<uint16_t>(value));
}

int32_t memoryGetByte(MemoryBlockObject *self, int32_t offset) {
  return Read<uint8_t>(self, offset);
}
void memorySetByte(MemoryBlockObject *self, int32_t offset, int32_t value) {
  Write(self, offset, static_cast<uint8_t>(value));
}

double memoryGetSingle(MemoryBlockObject *self, int32_t offset) {
  return Read<float>(self, offset);
}
void memorySetSingle(MemoryBlockObject *self, int32_t offset, double value) {
  Write(self, offset, static_cast<float>(value));
}

double memoryGetDouble(MemoryBlockObject *self, int32_t offset) {
  return Read<double>(self, offset);
}
void memorySetDouble(MemoryBlockObject *self, int32_t offset, double value) {
  Write(self, offset, value);
}

int32_t memoryGetBoolean(MemoryBlockObject *self, int32_t offset) {
  return Read<uint8_t>(self, offset) != 0;
}
void memorySetBoolean(MemoryBlockObject *self, int32_t offset, int32_t value) {
  Write(self, offset, static_cast<uint8_t>(value != 0));
}

// Colours are 0xRRGGBB. 16 bits: 5 bits per component; 24 bits: three bytes,
// red first in a big-endian block; 32 bits: 0RGB in the block's byte order.
int32_t memoryGetColor(MemoryBlockObject *self, int32_t offset, int32_t bits) {
  switch (bits) {
  case 16: {
    uint32_t v = Read<uint16_t>(self, offset);
    return static_cast<int32_t>(((v & 0x7C00) << 9) | ((v & 0x3E0) << 6) | ((v & 0x1F) << 3));
  }
  case 24: {
    if (!MemoryBlockAdmits(self, offset, 3))
      return 0;
    const auto *p = reinterpret_cast<const unsigned char *>(self->data + offset);
    return self->littleEndian ? (p[2] << 16) | (p[1] << 8) | p[0]
                              : (p[0] << 16) | (p[1] << 8) | p[2];
  }
  case 32:
    return Read<int32_t>(self, offset) & 0xFFFFFF;
  default:
    return 0;
  }
}

void memorySetColor(MemoryBlockObject *self, int32_t offset, int32_t bits, int32_t color) {
  const uint32_t c = static_cast<uint32_t>(color);
  switch (bits) {
  case 16:
    Write(self, offset,
          static_cast<uint16_t>(((c >> 9) & 0x7C00) | ((c >> 6) & 0x3E0) | ((c >> 3) & 0x1F)));
    break;
  case 24: {
    if (!MayWrite(self, offset, 3))
      return;
    unsigned char rgb[3] = {static_cast<unsigned char>(c >> 16), static_cast<unsigned char>(c >> 8),
                            static_cast<unsigned char>(c)};
    if (self->littleEndian)
      std::swap(rgb[0], rgb[2]);
    std::memcpy(self->data + offset, rgb, 3);
    break;
  }
  case 32:
    Write(self, offset, c);
    break;
  default:
    break;
  }
}

stringStorage *memoryGetPString(MemoryBlockObject *self, int32_t offset) {
  if (BytesInside(self, offset, 1) < 1)
    return nullptr;
  const int64_t length = static_cast<unsigned char>(self->data[offset]);
  const int64_t available = BytesInside(self, offset, length + 1) - 1;
  return Bytes(self->data + offset + 1, std::min(length, available), kEncodingASCII)
      .ExtractStringStorage();
}

void memorySetPString(MemoryBlockObject *self, int32_t offset, stringStorage *value) {
  // The length byte holds at most 255, so no more bytes are stored.
  const int32_t n = std::min(stringStorage::Length(value), 255);
  if (!MayWrite(self, offset, int64_t{n} + 1))
    return;
  self->data[offset] = static_cast<char>(n);
  std::memcpy(self->data + offset + 1, stringStorage::CString(value), static_cast<size_t>(n));
}

stringStorage *memoryGetCString(MemoryBlockObject *self, int32_t offset) {
  const int64_t available = BytesInside(self, offset, INT32_MAX);
  if (available <= 0)
    return nullptr;
  const char *start = self->data + offset;
  if (self->size <= 0) // viewed memory: its extent is the caller's business
    return Bytes(start, static_cast<int64_t>(std::strlen(start)), kEncodingASCII)
        .ExtractStringStorage();
  const void *zero = std::memchr(start, 0, static_cast<size_t>(available));
  const int64_t length = zero ? static_cast<const char *>(zero) - start : available;
  return Bytes(start, length, kEncodingASCII).ExtractStringStorage();
}

void memorySetCString(MemoryBlockObject *self, int32_t offset, stringStorage *value) {
  const int32_t n = stringStorage::Length(value);
  if (!MayWrite(self, offset, int64_t{n} + 1))
    return;
  std::memcpy(self->data + offset, stringStorage::CString(value), static_cast<size_t>(n));
  self->data[offset + n] = 0;
}

stringStorage *memoryGetString(MemoryBlockObject *self, int32_t offset, int32_t length) {
  const int64_t available = length > 0 ? BytesInside(self, offset, length) : 0;
  if (available <= 0)
    return nullptr;
  return Bytes(self->data + offset, available, kEncodingUnknown).ExtractStringStorage();
}

void memorySetString(MemoryBlockObject *self, int32_t offset, int32_t length,
                     stringStorage *value) {
  if (length <= 0 || !MayWrite(self, offset, length))
    return;
  const int32_t n = std::min(stringStorage::Length(value), length);
  std::memcpy(self->data + offset, stringStorage::CString(value), static_cast<size_t>(n));
  std::memset(self->data + offset + n, 0, static_cast<size_t>(length - n));
}
}
