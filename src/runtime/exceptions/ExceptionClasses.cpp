#include "runtime/exceptions/ExceptionClasses.h"

#include <iterator>

#include "runtime/exceptions/RuntimeExceptions.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ClassRegistry.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueAccessors.h"
#include "runtime/objects/ValueEntryPoints.h"

namespace {

constexpr int32_t kExceptionInstanceSize = sizeof(RuntimeExceptionObject);

void ReleaseExceptionMessage(RuntimeObject *object) {
  RuntimeUnlockString(reinterpret_cast<RuntimeExceptionObject *>(object)->message);
}

ObjectInstanceTemplate sRuntimeExceptionProperties[] = {
    {kConsoleAvailableFlag, "Message", &stringType.type, reinterpret_cast<void *>(stringGetter),
     "stringGetter", reinterpret_cast<void *>(stringSetter), "stringSetter",
     offsetof(RuntimeExceptionObject, message), 0},
    {kConsoleAvailableFlag, "ErrorNumber", &integerType.type, reinterpret_cast<void *>(intGetter),
     "intGetter", reinterpret_cast<void *>(intSetter), "intSetter",
     offsetof(RuntimeExceptionObject, errorNumber), 0},
};

// Fills a definition of an exception class on its first build; answers
// whether this call built it.
bool BuildExceptionDefinition(ObjectDefinition &defn, const char *name, ObjectDefinition *super,
                              bool newAllowed) {
  if (!defn.className.IsEmpty())
    return false;
  defn.super = super;
  defn.className = string(name);
  defn.objectSize = kExceptionInstanceSize;
  defn.staticTables = 1;
  defn.newAllowed = newAllowed;
  defn.consoleSafe = 1;
  return true;
}

// A subclass of RuntimeException; it adds no members and inherits the
// destructor that releases the message.
ObjectDefinition *ExceptionSubclass(ObjectDefinition &defn, const char *name,
                                    bool newAllowed = true) {
  BuildExceptionDefinition(defn, name, RuntimeExceptionClass(), newAllowed);
  return &defn;
}

// A subclass that the runtime raises itself: converted at once and handed to
// the raise functions.
ObjectDefinition *RaisedExceptionSubclass(ObjectDefinition &defn, const char *name,
                                          void (*registerClass)(RuntimeClass *)) {
  if (BuildExceptionDefinition(defn, name, RuntimeExceptionClass(), true))
    registerClass(LookupObjectDefinition(&defn));
  return &defn;
}

// Each builder's definition is a function-static object: constructed on the
// first call, destroyed at process exit.
#define EXCEPTION_DEFINITION()                                                                     \
  static ObjectDefinition definition;                                                              \
  ObjectDefinition *const defn = &definition

} // namespace

ObjectDefinition *RuntimeExceptionClass() {
  EXCEPTION_DEFINITION();
  if (BuildExceptionDefinition(*defn, "RuntimeException", nullptr, true)) {
    defn->destructor = ReleaseExceptionMessage;
    defn->SetPropertyListHead(
        FillInstances(sRuntimeExceptionProperties, std::size(sRuntimeExceptionProperties)));
  }
  return defn;
}

ObjectDefinition *NilObjectExceptionClass() {
  EXCEPTION_DEFINITION();
  return RaisedExceptionSubclass(*defn, "NilObjectException", SetNilObjectExceptionClass);
}

ObjectDefinition *IllegalCastExceptionClass() {
  EXCEPTION_DEFINITION();
  return RaisedExceptionSubclass(*defn, "IllegalCastException", SetIllegalCastExceptionClass);
}

ObjectDefinition *OutOfBoundsExceptionClass() {
  EXCEPTION_DEFINITION();
  return RaisedExceptionSubclass(*defn, "OutOfBoundsException", SetOutOfBoundsExceptionClass);
}

ObjectDefinition *SystemServiceNotAvailableExceptionClass() {
  EXCEPTION_DEFINITION();
  return ExceptionSubclass(*defn, "ServiceNotAvailableException");
}

ObjectDefinition *NoOpenTransportClass() {
  EXCEPTION_DEFINITION();
  return ExceptionSubclass(*defn, "NoOpenTransportException");
}

ObjectDefinition *RegistryAccessErrorExceptionClass() {
  EXCEPTION_DEFINITION();
  return ExceptionSubclass(*defn, "RegistryAccessErrorException");
}

ObjectDefinition *InvalidParentExceptionClass() {
  EXCEPTION_DEFINITION();
  return ExceptionSubclass(*defn, "InvalidParentException");
}

ObjectDefinition *StackOverflowExceptionClass() {
  EXCEPTION_DEFINITION();
  return ExceptionSubclass(*defn, "stackOverflowException");
}

ObjectDefinition *TypeMismatchExceptionClass() {
  EXCEPTION_DEFINITION();
  return ExceptionSubclass(*defn, "typeMismatchException");
}

ObjectDefinition *OutOfMemoryExceptionClass() {
  EXCEPTION_DEFINITION();
  return ExceptionSubclass(*defn, "OutOfMemoryException");
}

ObjectDefinition *KeyNotFoundExceptionClass() {
  EXCEPTION_DEFINITION();
  return ExceptionSubclass(*defn, "KeyNotFoundException");
}

ObjectDefinition *EndExceptionClass() {
  EXCEPTION_DEFINITION();
  return ExceptionSubclass(*defn, "EndException", false);
}

ObjectDefinition *ThreadRunningExceptionClass() {
  EXCEPTION_DEFINITION();
  return ExceptionSubclass(*defn, "ThreadAlreadyRunningException");
}

ObjectDefinition *UnsupportedFormatExceptionClass() {
  EXCEPTION_DEFINITION();
  return ExceptionSubclass(*defn, "UnsupportedFormatException");
}

ObjectDefinition *KeyChainExceptionClass() {
  EXCEPTION_DEFINITION();
  return ExceptionSubclass(*defn, "KeyChainException");
}

ObjectDefinition *OLEExceptionClass() {
  EXCEPTION_DEFINITION();
  return ExceptionSubclass(*defn, "OLEException");
}

void AddRuntimeExceptions() {
  ObjectDefinition *(*const builders[])() = {
      RuntimeExceptionClass,
      NilObjectExceptionClass,
      NoOpenTransportClass,
      RegistryAccessErrorExceptionClass,
      SystemServiceNotAvailableExceptionClass,
      IllegalCastExceptionClass,
      InvalidParentExceptionClass,
      StackOverflowExceptionClass,
      TypeMismatchExceptionClass,
      OutOfBoundsExceptionClass,
      OutOfMemoryExceptionClass,
      KeyNotFoundExceptionClass,
      EndExceptionClass,
      UnsupportedFormatExceptionClass,
      KeyChainExceptionClass,
      OLEExceptionClass,
  };
  for (auto builder : builders)
    addIntrinsicClass(builder());
}

void RaiseExceptionClass(ObjectDefinition *exceptionClass) {
  RuntimeObject *exception = CreateInstance(exceptionClass);
  RuntimeRaiseException(exception);
  RuntimeUnlockObject(exception);
}

void RaiseExceptionClassWMessage(ObjectDefinition *exceptionClass, const string &message,
                                 int32_t errorNumber) {
  RuntimeObject *exception = CreateInstance(exceptionClass);
  if (exception) {
    auto *fields = reinterpret_cast<RuntimeExceptionObject *>(exception);
    fields->message = message.ExtractStringStorage();
    fields->errorNumber = errorNumber;
  }
  RuntimeRaiseException(exception);
  RuntimeUnlockObject(exception);
}
