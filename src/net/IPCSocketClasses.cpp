#include "net/IPCSocketClasses.h"
#include "runtime/objects/ClassRowMacros.h"

#include <iterator>

#include "foundation/AssertionAlert.h"
#include "language/TextEncodingClasses.h"
#include "net/SocketClasses.h"
#include "net/SocketEntryPoints.h"
#include "runtime/application/ApplicationClass.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueAccessors.h"
#include "runtime/objects/ValueEntryPoints.h"

namespace {

// clang-format off
ObjectInstanceTemplate IPCSocketInstances[] = {
    {0, "Path", &stringType.type, EntryCode(stringGetter), "stringGetter", EntryCode(stringSetter),
     "stringSetter", offsetof(IPCSocketObject, path), 0},
    {0, "LastErrorCode", &integerType.type, EntryCode(intGetter), "intGetter", nullptr, nullptr,
     offsetof(IPCSocketObject, lastErrorCode), 0},
    {0, "IsConnected", &booleanType.type, EntryCode(IPCSocketIsConnected), "IPCSocketIsConnected",
     nullptr, nullptr, 0, 0},
};

MethodParameter sReadParams[] = {
    {"byteCount", &integerType.type, 0, {}, 0, {}, 0, {}},
    {"encoding", nullptr, 0, {}, 1, {}, 0, {}},
};
MethodParameter sEncodingParams[] = {{"encoding", nullptr, 0, {}, 1, {}, 0, {}}};
MethodParameter sWriteParams[] = {{"Text", &stringType.type, 0, {}, 0, {}, 0, {}}};

PropertyMethod IPCSocketMethods[] = {
    METHOD("Close", IPCSocketClose, nullptr, nullptr, 0),
    METHOD("Poll", IPCSocketPoll, nullptr, nullptr, 0),
    METHOD("Connect", IPCSocketConnect, nullptr, nullptr, 0),
    METHOD("Listen", IPCSocketListen, nullptr, nullptr, 0),
    METHOD("Read", IPCSocketRead, &stringType.type, sReadParams, 2),
    METHOD("ReadAll", IPCSocketReadAll, &stringType.type, sEncodingParams, 1),
    METHOD("Write", IPCSocketWrite, nullptr, sWriteParams, 1),
    METHOD("Lookahead", IPCSocketLookahead, &stringType.type, sEncodingParams, 1),
    METHOD("EOF", IPCSocketEOF, &booleanType.type, nullptr, 0),
    METHOD("ReadError", IPCSocketHadError, &booleanType.type, nullptr, 0),
    METHOD("Flush", IPCSocketFlush, nullptr, nullptr, 0),
    METHOD("WriteError", IPCSocketHadError, &booleanType.type, nullptr, 0),
};

// clang-format on

IPCSocketObject *Fields(RuntimeObject *object) {
  return reinterpret_cast<IPCSocketObject *>(object);
}

// The object's IPC socket; the alert for a nil object (and, with
// checkSocket, for one without a socket).
IPCSocket *SocketOf(RuntimeObject *object, bool checkSocket = false) {
  if (!CheckedObject(object))
    return nullptr;
  IPCSocket *socket = Fields(object)->socket;
  if (!socket && checkSocket)
    ShowMissingAlert("ctl->mImp");
  return socket;
}

void FireEvent(RuntimeObject *object, IPCSocketEvent event) {
  if (auto handler = reinterpret_cast<void (*)(RuntimeObject *)>(
          FindObjectCode(object, IPCSocketHooks[event].hook)))
    handler(object);
}

void IPCSocketConstructor(RuntimeObject *object) {
  IPCSocketObject *fields = Fields(object);
  fields->manager = new IPCSocketEventManager(object);
  fields->socket = new IPCSocket(fields->manager);
  fields->path = nullptr;
  fields->lastErrorCode = 0;
}

void IPCSocketDestructor(RuntimeObject *object) {
  IPCSocketObject *fields = Fields(object);
  RuntimeUnlockString(fields->path);
  fields->path = nullptr;
  delete fields->manager;
  fields->manager = nullptr;
  delete fields->socket;
  fields->socket = nullptr;
}

// Sets the pipe name again before every attempt: the inner socket's
// shutdown forgets it. Without a Path, Error fires with 106.
bool PreparePath(RuntimeObject *object, IPCSocket *socket) {
  IPCSocketObject *fields = Fields(object);
  if (!fields->path) {
    if (fields->manager)
      fields->manager->IPCSocketError(socket, kInvalidStateError);
    return false;
  }
  socket->SetPipeName(string::Borrow(fields->path));
  return true;
}

} // namespace

