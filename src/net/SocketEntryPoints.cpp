#include "net/SocketEntryPoints.h"
#include "runtime/objects/ValueEntryPoints.h"

#include <arpa/inet.h>

#include "foundation/AssertionAlert.h"
#include "foundation/TextEncodings.h"
#include "language/TextEncodingClasses.h"
#include "net/NetworkInterfacesPosix.h"
#include "net/SocketClasses.h"
#include "net/SocketObjects.h"
#include "net/TCPSocket.h"
#include "net/UDPSocketClasses.h"

namespace {

SocketCoreObject *Fields(RuntimeObject *object) {
  return reinterpret_cast<SocketCoreObject *>(object);
}

// The socket of an object that must not be nil: the alert names what is
// missing, and the caller goes on without a socket.
TCPSocket *CheckedSocket(RuntimeObject *object, bool checkSocket) {
  if (!CheckedObject(object))
    return nullptr;
  TCPSocket *socket = SocketOfObject(object);
  if (!socket && checkSocket)
    ShowMissingAlert("ctl->socket");
  return socket;
}

TCPSocket *TCPSocketOf(RuntimeObject *object) {
  return IsTCPSocketObject(object) ? Fields(object)->socket : nullptr;
}


// Stops what the socket was doing, and clears its state: a connection or a
// listening descriptor ends, unread data is discarded. An active socket keeps
// its language object alive; the hold lets a socket kept only by its own
// activity (a pooled one) finish the close before it goes.
void CloseSocket(SocketCore *socket) {
  SocketServiceHold hold(socket);
  socket->Shutdown(false);
  socket->Reset(true);
}

// Before a new Connect or Listen: delivers what the socket still has to say,
// then clears it.
void PrepareRestart(RuntimeObject *object, TCPSocket *socket) {
  if (socket->mFiredEvents != 0)
    socket->Poll();
  CloseSocket(socket);
  Fields(object)->lastErrorCode = 0;
}

} // namespace

void ShowMissingAlert(const char *what, const char *message) {
  DisplayRuntimeErrorAlert(kAssertionCode, kAssertionNumber, __FILE__, __LINE__, what, message);
}

bool CheckedObject(RuntimeObject *object, const char *message) {
  if (object)
    return true;
  ShowMissingAlert("ctl", message);
  return false;
}

stringStorage *TaggedSocketText(string text, RuntimeObject *encoding) {
  uint32_t tag = kEncodingUnknown;
  if (encoding)
    tag = uint32_t(GetEncodingFromTEObject(reinterpret_cast<TextEncodingObject *>(encoding)));
  if (!text.IsEmpty())
    text.SetEncoding(tag);
  return text.ExtractStringStorage();
}

void CloseSocketOfObject(RuntimeObject *object) {
  if (IsServerSocketObject(object))
    ServerSocketClose(object);
  else if (IsTCPSocketObject(object))
    socketClose(object);
}

void SocketConnect(RuntimeObject *object) {
  if (IsUDPSocketObject(object)) {
    Fields(object)->lastErrorCode = 0;
    UDPSocketBind(object);
    return;
  }
  TCPSocket *socket = TCPSocketOf(object);
  if (!socket)
    return;
  PrepareRestart(object, socket);
  string address = string::Borrow(reinterpret_cast<TCPSocketObject *>(object)->address);
  if (address.Compare(string("localhost")) == 0)
    address = string("127.0.0.1");
  Fields(object)->lastErrorCode = 0;
  socket->Connect(address, Fields(object)->port);
}

void SocketListen(RuntimeObject *object) {
  TCPSocket *socket = TCPSocketOf(object);
  if (!socket)
    return;
  PrepareRestart(object, socket);
  socket->Listen(Fields(object)->port);
}

void socketPoll(RuntimeObject *object) {
  if (SocketCore *socket = CoreSocketOfObject(object))
    socket->Poll();
}

void socketClose(RuntimeObject *object) {
  if (SocketCore *socket = CoreSocketOfObject(object))
    CloseSocket(socket);
}

void SocketPurge(RuntimeObject *object) {
  if (SocketCore *socket = CoreSocketOfObject(object))
    socket->Purge();
}

stringStorage *socketRead(RuntimeObject *object, int32_t byteCount, RuntimeObject *encoding) {
  TCPSocket *socket = TCPSocketOf(object);
  return socket ? TaggedSocketText(socket->ReadData(byteCount), encoding) : nullptr;
}

stringStorage *SocketReadAll(RuntimeObject *object, RuntimeObject *encoding) {
  TCPSocket *socket = TCPSocketOf(object);
  return socket ? TaggedSocketText(socket->ReadDataAll(), encoding) : nullptr;
}

stringStorage *socketLookahead(RuntimeObject *object, RuntimeObject *encoding) {
  TCPSocket *socket = TCPSocketOf(object);
  return socket ? TaggedSocketText(socket->Lookahead(), encoding) : nullptr;
}

void SocketWrite(RuntimeObject *object, stringStorage *text) {
  if (TCPSocket *socket = TCPSocketOf(object))
    socket->SendData(string::Borrow(text));
}

void SocketDisconnect(RuntimeObject *object) {
  TCPSocket *socket = TCPSocketOf(object);
  if (!socket || !socket->IsConnected())
    return;
  SocketServiceHold hold(socket); // the object outlives its own Error event
  CloseSocket(socket);
  socket->mLastError = kLostConnection;
  socketFireErrorEvent(object);
}

int32_t SocketIsConnected(RuntimeObject *object) {
  SocketCore *socket = CoreSocketOfObject(object);
  return socket && socket->IsConnected() ? 1 : 0;
}

