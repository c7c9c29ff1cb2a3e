/* The application's socket classes as its builders make them: built once,
 * their sizes, events, published fields and method link names, the
 * interface tables (Write reaches the refusing override, Read the runtime's
 * plain socket read), the refusals' messages and a packet's layout. Exit
 * status 42 when every check held, else the number of the first that
 * failed. */
#include "../../app/ClassBuilding.h"
#include "../../app/Tavrin.h"
#include "class_names.h"
#include "runtime_classes.h"

KIT_LIBRARY_FUNCTION(_exit, "libc.so.6");
void _exit(int status);

void EasyTCPSocket_Write(RuntimeObject *self, stringStorage *data);
stringStorage *EasyTCPSocket_Read(RuntimeObject *self, int32_t count);
stringStorage *EasyTCPSocket_ReadAll(RuntimeObject *self);
void EasyTCPSocket_DataAvailableEvent(RuntimeObject *self);
RuntimeObject *EasyTCPSocket_CreatePacket(RuntimeObject *self, int32_t command,
                                          stringStorage *data);

ImageGlobals gImage;
static int32_t sFailed;

/* What the socket calls outside its own classes. */
void ClipboardManager_UpdateClipboardInfo(RuntimeObject *self, stringStorage *type,
                                          stringStorage *data, int32_t local) {}
RuntimeObject *AppWindowInstance(void) { return 0; }
void AppWindow_NotifyConnection(RuntimeObject *self) {}

static void Check(int32_t number, int32_t holds) {
  if (!holds && !sFailed)
    sFailed = number;
}

/* A MemoryBlock's size and bytes. */
typedef struct {
  RuntimeObject header;
  int32_t size;
  unsigned char *data;
} MemoryBlockView;

/* The handler of the inherited event of that name. */
static void *InheritedHandler(RuntimeClass *cls, const char *name) {
  int32_t i;
  for (i = 0; i < FirstOwnEvent(EasyTCPSocketClass()); ++i)
    if (TextIs(cls->events[i].name, name))
      return cls->events[i].vector;
  return 0;
}

typedef void (*WriteFunction)(RuntimeObject *, stringStorage *);

/* The message of the RuntimeException the call raises, or nil. */
static stringStorage *MessageOfRefusal(RuntimeObject *socket, int32_t which) {
  RuntimeObject *error = 0;
  stringStorage *message = 0;
  MethodEntry *writeable = socket ? ((RuntimeClass *)socket->classPtr)->interfaces[0].vtable : 0;
  KIT_ENTER();
  KIT_TRY(error) {
    if (which == 0)
      ((WriteFunction)writeable[0].code)(socket, KIT_STRING("bytes"));
    else if (which == 1)
      EasyTCPSocket_Read(socket, 4);
    else
      EasyTCPSocket_ReadAll(socket);
    which = -1; /* not reached when the call raised */
  }
  KIT_CATCH(error) {
    if (ClassNameIs(error, "RuntimeException"))
      message = *(stringStorage **)((char *)error + kExceptionMessageOffset);
  }
  KIT_END_TRY();
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(error);
  KIT_END();
  return message;
}

void ImageEntry(void) {
  RuntimeClass *easy, *clip;
  RuntimeObject *socket, *packet;
  int32_t event;
  MethodEntry *table;
  RuntimeInit();
  easy = EasyTCPSocketClass();
  clip = ClipRemoteSocketClass();
  Check(1, easy && clip && easy == EasyTCPSocketClass() && clip == ClipRemoteSocketClass());
  if (sFailed)
    _exit(sFailed);
  Check(2, clip->base == easy && TextIs(easy->base->name, "TCPSocket"));
  Check(3, easy->instanceSize == 96 && clip->instanceSize == 100);
  Check(4, TextIs(easy->name, "EasyTCPSocket") && TextIs(clip->name, "ClipRemoteSocket"));

  event = FirstOwnEvent(easy);
  Check(5, TextIs(easy->events[event].name, "ReceivedMessage") &&
               TextIs(easy->events[event + 1].name, "Error") && !easy->events[event].vector &&
               clip->events[event].vector && clip->events[event + 1].vector);
  Check(6, InheritedHandler(clip, "DataAvailable") == (void *)EasyTCPSocket_DataAvailableEvent &&
               InheritedHandler(easy, "DataAvailable") == (void *)EasyTCPSocket_DataAvailableEvent &&
               InheritedHandler(clip, "Connected") != 0 && InheritedHandler(easy, "Connected") == 0);

  Check(7, TextIs(easy->properties[FirstOwnProperty(easy)].name, "mDataBuffer%s%") &&
               easy->properties[FirstOwnProperty(easy)].param == 84 &&
               easy->properties[FirstOwnProperty(easy)].getter == (void *)1 &&
               TextIs(clip->properties[FirstOwnProperty(clip)].name,
                      "MyClipboardManager%o<ClipboardManager>%"));
  Check(8, TextIs(clip->methods[FirstOwnMethod(easy) + 12].linkName,
                  "Constructor%%o<ClipRemoteSocket>o<ClipboardManager>") &&
               TextIs(clip->methods[FirstOwnMethod(easy)].linkName,
                      "CheckForSingleMessage%b%o<EasyTCPSocket>s&i"));

  /* Writeable: Write is the override; Readable: Read is the socket's own. */
  Check(9, clip->interfaceCount == 2 &&
               clip->interfaces[0].interfaceClass == RuntimeLookupClass(KIT_STRING("Writeable")) &&
               clip->interfaces[1].interfaceClass == RuntimeLookupClass(KIT_STRING("Readable")) &&
               clip->interfaces[0].methodCount == 3 && clip->interfaces[1].methodCount == 3);
  table = clip->interfaces[0].vtable;
  Check(10, table[0].code == (void *)EasyTCPSocket_Write && table[1].code == (void *)TCPSocketFlush &&
                table[2].code == (void *)socketLastErrorCode &&
                TextIs(table[2].linkName, "WriteError%b%o<TCPSocket>"));
  table = clip->interfaces[1].vtable;
  Check(11, table[0].code == (void *)socketRead && table[1].code == (void *)TCPSocketEof &&
                table[2].code == (void *)socketLastErrorCode &&
                TextIs(table[0].linkName, "Read%s%o<TCPSocket>io<TextEncoding>"));

  socket = RuntimeNewObject(clip);
  ClipRemoteSocket_Constructor(socket, 0);
  Check(12, ((EasyTCPSocketObject *)socket)->mWaitForThisCommand == -1);
  Check(13, TextIs(MessageOfRefusal(socket, 0), "You cannot call Write on an EasyTCPSocket directly."));
  Check(14, TextIs(MessageOfRefusal(socket, 1), "You cannot call Read on an EasyTCPSocket directly."));
  Check(15, TextIs(MessageOfRefusal(socket, 2),
                   "You cannot call ReadAll on an EasyTCPSocket directly."));

  /* Five characters, six bytes: a packet of 14 bytes, big-endian. */
  packet = EasyTCPSocket_CreatePacket(socket, 1, KIT_UTF8_STRING("h\xC3\xA9llo"));
  Check(16, packet && memoryBlockGetSize(packet) == 14 && memoryGetLong(packet, 0) == 14 &&
                memoryGetLong(packet, 4) == 1 &&
                ((MemoryBlockView *)packet)->data[0] == 0 &&
                ((MemoryBlockView *)packet)->data[3] == 14);
  _exit(sFailed ? sFailed : 42);
}
