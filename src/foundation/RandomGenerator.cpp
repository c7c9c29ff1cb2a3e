// The shared random generator: the minimal standard generator (multiplier
// 16807, modulus 2^31 - 1), computed with Schrage's decomposition so that no
// product leaves 32 bits.
#include <cmath>
#include <ctime>

#include "foundation/RuntimeMath.h"

namespace {
constexpr int32_t kMultiplier = 16807;
constexpr int32_t kModulus = 2147483647;
constexpr int32_t kQuotient = 127773; // kModulus / kMultiplier
constexpr int32_t kRemainder = 2836;  // kModulus % kMultiplier
constexpr int kDrawsDiscardedAfterClockSeed = 7;

int32_t sSeed = 0; // 0: not seeded yet

int32_t Draw() {
  int32_t hi = sSeed / kQuotient;
  int32_t lo = sSeed % kQuotient;
  sSeed = kMultiplier * lo - kRemainder * hi;
  if (sSeed <= 0)
    sSeed += kModulus;
  return sSeed & 0x7FFFFFFF;
}

void SeedFromClock() {
  sSeed = static_cast<int32_t>(std::time(nullptr) & 0x7FFFFFFF);
  if (sSeed == 0)
    sSeed = 1;
  for (int i = 0; i < kDrawsDiscardedAfterClockSeed; ++i)
    Draw();
}

// Truncation toward zero, wrapped to 32 bits; values no integer can hold
// (NaN, infinities, beyond 2^63) give 0 rather than undefined behaviour.
int32_t TruncateTo32Bits(double x) {
  if (!std::isfinite(x) || std::fabs(x) >= 9.2e18)
    return 0;
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<int64_t>(x)));
}
} // namespace

extern "C" {

double rnd() {
  if (sSeed == 0)
    SeedFromClock();
  return (Draw() & 0xFFFFF) * (1.0 / 1048576.0);
}

int32_t srnd(double x) {
  int32_t previous = sSeed;
  sSeed = TruncateTo32Bits(x);
  return previous;
}
}
