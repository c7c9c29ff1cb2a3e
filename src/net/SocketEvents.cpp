// Firing the socket objects' events: each finds the object's handler for the
// event row and calls it with the object and the event's arguments; an
// object without a handler ignores the event.
#include "net/SocketClasses.h"
#include "net/SocketObjects.h"
#include "net/TCPSocket.h"
#include "runtime/objects/ObjectDefinitionConverter.h"

namespace {

template <typename Handler>
Handler FindHandler(RuntimeObject *object, const ObjectHookTemplate &row) {
  return reinterpret_cast<Handler>(FindObjectCode(object, row.hook));
}

void FirePlainEvent(RuntimeObject *object, const ObjectHookTemplate &row) {
  if (auto handler = FindHandler<void (*)(RuntimeObject *)>(object, row))
    handler(object);
}

} // namespace

void socketFireConnectedEvent(RuntimeObject *object) {
  FirePlainEvent(object, SocketHooks[kConnectedEvent]);
}

void socketFireDataReceivedEvent(RuntimeObject *object) {
  FirePlainEvent(object, SocketCoreHooks[kDataAvailableEvent]);
}

void socketFireSendCompleteEvent(RuntimeObject *object, bool userAborted) {
  using Handler = void (*)(RuntimeObject *, int32_t);
  if (auto handler = FindHandler<Handler>(object, SocketCoreHooks[kSendCompleteEvent]))
    handler(object, userAborted ? 1 : 0);
}

bool socketFireSendProgressEvent(RuntimeObject *object, uint32_t bytesSent, uint32_t bytesLeft) {
  using Handler = int32_t (*)(RuntimeObject *, int32_t, int32_t);
  auto handler = FindHandler<Handler>(object, SocketHooks[kSendProgressEvent]);
  return handler && handler(object, int32_t(bytesSent), int32_t(bytesLeft)) != 0;
}

void socketFireErrorEvent(RuntimeObject *object) {
  if (TCPSocket *socket = SocketOfObject(object))
    SetObjectLastErrorCode(object, socket->GetLastError());
  FirePlainEvent(object, SocketCoreHooks[kSocketErrorEvent]);
}

RuntimeObject *ServerSocketFireAddSocketEvent(RuntimeObject *server) {
  // A handler that is missing or answers nil gives no socket: the pool fill
  // ends there (raising from inside the run loop's service would reach no
  // handler of the program).
  using Handler = RuntimeObject *(*)(RuntimeObject *);
  auto handler = FindHandler<Handler>(server, ServerSocketHooks[kAddSocketEvent]);
  if (!handler)
    return nullptr;
  RuntimeLockObject(server);
  RuntimeObject *socket = handler(server);
  RuntimeUnlockObject(server);
  return socket;
}

void ServerSocketFireErrorEvent(RuntimeObject *server, int32_t code) {
  using Handler = void (*)(RuntimeObject *, int32_t);
  if (auto handler = FindHandler<Handler>(server, ServerSocketHooks[kServerErrorEvent]))
    handler(server, code);
}
