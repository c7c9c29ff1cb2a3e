// The automation classes of the language, inert on this platform: an
// OLEObject never has a server, so every call that would reach one raises
// OLEException; its operators work on the value it holds. OLEParameter only
// keeps its fields.
#pragma once
#include <cstddef>
#include <cstdint>

#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/RuntimeObject.h"

struct RuntimeArray;
struct stringStorage;

struct OLEObjectObject {
  RuntimeObject header;
  void *server;          // the automation server: always nil here
  int32_t valuePresent;  // whether value is what the operators work on
  RuntimeObject *value;  // a Variant, counted
  int32_t reserved36;
};
static_assert(sizeof(OLEObjectObject) == 40);
static_assert(offsetof(OLEObjectObject, server) == 24);
static_assert(offsetof(OLEObjectObject, valuePresent) == 28);
static_assert(offsetof(OLEObjectObject, value) == 32);

struct OLEParameterObject {
  RuntimeObject header;
  uint8_t passByRef;
  uint8_t reserved25[3];
  int32_t position;
  int32_t type;
  RuntimeObject *value; // a Variant, counted
};
static_assert(sizeof(OLEParameterObject) == 40);
static_assert(offsetof(OLEParameterObject, passByRef) == 24);
static_assert(offsetof(OLEParameterObject, position) == 28);
static_assert(offsetof(OLEParameterObject, type) == 32);
static_assert(offsetof(OLEParameterObject, value) == 36);

ObjectDefinition *OLEObjectClass();
ObjectDefinition *OLEParameterClass();

extern "C" {
void OLEObjectProgramIDConstructor(RuntimeObject *self, stringStorage *programID);
void OLEObjectNewInstanceConstructor(RuntimeObject *self, stringStorage *programID,
                                     int32_t newInstance);
RuntimeObject *OLEObjectInvoke(RuntimeObject *self, stringStorage *name);
void OLEObjectInvokeNoReturnValue(RuntimeObject *self, stringStorage *name);
RuntimeObject *OLEObjectInvokeWithParams(RuntimeObject *self, stringStorage *name,
                                         RuntimeArray *parameters);
void OLEObjectInvokeWithParamsNoReturnValue(RuntimeObject *self, stringStorage *name,
                                            RuntimeArray *parameters);
RuntimeObject *OLEObjectPropertyGetter(RuntimeObject *self, stringStorage *name);
void OLEObjectPropertySetter(RuntimeObject *self, stringStorage *name, RuntimeObject *value);
void OLEObjectPropertySetterWithValue(RuntimeObject *self, stringStorage *name, int32_t byValue,
                                      RuntimeObject *value);
void OLEObjectNoReturnOperatorLookup(RuntimeObject *self, stringStorage *memberName,
                                     RuntimeArray *params);
RuntimeObject *OLEObjectOperatorLookup(RuntimeObject *self, stringStorage *memberName,
                                       RuntimeArray *params);
void OLEObjectOperatorLookupSetter(RuntimeObject *self, stringStorage *memberName,
                                   RuntimeObject *value);
RuntimeObject *OLEObjectOperatorConvert(RuntimeObject *self);
int32_t OLEObjectOperatorCompare(RuntimeObject *self, RuntimeObject *other);
RuntimeObject *OLEObjectOperatorAdd(RuntimeObject *self, RuntimeObject *other);
RuntimeObject *OLEObjectOperatorAddRight(RuntimeObject *self, RuntimeObject *other);
RuntimeObject *OLEObjectOperatorSubtract(RuntimeObject *self, RuntimeObject *other);
RuntimeObject *OLEObjectOperatorSubtractRight(RuntimeObject *self, RuntimeObject *other);
RuntimeObject *OLEObjectOperatorMultiply(RuntimeObject *self, RuntimeObject *other);
RuntimeObject *OLEObjectOperatorMultiplyRight(RuntimeObject *self, RuntimeObject *other);
RuntimeObject *OLEObjectOperatorDivide(RuntimeObject *self, RuntimeObject *other);
RuntimeObject *OLEObjectOperatorDivideRight(RuntimeObject *self, RuntimeObject *other);
RuntimeObject *OLEObjectOperatorIntegerDivide(RuntimeObject *self, RuntimeObject *other);
RuntimeObject *OLEObjectOperatorIntegerDivideRight(RuntimeObject *self, RuntimeObject *other);
RuntimeObject *OLEObjectOperatorModulo(RuntimeObject *self, RuntimeObject *other);
RuntimeObject *OLEObjectOperatorModuloRight(RuntimeObject *self, RuntimeObject *other);
RuntimeObject *OLEObjectOperatorNegate(RuntimeObject *self);
}
