// What the array code shares: the element buffer's limits and allocation,
// the index arithmetic of several dimensions, and the alerts of misuse.
#pragma once
#include <cstdint>
#include <vector>

#include "foundation/AssertionAlert.h"
#include "language/RuntimeArray.h"

constexpr int32_t kInitialGrowthStep = 16;
constexpr int32_t kLastDoubledStep = 0x1FFFF; // steps up to this double on growth
constexpr int64_t kLargestBuffer = INT32_MAX; // bufferLength is 32-bit

// The checks of array operations.
inline constexpr const char *kArrayAlertSource = "../Common/RuntimeArrayFoundation";
inline constexpr AlertSite kArraySortAlert{kArrayAlertSource, 268, "1 == array->dimensions"};
inline constexpr AlertSite kArrayInsertAlert{kArrayAlertSource, 364, "1 == array->dimensions"};
inline constexpr AlertSite kArrayRemoveAlert{kArrayAlertSource, 441, "1 == array->dimensions"};
inline constexpr AlertSite kArrayRedimNilAlert{kArrayAlertSource, 611, "array"};
inline constexpr AlertSite kArrayRedimAlert{kArrayAlertSource, 612, "1 == array->dimensions"};
inline constexpr AlertSite kArraySetNilAlert{kArrayAlertSource, 659, "array"};
inline constexpr AlertSite kArrayDestroyNilAlert{kArrayAlertSource, 693, "array"};
inline constexpr AlertSite kArrayTypeAlert{kArrayAlertSource, 1415, "0"};
inline constexpr AlertSite kArrayTypeSeveralAlert{kArrayAlertSource, 1424, "0"};
inline constexpr AlertSite kUBoundAlert{kArrayAlertSource, 1456, "fp"};
inline constexpr AlertSite kUBound2Alert{kArrayAlertSource, 1480, "fp"};

// A zero-filled buffer of length bytes (at least one byte is allocated, so
// an empty array can still own a buffer); nil when memory runs out.
char *AllocateBuffer(int64_t length);

// The product of (bound + 1) over the dimensions.
int64_t ElementCount(const int32_t *bounds, int32_t dimensions);
int64_t LinearPosition(const std::vector<int32_t> &tuple, const std::vector<int32_t> &bounds);
// Whether every index of the tuple lies within the bounds.
bool Keeps(const std::vector<int32_t> &tuple, const std::vector<int32_t> &bounds);

// Calls visit(tuple, linear position) for every index tuple of the bounds,
// first index fastest.
template <typename Visit>
void VisitTuples(const std::vector<int32_t> &bounds, Visit visit) {
  const int64_t count = ElementCount(bounds.data(), int32_t(bounds.size()));
  std::vector<int32_t> tuple(bounds.size(), 0);
  for (int64_t linear = 0; linear < count; ++linear) {
    visit(tuple, linear);
    for (size_t d = 0; d < tuple.size(); ++d) {
      if (++tuple[d] <= bounds[d])
        break;
      tuple[d] = 0;
    }
  }
}
