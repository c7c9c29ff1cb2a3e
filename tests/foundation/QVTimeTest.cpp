#include <gtest/gtest.h>

#include <time.h>

#include "foundation/QVTime.h"

// Ticks count the monotonic clock at 60 per second, from 64-bit arithmetic
// (a long uptime used to overflow the 32-bit product), never going backwards.
TEST(QVTime, TickCountFollowsTheMonotonicClock) {
  timespec before;
  clock_gettime(CLOCK_MONOTONIC, &before);
  uint32_t ticks = QV::TickCount();
  timespec after;
  clock_gettime(CLOCK_MONOTONIC, &after);
  auto expected = [](const timespec &t) {
    return static_cast<uint32_t>(uint64_t(t.tv_sec) * 60 + uint64_t(t.tv_nsec) * 60 / 1000000000);
  };
  EXPECT_GE(ticks, expected(before));
  EXPECT_LE(ticks, expected(after));

  uint32_t previous = QV::TickCount();
  for (int i = 0; i < 1000; ++i) {
    uint32_t now = QV::TickCount();
    ASSERT_GE(now, previous);
    previous = now;
  }
}
