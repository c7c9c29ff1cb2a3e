// The eleven method tables of arrays but the cast wrapper's: one- and
// multi-dimensional for each element type. Every slot is a plain cdecl
// function whose arguments compiled code pushes in the slot's fixed order.
#include <cstdarg>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <type_traits>
#include <vector>

#include "foundation/RuntimeMath.h"
#include "foundation/String.h"
#include "language/ArrayStorage.h"
#include "language/LanguageExceptions.h"
#include "runtime/exceptions/RuntimeExceptions.h"
#include "runtime/exceptions/StackCheck.h"
#include "runtime/exceptions/Unwinder.h"
#include "runtime/objects/RuntimeObject.h"
#include "runtime/objects/ValueEntryPoints.h"

namespace {

// Numbers order and match as numbers: no value equals a NaN, 0 equals -0.
template <typename N>
struct NumberElement {
  using T = N;
  static constexpr bool kSortable = true;
  static bool Less(T a, T b) { return a < b; }
  static bool Equal(T a, T b) { return a == b; }
  static void Retain(T) {}
  static void Release(T) {}
};
using IntegerElement = NumberElement<int32_t>;
using SingleElement = NumberElement<float>;
using DoubleElement = NumberElement<double>;

// Texts order and match without regard to case.
struct StringElement {
  using T = stringStorage *;
  static constexpr bool kSortable = true;
  static int Compare(T a, T b) {
    if (a == b)
      return 0;
    return string::Borrow(a).Compare(string::Borrow(b));
  }
  static bool Less(T a, T b) { return Compare(a, b) < 0; }
  static bool Equal(T a, T b) { return Compare(a, b) == 0; }
  static void Retain(T s) { RuntimeLockString(s); }
  static void Release(T s) { RuntimeUnlockString(s); }
};

// Objects have no order, and match only themselves.
struct ObjectElement {
  using T = RuntimeObject *;
  static constexpr bool kSortable = false;
  static bool Equal(T a, T b) { return a == b; }
  static void Retain(T o) { RuntimeLockObject(o); }
  static void Release(T o) { RuntimeUnlockObject(o); }
};

template <class E>
struct Ops {
  using T = typename E::T;
  static constexpr int32_t kWidth = sizeof(T);

  static T *Elements(RuntimeArray *a) { return reinterpret_cast<T *>(a->buffer); }

  // The array's reference goes in before the old element's goes out, and the
  // release comes last, so a destructor it runs sees the array whole.
  static void Store(RuntimeArray *a, int64_t position, T value) {
    E::Retain(value);
    T old = Elements(a)[position];
    Elements(a)[position] = value;
    E::Release(old);
  }

  static T Fetch(RuntimeArray *a, int64_t position) {
    T value = Elements(a)[position];
    E::Retain(value);
    return value;
  }

  static bool InBounds(RuntimeArray *a, int32_t index) {
    return index >= 0 && index <= a->upperBounds[0];
  }

  // The linear position of the index tuple in args; false for an index
  // outside its dimension when checked.
  static bool Position(RuntimeArray *a, va_list args, bool checked, int64_t *position) {
    int64_t linear = 0, stride = 1;
    for (int32_t d = 0; d < a->dimensions; ++d) {
      int32_t index = va_arg(args, int32_t);
      if (checked && (index < 0 || index > a->upperBounds[d]))
        return false;
      linear += index * stride;
      stride *= int64_t(a->upperBounds[d]) + 1;
    }
    *position = linear;
    return true;
  }

  // Slots 0 to 3, one dimension; the unchecked forms trust the index.
  template <bool kChecked>
  static T Get(RuntimeArray *a, int32_t index) {
    if (!a) {
      RaiseNilObject();
      return T();
    }
    if (kChecked && !InBounds(a, index)) {
      RaiseOutOfBounds();
      return T();
    }
    return Fetch(a, index);
  }
  template <bool kChecked>
  static void Set(RuntimeArray *a, T value, int32_t index) {
    if (!a) {
      ShowAlert(kArraySetNilAlert);
      return;
    }
    if (kChecked && !InBounds(a, index)) {
      RaiseOutOfBounds();
      return;
    }
    Store(a, index, value);
  }

  // Slots 0 to 3, several dimensions: one index per dimension follows.
  template <bool kChecked>
  static T GetN(RuntimeArray *a, ...) {
    if (!a) {
      RaiseNilObject();
      return T();
    }
    va_list args;
    va_start(args, a);
    int64_t position = 0;
    const bool ok = Position(a, args, kChecked, &position);
    va_end(args);
    if (!ok) {
      RaiseOutOfBounds();
      return T();
    }
    return Fetch(a, position);
  }
  template <bool kChecked>
  static void SetN(RuntimeArray *a, T value, ...) {
    if (!a) {
      ShowAlert(kArraySetNilAlert);
      return;
    }
    va_list args;
    va_start(args, value);
    int64_t position = 0;
    const bool ok = Position(a, args, kChecked, &position);
    va_end(args);
    if (!ok) {
      RaiseOutOfBounds();
      return;
    }
    Store(a, position, value);
  }

