// Variants: object references that may hold boxed scalars (Integer, String,
// Double, Boolean, Color), Dates or any other object. Conversions, hashes,
// comparisons and arithmetic ask the objects themselves through their
// Operator_Convert and Operator_Hash methods, found by link name and cached
// per class.
#pragma once
#include <cstddef>
#include <cstdint>

#include "foundation/AssertionAlert.h"
#include "foundation/String.h"
#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/RuntimeObject.h"

// VarType codes.
enum VariantType : int32_t {
  kVariantNil = 0,
  kVariantInteger = 2,
  kVariantDouble = 5,
  kVariantDate = 7,
  kVariantString = 8,
  kVariantObject = 9,
  kVariantBoolean = 11,
  kVariantColor = 16,
};

// The boxed objects: the value follows the object header.
template <typename T>
struct BoxedValue {
  RuntimeObject header;
  T value;
};
static_assert(sizeof(BoxedValue<int32_t>) == 28);
static_assert(sizeof(BoxedValue<stringStorage *>) == 28);
static_assert(sizeof(BoxedValue<double>) == 32);
static_assert(sizeof(BoxedValue<uint8_t>) == 28);
static_assert(offsetof(BoxedValue<double>, value) == 24);

// The hidden boxed classes, built on first use.
ObjectDefinition *BoxedIntegerClass();
ObjectDefinition *BoxedStringClass();
ObjectDefinition *BoxedDoubleClass();
ObjectDefinition *BoxedBooleanClass();
ObjectDefinition *BoxedColorClass();
// The Variant class: the members compiled code calls on a variant.
ObjectDefinition *VariantClass();

// A double as an Integer: truncated toward zero; NaN and values outside the
// 32-bit range give 0x80000000.
int32_t DoubleToInteger(double x);
// The variant text of a double: 17 significant digits in scientific form,
// trailing zeros of the mantissa and an exponent of e+0 dropped (2.5, 1.0,
// 1.23e+2, 1.0000000000000001e-01).
string VariantDoubleText(double x);
// h = h * 31 + c over the text's characters, each upper-cased, so that texts
// that compare equal ignoring case hash alike: code points of UTF-8 and
// UTF-16 text (a byte that starts no well-formed UTF-8 character counts as
// UTF8DecodeCharacter gives it), other text by its UTF-8 form. ASCII text
// hashes its bytes with a-z counted as A-Z.
uint32_t TextHash(const string &text);
// (w0 rotated left 16) xor w0 xor w1 ... xor wn-1.
uint32_t MixWords(const uint32_t *words, int32_t count);
uint32_t MixDouble(double x);

// The checks of variant conversions and of the common-type table.
inline constexpr const char *kVariantAlertSource = "../Common/variant";
inline constexpr AlertSite kConvertToIntAlert{kVariantAlertSource, 579, "out"};
inline constexpr AlertSite kConvertToColorAlert{kVariantAlertSource, 632, "out"};
inline constexpr AlertSite kConvertToStringAlert{kVariantAlertSource, 786, "out"};
inline constexpr AlertSite kCommonTypeAAlert{kVariantAlertSource, 1071, "a >= 0 && a <= 16"};
inline constexpr AlertSite kCommonTypeBAlert{kVariantAlertSource, 1072, "b >= 0 && b <= 16"};
inline constexpr AlertSite kCommonTypeAIndexAlert{kVariantAlertSource, 1075,
                                                  "aindex >= 0 && aindex <= 7"};
inline constexpr AlertSite kCommonTypeBIndexAlert{kVariantAlertSource, 1076,
                                                  "bindex >= 0 && bindex <= 7"};

// The common type of two VarType codes (0 when there is none).
int32_t ComputeCommonType(int32_t a, int32_t b);

extern "C" {
RuntimeObject *intToVariant(int32_t value);
RuntimeObject *stringToVariant(stringStorage *value);
RuntimeObject *doubleToVariant(double value);
RuntimeObject *booleanToVariant(int32_t value);
RuntimeObject *colorToVariant(int32_t value);
RuntimeObject *DateToVariant(RuntimeObject *date);
RuntimeObject *objectToVariant(RuntimeObject *object);
RuntimeObject *variantToObject(RuntimeObject *variant);

int32_t ConvertObjectToInt(RuntimeObject *object, int32_t *out);
int32_t ConvertObjectToColor(RuntimeObject *object, int32_t *out);
int32_t ConvertObjectToBoolean(RuntimeObject *object, int32_t *out);
int32_t ConvertObjectToDouble(RuntimeObject *object, double *out);
int32_t ConvertObjectToString(RuntimeObject *object, stringStorage **out);
int32_t ConvertObjectToDate(RuntimeObject *object, RuntimeObject **out);

int32_t variantToInt(RuntimeObject *variant);
int32_t variantToColor(RuntimeObject *variant);
int32_t variantToBoolean(RuntimeObject *variant);
double variantToDouble(RuntimeObject *variant);
stringStorage *variantToString(RuntimeObject *variant);
RuntimeObject *VariantToDate(RuntimeObject *variant);

int32_t VarType(RuntimeObject *variant);
int32_t IsNull(RuntimeObject *variant);
int32_t VariantHash(RuntimeObject *variant);
int32_t VariantCompare(RuntimeObject *a, RuntimeObject *b);
int32_t VariantEqual(RuntimeObject *a, RuntimeObject *b);

RuntimeObject *VariantAdd(RuntimeObject *a, RuntimeObject *b);
RuntimeObject *VariantSubtract(RuntimeObject *a, RuntimeObject *b);
RuntimeObject *VariantMultiply(RuntimeObject *a, RuntimeObject *b);
RuntimeObject *VariantDivide(RuntimeObject *a, RuntimeObject *b);
RuntimeObject *VariantIntegerDivide(RuntimeObject *a, RuntimeObject *b);
RuntimeObject *VariantModulo(RuntimeObject *a, RuntimeObject *b);
RuntimeObject *VariantNegate(RuntimeObject *a);
RuntimeObject *VariantAddRight(RuntimeObject *a, RuntimeObject *b);
RuntimeObject *VariantSubtractRight(RuntimeObject *a, RuntimeObject *b);
RuntimeObject *VariantDivideRight(RuntimeObject *a, RuntimeObject *b);
RuntimeObject *VariantIntegerDivideRight(RuntimeObject *a, RuntimeObject *b);
RuntimeObject *VariantModuloRight(RuntimeObject *a, RuntimeObject *b);

int32_t RuntimeIsNumeric(RuntimeObject *variant);
stringStorage *runCStr(RuntimeObject *variant);
}
