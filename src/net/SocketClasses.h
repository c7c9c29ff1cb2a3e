// The socket classes of the language: SocketCore, TCPSocket, Socket and
// ServerSocket, their class descriptions, and how a socket object finds its
// runtime socket and its events.
#pragma once
#include <cstdint>

#include "runtime/objects/ClassTables.h"
#include "runtime/objects/ObjectDefinition.h"

struct RuntimeObject;
class SocketCore;
class TCPSocket;

// Builders: each fills its class description on its first call.
ObjectDefinition *SocketCoreClass();
ObjectDefinition *TCPSocketClass();
ObjectDefinition *OldSocketClass(); // Socket
ObjectDefinition *ServerSocketClass();

// The event rows; FillHooks wrote each event's declaration into the row.
enum SocketCoreEvent { kDataAvailableEvent, kSocketErrorEvent, kSendCompleteEvent };
enum TCPSocketEvent { kConnectedEvent, kSendProgressEvent };
enum ServerSocketEvent { kAddSocketEvent, kServerErrorEvent };
extern ObjectHookTemplate SocketCoreHooks[3];
// The error codes as class constants (the IPC socket shares them).
extern ObjectConstantTemplate SocketCoreConstants[7];
extern ObjectHookTemplate SocketHooks[2];
extern ObjectHookTemplate ServerSocketHooks[2];

// The object's runtime socket (its first field), or nil for nil and for
// objects that are not sockets.
TCPSocket *SocketOfObject(RuntimeObject *object);
bool IsTCPSocketObject(RuntimeObject *object);
// Any object of a SocketCore subclass (TCP and UDP), and its runtime socket.
bool IsSocketCoreObject(RuntimeObject *object);
SocketCore *CoreSocketOfObject(RuntimeObject *object);
bool IsServerSocketObject(RuntimeObject *object);
// MinimumSocketsAvailable of a ServerSocket object; 0 for anything else.
int32_t ServerSocketMinimum(RuntimeObject *server);
// Stores LastErrorCode of a socket object.
void SetObjectLastErrorCode(RuntimeObject *object, int32_t code);
// The number of the object's NetworkInterface; false when it has none.
bool NetworkInterfaceNumberOf(RuntimeObject *object, int32_t *number);

// Starts a class description on the builder's first call; false when it was
// built already.
bool StartDefinition(ObjectDefinition &defn, const char *name, ObjectDefinition *super,
                     int32_t objectSize, bool newAllowed = true);
bool IsInstanceOf(RuntimeObject *object, ObjectDefinition *defn);
// The optional encoding parameter of the reading methods (readParams holds
// the byte count, then the encoding): typed as the language's TextEncoding
// where that class is linked, and left out of every method where it is not.
void FillEncodingParameters(MethodParameter *readParams, MethodParameter *encodingParams,
                            PropertyMethod *methods, size_t count);
