// The built-in exception classes: RuntimeException, whose ErrorNumber and
// Message every exception carries, and its subclasses. Each builder returns
// its definition, built on the first call.
#pragma once
#include <cstddef>
#include <cstdint>

#include "foundation/String.h"
#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/RuntimeObject.h"

// An exception object as compiled code sees it.
struct RuntimeExceptionObject {
  RuntimeObject header;
  int32_t errorNumber;
  stringStorage *message; // nil for the empty string; one reference
};
static_assert(sizeof(RuntimeExceptionObject) == 32);
static_assert(offsetof(RuntimeExceptionObject, errorNumber) == 24);
static_assert(offsetof(RuntimeExceptionObject, message) == 28);

ObjectDefinition *RuntimeExceptionClass();
ObjectDefinition *NilObjectExceptionClass();
ObjectDefinition *SystemServiceNotAvailableExceptionClass();
ObjectDefinition *NoOpenTransportClass();
ObjectDefinition *RegistryAccessErrorExceptionClass();
ObjectDefinition *IllegalCastExceptionClass();
ObjectDefinition *InvalidParentExceptionClass();
ObjectDefinition *StackOverflowExceptionClass();
ObjectDefinition *TypeMismatchExceptionClass();
ObjectDefinition *OutOfBoundsExceptionClass();
ObjectDefinition *OutOfMemoryExceptionClass();
ObjectDefinition *KeyNotFoundExceptionClass();
ObjectDefinition *EndExceptionClass();
ObjectDefinition *ThreadRunningExceptionClass(); // not registered by name
ObjectDefinition *UnsupportedFormatExceptionClass();
ObjectDefinition *KeyChainExceptionClass();
ObjectDefinition *OLEExceptionClass();

// Registers every exception class but ThreadAlreadyRunningException by name.
void AddRuntimeExceptions();

// Creates an instance of the class, raises it and drops the local reference.
void RaiseExceptionClass(ObjectDefinition *exceptionClass);
// The same with Message set to the message and ErrorNumber to the number.
void RaiseExceptionClassWMessage(ObjectDefinition *exceptionClass, const string &message,
                                 int32_t errorNumber);
