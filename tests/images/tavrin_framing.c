/* The application's framed-message socket on its own, listening on the port
 * in TAVRIN_TEST_PORT: every whole frame it receives goes back unchanged,
 * so a peer sees exactly what the framing made of its bytes. A connection
 * that ends (or that the framing drops) is followed by listening again. */
#include "../../app/ClassBuilding.h"
#include "../../app/Tavrin.h"

KIT_LIBRARY_FUNCTION(getenv, "libc.so.6");
char *getenv(const char *name);
KIT_LIBRARY_FUNCTION(atoi, "libc.so.6");
int atoi(const char *text);
KIT_LIBRARY_FUNCTION(_exit, "libc.so.6");
void _exit(int status);

ImageGlobals gImage;

void EchoReceivedMessage(RuntimeObject *self, int32_t command, stringStorage *data) {
  EasyTCPSocket_SendMessage(self, command, data);
}

void EchoError(RuntimeObject *self, int32_t code) {
  SocketDisconnect(self);
  SocketListen(self);
}

void ImageEntry(void) {
  ClassCounts counts = {12, 2, 7, 16, 13}, none = {0, 0, 0, 0, 0};
  RuntimeClass *easy, *echo;
  RuntimeObject *socket;
  const char *port = getenv("TAVRIN_TEST_PORT");
  int32_t slot;
  RuntimeInit();
  easy = EasyTCPSocketClass();
  if (!easy || !port)
    _exit(KitFailedCheck(3, "EasyTCPSocket is built and a port is given"));
  echo = NewImageClass(easy, counts, none, KIT_STRING("FramingEcho"), 96, 0);
  slot = FirstOwnEvent(easy);
  echo->events[slot].vector = (void *)EchoReceivedMessage;
  echo->events[slot + 1].vector = (void *)EchoError;
  socket = RuntimeNewObject(echo);
  EasyTCPSocket_Constructor(socket);
  SocketPortSetter(socket, 0, atoi(port));
  SocketListen(socket);
  RuntimeRun();
  _exit(0);
}
