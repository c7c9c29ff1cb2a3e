// Comparing and combining variants by their common type.
#include <climits>

#include "language/DateClass.h"
#include "language/LanguageExceptions.h"
#include "language/StringCompare.h"
#include "language/Variant.h"
#include "runtime/exceptions/ExceptionClasses.h"
#include "runtime/exceptions/RuntimeExceptions.h"
#include "runtime/objects/ValueEntryPoints.h"

namespace {

template <typename T>
int32_t Order(T a, T b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

int32_t CommonTypeOf(RuntimeObject *a, RuntimeObject *b) {
  if (!a || !b)
    return kVariantNil;
  return ComputeCommonType(VarType(a), VarType(b));
}

int32_t CompareTexts(RuntimeObject *a, RuntimeObject *b) {
  const string ta = string::Adopt(variantToString(a));
  const string tb = string::Adopt(variantToString(b));
  return RuntimeStringCompare(ta.Storage(), tb.Storage());
}

int32_t CompareDates(RuntimeObject *a, RuntimeObject *b) {
  RuntimeObject *da = VariantToDate(a);
  RuntimeObject *db = VariantToDate(b);
  const int32_t order = DateCompare(da, db);
  RuntimeUnlockObject(da);
  RuntimeUnlockObject(db);
  return order;
}

// Operands as numbers; nil counts as 0. A value without the conversion raises
// typeMismatchException and answers false.
bool ToDouble(RuntimeObject *v, double *out) {
  *out = 0;
  if (!v || ConvertObjectToDouble(v, out))
    return true;
  RaiseTypeMismatch();
  return false;
}

bool ToInteger(RuntimeObject *v, int32_t *out) {
  *out = 0;
  if (!v || ConvertObjectToInt(v, out))
    return true;
  RaiseTypeMismatch();
  return false;
}

// 32-bit wrap-around without signed overflow.
int32_t Wrap(int64_t value) { return int32_t(uint32_t(uint64_t(value))); }

} // namespace

extern "C" int32_t VariantCompare(RuntimeObject *a, RuntimeObject *b) {
  switch (CommonTypeOf(a, b)) {
  case kVariantNil:
    if (a && b) // values without a common type differ, ordered by type code
      return Order(VarType(a), VarType(b));
    return IsNull(a) - IsNull(b);
  case kVariantInteger:
  case kVariantColor:
    return Order(variantToInt(a), variantToInt(b));
  case kVariantDouble: {
    const double x = variantToDouble(a), y = variantToDouble(b);
    return Order(x, y);
  }
  case kVariantDate:
    return CompareDates(a, b);
  case kVariantString:
    return CompareTexts(a, b);
  case kVariantObject:
    return Order(reinterpret_cast<uintptr_t>(a), reinterpret_cast<uintptr_t>(b));
  case kVariantBoolean:
    return int32_t(!variantToBoolean(a)) - int32_t(!variantToBoolean(b));
  default:
    RaiseTypeMismatch();
    return 0;
  }
}

extern "C" int32_t VariantEqual(RuntimeObject *a, RuntimeObject *b) {
  return VariantCompare(a, b) == 0;
}

extern "C" RuntimeObject *VariantAdd(RuntimeObject *a, RuntimeObject *b) {
  if (!a || !b) {
    RaiseNilObject();
    return nullptr;
  }
  switch (CommonTypeOf(a, b)) {
  case kVariantInteger:
    return intToVariant(Wrap(int64_t(variantToInt(a)) + variantToInt(b)));
  case kVariantDouble:
    return doubleToVariant(variantToDouble(a) + variantToDouble(b));
  case kVariantString: {
    string sum = string::Adopt(variantToString(a)) + string::Adopt(variantToString(b));
    return stringToVariant(sum.Storage());
  }
  default:
    RaiseTypeMismatch();
    return nullptr;
  }
}

namespace {

// Subtract and Multiply: Integer for a common type of Integer, else Double.
template <typename IntegerOp, typename DoubleOp>
RuntimeObject *Arithmetic(RuntimeObject *a, RuntimeObject *b, IntegerOp integerOp,
                          DoubleOp doubleOp) {
  if (!a || !b) {
    RaiseNilObject();
    return nullptr;
  }
  if (CommonTypeOf(a, b) == kVariantInteger)
    return intToVariant(Wrap(integerOp(int64_t(variantToInt(a)), int64_t(variantToInt(b)))));
  double x, y;
  if (!ToDouble(a, &x) || !ToDouble(b, &y))
    return nullptr;
  return doubleToVariant(doubleOp(x, y));
}

} // namespace

extern "C" RuntimeObject *VariantSubtract(RuntimeObject *a, RuntimeObject *b) {
  return Arithmetic(
      a, b, [](int64_t x, int64_t y) { return x - y; }, [](double x, double y) { return x - y; });
}

extern "C" RuntimeObject *VariantMultiply(RuntimeObject *a, RuntimeObject *b) {
  return Arithmetic(
      a, b, [](int64_t x, int64_t y) { return x * y; }, [](double x, double y) { return x * y; });
}

extern "C" RuntimeObject *VariantDivide(RuntimeObject *a, RuntimeObject *b) {
  double x, y;
  if (!ToDouble(a, &x) || !ToDouble(b, &y))
    return nullptr;
  return doubleToVariant(x / y);
}

// A zero divisor gives 0, and INT_MIN \ -1 gives INT_MIN (remainder 0),
// where the processor would trap.
extern "C" RuntimeObject *VariantIntegerDivide(RuntimeObject *a, RuntimeObject *b) {
  int32_t x, y;
  if (!ToInteger(a, &x) || !ToInteger(b, &y))
    return nullptr;
  if (y == 0)
    return intToVariant(0);
  if (y == -1)
    return intToVariant(Wrap(-int64_t(x)));
  return intToVariant(x / y);
}

extern "C" RuntimeObject *VariantModulo(RuntimeObject *a, RuntimeObject *b) {
  int32_t x, y;
  if (!ToInteger(a, &x) || !ToInteger(b, &y))
    return nullptr;
  if (y == 0 || y == -1)
    return intToVariant(0);
  return intToVariant(x % y);
}

extern "C" RuntimeObject *VariantNegate(RuntimeObject *a) {
  if (VarType(a) == kVariantInteger)
    return intToVariant(Wrap(-int64_t(variantToInt(a))));
  double x;
  if (!ToDouble(a, &x))
    return nullptr;
  return doubleToVariant(a ? -x : -0.0);
}

extern "C" RuntimeObject *VariantAddRight(RuntimeObject *a, RuntimeObject *b) {
  return VariantAdd(b, a);
}
extern "C" RuntimeObject *VariantSubtractRight(RuntimeObject *a, RuntimeObject *b) {
  return VariantSubtract(b, a);
}
extern "C" RuntimeObject *VariantDivideRight(RuntimeObject *a, RuntimeObject *b) {
  return VariantDivide(b, a);
}
extern "C" RuntimeObject *VariantIntegerDivideRight(RuntimeObject *a, RuntimeObject *b) {
  return VariantIntegerDivide(b, a);
}
extern "C" RuntimeObject *VariantModuloRight(RuntimeObject *a, RuntimeObject *b) {
  return VariantModulo(b, a);
}
