#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "LanguageFixtures.h"
#include "language/Random.h"
#include "runtime/objects/ClassRegistry.h"
#include "runtime/objects/ValueAccessors.h"

namespace {

// The generator written with 64-bit arithmetic throughout: each product and
// each sum taken exactly, then reduced as the generator reduces it (the sum
// wraps at 32 bits first).
std::vector<double> Reference(double seed, int count) {
  uint64_t t[55];
  t[0] = uint64_t(int64_t(seed)) & 0xFFFFFFFFu;
  for (int i = 1; i < 55; ++i)
    t[i] = (t[i - 1] * 31415821u + 1u) % 100000000u;
  std::vector<double> numbers;
  for (int j = 55, n = 0; n < count; ++n) {
    j = (j + 1) % 55;
    t[j] = ((t[(j + 54) % 55] + t[(j + 23) % 55]) & 0xFFFFFFFFu) % 100000000u;
    numbers.push_back(double(t[j]) / 1e8);
  }
  return numbers;
}

class Randoms : public LanguageTest {
protected:
  ~Randoms() override { RuntimeUnlockObject(mRandom); }
  std::vector<double> Numbers(int count) {
    std::vector<double> numbers;
    for (int i = 0; i < count; ++i)
      numbers.push_back(RandomNumber(mRandom));
    return numbers;
  }
  RuntimeObject *mRandom = RuntimeNewObject(LookupObjectDefinition(RandomClass()));
};

TEST_F(Randoms, SeededSequencesMatchTheExactReference) {
  for (double seed : {12345.0, 4e9}) {
    RandomSeedSetter(mRandom, 0, seed);
    EXPECT_EQ(doubleGetter(mRandom, 248), seed);
    EXPECT_EQ(Numbers(60), Reference(seed, 60)) << seed;
    RandomSeedSetter(mRandom, 0, seed);
    EXPECT_EQ(Numbers(3), Reference(seed, 3)) << "assigning the seed restarts";
  }
}

TEST_F(Randoms, SeedsWithoutAnIntegerPartStartFromZero) {
  for (double seed : {double(NAN), double(INFINITY), 1e30}) {
    RandomSeedSetter(mRandom, 0, seed);
    EXPECT_EQ(reinterpret_cast<RandomObject *>(mRandom)->table[0], 0u) << seed;
    EXPECT_EQ(Numbers(5), Reference(0, 5));
  }
}

TEST_F(Randoms, RangesStayWithinTheirBounds) {
  RandomSeedSetter(mRandom, 0, 99);
  for (int i = 0; i < 2000; ++i) {
    const double n = RandomNumber(mRandom);
    ASSERT_TRUE(n >= 0 && n < 1);
    const int32_t less = RandomNumberLessThan(mRandom, 10);
    ASSERT_TRUE(less >= 0 && less <= 9);
    const int32_t negative = RandomNumberInRangeMinMax(mRandom, -3, -1);
    ASSERT_TRUE(negative >= -3 && negative <= -1) << negative;
    const int32_t wide = RandomNumberInRangeMinMax(mRandom, INT32_MIN, INT32_MAX);
    (void)wide; // spans 2^32 values without overflowing the span
  }
  // For min >= 0 flooring and truncating agree: the sequence is as before.
  RandomSeedSetter(mRandom, 0, 5);
  const std::vector<double> reference = Reference(5, 20);
  for (double n : reference)
    EXPECT_EQ(RandomNumberInRangeMinMax(mRandom, 3, 12), int32_t(n * 10 + 3));
}

// A new Random takes its seed from the clock: objects made at different
// clock readings start different sequences, each the one its seed gives.
TEST_F(Randoms, NewRandomsSeedThemselves) {
  auto *first = reinterpret_cast<RandomObject *>(mRandom);
  EXPECT_EQ(first->position, 55);
  EXPECT_EQ(first->table[0], uint32_t(int64_t(first->seed)));
  EXPECT_EQ(Numbers(5), Reference(first->seed, 5));
  // The clock moves on; a later object has another seed (bounded wait).
  RuntimeObject *later = nullptr;
  for (int attempt = 0; attempt < 100000; ++attempt) {
    later = RuntimeNewObject(LookupObjectDefinition(RandomClass()));
    if (reinterpret_cast<RandomObject *>(later)->seed != first->seed)
      break;
    RuntimeUnlockObject(later);
    later = nullptr;
  }
  ASSERT_NE(later, nullptr) << "every new Random had the same seed";
  auto *second = reinterpret_cast<RandomObject *>(later);
  EXPECT_EQ(second->table[0], uint32_t(int64_t(second->seed)));
  std::vector<double> numbers;
  for (int i = 0; i < 5; ++i)
    numbers.push_back(RandomNumber(later));
  EXPECT_EQ(numbers, Reference(second->seed, 5));
  EXPECT_NE(numbers, Reference(first->seed, 5));
  RuntimeUnlockObject(later);
}

struct ShiftCase {
  int32_t value, shift, numBits, left, right;
};

TEST(Bitwise, ShiftsStayInsideTheLowField) {
  const ShiftCase cases[] = {
      {0x0F, 4, 8, 0xF0, 0x00},
      {0x1F0, 4, 8, 0x100, 0x10F},
      {int32_t(0x80000000), 31, 32, 0, 1},
      {-1, 4, 32, int32_t(0xFFFFFFF0), 0x0FFFFFFF},
      {1, 32, 32, 0, 0},
      {1, -1, 32, 0, 0},
      {0x1234, 3, 0, 0x1234, 0x1234},
      {0x81, 1, 40, 0x102, 0x40},
  };
  for (const ShiftCase &c : cases) {
    EXPECT_EQ(RuntimeBitwiseShiftLeft(c.value, c.shift, c.numBits), c.left)
        << c.value << " << " << c.shift << " in " << c.numBits;
    EXPECT_EQ(RuntimeBitwiseShiftRight(c.value, c.shift, c.numBits), c.right)
        << c.value << " >> " << c.shift << " in " << c.numBits;
  }
  EXPECT_EQ(RuntimeOnesCompliment(0), -1);
  EXPECT_EQ(RuntimeBitwiseAnd(0xC, 0xA), 0x8);
  EXPECT_EQ(RuntimeBitwiseOr(0xC, 0xA), 0xE);
  EXPECT_EQ(RuntimeBitwiseXor(0xC, 0xA), 0x6);
}

TEST(Bitwise, RegistersAsAModuleOfSixMethods) {
  AlertRecorder alerts;
  InitBitwiseClass();
  EXPECT_EQ(alerts.count(), 0u);
  ObjectDefinition *module = getIntrinsicModule(string("bitwise"));
  ASSERT_NE(module, nullptr);
  int count = 0;
  for (ObjectMethod *m = module->methods; m; m = m->next)
    ++count;
  EXPECT_EQ(count, 6);
}

} // namespace