  // Slot 4, one dimension. The new buffer is in place before the elements cut
  // off are released.
  static void Redim(RuntimeArray *a, int32_t bound) {
    if (!a) {
      ShowAlert(kArrayRedimNilAlert);
      return;
    }
    if (a->dimensions != 1) {
      ShowAlert(kArrayRedimAlert);
      return;
    }
    if (bound < -1)
      bound = -1;
    const int32_t oldBound = a->upperBounds[0];
    if (bound == oldBound)
      return;
    const int64_t length = (int64_t(bound) + 1) * kWidth;
    char *buffer = length <= kLargestBuffer ? AllocateBuffer(length) : nullptr;
    if (!buffer) {
      RaiseOutOfMemory();
      return;
    }
    // Only the elements in use move: the rest of the new buffer stays zero
    // (spare room left by Insert holds no elements).
    char *old = a->buffer;
    const int64_t kept = int64_t(bound < oldBound ? bound : oldBound) + 1;
    if (old && kept > 0)
      std::memcpy(buffer, old, size_t(kept) * kWidth);
    a->buffer = buffer;
    a->bufferLength = int32_t(length);
    a->growthStep = kInitialGrowthStep;
    a->upperBounds[0] = bound;
    if (old)
      for (int32_t i = bound + 1; i <= oldBound; ++i)
        E::Release(reinterpret_cast<T *>(old)[i]);
    std::free(old);
  }

  // Slot 4, several dimensions: one new bound per dimension follows. Elements
  // keep their index tuples.
  static void RedimN(RuntimeArray *a, ...) {
    if (!a) {
      ShowAlert(kArrayRedimNilAlert);
      return;
    }
    const int32_t dims = a->dimensions;
    std::vector<int32_t> newBounds(static_cast<size_t>(dims));
    const std::vector<int32_t> oldBounds(a->upperBounds, a->upperBounds + dims);
    va_list args;
    va_start(args, a);
    for (int32_t &bound : newBounds) {
      bound = va_arg(args, int32_t);
      if (bound < -1)
        bound = -1;
    }
    va_end(args);
    const int64_t length = ElementCount(newBounds.data(), dims) * kWidth;
    char *buffer = nullptr;
    if (length > kLargestBuffer || (length > 0 && !(buffer = AllocateBuffer(length)))) {
      RaiseOutOfMemory();
      return;
    }
    char *old = a->buffer;
    if (old)
      VisitTuples(oldBounds, [&](const std::vector<int32_t> &tuple, int64_t from) {
        if (Keeps(tuple, newBounds))
          reinterpret_cast<T *>(buffer)[LinearPosition(tuple, newBounds)] =
              reinterpret_cast<T *>(old)[from];
      });
    a->buffer = buffer;
    a->bufferLength = int32_t(length > 0 ? length : 0);
    a->growthStep = kInitialGrowthStep;
    for (int32_t d = 0; d < dims; ++d)
      a->upperBounds[d] = newBounds[size_t(d)];
    if (old)
      VisitTuples(oldBounds, [&](const std::vector<int32_t> &tuple, int64_t from) {
        if (!Keeps(tuple, newBounds))
          E::Release(reinterpret_cast<T *>(old)[from]);
      });
    std::free(old);
  }

  // Slot 5. The buffer grows by the growth step, or further when that is
  // still short, and the step doubles up to 131,072 elements.
  static void Insert(RuntimeArray *a, int32_t index, T value) {
    if (!a) {
      RaiseNilObject();
      return;
    }
    if (a->dimensions != 1) {
      ShowAlert(kArrayInsertAlert);
      return;
    }
    const int32_t bound = a->upperBounds[0];
    if (index < 0 || index > bound + 1) {
      RaiseOutOfBounds();
      return;
    }
    T *elements = Elements(a);
    const int64_t needed = (int64_t(bound) + 2) * kWidth;
    if (a->bufferLength < needed) {
      int64_t length = int64_t(a->bufferLength) + int64_t(a->growthStep) * kWidth;
      if (length < needed || length > kLargestBuffer)
        length = needed;
      T *grown = length <= kLargestBuffer ? Grow(elements, length, index, bound) : nullptr;
      if (!grown) {
        RaiseOutOfMemory();
        return;
      }
      if (a->growthStep <= kLastDoubledStep)
        a->growthStep *= 2;
      a->buffer = reinterpret_cast<char *>(grown);
      a->bufferLength = int32_t(length);
      elements = grown;
    } else {
      std::memmove(elements + index + 1, elements + index, size_t(bound + 1 - index) * kWidth);
    }
    a->upperBounds[0] = bound + 1;
    E::Retain(value);
    elements[index] = value;
  }

