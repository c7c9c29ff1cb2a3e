/* Two TCPSocket subclasses talk to each other over loopback through the run
 * loop, as the clipboard application does: one listens, the other connects to
 * "LocalHost"; ping and pong cross, the client disconnects and both see the
 * connection end. Uses only the entry points the application imports (plus
 * the Port getter to learn the listening port). Reports through its exit
 * status: 42 when every check held, otherwise the number of the first check
 * that failed. */
#include "CompiledCode.h"

KIT_LIBRARY_FUNCTION(_exit, "libc.so.6");
void _exit(int status);

typedef struct {
  void *code;
  stringStorage *linkName;
} MethodEntry;
typedef struct {
  void *vector;
  stringStorage *name;
} EventEntry;
typedef struct RuntimeClass RuntimeClass;
struct RuntimeClass {
  RuntimeClass *base;
  stringStorage *name;
  void *reserved;
  int32_t instanceSize;
  int32_t isAnInterface;
  void (*constructor)(RuntimeObject *);
  void (*destructorHook)(RuntimeObject *);
  void (*destructor)(RuntimeObject *);
  int32_t methodCount;
  MethodEntry *methods;
  int32_t eventCount;
  EventEntry *events;
  int32_t staticMethodCount;
  void *staticMethods;
  int32_t propertyCount;
  void *properties;
  int32_t interfaceCount;
};

RuntimeClass *RuntimeLookupClass(stringStorage *name);
RuntimeClass *RuntimeNewClass(RuntimeClass *base, int32_t methods, int32_t interfaces,
                              int32_t events, int32_t staticMethods, int32_t properties);
RuntimeObject *RuntimeNewObject(RuntimeClass *cls);
void RuntimeInit(void);
void RuntimeRun(void);
void stringSetter(RuntimeObject *object, int32_t offset, stringStorage *value);

/* The socket entry points. */
void SocketConnect(RuntimeObject *socket);
void SocketListen(RuntimeObject *socket);
void socketPoll(RuntimeObject *socket);
stringStorage *socketRead(RuntimeObject *socket, int32_t count, RuntimeObject *encoding);
stringStorage *SocketReadAll(RuntimeObject *socket, RuntimeObject *encoding);
void SocketWrite(RuntimeObject *socket, stringStorage *text);
void SocketDisconnect(RuntimeObject *socket);
int32_t SocketIsConnected(RuntimeObject *socket);
int32_t socketLastErrorCode(RuntimeObject *socket);
stringStorage *socketRemoteAddressGetter(RuntimeObject *socket);
void SocketPortSetter(RuntimeObject *socket, int32_t index, int32_t port);
int32_t SocketPortGetter(RuntimeObject *socket);
int32_t TCPSocketEof(RuntimeObject *socket);
void TCPSocketFlush(RuntimeObject *socket);

enum { kAddressOffset = 40, kOwnFieldsOffset = 84 };

static RuntimeObject *sListener, *sClient;
static int32_t sFailedCheck, sClientSawEnd;

static void Check(int32_t number, int32_t holds) {
  if (!holds && !sFailedCheck)
    sFailedCheck = number;
}

static int32_t TextIs(stringStorage *s, const char *text) {
  int32_t i;
  if (!s)
    return text[0] == 0;
  for (i = 0; i < s->length; ++i)
    if (s->buffer[1 + i] != (unsigned char)text[i])
      return 0;
  return text[s->length] == 0;
}

/* Compares and releases a string the runtime handed over. */
static int32_t TakenTextIs(stringStorage *s, const char *text) {
  int32_t same = TextIs(s, text);
  RuntimeUnlockString(s);
  return same;
}

static void Finish(void) { _exit(sFailedCheck ? sFailedCheck : 42); }

void OnConnected(RuntimeObject *self) {
  Check(1, SocketIsConnected(self));
  if (self != sClient)
    return;
  Check(2, TakenTextIs(socketRemoteAddressGetter(self), "127.0.0.1"));
  SocketWrite(self, KIT_STRING("ping"));
  TCPSocketFlush(self);
  socketPoll(self);
}

void OnDataAvailable(RuntimeObject *self) {
  if (self == sListener) {
    Check(3, TakenTextIs(socketRead(self, 4, 0), "ping"));
    SocketWrite(self, KIT_STRING("pong"));
  } else {
    Check(4, TakenTextIs(SocketReadAll(self, 0), "pong"));
    SocketDisconnect(self);
  }
}

void OnError(RuntimeObject *self) {
  Check(5, socketLastErrorCode(self) == 102);
  if (self == sClient) {
    Check(6, !SocketIsConnected(self));
    sClientSawEnd = 1;
    return;
  }
  Check(7, sClientSawEnd);
  Check(8, TCPSocketEof(sClient)); /* closed, nothing left to read */
  Check(9, !TCPSocketEof(self));   /* still counts as connected inside its Error */
  Finish();
}

static void SetHandler(RuntimeClass *cls, const char *event, void *handler) {
  int32_t i;
  for (i = 0; i < cls->eventCount; ++i)
    if (TextIs(cls->events[i].name, event)) {
      cls->events[i].vector = handler;
      return;
    }
  Check(20, 0);
}

void ImageEntry(void) {
  RuntimeClass *base, *cls;
  RuntimeInit();
  base = RuntimeLookupClass(KIT_STRING("TCPSocket"));
  if (!base)
    _exit(21);
  cls = RuntimeNewClass(base, base->methodCount, base->interfaceCount, base->eventCount,
                        base->staticMethodCount, base->propertyCount);
  cls->name = RuntimeLockString(KIT_STRING("ClipboardLink"));
  cls->instanceSize = kOwnFieldsOffset + 4;
  SetHandler(cls, "Connected", (void *)OnConnected);
  SetHandler(cls, "DataAvailable", (void *)OnDataAvailable);
  SetHandler(cls, "Error", (void *)OnError);

  sListener = RuntimeNewObject(cls);
  SocketPortSetter(sListener, 0, 0);
  SocketListen(sListener);
  sClient = RuntimeNewObject(cls);
  stringSetter(sClient, kAddressOffset, KIT_STRING("LocalHost"));
  SocketPortSetter(sClient, 0, SocketPortGetter(sListener));
  Check(22, SocketPortGetter(sListener) > 0);
  SocketConnect(sClient);
  RuntimeRun();
  _exit(23); /* the loop ended without the exchange */
}
