#include "net/SocketClasses.h"
#include "runtime/objects/ClassRowMacros.h"

#include <iterator>

#include "language/TextEncodingClasses.h"
#include "net/SocketCore.h"
#include "net/SocketEntryPoints.h"
#include "net/SocketObjects.h"
#include "net/TCPSocket.h"
#include "net/UDPSocket.h"
#include "net/UDPSocketClasses.h"
#include "runtime/application/ApplicationClass.h"
#include "runtime/exports/ExportTable.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueAccessors.h"
#include "runtime/objects/ValueEntryPoints.h"
#include "runtime/startup/BuiltinClassBuilders.h"

namespace {

// clang-format off
ObjectInstanceTemplate SocketCoreInstances[] = {
    {0, "Port", &integerType.type, EntryCode(SocketPortGetter), "SocketPortGetter",
     EntryCode(SocketPortSetter), "SocketPortSetter", 0, 0},
    {0, "LocalAddress", &stringType.type, EntryCode(socketLocalAddressGetter),
     "socketLocalAddressGetter", nullptr, nullptr, 0, 0},
    {0, "LastErrorCode", &integerType.type, EntryCode(socketLastErrorCode), "socketLastErrorCode",
     nullptr, nullptr, 0, 0},
    {0, "IsConnected", &booleanType.type, EntryCode(SocketIsConnected), "SocketIsConnected", nullptr,
     nullptr, 0, 0},
    {0, "NetworkInterface", nullptr, EntryCode(objGetter), "objGetter", EntryCode(objSetter), "objSetter",
     offsetof(SocketCoreObject, networkInterface), 0},
};

PropertyMethod SocketCoreMethods[] = {
    METHOD("Close", socketClose, nullptr, nullptr, 0),
    METHOD("Poll", socketPoll, nullptr, nullptr, 0),
    METHOD("Purge", SocketPurge, nullptr, nullptr, 0),
    METHOD("Connect", SocketConnect, nullptr, nullptr, 0),
};

ObjectInstanceTemplate SocketInstances[] = {
    {0, "Address", &stringType.type, EntryCode(stringGetter), "stringGetter", EntryCode(stringSetter),
     "stringSetter", offsetof(TCPSocketObject, address), 0},
    {0, "RemoteAddress", &stringType.type, EntryCode(socketRemoteAddressGetter),
     "socketRemoteAddressGetter", nullptr, nullptr, 0, 0},
    {0, "PPPStatus", &integerType.type, EntryCode(socketPPPStatus), "socketPPPStatus", nullptr,
     nullptr, 0, 0},
    {0, "BytesAvailable", &integerType.type, EntryCode(SocketBytesAvailable), "SocketBytesAvailable",
     nullptr, nullptr, 0, 0},
    {0, "BytesLeftToSend", &integerType.type, EntryCode(TCPSocketBytesLeftToSend),
     "TCPSocketBytesLeftToSend", nullptr, nullptr, 0, 0},
};

MethodParameter sReadParams[] = {
    {"byteCount", &integerType.type, 0, {}, 0, {}, 0, {}},
    {"encoding", nullptr, 0, {}, 1, {}, 0, {}},
};
MethodParameter sEncodingParams[] = {{"encoding", nullptr, 0, {}, 1, {}, 0, {}}};
MethodParameter sWriteParams[] = {{"Text", &stringType.type, 0, {}, 0, {}, 0, {}}};

PropertyMethod socketMethods[] = {
    METHOD("Listen", SocketListen, nullptr, nullptr, 0),
    METHOD("Read", socketRead, &stringType.type, sReadParams, 2),
    METHOD("ReadAll", SocketReadAll, &stringType.type, sEncodingParams, 1),
    METHOD("Write", SocketWrite, nullptr, sWriteParams, 1),
    METHOD("PPPConnect", socketPPPConnect, nullptr, nullptr, 0),
    METHOD("PPPDisconnect", socketPPPDisconnect, nullptr, nullptr, 0),
    METHOD("Disconnect", SocketDisconnect, nullptr, nullptr, 0),
    METHOD("Lookahead", socketLookahead, &stringType.type, sEncodingParams, 1),
    METHOD("EOF", TCPSocketEof, &booleanType.type, nullptr, 0),
    METHOD("ReadError", socketLastErrorCode, &booleanType.type, nullptr, 0),
    METHOD("Flush", TCPSocketFlush, nullptr, nullptr, 0),
    METHOD("WriteError", socketLastErrorCode, &booleanType.type, nullptr, 0),
};

ObjectInstanceTemplate ServerSocketInstances[] = {
    {0, "Port", &integerType.type, EntryCode(intGetter), "intGetter", EntryCode(intSetter), "intSetter",
     offsetof(ServerSocketObject, port), 0},
    {0, "MinimumSocketsAvailable", &integerType.type, EntryCode(intGetter), "intGetter",
     EntryCode(ServerSocketSetMinSockets), "ServerSocketSetMinSockets",
     offsetof(ServerSocketObject, minimumSocketsAvailable), 0},
    {0, "MaximumSocketsConnected", &integerType.type, EntryCode(intGetter), "intGetter",
     EntryCode(ServerSocketSetMaxSockets), "ServerSocketSetMaxSockets",
     offsetof(ServerSocketObject, maximumSocketsConnected), 0},
    {0, "LocalAddress", &stringType.type, EntryCode(socketLocalAddressGetter),
     "socketLocalAddressGetter", nullptr, nullptr, 0, 0},
    {0, "IsListening", &booleanType.type, EntryCode(serverSocketIsListening),
     "serverSocketIsListening", nullptr, nullptr, 0, 0},
};

PropertyMethod ServerSocketMethods[] = {
    METHOD("Listen", ServerSocketListen, nullptr, nullptr, 0),
    METHOD("StopListening", ServerSocketClose, nullptr, nullptr, 0),
};
// clang-format on

// Gives the rows the types of classes other areas build, where linked; a
// parameter or property whose class is missing is left out, since a member
// without a type cannot be declared.
void FillForeignTypes() {
  FillEncodingParameters(sReadParams, sEncodingParams, socketMethods, std::size(socketMethods));
  // The NetworkInterface class is the desktop services'; without them the
  // property that names it is left out.
  ObjectDefinition *(*networkInterface)() = GetBuiltinClassHooks().NetworkInterfaceClass;
  SocketCoreInstances[4].type = networkInterface ? networkInterface()->AsType() : nullptr;
}

int SocketCoreInstanceCount() {
  return SocketCoreInstances[4].type ? 5 : 4; // NetworkInterface comes last
}

// "DebuggerSocketCount" and "DebuggerSocketLookup": the active sockets that
// belong to language objects, for the remote debugger.
int32_t DebuggerSocketCount() {
  int32_t count = 0;
  for (SocketCore *socket : gSocketList)
    if (socket->GetControl())
      ++count;
  return count;
}

RuntimeObject *DebuggerSocketLookup(void *, int32_t index) {
  for (SocketCore *socket : gSocketList) {
    RuntimeObject *object = socket->GetControl();
    if (object && index-- == 0) {
      RuntimeLockObject(object);
      return object;
    }
  }
  return nullptr;
}

void TCPSocketConstructor(RuntimeObject *object) {
  TCPSocket *socket = CreateTCPSocket(object, nullptr);
  socket->mHoldsObjectWhileActive = true;
  reinterpret_cast<SocketCoreObject *>(object)->socket = socket;
}

void TCPSocketDestructor(RuntimeObject *object) {
  auto *fields = reinterpret_cast<TCPSocketObject *>(object);
  RuntimeUnlockString(fields->address);
  fields->address = nullptr;
  TCPSocket *socket = fields->core.socket;
  fields->core.socket = nullptr;
  delete socket;
}

void ServerSocketConstructor(RuntimeObject *object) {
  auto *fields = reinterpret_cast<ServerSocketObject *>(object);
  if (fields->maximumSocketsConnected <= 0)
    fields->maximumSocketsConnected = 1;
  if (fields->minimumSocketsAvailable <= 0)
    fields->minimumSocketsAvailable = 1;
  fields->socket = CreateTCPSocket(object, nullptr);
}

void ServerSocketDestructor(RuntimeObject *object) {
  ServerSocketClose(object);
  auto *fields = reinterpret_cast<ServerSocketObject *>(object);
  TCPSocket *socket = fields->socket;
  fields->socket = nullptr;
  delete socket;
}

} // namespace