int32_t socketLastErrorCode(RuntimeObject *object) {
  if (IsSocketCoreObject(object))
    return Fields(object)->lastErrorCode;
  if (IsServerSocketObject(object))
    return reinterpret_cast<ServerSocketObject *>(object)->lastErrorCode;
  return 0;
}

int32_t SocketBytesAvailable(RuntimeObject *object) {
  TCPSocket *socket = TCPSocketOf(object);
  return socket ? socket->BytesAvailable() : 0;
}

int32_t TCPSocketBytesLeftToSend(RuntimeObject *object) {
  TCPSocket *socket = CheckedSocket(object, false);
  return socket ? socket->BytesLeftToSend() : 0;
}

int32_t TCPSocketEof(RuntimeObject *object) {
  TCPSocket *socket = CheckedSocket(object, true);
  if (!socket)
    return 0;
  return !socket->IsConnected() && socket->BytesAvailable() == 0 ? 1 : 0;
}

void TCPSocketFlush(RuntimeObject *object) {
  // Never drops what the network did not take yet: the rest goes out on
  // later services.
  if (TCPSocket *socket = CheckedSocket(object, true))
    socket->Flush();
}

stringStorage *socketRemoteAddressGetter(RuntimeObject *object) {
  TCPSocket *socket = TCPSocketOf(object);
  if (!socket)
    return nullptr;
  string address = socket->GetRemoteAddress();
  if (!address.IsEmpty())
    address.SetEncoding(kEncodingASCII);
  return address.ExtractStringStorage();
}

stringStorage *socketLocalAddressGetter(RuntimeObject *object) {
  int32_t number = 0;
  NetworkInterfaceNumberOf(object, &number);
  in_addr address{htonl(GetLocalIPAddress(number))};
  string text(inet_ntoa(address));
  return text.ExtractStringStorage();
}

int32_t SocketPortGetter(RuntimeObject *object) {
  SocketCore *socket = IsUDPSocketObject(object) ? CoreSocketOfObject(object)
                                                 : CheckedSocket(object, true);
  if (!socket)
    return 0;
  int32_t bound = socket->ActualPortBoundTo();
  return bound == -1 ? Fields(object)->port : bound;
}

void SocketPortSetter(RuntimeObject *object, int32_t, int32_t value) {
  if (IsUDPSocketObject(object) ? CoreSocketOfObject(object) != nullptr
                                : CheckedSocket(object, true) != nullptr)
    Fields(object)->port = value;
}

uint32_t socketGetEvents(RuntimeObject *object) {
  SocketCore *socket = CoreSocketOfObject(object);
  return socket ? socket->GetEvents() : 0;
}

void ServerSocketListen(RuntimeObject *object) {
  if (!IsServerSocketObject(object))
    return;
  auto *fields = reinterpret_cast<ServerSocketObject *>(object);
  TCPSocket *socket = fields->socket;
  if (!socket)
    return;
  if (socket->GetLastError() != 0)
    CloseSocket(socket);
  socket->Listen(fields->port);
}

void ServerSocketClose(RuntimeObject *object) {
  if (IsServerSocketObject(object))
    if (TCPSocket *socket = reinterpret_cast<ServerSocketObject *>(object)->socket)
      CloseSocket(socket);
}

int32_t serverSocketIsListening(RuntimeObject *object) {
  TCPSocket *socket = IsServerSocketObject(object) ? SocketOfObject(object) : nullptr;
  return socket && socket->IsServerListening() ? 1 : 0;
}

void ServerSocketSetMinSockets(RuntimeObject *object, int32_t, int32_t value) {
  if (IsServerSocketObject(object))
    reinterpret_cast<ServerSocketObject *>(object)->minimumSocketsAvailable = value;
}

void ServerSocketSetMaxSockets(RuntimeObject *object, int32_t, int32_t value) {
  if (!IsServerSocketObject(object))
    return;
  reinterpret_cast<ServerSocketObject *>(object)->maximumSocketsConnected = value;
  TCPSocket *socket = SocketOfObject(object);
  if (socket && socket->GetServerPackage())
    socket->GetServerPackage()->SetMaxNumberOfConnections(uint32_t(value));
}

void socketDirectConnect(RuntimeObject *object, stringStorage *address, int32_t port) {
  if (!IsTCPSocketObject(object))
    return;
  auto *fields = reinterpret_cast<TCPSocketObject *>(object);
  RuntimeLockString(address);
  RuntimeUnlockString(fields->address);
  fields->address = address;
  fields->core.port = port;
  SocketConnect(object);
}

void pluginSocketListen(RuntimeObject *object) {
  if (IsTCPSocketObject(object))
    SocketListen(object);
}

stringStorage *pluginSocketRead(RuntimeObject *object, int32_t byteCount) {
  return socketRead(object, byteCount, nullptr);
}

stringStorage *pluginSocketReadAll(RuntimeObject *object) { return SocketReadAll(object, nullptr); }

stringStorage *pluginSocketLookahead(RuntimeObject *object, int32_t) {
  return socketLookahead(object, nullptr);
}

void PPPStatus(int32_t *) {}
void PPPConnect(int32_t) {}
void PPPDisconnect() {}

int32_t socketPPPStatus(RuntimeObject *) {
  int32_t status = 0;
  PPPStatus(&status);
  return status;
}

void socketPPPConnect(RuntimeObject *) { PPPConnect(1); }
void socketPPPDisconnect(RuntimeObject *) { PPPDisconnect(); }
