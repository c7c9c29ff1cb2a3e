/*
 * ClipRemoteSocket: the application's connection on port 7582. Command-1
 * frames carry the peer's clipboard text in UTF-8; the socket's events drive
 * the connection state AppWindow shows.
 */
#include "ClassBuilding.h"
#include "Tavrin.h"
#include "TextBytes.h"

static ClipRemoteSocketObject *Clip(RuntimeObject *self) { return (ClipRemoteSocketObject *)self; }

void ClipRemoteSocket_Constructor(RuntimeObject *self, RuntimeObject *manager) {
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  KIT_HOLD_OBJECT(manager);
  KIT_CHECK_NIL(self);
  EasyTCPSocket_Constructor(self);
  SocketPortSetter(self, 0, kPortNumber);
  KIT_ASSIGN_OBJECT(Clip(self)->MyClipboardManager, manager);
  KIT_CATCH_ALL();
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_RELEASE_HELD_OBJECT(manager);
  KIT_END();
}

/* Text that is not UTF-8 can only come from a foreign peer: it is neither
 * stored, shown nor put on the clipboard, and the connection stays. Each
 * accepted text moves the count the clipboard monitor watches. */
void ClipRemoteSocket_ReceivedMessage(RuntimeObject *self, int32_t command, stringStorage *data) {
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  KIT_HOLD_STRING(data);
  KIT_CHECK_NIL(self);
  if (command != kCommandClipboardText || !IsValidUTF8(data))
    KIT_LEAVE();
  /* The payload came as bytes of no encoding. Found to be UTF-8, it is
   * tagged so: the dialling side sends it back converted to UTF-8, and text
   * of no encoding has no UTF-8 form once it holds a character beyond
   * ASCII, so an empty text went back and wiped the peer's clipboard. The
   * storage is this frame's own copy. */
  if (data)
    data->encoding = IMAGE_ENCODING_UTF8;
  ++gImage.remoteUpdates;
  KIT_CHECK_NIL(Clip(self)->MyClipboardManager);
  ClipboardManager_UpdateClipboardInfo(Clip(self)->MyClipboardManager, KIT_STRING("Text"), data,
                                       0);
  KIT_CATCH_ALL();
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_RELEASE_HELD_STRING(data);
  KIT_END();
}

void ClipRemoteSocket_Error(RuntimeObject *self, int32_t code) {
  RuntimeObject *window = 0;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  KIT_CHECK_NIL(self);
  SocketDisconnect(self);
  KIT_TAKE_OBJECT(window, AppWindowInstance());
  AppWindow_NotifyConnection(window);
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(window);
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

void ClipRemoteSocket_Connected(RuntimeObject *self) {
  RuntimeObject *window = 0;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  KIT_CHECK_NIL(self);
  if (SocketIsConnected(self)) {
    KIT_TAKE_OBJECT(window, AppWindowInstance());
    AppWindow_NotifyConnection(window);
  } else {
    SocketListen(self);
  }
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(window);
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

static void ClipRemoteSocketDestructor(RuntimeObject *self) {
  RuntimeUnlockObject(Clip(self)->MyClipboardManager);
}

RuntimeClass *ClipRemoteSocketClass(void) {
  ClassCounts counts = {16, 2, 7, 16, 14}, own = {4, 0, 0, 0, 1};
  RuntimeClass *cls, *base;
  int32_t method, events;
  KIT_ENTER();
  if (gImage.clipRemoteSocket)
    KIT_LEAVE();
  base = EasyTCPSocketClass();
  cls = NewImageClass(base, counts, own, KIT_STRING("ClipRemoteSocket"), 100,
                      ClipRemoteSocketDestructor);
  KIT_CHECK_NIL(cls);
  gImage.clipRemoteSocket = cls;
  /* The base's entries again, then the own ones. */
  method = FirstOwnMethod(base);
  EasyTCPSocket_FillMethods(cls, method);
  method += 12;
  SetMethod(cls, method, (void *)ClipRemoteSocket_Constructor,
            KIT_STRING("Constructor%%o<ClipRemoteSocket>o<ClipboardManager>"));
  SetMethod(cls, method + 1, (void *)ClipRemoteSocket_ReceivedMessage,
            KIT_STRING("#ReceivedMessage%%o<ClipRemoteSocket>is"));
  SetMethod(cls, method + 2, (void *)ClipRemoteSocket_Error,
            KIT_STRING("#Error%%o<ClipRemoteSocket>i"));
  SetMethod(cls, method + 3, (void *)ClipRemoteSocket_Connected,
            KIT_STRING("#Connected%%o<ClipRemoteSocket>"));
  events = FirstOwnEvent(base); /* EasyTCPSocket's own events follow its base's */
  cls->events[events].vector = (void *)ClipRemoteSocket_ReceivedMessage;
  cls->events[events + 1].vector = (void *)ClipRemoteSocket_Error;
  HandleInheritedEvent(cls, "Connected", (void *)ClipRemoteSocket_Connected);
  SetFieldProperty(cls, FirstOwnProperty(cls), KIT_STRING("MyClipboardManager%o<ClipboardManager>%"),
                   96);
  EasyTCPSocket_FillInterfaces(cls);
  KIT_CATCH_ALL();
  KIT_END();
  return gImage.clipRemoteSocket;
}
