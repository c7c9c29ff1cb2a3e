// The Variant class, whose members compiled code calls on a variant, and the
// global functions IsNumeric and CStr.
#include <clocale>

#include "foundation/NumberFormat.h"
#include "language/ClassBuilding.h"
#include "language/DateClass.h"
#include "language/RuntimeArray.h"
#include "language/StringReplace.h"
#include "language/StringToNumber.h"
#include "language/Variant.h"
#include "runtime/exports/ExportTable.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/startup/BuiltinClassBuilders.h"


namespace {

PropertyType *ObjectTypeOrOpen() {
  ObjectDefinition *object = BuiltinClassOrNil(GetBuiltinClassHooks().ObjectClass);
  return object ? object->AsType() : nullptr;
}

template <typename F>
MethodImplementation Code(F f, const char *exportName) {
  return {reinterpret_cast<void *>(f), exportName, {}};
}

PropertyMethod Method(const char *name, PropertyType *result, MethodParameter *params,
                      MethodImplementation code) {
  return {name, result, params, params ? 1 : 0, {code, {}}, 0, kConsoleAvailableFlag, 0};
}

#define CODE(f) Code(f, #f)
#define EXPORT(f) AddRelocEntry(#f, reinterpret_cast<void *>(f))

// The value helpers compiled code reaches by name that have no fixed row.
void AddValueExports() {
  EXPORT(ConvertObjectToInt);
  EXPORT(ConvertObjectToColor);
  EXPORT(ConvertObjectToBoolean);
  EXPORT(ConvertObjectToDouble);
  EXPORT(ConvertObjectToString);
  EXPORT(ConvertObjectToDate);
  EXPORT(SetArrayDestructionMonitor);
  EXPORT(RuntimeDirectWriteObjectArray);
  EXPORT(RuntimeIntArrayAppend);
  EXPORT(ConstructDate);
  EXPORT(dbDateToQVDate);
  EXPORT(QVDateToDBDate);
  EXPORT(UpdateDate);
  EXPORT(AutoInitDate);
}

} // namespace

ObjectDefinition *VariantClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  PropertyType *variant = defn.AsType();
  static MethodParameter sVariantParam[] = {{"variant", variant, 0, {}, 0, {}, 0, {}}};
  MethodParameter *p = sVariantParam;
  static ObjectInstanceTemplate sProperties[] = {
      {kConsoleAvailableFlag, "Type", &integerType.type, reinterpret_cast<void *>(VarType),
       "VarType", nullptr, nullptr, 0, 0},
      {kConsoleAvailableFlag, "IsNumeric", &booleanType.type,
       reinterpret_cast<void *>(RuntimeIsNumeric), "RuntimeIsNumeric", nullptr, nullptr, 0, 0},
      {kConsoleAvailableFlag, "IsNull", &booleanType.type, reinterpret_cast<void *>(IsNull),
       "IsNull", nullptr, nullptr, 0, 0},
      {kConsoleAvailableFlag, "Hash", &integerType.type, reinterpret_cast<void *>(VariantHash),
       "VariantHash", nullptr, nullptr, 0, 0},
  };
  PropertyMethod methods[] = {
      Method("Equals", &booleanType.type, p, CODE(VariantEqual)),
      Method("IntegerValue", &integerType.type, nullptr, CODE(variantToInt)),
      Method("ColorValue", &colourType.type, nullptr, CODE(variantToColor)),
      Method("DoubleValue", &doubleType.type, nullptr, CODE(variantToDouble)),
      // Object is the controls area's class; without it the type stays open.
      Method("ObjectValue", ObjectTypeOrOpen(), nullptr, CODE(variantToObject)),
      Method("StringValue", &stringType.type, nullptr, CODE(variantToString)),
      Method("BooleanValue", &booleanType.type, nullptr, CODE(variantToBoolean)),
      Method("DateValue", DateClass()->AsType(), nullptr, CODE(VariantToDate)),
      Method("Operator_Compare", &integerType.type, p, CODE(VariantCompare)),
      Method("Operator_Add", variant, p, CODE(VariantAdd)),
      Method("Operator_Subtract", variant, p, CODE(VariantSubtract)),
      Method("Operator_Multiply", variant, p, CODE(VariantMultiply)),
      Method("Operator_Divide", variant, p, CODE(VariantDivide)),
      Method("Operator_IntegerDivide", variant, p, CODE(VariantIntegerDivide)),
      Method("Operator_Modulo", variant, p, CODE(VariantModulo)),
      Method("Operator_Negate", variant, nullptr, CODE(VariantNegate)),
      Method("Operator_AddRight", variant, p, CODE(VariantAddRight)),
      Method("Operator_SubtractRight", variant, p, CODE(VariantSubtractRight)),
      Method("Operator_MultiplyRight", variant, p, CODE(VariantMultiply)),
      Method("Operator_DivideRight", variant, p, CODE(VariantDivideRight)),
      Method("Operator_IntegerDivideRight", variant, p, CODE(VariantIntegerDivideRight)),
      Method("Operator_ModuloRight", variant, p, CODE(VariantModuloRight)),
  };
  DefineBuiltinClass(defn, {"Variant", sizeof(RuntimeObject)}, sProperties, 4, methods, 22);
  AddValueExports();
  return &defn;
}

extern "C" int32_t RuntimeIsNumeric(RuntimeObject *variant) {
  switch (VarType(variant)) {
  case kVariantInteger:
  case kVariantDouble:
    return 1;
  case kVariantString: {
    const string text = string::Adopt(variantToString(variant));
    uint8_t notANumber = 1;
    StringValHelper(text, &notANumber);
    return !text.IsEmpty() && notANumber == 0;
  }
  default:
    return 0;
  }
}

// Numbers as Str writes them, with the locale's decimal point; a String
// keeps its own text.
extern "C" stringStorage *runCStr(RuntimeObject *variant) {
  if (IsNull(variant))
    return nullptr;
  if (VarType(variant) != kVariantString && RuntimeIsNumeric(variant)) {
    double number = 0;
    ConvertObjectToDouble(variant, &number);
    const char *point = std::localeconv()->decimal_point;
    return replace(doubleStr(number, kDoubleStrAutomatic, 7), string("."),
                   string(point && *point ? point : "."))
        .ExtractStringStorage();
  }
  return variantToString(variant);
}