  // A buffer of length bytes holding the elements 0 ... bound with a gap at
  // index; the old buffer is freed. Nil, the old buffer kept, when memory
  // runs out. Spare room is left unset: it holds no elements.
  static T *Grow(T *elements, int64_t length, int32_t index, int32_t bound) {
    if (index == bound + 1) // appending: the C library may extend in place
      return static_cast<T *>(std::realloc(elements, size_t(length)));
    T *grown = static_cast<T *>(std::malloc(size_t(length)));
    if (grown && elements) {
      std::memcpy(grown, elements, size_t(index) * kWidth);
      std::memcpy(grown + index + 1, elements + index, size_t(bound + 1 - index) * kWidth);
    }
    if (grown)
      std::free(elements);
    return grown;
  }

  // Slot 6. The gap closes before the removed element is released.
  static void Remove(RuntimeArray *a, int32_t index) {
    if (!a) {
      RaiseOutOfBounds();
      return;
    }
    if (a->dimensions != 1) {
      ShowAlert(kArrayRemoveAlert);
      return;
    }
    const int32_t bound = a->upperBounds[0];
    if (!InBounds(a, index)) {
      RaiseOutOfBounds();
      return;
    }
    const int64_t length = int64_t(bound) * kWidth;
    T *shrunk = reinterpret_cast<T *>(AllocateBuffer(length));
    if (!shrunk) {
      RaiseOutOfMemory();
      return;
    }
    T *elements = Elements(a);
    T removed = elements[index];
    std::memcpy(shrunk, elements, size_t(index) * kWidth);
    std::memcpy(shrunk + index, elements + index + 1, size_t(bound - index) * kWidth);
    a->buffer = reinterpret_cast<char *>(shrunk);
    a->bufferLength = int32_t(length);
    a->growthStep = kInitialGrowthStep;
    a->upperBounds[0] = bound - 1;
    std::free(elements);
    E::Release(removed);
  }

  // Slot 7: a three-way quicksort. It recurses into the smaller part and
  // loops on the larger, so the depth stays logarithmic whatever the pivots.
  static void Sort(RuntimeArray *a) {
    if (!a || !a->buffer || a->upperBounds[0] < 0)
      return;
    if (a->dimensions != 1) {
      ShowAlert(kArraySortAlert);
      return;
    }
    QuickSort(Elements(a), 0, a->upperBounds[0]);
  }

  // False when the stack check raised: the exception is on its way up.
  static bool QuickSort(T *e, int32_t lo, int32_t hi) {
    for (;;) {
      RuntimeStackCheck();
      if (ExceptionArmedAbove(CURRENT_FRAME()))
        return false;
      if (hi - lo < kInsertionSortLength) {
        InsertionSort(e, lo, hi);
        return true;
      }
      const T pivot = e[lo + (hi - lo) / 2];
      int32_t less = lo, i = lo, j = hi;
      while (j >= i) {
        if (E::Less(pivot, e[j])) {
          --j;
          continue;
        }
        if (E::Less(e[j], pivot)) {
          // Swapping i with j and then i with less, in one rotation.
          const T below = e[j];
          e[j] = e[i];
          e[i] = e[less];
          e[less++] = below;
        } else {
          Swap(e, i, j);
        }
        ++i;
      }
      // lo .. less-1 below the pivot, less .. j equal, j+1 .. hi above.
      if (less - lo < hi - j) {
        if (!QuickSort(e, lo, less - 1))
          return false;
        lo = j + 1;
      } else {
        if (!QuickSort(e, j + 1, hi))
          return false;
        hi = less - 1;
      }
    }
  }

  // Short ranges sort faster by insertion than by partitioning.
  static constexpr int32_t kInsertionSortLength = 12;
  static void InsertionSort(T *e, int32_t lo, int32_t hi) {
    for (int32_t i = lo + 1; i <= hi; ++i) {
      const T value = e[i];
      int32_t j = i;
      for (; j > lo && E::Less(value, e[j - 1]); --j)
        e[j] = e[j - 1];
      e[j] = value;
    }
  }

  static void Swap(T *e, int32_t i, int32_t j) {
    T t = e[i];
    e[i] = e[j];
    e[j] = t;
  }

