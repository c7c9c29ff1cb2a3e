/* Two TCPSocket subclasses talk to each other over loopback through the run
 * loop, as the clipboard application does: one listens, the other connects to
 * "LocalHost"; ping and pong cross, the client disconnects and both see the
 * connection end. Uses only the entry points the application imports (plus
 * the Port getter to learn the listening port). Reports through its exit
 * status: 42 when every check held, otherwise the number of the first check
 * that failed. */
#include "runtime_classes.h"

KIT_LIBRARY_FUNCTION(_exit, "libc.so.6");
void _exit(int status);

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
  Check(20, HandleEvent(cls, event, handler));
}

void ImageEntry(void) {
  RuntimeClass *cls;
  RuntimeInit();
  cls = SubclassOf(KIT_STRING("TCPSocket"));
  if (!cls)
    _exit(21);
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
