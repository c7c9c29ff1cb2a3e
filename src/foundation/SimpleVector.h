// A growable array of T: growth increment, items, count, capacity, in that
// order (a fixed 32-bit layout that other records embed). When full it grows
// by the increment, or by the capacity when the increment is 0, and always by
// at least 16 elements; removals shrink it again when much of it lies unused.
#pragma once
#include <cstddef>
#include <cstdint>
#include <utility>

#include "foundation/AssertionAlert.h"

// The alerts of refused reads, one for each operation.
inline constexpr char kSimpleVectorAlertSource[] = "../Universal/SimpleVector";
inline constexpr AlertSite kSimpleVectorConstIndexAlert{kSimpleVectorAlertSource, 237, "0"};
inline constexpr AlertSite kSimpleVectorPopBackAlert{kSimpleVectorAlertSource, 264, "0"};
inline constexpr AlertSite kSimpleVectorPeekBackAlert{kSimpleVectorAlertSource, 276, "0"};

template <typename T>
class SimpleVector {
public:
  explicit SimpleVector(uint32_t growthIncrement = 0) : mIncrement(growthIncrement) {}
  ~SimpleVector() { delete[] mItems; }
  SimpleVector(const SimpleVector &) = delete;
  SimpleVector &operator=(const SimpleVector &) = delete;

  int32_t count() const { return mCount; }
  int32_t capacity() const { return mCapacity; }
  uint32_t growthIncrement() const { return mIncrement; }
  void setGrowthIncrement(uint32_t increment) { mIncrement = increment; }
  T *begin() { return mItems; }
  T *end() { return mItems + mCount; }
  const T *begin() const { return mItems; }
  const T *end() const { return mItems + mCount; }

  // value may be one of this vector's own elements: it is copied before
  // growing or shifting can move or free it.
  void push_back(const T &value) {
    T copy(value);
    while (mCount >= mCapacity)
      grow();
    mItems[mCount++] = std::move(copy);
  }

  // Inserts before the element at index; index == count appends. Any other
  // index would write outside the elements, so it is refused.
  void insert(const T &value, int32_t index) {
    if (!RUNTIME_CHECK(index >= 0 && index <= mCount))
      return;
    T copy(value);
    while (mCount >= mCapacity)
      grow();
    for (int32_t i = mCount; i > index; --i)
      mItems[i] = std::move(mItems[i - 1]);
    mItems[index] = std::move(copy);
    ++mCount;
  }

  // Makes the capacity n (default-constructed new elements); a smaller n cuts
  // the count too.
  void resize(int32_t n) {
    if (n < 0)
      n = 0;
    if (n == mCapacity)
      return;
    T *items = n ? new T[n] : nullptr;
    int32_t kept = mCount < n ? mCount : n;
    for (int32_t i = 0; i < kept; ++i)
      items[i] = std::move(mItems[i]);
    delete[] mItems;
    mItems = items;
    mCapacity = n;
    if (n < mCount)
      mCount = n;
  }

  void deleteIdx(int32_t index) {
    if (!RUNTIME_CHECK(index >= 0 && index < mCount))
      return;
    for (int32_t i = index; i + 1 < mCount; ++i)
      mItems[i] = std::move(mItems[i + 1]);
    --mCount;
    mItems[mCount] = T(); // the vacated slot lets go of what it held
    shrinkAfterRemoval();
  }

  T pop_back() {
    if (mCount <= 0 || mCount > mCapacity) {
      ShowAlert(kSimpleVectorPopBackAlert);
      return T();
    }
    --mCount;
    T last = std::move(mItems[mCount]);
    mItems[mCount] = T();
    return last;
  }

  T peek_back() const {
    if (mCount <= 0 || mCount > mCapacity) {
      ShowAlert(kSimpleVectorPeekBackAlert);
      return T();
    }
    return mItems[mCount - 1];
  }

  // Any element within the capacity, in use or not.
  const T &operator[](int32_t index) const {
    if (index < 0 || index >= mCapacity) {
      ShowAlert(kSimpleVectorConstIndexAlert);
      return Discarded();
    }
    return mItems[index];
  }

  // An element within the capacity; reaching past the count extends the count
  // to it (callers size the vector with resize first). An index outside the
  // capacity is refused: the caller gets a scratch element that nothing else
  // sees, rather than memory past the array.
  T &operator[](int32_t index) {
    if (!RUNTIME_CHECK(index >= 0 && index < mCapacity))
      return Discarded();
    if (index >= mCount)
      mCount = index + 1;
    return mItems[index];
  }

private:
  friend struct SimpleVectorLayout;

  static constexpr uint32_t kMinimumGrowth = 16;

  void grow() {
    uint32_t step = mIncrement ? mIncrement : static_cast<uint32_t>(mCapacity);
    if (step < kMinimumGrowth)
      step = kMinimumGrowth;
    resize(mCapacity + static_cast<int32_t>(step));
  }

  void shrinkAfterRemoval() {
    int32_t unused = mCapacity - mCount;
    if (mIncrement) {
      int32_t g = static_cast<int32_t>(mIncrement);
      if (unused > 2 * g)
        resize(g * (mCount / g + 1));
    } else if (unused > 2 * mCount) {
      resize((mCount & ~15) + 16);
    }
  }

  static T &Discarded() {
    static T sDiscarded;
    sDiscarded = T();
    return sDiscarded;
  }

  uint32_t mIncrement;
  T *mItems = nullptr;
  int32_t mCount = 0;
  int32_t mCapacity = 0;
};

struct SimpleVectorLayout {
  static_assert(sizeof(SimpleVector<void *>) == 16);
  static_assert(offsetof(SimpleVector<void *>, mIncrement) == 0);
  static_assert(offsetof(SimpleVector<void *>, mItems) == 4);
  static_assert(offsetof(SimpleVector<void *>, mCount) == 8);
  static_assert(offsetof(SimpleVector<void *>, mCapacity) == 12);
};
