#include "language/Random.h"

#include <cmath>

#include "language/ClassBuilding.h"
#include "runtime/application/CommonRuntimeFunctions.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueAccessors.h"


namespace {

constexpr uint32_t kModulus = 100000000; // 10^8
constexpr uint32_t kMultiplier = 31415821;
constexpr int16_t kSeeded = 55;

RandomObject *AsRandom(RuntimeObject *object) { return reinterpret_cast<RandomObject *>(object); }

// t[0] is the seed's low 32 bits, not reduced; a seed with no 64-bit integer
// part (NaN, infinite, beyond 2^63) gives 0.
uint32_t FirstWord(double seed) {
  if (!(std::fabs(seed) < 9223372036854775808.0))
    return 0;
  return uint32_t(uint64_t(int64_t(seed)));
}

void FillTable(RandomObject *r) {
  r->table[0] = FirstWord(r->seed);
  for (int i = 1; i < 55; ++i)
    r->table[i] = uint32_t((uint64_t(r->table[i - 1]) * kMultiplier % kModulus + 1) % kModulus);
  r->position = kSeeded;
}

double Microseconds() { return RuntimeMicroseconds(); }

} // namespace

extern "C" void RandomConstructor(RuntimeObject *random) {
  AsRandom(random)->position = kSeeded;
  RandomizeSeed(random);
}

extern "C" void RandomSeedSetter(RuntimeObject *random, int32_t, double seed) {
  AsRandom(random)->seed = seed;
  FillTable(AsRandom(random));
}

extern "C" double RandomNumber(RuntimeObject *random) {
  RandomObject *r = AsRandom(random);
  const int j = (r->position + 1) % 55;
  r->position = int16_t(j);
  r->table[j] = (r->table[(j + 54) % 55] + r->table[(j + 23) % 55]) % kModulus; // 32-bit sum
  return r->table[j] / double(kModulus);
}

extern "C" int32_t RandomNumberLessThan(RuntimeObject *random, int32_t range) {
  return int32_t(RandomNumber(random) * range);
}

// Floored, so that a negative range stays within min ... max.
extern "C" int32_t RandomNumberInRangeMinMax(RuntimeObject *random, int32_t minimum,
                                             int32_t maximum) {
  const double span = double(int64_t(maximum) - int64_t(minimum) + 1);
  return int32_t(std::floor(RandomNumber(random) * span + minimum));
}

extern "C" void RandomizeSeed(RuntimeObject *random) {
  const double now = Microseconds();
  const int64_t ticks = std::fabs(now) < 9223372036854775808.0 ? int64_t(now) : 0;
  RandomSeedSetter(random, 0, double(ticks % int64_t(4294967295LL)));
}

ObjectDefinition *RandomClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  static MethodParameter sRange[] = {{"range", &integerType.type, 0, {}, 0, {}, 0, {}}};
  static MethodParameter sMinMax[] = {{"minRange", &integerType.type, 0, {}, 0, {}, 0, {}},
                                      {"maxRange", &integerType.type, 0, {}, 0, {}, 0, {}}};
  static ObjectInstanceTemplate sProperties[] = {
      {kConsoleAvailableFlag, "Seed", &doubleType.type, EntryCode(doubleGetter), "doubleGetter",
       EntryCode(RandomSeedSetter), "RandomSeedSetter", int32_t(offsetof(RandomObject, seed)), 0},
  };
  PropertyMethod methods[] = {
      {"Number",
       &doubleType.type,
       nullptr,
       0,
       {{EntryCode(RandomNumber), "RandomNumber", {}}, {}},
       0,
       kConsoleAvailableFlag,
       0},
      {"LessThan",
       &integerType.type,
       sRange,
       1,
       {{EntryCode(RandomNumberLessThan), "RandomNumberLessThan", {}}, {}},
       0,
       kConsoleAvailableFlag,
       0},
      {"InRange",
       &integerType.type,
       sMinMax,
       2,
       {{EntryCode(RandomNumberInRangeMinMax), "RandomNumberInRangeMinMax", {}}, {}},
       0,
       kConsoleAvailableFlag,
       0},
      {"RandomizeSeed",
       nullptr,
       nullptr,
       0,
       {{EntryCode(RandomizeSeed), "RandomizeSeed", {}}, {}},
       0,
       kConsoleAvailableFlag,
       0},
  };
  DefineBuiltinClass(defn, {"Random", sizeof(RandomObject), RandomConstructor, nullptr, true},
                     sProperties, 1, methods, 4);
  return &defn;
}
