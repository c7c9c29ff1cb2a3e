#include "TestClassDefinitions.h"

#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueAccessors.h"

namespace testclasses {

void *CodeAddress(int n) { return reinterpret_cast<void *>(static_cast<uintptr_t>(0x7000 + n)); }

namespace {

MethodImplementation Impl(int code, const char *exportName) {
  return {CodeAddress(code), exportName, {}};
}

MethodParameter sWriteParams[] = {{"text", &stringType.type, 0, {}, 0, {}, 0, {}}};
MethodParameter sSetTimeoutParams[] = {{"ticks", &integerType.type, 1, {}, 0, {}, 0, {}}};

ObjectHookTemplate sSocketHooks[] = {
    {0, "DataAvailable", "", "", nullptr, 0},
    {0, "Error", "code As Integer", "", nullptr, 0},
};

} // namespace

ObjectHookTemplate &SocketErrorHookRow() { return sSocketHooks[1]; }

ObjectDefinition *WriteableInterface() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  static PropertyMethod methods[] = {
      {"Write", nullptr, sWriteParams, 1, {}, 0, 0, 0},
      {"FLUSH", nullptr, nullptr, 0, {}, 0, 0, 0},
  };
  defn.className = string("TestWriteable");
  defn.objectSize = 0;
  defn.isInterface = 1;
  defn.staticTables = 1;
  defn.methods = FillMethods(methods, 2);
  return &defn;
}

ObjectDefinition *SocketClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  static PropertyMethod methods[] = {
      {"Write", nullptr, sWriteParams, 1, {Impl(kWriteCode, "testSocketWrite"), {}}, 0, 4, 0},
      {"Flush", nullptr, nullptr, 0, {Impl(kFlushCode, "testSocketFlush"), {}}, 0, 4, 0},
      {"SetTimeout",
       &booleanType.type,
       sSetTimeoutParams,
       1,
       {Impl(kSetTimeoutCode, "testSocketSetTimeout"), {}},
       0,
       4,
       0},
      // An export name without code is not offered.
      {"Read", &stringType.type, nullptr, 0, {{nullptr, "testSocketReadUnbuilt", {}}, {}}, 0, 4, 0},
  };
  static ObjectInstanceTemplate properties[] = {
      {4, "Port", &integerType.type, reinterpret_cast<void *>(intGetter), "testSocketPortGetter",
       reinterpret_cast<void *>(intSetter), "testSocketPortSetter", 24, 0},
      {4, "Address", &stringType.type, reinterpret_cast<void *>(stringGetter), nullptr, nullptr,
       nullptr, 28, 0},
      {4, "Hidden", &integerType.type, reinterpret_cast<void *>(intGetter), nullptr, nullptr,
       nullptr, 24, 0},
  };
  defn.className = string("TestSocket");
  defn.objectSize = kSocketSize;
  defn.staticTables = 1;
  defn.methods = FillMethods(methods, 4);
  defn.properties = FillInstances(properties, 3);
  defn.properties->next->next->propertyKind = kUnnumberedPropertyKind;
  FillHooks(&defn, sSocketHooks, 2);
  return &defn;
}

ObjectDefinition *EasySocketClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  static ObjectHookTemplate hooks[] = {{0, "ReceivedMessage", "", "", nullptr, 0}};
  static ObjectInstanceTemplate properties[] = {
      {4, "Verbose", &booleanType.type, reinterpret_cast<void *>(boolGetter), nullptr,
       reinterpret_cast<void *>(boolSetter), nullptr, 32, 0},
  };
  defn.super = SocketClass();
  defn.className = string("TestEasySocket");
  defn.objectSize = kEasySize;
  defn.staticTables = 1;
  defn.properties = FillInstances(properties, 1);
  FillHooks(&defn, hooks, 1);
  defn.hookInstances =
      new ObjectHookInstance{nullptr, string("error"), 0, CodeAddress(kErrorHandlerCode)};
  defn.addInterface(WriteableInterface());
  return &defn;
}

} // namespace testclasses
