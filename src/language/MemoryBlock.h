// MemoryBlock: the language's byte buffer with typed accessors at any byte
// offset in a byte order chosen per block. A sized block (size > 0) owns or
// at least knows its bytes: no accessor reaches outside them. An unsized
// block views memory whose extent it does not know.
#pragma once
#include <cstddef>
#include <cstdint>

#include "foundation/AssertionAlert.h"
#include "foundation/String.h"
#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/RuntimeObject.h"

struct MemoryBlockObject {
  RuntimeObject header;
  int32_t size; // 0 for a block viewing memory it did not allocate
  char *data;
  uint8_t owns;         // the block allocated data and frees it
  uint8_t littleEndian; // byte order of multi-byte values
  uint8_t pad[2];
};
static_assert(sizeof(MemoryBlockObject) == 36);
static_assert(offsetof(MemoryBlockObject, size) == 24);
static_assert(offsetof(MemoryBlockObject, data) == 28);
static_assert(offsetof(MemoryBlockObject, owns) == 32);
static_assert(offsetof(MemoryBlockObject, littleEndian) == 33);

// The alert of a pointer conversion into a nil block.
inline constexpr AlertSite kConvertPtrToNilBlockAlert{"../Common/MemoryBlock", 305, "self"};

ObjectDefinition *MemoryBlockClass();

// Whether width bytes at offset lie inside a sized block; an unsized block
// with data admits every range.
bool MemoryBlockAdmits(const MemoryBlockObject *block, int32_t offset, int64_t width);

extern "C" {
// Fixed-width accessors. Getters give 0 for a range outside a sized block;
// setters raise OutOfBoundsException for it and write nothing.
int32_t memoryGetLong(MemoryBlockObject *self, int32_t offset);
void memorySetLong(MemoryBlockObject *self, int32_t offset, int32_t value);
MemoryBlockObject *memoryGetPtr(MemoryBlockObject *self, int32_t offset);
void memorySetPtr(MemoryBlockObject *self, int32_t offset, MemoryBlockObject *value);
int32_t memoryGetShort(MemoryBlockObject *self, int32_t offset);
int32_t memoryGetUShort(MemoryBlockObject *self, int32_t offset);
void memorySetShort(MemoryBlockObject *self, int32_t offset, int32_t value);
int32_t memoryGetByte(MemoryBlockObject *self, int32_t offset);
void memorySetByte(MemoryBlockObject *self, int32_t offset, int32_t value);
double memoryGetSingle(MemoryBlockObject *self, int32_t offset);
void memorySetSingle(MemoryBlockObject *self, int32_t offset, double value);
double memoryGetDouble(MemoryBlockObject *self, int32_t offset);
void memorySetDouble(MemoryBlockObject *self, int32_t offset, double value);
int32_t memoryGetBoolean(MemoryBlockObject *self, int32_t offset);
void memorySetBoolean(MemoryBlockObject *self, int32_t offset, int32_t value);
int32_t memoryGetColor(MemoryBlockObject *self, int32_t offset, int32_t bits);
void memorySetColor(MemoryBlockObject *self, int32_t offset, int32_t bits, int32_t color);

// Text accessors. Getters read only bytes inside a sized block.
stringStorage *memoryGetPString(MemoryBlockObject *self, int32_t offset);
void memorySetPString(MemoryBlockObject *self, int32_t offset, stringStorage *value);
stringStorage *memoryGetCString(MemoryBlockObject *self, int32_t offset);
void memorySetCString(MemoryBlockObject *self, int32_t offset, stringStorage *value);
stringStorage *memoryGetString(MemoryBlockObject *self, int32_t offset, int32_t length);
void memorySetString(MemoryBlockObject *self, int32_t offset, int32_t length, stringStorage *value);

int32_t memoryBlockGetSize(MemoryBlockObject *self);
void memoryBlockSetSize(MemoryBlockObject *self, int32_t size);

void memoryBlockNewConstructor(MemoryBlockObject *self, int32_t bytes);
stringStorage *MemoryBlockToStringOperator(MemoryBlockObject *self);
void MemoryBlockFromStringOperator(MemoryBlockObject *self, stringStorage *value);
MemoryBlockObject *MemoryBlockAddOperator(MemoryBlockObject *self, MemoryBlockObject *other);
int32_t MemoryBlockCompareOperator(MemoryBlockObject *self, MemoryBlockObject *other);
void *memoryBlockGetPtr(MemoryBlockObject *self);
void ConvertPtrToMemoryBlock(MemoryBlockObject *self, void *address);
MemoryBlockObject *MemoryBlockLeftB(MemoryBlockObject *self, int32_t bytes);
MemoryBlockObject *MemoryBlockMidB2(MemoryBlockObject *self, int32_t offset);
MemoryBlockObject *MemoryBlockMidB3(MemoryBlockObject *self, int32_t offset, int32_t length);
MemoryBlockObject *MemoryBlockRightB(MemoryBlockObject *self, int32_t bytes);

// A new zero-filled, owned, little-endian block; nil for size <= 0 or when
// the bytes cannot be had.
MemoryBlockObject *newMemoryBlock(int32_t size);
// A new unsized block viewing the address.
MemoryBlockObject *PtrToMemoryBlock(void *address);
}
