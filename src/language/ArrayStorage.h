// What the array code shares: the element buffer's limits and allocation,
// the index arithmetic of several dimensions, and the alerts of misuse.
#pragma once
#include <cstdint>
#include <vector>

#include "language/RuntimeArray.h"

constexpr int32_t kInitialGrowthStep = 16;
constexpr int32_t kLastDoubledStep = 0x1FFFF; // steps up to this double on growth
constexpr int64_t kLargestBuffer = INT32_MAX;  // bufferLength is 32-bit

// Lines the array alerts name.
constexpr int32_t kSortLine = 268;
constexpr int32_t kInsertLine = 364;
constexpr int32_t kRemoveLine = 441;
constexpr int32_t kRedimNilLine = 611;
constexpr int32_t kRedimLine = 612;
constexpr int32_t kSetLine = 659;
constexpr int32_t kDestroyLine = 693;
constexpr int32_t kUnknownTypeLine = 1415;
constexpr int32_t kUnknownTypeSeveralLine = 1424;
constexpr int32_t kUBoundLine = 1456;
constexpr int32_t kUBound2Line = 1480;

void ArrayAlert(int32_t line, const char *condition);

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
template <typename Visit> void VisitTuples(const std::vector<int32_t> &bounds, Visit visit) {
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
