// The cast wrapper: a one-dimensional Object array seen as an array of a
// narrower class. Each slot forwards to the wrapped array; stores test the
// value's class first. The wrapper's buffer copy is refreshed after every
// call, since Redim, Insert and Remove replace the wrapped array's buffer.
#include <cstdlib>
#include <type_traits>

#include "language/LanguageExceptions.h"
#include "language/RuntimeArray.h"
#include "runtime/exceptions/RuntimeExceptions.h"
#include "runtime/objects/RuntimeObject.h"

namespace {

ArrayCastWrapper *AsWrapper(RuntimeArray *array) {
  return reinterpret_cast<ArrayCastWrapper *>(array);
}

// Calls the wrapped array's slot with the same arguments, then refreshes the
// buffer copy.
template <typename Result, typename... Args>
Result Forward(RuntimeArray *array, ArraySlot slot, Args... args) {
  ArrayCastWrapper *wrapper = AsWrapper(array);
  RuntimeArray *wrapped = wrapper->wrapped;
  auto code = ArraySlotFunction<Result (*)(RuntimeArray *, Args...)>(wrapped, slot);
  if constexpr (std::is_void_v<Result>) {
    if (code)
      code(wrapped, args...);
    wrapper->buffer = wrapped->buffer;
  } else {
    Result result = code ? code(wrapped, args...) : Result();
    wrapper->buffer = wrapped->buffer;
    return result;
  }
}

bool Admits(RuntimeArray *array, RuntimeObject *value) {
  if (!value || RuntimeObjectIsa(value, AsWrapper(array)->elementClass))
    return true;
  RaiseIllegalCast();
  return false;
}

RuntimeObject *Get(RuntimeArray *a, int32_t index) {
  return Forward<RuntimeObject *>(a, kArrayGet, index);
}
void Set(RuntimeArray *a, RuntimeObject *value, int32_t index) {
  if (Admits(a, value))
    Forward<void>(a, kArraySet, value, index);
}
RuntimeObject *GetUnchecked(RuntimeArray *a, int32_t index) {
  return Forward<RuntimeObject *>(a, kArrayGetUnchecked, index);
}
void SetUnchecked(RuntimeArray *a, RuntimeObject *value, int32_t index) {
  if (Admits(a, value))
    Forward<void>(a, kArraySetUnchecked, value, index);
}
void Redim(RuntimeArray *a, int32_t bound) { Forward<void>(a, kArrayRedim, bound); }
void Insert(RuntimeArray *a, int32_t index, RuntimeObject *value) {
  if (Admits(a, value))
    Forward<void>(a, kArrayInsert, index, value);
}
void Remove(RuntimeArray *a, int32_t index) { Forward<void>(a, kArrayRemove, index); }
void Sort(RuntimeArray *a) { Forward<void>(a, kArraySort); }
int32_t IndexOf(RuntimeArray *a, RuntimeObject *value, int32_t start) {
  return Forward<int32_t>(a, kArrayIndexOf, value, start);
}
void Shuffle(RuntimeArray *a) { Forward<void>(a, kArrayShuffle); }
int32_t UBound(RuntimeArray *a, int32_t dimension) {
  return Forward<int32_t>(a, kArrayUBound, dimension);
}
void DestroyWrapper(RuntimeArray *a) {
  RuntimeArray *wrapped = AsWrapper(a)->wrapped;
  AsWrapper(a)->wrapped = nullptr;
  RuntimeUnlockArray(wrapped);
}

template <typename F>
void *Slot(F f) {
  return reinterpret_cast<void *>(f);
}

void *const kCastTable[16] = {Slot(&Get),
                              Slot(&Set),
                              Slot(&GetUnchecked),
                              Slot(&SetUnchecked),
                              Slot(&Redim),
                              Slot(&Insert),
                              Slot(&Remove),
                              Slot(&Sort),
                              Slot(&IndexOf),
                              Slot(&Shuffle),
                              Slot(&UBound),
                              nullptr,
                              nullptr,
                              Slot(&DestroyWrapper),
                              nullptr,
                              nullptr};

} // namespace

ArrayMethodTable *ArrayCastMethods() { return &kCastTable; }

extern "C" RuntimeArray *RuntimeCreateArrayCastWrapper(RuntimeArray *array,
                                                       RuntimeClass *elementClass) {
  if (!array)
    return nullptr;
  RuntimeLockArray(array);
  // The wrapper forwards one-dimensional forms only: an array of several
  // dimensions serves as itself.
  if (!elementClass || array->methods == &kCastTable || array->dimensions != 1)
    return array;
  // Released by RuntimeUnlockArray, which frees every array record alike.
  auto *wrapper = static_cast<ArrayCastWrapper *>(std::malloc(sizeof(ArrayCastWrapper)));
  if (!wrapper) {
    RuntimeUnlockArray(array);
    return nullptr;
  }
  *wrapper = {1, &kCastTable, array->buffer, array, elementClass};
  return reinterpret_cast<RuntimeArray *>(wrapper);
}
