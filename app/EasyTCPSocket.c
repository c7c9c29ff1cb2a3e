/*
 * EasyTCPSocket: a TCPSocket that turns its byte stream into framed
 * messages. A frame is its total length (header included), a command number
 * and the payload, both numbers 32-bit big-endian. Each whole frame raises
 * ReceivedMessage(command, payload) once, in arrival order; a partial one
 * waits in mDataBuffer for the rest.
 */
#include "ClassBuilding.h"
#include "Tavrin.h"

typedef void (*ReceivedMessageHandler)(RuntimeObject *, int32_t, stringStorage *);
typedef void (*ErrorHandler)(RuntimeObject *, int32_t);

static EasyTCPSocketObject *Easy(RuntimeObject *self) { return (EasyTCPSocketObject *)self; }

void *EventVector(RuntimeObject *object, int32_t slot) {
  EventEntry *table = (EventEntry *)object->eventTable;
  return table ? table[slot].vector : 0;
}

int32_t EasyTCPSocket_ReceivedMessageSlot(void) { return FirstOwnEvent(EasyTCPSocketClass()); }
int32_t EasyTCPSocket_ErrorSlot(void) { return FirstOwnEvent(EasyTCPSocketClass()) + 1; }

/* Raises this class's Error(code) with the socket's last error code. */
static void RaiseError(RuntimeObject *self) {
  ErrorHandler handler = (ErrorHandler)EventVector(self, EasyTCPSocket_ErrorSlot());
  if (handler)
    handler(self, socketLastErrorCode(self));
}

/* A new MemoryBlock of that many bytes, big-endian (one reference). */
static RuntimeObject *NewBigEndianBlock(int32_t bytes) {
  RuntimeObject *block = 0;
  KIT_ENTER();
  KIT_TAKE_OBJECT(block, RuntimeNewObject(RuntimeLookupClass(KIT_STRING("MemoryBlock"))));
  KIT_CHECK_NIL(block);
  memoryBlockNewConstructor(block, bytes);
  ((unsigned char *)block)[kMemoryBlockLittleEndianOffset] = 0;
  RuntimeLockObject(block); /* the caller's reference */
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(block);
  KIT_END();
  return block;
}

