#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "foundation/RuntimeMath.h"

namespace {
const double kNaN = std::numeric_limits<double>::quiet_NaN();
}

TEST(RuntimeMath, DomainsAndSpecialValues) {
  EXPECT_TRUE(std::isnan(RuntimeACos(2)));
  EXPECT_TRUE(std::isnan(RuntimeASin(-1.5)));
  EXPECT_TRUE(std::isnan(RuntimeSqrt(-1)));
  EXPECT_DOUBLE_EQ(RuntimeACos(-1), M_PI);
  EXPECT_DOUBLE_EQ(RuntimeATan(1), M_PI / 4);
  EXPECT_DOUBLE_EQ(RuntimeATan2(-1, -1), -3 * M_PI / 4);
  EXPECT_TRUE(std::isinf(RuntimeLog(0)));
  EXPECT_EQ(RuntimeRound(2.5), 3);
  EXPECT_EQ(RuntimeRound(-2.5), -3);
  EXPECT_EQ(RuntimeAbs(-0.5), 0.5);
  EXPECT_EQ(RuntimeCeil(-1.5), -1);
  EXPECT_EQ(RuntimeFloor(-1.5), -2);
}

TEST(RuntimeMath, SignMaxAndMinWithNaN) {
  EXPECT_EQ(RuntimeSign(-0.0), 0);
  EXPECT_EQ(RuntimeSign(kNaN), 0);
  EXPECT_EQ(RuntimeSign(-3), -1);
  EXPECT_EQ(RuntimeSign(1e-300), 1);
  EXPECT_EQ(RuntimeMax(kNaN, 1), 1);
  EXPECT_TRUE(std::isnan(RuntimeMax(1, kNaN)));
  EXPECT_EQ(RuntimeMin(kNaN, 1), 1);
  EXPECT_EQ(RuntimeMax(2, 3), 3);
  EXPECT_EQ(RuntimeMin(2, 3), 2);
}

TEST(RuntimeMath, Bitwise) {
  EXPECT_EQ(BitwiseAnd(0x0FF0, 0x00FF), 0x00F0);
  EXPECT_EQ(BitwiseOr(int32_t(0x80000000), 1), int32_t(0x80000001));
  EXPECT_EQ(BitwiseXor(-1, 0x0F), -16);
}

TEST(RandomGenerator, SeededSequenceFollowsTheMinimalStandard) {
  srnd(1);
  EXPECT_EQ(rnd(), 16807 / 1048576.0);
  // The second seed is 16807 * 16807 = 282475249; its low 20 bits give rnd.
  EXPECT_EQ(rnd(), (282475249 & 0xFFFFF) / 1048576.0);
  EXPECT_EQ(srnd(0), 282475249);
  double value = rnd(); // seeds itself from the clock again
  EXPECT_GE(value, 0.0);
  EXPECT_LT(value, 1.0);
  EXPECT_NE(srnd(7), 0);
  EXPECT_EQ(srnd(1e30), 7); // a seed no integer holds becomes 0, not undefined
  for (int i = 0; i < 1000; ++i) {
    double r = rnd();
    ASSERT_GE(r, 0.0);
    ASSERT_LT(r, 1.0);
    ASSERT_EQ(r * 1048576.0, std::floor(r * 1048576.0));
  }
}
