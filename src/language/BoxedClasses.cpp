// The five hidden classes that box scalars in variants, their boxing entry
// points, and the six methods each answers conversions and hashes with.
#include <cstdio>
#include <string>

#include "language/ClassBuilding.h"
#include "language/StringToNumber.h"
#include "language/Variant.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueEntryPoints.h"

namespace {

template <typename T>
T &ValueOf(RuntimeObject *object) {
  return reinterpret_cast<BoxedValue<T> *>(object)->value;
}

template <typename T>
RuntimeObject *Box(ObjectDefinition *defn, T value) {
  RuntimeObject *object = RuntimeNewObject(LookupObjectDefinition(defn));
  if (object)
    ValueOf<T>(object) = value;
  return object;
}

stringStorage *Text(const string &text) { return text.ExtractStringStorage(); }
stringStorage *AsciiText(const char *text) { return string(text).ExtractStringStorage(); }

// Integer.
int32_t IntegerToInteger(RuntimeObject *o) { return ValueOf<int32_t>(o); }
int32_t IntegerToBoolean(RuntimeObject *o) { return ValueOf<int32_t>(o) != 0; }
double IntegerToDouble(RuntimeObject *o) { return ValueOf<int32_t>(o); }
stringStorage *IntegerToString(RuntimeObject *o) {
  char text[16];
  std::snprintf(text, sizeof text, "%ld", long(ValueOf<int32_t>(o)));
  return AsciiText(text);
}
int32_t IntegerHash(RuntimeObject *o) {
  uint32_t word = uint32_t(ValueOf<int32_t>(o));
  return int32_t(MixWords(&word, 1));
}

// String.
double StringToDouble(RuntimeObject *o) {
  return StringValHelper(string::Borrow(ValueOf<stringStorage *>(o)), nullptr);
}
int32_t StringToInteger(RuntimeObject *o) { return DoubleToInteger(StringToDouble(o)); }
int32_t StringToBoolean(RuntimeObject *o) {
  const string text = string::Borrow(ValueOf<stringStorage *>(o));
  return text.Compare(string("true")) == 0 || text.Compare(string("1")) == 0;
}
stringStorage *StringToString(RuntimeObject *o) {
  return RuntimeLockString(ValueOf<stringStorage *>(o));
}
int32_t StringHash(RuntimeObject *o) {
  return int32_t(TextHash(string::Borrow(ValueOf<stringStorage *>(o))));
}
void ReleaseBoxedString(RuntimeObject *o) {
  RuntimeUnlockString(ValueOf<stringStorage *>(o));
  ValueOf<stringStorage *>(o) = nullptr;
}

// Double.
int32_t DoubleToIntegerMethod(RuntimeObject *o) { return DoubleToInteger(ValueOf<double>(o)); }
int32_t DoubleToBoolean(RuntimeObject *o) { return ValueOf<double>(o) != 0; }
double DoubleToDouble(RuntimeObject *o) { return ValueOf<double>(o); }
stringStorage *DoubleToString(RuntimeObject *o) {
  return Text(VariantDoubleText(ValueOf<double>(o)));
}
int32_t DoubleHash(RuntimeObject *o) { return int32_t(MixDouble(ValueOf<double>(o))); }

// Boolean.
int32_t BooleanToInteger(RuntimeObject *o) { return ValueOf<uint8_t>(o) ? 1 : 0; }
double BooleanToDouble(RuntimeObject *o) { return ValueOf<uint8_t>(o) ? 1.0 : 0.0; }
int32_t BooleanToColor(RuntimeObject *o) { return ValueOf<uint8_t>(o) ? 0xFFFFFF : 0; }
// True compares equal to the Integer 1 and False to 0, so each hashes as
// that Integer.
int32_t BooleanHash(RuntimeObject *o) {
  uint32_t word = ValueOf<uint8_t>(o) ? 1 : 0;
  return int32_t(MixWords(&word, 1));
}
stringStorage *BooleanToString(RuntimeObject *o) {
  return AsciiText(ValueOf<uint8_t>(o) ? "True" : "False");
}

// Color: "&h" and six hexadecimal digits; more digits push out the prefix.
stringStorage *ColorToString(RuntimeObject *o) {
  char digits[9];
  const int n = std::snprintf(digits, sizeof digits, "%X", unsigned(ValueOf<int32_t>(o)));
  return AsciiText((std::string("&h000000").substr(0, size_t(8 - n)) + digits).c_str());
}

template <typename F>
MethodImplementation Code(F f) {
  return {reinterpret_cast<void *>(f), nullptr, {}};
}

// Operator_Convert to Integer, Boolean, Double, Color and String, then
// Operator_Hash, in this order.
void BuildBoxedClass(ObjectDefinition &defn, const char *name, int32_t size,
                     MethodImplementation toInteger, MethodImplementation toBoolean,
                     MethodImplementation toDouble, MethodImplementation toColor,
                     MethodImplementation toString, MethodImplementation hash) {
  static const auto row = [](const char *method, PropertyType *type, MethodImplementation code) {
    return PropertyMethod{method, type, nullptr, 0, {code, {}}, 0, kConsoleAvailableFlag, 0};
  };
  PropertyMethod rows[] = {
      row("Operator_Convert", &integerType.type, toInteger),
      row("Operator_Convert", &booleanType.type, toBoolean),
      row("Operator_Convert", &doubleType.type, toDouble),
      row("Operator_Convert", &colourType.type, toColor),
      row("Operator_Convert", &stringType.type, toString),
      row("Operator_Hash", &integerType.type, hash),
  };
  DefineBuiltinClass(defn, {name, size}, nullptr, 0, rows, 6);
}

} // namespace