  // Slot 8. A start of -1 searches from the first element.
  static int32_t IndexOf(RuntimeArray *a, T value, int32_t start) {
    if (!a || !a->buffer || a->upperBounds[0] < 0)
      return -1;
    const int32_t bound = a->upperBounds[0];
    if (start < -1 || start > bound) {
      RaiseOutOfBounds();
      return -1;
    }
    E::Retain(value);
    int32_t found = -1;
    for (int32_t i = start < 0 ? 0 : start; i <= bound; ++i)
      if (E::Equal(Elements(a)[i], value)) {
        found = i;
        break;
      }
    E::Release(value);
    return found;
  }

  // Slot 9, any number of dimensions.
  static void Shuffle(RuntimeArray *a) {
    if (!a || !a->buffer || a->upperBounds[0] <= 0)
      return;
    const int64_t count = ElementCount(a->upperBounds, a->dimensions);
    T *e = Elements(a);
    for (int64_t k = count - 1; k >= 1; --k) {
      int64_t j = int64_t(rnd() * double(k + 1));
      T t = e[k];
      e[k] = e[j];
      e[j] = t;
    }
  }

  // Slot 13.
  static void DestroyElements(RuntimeArray *a) {
    if (!a) {
      ShowAlert(kArrayDestroyNilAlert);
      return;
    }
    if (!a->buffer)
      return;
    T *e = Elements(a);
    const int64_t count = ElementCount(a->upperBounds, a->dimensions);
    a->buffer = nullptr;
    for (int64_t i = 0; i < count; ++i)
      E::Release(e[i]);
    std::free(e);
  }

  static void *SortSlot() {
    if constexpr (E::kSortable)
      return reinterpret_cast<void *>(&Sort);
    else
      return nullptr;
  }
};

// Slot 10, shared by every table.
int32_t UBoundSlot(RuntimeArray *a, int32_t dimension) {
  if (dimension == -1)
    return a->dimensions;
  if (dimension < 1 || dimension > a->dimensions) {
    RaiseOutOfBounds();
    return -1;
  }
  return a->upperBounds[dimension - 1];
}

template <typename F>
void *Slot(F f) {
  return reinterpret_cast<void *>(f);
}

// Slots 11 and 12: the reference functions of counted elements.
template <class E>
void *RetainSlot() {
  if constexpr (std::is_same_v<E, StringElement>)
    return Slot(&RuntimeLockString);
  else if constexpr (std::is_same_v<E, ObjectElement>)
    return Slot(&RuntimeLockObject);
  else
    return nullptr;
}
template <class E>
void *ReleaseSlot() {
  if constexpr (std::is_same_v<E, StringElement>)
    return Slot(&RuntimeUnlockString);
  else if constexpr (std::is_same_v<E, ObjectElement>)
    return Slot(&RuntimeUnlockObject);
  else
    return nullptr;
}

template <class E>
struct Tables {
  using O = Ops<E>;
  static inline void *const kOneDimension[16] = {Slot(&O::template Get<true>),
                                                 Slot(&O::template Set<true>),
                                                 Slot(&O::template Get<false>),
                                                 Slot(&O::template Set<false>),
                                                 Slot(&O::Redim),
                                                 Slot(&O::Insert),
                                                 Slot(&O::Remove),
                                                 O::SortSlot(),
                                                 Slot(&O::IndexOf),
                                                 Slot(&O::Shuffle),
                                                 Slot(&UBoundSlot),
                                                 RetainSlot<E>(),
                                                 ReleaseSlot<E>(),
                                                 Slot(&O::DestroyElements),
                                                 nullptr,
                                                 nullptr};
  static inline void *const kSeveralDimensions[16] = {Slot(&O::template GetN<true>),
                                                      Slot(&O::template SetN<true>),
                                                      Slot(&O::template GetN<false>),
                                                      Slot(&O::template SetN<false>),
                                                      Slot(&O::RedimN),
                                                      nullptr,
                                                      nullptr,
                                                      nullptr,
                                                      nullptr,
                                                      Slot(&O::Shuffle),
                                                      Slot(&UBoundSlot),
                                                      RetainSlot<E>(),
                                                      ReleaseSlot<E>(),
                                                      Slot(&O::DestroyElements),
                                                      nullptr,
                                                      nullptr};
};

template <class E>
ArrayMethodTable *TableOf(bool oneDimension) {
  return oneDimension ? &Tables<E>::kOneDimension : &Tables<E>::kSeveralDimensions;
}

} // namespace

ArrayMethodTable *ArrayMethodsFor(int32_t elementType, bool oneDimension) {
  switch (elementType) {
  case kIntegerElements:
    return TableOf<IntegerElement>(oneDimension);
  case kSingleElements:
    return TableOf<SingleElement>(oneDimension);
  case kDoubleElements:
    return TableOf<DoubleElement>(oneDimension);
  case kStringElements:
    return TableOf<StringElement>(oneDimension);
  case kObjectElements:
    return TableOf<ObjectElement>(oneDimension);
  default:
    return nullptr;
  }
}
