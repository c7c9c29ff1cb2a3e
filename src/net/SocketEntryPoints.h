// The entry points of the socket classes: what compiled code and plug-ins
// call on socket objects. Arguments are borrowed; strings and objects that
// are returned carry one reference for the caller.
#pragma once
#include <cstdint>

#include "foundation/String.h"
#include "runtime/objects/RuntimeObject.h"

// A closing window's objects: closes the object's socket when it is one (a
// ServerSocket stops listening). The windows area calls it by this name.
void CloseSocketOfObject(RuntimeObject *object);
// The alert the entry points of sockets and serial ports show when what they
// need is missing: what names it ("ctl" for a nil object).
void ShowMissingAlert(const char *what, const char *message = nullptr);
// False, after the alert, for a nil object.
bool CheckedObject(RuntimeObject *object, const char *message = nullptr);
// The text as a returned string tagged with the encoding object's id
// (unknown for nil).
stringStorage *TaggedSocketText(string text, RuntimeObject *encoding);

extern "C" {
void SocketConnect(RuntimeObject *object);
void SocketListen(RuntimeObject *object);
void socketPoll(RuntimeObject *object);
void socketClose(RuntimeObject *object);
void SocketPurge(RuntimeObject *object);
stringStorage *socketRead(RuntimeObject *object, int32_t byteCount, RuntimeObject *encoding);
stringStorage *SocketReadAll(RuntimeObject *object, RuntimeObject *encoding);
stringStorage *socketLookahead(RuntimeObject *object, RuntimeObject *encoding);
void SocketWrite(RuntimeObject *object, stringStorage *text);
void SocketDisconnect(RuntimeObject *object);
int32_t SocketIsConnected(RuntimeObject *object);
int32_t socketLastErrorCode(RuntimeObject *object);
int32_t SocketBytesAvailable(RuntimeObject *object);
int32_t TCPSocketBytesLeftToSend(RuntimeObject *object);
int32_t TCPSocketEof(RuntimeObject *object);
void TCPSocketFlush(RuntimeObject *object);
stringStorage *socketRemoteAddressGetter(RuntimeObject *object);
stringStorage *socketLocalAddressGetter(RuntimeObject *object);
int32_t SocketPortGetter(RuntimeObject *object);
void SocketPortSetter(RuntimeObject *object, int32_t index, int32_t value);
uint32_t socketGetEvents(RuntimeObject *object);
void ServerSocketListen(RuntimeObject *object);
void ServerSocketClose(RuntimeObject *object);
int32_t serverSocketIsListening(RuntimeObject *object);
void ServerSocketSetMinSockets(RuntimeObject *object, int32_t index, int32_t value);
void ServerSocketSetMaxSockets(RuntimeObject *object, int32_t index, int32_t value);
void socketDirectConnect(RuntimeObject *object, stringStorage *address, int32_t port);
void pluginSocketListen(RuntimeObject *object);
stringStorage *pluginSocketRead(RuntimeObject *object, int32_t byteCount);
stringStorage *pluginSocketReadAll(RuntimeObject *object);
stringStorage *pluginSocketLookahead(RuntimeObject *object, int32_t ignored);

// Dial-up links do not exist on this platform.
void PPPStatus(int32_t *status);
void PPPConnect(int32_t flag);
void PPPDisconnect();
int32_t socketPPPStatus(RuntimeObject *object);
void socketPPPConnect(RuntimeObject *object);
void socketPPPDisconnect(RuntimeObject *object);
}
