// Creating and releasing arrays, the UBound functions and the direct element
// access that compiled code calls by name.
#include "language/RuntimeArray.h"
#include "language/LanguageExceptions.h"

#include <cstdarg>
#include <cstdlib>

#include "foundation/AssertionAlert.h"
#include "language/ArrayStorage.h"
#include "runtime/exceptions/ExceptionClasses.h"
#include "runtime/exceptions/RuntimeExceptions.h"

namespace {

ArrayDestructionMonitor sDestructionMonitor = nullptr;

int32_t ElementWidth(int32_t elementType) {
  switch (elementType) {
  case kIntegerElements:
  case kSingleElements:
  case kStringElements:
  case kObjectElements:
    return 4;
  case kDoubleElements:
    return 8;
  default:
    return 0;
  }
}

using UBoundFunction = int32_t (*)(RuntimeArray *, int32_t);

} // namespace

char *AllocateBuffer(int64_t length) {
  if (length < 0 || length > kLargestBuffer)
    return nullptr;
  return static_cast<char *>(std::calloc(size_t(length > 0 ? length : 1), 1));
}

int64_t ElementCount(const int32_t *bounds, int32_t dimensions) {
  int64_t count = 1;
  for (int32_t d = 0; d < dimensions; ++d) {
    const int64_t extent = int64_t(bounds[d]) + 1;
    if (extent <= 0)
      return 0;
    count *= extent;
    if (count > kLargestBuffer) // no buffer can hold more; keeps the product in range
      return kLargestBuffer + 1;
  }
  return count;
}

int64_t LinearPosition(const std::vector<int32_t> &tuple, const std::vector<int32_t> &bounds) {
  int64_t linear = 0, stride = 1;
  for (size_t d = 0; d < tuple.size(); ++d) {
    linear += tuple[d] * stride;
    stride *= int64_t(bounds[d]) + 1;
  }
  return linear;
}

bool Keeps(const std::vector<int32_t> &tuple, const std::vector<int32_t> &bounds) {
  for (size_t d = 0; d < tuple.size(); ++d)
    if (tuple[d] > bounds[d])
      return false;
  return true;
}

extern "C" RuntimeArray *CreateArray(int32_t dimensions, int32_t elementType, ...) {
  if (dimensions < 1)
    return nullptr;
  auto *array = static_cast<RuntimeArray *>(
      std::malloc(sizeof(RuntimeArray) + sizeof(int32_t) * size_t(dimensions)));
  if (!array)
    return nullptr;
  array->refCount = 1;
  array->dimensions = dimensions;
  array->growthStep = kInitialGrowthStep;
  va_list args;
  va_start(args, elementType);
  for (int32_t d = 0; d < dimensions; ++d) {
    const int32_t bound = va_arg(args, int32_t);
    array->upperBounds[d] = bound < -1 ? -1 : bound;
  }
  va_end(args);
  array->methods = ArrayMethodsFor(elementType, dimensions == 1);
  if (!array->methods)
    ShowAlert(dimensions == 1 ? kArrayTypeAlert : kArrayTypeSeveralAlert);
  const int64_t length = ElementCount(array->upperBounds, dimensions) * ElementWidth(elementType);
  array->buffer = nullptr;
  array->bufferLength = 0;
  if (length >= 1) {
    array->buffer = AllocateBuffer(length);
    if (!array->buffer) {
      std::free(array);
      return nullptr;
    }
    array->bufferLength = int32_t(length);
  }
  return array;
}

extern "C" RuntimeArray *RuntimeLockArray(RuntimeArray *array) {
  if (array)
    ++array->refCount;
  return array;
}

extern "C" void RuntimeUnlockArray(RuntimeArray *array) {
  if (!array || --array->refCount != 0)
    return;
  if (array->methods) {
    if (void *destroy = (*array->methods)[kArrayDestroyElements])
      reinterpret_cast<void (*)(RuntimeArray *)>(destroy)(array);
  }
  std::free(array);
  if (sDestructionMonitor)
    sDestructionMonitor(array);
}

extern "C" void RuntimeLockUnlockArrays(RuntimeArray *newArray, RuntimeArray *oldArray) {
  if (newArray == oldArray)
    return;
  RuntimeLockArray(newArray);
  RuntimeUnlockArray(oldArray);
}

extern "C" int32_t RuntimeUBound(RuntimeArray *array) {
  if (!array) {
    RaiseNilObject();
    return 0;
  }
  auto ubound = ArraySlotFunction<UBoundFunction>(array, kArrayUBound);
  if (!ubound) {
    ShowAlert(kUBoundAlert);
    return -1;
  }
  return ubound(array, 1);
}

extern "C" int32_t RuntimeUBound2Param(RuntimeArray *array, int32_t dimension) {
  if (!array) {
    RaiseNilObject();
    return -1;
  }
  auto ubound = ArraySlotFunction<UBoundFunction>(array, kArrayUBound);
  if (!ubound) {
    ShowAlert(kUBound2Alert);
    return -1;
  }
  return ubound(array, dimension);
}

extern "C" void SetArrayDestructionMonitor(ArrayDestructionMonitor monitor) {
  sDestructionMonitor = monitor;
}

namespace {

template <typename Element>
Element ReadThroughSlot(RuntimeArray *array, int32_t index) {
  if (!array) {
    RaiseNilObject();
    return Element();
  }
  return ArraySlotFunction<Element (*)(RuntimeArray *, int32_t)>(array, kArrayGet)(array, index);
}

} // namespace

extern "C" int32_t RuntimeDirectReadIntArray(RuntimeArray *array, int32_t index) {
  return ReadThroughSlot<int32_t>(array, index);
}

extern "C" stringStorage *RuntimeDirectReadStringArray(RuntimeArray *array, int32_t index) {
  return ReadThroughSlot<stringStorage *>(array, index);
}

extern "C" RuntimeObject *RuntimeDirectReadObjectArray(RuntimeArray *array, int32_t index) {
  return ReadThroughSlot<RuntimeObject *>(array, index);
}

extern "C" void RuntimeDirectWriteObjectArray(RuntimeArray *array, RuntimeObject *value,
                                              int32_t index) {
  if (!array) {
    RaiseNilObject();
    return;
  }
  ArraySlotFunction<void (*)(RuntimeArray *, RuntimeObject *, int32_t)>(array, kArraySet)(
      array, value, index);
}

extern "C" void RuntimeIntArrayAppend(RuntimeArray *array, int32_t value) {
  if (!array) {
    RaiseNilObject();
    return;
  }
  ArraySlotFunction<void (*)(RuntimeArray *, int32_t, int32_t)>(array, kArrayInsert)(
      array, RuntimeUBound(array) + 1, value);
}
