// The fields of the socket classes' objects, which compiled code reads and
// writes (and which compiled subclasses lay their own fields after).
#pragma once
#include <cstddef>
#include <cstdint>

#include "foundation/String.h"
#include "runtime/objects/RuntimeObject.h"

class TCPSocket;

struct SocketCoreObject {
  RuntimeObject header;
  TCPSocket *socket;
  int32_t port;
  int32_t lastErrorCode;
  RuntimeObject *networkInterface; // a NetworkInterface, or nil
};
static_assert(sizeof(SocketCoreObject) == 40);
static_assert(offsetof(SocketCoreObject, socket) == 24);
static_assert(offsetof(SocketCoreObject, port) == 28);
static_assert(offsetof(SocketCoreObject, lastErrorCode) == 32);
static_assert(offsetof(SocketCoreObject, networkInterface) == 36);

// Fields after Address are kept free: compiled subclasses of TCPSocket lay
// their own fields from byte 84.
struct TCPSocketObject {
  SocketCoreObject core;
  stringStorage *address;
  int32_t reserved[10];
};
static_assert(offsetof(TCPSocketObject, address) == 40);
static_assert(sizeof(TCPSocketObject) == 84);

struct ServerSocketObject {
  RuntimeObject header;
  TCPSocket *socket;
  int32_t port;
  int32_t lastErrorCode;
  RuntimeObject *networkInterface; // no property sets it: stays nil
  int32_t minimumSocketsAvailable;
  int32_t maximumSocketsConnected;
};
static_assert(offsetof(ServerSocketObject, socket) == 24);
static_assert(offsetof(ServerSocketObject, port) == 28);
static_assert(offsetof(ServerSocketObject, minimumSocketsAvailable) == 40);
static_assert(offsetof(ServerSocketObject, maximumSocketsConnected) == 44);
static_assert(sizeof(ServerSocketObject) == 48);

// A NetworkInterface object's one field: the interface number.
struct NetworkInterfaceObject {
  RuntimeObject header;
  int32_t number;
};
static_assert(offsetof(NetworkInterfaceObject, number) == 24);
