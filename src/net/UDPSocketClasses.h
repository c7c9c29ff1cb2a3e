// The UDPSocket and Datagram classes of the language and their entry points.
#pragma once
#include <cstddef>
#include <cstdint>

#include "foundation/String.h"
#include "net/SocketObjects.h"
#include "runtime/objects/ObjectDefinition.h"

class UDPSocket;

// The SocketCore fields, then the two the class adds; compiled subclasses lay
// their own fields from byte 48.
struct UDPSocketObject {
  RuntimeObject header;
  UDPSocket *socket;
  int32_t port;
  int32_t lastErrorCode;
  RuntimeObject *networkInterface;
  int32_t routerHops; // 1 at creation
  bool sendToSelf;    // true at creation
};
static_assert(sizeof(UDPSocketObject) == 48);
static_assert(offsetof(UDPSocketObject, socket) == offsetof(SocketCoreObject, socket));
static_assert(offsetof(UDPSocketObject, port) == offsetof(SocketCoreObject, port));
static_assert(offsetof(UDPSocketObject, lastErrorCode) == offsetof(SocketCoreObject, lastErrorCode));
static_assert(offsetof(UDPSocketObject, networkInterface) ==
              offsetof(SocketCoreObject, networkInterface));
static_assert(offsetof(UDPSocketObject, routerHops) == 40);
static_assert(offsetof(UDPSocketObject, sendToSelf) == 44);

struct DatagramObject {
  RuntimeObject header;
  stringStorage *address;
  stringStorage *data;
};
static_assert(sizeof(DatagramObject) == 32);
static_assert(offsetof(DatagramObject, address) == 24);
static_assert(offsetof(DatagramObject, data) == 28);

ObjectDefinition *UDPSocketClass();
ObjectDefinition *DatagramClassLookup();

bool IsUDPSocketObject(RuntimeObject *object);
// The object's runtime socket, or nil.
UDPSocket *UDPSocketOfObject(RuntimeObject *object);

extern "C" {
void UDPSocketBind(RuntimeObject *object);
int32_t UDPSocketIsBound(RuntimeObject *object);
void UDPSocketRouterHops(RuntimeObject *object, int32_t index, int32_t value);
void UDPSocketSetLoopback(RuntimeObject *object, int32_t index, int32_t value);
int32_t PacketsAvailableGetter(RuntimeObject *object);
int32_t UDPSocketPacketsLeftToSend(RuntimeObject *object);
stringStorage *UDPSocketGetBroadcast(RuntimeObject *object);
int32_t SocketJoinMulticastGroup(RuntimeObject *object, stringStorage *group);
void SocketLeaveMulticastGroup(RuntimeObject *object, stringStorage *group);
void UDPSocketWrite(RuntimeObject *object, stringStorage *address, stringStorage *data);
void UDPSocketWriteDatagram(RuntimeObject *object, RuntimeObject *datagram);
RuntimeObject *UDPReadDatagram(RuntimeObject *object, RuntimeObject *encoding);
}