// Starts a class description on the builder's first call; false when it was
// built already.
bool StartDefinition(ObjectDefinition &defn, const char *name, ObjectDefinition *super,
                     int32_t objectSize, bool newAllowed) {
  if (!defn.className.IsEmpty())
    return false;
  defn.super = super;
  defn.className = string(name);
  defn.objectSize = objectSize;
  defn.staticTables = 1;
  defn.newAllowed = newAllowed;
  return true;
}

void FillEncodingParameters(MethodParameter *readParams, MethodParameter *encodingParams,
                            PropertyMethod *methods, size_t count) {
  ObjectDefinition *encoding = TextEncodingClass();
  PropertyType *encodingType = encoding ? encoding->AsType() : nullptr;
  readParams[1].type = encodingType;
  encodingParams[0].type = encodingType;
  for (size_t i = 0; i < count; ++i)
    if (methods[i].params == readParams)
      methods[i].paramCount = encodingType ? 2 : 1;
    else if (methods[i].params == encodingParams)
      methods[i].paramCount = encodingType ? 1 : 0;
}

bool IsInstanceOf(RuntimeObject *object, ObjectDefinition *defn) {
  RuntimeClass *cls = LookupObjectDefinition(defn);
  return object && cls && RuntimeObjectIsa(object, cls);
}

// clang-format off
ObjectConstantTemplate SocketCoreConstants[7] = {
    {0, "OpenDriverError", 1, "100"},    {0, "LostConnection", 1, "102"},
    {0, "NameResolutionError", 1, "103"}, {0, "AddressInUseError", 1, "105"},
    {0, "InvalidStateError", 1, "106"},  {0, "InvalidPortError", 1, "107"},
    {0, "OutOfMemoryError", 1, "108"},
};
// clang-format on

