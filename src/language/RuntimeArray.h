// The language's array value: a reference-counted, typed array of one or more
// dimensions whose elements lie in one flat buffer, first index fastest.
// Compiled code reaches an array only through its 16-slot method table, so
// the record's leading fields, the slot order and each slot's signature are
// fixed.
#pragma once
#include <cstddef>
#include <cstdint>

struct RuntimeObject;
struct RuntimeClass;

using ArrayMethodTable = void *const[16];

struct RuntimeArray {
  int32_t refCount;          // starts at 1
  ArrayMethodTable *methods; // one of the eleven tables
  char *buffer;              // null when the array holds no elements
  int32_t dimensions;        // 1 or more
  int32_t bufferLength;      // bytes allocated; may exceed what elements use
  int32_t growthStep;        // elements; 16, doubled by Insert
  int32_t upperBounds[];     // one per dimension; -1 is an empty dimension
};
static_assert(sizeof(RuntimeArray) == 24);
static_assert(offsetof(RuntimeArray, refCount) == 0);
static_assert(offsetof(RuntimeArray, methods) == 4);
static_assert(offsetof(RuntimeArray, buffer) == 8);
static_assert(offsetof(RuntimeArray, dimensions) == 12);
static_assert(offsetof(RuntimeArray, bufferLength) == 16);
static_assert(offsetof(RuntimeArray, growthStep) == 20);
static_assert(offsetof(RuntimeArray, upperBounds) == 24);

// A view of a one-dimensional Object array that refuses stores of objects of
// any other class. It shares the first three fields with RuntimeArray.
struct ArrayCastWrapper {
  int32_t refCount;
  ArrayMethodTable *methods; // the cast table
  char *buffer;              // the wrapped array's buffer, refreshed after each call
  RuntimeArray *wrapped;     // one reference held
  RuntimeClass *elementClass;
};
static_assert(sizeof(ArrayCastWrapper) == 20);
static_assert(offsetof(ArrayCastWrapper, buffer) == 8);
static_assert(offsetof(ArrayCastWrapper, wrapped) == 12);
static_assert(offsetof(ArrayCastWrapper, elementClass) == 16);

// Element type codes of CreateArray.
enum ArrayElementType : int32_t {
  kIntegerElements = 0,
  kSingleElements = 1,
  kDoubleElements = 2,
  kStringElements = 3,
  kObjectElements = 4,
};

// Slot numbers of the method table.
enum ArraySlot {
  kArrayGet = 0,
  kArraySet = 1,
  kArrayGetUnchecked = 2,
  kArraySetUnchecked = 3,
  kArrayRedim = 4,
  kArrayInsert = 5,
  kArrayRemove = 6,
  kArraySort = 7,
  kArrayIndexOf = 8,
  kArrayShuffle = 9,
  kArrayUBound = 10,
  kArrayRetainElement = 11,
  kArrayReleaseElement = 12,
  kArrayDestroyElements = 13,
};

// The table of an element type (nil for an unknown code); the cast table.
ArrayMethodTable *ArrayMethodsFor(int32_t elementType, bool oneDimension);
ArrayMethodTable *ArrayCastMethods();
// Called when an array's last reference goes; the address is only an identity.
using ArrayDestructionMonitor = void (*)(void *array);

// Typed views of a slot, as compiled code calls them (one-dimensional forms).
template <typename Signature>
Signature ArraySlotFunction(const RuntimeArray *array, ArraySlot slot) {
  // An array made with an unknown element type has no table.
  return array->methods ? reinterpret_cast<Signature>((*array->methods)[slot]) : nullptr;
}

extern "C" {
// dimensions, element type, then one upper bound per dimension. Nil when
// memory runs out or the buffer would exceed 2 GB; bounds below -1 count as -1.
RuntimeArray *CreateArray(int32_t dimensions, int32_t elementType, ...);
RuntimeArray *RuntimeLockArray(RuntimeArray *array);
void RuntimeUnlockArray(RuntimeArray *array);
void RuntimeLockUnlockArrays(RuntimeArray *newArray, RuntimeArray *oldArray);
int32_t RuntimeUBound(RuntimeArray *array);
int32_t RuntimeUBound2Param(RuntimeArray *array, int32_t dimension);
void SetArrayDestructionMonitor(ArrayDestructionMonitor monitor);
RuntimeArray *RuntimeCreateArrayCastWrapper(RuntimeArray *array, RuntimeClass *elementClass);

// Direct element access for compiled code, through slots 0, 1 and 5.
int32_t RuntimeDirectReadIntArray(RuntimeArray *array, int32_t index);
struct stringStorage *RuntimeDirectReadStringArray(RuntimeArray *array, int32_t index);
RuntimeObject *RuntimeDirectReadObjectArray(RuntimeArray *array, int32_t index);
void RuntimeDirectWriteObjectArray(RuntimeArray *array, RuntimeObject *value, int32_t index);
void RuntimeIntArrayAppend(RuntimeArray *array, int32_t value);
}
