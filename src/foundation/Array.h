// A growable array of 4-byte items, or of doubles after SetDoubleMode, kept in
// a handle. It grows by a step that doubles up to 4096 elements and returns
// to 16 after a removal. Out-of-range indexes show the assertion alert and
// change nothing.
#pragma once
#include <cstddef>
#include <cstdint>

#include "foundation/AssertionAlert.h"
#include "foundation/QVMemory.h"

// The alerts of refused accesses, one for each operation.
inline constexpr char kArrayAlertSource[] = "../Common/array";
inline constexpr AlertSite kArrayGetElementAlert{kArrayAlertSource, 70, "0"};
inline constexpr AlertSite kArrayGetDoubleAlert{kArrayAlertSource, 80, "0"};
inline constexpr AlertSite kArraySetElementAlert{kArrayAlertSource, 90, "0"};
inline constexpr AlertSite kArraySetDoubleAlert{kArrayAlertSource, 99, "0"};
inline constexpr AlertSite kArrayInsertItemAlert{kArrayAlertSource, 125, "0"};
inline constexpr AlertSite kArrayInsertDoubleAlert{kArrayAlertSource, 151, "0"};
inline constexpr AlertSite kArrayRemoveElementAlert{kArrayAlertSource, 175,
                                                    "not (idx < 0 || idx >= lCount)"};

class Array {
public:
  Array() = default;
  ~Array();
  Array(const Array &) = delete;
  Array &operator=(const Array &) = delete;

  // Elements become doubles (8 bytes each).
  void SetDoubleMode();

  int32_t GetCount() const { return mCount; }
  int32_t GetCapacity() const { return mCapacity; }

  // Count and capacity become n; elements past the old count are zeroed.
  void SetCount(int32_t n);

  void *GetElement(int32_t index) const;        // null when out of range
  double GetDoubleElement(int32_t index) const; // 0.0 when out of range
  void SetElement(int32_t index, void *value);
  void SetDoubleElement(int32_t index, double value);

  // Insert before index, which may be count (appending).
  void InsertItem(int32_t index, void *value);
  void InsertDoubleElement(int32_t index, double value);
  void AppendItem(void *value) { InsertItem(mCount, value); }
  void AppendDoubleElement(double value) { InsertDoubleElement(mCount, value); }

  void RemoveElement(int32_t index);

  // Exchanges two non-overlapping runs of 4-byte elements, moving the
  // elements between them when the runs differ in length.
  void SwapElements(int32_t startA, int32_t lengthA, int32_t startB, int32_t lengthB);

private:
  friend struct ArrayLayout;

  static constexpr int32_t kInitialStep = 16;
  static constexpr int32_t kLargestStep = 4096;

  bool IsDoubleMode() const { return mElementSize == sizeof(double); }
  char *ElementAddress(int32_t index, int32_t width) const { return *mHandle + index * width; }
  // Makes room for one more element and shifts the elements from index on up
  // by one; answers where an element of that width goes.
  char *OpenGap(int32_t index, int32_t width);
  void ResizeHandle(int32_t bytes);

  QV::Handle mHandle = nullptr;
  int32_t mCount = 0;
  int32_t mCapacity = 0;
  int32_t mElementSize = 4;
  int32_t mStep = kInitialStep;
};

struct ArrayLayout {
  static_assert(sizeof(Array) == 20);
  static_assert(offsetof(Array, mHandle) == 0 && offsetof(Array, mCount) == 4);
  static_assert(offsetof(Array, mCapacity) == 8 && offsetof(Array, mElementSize) == 12);
  static_assert(offsetof(Array, mStep) == 16);
};
