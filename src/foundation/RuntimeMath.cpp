#include "foundation/RuntimeMath.h"

#include <cmath>
#include <limits>

extern "C" {

int32_t BitwiseAnd(int32_t a, int32_t b) { return a & b; }
int32_t BitwiseOr(int32_t a, int32_t b) { return a | b; }
int32_t BitwiseXor(int32_t a, int32_t b) { return a ^ b; }

double RuntimeSin(double x) { return std::sin(x); }
double RuntimeCos(double x) { return std::cos(x); }
double RuntimeTan(double x) { return std::tan(x); }
double RuntimeExp(double x) { return std::exp(x); }
double RuntimeLog(double x) { return std::log(x); }
double RuntimePow(double x, double y) { return std::pow(x, y); }
double RuntimeSqrt(double x) { return std::sqrt(x); }

double RuntimeACos(double x) {
  if (x < -1.0 || x > 1.0)
    return std::numeric_limits<double>::quiet_NaN();
  return std::acos(x);
}

double RuntimeASin(double x) {
  if (x < -1.0 || x > 1.0)
    return std::numeric_limits<double>::quiet_NaN();
  return std::asin(x);
}

double RuntimeATan(double x) { return std::atan2(x, 1.0); }
double RuntimeATan2(double y, double x) { return std::atan2(y, x); }
double RuntimeCeil(double x) { return std::ceil(x); }
double RuntimeFloor(double x) { return std::floor(x); }
double RuntimeRound(double x) { return std::round(x); }
double RuntimeAbs(double x) { return std::fabs(x); }

int32_t RuntimeSign(double x) {
  if (x < 0)
    return -1;
  if (x > 0)
    return 1;
  return 0; // zero of either sign, and NaN
}

// A NaN on either side makes the comparison false, so the second argument wins.
double RuntimeMax(double a, double b) { return a > b ? a : b; }
double RuntimeMin(double a, double b) { return b > a ? a : b; }
}