ObjectDefinition *BoxedIntegerClass() {
  static ObjectDefinition defn;
  if (defn.className.IsEmpty())
    BuildBoxedClass(defn, "Integer", 28, Code(IntegerToInteger), Code(IntegerToBoolean),
                    Code(IntegerToDouble), Code(IntegerToInteger), Code(IntegerToString),
                    Code(IntegerHash));
  return &defn;
}

ObjectDefinition *BoxedStringClass() {
  static ObjectDefinition defn;
  if (defn.className.IsEmpty()) {
    BuildBoxedClass(defn, "String", 28, Code(StringToInteger), Code(StringToBoolean),
                    Code(StringToDouble), Code(StringToInteger), Code(StringToString),
                    Code(StringHash));
    defn.destructor = ReleaseBoxedString;
  }
  return &defn;
}

ObjectDefinition *BoxedDoubleClass() {
  static ObjectDefinition defn;
  if (defn.className.IsEmpty())
    BuildBoxedClass(defn, "Double", 32, Code(DoubleToIntegerMethod), Code(DoubleToBoolean),
                    Code(DoubleToDouble), Code(DoubleToIntegerMethod), Code(DoubleToString),
                    Code(DoubleHash));
  return &defn;
}

ObjectDefinition *BoxedBooleanClass() {
  static ObjectDefinition defn;
  if (defn.className.IsEmpty())
    BuildBoxedClass(defn, "Boolean", 28, Code(BooleanToInteger), Code(BooleanToInteger),
                    Code(BooleanToDouble), Code(BooleanToColor), Code(BooleanToString),
                    Code(BooleanHash));
  return &defn;
}

ObjectDefinition *BoxedColorClass() {
  static ObjectDefinition defn;
  if (defn.className.IsEmpty())
    BuildBoxedClass(defn, "Color", 28, Code(IntegerToInteger), Code(IntegerToBoolean),
                    Code(IntegerToDouble), Code(IntegerToInteger), Code(ColorToString),
                    Code(IntegerHash));
  return &defn;
}

extern "C" RuntimeObject *intToVariant(int32_t value) { return Box(BoxedIntegerClass(), value); }

extern "C" RuntimeObject *stringToVariant(stringStorage *value) {
  RuntimeObject *object = Box(BoxedStringClass(), value);
  if (object)
    RuntimeLockString(value);
  return object;
}

extern "C" RuntimeObject *doubleToVariant(double value) { return Box(BoxedDoubleClass(), value); }

extern "C" RuntimeObject *booleanToVariant(int32_t value) {
  return Box(BoxedBooleanClass(), uint8_t(value & 0xFF));
}

extern "C" RuntimeObject *colorToVariant(int32_t value) { return Box(BoxedColorClass(), value); }

extern "C" RuntimeObject *DateToVariant(RuntimeObject *date) { return objectToVariant(date); }

extern "C" RuntimeObject *objectToVariant(RuntimeObject *object) {
  RuntimeLockObject(object);
  return object;
}

extern "C" RuntimeObject *variantToObject(RuntimeObject *variant) {
  return objectToVariant(variant);
}