ObjectHookTemplate IPCSocketHooks[3] = {
    {0, "Connected", "", "", nullptr, 0},
    {0, "DataAvailable", "", "", nullptr, 0},
    {0, "Error", "", "", nullptr, 0},
};

void IPCSocketEventManager::IPCSocketConnected(IPCSocket *) {
  if (!mOwner) {
    ShowMissingAlert("mOwningControl");
    return;
  }
  RuntimeObject *owner = mOwner;
  RuntimeLockObject(owner); // the handler may drop the program's reference
  FireEvent(owner, kIPCConnectedEvent);
  RuntimeUnlockObject(owner);
}

void IPCSocketEventManager::IPCSocketDataReceived(IPCSocket *) {
  if (!mOwner) {
    ShowMissingAlert("mOwningControl");
    return;
  }
  RuntimeObject *owner = mOwner;
  RuntimeLockObject(owner);
  FireEvent(owner, kIPCDataAvailableEvent);
  RuntimeUnlockObject(owner);
}

void IPCSocketEventManager::IPCSocketError(IPCSocket *, int32_t code) {
  if (!mOwner) {
    ShowMissingAlert("mOwningControl");
    return;
  }
  RuntimeObject *owner = mOwner;
  Fields(owner)->lastErrorCode = code;
  RuntimeLockObject(owner);
  FireEvent(owner, kIPCErrorEvent);
  RuntimeUnlockObject(owner);
}

ObjectDefinition *IPCSocketClass() {
  static ObjectDefinition defn;
  if (!StartDefinition(defn, "IPCSocket", nullptr, sizeof(IPCSocketObject)))
    return &defn;
  FillEncodingParameters(sReadParams, sEncodingParams, IPCSocketMethods,
                         std::size(IPCSocketMethods));
  defn.constructor = IPCSocketConstructor;
  defn.destructor = IPCSocketDestructor;
  defn.SetPropertyListHead(FillInstances(IPCSocketInstances, std::size(IPCSocketInstances)));
  defn.methods = FillMethods(IPCSocketMethods, std::size(IPCSocketMethods));
  FillHooks(&defn, IPCSocketHooks, std::size(IPCSocketHooks));
  FillConstants(&defn, SocketCoreConstants, std::size(SocketCoreConstants));
  defn.addInterface(ReadableInterface());
  defn.addInterface(WriteableInterface());
  return &defn;
}

void IPCSocketConnect(RuntimeObject *object) {
  if (IPCSocket *socket = SocketOf(object))
    if (PreparePath(object, socket))
      socket->Connect();
}

void IPCSocketListen(RuntimeObject *object) {
  if (IPCSocket *socket = SocketOf(object))
    if (PreparePath(object, socket))
      socket->Listen();
}

void IPCSocketClose(RuntimeObject *object) {
  if (IPCSocket *socket = SocketOf(object))
    socket->Close();
}

void IPCSocketPoll(RuntimeObject *object) {
  if (IPCSocket *socket = SocketOf(object))
    socket->Poll();
}

void IPCSocketFlush(RuntimeObject *object) {
  // Never drops what the peer did not take yet: the rest goes out on later
  // services.
  if (IPCSocket *socket = SocketOf(object, true))
    socket->Flush();
}

stringStorage *IPCSocketRead(RuntimeObject *object, int32_t byteCount, RuntimeObject *encoding) {
  IPCSocket *socket = SocketOf(object);
  return socket ? TaggedSocketText(socket->ReadData(byteCount), encoding) : nullptr;
}

stringStorage *IPCSocketReadAll(RuntimeObject *object, RuntimeObject *encoding) {
  IPCSocket *socket = SocketOf(object);
  return socket ? TaggedSocketText(socket->ReadDataAll(), encoding) : nullptr;
}

stringStorage *IPCSocketLookahead(RuntimeObject *object, RuntimeObject *encoding) {
  IPCSocket *socket = SocketOf(object);
  return socket ? TaggedSocketText(socket->Lookahead(), encoding) : nullptr;
}

void IPCSocketWrite(RuntimeObject *object, stringStorage *text) {
  IPCSocket *socket = SocketOf(object);
  if (socket && text)
    socket->SendData(string::Borrow(text));
}

int32_t IPCSocketIsConnected(RuntimeObject *object) {
  IPCSocket *socket = SocketOf(object);
  return socket && socket->IsConnected() ? 1 : 0;
}

int32_t IPCSocketEOF(RuntimeObject *object) {
  IPCSocket *socket = SocketOf(object, true);
  if (!socket)
    return 0;
  return !socket->IsConnected() && socket->BytesAvailable() == 0 ? 1 : 0;
}

int32_t IPCSocketHadError(RuntimeObject *object) {
  if (!CheckedObject(object))
    return 0;
  return Fields(object)->lastErrorCode != 0 ? 1 : 0;
}
