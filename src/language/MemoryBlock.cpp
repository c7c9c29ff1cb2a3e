// MemoryBlock's class, life cycle, conversions, operators and slices.
#include "language/MemoryBlock.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string_view>

#include "foundation/Memory.h"
#include "foundation/TextEncodings.h"
#include "runtime/exceptions/ExceptionClasses.h"
#include "runtime/exceptions/RuntimeExceptions.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueAccessors.h"

namespace {

void *Code(auto function) { return reinterpret_cast<void *>(function); }

MemoryBlockObject *AsBlock(RuntimeObject *object) {
  return reinterpret_cast<MemoryBlockObject *>(object);
}

void MemoryBlockConstructor(RuntimeObject *object) { AsBlock(object)->littleEndian = 1; }

void FreeOwnedBytes(MemoryBlockObject *block) {
  if (block->owns && block->data)
    OSfreelen(block->data, block->size);
  block->data = nullptr;
  block->owns = 0;
  block->size = 0;
}

void MemoryBlockDestructor(RuntimeObject *object) { FreeOwnedBytes(AsBlock(object)); }

// Gives the block size fresh zeroed bytes that it owns; false when they
// cannot be had (the block is then unchanged).
bool Allocate(MemoryBlockObject *block, int32_t size) {
  if (size <= 0)
    return false;
  char *bytes = OSalloclen(size, kMemFullReturnNull);
  if (!bytes)
    return false;
  std::memset(bytes, 0, static_cast<size_t>(size));
  FreeOwnedBytes(block);
  block->data = bytes;
  block->size = size;
  block->owns = 1;
  return true;
}

// A new owned block holding a copy of the bytes; nil when they cannot be had.
MemoryBlockObject *NewBlockWith(const char *bytes, int32_t length) {
  MemoryBlockObject *block = newMemoryBlock(length);
  if (block)
    std::memcpy(block->data, bytes, static_cast<size_t>(length));
  return block;
}

void RaiseOutOfMemory() { RaiseExceptionClass(OutOfMemoryExceptionClass()); }

MemoryBlockObject *Slice(MemoryBlockObject *self, int64_t offset, int64_t length) {
  if (!self)
    return nullptr;
  if (offset < 0) {
    length += offset;
    offset = 0;
  }
  if (offset >= self->size)
    return nullptr;
  length = std::min<int64_t>(length, self->size - offset);
  if (length <= 0)
    return nullptr;
  MemoryBlockObject *slice = NewBlockWith(self->data + offset, static_cast<int32_t>(length));
  if (slice)
    slice->littleEndian = self->littleEndian;
  return slice;
}

// ---- the class table ----

MethodParameter sOffset[] = {{"offset", &integerType.type, 0, {}, 0, {}, 0, {}}};
MethodParameter sOffsetInteger[] = {{"offset", &integerType.type, 0, {}, 0, {}, 0, {}},
                                    {"value", &integerType.type, 0, {}, 0, {}, 0, {}}};
MethodParameter sOffsetBlock[] = {{"offset", &integerType.type, 0, {}, 0, {}, 0, {}},
                                  {"value", nullptr, 0, {}, 0, {}, 0, {}}};
MethodParameter sOffsetString[] = {{"offset", &integerType.type, 0, {}, 0, {}, 0, {}},
                                   {"value", &stringType.type, 0, {}, 0, {}, 0, {}}};
MethodParameter sOffsetDouble[] = {{"offset", &integerType.type, 0, {}, 0, {}, 0, {}},
                                   {"value", &doubleType.type, 0, {}, 0, {}, 0, {}}};
MethodParameter sOffsetBoolean[] = {{"offset", &integerType.type, 0, {}, 0, {}, 0, {}},
                                    {"value", &booleanType.type, 0, {}, 0, {}, 0, {}}};
MethodParameter sSizeValue[] = {{"value", &integerType.type, 0, {}, 0, {}, 0, {}}};
MethodParameter sOffsetLengthString[] = {{"offset", &integerType.type, 0, {}, 0, {}, 0, {}},
                                         {"length", &integerType.type, 0, {}, 0, {}, 0, {}},
                                         {"value", &stringType.type, 0, {}, 0, {}, 0, {}}};
MethodParameter sOffsetBitsColor[] = {{"offset", &integerType.type, 0, {}, 0, {}, 0, {}},
                                      {"bits", &integerType.type, 0, {}, 0, {}, 0, {}},
                                      {"value", &colourType.type, 0, {}, 0, {}, 0, {}}};
MethodParameter sBytes[] = {{"bytes", &integerType.type, 0, {}, 0, {}, 0, {}}};
MethodParameter sString[] = {{"value", &stringType.type, 0, {}, 0, {}, 0, {}}};
MethodParameter sBlock[] = {{"value", nullptr, 0, {}, 0, {}, 0, {}}};
MethodParameter sPointer[] = {{"value", &externalPtrType.type, 0, {}, 0, {}, 0, {}}};
MethodParameter sOffsetLength[] = {{"offset", &integerType.type, 0, {}, 0, {}, 0, {}},
                                   {"length", &integerType.type, 0, {}, 0, {}, 0, {}}};

#define ACCESSOR(name, type, params, count, getter, setter)                                        \
  {                                                                                                \
    name, type, params, count, {{Code(getter), #getter, {}}, {Code(setter), #setter, {}}},         \
        kAssignsMethod, kConsoleAvailableFlag, 0                                                   \
  }
#define METHOD(name, type, params, count, entry)                                                   \
  {                                                                                                \
    name, type, params, count, {{Code(entry), #entry, {}}, {}}, kPlainMethod,                      \
        kConsoleAvailableFlag, 0                                                                   \
  }

// The method table in the order compiled code indexes it.
PropertyMethod sMemoryBlockMethods[] = {
    ACCESSOR("Long", &integerType.type, sOffsetInteger, 2, memoryGetLong, memorySetLong),
    ACCESSOR("Ptr", nullptr, sOffsetBlock, 2, memoryGetPtr, memorySetPtr),
    ACCESSOR("Short", &integerType.type, sOffsetInteger, 2, memoryGetShort, memorySetShort),
    ACCESSOR("UShort", &integerType.type, sOffsetInteger, 2, memoryGetUShort, memorySetShort),
    ACCESSOR("Byte", &integerType.type, sOffsetInteger, 2, memoryGetByte, memorySetByte),
    ACCESSOR("PString", &stringType.type, sOffsetString, 2, memoryGetPString, memorySetPString),
    ACCESSOR("CString", &stringType.type, sOffsetString, 2, memoryGetCString, memorySetCString),
    ACCESSOR("SingleValue", &doubleType.type, sOffsetDouble, 2, memoryGetSingle, memorySetSingle),
    ACCESSOR("DoubleValue", &doubleType.type, sOffsetDouble, 2, memoryGetDouble, memorySetDouble),
    ACCESSOR("Size", &integerType.type, sSizeValue, 1, memoryBlockGetSize, memoryBlockSetSize),
    ACCESSOR("StringValue", &stringType.type, sOffsetLengthString, 3, memoryGetString,
             memorySetString),
    ACCESSOR("BooleanValue", &booleanType.type, sOffsetBoolean, 2, memoryGetBoolean,
             memorySetBoolean),
    ACCESSOR("ColorValue", &colourType.type, sOffsetBitsColor, 3, memoryGetColor, memorySetColor),
    METHOD("Constructor", nullptr, sBytes, 1, memoryBlockNewConstructor),
    METHOD("Operator_Convert", &stringType.type, nullptr, 0, MemoryBlockToStringOperator),
    METHOD("Operator_Convert", nullptr, sString, 1, MemoryBlockFromStringOperator),
    METHOD("Operator_Add", nullptr, sBlock, 1, MemoryBlockAddOperator),
    METHOD("Operator_Compare", &integerType.type, sBlock, 1, MemoryBlockCompareOperator),
    METHOD("Operator_Convert", &externalPtrType.type, nullptr, 0, memoryBlockGetPtr),
    METHOD("Operator_Convert", nullptr, sPointer, 1, ConvertPtrToMemoryBlock),
    METHOD("LeftB", nullptr, sBytes, 1, MemoryBlockLeftB),
    METHOD("MidB", nullptr, sOffset, 1, MemoryBlockMidB2),
    METHOD("MidB", nullptr, sOffsetLength, 2, MemoryBlockMidB3),
    METHOD("RightB", nullptr, sBytes, 1, MemoryBlockRightB),
};

#undef ACCESSOR
#undef METHOD

ObjectInstanceTemplate sMemoryBlockProperties[] = {
    {kConsoleAvailableFlag, "LittleEndian", &booleanType.type, Code(boolGetter), "boolGetter",
     Code(boolSetter), "boolSetter", offsetof(MemoryBlockObject, littleEndian), 0},
};

} // namespace

ObjectDefinition *MemoryBlockClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  // Parameters and results of the class's own type.
  PropertyType *blockType = defn.AsType();
  sOffsetBlock[1].type = blockType;
  sBlock[0].type = blockType;
  for (PropertyMethod &row : sMemoryBlockMethods) {
    const std::string_view name = row.name;
    if (name == "Ptr" || name == "Operator_Add" || name == "LeftB" || name == "MidB" ||
        name == "RightB")
      row.returnType = blockType;
  }
  defn.className = string("MemoryBlock");
  defn.objectSize = sizeof(MemoryBlockObject);
  defn.constructor = MemoryBlockConstructor;
  defn.destructor = MemoryBlockDestructor;
  defn.staticTables = 1;
  defn.consoleSafe = 1;
  defn.newAllowed = 1;
  defn.properties = FillInstances(sMemoryBlockProperties, std::size(sMemoryBlockProperties));
  defn.methods = FillMethods(sMemoryBlockMethods, std::size(sMemoryBlockMethods));
  return &defn;
}

extern "C" {

int32_t memoryBlockGetSize(MemoryBlockObject *self) { return self->size; }

void memoryBlockSetSize(MemoryBlockObject *self, int32_t size) {
  if (size == self->size)
    return;
  if (size <= 0) {
    RaiseOutOfBoundsException();
    return;
  }
  char *bytes = OSalloclen(size, kMemFullReturnNull);
  if (!bytes) {
    RaiseOutOfMemory();
    return;
  }
  // Viewed memory has no known extent: nothing of it is kept.
  const int32_t kept = self->owns ? std::min(self->size, size) : 0;
  if (kept > 0)
    std::memcpy(bytes, self->data, static_cast<size_t>(kept));
  std::memset(bytes + kept, 0, static_cast<size_t>(size - kept));
  FreeOwnedBytes(self);
  self->data = bytes;
  self->size = size;
  self->owns = 1;
}

void memoryBlockNewConstructor(MemoryBlockObject *self, int32_t bytes) {
  if (!Allocate(self, std::max(bytes, 0)))
    RaiseOutOfMemory();
}

stringStorage *MemoryBlockToStringOperator(MemoryBlockObject *self) {
  string s;
  if (self->size > 0 && self->data)
    s.ConstructFromBuffer(self->data, self->size);
  return s.ExtractStringStorage();
}

void MemoryBlockFromStringOperator(MemoryBlockObject *self, stringStorage *value) {
  const int32_t length = stringStorage::Length(value);
  if (!Allocate(self, length)) {
    RaiseOutOfMemory();
    return;
  }
  std::memcpy(self->data, stringStorage::CString(value), static_cast<size_t>(length));
}

MemoryBlockObject *MemoryBlockAddOperator(MemoryBlockObject *self, MemoryBlockObject *other) {
  const int64_t left = self ? self->size : 0, right = other ? other->size : 0;
  const int64_t total = left + right;
  if (total <= 0 || total > INT32_MAX)
    return nullptr;
  MemoryBlockObject *sum = newMemoryBlock(static_cast<int32_t>(total));
  if (!sum)
    return nullptr;
  if (left > 0)
    std::memcpy(sum->data, self->data, static_cast<size_t>(left));
  if (right > 0)
    std::memcpy(sum->data + left, other->data, static_cast<size_t>(right));
  return sum;
}

int32_t MemoryBlockCompareOperator(MemoryBlockObject *self, MemoryBlockObject *other) {
  if (self == other)
    return 0;
  if (!self)
    return -1;
  if (!other)
    return 1;
  const int32_t common = std::min(self->size, other->size);
  const auto *a = reinterpret_cast<const unsigned char *>(self->data);
  const auto *b = reinterpret_cast<const unsigned char *>(other->data);
  for (int32_t i = 0; i < common; ++i)
    if (a[i] != b[i])
      return a[i] - b[i];
  return self->size < other->size ? -1 : self->size > other->size ? 1 : 0;
}

void *memoryBlockGetPtr(MemoryBlockObject *self) { return self ? self->data : nullptr; }

void ConvertPtrToMemoryBlock(MemoryBlockObject *self, void *address) {
  if (!self) {
    ShowAlert(kConvertPtrToNilBlockAlert);
    return;
  }
  FreeOwnedBytes(self);
  self->data = static_cast<char *>(address);
}

MemoryBlockObject *MemoryBlockLeftB(MemoryBlockObject *self, int32_t bytes) {
  return Slice(self, 0, bytes);
}

MemoryBlockObject *MemoryBlockMidB2(MemoryBlockObject *self, int32_t offset) {
  return self ? Slice(self, offset, int64_t{self->size} - offset) : nullptr;
}

MemoryBlockObject *MemoryBlockMidB3(MemoryBlockObject *self, int32_t offset, int32_t length) {
  return Slice(self, offset, length);
}

MemoryBlockObject *MemoryBlockRightB(MemoryBlockObject *self, int32_t bytes) {
  return self ? Slice(self, int64_t{self->size} - bytes, bytes) : nullptr;
}

MemoryBlockObject *newMemoryBlock(int32_t size) {
  if (size <= 0)
    return nullptr;
  auto *block = AsBlock(CreateInstance(MemoryBlockClass()));
  if (block && !Allocate(block, size)) {
    RuntimeUnlockObject(&block->header);
    return nullptr;
  }
  return block;
}

MemoryBlockObject *PtrToMemoryBlock(void *address) {
  auto *block = AsBlock(CreateInstance(MemoryBlockClass()));
  if (block)
    block->data = static_cast<char *>(address);
  return block;
}
}
