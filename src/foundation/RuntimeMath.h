// The numeric entry points that compiled code calls for the language's math
// functions, bitwise operators and the shared random generator. The system
// math library's special values (infinities, NaN) pass through.
#pragma once
#include <cstdint>

extern "C" {
int32_t BitwiseAnd(int32_t a, int32_t b);
int32_t BitwiseOr(int32_t a, int32_t b);
int32_t BitwiseXor(int32_t a, int32_t b);

double RuntimeSin(double x);
double RuntimeCos(double x);
double RuntimeTan(double x);
double RuntimeExp(double x);
double RuntimeLog(double x);
double RuntimePow(double x, double y);
double RuntimeSqrt(double x);
double RuntimeACos(double x);
double RuntimeASin(double x);
double RuntimeATan(double x);
double RuntimeATan2(double y, double x);
double RuntimeCeil(double x);
double RuntimeFloor(double x);
double RuntimeRound(double x);
double RuntimeAbs(double x);
int32_t RuntimeSign(double x);
double RuntimeMax(double a, double b);
double RuntimeMin(double a, double b);

// The shared generator: the next number in [0, 1), a multiple of 1/1048576.
double rnd();
// Sets the seed to x truncated to 32 bits and answers the previous seed; a
// seed of 0 makes the next rnd seed itself from the clock.
int32_t srnd(double x);
}