ObjectHookTemplate SocketCoreHooks[3] = {
    {0, "DataAvailable", "", "", nullptr, 0},
    {0, "Error", "", "", nullptr, 0},
    {0, "SendComplete", "userAborted as Boolean", "", nullptr, 0},
};

ObjectHookTemplate SocketHooks[2] = {
    {0, "Connected", "", "", nullptr, 0},
    {0, "SendProgress", "bytesSent as Integer, bytesLeft as Integer", "Boolean", nullptr, 0},
};

ObjectHookTemplate ServerSocketHooks[2] = {
    {0, "AddSocket", "", "TCPSocket", nullptr, 0},
    {0, "Error", "ErrorCode as Integer", "", nullptr, 0},
};

ObjectDefinition *SocketCoreClass() {
  static ObjectDefinition defn;
  if (!StartDefinition(defn, "SocketCore", nullptr, sizeof(SocketCoreObject), false))
    return &defn;
  FillForeignTypes();
  defn.SetPropertyListHead(FillInstances(SocketCoreInstances, SocketCoreInstanceCount()));
  defn.methods = FillMethods(SocketCoreMethods, std::size(SocketCoreMethods));
  FillHooks(&defn, SocketCoreHooks, std::size(SocketCoreHooks));
  FillConstants(&defn, SocketCoreConstants, std::size(SocketCoreConstants));
  AddRelocEntry("DebuggerSocketCount", EntryCode(DebuggerSocketCount));
  AddRelocEntry("DebuggerSocketLookup", EntryCode(DebuggerSocketLookup));
  return &defn;
}

ObjectDefinition *TCPSocketClass() {
  static ObjectDefinition defn;
  // SocketCore first: it fills the types of other areas' classes.
  if (!StartDefinition(defn, "TCPSocket", SocketCoreClass(), sizeof(TCPSocketObject)))
    return &defn;
  defn.constructor = TCPSocketConstructor;
  defn.destructor = TCPSocketDestructor;
  defn.SetPropertyListHead(FillInstances(SocketInstances, std::size(SocketInstances)));
  defn.methods = FillMethods(socketMethods, std::size(socketMethods));
  FillHooks(&defn, SocketHooks, std::size(SocketHooks));
  defn.addInterface(ReadableInterface());
  defn.addInterface(WriteableInterface());
  return &defn;
}

ObjectDefinition *OldSocketClass() {
  static ObjectDefinition defn;
  StartDefinition(defn, "Socket", TCPSocketClass(), sizeof(TCPSocketObject));
  return &defn;
}

ObjectDefinition *ServerSocketClass() {
  static ObjectDefinition defn;
  if (!StartDefinition(defn, "ServerSocket", nullptr, sizeof(ServerSocketObject)))
    return &defn;
  defn.constructor = ServerSocketConstructor;
  defn.destructor = ServerSocketDestructor;
  defn.SetPropertyListHead(FillInstances(ServerSocketInstances, std::size(ServerSocketInstances)));
  defn.methods = FillMethods(ServerSocketMethods, std::size(ServerSocketMethods));
  FillHooks(&defn, ServerSocketHooks, std::size(ServerSocketHooks));
  return &defn;
}

bool IsSocketCoreObject(RuntimeObject *object) { return IsInstanceOf(object, SocketCoreClass()); }

SocketCore *CoreSocketOfObject(RuntimeObject *object) {
  if (IsUDPSocketObject(object))
    return UDPSocketOfObject(object);
  return SocketOfObject(object);
}

bool IsTCPSocketObject(RuntimeObject *object) { return IsInstanceOf(object, TCPSocketClass()); }

bool IsServerSocketObject(RuntimeObject *object) {
  return IsInstanceOf(object, ServerSocketClass());
}

TCPSocket *SocketOfObject(RuntimeObject *object) {
  if (IsTCPSocketObject(object))
    return reinterpret_cast<SocketCoreObject *>(object)->socket;
  if (IsServerSocketObject(object))
    return reinterpret_cast<ServerSocketObject *>(object)->socket;
  return nullptr;
}

int32_t ServerSocketMinimum(RuntimeObject *server) {
  if (!IsServerSocketObject(server))
    return 0;
  return reinterpret_cast<ServerSocketObject *>(server)->minimumSocketsAvailable;
}

void SetObjectLastErrorCode(RuntimeObject *object, int32_t code) {
  if (IsSocketCoreObject(object))
    reinterpret_cast<SocketCoreObject *>(object)->lastErrorCode = code;
  else if (IsServerSocketObject(object))
    reinterpret_cast<ServerSocketObject *>(object)->lastErrorCode = code;
}

bool NetworkInterfaceNumberOf(RuntimeObject *object, int32_t *number) {
  if (!IsSocketCoreObject(object))
    return false;
  RuntimeObject *networkInterface = reinterpret_cast<SocketCoreObject *>(object)->networkInterface;
  if (!networkInterface)
    return false;
  *number = reinterpret_cast<NetworkInterfaceObject *>(networkInterface)->number;
  return true;
}
