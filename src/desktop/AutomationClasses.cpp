// OLEObject and OLEParameter. Without an automation server every Invoke,
// Property and Operator_Lookup form raises OLEException "No automation
// server present" (number 1); the comparison and arithmetic operators apply
// the language's Variant operators to the object's value.
#include "desktop/AutomationClasses.h"

#include <iterator>

#include "foundation/String.h"
#include "language/ClassBuilding.h"
#include "language/Variant.h"
#include "runtime/exceptions/ExceptionClasses.h"
#include "runtime/objects/ClassRowMacros.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueAccessors.h"

namespace {

OLEObjectObject *AsOLE(RuntimeObject *object) {
  return reinterpret_cast<OLEObjectObject *>(object);
}

// Every member that needs the server comes here first.
void RequireServer(RuntimeObject *self) {
  if (self && AsOLE(self)->server)
    return;
  RaiseExceptionClassWMessage(OLEExceptionClass(), string("No automation server present"), 1);
}

// Operator_Lookup takes one trailing "_" off the member name before the
// server check; an empty name stays as it is.
void LookUpMember(RuntimeObject *self, stringStorage *memberName) {
  string name = string::Borrow(memberName);
  const int length = name.Length();
  if (length > 0 && name.CString()[length - 1] == '_') {
    string shorter;
    shorter.ConstructFromBuffer(name.CString(), length - 1, memberName->mEncoding);
    name = shorter;
  }
  RequireServer(self);
}

// The operand the operators work on: the value, or nil while none is present.
RuntimeObject *ValueOf(RuntimeObject *self) {
  OLEObjectObject *o = self ? AsOLE(self) : nullptr;
  return o && o->valuePresent ? o->value : nullptr;
}

void OLEObjectDestructor(RuntimeObject *) {}

void OLEParameterDestructor(RuntimeObject *object) {
  auto *p = reinterpret_cast<OLEParameterObject *>(object);
  RuntimeUnlockObject(p->value);
  p->value = nullptr;
}

// The arrays' element types and the Variant and OLEObject types are filled
// when the class is built.
ArrayPropertyType sVariantArray{{kArrayTypeKind}, nullptr, 1};

#define P(name, type) {name, type, 0, {}, 0, {}, 0, {}}
MethodParameter sProgramID[] = {P("programID", &stringType.type)};
MethodParameter sNewInstance[] = {P("programID", &stringType.type),
                                  P("newInstance", &booleanType.type)};
MethodParameter sName[] = {P("name", &stringType.type)};
MethodParameter sFunctionParams[] = {P("nameOfFunction", &stringType.type),
                                     P("parameters", &sVariantArray.type)};
MethodParameter sPropertyValue[] = {P("name", &stringType.type), P("value", nullptr)};
MethodParameter sPropertyByValue[] = {P("name", &stringType.type),
                                      P("byvalue", &booleanType.type), P("value", nullptr)};
MethodParameter sLookup[] = {P("memberName", &stringType.type),
                             P("params", &sVariantArray.type)};
MethodParameter sLookupValue[] = {P("memberName", &stringType.type), P("value", nullptr)};
MethodParameter sOperand[] = {P("rhs", nullptr)};
#undef P

#define ASSIGNS(name, params, count, getter, setter)                                               \
  {name, nullptr, params, count, {getter, setter}, kAssignsMethod, 0, 0}
#define IMPLEMENTATION(function) {EntryCode(function), #function, {}}

PropertyMethod sOLEObjectMethods[] = {
    METHOD("OLEObject", OLEObjectProgramIDConstructor, nullptr, sProgramID, 1),
    METHOD("OLEObject", OLEObjectNewInstanceConstructor, nullptr, sNewInstance, 2),
    METHOD("Invoke", OLEObjectInvoke, nullptr, sName, 1),
    METHOD("Invoke", OLEObjectInvokeNoReturnValue, nullptr, sName, 1),
    METHOD("Invoke", OLEObjectInvokeWithParams, nullptr, sFunctionParams, 2),
    METHOD("Invoke", OLEObjectInvokeWithParamsNoReturnValue, nullptr, sFunctionParams, 2),
    ASSIGNS("Property", sPropertyValue, 2, IMPLEMENTATION(OLEObjectPropertyGetter),
            IMPLEMENTATION(OLEObjectPropertySetter)),
    ASSIGNS("Property", sPropertyByValue, 3, {}, IMPLEMENTATION(OLEObjectPropertySetterWithValue)),
    METHOD("Operator_Lookup", OLEObjectNoReturnOperatorLookup, nullptr, sLookup, 2),
    METHOD("Operator_Lookup", OLEObjectOperatorLookup, nullptr, sLookup, 2),
    ASSIGNS("Operator_Lookup", sLookupValue, 2, {}, IMPLEMENTATION(OLEObjectOperatorLookupSetter)),
    METHOD("Operator_Convert", OLEObjectOperatorConvert, nullptr, nullptr, 0),
    METHOD("Operator_Compare", OLEObjectOperatorCompare, &integerType.type, sOperand, 1),
    METHOD("Operator_Add", OLEObjectOperatorAdd, nullptr, sOperand, 1),
    METHOD("Operator_AddRight", OLEObjectOperatorAddRight, nullptr, sOperand, 1),
    METHOD("Operator_Subtract", OLEObjectOperatorSubtract, nullptr, sOperand, 1),
    METHOD("Operator_SubtractRight", OLEObjectOperatorSubtractRight, nullptr, sOperand, 1),
    METHOD("Operator_Multiply", OLEObjectOperatorMultiply, nullptr, sOperand, 1),
    METHOD("Operator_MultiplyRight", OLEObjectOperatorMultiplyRight, nullptr, sOperand, 1),
    METHOD("Operator_Divide", OLEObjectOperatorDivide, nullptr, sOperand, 1),
    METHOD("Operator_DivideRight", OLEObjectOperatorDivideRight, nullptr, sOperand, 1),
    METHOD("Operator_IntegerDivide", OLEObjectOperatorIntegerDivide, nullptr, sOperand, 1),
    METHOD("Operator_IntegerDivideRight", OLEObjectOperatorIntegerDivideRight, nullptr, sOperand,
           1),
    METHOD("Operator_Modulo", OLEObjectOperatorModulo, nullptr, sOperand, 1),
    METHOD("Operator_ModuloRight", OLEObjectOperatorModuloRight, nullptr, sOperand, 1),
    METHOD("Operator_Negate", OLEObjectOperatorNegate, nullptr, nullptr, 0),
};
// The rows whose result is a Variant, and the one whose result is an OLEObject.
constexpr int kVariantResultRows[] = {2, 4, 6, 7, 10, 11, 13, 14, 15, 16, 17,
                                      18, 19, 20, 21, 22, 23, 24, 25};
constexpr int kLookupObjectRow = 9;

#define FIELD(name) static_cast<int32_t>(offsetof(OLEParameterObject, name))
ObjectInstanceTemplate sOLEParameterProperties[] = {
    {4, "PassByref", &booleanType.type, ACCESSOR(boolGetter), ACCESSOR(boolSetter),
     FIELD(passByRef), 0},
    {4, "Position", &integerType.type, ACCESSOR(intGetter), ACCESSOR(intSetter), FIELD(position),
     0},
    {4, "Type", &integerType.type, ACCESSOR(intGetter), ACCESSOR(intSetter), FIELD(type), 0},
    {4, "Value", nullptr, ACCESSOR(objGetter), ACCESSOR(objSetter), FIELD(value), 0},
};
#undef FIELD

ObjectConstantTemplate sOLEParameterConstants[] = {
    {0, "ParamTypeNull", 1, "1"},           {0, "ParamTypeSignedChar", 1, "16"},
    {0, "ParamTypeChar", 1, "17"},          {0, "ParamTypeSignedShort", 1, "2"},
    {0, "ParamTypeUnsignedShort", 1, "18"}, {0, "ParamTypeSignedLong", 1, "3"},
    {0, "ParamTypeUnsignedLong", 1, "19"},  {0, "ParamTypeSingle", 1, "4"},
    {0, "ParamTypeDouble", 1, "5"},         {0, "ParamTypeSigned64bit", 1, "20"},
    {0, "ParamTypeUnsigned64bit", 1, "21"}, {0, "ParamTypeBoolean", 1, "11"},
    {0, "ParamTypeString", 1, "8"},
};

} // namespace

