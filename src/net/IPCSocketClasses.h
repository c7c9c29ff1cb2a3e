// The IPCSocket class of the language: its object, the event manager that
// turns an IPC socket's events into the object's events, and the entry
// points compiled code calls.
#pragma once
#include <cstddef>
#include <cstdint>

#include "foundation/String.h"
#include "net/IPCSocket.h"
#include "runtime/objects/ClassTables.h"
#include "runtime/objects/ObjectDefinition.h"

// Fires the owning object's events.
class IPCSocketEventManager : public IPCSocketDelegate {
public:
  explicit IPCSocketEventManager(RuntimeObject *owner) : mOwner(owner) {}
  ~IPCSocketEventManager() override { mOwner = nullptr; }
  void IPCSocketConnected(IPCSocket *socket) override;
  void IPCSocketDataReceived(IPCSocket *socket) override;
  void IPCSocketError(IPCSocket *socket, int32_t code) override;

  RuntimeObject *mOwner; // nil after destruction
};

struct IPCSocketObject {
  RuntimeObject header;
  IPCSocketEventManager *manager;
  IPCSocket *socket;
  stringStorage *path;
  int32_t lastErrorCode;
};
static_assert(sizeof(IPCSocketObject) == 40);
static_assert(offsetof(IPCSocketObject, manager) == 24);
static_assert(offsetof(IPCSocketObject, socket) == 28);
static_assert(offsetof(IPCSocketObject, path) == 32);
static_assert(offsetof(IPCSocketObject, lastErrorCode) == 36);

ObjectDefinition *IPCSocketClass();
enum IPCSocketEvent { kIPCConnectedEvent, kIPCDataAvailableEvent, kIPCErrorEvent };
extern ObjectHookTemplate IPCSocketHooks[3];

extern "C" {
void IPCSocketClose(RuntimeObject *object);
void IPCSocketPoll(RuntimeObject *object);
void IPCSocketConnect(RuntimeObject *object);
void IPCSocketListen(RuntimeObject *object);
stringStorage *IPCSocketRead(RuntimeObject *object, int32_t byteCount, RuntimeObject *encoding);
stringStorage *IPCSocketReadAll(RuntimeObject *object, RuntimeObject *encoding);
void IPCSocketWrite(RuntimeObject *object, stringStorage *text);
stringStorage *IPCSocketLookahead(RuntimeObject *object, RuntimeObject *encoding);
int32_t IPCSocketIsConnected(RuntimeObject *object);
int32_t IPCSocketEOF(RuntimeObject *object);
int32_t IPCSocketHadError(RuntimeObject *object);
void IPCSocketFlush(RuntimeObject *object);
}