void EasyTCPSocket_Constructor(RuntimeObject *self) {
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  KIT_CHECK_NIL(self);
  Easy(self)->mWaitForThisCommand = kNoWait;
  KIT_CATCH_ALL();
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

RuntimeObject *EasyTCPSocket_CreatePacket(RuntimeObject *self, int32_t command,
                                          stringStorage *data) {
  RuntimeObject *packet = 0;
  int32_t n;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  KIT_HOLD_STRING(data);
  n = data ? data->length : 0; /* bytes, whatever the encoding */
  KIT_TAKE_OBJECT(packet, NewBigEndianBlock(kHeaderSize + n));
  memorySetLong(packet, 0, kHeaderSize + n);
  memorySetLong(packet, 4, command);
  if (n > 0)
    memorySetString(packet, kHeaderSize, n, data);
  RuntimeLockObject(packet); /* the caller's reference */
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(packet);
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_RELEASE_HELD_STRING(data);
  KIT_END();
  return packet;
}

void EasyTCPSocket_SendMessage(RuntimeObject *self, int32_t command, stringStorage *data) {
  RuntimeObject *packet = 0;
  stringStorage *bytes = 0;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  KIT_HOLD_STRING(data);
  KIT_CHECK_NIL(self);
  if (!SocketIsConnected(self))
    KIT_LEAVE(); /* the message is lost */
  KIT_TAKE_OBJECT(packet, EasyTCPSocket_CreatePacket(self, command, data));
  KIT_TAKE_STRING(bytes, memoryGetString(packet, 0, memoryBlockGetSize(packet)));
  SocketWrite(self, bytes);
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(packet);
  KIT_RELEASE_STRING(bytes);
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_RELEASE_HELD_STRING(data);
  KIT_END();
}

/* Drops the peer: a length that cannot frame a message leaves no way to find
 * the next one. The receive buffer goes with the connection. */
static void DropPeer(RuntimeObject *self) {
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  KIT_ASSIGN_STRING(Easy(self)->mDataBuffer, 0);
  SocketDisconnect(self);
  KIT_CATCH_ALL();
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

int32_t EasyTCPSocket_CheckForSingleMessage(RuntimeObject *self, stringStorage *buffer,
                                            int32_t *bytesUsed) {
  int32_t result = 0, available, length, command;
  RuntimeObject *header = 0, *message = 0;
  stringStorage *payload = 0;
  ReceivedMessageHandler handler;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  KIT_HOLD_STRING(buffer);
  KIT_CHECK_NIL(self);
  *bytesUsed = 0;
  available = StringDBCSLen(buffer); /* received bytes carry no encoding: bytes */
  if (available < kHeaderSize)
    KIT_LEAVE();
  /* Only the header is copied to read the length. */
  KIT_TAKE_OBJECT(header, NewBigEndianBlock(kHeaderSize));
  memorySetString(header, 0, kHeaderSize, buffer);
  length = memoryGetLong(header, 0);
  if (length < kHeaderSize || length > kMaximumFrameSize) {
    DropPeer(self);
    KIT_LEAVE();
  }
  if (available < length)
    KIT_LEAVE(); /* incomplete: wait for the rest */
  command = memoryGetLong(header, 4);
  KIT_TAKE_OBJECT(message, NewBigEndianBlock(length));
  memorySetString(message, 0, length, buffer);
  KIT_TAKE_STRING(payload, memoryGetString(message, kHeaderSize, length - kHeaderSize));
  if (Easy(self)->mWaitForThisCommand == command) {
    KIT_ASSIGN_STRING(Easy(self)->mCommandResponse, payload);
  } else if (Easy(self)->mWaitForThisCommand == kNoWait) {
    handler = (ReceivedMessageHandler)EventVector(self, EasyTCPSocket_ReceivedMessageSlot());
    if (handler)
      handler(self, command, payload);
  } /* a message for another command during a wait is dropped */
  *bytesUsed = length;
  result = 1;
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(header);
  KIT_RELEASE_OBJECT(message);
  KIT_RELEASE_STRING(payload);
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_RELEASE_HELD_STRING(buffer);
  KIT_END();
  return result;
}

void EasyTCPSocket_ProcessData(RuntimeObject *self) {
  int32_t bytesUsed;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  KIT_CHECK_NIL(self);
  for (;;) {
    bytesUsed = 0;
    if (!EasyTCPSocket_CheckForSingleMessage(self, Easy(self)->mDataBuffer, &bytesUsed))
      break;
    KIT_TAKE_STRING(Easy(self)->mDataBuffer, StringDBCSMid2(Easy(self)->mDataBuffer, bytesUsed + 1));
  }
  KIT_CATCH_ALL();
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

stringStorage *EasyTCPSocket_WaitForMessage(RuntimeObject *self, int32_t command) {
  stringStorage *result = 0;
  RuntimeObject *app = 0;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  KIT_CHECK_NIL(self);
  if (!SocketIsConnected(self))
    KIT_LEAVE();
  Easy(self)->mWaitForThisCommand = command;
  KIT_ASSIGN_STRING(Easy(self)->mCommandResponse, 0);
  while (!Easy(self)->mCommandResponse) {
    socketPoll(self);
    if (socketLastErrorCode(self) != 0) {
      RaiseError(self);
      Easy(self)->mWaitForThisCommand = kNoWait;
      KIT_LEAVE();
    }
    KIT_TAKE_OBJECT(app, getAppObject());
    RuntimeDoEvents(app, -1);
    RuntimeBackgroundTask();
  }
  Easy(self)->mWaitForThisCommand = kNoWait;
  KIT_ASSIGN_STRING(result, Easy(self)->mCommandResponse);
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(app);
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
  return result;
}

int32_t EasyTCPSocket_WaitForConnection(RuntimeObject *self, int32_t ticks) {
  int32_t result = 0, start;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  KIT_CHECK_NIL(self);
  SocketListen(self);
  start = RuntimeTicks();
  while (RuntimeTicks() - start < ticks) {
    if (socketLastErrorCode(self) != 0) {
      RaiseError(self);
      KIT_LEAVE();
    }
    if (SocketIsConnected(self)) {
      result = 1;
      KIT_LEAVE();
    }
    RuntimeBackgroundTask();
  }
  KIT_CATCH_ALL();
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
  return result;
}

/* Raises a RuntimeException with the message: the plain stream calls would
 * bypass the framing. */
static void RaiseMisuse(stringStorage *message) {
  RuntimeObject *error = 0;
  KIT_ENTER();
  KIT_TAKE_OBJECT(error, RuntimeNewObject(RuntimeLookupClass(KIT_STRING("RuntimeException"))));
  KIT_CHECK_NIL(error);
  KIT_ASSIGN_STRING(*(stringStorage **)((char *)error + kExceptionMessageOffset), message);
  RuntimeRaiseException(error);
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(error);
  KIT_END();
}

void EasyTCPSocket_Write(RuntimeObject *self, stringStorage *data) {
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  KIT_HOLD_STRING(data);
  RaiseMisuse(KIT_STRING("You cannot call Write on an EasyTCPSocket directly."));
  KIT_CATCH_ALL();
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_RELEASE_HELD_STRING(data);
  KIT_END();
}

stringStorage *EasyTCPSocket_Read(RuntimeObject *self, int32_t count) {
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  RaiseMisuse(KIT_STRING("You cannot call Read on an EasyTCPSocket directly."));
  KIT_CATCH_ALL();
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
  return 0;
}

stringStorage *EasyTCPSocket_ReadAll(RuntimeObject *self) {
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  RaiseMisuse(KIT_STRING("You cannot call ReadAll on an EasyTCPSocket directly."));
  KIT_CATCH_ALL();
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
  return 0;
}

/* TCPSocket's Error: a partial frame dies with its connection. */
void EasyTCPSocket_ErrorEvent(RuntimeObject *self) {
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  KIT_CHECK_NIL(self);
  KIT_ASSIGN_STRING(Easy(self)->mDataBuffer, 0);
  RaiseError(self);
  KIT_CATCH_ALL();
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

void EasyTCPSocket_DataAvailableEvent(RuntimeObject *self) {
  stringStorage *received = 0;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  KIT_CHECK_NIL(self);
  KIT_TAKE_STRING(received, SocketReadAll(self, 0));
  KIT_TAKE_STRING(Easy(self)->mDataBuffer, RuntimeAddString(Easy(self)->mDataBuffer, received));
  EasyTCPSocket_ProcessData(self);
  KIT_CATCH_ALL();
  KIT_RELEASE_STRING(received);
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

void EasyTCPSocket_FillMethods(RuntimeClass *cls, int32_t first) {
  SetMethod(cls, first + 0, (void *)EasyTCPSocket_CheckForSingleMessage,
            KIT_STRING("CheckForSingleMessage%b%o<EasyTCPSocket>s&i"));
  SetMethod(cls, first + 1, (void *)EasyTCPSocket_ProcessData,
            KIT_STRING("ProcessData%%o<EasyTCPSocket>"));
  SetMethod(cls, first + 2, (void *)EasyTCPSocket_CreatePacket,
            KIT_STRING("CreatePacket%o<MemoryBlock>%o<EasyTCPSocket>is"));
  SetMethod(cls, first + 3, (void *)EasyTCPSocket_SendMessage,
            KIT_STRING("SendMessage%%o<EasyTCPSocket>is"));
  SetMethod(cls, first + 4, (void *)EasyTCPSocket_WaitForMessage,
            KIT_STRING("WaitForMessage%s%o<EasyTCPSocket>i"));
  SetMethod(cls, first + 5, (void *)EasyTCPSocket_Constructor,
            KIT_STRING("Constructor%%o<EasyTCPSocket>"));
  SetMethod(cls, first + 6, (void *)EasyTCPSocket_WaitForConnection,
            KIT_STRING("WaitForConnection%b%o<EasyTCPSocket>i"));
  SetMethod(cls, first + 7, (void *)EasyTCPSocket_Write, KIT_STRING("Write%%o<EasyTCPSocket>s"));
  SetMethod(cls, first + 8, (void *)EasyTCPSocket_Read, KIT_STRING("Read%s%o<EasyTCPSocket>i"));
  SetMethod(cls, first + 9, (void *)EasyTCPSocket_ReadAll, KIT_STRING("ReadAll%s%o<EasyTCPSocket>"));
  SetMethod(cls, first + 10, (void *)EasyTCPSocket_ErrorEvent,
            KIT_STRING("#Error%%o<EasyTCPSocket>"));
  SetMethod(cls, first + 11, (void *)EasyTCPSocket_DataAvailableEvent,
            KIT_STRING("#DataAvailable%%o<EasyTCPSocket>"));
}

/* Writeable reaches the framing-blind Write override (which refuses);
 * Readable reads the plain socket. */
void EasyTCPSocket_FillInterfaces(RuntimeClass *cls) {
  MethodEntry *table;
  if (cls->interfaceCount < 2)
    return;
  cls->interfaces[0].interfaceClass = RuntimeLookupClass(KIT_STRING("Writeable"));
  cls->interfaces[0].methodCount = 3;
  table = cls->interfaces[0].vtable = RuntimeNewVtable(3);
  table[0].code = (void *)EasyTCPSocket_Write;
  table[0].linkName = RuntimeLockString(KIT_STRING("Write%%o<EasyTCPSocket>s"));
  table[1].code = (void *)TCPSocketFlush;
  table[1].linkName = RuntimeLockString(KIT_STRING("Flush%%o<TCPSocket>"));
  table[2].code = (void *)socketLastErrorCode;
  table[2].linkName = RuntimeLockString(KIT_STRING("WriteError%b%o<TCPSocket>"));

  cls->interfaces[1].interfaceClass = RuntimeLookupClass(KIT_STRING("Readable"));
  cls->interfaces[1].methodCount = 3;
  table = cls->interfaces[1].vtable = RuntimeNewVtable(3);
  table[0].code = (void *)socketRead;
  table[0].linkName = RuntimeLockString(KIT_STRING("Read%s%o<TCPSocket>io<TextEncoding>"));
  table[1].code = (void *)TCPSocketEof;
  table[1].linkName = RuntimeLockString(KIT_STRING("EOF%b%o<TCPSocket>"));
  table[2].code = (void *)socketLastErrorCode;
  table[2].linkName = RuntimeLockString(KIT_STRING("ReadError%b%o<TCPSocket>"));
}

static void EasyTCPSocketDestructor(RuntimeObject *self) {
  RuntimeUnlockString(Easy(self)->mDataBuffer);
  RuntimeUnlockString(Easy(self)->mCommandResponse);
}

RuntimeClass *EasyTCPSocketClass(void) {
  ClassCounts counts = {12, 2, 7, 16, 13}, own = {12, 0, 2, 0, 3};
  RuntimeClass *cls;
  int32_t event, property;
  KIT_ENTER();
  if (gImage.easyTCPSocket)
    KIT_LEAVE();
  cls = NewImageClass(RuntimeLookupClass(KIT_STRING("TCPSocket")), counts, own,
                      KIT_STRING("EasyTCPSocket"), 96, EasyTCPSocketDestructor);
  KIT_CHECK_NIL(cls);
  gImage.easyTCPSocket = cls;
  EasyTCPSocket_FillMethods(cls, FirstOwnMethod(cls));
  event = FirstOwnEvent(cls);
  NameEvent(cls, event, KIT_STRING("ReceivedMessage"));
  NameEvent(cls, event + 1, KIT_STRING("Error"));
  HandleInheritedEvent(cls, "DataAvailable", (void *)EasyTCPSocket_DataAvailableEvent);
  HandleInheritedEvent(cls, "Error", (void *)EasyTCPSocket_ErrorEvent);
  property = FirstOwnProperty(cls);
  SetFieldProperty(cls, property, KIT_STRING("mDataBuffer%s%"), 84);
  SetFieldProperty(cls, property + 1, KIT_STRING("mCommandResponse%s%"), 88);
  SetFieldProperty(cls, property + 2, KIT_STRING("mWaitForThisCommand%i%"), 92);
  EasyTCPSocket_FillInterfaces(cls);
  KIT_CATCH_ALL();
  KIT_END();
  return gImage.easyTCPSocket;
}