ObjectDefinition *OLEObjectClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  PropertyType *variant = VariantClass()->AsType();
  sVariantArray.elementType = variant;
  sPropertyValue[1].type = variant;
  sPropertyByValue[2].type = variant;
  sLookupValue[1].type = variant;
  sOperand[0].type = variant;
  for (int row : kVariantResultRows)
    sOLEObjectMethods[row].returnType = variant;
  sOLEObjectMethods[kLookupObjectRow].returnType = defn.AsType();
  DefineBuiltinClass(defn, {"OLEObject", sizeof(OLEObjectObject), nullptr, OLEObjectDestructor, true},
                     nullptr, 0, sOLEObjectMethods, std::size(sOLEObjectMethods));
  return &defn;
}

ObjectDefinition *OLEParameterClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  sOLEParameterProperties[3].type = VariantClass()->AsType();
  DefineBuiltinClass(
      defn, {"OLEParameter", sizeof(OLEParameterObject), nullptr, OLEParameterDestructor, true},
      sOLEParameterProperties, std::size(sOLEParameterProperties), nullptr, 0);
  FillConstants(&defn, sOLEParameterConstants, std::size(sOLEParameterConstants));
  return &defn;
}

extern "C" {

void OLEObjectProgramIDConstructor(RuntimeObject *, stringStorage *) {}
void OLEObjectNewInstanceConstructor(RuntimeObject *, stringStorage *, int32_t) {}

RuntimeObject *OLEObjectInvoke(RuntimeObject *self, stringStorage *) {
  RequireServer(self);
  return nullptr;
}

void OLEObjectInvokeNoReturnValue(RuntimeObject *self, stringStorage *) { RequireServer(self); }

RuntimeObject *OLEObjectInvokeWithParams(RuntimeObject *self, stringStorage *, RuntimeArray *) {
  RequireServer(self);
  return nullptr;
}

void OLEObjectInvokeWithParamsNoReturnValue(RuntimeObject *self, stringStorage *, RuntimeArray *) {
  RequireServer(self);
}

RuntimeObject *OLEObjectPropertyGetter(RuntimeObject *self, stringStorage *) {
  RequireServer(self);
  return nullptr;
}

void OLEObjectPropertySetter(RuntimeObject *self, stringStorage *, RuntimeObject *) {
  RequireServer(self);
}

void OLEObjectPropertySetterWithValue(RuntimeObject *self, stringStorage *, int32_t,
                                      RuntimeObject *) {
  RequireServer(self);
}

void OLEObjectNoReturnOperatorLookup(RuntimeObject *self, stringStorage *memberName,
                                     RuntimeArray *) {
  LookUpMember(self, memberName);
}

RuntimeObject *OLEObjectOperatorLookup(RuntimeObject *self, stringStorage *memberName,
                                       RuntimeArray *) {
  LookUpMember(self, memberName);
  return nullptr;
}

void OLEObjectOperatorLookupSetter(RuntimeObject *self, stringStorage *memberName,
                                   RuntimeObject *) {
  LookUpMember(self, memberName);
}

RuntimeObject *OLEObjectOperatorConvert(RuntimeObject *self) {
  OLEObjectObject *o = self ? AsOLE(self) : nullptr;
  if (o && o->valuePresent) {
    RuntimeLockObject(o->value);
    return o->value;
  }
  return objectToVariant(self);
}

int32_t OLEObjectOperatorCompare(RuntimeObject *self, RuntimeObject *other) {
  return VariantCompare(ValueOf(self), other);
}

// Each arithmetic operator and its Right form, which swaps the operands.
#define OLE_OPERATOR(op)                                                                           \
  RuntimeObject *OLEObjectOperator##op(RuntimeObject *self, RuntimeObject *other) {                \
    return Variant##op(ValueOf(self), other);                                                      \
  }                                                                                                \
  RuntimeObject *OLEObjectOperator##op##Right(RuntimeObject *self, RuntimeObject *other) {         \
    return Variant##op(other, ValueOf(self));                                                      \
  }
OLE_OPERATOR(Add)
OLE_OPERATOR(Subtract)
OLE_OPERATOR(Multiply)
OLE_OPERATOR(Divide)
OLE_OPERATOR(IntegerDivide)
OLE_OPERATOR(Modulo)
#undef OLE_OPERATOR

RuntimeObject *OLEObjectOperatorNegate(RuntimeObject *self) { return VariantNegate(ValueOf(self)); }

} // extern "C"
