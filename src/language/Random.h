// The language's Random class, a seeded lagged additive generator over 55
// words modulo 10^8, and the Bitwise module of integer bit operations.
#pragma once
#include <cstddef>
#include <cstdint>

#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/RuntimeObject.h"

struct RandomObject {
  RuntimeObject header;
  uint32_t table[55];
  int16_t position; // the word made last; 55 after seeding
  double seed;      // read by the generic double getter at offset 248
};
static_assert(sizeof(RandomObject) == 256);
static_assert(offsetof(RandomObject, table) == 24);
static_assert(offsetof(RandomObject, position) == 244);
static_assert(offsetof(RandomObject, seed) == 248);

ObjectDefinition *RandomClass();
void InitBitwiseClass();

extern "C" {
void RandomConstructor(RuntimeObject *random);
void RandomSeedSetter(RuntimeObject *random, int32_t param, double seed);
double RandomNumber(RuntimeObject *random);
int32_t RandomNumberLessThan(RuntimeObject *random, int32_t range);
int32_t RandomNumberInRangeMinMax(RuntimeObject *random, int32_t minimum, int32_t maximum);
void RandomizeSeed(RuntimeObject *random);

int32_t RuntimeBitwiseAnd(int32_t a, int32_t b);
int32_t RuntimeBitwiseOr(int32_t a, int32_t b);
int32_t RuntimeBitwiseXor(int32_t a, int32_t b);
int32_t RuntimeBitwiseShiftLeft(int32_t value, int32_t shift, int32_t numBits);
int32_t RuntimeBitwiseShiftRight(int32_t value, int32_t shift, int32_t numBits);
int32_t RuntimeOnesCompliment(int32_t value);
}
