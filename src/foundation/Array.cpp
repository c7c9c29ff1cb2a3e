#include "foundation/Array.h"

#include <cstring>
#include <vector>

namespace {
constexpr int32_t kItemSize = sizeof(uint32_t);
constexpr int32_t kDoubleSize = sizeof(double);
} // namespace

Array::~Array() { QV::DisposeHandle(mHandle); }

void Array::ResizeHandle(int32_t bytes) {
  if (mHandle)
    QV::SetHandleSize(mHandle, bytes);
  else
    mHandle = QV::NewHandle(bytes);
}

// Existing storage is widened with the elements, so that the wider accesses
// stay inside the handle.
void Array::SetDoubleMode() {
  if (IsDoubleMode())
    return;
  mElementSize = kDoubleSize;
  if (mHandle)
    ResizeHandle(mCapacity * mElementSize);
}

void Array::SetCount(int32_t n) {
  if (n < 0)
    n = 0;
  ResizeHandle(n * mElementSize);
  if (n > mCount)
    std::memset(ElementAddress(mCount, mElementSize), 0,
                static_cast<size_t>((n - mCount) * mElementSize));
  mCount = mCapacity = n;
}

void *Array::GetElement(int32_t index) const {
  if (index < 0 || index >= mCount) {
    ShowAlert(kArrayGetElementAlert);
    return nullptr;
  }
  void *value;
  std::memcpy(&value, ElementAddress(index, kItemSize), kItemSize);
  return value;
}

double Array::GetDoubleElement(int32_t index) const {
  if (index < 0 || index >= mCount || !IsDoubleMode()) {
    ShowAlert(kArrayGetDoubleAlert);
    return 0.0;
  }
  double value;
  std::memcpy(&value, ElementAddress(index, kDoubleSize), kDoubleSize);
  return value;
}

void Array::SetElement(int32_t index, void *value) {
  if (index < 0 || index >= mCount) {
    ShowAlert(kArraySetElementAlert);
    return;
  }
  std::memcpy(ElementAddress(index, kItemSize), &value, kItemSize);
}

void Array::SetDoubleElement(int32_t index, double value) {
  if (index < 0 || index >= mCount || !IsDoubleMode()) {
    ShowAlert(kArraySetDoubleAlert);
    return;
  }
  std::memcpy(ElementAddress(index, kDoubleSize), &value, kDoubleSize);
}

// The handle is sized by the array's own element size, whatever the width of
// the element being inserted.
char *Array::OpenGap(int32_t index, int32_t width) {
  if (mCount == mCapacity) {
    mCapacity += mStep;
    if (mStep < kLargestStep)
      mStep *= 2;
    ResizeHandle(mCapacity * mElementSize);
  }
  char *gap = ElementAddress(index, width);
  std::memmove(gap + width, gap, static_cast<size_t>((mCount - index) * width));
  ++mCount;
  return gap;
}

void Array::InsertItem(int32_t index, void *value) {
  if (index < 0 || index > mCount) {
    ShowAlert(kArrayInsertItemAlert);
    return;
  }
  std::memcpy(OpenGap(index, kItemSize), &value, kItemSize);
}

// Doubles need the array's 8-byte elements; in a 4-byte array they would
// reach past the handle.
void Array::InsertDoubleElement(int32_t index, double value) {
  if (index < 0 || index > mCount || !IsDoubleMode()) {
    ShowAlert(kArrayInsertDoubleAlert);
    return;
  }
  std::memcpy(OpenGap(index, kDoubleSize), &value, kDoubleSize);
}

void Array::RemoveElement(int32_t index) {
  if (index < 0 || index >= mCount) {
    ShowAlert(kArrayRemoveElementAlert);
    return;
  }
  char *gap = ElementAddress(index, mElementSize);
  std::memmove(gap, gap + mElementSize, static_cast<size_t>((mCount - index - 1) * mElementSize));
  --mCount;
  mStep = kInitialStep;
}

void Array::SwapElements(int32_t startA, int32_t lengthA, int32_t startB, int32_t lengthB) {
  auto inside = [this](int32_t start, int32_t length) {
    return start >= 0 && length >= 0 && length <= mCount - start;
  };
  // Checked only once both runs lie inside, where the sums cannot overflow.
  auto disjoint = [&] { return startA + lengthA <= startB || startB + lengthB <= startA; };
  if (!RUNTIME_CHECK(inside(startA, lengthA) && inside(startB, lengthB) && disjoint()))
    return;
  if (lengthA == 0 && lengthB == 0)
    return; // nothing moves, and an empty array may have no handle yet

  // [first][between][second] becomes [second][between][first].
  bool aFirst = startA < startB;
  int32_t firstStart = aFirst ? startA : startB, firstLength = aFirst ? lengthA : lengthB;
  int32_t secondStart = aFirst ? startB : startA, secondLength = aFirst ? lengthB : lengthA;
  auto at = [this](int32_t index) { return ElementAddress(index, kItemSize); };

  std::vector<char> first(at(firstStart), at(firstStart + firstLength));
  std::vector<char> second(at(secondStart), at(secondStart + secondLength));
  int32_t betweenStart = firstStart + firstLength;
  std::memmove(at(firstStart + secondLength), at(betweenStart),
               static_cast<size_t>((secondStart - betweenStart) * kItemSize));
  std::memcpy(at(firstStart), second.data(), second.size());
  std::memcpy(at(secondStart + secondLength - firstLength), first.data(), first.size());
}
